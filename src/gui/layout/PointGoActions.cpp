#include "gui/layout/PointGoActions.h"

#include "core/layout/PointGo.h"
#include "md/OwnIds.h"

namespace md {

namespace {

constexpr QKeyCombination kNone{};

const PointGoAction kActions[] = {
    {PointGo::kHardwareStart, "IDS_MD_POINT_GO_HARDWARE_START", "Connect test device",
     "toolbaricon_pg_hardware.png", QKeyCombination(Qt::Key_F5)},
    {own::kPointGoPortCommand, "IDS_MD_POINTGO_PORT_ACTION", "Test device port",
     "toolbaricon_pg_port.png", kNone},
    {PointGo::kFirstModeCommand, "IDS_MD_POINT_GO_ALL", "Point-go: every LED",
     "toolbaricon_pg_all.png", QKeyCombination(Qt::Key_F6)},
    {PointGo::kFirstModeCommand + 1, "IDS_MD_POINT_GO_GROUP1", "Point-go: group 1",
     "toolbaricon_pg_group1.png", QKeyCombination(Qt::Key_F7)},
    {PointGo::kFirstModeCommand + 2, "IDS_MD_POINT_GO_GROUP2", "Point-go: group 2",
     "toolbaricon_pg_group2.png", QKeyCombination(Qt::Key_F8)},
    {PointGo::kHold, "IDS_MD_POINT_GO_HOLD", "Hold point-go", "toolbaricon_pg_hold.png",
     QKeyCombination(Qt::Key_F9)},
    {PointGo::kSkipCommand, "IDS_MD_POINTGO_SKIP", "Skip output (no LED)",
     "toolbaricon_pg_skip.png", QKeyCombination(Qt::Key_Delete)},
    {PointGo::kReset, "IDS_MD_POINT_GO_RESET", "Reset point-go layout", "toolbaricon_pg_reset.png",
     kNone},
    {PointGo::kCheckSocket, "IDS_MD_POINT_GO_CHECK_SOCKET", "Check socket",
     "toolbaricon_pg_socket.png", kNone},
    {PointGo::kMarkAllCommand, "IDS_MD_POINT_GO_MARK_ALL", "Mark all", "toolbaricon_mark_all.png",
     QKeyCombination(Qt::CTRL, Qt::Key_A)},
    {PointGo::kUnmarkAllCommand, "IDS_MD_POINT_GO_UNMARK_ALL", "Unmark all",
     "toolbaricon_unmark_all.png", QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_A)},
    {PointGo::kPaintMarks, "IDS_MD_POINT_GO_PAINT_MARKS", "Paint marks",
     "toolbaricon_paint_marks.png", kNone},
    {PointGo::kEraseMarks, "IDS_MD_POINT_GO_ERASE_MARKS", "Erase marks",
     "toolbaricon_erase_marks.png", kNone},
    {PointGo::kFirstLayerCommand, "IDS_MD_POINT_GO_LAYER_RED", "Red layer",
     "toolbaricon_layer_red.png", QKeyCombination(Qt::ALT, Qt::Key_R)},
    {PointGo::kFirstLayerCommand + 1, "IDS_MD_POINT_GO_LAYER_GREEN", "Green layer",
     "toolbaricon_layer_green.png", QKeyCombination(Qt::ALT, Qt::Key_G)},
    {PointGo::kFirstLayerCommand + 2, "IDS_MD_POINT_GO_LAYER_BLUE", "Blue layer",
     "toolbaricon_layer_blue.png", QKeyCombination(Qt::ALT, Qt::Key_B)},
    {PointGo::kDecompose, "IDS_MD_POINT_GO_DECOMPOSE", "Pixel decomposition",
     "toolbaricon_decompose.png", kNone},
    {PointGo::kClearVirtual, "IDS_MD_POINT_GO_CLEAR_VIRTUAL", "Clear virtual arrangement",
     "toolbaricon_clear_virtual.png", kNone},
};

} // namespace

std::span<const PointGoAction> PointGoActions()
{
    return kActions;
}

} // namespace md
