#pragma once

#include "core/design/CellLed.h"
#include "core/design/LightImage.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace md {

/// The picker that asks which parallel group a click during tracing meant: it shows, four times
/// enlarged, the LEDs of one colour that the layout copied into the traced pixel (code 1), and a
/// click picks the last one under the pointer.
class ParallelLedPicker
{
public:
    static constexpr int kSize = 256;
    static constexpr int kScale = 4;

    struct Point
    {
        int x = 0;
        int y = 0;
    };
    struct Box
    {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool Contains(int px, int py) const
        {
            return px >= x && py >= y && px < x + width && py < y + height;
        }
    };

    void SetLeds(std::vector<CellLed> leds) { m_leds = std::move(leds); }
    const std::vector<CellLed>& Leds() const { return m_leds; }
    void SetColour(std::uint16_t colour) { m_colour = colour; }
    void SetCentre(Point centre) { m_centre = centre; }
    void SetBackground(LightImage background) { m_background = std::move(background); }
    const LightImage& Background() const { return m_background; }
    /// The pictures the LEDs name by imageId.
    void SetImages(std::vector<LightImage> images) { m_images = std::move(images); }
    const std::vector<LightImage>& Images() const { return m_images; }

    /// Top-left of the window: the centre less half the size.
    Point TopLeft() const { return {m_centre.x - kSize / 2, m_centre.y - kSize / 2}; }
    /// Whether the LED is shown: its colour is the filter and its code is 1.
    bool Shows(const CellLed& led) const { return led.colour == m_colour && led.code == 1; }
    /// Shows exactly these LEDs (indices in the list), each labelled with its number from 1 and
    /// drawn where it sits on the cell's 256 x 256 canvas, instead of the filter's LEDs with their
    /// group numbers four times enlarged: point-go's candidates of a pixel. An empty list goes
    /// back to the filter.
    void SetOffered(std::vector<std::size_t> offered) { m_offered = std::move(offered); }
    /// Whether the LED at this index of the list is shown.
    bool ShowsAt(std::size_t index) const;
    /// The number drawn at the LED of this index: its number or its group.
    std::uint32_t LabelAt(std::size_t index) const;
    /// Where the LED of this index is drawn and clicked.
    Box BoxAt(std::size_t index) const;
    static Box BoxOf(const CellLed& led);

    /// Clears the pick (every opening).
    void Open() { m_picked.reset(); }
    /// A click in window coordinates; true when it picked an LED.
    bool Click(int x, int y);
    bool Picked() const { return m_picked.has_value(); }
    /// The picked LED; only valid when Picked().
    const CellLed& PickedLed() const { return m_leds.at(*m_picked); }
    /// The picked LED's index in the list; nothing before a pick.
    std::optional<std::size_t> PickedIndex() const { return m_picked; }

private:
    std::vector<CellLed> m_leds;
    std::uint16_t m_colour = 0;
    Point m_centre;
    LightImage m_background;
    std::vector<LightImage> m_images;
    std::vector<std::size_t> m_offered;
    std::optional<std::size_t> m_picked;
};

} // namespace md
