#pragma once

#include <functional>

namespace md {

/// How a model tells its owner that its content may have changed. The owner decides what a
/// change means (the design document compares the design with the one last saved), so a model
/// may raise it freely, also when nothing changed after all. A copy of a model belongs to
/// nobody: copying leaves the new signal unconnected and assigning keeps the target's
/// connection, so `document.Socket() = loaded` still reaches the document.
class ChangeSignal
{
public:
    ChangeSignal() = default;
    ChangeSignal(const ChangeSignal&) {}
    ChangeSignal& operator=(const ChangeSignal&) { return *this; }

    void Connect(std::function<void()> handler) { m_handler = std::move(handler); }
    void Raise() const
    {
        if (m_handler)
            m_handler();
    }

    /// Signals never make two models differ.
    bool operator==(const ChangeSignal&) const { return true; }

private:
    std::function<void()> m_handler;
};

} // namespace md
