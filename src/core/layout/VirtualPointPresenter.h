#pragma once

#include <cstdint>
#include <optional>

namespace md {

class PointTracer;

/// The insert-virtual-points dialog: offered only while virtual points can be inserted, it
/// shows the position and the virtual points so far, and on OK inserts the number entered.
class VirtualPointPresenter
{
public:
    static constexpr int kDialogId = 20111;
    static constexpr int kPositionId = 20539;
    static constexpr int kCountId = 20537;
    static constexpr int kNumberId = 20538;

    explicit VirtualPointPresenter(PointTracer& tracer) : m_tracer(tracer) {}

    /// Whether the dialog is offered; fills position and count when it is.
    bool Offer();
    std::uint32_t Position() const { return m_position; }
    std::uint32_t Count() const { return m_count; }
    void Accept(std::uint32_t number);

private:
    PointTracer& m_tracer;
    std::uint32_t m_position = 0;
    std::uint32_t m_count = 0;
};

} // namespace md
