#include "gui/design/NewFrameInfoDlg.h"

#include "core/design/SocketDesign.h"

#include <QMouseEvent>
#include <QPainter>

namespace md {

NewFrameInfoDlg::NewFrameInfoDlg(SocketDesign& socket, QWidget* parent)
    : QWidget(parent), m_socket(socket)
{
    setFocusPolicy(Qt::ClickFocus);
}

void NewFrameInfoDlg::ReloadPictures()
{
    m_pictures.clear();
    update();
}

const QPixmap& NewFrameInfoDlg::Picture(const QString& fileName)
{
    auto it = m_pictures.find(fileName);
    if (it == m_pictures.end()) {
        const auto path = m_socket.PictureFolder() / fileName.toStdString();
        it = m_pictures.emplace(fileName, QPixmap(QString::fromStdString(path.string()))).first;
    }
    return it->second;
}

void NewFrameInfoDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
    QFont font(QStringLiteral("MS Shell Dlg"));
    font.setBold(true);
    font.setPixelSize(11);
    painter.setFont(font);
    const QPixmap& frame = Picture(QStringLiteral("frame_background.bmp"));
    for (const auto& pin : m_socket.Pins()) {
        const QRect box(pin.left, pin.top, pin.right - pin.left, pin.bottom - pin.top);
        if (!frame.isNull())
            painter.drawPixmap(box, frame);
        else
            painter.fillRect(box.adjusted(1, 1, -1, -1), QColor(90, 90, 90));
        const int picture = SocketDesign::PictureOfCode(pin.code);
        if (picture >= 0) {
            const QPixmap& signal =
                Picture(QStringLiteral("socket_frame_background_%1.bmp").arg(picture));
            if (!signal.isNull())
                painter.drawPixmap(box, signal);
        }
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::AlignCenter, QString::number(pin.index));
        if (static_cast<int>(pin.index) == m_socket.Selected()) {
            painter.setPen(QPen(Qt::red, 2));
            painter.drawRect(box.adjusted(5, 5, -5, -5));
        }
    }
}

void NewFrameInfoDlg::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int pin = m_socket.PinAt(at.x(), at.y());
    if (pin < 0)
        return;
    m_socket.Select(pin);
    update();
    emit PinSelected(pin);
}

} // namespace md
