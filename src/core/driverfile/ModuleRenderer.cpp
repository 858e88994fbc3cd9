#include "core/driverfile/ModuleRenderer.h"

#include "core/driverfile/DriverFileContents.h"
#include "core/driverfile/OutputMap.h"
#include "core/io/BmpDecoder.h"
#include "core/io/PngDecoder.h"

#include <algorithm>
#include <map>

namespace md {

namespace {

constexpr std::uint32_t kCanvas = 0x333333;
constexpr std::uint32_t kModule = 0x1E1E1E;
constexpr std::uint32_t kGrid = 0x555555;

/// Nearest-neighbour copy of a picture into a rectangle.
void DrawScaled(RgbaImage& target, const RgbaImage& picture, int left, int top, int width,
                int height)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            target.SetPixel(
                left + x, top + y,
                picture.Pixel(x * picture.Width() / width, y * picture.Height() / height));
}

} // namespace

std::uint32_t ModuleRenderer::ChainColour(int chain)
{
    static const std::uint32_t palette[] = {0xE6194B, 0x3CB44B, 0x4363D8, 0xF58231, 0x911EB4,
                                            0x42D4F4, 0xF032E6, 0xBFEF45, 0xFABED4, 0x469990,
                                            0xDCBEFF, 0x9A6324, 0xFFFAC8, 0x800000, 0xAAFFC3};
    return palette[static_cast<std::size_t>(chain) % std::size(palette)];
}

RgbaImage ModuleRenderer::Render(const DriverFileContents& file, int scale)
{
    const OutputMap map(file);
    if (map.TooLarge())
        return RgbaImage(0, 0);
    const int width = map.Width();
    const int height = map.Height();
    scale = std::clamp(scale, 4, 64);
    scale = std::max(1, std::min(scale, (kMaxSide - 2 * kMargin) / std::max({width, height, 1})));
    RgbaImage image(width * scale + 2 * kMargin, height * scale + 2 * kMargin, kCanvas);
    image.FillRect(kMargin, kMargin, width * scale, height * scale, kModule);
    const auto& bytes = file.background.Picture().bytes;
    auto picture = BmpDecoder::Decode(bytes);
    if (!picture)
        picture = PngDecoder::Decode(bytes);
    if (picture)
        DrawScaled(image, *picture, kMargin, kMargin, width * scale, height * scale);
    for (int x = 0; x <= width; ++x)
        image.FillRect(kMargin + x * scale, kMargin, 1, height * scale + 1, kGrid);
    for (int y = 0; y <= height; ++y)
        image.FillRect(kMargin, kMargin + y * scale, width * scale + 1, 1, kGrid);

    // One chain per (group, scan row) of channel 0, in wire order.
    std::map<std::pair<int, int>, std::vector<const OutputMap::Record*>> chains;
    for (const auto& record : map.Records())
        if (record.channel == 0 && record.kind != 4)
            chains[{record.group, record.scanRow}].push_back(&record);
    auto centre = [&](const OutputMap::Record* r) {
        return std::pair{kMargin + r->x * scale + scale / 2, kMargin + r->y * scale + scale / 2};
    };
    const int pen = std::max(1, scale / 8);
    int chain = 0;
    for (const auto& [key, points] : chains) {
        const std::uint32_t colour = ChainColour(chain++);
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            const auto [x0, y0] = centre(points[i]);
            const auto [x1, y1] = centre(points[i + 1]);
            image.Line(x0, y0, x1, y1, colour, pen);
        }
        for (const auto* point : points) {
            const auto [x, y] = centre(point);
            image.FillCircle(x, y, std::max(1, scale / 8), colour);
        }
        const auto [sx, sy] = centre(points.front());
        image.FillCircle(sx, sy, std::max(2, scale / 3), 0xFFFFFF);
        image.FillCircle(sx, sy, std::max(1, scale / 3 - 2), colour);
    }
    return image;
}

} // namespace md
