#pragma once

#include <QTimer>
#include <QWidget>

#include <memory>

class QTableView;

namespace md {

class LayoutCommands;
class LayoutModel;
class LedCellDelegate;
class LedLayoutTableModel;
class PointGo;
class PointTracer;
class StatusBarInfo;
class Texts;

/// The layout grid of the layout step: a table view over the pixels (no widget or item per
/// cell; only the visible cells are painted) that reports clicks, drags and keys to the tracer
/// and drives its tracing timer.
class CLedLayoutCtrl final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kGridId = 0xFFD0;
    static constexpr int kTickMs = 200;

    CLedLayoutCtrl(LayoutModel& layout, PointTracer& tracer, const Texts& texts,
                   QWidget* parent = nullptr);
    ~CLedLayoutCtrl() override;

    /// The status bar that Tick keeps up to date (may be null).
    void SetStatusBar(StatusBarInfo* statusBar) { m_statusBar = statusBar; }
    /// Point-go with the test device (may be null): Space and clicks confirm its LEDs, the
    /// timer takes its answers, and its exchanges with the device run behind a progress dialog.
    void SetPointGo(PointGo* pointGo);
    /// Creates the tracing state, lights the first position, fills the grid and starts the
    /// timer.
    void Create();
    /// A command number of the context menu or the layout dialog.
    void Command(int id);
    void ZoomIn();
    void ZoomOut();
    /// Shows the insert-virtual-points dialog when it is offered; false when it is not.
    bool OpenVirtualPointDialog();
    /// Repaints the visible cells from the model.
    void Refresh();
    /// The point list was replaced (a restored layout).
    void Rebuild();

    QTableView* Grid() const { return m_view; }
    const LedCellDelegate* Delegate() const { return m_delegate; }
    const LedLayoutTableModel* TableModel() const { return m_model; }
    QTimer& Timer() { return m_timer; }

signals:
    /// Space: the point-go step.
    void pointGoStep();
    /// Marks were painted or erased with the mouse.
    void marksChanged();
    /// A cell was traced with the mouse or the keys.
    void traced();
    /// The left button went down on the grid and came up again: what it traced, painted or
    /// erased on the way is one edit.
    void dragStarted();
    void dragEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplySectionSizes();
    void ShowStoredOrder();
    void TraceAt(const QPoint& viewportPos, bool click);
    /// A click or Space while the test device is in charge; true when point-go took it.
    bool DeviceClick(const QModelIndex& index);
    void ShowContextMenu(const QPoint& globalPos);
    void SyncFocus();
    void Tick();

    LayoutModel& m_layout;
    PointTracer& m_tracer;
    const Texts& m_texts;
    std::unique_ptr<LayoutCommands> m_commands;
    StatusBarInfo* m_statusBar = nullptr;
    PointGo* m_pointGo = nullptr;
    LedLayoutTableModel* m_model = nullptr;
    LedCellDelegate* m_delegate = nullptr;
    QTableView* m_view = nullptr;
    QTimer m_timer;
    bool m_dragging = false;
};

} // namespace md
