#include "gui/wizard/WizardStateStepDlg.h"

#include "core/wizard/WizardSteps.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"

#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace md {

WizardStateStepDlg::WizardStateStepDlg(WizardStep1& step, QWidget* parent)
    : WizardStepDlg("IDS_MODULE_STEP1DLG_TITLE", QString::fromUtf8("智能设置--步骤1"),
                    "IDS_MODULE_STEP1DLG_PROMPT", parent)
{
    Build(
        "IDS_MODULE_STEP1DLG_STATUS1", QString::fromUtf8("状态1全亮"),
        "IDS_MODULE_STEP1DLG_STATUS2", QString::fromUtf8("状态2全亮"), !step.State2Chosen(),
        [&step] { step.ChooseState1(); }, [&step] { step.ChooseState2(); });
    // The hidden toggle: flips the bit whatever the buttons show (Ctrl+T while the step is up).
    auto* toggle = new QPushButton(this);
    SetResourceId(toggle, 3);
    toggle->hide();
    connect(toggle, &QPushButton::clicked, this, [this, &step] {
        step.Toggle();
        m_state2->setChecked(step.State2Chosen());
        m_state1->setChecked(!step.State2Chosen());
    });
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    connect(shortcut, &QShortcut::activated, toggle, &QPushButton::click);
}

WizardStateStepDlg::WizardStateStepDlg(WizardStep2& step, QWidget* parent)
    : WizardStepDlg("IDS_MODULE_STEP2DLG_TITLE", QString::fromUtf8("智能设置--步骤2"),
                    "IDS_MODULE_STEP2DLG_PROMPT", parent)
{
    Build(
        "IDS_MODULE_STEP2DLG_STATUS1", QString::fromUtf8("状态1比较亮"),
        "IDS_MODULE_STEP2DLG_STATUS2", QString::fromUtf8("状态2比较亮"), step.State1Chosen(),
        [&step] { step.ChooseState1(); }, [&step] { step.ChooseState2(); });
}

void WizardStateStepDlg::Build(const char* state1Key, const QString& state1Fallback,
                               const char* state2Key, const QString& state2Fallback,
                               bool state1Chosen, std::function<void()> chooseState1,
                               std::function<void()> chooseState2)
{
    m_state1 = new QRadioButton(HostText(state1Key, state1Fallback), this);
    m_state2 = new QRadioButton(HostText(state2Key, state2Fallback), this);
    m_state1->setObjectName("State1");
    m_state2->setObjectName("State2");
    (state1Chosen ? m_state1 : m_state2)->setChecked(true);
    Body()->addWidget(m_state1);
    Body()->addWidget(m_state2);
    connect(m_state1, &QRadioButton::clicked, this, [chooseState1] { chooseState1(); });
    connect(m_state2, &QRadioButton::clicked, this, [chooseState2] { chooseState2(); });
}

} // namespace md
