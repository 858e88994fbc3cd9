#pragma once

#include "core/driverfile/DemoDesign.h"
#include "core/driverfile/DriverFileContents.h"
#include "core/io/PngWriter.h"
#include "core/io/RgbaImage.h"

#include <memory>
#include <random>

namespace md::test {

/// Driver-file contents of every shape from a seed: sizes, groups, scan rows, cells of one to
/// four LEDs, names in and out of the code page, random socket codes, virtual points, cell
/// pictures and backgrounds.
class DesignGenerator
{
public:
    explicit DesignGenerator(unsigned seed) : m_random(seed) {}

    std::unique_ptr<DriverFileContents> Next()
    {
        DemoDesign::Options options;
        options.groups = static_cast<std::uint16_t>(Pick(1, 4));
        options.scanRows = static_cast<std::uint16_t>(Pick(1, 8));
        options.height = static_cast<std::uint16_t>(options.groups * options.scanRows * Pick(1, 3));
        options.width = static_cast<std::uint16_t>(Pick(1, 40));
        options.ledsPerCell = static_cast<std::uint16_t>(Pick(1, 4));
        if (Pick(0, 1) == 1)
            options.background = Picture();
        auto design = DemoDesign::Build(options);
        if (!design)
            return nullptr;
        static const std::u16string names[] = {u"", u"P10", u"P10全彩户外",
                                               u"室内模组ABCDEFGHIJKLMNOP"};
        design->moduleInfo.SetModuleName(names[Pick(0, 3)]);
        design->moduleInfo.driverChip.name = Pick(0, 1) ? u"ICN2038S" : u"驱动";
        for (SocketPin& pin : design->socket.Pins())
            pin.code = Pick(0, 4) == 0 ? SocketDesign::kUnassigned : Pick(0, 63);
        LayoutDesign& layout = design->layout;
        for (ChannelRow& entry : layout.result)
            for (ScanRow& row : entry.rows)
                for (TracedPoint& point : row.points)
                    if (Pick(0, 9) == 0)
                        point = TracedPoint::Virtual();
        for (std::uint8_t& code : layout.virtualCodes)
            code = static_cast<std::uint8_t>(Pick(0, 255));
        for (int i = Pick(0, 3); i > 0; --i)
            layout.images.push_back(LightImage{1, static_cast<std::uint16_t>(layout.images.size()),
                                               Picture(), u"灯" + std::u16string(1, u'A' + i)});
        if (Pick(0, 1) == 1)
            layout.background = LightImage{0, LightImage::kBackgroundId, Picture(), u"cell.png"};
        return design;
    }

private:
    std::uint32_t Pick(std::uint32_t low, std::uint32_t high)
    {
        return std::uniform_int_distribution<std::uint32_t>(low, high)(m_random);
    }
    std::vector<std::uint8_t> Picture()
    {
        RgbaImage image(static_cast<int>(Pick(1, 9)), static_cast<int>(Pick(1, 9)));
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                image.SetPixel(x, y, Pick(0, 0xFFFFFF));
        return PngWriter::Encode(image);
    }

    std::mt19937 m_random;
};

} // namespace md::test
