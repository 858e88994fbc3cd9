#include "ControllerMonitor.h"

#include "CommandAreaOwner.h"

#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

namespace md::host {

namespace {

QString HexRow(const QByteArray& bytes, int from, int count)
{
    QStringList cells;
    for (int i = from; i < from + count && i < bytes.size(); ++i)
        cells << QStringLiteral("%1")
                     .arg(static_cast<quint8>(bytes[i]), 2, 16, QLatin1Char('0'))
                     .toUpper();
    return cells.join(' ');
}

quint32 BigEndianWord(const QByteArray& bytes, int offset)
{
    quint32 word = 0;
    for (int i = 0; i < 4; ++i)
        word = (word << 8) | static_cast<quint8>(bytes[offset + i]);
    return word;
}

} // namespace

ControllerMonitor::ControllerMonitor(CommandAreaOwner* area, QWidget* parent)
    : QWidget(parent), m_area(area)
{
    setObjectName("ControllerMonitor");
    auto* layout = new QVBoxLayout(this);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_bytes = new QLabel(this);
    m_bytes->setFont(fixed);
    m_bytes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_fields = new QLabel(this);
    m_history = new QListWidget(this);
    m_history->setFont(fixed);
    layout->addWidget(new QLabel(
        tr("Command area %1").arg(area ? QString::fromLatin1(area->Name()) : QString()), this));
    layout->addWidget(m_bytes);
    layout->addWidget(m_fields);
    layout->addWidget(new QLabel(tr("History"), this));
    layout->addWidget(m_history, 1);
    m_timer = new QTimer(this);
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, &ControllerMonitor::Poll);
    m_timer->start();
    Poll();
}

QString ControllerMonitor::Describe(const QByteArray& bytes) const
{
    const bool wizard = bytes[4] != 0;
    return tr("wizard flag %1 (offset 4 = %2), parameter bytes %3, word 1 %4, word 2 %5")
        .arg(wizard ? tr("set") : tr("clear"))
        .arg(static_cast<quint8>(bytes[4]))
        .arg(HexRow(bytes, 21, 3))
        .arg(BigEndianWord(bytes, 24), 8, 16, QLatin1Char('0'))
        .arg(BigEndianWord(bytes, 28), 8, 16, QLatin1Char('0'));
}

void ControllerMonitor::Poll()
{
    if (!m_area || !m_area->IsOpen()) {
        m_bytes->setText(tr("The command area is not open."));
        return;
    }
    const QByteArray now = m_area->Snapshot();
    if (now == m_last)
        return;
    m_bytes->setText(HexRow(now, 0, 16) + '\n' + HexRow(now, 16, 16));
    m_fields->setText(Describe(now));
    if (!m_last.isEmpty())
        Record(HexRow(now, 24, 8) + "   " + Describe(now));
    m_last = now;
}

void ControllerMonitor::Record(const QString& line)
{
    m_history->addItem(QTime::currentTime().toString("HH:mm:ss.zzz ") + line);
    m_history->scrollToBottom();
}

int ControllerMonitor::HistorySize() const
{
    return m_history->count();
}

} // namespace md::host
