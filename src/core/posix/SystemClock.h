#pragma once

#include "core/platform/Clock.h"

namespace md {

/// Milliseconds of the steady clock, truncated to 32 bits like a tick count.
class SystemClock final : public Clock
{
public:
    std::uint32_t TickCount() const override;
};

} // namespace md
