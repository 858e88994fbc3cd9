#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace md {

/// A picture held as its file's bytes: an entry of a cell's image list, or a background.
struct LightImage
{
    static constexpr std::uint16_t kBackgroundId = 65535;

    std::uint16_t used = 1; ///< 1 for light pictures, 0 for the background
    std::uint16_t id = 0;   ///< 0, 1, 2 ... for light pictures, 65535 for the background
    std::vector<std::uint8_t> bytes;
    std::u16string name; ///< the light's name, or the background's file name

    std::uint32_t Length() const { return static_cast<std::uint32_t>(bytes.size()); }
    bool operator==(const LightImage&) const = default;
};

} // namespace md
