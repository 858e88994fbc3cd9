#pragma once

#include "gui/layout/SerialLineWatcher.h"

#include <QDialog>
#include <QTimer>

class QComboBox;
class QLabel;
class QPushButton;

namespace md {

class PointGoPortPresenter;
class Texts;

/// The test device port dialog: the serial devices present (and the host's own), the rates,
/// and "Test link", which runs the handshake stepped from a timer and the line's readiness, so
/// the window keeps answering while the device is slow or silent. OK keeps the choice in the
/// per-user profile; its logic is PointGoPortPresenter's.
class PointGoPortDlg final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kStepMs = 10;

    PointGoPortDlg(PointGoPortPresenter& presenter, const Texts& texts, QWidget* parent = nullptr);
    ~PointGoPortDlg() override;

public slots:
    void accept() override;
    void reject() override;

private:
    QString Text(const char* key, const char16_t* fallback) const;
    void FillPorts();
    void FillBauds();
    /// Hands the edited port and the chosen rate to the presenter.
    void TakeChoice();
    void TestOrStop();
    void StepNow();
    void EndTest();
    void ShowOutcome();

    PointGoPortPresenter& m_presenter;
    const Texts& m_texts;
    QComboBox* m_ports = nullptr;
    QPushButton* m_rescan = nullptr;
    QComboBox* m_bauds = nullptr;
    QPushButton* m_test = nullptr;
    QLabel* m_outcome = nullptr;
    QTimer m_timer;
    SerialLineWatcher m_line{[this] { StepNow(); }};
};

} // namespace md
