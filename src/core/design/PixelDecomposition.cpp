#include "core/design/PixelDecomposition.h"

namespace md {

namespace {

const std::array<PixelDecomposition::Mode, PixelDecomposition::kModeCount> kModes{{
    {"TU", {20053, 20073, 20083}, {"r_tu.png", "g_tu.png", "b_tu.png"}},
    {"LH", {20055, 20074, 20084}, {"r_lh.png", "g_lh.png", "b_lh.png"}},
    {"RH", {20058, 20076, 20085}, {"r_rh.png", "g_rh.png", "b_rh.png"}},
    {"LV", {20061, 20077, 20086}, {"r_lv.png", "g_lv.png", "b_lv.png"}},
    {"RV", {20063, 20078, 20087}, {"r_rv.png", "g_rv.png", "b_rv.png"}},
    {"X0", {20065, 20079, 20088}, {"r_x0.png", "g_x0.png", "b_x0.png"}},
    {"X1", {20067, 20080, 20089}, {"r_x1.png", "g_x1.png", "b_x1.png"}},
    {"X2", {20069, 20081, 20090}, {"r_x2.png", "g_x2.png", "b_x2.png"}},
    {"X3", {20071, 20082, 20091}, {"r_x3.png", "g_x3.png", "b_x3.png"}},
    {"N", {20072, 20092, 20093}, {"none.png", "none.png", "none.png"}},
}};

// Bit c-1 set: the mode lights in copy c. The horizontal and vertical halves light the same
// copies (the diagonals of each 2 x 2 block); they differ only in the mode kept in the LED.
constexpr std::array<unsigned, PixelDecomposition::kModeCount> kCopies{
    0b1111, 0b1001, 0b0110, 0b1001, 0b0110, 0b0001, 0b0010, 0b0100, 0b1000, 0b0000};

bool Valid(std::uint32_t mode)
{
    return mode < PixelDecomposition::kModeCount;
}

} // namespace

const PixelDecomposition::Mode& PixelDecomposition::ModeInfo(int mode)
{
    return kModes.at(static_cast<std::size_t>(mode));
}

bool PixelDecomposition::Participates(int mode, int copy)
{
    if (mode < 0 || mode >= kModeCount || copy < 1 || copy > kCopyCount)
        return false;
    return (kCopies[static_cast<std::size_t>(mode)] >> (copy - 1)) & 1U;
}

void PixelDecomposition::Apply(std::array<std::vector<CellLed>, kCopyCount>& copies,
                               const std::array<std::uint32_t, 3>& modes)
{
    for (int copy = 1; copy <= kCopyCount; ++copy)
        for (CellLed& led : copies[static_cast<std::size_t>(copy - 1)]) {
            if (led.colour > 2)
                continue;
            const std::uint32_t mode = modes[led.colour];
            led.decompositionMode = static_cast<std::int32_t>(mode);
            led.active = Participates(Valid(mode) ? static_cast<int>(mode) : -1, copy) ? 1 : 0;
        }
}

} // namespace md
