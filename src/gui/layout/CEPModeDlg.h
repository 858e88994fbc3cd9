#pragma once

#include "core/layout/TracingModePresenter.h"

#include <QDialog>

class QRadioButton;

namespace md {

/// The tracing mode dialog: mode 1 or mode 2 as value 0 or 1.
class CEPModeDlg final : public QDialog
{
public:
    explicit CEPModeDlg(int value, QWidget* parent = nullptr);

    int Value() const { return m_presenter.Value(); }

private:
    void ShowValue();

    TracingModePresenter m_presenter;
    QRadioButton* m_modeOne = nullptr;
    QRadioButton* m_modeTwo = nullptr;
};

} // namespace md
