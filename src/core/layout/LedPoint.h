#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace md {

/// One pixel of the layout grid. Its LEDs are the shared shape set of the layout model that
/// shapeSet names (normally its cell slot's list); the pixel keeps only what differs per pixel:
/// which of those LEDs are hidden, and its tracing state.
struct LedPoint
{
    std::uint64_t hiddenLeds = 0;            ///< bit i set: LED i of the shape set is not drawn
    std::vector<std::uint64_t> hiddenBeyond; ///< LEDs 64 and up, 64 to a word (large cells)
    std::uint32_t drawWidth = 64;
    std::uint32_t drawHeight = 64;
    std::uint32_t label = 0;    ///< ordinal shown in the cell, 0 = empty and light green
    std::uint32_t shapeSet = 0; ///< index of the LED list in LayoutModel's shape sets
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::uint16_t cellVariant = 1; ///< 1 to 4 by the parity of x and y
    std::uint8_t marked = 0;
    std::uint8_t highlighted = 0;
    std::uint8_t traced = 0;

    bool LedVisible(unsigned led) const
    {
        if (led < 64)
            return ((hiddenLeds >> led) & 1U) == 0;
        const std::size_t word = led / 64 - 1;
        return word >= hiddenBeyond.size() || ((hiddenBeyond[word] >> (led % 64)) & 1U) == 0;
    }
    void SetLedHidden(unsigned led, bool hidden)
    {
        std::uint64_t* word = &hiddenLeds;
        if (led >= 64) {
            const std::size_t index = led / 64 - 1;
            if (index >= hiddenBeyond.size()) {
                if (!hidden)
                    return;
                hiddenBeyond.resize(index + 1, 0);
            }
            word = &hiddenBeyond[index];
        }
        const std::uint64_t bit = std::uint64_t{1} << (led % 64);
        *word = hidden ? (*word | bit) : (*word & ~bit);
    }
    /// Every LED drawn again.
    void ShowAllLeds()
    {
        hiddenLeds = 0;
        hiddenBeyond.clear();
    }
};

} // namespace md
