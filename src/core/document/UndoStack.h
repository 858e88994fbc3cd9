#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace md {

/// One edit of a design that can be taken back and done again. A command is pushed after its
/// edit was done, so Redo runs only after an Undo.
class UndoCommand
{
public:
    virtual ~UndoCommand() = default;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    /// A tracing step, which the tracer can also take back on its own.
    virtual bool Tracing() const { return false; }
    /// Completes an undo begun elsewhere (the tracer's own undo of a tracing step).
    virtual void UndoneElsewhere() {}
};

/// The edits of one design in the order they were made, with a position between the ones done
/// and the ones undone. A new edit after an undo drops the undone ones.
class UndoStack
{
public:
    /// Takes an edit that was just done.
    void Push(std::unique_ptr<UndoCommand> command);
    /// False when there is nothing to undo or redo.
    bool Undo();
    bool Redo();
    bool CanUndo() const { return m_done > 0; }
    bool CanRedo() const { return m_done < m_commands.size(); }
    std::size_t UndoCount() const { return m_done; }
    std::size_t RedoCount() const { return m_commands.size() - m_done; }
    /// The last done edit was taken back by its own route: it becomes the first to redo.
    void Undone();
    /// The last done edit, or null.
    const UndoCommand* Top() const { return m_done > 0 ? m_commands[m_done - 1].get() : nullptr; }
    /// The first undone edit (the next to redo), or null.
    const UndoCommand* Next() const
    {
        return m_done < m_commands.size() ? m_commands[m_done].get() : nullptr;
    }
    /// Forgets every edit (a new, opened or closed design).
    void Clear();
    /// The edits pushed from here to EndMacro become one (a drag over the grid): undone in
    /// reverse order, done again in order. A single edit stays itself.
    void BeginMacro();
    void EndMacro();
    /// Whether an undo or redo runs now: edits it causes are not pushed again.
    bool Replaying() const { return m_replaying; }
    /// Called after every push, undo, redo and clear (the views enable their actions).
    void SetChangedHandler(std::function<void()> handler) { m_onChanged = std::move(handler); }

private:
    void Changed() const;

    std::vector<std::unique_ptr<UndoCommand>> m_commands;
    std::size_t m_done = 0;
    bool m_replaying = false;
    bool m_inMacro = false;
    std::vector<std::unique_ptr<UndoCommand>> m_macro;
    std::function<void()> m_onChanged;
};

} // namespace md
