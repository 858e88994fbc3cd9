#include "ControllerMonitor.h"

#include "CommandAreaFields.h"
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
    const CommandAreaFields f = CommandAreaFields::Decode(bytes);
    return tr("wizard %1 (end mark %2), grouping mode %3, multi-clock %4, line type %5, chip %6")
               .arg(f.wizardActive ? tr("active") : tr("idle"))
               .arg(f.endMark)
               .arg(f.groupingMode)
               .arg(f.multiClock)
               .arg(f.dataLineType)
               .arg(f.chipLetter ? QString(QChar(f.chipLetter)) : QStringLiteral("-")) +
           "\n" + f.Describe();
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
        Record(HexRow(now, 24, 8) + "   " + CommandAreaFields::Decode(now).Describe());
    m_last = now;
    emit AreaChanged(now);
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
