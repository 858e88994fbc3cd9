#include "core/document/UndoStack.h"

namespace md {

namespace {

class MacroCommand final : public UndoCommand
{
public:
    explicit MacroCommand(std::vector<std::unique_ptr<UndoCommand>> commands)
        : m_commands(std::move(commands))
    {}
    void Undo() override
    {
        for (auto it = m_commands.rbegin(); it != m_commands.rend(); ++it)
            (*it)->Undo();
    }
    void Redo() override
    {
        for (const auto& command : m_commands)
            command->Redo();
    }

private:
    std::vector<std::unique_ptr<UndoCommand>> m_commands;
};

} // namespace

void UndoStack::Push(std::unique_ptr<UndoCommand> command)
{
    if (!command || m_replaying)
        return;
    if (m_inMacro) {
        m_macro.push_back(std::move(command));
        return;
    }
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
    m_macro.clear();
    m_done = 0;
    Changed();
}

void UndoStack::BeginMacro()
{
    EndMacro();
    m_inMacro = true;
}

void UndoStack::EndMacro()
{
    if (!m_inMacro)
        return;
    m_inMacro = false;
    std::vector<std::unique_ptr<UndoCommand>> commands = std::move(m_macro);
    m_macro.clear();
    if (commands.size() == 1)
        Push(std::move(commands.front()));
    else if (!commands.empty())
        Push(std::make_unique<MacroCommand>(std::move(commands)));
}

void UndoStack::Changed() const
{
    if (m_onChanged)
        m_onChanged();
}

} // namespace md
