#pragma once

#include "core/layout/ScanRowLengthPresenter.h"

#include <QDialog>

class QLineEdit;

namespace md {

/// The scan-row length dialog; on OK the entered length becomes the tracer's.
class CAdvancedEPModeMsgDlg final : public QDialog
{
public:
    CAdvancedEPModeMsgDlg(PointTracer& tracer, const Texts& texts, QWidget* parent = nullptr);

    void accept() override;

private:
    ScanRowLengthPresenter m_presenter;
    QLineEdit* m_field = nullptr;
};

} // namespace md
