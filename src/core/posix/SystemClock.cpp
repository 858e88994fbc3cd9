#include "core/posix/SystemClock.h"

#include <chrono>

namespace md {

std::uint32_t SystemClock::TickCount() const
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace md
