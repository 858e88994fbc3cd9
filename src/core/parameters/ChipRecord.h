#pragma once

#include <cstdint>
#include <string>

namespace md {

/// A chip of the chip library: a scan (row) chip or a driver (column) chip.
struct ChipRecord
{
    std::u16string name; ///< in the active language
    std::int32_t type = 0;
    std::int32_t isScan = 0;
    std::int32_t polarity = 0;
    std::int32_t maxScans = 0; ///< driver chips only

    bool operator==(const ChipRecord&) const = default;
};

} // namespace md
