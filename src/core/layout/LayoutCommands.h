#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace md {

class PointTracer;
class Texts;

/// One entry of the layout grid's context menu; command 0 is a separator.
struct LayoutMenuEntry
{
    int command = 0;
    std::u16string label;
    bool enabled = false;
};

/// The commands with which the user steers tracing: the context menu, and what each command
/// number does to the tracer.
class LayoutCommands
{
public:
    static constexpr int kEraseMarks = 30807;
    static constexpr int kPaintMarks = 30808;
    static constexpr int kScanRowLength = 30809;
    static constexpr int kInsertVirtual = 30810;
    static constexpr int kUndo = 30811;
    static constexpr int kStartStop = 30812;
    static constexpr int kCurrentLength = 30813;
    static constexpr int kEnableAdvanced = 30814;

    /// What the view does after a command.
    enum class Effect
    {
        None,
        Repaint,
        RedrawAndClearSelection,
        OpenScanRowLengthDialog
    };

    LayoutCommands(PointTracer& tracer, const Texts& texts) : m_tracer(tracer), m_texts(texts) {}

    Effect Execute(int command);
    std::vector<LayoutMenuEntry> ContextMenu() const;

private:
    PointTracer& m_tracer;
    const Texts& m_texts;
};

} // namespace md
