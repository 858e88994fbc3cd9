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
    const std::vector<CellLed>& leds = m_picker.Leds();
    for (std::size_t i = 0; i < leds.size(); ++i) {
        if (!m_picker.ShowsAt(i))
            continue;
        const CellLed& led = leds[i];
        const ParallelLedPicker::Box box = m_picker.BoxAt(i);
        const QRect area(box.x, box.y, box.width, box.height);
        const QImage* picture = m_pictures.ForLed(m_picker.Images(), led);
        if (picture && !picture->isNull()) {
            painter.drawImage(area, *picture);
        } else {
            // No picture of the light: its colour, so that there is something to click.
            static const QColor kColours[] = {QColor(229, 57, 53), QColor(67, 160, 71),
                                              QColor(30, 136, 229)};
            painter.fillRect(area, led.colour < 3 ? kColours[led.colour] : QColor(Qt::gray));
            const QPen text = painter.pen();
            painter.setPen(QColor(33, 33, 33));
            painter.drawRect(area.adjusted(0, 0, -1, -1));
            painter.setPen(text);
        }
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         QString::number(m_picker.LabelAt(i)));
    }
}

void ParallelLEDSelectedCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_picker.Click(point.x(), point.y()))
        accept();
}

} // namespace md
