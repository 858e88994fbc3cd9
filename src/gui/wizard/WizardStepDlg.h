#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace md {

/// The frame every wizard step shares: a title and prompt from the texts, the step's own
/// controls, then Next and Cancel.
class WizardStepDlg : public QDialog
{
    Q_OBJECT
public:
    WizardStepDlg(const char* titleKey, const QString& fallbackTitle, const char* promptKey,
                  QWidget* parent = nullptr);

    QPushButton* NextButton() const { return m_next; }

protected:
    /// Where the step puts its controls.
    QVBoxLayout* Body() const { return m_body; }
    /// Next pressed: accept unless the step says otherwise.
    virtual bool CanFinish() { return true; }

private:
    QLabel* m_prompt = nullptr;
    QVBoxLayout* m_body = nullptr;
    QPushButton* m_next = nullptr;
};

} // namespace md
