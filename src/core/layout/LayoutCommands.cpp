#include "core/layout/LayoutCommands.h"

#include "core/layout/PointTracer.h"
#include "core/platform/Texts.h"

namespace md {

LayoutCommands::Effect LayoutCommands::Execute(int command)
{
    switch (command) {
    case kEraseMarks:
        m_tracer.SetEditMode(3);
        return Effect::None;
    case kPaintMarks:
        m_tracer.SetEditMode(2);
        return Effect::None;
    case kScanRowLength:
        return m_tracer.RefusedForPointGo() ? Effect::None : Effect::OpenScanRowLengthDialog;
    case kInsertVirtual:
        m_tracer.InsertVirtual(1);
        return Effect::Repaint;
    case kUndo:
        m_tracer.Undo();
        return Effect::Repaint;
    case kStartStop:
        if (m_tracer.RefusedForPointGo())
            return Effect::None;
        m_tracer.SetAdvancedStarted(!m_tracer.AdvancedStarted());
        m_tracer.Reset();
        return Effect::RedrawAndClearSelection;
    case kEnableAdvanced:
        if (m_tracer.RefusedForPointGo())
            return Effect::None;
        m_tracer.SetAdvancedEnabled(!m_tracer.AdvancedEnabled());
        m_tracer.SetAdvancedStarted(false);
        m_tracer.Reset();
        return Effect::Repaint;
    default:
        return Effect::None;
    }
}

std::vector<LayoutMenuEntry> LayoutCommands::ContextMenu() const
{
    const bool enabled = m_tracer.AdvancedEnabled();
    const bool started = m_tracer.AdvancedStarted();
    const bool lengthSet = m_tracer.ScanRowLength() != 0;
    // While point-go holds the layout, tracing cannot start over or change it.
    const bool free = !m_tracer.PointGoSelected();
    const auto text = [this](const char* key, std::u16string_view fallback) {
        return m_texts.TextOr(key, fallback);
    };
    std::u16string length =
        text("IDS_LEDLAYOUT_MENU_LABEL_CURRENT_SCAN_ROW_LEN", u"当前扫描行长度");
    length += u" : ";
    for (char c : std::to_string(m_tracer.ScanRowLength()))
        length += static_cast<char16_t>(c);
    return {
        {kEnableAdvanced,
         enabled ? text("IDS_LEDLAYOUT_MENU_LABEL_DISABLE_ADVANCE_EP", u"禁用高级描点控制 ")
                 : text("IDS_LEDLAYOUT_MENU_LABEL_ENABLE_ADVANCE_EP", u"启用高级描点控制 "),
         free},
        {},
        {kCurrentLength, length, false},
        {kScanRowLength, text("IDS_LEDLAYOUT_MENU_LABEL_SCAN_ROW_LEN_SET", u"扫描行长度设置"),
         free && enabled && !started},
        {},
        {kInsertVirtual, text("IDS_LEDLAYOUT_MENU_LABEL_INSERT_VIRTUAL_POINT", u"插入虚点 F4"),
         free && lengthSet && enabled && started},
        {kUndo, text("IDS_LEDLAYOUT_MENU_LABEL_REPEAT", u"撤销 Ctrl+Z"),
         free && lengthSet && enabled && started},
        {},
        {kStartStop,
         started ? text("IDS_LEDLAYOUT_MENU_LABEL_STOP_EP", u"停止描点 ")
                 : text("IDS_LEDLAYOUT_MENU_LABEL_START_EP", u"开始描点 "),
         free && lengthSet && enabled},
    };
}

} // namespace md
