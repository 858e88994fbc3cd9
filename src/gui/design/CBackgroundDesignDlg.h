#pragma once

#include "core/design/BackgroundDesign.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <memory>

namespace md {

class CodePage;
class DriverFileSection;

/// The background view (resource 20026, scroll bars 20057 and 20059): the module area with its
/// picture on a dark canvas, two draggable marker points with their coordinates, and rulers.
class CBackgroundDesignDlg : public QAbstractScrollArea
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20026;
    static constexpr int kHorizontalBar = 20057;
    static constexpr int kVerticalBar = 20059;
    static constexpr std::uint32_t kZoomOut = 0x1402;
    static constexpr std::uint32_t kZoomIn = 0x1403;
    static constexpr std::uint32_t kWheel = 0x1416;

    explicit CBackgroundDesignDlg(QWidget* parent = nullptr);
    /// A view over a design's background.
    explicit CBackgroundDesignDlg(BackgroundDesign& design, QWidget* parent = nullptr);
    ~CBackgroundDesignDlg() override;

    /// Stores the module size, places the markers and loads the default picture if none.
    void SetUp(std::uint32_t width, std::uint32_t height);
    /// Zoom messages: 0 done, -1 refused; other messages -1.
    int OnMessage(std::uint32_t message, std::intptr_t value = 0);
    void SetScale(int scale);

    BackgroundDesign& Design() { return m_design; }
    /// The background section over this view's design; a load refreshes the view.
    std::unique_ptr<DriverFileSection> Section(const CodePage& codePage);
    /// Decodes the design's picture again (after a load).
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void SyncScrollBars();
    void DrawRulers(QPainter& painter);
    void DrawMarker(QPainter& painter, BackgroundDesign::Point point, const QColor& colour);

    std::unique_ptr<BackgroundDesign> m_own;
    BackgroundDesign& m_design;
    QImage m_picture;
    bool m_syncing = false;
};

} // namespace md
