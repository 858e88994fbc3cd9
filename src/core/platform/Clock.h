#pragma once

#include <cstdint>

namespace md {

/// The system tick count in milliseconds.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::uint32_t TickCount() const = 0;
};

} // namespace md
