#include "core/design/PixelDecompositionChoice.h"

namespace md {

int PixelDecompositionChoice::CheckedMode(int colour) const
{
    const std::uint32_t mode = m_modes.at(static_cast<std::size_t>(colour));
    return mode < PixelDecomposition::kModeCount ? static_cast<int>(mode) : 0;
}

void PixelDecompositionChoice::Choose(int colour, int mode)
{
    if (mode >= 0 && mode < PixelDecomposition::kModeCount)
        m_modes.at(static_cast<std::size_t>(colour)) = static_cast<std::uint32_t>(mode);
}

const std::array<std::uint32_t, 3>& PixelDecompositionChoice::Confirm()
{
    for (std::uint32_t& mode : m_modes)
        if (mode == PixelDecomposition::kUnset)
            mode = 0;
    return m_modes;
}

} // namespace md
