#pragma once

#include "core/design/PixelDecomposition.h"

#include <array>
#include <cstdint>

namespace md {

/// The choice of the pixel decomposition dialog: three modes, unset until chosen; confirming
/// turns an unset mode into TU.
class PixelDecompositionChoice
{
public:
    void SetModes(const std::array<std::uint32_t, 3>& modes) { m_modes = modes; }
    const std::array<std::uint32_t, 3>& Modes() const { return m_modes; }
    /// The mode whose button is checked when the dialog opens: TU for unset or unknown modes.
    int CheckedMode(int colour) const;
    void Choose(int colour, int mode);
    /// Confirm: unset colours become TU; returns the result.
    const std::array<std::uint32_t, 3>& Confirm();

private:
    std::array<std::uint32_t, 3> m_modes{PixelDecomposition::kUnset, PixelDecomposition::kUnset,
                                         PixelDecomposition::kUnset};
};

} // namespace md
