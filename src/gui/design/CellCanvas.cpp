#include "gui/design/CellCanvas.h"

#include "core/design/CellDesignPresenter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace md {

namespace {
constexpr int kSize = CellDesign::kCanvasSize;
}

CellCanvas::CellCanvas(CellDesignPresenter& presenter, QWidget* parent)
    : QWidget(parent), m_presenter(presenter)
{
    setFixedSize(kSize, kSize);
    setMouseTracking(false);
    RebuildBackgrounds();
}

void CellCanvas::RebuildBackgrounds()
{
    m_plain = QImage(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    m_plain.fill(Qt::transparent);
    {
        QPainter painter(&m_plain);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath area;
        area.addRoundedRect(QRectF(0, 0, kSize, kSize), 7.5, 7.5);
        painter.fillPath(area, QColor(148, 145, 145));
        const LightImage& background = m_presenter.Model().Background();
        if (!background.bytes.empty()) {
            const QImage& picture = m_pictures.Picture(background);
            if (!picture.isNull()) {
                painter.setClipPath(area);
                painter.drawImage(QRect(0, 0, kSize, kSize), picture);
            }
        }
    }
    m_framed = m_plain;
    QPainter painter(&m_framed);
    painter.setPen(QPen(QColor(255, 0, 0), 2));
    painter.drawRect(QRect(1, 1, kSize - 2, kSize - 2));
}

void CellCanvas::Redraw(bool plain)
{
    m_plainOnce = plain;
    update();
    emit Drawn();
}

void CellCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CellDesign& design = m_presenter.Model();
    const bool framed = design.CurrentSlot() == 1 && !m_plainOnce;
    m_plainOnce = false;
    painter.drawImage(0, 0, framed ? m_framed : m_plain);

    QFont font(QStringLiteral("MS Shell Dlg"));
    font.setPixelSize(10);
    painter.setFont(font);
    for (const CellLed& led : design.Slot(1)) {
        const QRect box(led.x, led.y, led.widthPx, led.heightPx);
        if (box.isEmpty())
            continue;
        painter.save();
        // Everything of an LED stays inside its box, as if composed on a surface of its size.
        painter.setClipRect(box);
        if (const QImage* picture = m_pictures.ForLed(design.Images(), led))
            painter.drawImage(box, *picture);
        if (led.selected) {
            painter.setPen(QPen(QColor(255, 0, 0), 2));
            painter.drawRect(box.adjusted(1, 1, -1, -1));
        }
        if (led.showInfo) {
            painter.setPen(QColor(255, 255, 0));
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                             QStringLiteral("[%1,%2] [%3]").arg(led.x).arg(led.y).arg(led.group));
        }
        painter.restore();
    }
}

void CellCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (m_presenter.Pointer().Press(point.x(), point.y(),
                                    event->modifiers().testFlag(Qt::ControlModifier)))
        Redraw();
}

void CellCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    if (m_presenter.Pointer().Drag(point.x(), point.y()))
        Redraw();
}

void CellCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (m_presenter.Pointer().Release(point.x(), point.y()))
        Redraw();
}

} // namespace md
