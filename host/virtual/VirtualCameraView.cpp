#include "VirtualCameraView.h"

#include "md/OwnIds.h"
#include "services/VirtualCameraService.h"

#include <QPainter>
#include <QTimer>

#include <chrono>

namespace md::host {

VirtualCameraView::VirtualCameraView(VirtualCameraService& camera, QWidget* parent)
    : QWidget(parent), m_camera(camera)
{
    setObjectName(QString::number(own::kCameraPicture));
    m_timer = new QTimer(this);
    m_timer->setInterval(
        std::chrono::duration_cast<std::chrono::milliseconds>(camera.Camera().FrameInterval())
            .count());
    connect(m_timer, &QTimer::timeout, this, &VirtualCameraView::Refresh);
}

void VirtualCameraView::Refresh()
{
    const VirtualCamera::Picture& picture = m_camera.Latest(VirtualCamera::Clock::now());
    if (picture.rgb.empty())
        return;
    // The picture's bytes are copied: the camera reuses its frame.
    m_shown = QImage(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                     QImage::Format_RGB888)
                  .copy();
    update();
}

void VirtualCameraView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(20, 20, 22));
    if (m_shown.isNull()) {
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(rect(), Qt::AlignCenter, tr("No virtual module to film"));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = m_shown.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                       fitted);
    painter.drawImage(target, m_shown);
}

void VirtualCameraView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Refresh();
    m_timer->start();
}

void VirtualCameraView::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

} // namespace md::host
