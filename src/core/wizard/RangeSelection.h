#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace md {

/// The real range of a module chosen in the range dialog.
struct ModuleRange
{
    enum Band : std::uint8_t
    {
        kNoBand = 0,
        kRows = 1,
        kColumns = 2
    };

    std::uint16_t x = 0; ///< origin column, zero-based
    std::uint16_t y = 0; ///< origin row, zero-based
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> cells; ///< chosen (column, row) pairs
    std::uint8_t bandKind = kNoBand;
    std::uint16_t bandStart = 0;
    std::uint16_t bandCount = 0;
    std::uint8_t replacePixels = 0;
};

/// The selection of the range dialog over a grid of the module's pixels, and its conclusion:
/// the bounding rectangle, the chosen cells, and an unselected band of whole rows or columns
/// that the range leaves out.
class RangeSelection
{
public:
    RangeSelection(int moduleWidth, int moduleHeight);

    /// Selects or clears a pixel (zero-based column and row); out-of-range pixels are ignored.
    void Select(int column, int row, bool selected = true);
    void SelectRectangle(int column, int row, int width, int height, bool selected = true);
    void Clear() { m_selected.clear(); }
    bool IsSelected(int column, int row) const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Empty() const { return m_selected.empty(); }
    void SetReplacePixels(bool replace) { m_replace = replace; }

    /// The range for OK; nothing while no pixel is selected (the dialog then stays open).
    std::optional<ModuleRange> Confirm() const;

private:
    int m_width;
    int m_height;
    std::set<std::uint32_t> m_selected; ///< column OR (row SHL 16)
    bool m_replace = false;
};

} // namespace md
