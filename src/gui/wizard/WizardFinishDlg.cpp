#include "gui/wizard/WizardFinishDlg.h"

#include "core/wizard/WizardStep6.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace md {

WizardFinishDlg::WizardFinishDlg(WizardStep6& step, QWidget* parent) : QDialog(parent), m_step(step)
{
    SetResourceId(this, kResourceId);
    setWindowTitle(
        HostText("IDS_MODULE_STEP6DLG_TITLE", QString::fromUtf8("智能设置--步骤6(完成)")));
    setMinimumWidth(440);
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(HostText("IDS_MODULE_STEP6DLG_STEP6PROMPT"), this);
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    auto* saveDriver = new QCheckBox(HostText("IDS_MODULE_STEP6DLG_SAVE_MODULE"), this);
    saveDriver->setObjectName("SaveModule");
    saveDriver->setChecked(step.SaveDriverFile());
    auto* saveHub = new QCheckBox(HostText("IDS_MODULE_STEP6DLG_SAVE_HUB"), this);
    saveHub->setObjectName("SaveHub");
    saveHub->setChecked(step.SaveHubFile());
    layout->addWidget(saveDriver);
    layout->addWidget(saveHub);
    connect(saveDriver, &QCheckBox::toggled, this,
            [this](bool on) { m_step.SetSaveDriverFile(on); });
    connect(saveHub, &QCheckBox::toggled, this, [this](bool on) { m_step.SetSaveHubFile(on); });

    auto* buttons = new QHBoxLayout;
    auto* crop = new QPushButton(HostText("IDS_MODULE_STEP6DLG_RANGE"), this);
    buttons->addWidget(crop);
    buttons->addStretch(1);
    auto* finish = new QPushButton(HostText("IDS_MODULE_STEP6DLG_STEP6FINISHED"), this);
    finish->setDefault(true);
    auto* cancel = new QPushButton(HostText("IDS_MODULE_STEP1DLG_CANCEL", tr("Cancel")), this);
    buttons->addWidget(finish);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(crop, &QPushButton::clicked, this, [this] { m_step.Crop(); });
    connect(finish, &QPushButton::clicked, this, [this] {
        if (m_step.Finish())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace md
