#include "gui/wizard/WizardStepDlg.h"

#include "gui/ui/HostText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace md {

WizardStepDlg::WizardStepDlg(const char* titleKey, const QString& fallbackTitle,
                             const char* promptKey, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(HostText(titleKey, fallbackTitle));
    setMinimumWidth(420);
    auto* layout = new QVBoxLayout(this);
    m_prompt = new QLabel(HostText(promptKey), this);
    m_prompt->setWordWrap(true);
    m_prompt->setVisible(!m_prompt->text().isEmpty());
    layout->addWidget(m_prompt);
    m_body = new QVBoxLayout;
    layout->addLayout(m_body);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_next = new QPushButton(HostText("IDS_MODULE_STEP1DLG_NEXT", tr("Next")), this);
    m_next->setDefault(true);
    auto* cancel = new QPushButton(HostText("IDS_MODULE_STEP1DLG_CANCEL", tr("Cancel")), this);
    buttons->addWidget(m_next);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(m_next, &QPushButton::clicked, this, [this] {
        if (CanFinish())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace md
