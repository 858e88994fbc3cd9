#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace md {

class SocketDesign;

/// The header and pin list of a HUB file (.HDR), the part this program reads: the one reader of
/// HUB files, for describing them and for combining them with a driver file.
struct HubFile
{
    static constexpr const char* kMark = ".HDR";
    static constexpr const char* kId = "B80B16B7-269C-4271-B0A2-3D89B99AC56A";

    struct Pin
    {
        std::uint8_t number = 0; ///< the entry's first byte, kept as read
        std::uint8_t code = 0;   ///< signal code
    };
    std::vector<Pin> pins;

    bool Parse(std::span<const std::uint8_t> bytes, std::string& error);
    /// Count of code-15 pins times 65536 plus the sum of their positions (16 bits).
    std::uint32_t Signature() const;
    /// Whether the HUB file goes with a module of this socket: both have code-15 pins at the
    /// same positions (equal signatures, at least 1).
    bool Fits(const SocketDesign& socket) const;
};

} // namespace md
