#include "gui/design/CBackgroundDesignDlg.h"

#include "core/driverfile/BackgroundSection.h"
#include "gui/platform/QtPictureCodec.h"
#include "gui/ui/ProgramFolderLocator.h"
#include "gui/ui/ResourceId.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace md {

namespace {

constexpr int kRuler = BackgroundDesign::kRuler;
constexpr int kOrigin = BackgroundDesign::kOrigin;

const QtPictureCodec& Codec()
{
    static const QtPictureCodec codec;
    return codec;
}

/// Refreshes the view once its section was read.
class RefreshingSection final : public DriverFileSection
{
public:
    RefreshingSection(CBackgroundDesignDlg& view, const CodePage& codePage)
        : m_view(view), m_section(view.Design(), codePage, Codec())
    {}
    bool Write(ByteWriter& out, std::string& error) override { return m_section.Write(out, error); }
    bool Read(ByteReader& in, std::string& error) override
    {
        const bool ok = m_section.Read(in, error);
        m_view.Refresh();
        return ok;
    }

private:
    CBackgroundDesignDlg& m_view;
    BackgroundSection m_section;
};

} // namespace

CBackgroundDesignDlg::CBackgroundDesignDlg(QWidget* parent)
    : CBackgroundDesignDlg(*new BackgroundDesign, parent)
{
    m_own.reset(&m_design);
}

CBackgroundDesignDlg::CBackgroundDesignDlg(BackgroundDesign& design, QWidget* parent)
    : QAbstractScrollArea(parent), m_design(design)
{
    SetResourceId(this, kResourceId);
    SetResourceId(horizontalScrollBar(), kHorizontalBar);
    SetResourceId(verticalScrollBar(), kVerticalBar);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
}

CBackgroundDesignDlg::~CBackgroundDesignDlg() {}

void CBackgroundDesignDlg::SetUp(std::uint32_t width, std::uint32_t height)
{
    m_design.SetUp(width, height, LocateProgramFolder().PluginData(), &Codec());
    Refresh();
}

std::unique_ptr<DriverFileSection> CBackgroundDesignDlg::Section(const CodePage& codePage)
{
    return std::make_unique<RefreshingSection>(*this, codePage);
}

void CBackgroundDesignDlg::Refresh()
{
    const auto& bytes = m_design.Picture().bytes;
    m_picture = QImage();
    if (!bytes.empty())
        m_picture.loadFromData(bytes.data(), static_cast<int>(bytes.size()));
    m_design.SetViewSize(viewport()->width() - kRuler, viewport()->height() - kRuler);
    SyncScrollBars();
    viewport()->update();
}

int CBackgroundDesignDlg::OnMessage(std::uint32_t message, std::intptr_t value)
{
    int result = -1;
    if (message == kZoomOut)
        result = m_design.ZoomOut();
    else if (message == kZoomIn)
        result = m_design.ZoomIn();
    else if (message == kWheel) {
        m_design.Wheel(static_cast<int>(value));
        result = 0;
    }
    SyncScrollBars();
    viewport()->update();
    return result;
}

void CBackgroundDesignDlg::SetScale(int scale)
{
    m_design.SetScale(scale);
    SyncScrollBars();
    viewport()->update();
}

void CBackgroundDesignDlg::SyncScrollBars()
{
    m_syncing = true;
    const int viewWidth = viewport()->width() - kRuler;
    const int viewHeight = viewport()->height() - kRuler;
    horizontalScrollBar()->setRange(0, std::max(0, m_design.CanvasWidth() - viewWidth));
    verticalScrollBar()->setRange(0, std::max(0, m_design.CanvasHeight() - viewHeight));
    horizontalScrollBar()->setPageStep(std::max(1, viewWidth));
    verticalScrollBar()->setPageStep(std::max(1, viewHeight));
    horizontalScrollBar()->setValue(m_design.ScrollX());
    verticalScrollBar()->setValue(m_design.ScrollY());
    m_syncing = false;
}

void CBackgroundDesignDlg::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    m_design.SetScroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    viewport()->update();
}

void CBackgroundDesignDlg::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_design.SetViewSize(viewport()->width() - kRuler, viewport()->height() - kRuler);
    SyncScrollBars();
}

