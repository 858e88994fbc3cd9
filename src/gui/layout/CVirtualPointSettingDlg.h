#pragma once

#include "core/layout/VirtualPointPresenter.h"

#include <QDialog>

class QLineEdit;

namespace md {

/// The insert-virtual-points dialog: position and count so far, and the number to insert.
class CVirtualPointSettingDlg final : public QDialog
{
public:
    explicit CVirtualPointSettingDlg(PointTracer& tracer, QWidget* parent = nullptr);

    /// Whether the tracer offers the dialog in its current state.
    bool IsOffered() const { return m_offered; }
    void accept() override;

private:
    VirtualPointPresenter m_presenter;
    bool m_offered = false;
    QLineEdit* m_number = nullptr;
};

} // namespace md
