#pragma once

#include "core/layout/PointGoExchange.h"
#include "gui/layout/SerialLineWatcher.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace md {

class Texts;

/// Runs an exchange with the point-go test device (hardware start, the layout sent on a click)
/// behind a progress dialog with Cancel, on the user-interface thread without blocking it: the
/// exchange is stepped whenever the serial line has bytes and on a short timer, and each step
/// only takes what has arrived. The window keeps painting while the device is slow or silent.
/// The dialog shows itself once the exchange has lasted kShowAfterMs (a quick device never
/// flashes it); until then, input meant for other windows is dropped.
class PointGoProgressDlg final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kShowAfterMs = 300;
    static constexpr int kStepMs = 10;

    PointGoProgressDlg(PointGoExchange& exchange, const Texts& texts, QWidget* parent = nullptr);
    ~PointGoProgressDlg() override;

    /// Steps the exchange until it is done, has failed or was cancelled.
    void Run();
    /// A runner for PointGo that shows this dialog over parent.
    static PointGoExchange::Runner Runner(QWidget* parent, const Texts& texts);

    QPushButton* CancelButton() const { return m_cancel; }

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StepNow();
    void ShowProgress();
    void Finish();

    PointGoExchange& m_exchange;
    const Texts& m_texts;
    QLabel* m_label = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer m_timer;
    SerialLineWatcher m_line{[this] { StepNow(); }};
    QEventLoop m_loop;
    QElapsedTimer m_started;
    bool m_running = false;
};

} // namespace md
