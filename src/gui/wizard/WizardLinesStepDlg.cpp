#include "gui/wizard/WizardLinesStepDlg.h"

#include "core/wizard/WizardSteps.h"
#include "gui/platform/QtPrompter.h"
#include "gui/ui/HostText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace md {

namespace {
QString ColourText(int colour)
{
    switch (colour) {
    case WizardStep4::kRed:
        return HostText("IDS_MODULE_STEP4DLG_REDCOLOR", QString::fromUtf8("红色"));
    case WizardStep4::kGreen:
        return HostText("IDS_MODULE_STEP4DLG_GREENCOLOR", QString::fromUtf8("绿色"));
    case WizardStep4::kBlue:
        return HostText("IDS_MODULE_STEP4DLG_BLUECOLOR", QString::fromUtf8("蓝色"));
    default:
        return HostText("IDS_MODULE_STEP4DLG_BLACKCOLOR", QString::fromUtf8("黑色(不亮)"));
    }
}
} // namespace

WizardLinesStepDlg::WizardLinesStepDlg(WizardStep4& step, QWidget* parent)
    : WizardStepDlg("IDS_MODULE_STEP4DLG_TITLE", QString::fromUtf8("智能设置--步骤4"),
                    "IDS_MODULE_STEP4DLG_OPERATORPROMPT", parent),
      m_step(step)
{
    auto* grid = new QGridLayout;
    for (int line = 0; line < 4; ++line) {
        auto* button = new QPushButton(QString::number(line + 1), this);
        button->setObjectName(QStringLiteral("Line%1").arg(line + 1));
        button->setFixedWidth(40);
        auto* label = new QLabel(HostText("IDS_MODULE_STEP4DLG_SHOWSTATUS"), this);
        auto* list = new QComboBox(this);
        list->setObjectName(QStringLiteral("Colour%1").arg(line + 1));
        for (int colour : step.Choices(line))
            list->addItem(ColourText(colour), colour);
        list->setCurrentIndex(list->findData(step.Chosen(line)));
        const bool enabled = line < 3 || step.Row4Enabled();
        button->setEnabled(enabled);
        label->setEnabled(enabled);
        list->setEnabled(enabled);
        grid->addWidget(button, line, 0);
        grid->addWidget(label, line, 1);
        grid->addWidget(list, line, 2);
        connect(button, &QPushButton::clicked, this,
                [this, line] { m_step.Light(static_cast<unsigned>(line + 1)); });
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, line, list] { m_step.Choose(line, list->currentData().toInt()); });
        m_buttons[static_cast<std::size_t>(line)] = button;
        m_lists[static_cast<std::size_t>(line)] = list;
    }
    Body()->addLayout(grid);
}

bool WizardLinesStepDlg::CanFinish()
{
    if (m_step.Finish())
        return true;
    QtPrompter(this).Ask(PromptButtons::Ok,
                         HostText("IDS_MODULE_FIRSETDLG_PROMPT").toStdU16String(),
                         HostText("IDS_MODULE_STEP4DLG_ERROR").toStdU16String());
    return false;
}

} // namespace md
