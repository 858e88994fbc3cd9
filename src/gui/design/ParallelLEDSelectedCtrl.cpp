#include "gui/design/ParallelLEDSelectedCtrl.h"

#include <QMouseEvent>
#include <QPainter>

namespace md {

ParallelLEDSelectedCtrl::ParallelLEDSelectedCtrl(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("ParallelLEDSelectedCtrl"));
    setFixedSize(ParallelLedPicker::kSize, ParallelLedPicker::kSize);
}

int ParallelLEDSelectedCtrl::Run()
{
    m_picker.Open();
    m_pictures.Clear();
    setWindowOpacity(229.0 / 255.0);
    const ParallelLedPicker::Point topLeft = m_picker.TopLeft();
    move(topLeft.x, topLeft.y);
    return exec();
}

void ParallelLEDSelectedCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const LightImage& background = m_picker.Background();
    if (!background.bytes.empty()) {
        const QImage& picture = m_pictures.Picture(background);
        if (!picture.isNull())
            painter.drawImage(rect(), picture);
    }
    QFont font(QStringLiteral("MS Shell Dlg"));
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(0xFF008000));
    for (const CellLed& led : m_picker.Leds()) {
        if (!m_picker.Shows(led))
            continue;
        const ParallelLedPicker::Box box = ParallelLedPicker::BoxOf(led);
        const QRect area(box.x, box.y, box.width, box.height);
        if (const QImage* picture = m_pictures.ForLed(m_picker.Images(), led))
            painter.drawImage(area, *picture);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         QString::number(led.group));
    }
}

void ParallelLEDSelectedCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_picker.Click(point.x(), point.y()))
        accept();
}

} // namespace md
