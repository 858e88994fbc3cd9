#include "core/document/UndoStack.h"

namespace md {

void UndoStack::Push(std::unique_ptr<UndoCommand> command)
{
    if (!command || m_replaying)
        return;
    m_commands.resize(m_done);
    m_commands.push_back(std::move(command));
    m_done = m_commands.size();
    Changed();
}

bool UndoStack::Undo()
{
    if (!CanUndo() || m_replaying)
        return false;
    m_replaying = true;
    m_commands[--m_done]->Undo();
    m_replaying = false;
    Changed();
    return true;
}

bool UndoStack::Redo()
{
    if (!CanRedo() || m_replaying)
        return false;
    m_replaying = true;
    m_commands[m_done++]->Redo();
    m_replaying = false;
    Changed();
    return true;
}

void UndoStack::Undone()
{
    if (!CanUndo() || m_replaying)
        return;
    m_replaying = true;
    m_commands[--m_done]->UndoneElsewhere();
    m_replaying = false;
    Changed();
}

void UndoStack::Clear()
{
    m_commands.clear();
    m_done = 0;
    Changed();
}

void UndoStack::Changed() const
{
    if (m_onChanged)
        m_onChanged();
}

} // namespace md
