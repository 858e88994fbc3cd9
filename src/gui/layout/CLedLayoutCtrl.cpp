#include "gui/layout/CLedLayoutCtrl.h"

#include "core/layout/LayoutCommands.h"
#include "core/layout/LayoutModel.h"
#include "core/layout/PointGo.h"
#include "core/layout/PointTracer.h"
#include "core/layout/StatusBarInfo.h"
#include "gui/layout/CAdvancedEPModeMsgDlg.h"
#include "gui/layout/CVirtualPointSettingDlg.h"
#include "gui/layout/LedCellDelegate.h"
#include "gui/layout/LedLayoutTableModel.h"
#include "gui/layout/PointGoProgressDlg.h"
#include "gui/ui/ResourceId.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace md {

namespace {

QString ToQString(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CLedLayoutCtrl::CLedLayoutCtrl(LayoutModel& layout, PointTracer& tracer, const Texts& texts,
                               QWidget* parent)
    : QWidget(parent), m_layout(layout), m_tracer(tracer), m_texts(texts),
      m_commands(std::make_unique<LayoutCommands>(tracer, texts))
{
    m_model = new LedLayoutTableModel(layout, this);
    m_delegate = new LedCellDelegate(layout, this);
    m_view = new QTableView(this);
    SetResourceId(m_view, kGridId);
    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setStyleSheet(QStringLiteral("QTableView { background: rgb(240, 240, 240); }"));
    for (QHeaderView* header : {m_view->horizontalHeader(), m_view->verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setMinimumSectionSize(1);
        header->setDefaultAlignment(Qt::AlignCenter);
    }
    ApplySectionSizes();
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
    m_view->setMouseTracking(false);
    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->setContentsMargins(0, 0, 0, 0);
    layoutBox->addWidget(m_view);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &CLedLayoutCtrl::Tick);
}

CLedLayoutCtrl::~CLedLayoutCtrl() = default;

void CLedLayoutCtrl::ApplySectionSizes()
{
    m_view->horizontalHeader()->setDefaultSectionSize(m_layout.ColumnWidth());
    m_view->verticalHeader()->setDefaultSectionSize(m_layout.RowHeight());
    m_view->verticalHeader()->setFixedWidth(m_layout.ColumnWidth());
    m_view->horizontalHeader()->setFixedHeight(m_layout.RowHeight());
}

void CLedLayoutCtrl::Create()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_tracer.Create();
    m_model->Rebuild();
    ShowStoredOrder();
    SyncFocus();
    QGuiApplication::restoreOverrideCursor();
    m_timer.start();
}

void CLedLayoutCtrl::ShowStoredOrder()
{
    // A layout read from a file: each pixel shows where the chain reaches it.
    std::vector<std::uint32_t> order;
    if (m_tracer.LayoutPresent() && m_tracer.History().empty() && !m_tracer.Result().empty()) {
        order.assign(m_layout.Points().size(), 0);
        for (const ChannelRow& entry : m_tracer.Result())
            for (const ScanRow& row : entry.rows)
                for (std::size_t i = 0; i < row.points.size(); ++i) {
                    const TracedPoint& point = row.points[i];
                    const std::int32_t index =
                        point.IsVirtual() ? -1 : m_layout.IndexOf(point.x, point.y);
                    if (index >= 0)
                        order[std::size_t(index)] = static_cast<std::uint32_t>(i + 1);
                }
    }
    m_model->ShowOrder(std::move(order));
}

void CLedLayoutCtrl::Refresh()
{
    m_model->Refresh();
    // A finished layout stops the timer; undoing it takes tracing up again.
    if (!m_tracer.LayoutDone() && m_tracer.TimerRunning() && !m_timer.isActive())
        m_timer.start();
}

void CLedLayoutCtrl::Rebuild()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_model->Rebuild();
    QGuiApplication::restoreOverrideCursor();
}

void CLedLayoutCtrl::SyncFocus()
{
    const GridCell focus = m_tracer.Focus();
    if (focus.row >= 1 && focus.column >= 1)
        m_view->setCurrentIndex(m_model->index(focus.row - 1, focus.column - 1));
    else
        m_view->setCurrentIndex({});
}

void CLedLayoutCtrl::TraceAt(const QPoint& viewportPos, bool click)
{
    const QModelIndex index = m_view->indexAt(viewportPos);
    if (!index.isValid())
        return;
    const GridCell cell{index.row() + 1, index.column() + 1};
    m_tracer.SetFocus(cell);
    m_view->setCurrentIndex(index);
    if (click && DeviceClick(index))
        return;
    if (m_model->ShowsOrder())
        m_model->ShowOrder({}); // tracing again: the stored order gives way
    m_tracer.Trace(cell, click);
    if (click && (m_tracer.EditMode() == 2 || m_tracer.EditMode() == 3))
        emit marksChanged();
    emit traced();
    Refresh();
}

bool CLedLayoutCtrl::DeviceClick(const QModelIndex& index)
{
    if (!m_pointGo)
        return false;
    if (m_pointGo->ClickInHardwareMode()) {
        Refresh();
        return true;
    }
    if (!m_pointGo->InPointGoMode())
        return false;
    // Point-go's click selects the clicked pixel itself: tracing may refuse to move the current
    // point (advanced tracing enabled but not started), and then the previous pixel would be
    // recorded.
    const std::int32_t pixel = m_tracer.Model().IndexOf(index.column(), index.row());
    if (pixel < 0)
        return true;
    m_tracer.Model().SetCurrent(pixel);
    m_pointGo->Step();
    emit traced();
    Refresh();
    return true;
}

