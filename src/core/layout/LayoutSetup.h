#pragma once

#include "core/layout/ChannelRow.h"
#include "core/layout/VirtualRun.h"
#include "core/parameters/ConnectorTable.h"

#include <array>
#include <cstdint>
#include <vector>

namespace md {

/// The layout's view of the module record the wizard builds: what tracing reads, and the
/// members tracing writes back (rowLength, pointsPerGroup, virtualPerRow, virtualRuns, result).
/// The wizard fills it; the layout step owns it and hands it to the layout grid.
struct LayoutSetup
{
    std::uint16_t scanRows = 1;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint32_t driverPolarity = 0;
    std::uint32_t scanPolarity = 0;
    std::array<std::uint32_t, 3> virtualCode{}; ///< all 0 = ordinary pixels
    std::uint16_t pointsPerGroup = 0;
    std::uint16_t dataGroups = 1;
    std::uint16_t rowLength = 0;
    std::vector<std::uint16_t> channelColours{
        0}; ///< colour of each data line: 0 red, 1 green, 2 blue
    std::uint16_t virtualPerRow = 0;
    std::vector<VirtualRun> virtualRuns;
    std::uint32_t multiClock = 0;
    std::vector<ChannelRow> result;
    std::uint32_t sameColourSwap = 0;
    ConnectorTable connectors;
    std::uint16_t dataLineType = 0; ///< 4 to 7: three-colour series lines in blocks of 1, 8, 16, 24

    /// Derives pointsPerGroup and rowLength from the size as the wizard does.
    void DeriveCounts()
    {
        const std::uint32_t groups = dataGroups == 0 ? 1 : dataGroups;
        pointsPerGroup = static_cast<std::uint16_t>(std::uint32_t{width} * height / groups);
        rowLength = static_cast<std::uint16_t>(pointsPerGroup / (scanRows == 0 ? 1 : scanRows));
    }

    /// Whether the three virtual codes form one of the four virtual-pixel arrangements.
    bool HasVirtualPixelCodes() const
    {
        const auto& c = virtualCode;
        return (c[0] == 1 && ((c[1] == 6 && c[2] == 7) || (c[1] == 7 && c[2] == 6))) ||
               (c[0] == 2 && ((c[1] == 5 && c[2] == 8) || (c[1] == 8 && c[2] == 5)));
    }
};

} // namespace md
