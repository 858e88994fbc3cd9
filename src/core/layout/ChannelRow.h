#pragma once

#include "core/layout/ScanRow.h"

#include <cstdint>
#include <vector>

namespace md {

/// The traced points of one data group and colour channel, one ScanRow per scan row.
struct ChannelRow
{
    std::uint16_t rowLength = 0;
    std::uint16_t index = 0; ///< position in its list
    std::uint16_t pointsPerGroup = 0;
    std::vector<ScanRow> rows;
    std::uint8_t flag = 0; ///< kept with the entry and stored in the archive

    bool operator==(const ChannelRow&) const = default;
};

} // namespace md