void CBackgroundDesignDlg::DrawMarker(QPainter& painter, BackgroundDesign::Point point,
                                      const QColor& colour)
{
    const int s = m_design.Scale();
    const QPoint at(kOrigin + point.x * s, kOrigin + point.y * s);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRect(at, QSize(BackgroundDesign::kMarker, BackgroundDesign::kMarker)));
    QFont font(QStringLiteral("MS Shell Dlg"));
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(at + QPoint(BackgroundDesign::kMarker, BackgroundDesign::kMarker),
                     QStringLiteral(" %1,%2").arg(point.x).arg(point.y));
}

void CBackgroundDesignDlg::DrawRulers(QPainter& painter)
{
    const QRect area = viewport()->rect();
    painter.fillRect(QRect(0, 0, area.width(), kRuler), QColor(230, 230, 230));
    painter.fillRect(QRect(0, 0, kRuler, area.height()), QColor(230, 230, 230));
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    painter.setPen(QColor(60, 60, 60));
    const int s = m_design.Scale();
    // A tick per module pixel (4 units), a label every 4 pixels when there is room.
    const int step = BackgroundDesign::kUnitsPerPixel * s;
    const int labelEvery = step >= 24 ? 1 : step >= 8 ? 4 : 16;
    const auto maxX = static_cast<int>(m_design.Width());
    const auto maxY = static_cast<int>(m_design.Height());
    for (int i = 0; i <= maxX; ++i) {
        const int x = kRuler + kOrigin + i * step - m_design.ScrollX();
        if (x < kRuler || x > area.width())
            continue;
        const bool label = i % labelEvery == 0;
        painter.drawLine(x, label ? 4 : 10, x, kRuler);
        if (label)
            painter.drawText(x + 2, 10, QString::number(i * BackgroundDesign::kUnitsPerPixel));
    }
    for (int i = 0; i <= maxY; ++i) {
        const int y = kRuler + kOrigin + i * step - m_design.ScrollY();
        if (y < kRuler || y > area.height())
            continue;
        const bool label = i % labelEvery == 0;
        painter.drawLine(label ? 4 : 10, y, kRuler, y);
        if (label)
            painter.drawText(1, y + 10, QString::number(i * BackgroundDesign::kUnitsPerPixel));
    }
}

void CBackgroundDesignDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().window());
    painter.save();
    painter.setClipRect(QRect(kRuler, kRuler, viewport()->width(), viewport()->height()));
    painter.translate(kRuler - m_design.ScrollX(), kRuler - m_design.ScrollY());
    const int s = m_design.Scale();
    const int width = static_cast<int>(m_design.Width()) * BackgroundDesign::kUnitsPerPixel * s;
    const int height = static_cast<int>(m_design.Height()) * BackgroundDesign::kUnitsPerPixel * s;
    const int border = BackgroundDesign::kBorder;
    painter.fillRect(
        QRect(kOrigin - border, kOrigin - border, width + 2 * border, height + 2 * border),
        QColor(51, 51, 51));
    if (!m_picture.isNull())
        painter.drawImage(QRect(kOrigin, kOrigin, width, height), m_picture);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawMarker(painter, m_design.Point1(), Qt::red);
    DrawMarker(painter, m_design.Point2(), QColor::fromRgba(0xFF008000));
    painter.restore();
    DrawRulers(painter);
}

void CBackgroundDesignDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    m_design.Press(at.x(), at.y());
}

void CBackgroundDesignDlg::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (m_design.Move(at.x(), at.y(), event->buttons() & Qt::LeftButton)) {
        // Keep the pointer on the marker it drags.
        const auto point = m_design.Dragged() == 1 ? m_design.Point1() : m_design.Point2();
        const int s = m_design.Scale();
        QCursor::setPos(
            viewport()->mapToGlobal(QPoint(kRuler + kOrigin + point.x * s - m_design.ScrollX(),
                                           kRuler + kOrigin + point.y * s - m_design.ScrollY())));
        viewport()->update();
    }
    viewport()->setCursor(m_design.Hover() || m_design.Dragged() ? Qt::SizeAllCursor
                                                                 : Qt::ArrowCursor);
}

void CBackgroundDesignDlg::mouseReleaseEvent(QMouseEvent*)
{
    m_design.Release();
}

void CBackgroundDesignDlg::wheelEvent(QWheelEvent* event)
{
    OnMessage(kWheel, event->angleDelta().y());
    event->accept();
}

} // namespace md