bool CLedLayoutCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                m_dragging = true;
                emit dragStarted();
                TraceAt(mouse->position().toPoint(), true);
            } else if (mouse->button() == Qt::RightButton) {
                ShowContextMenu(mouse->globalPosition().toPoint());
            }
            return true;
        }
        if (event->type() == QEvent::MouseMove && m_dragging) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QModelIndex index = m_view->indexAt(mouse->position().toPoint());
            if (index.isValid() && m_statusBar)
                m_statusBar->SetSelectedCell(index.column() + 1, index.row() + 1);
            m_view->setFocus();
            if (m_tracer.EditMode() == 2 || m_tracer.EditMode() == 3)
                TraceAt(mouse->position().toPoint(), true);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            if (std::exchange(m_dragging, false))
                emit dragEnded();
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick)
            return true;
    }
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) ||
            (key->key() == Qt::Key_Z && key->modifiers() & Qt::ControlModifier)) {
            // While point-go is selected, its last LED is taken back instead of a tracing step.
            if (m_pointGo && m_pointGo->Selected()) {
                m_pointGo->StepBack();
                emit traced();
                Refresh();
                return true;
            }
            Command(LayoutCommands::kUndo);
            SyncFocus();
            return true;
        }
        switch (key->key()) {
        case Qt::Key_Left:
            m_tracer.MoveFocus(PointTracer::Key::Left);
            break;
        case Qt::Key_Right:
            m_tracer.MoveFocus(PointTracer::Key::Right);
            break;
        case Qt::Key_Up:
            m_tracer.MoveFocus(PointTracer::Key::Up);
            break;
        case Qt::Key_Down:
            m_tracer.MoveFocus(PointTracer::Key::Down);
            break;
        case Qt::Key_Space:
            if (m_pointGo) {
                m_pointGo->Step();
                Refresh();
            }
            emit pointGoStep();
            return true;
        case Qt::Key_Delete:
            // Point-go: the current output drives no LED.
            if (m_pointGo && m_pointGo->Skip()) {
                emit traced();
                Refresh();
            }
            return true;
        case Qt::Key_F4:
            Command(LayoutCommands::kInsertVirtual);
            return true;
        default:
            return true;
        }
        SyncFocus();
        emit traced();
        Refresh();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CLedLayoutCtrl::Command(int id)
{
    switch (m_commands->Execute(id)) {
    case LayoutCommands::Effect::OpenScanRowLengthDialog: {
        CAdvancedEPModeMsgDlg dialog(m_tracer, m_texts, this);
        dialog.exec();
        break;
    }
    case LayoutCommands::Effect::RedrawAndClearSelection:
        m_view->clearSelection();
        m_view->setCurrentIndex({});
        Refresh();
        break;
    case LayoutCommands::Effect::Repaint:
        Refresh();
        break;
    case LayoutCommands::Effect::None:
        break;
    }
}

void CLedLayoutCtrl::ShowContextMenu(const QPoint& globalPos)
{
    QMenu menu(this);
    for (const LayoutMenuEntry& entry : m_commands->ContextMenu()) {
        if (entry.command == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ToQString(entry.label));
        action->setEnabled(entry.enabled);
        SetResourceId(action, entry.command);
        const int command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { Command(command); });
    }
    menu.exec(globalPos);
}

bool CLedLayoutCtrl::OpenVirtualPointDialog()
{
    CVirtualPointSettingDlg dialog(m_tracer, this);
    if (!dialog.IsOffered())
        return false;
    dialog.exec();
    Refresh();
    return true;
}

void CLedLayoutCtrl::ZoomOut()
{
    if (!m_layout.ZoomOut())
        return;
    const QModelIndex centre = m_view->indexAt(m_view->viewport()->rect().center());
    ApplySectionSizes();
    if (centre.isValid())
        m_view->scrollTo(centre, QAbstractItemView::PositionAtCenter);
}

void CLedLayoutCtrl::ZoomIn()
{
    if (!m_layout.ZoomIn())
        return;
    const QModelIndex centre = m_view->indexAt(m_view->viewport()->rect().center());
    ApplySectionSizes();
    if (centre.isValid())
        m_view->scrollTo(centre, QAbstractItemView::PositionAtCenter);
}

void CLedLayoutCtrl::SetPointGo(PointGo* pointGo)
{
    m_pointGo = pointGo;
    if (m_pointGo)
        m_pointGo->SetExchangeRunner(PointGoProgressDlg::Runner(this, m_texts));
}

void CLedLayoutCtrl::Tick()
{
    if (m_pointGo && m_tracer.EditMode() >= PointTracer::kFirstDeviceMode) {
        // The test device is in charge: no lighting through the controller meanwhile.
        const bool busy = m_pointGo->Busy();
        m_pointGo->Tick();
        if (m_statusBar)
            m_statusBar->SetStatusText(m_pointGo->StatusText());
        if (busy != m_pointGo->Busy())
            Refresh();
        return;
    }
    if (m_tracer.LayoutDone()) {
        m_timer.stop();
        return;
    }
    m_tracer.Tick(m_statusBar);
}

} // namespace md
