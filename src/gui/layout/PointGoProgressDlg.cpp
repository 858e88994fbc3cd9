#include "gui/layout/PointGoProgressDlg.h"

#include "core/platform/Texts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace md {

namespace {

QString Text(const Texts& texts, const char* key, const char16_t* fallback)
{
    return QString::fromStdU16String(texts.TextOr(key, fallback));
}

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

PointGoProgressDlg::PointGoProgressDlg(PointGoExchange& exchange, const Texts& texts,
                                       QWidget* parent)
    : QDialog(parent), m_exchange(exchange), m_texts(texts)
{
    setObjectName(QStringLiteral("pointGoProgress"));
    setWindowTitle(Text(texts, "IDS_MD_POINTGO_PROGRESS_TITLE", u"Test device"));
    m_label = new QLabel(this);
    m_bar = new QProgressBar(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &PointGoProgressDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(buttons);
    setMinimumWidth(360);
    m_timer.setInterval(kStepMs);
    connect(&m_timer, &QTimer::timeout, this, &PointGoProgressDlg::StepNow);
}

PointGoProgressDlg::~PointGoProgressDlg()
{
    Finish();
}

PointGoExchange::Runner PointGoProgressDlg::Runner(QWidget* parent, const Texts& texts)
{
    return [owner = QPointer<QWidget>(parent), &texts](PointGoExchange& exchange) {
        PointGoProgressDlg dialog(exchange, texts, owner.data());
        dialog.Run();
    };
}

void PointGoProgressDlg::Run()
{
    m_started.start();
    m_running = true;
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_timer.start();
    StepNow();
    if (m_running)
        m_loop.exec();
    Finish();
}

void PointGoProgressDlg::Finish()
{
    if (!m_started.isValid())
        return;
    m_timer.stop();
    m_line.Stop();
    if (m_running) {
        m_running = false;
        m_loop.quit();
    }
    qApp->removeEventFilter(this);
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    m_started.invalidate();
    hide();
}

void PointGoProgressDlg::StepNow()
{
    if (!m_running)
        return;
    if (m_exchange.Step() != PointGoExchange::State::Running) {
        // The port may be closed by now: stop watching its descriptor before the loop polls it.
        m_line.Stop();
        m_running = false;
        m_loop.quit();
        return;
    }
    m_line.Watch(m_exchange.Descriptor());
    ShowProgress();
    if (!isVisible() && m_started.elapsed() >= kShowAfterMs) {
        setWindowModality(Qt::ApplicationModal);
        show();
    }
}

void PointGoProgressDlg::ShowProgress()
{
    m_bar->setRange(0, static_cast<int>(m_exchange.PartCount()));
    m_bar->setValue(static_cast<int>(m_exchange.PartsDone()));
    switch (m_exchange.CurrentStage()) {
    case PointGoExchange::Stage::Entries:
        m_label->setText(Text(m_texts, "IDS_MD_POINTGO_PROGRESS_ENTRIES",
                              u"Sending layout entry %1 of %2 to the test device")
                             .arg(m_exchange.EntriesDone() + 1)
                             .arg(m_exchange.EntryCount()));
        break;
    case PointGoExchange::Stage::Handshake:
        m_label->setText(Text(m_texts, "IDS_MD_POINTGO_PROGRESS_HANDSHAKE",
                              u"Waiting for the test device to answer the handshake"));
        break;
    case PointGoExchange::Stage::Probe:
        m_label->setText(Text(m_texts, "IDS_MD_POINTGO_PROGRESS_PROBE",
                              u"Asking the test device which advance it understands"));
        break;
    }
}

void PointGoProgressDlg::reject()
{
    m_exchange.Cancel();
    Finish();
}

bool PointGoProgressDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_running || !IsUserInput(event->type()))
        return QDialog::eventFilter(watched, event);
    // Input for this dialog goes through; the rest waits until the exchange is over.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && (widget == this || isAncestorOf(widget)))
        return QDialog::eventFilter(watched, event);
    event->ignore();
    return true;
}

} // namespace md
