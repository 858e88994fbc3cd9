#pragma once

// Small known designs and fakes shared by the driver file tests.

#include "core/design/BackgroundDesign.h"
#include "core/design/NewModuleInfoRecord.h"
#include "core/design/SocketDesign.h"
#include "core/io/ByteWriter.h"
#include "core/layout/LayoutDesign.h"
#include "core/platform/Clock.h"
#include "core/platform/Guids.h"
#include "core/platform/PictureCodec.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace md::test {

class FixedGuids final : public Guids
{
public:
    explicit FixedGuids(std::string guid) : m_guid(std::move(guid)) {}
    std::string NewGuid() override { return m_guid; }
    std::string m_guid;
};

class FixedClock final : public Clock
{
public:
    std::uint32_t TickCount() const override { return 123456; }
};

/// Accepts any picture that starts with "PIC".
class PrefixCodec final : public PictureCodec
{
public:
    bool Decode(std::span<const std::uint8_t> bytes, PictureSize& size) const override
    {
        if (bytes.size() < 3 || bytes[0] != 'P' || bytes[1] != 'I' || bytes[2] != 'C')
            return false;
        size = {32, 32};
        return true;
    }
};

inline NewModuleInfoRecord KnownModuleInfo()
{
    NewModuleInfoRecord record;
    record.pinCount = 16;
    record.scanRows = 8;
    record.xPixels = 32;
    record.yPixels = 16;
    record.nameParts = {u"P10", u"RGB", u"", u""};
    record.driverChip = {u"ICN2038", 0, 0, 7};
    record.scanChip = {u"SM5166", 1, 1, 9};
    record.confirmed = 1;
    return record;
}

/// A 2-pin socket with codes 16 and 255, scan rows 8.
inline SocketDesign KnownSocket()
{
    SocketDesign socket;
    socket.NewSocket(2, 8);
    socket.Pins()[0].code = 16;
    return socket;
}

/// A traced point as the layout section stores it.
inline TracedPoint KnownPoint(std::uint16_t x, std::uint16_t kind, std::uint16_t cellVariant,
                              std::uint16_t ordinal)
{
    TracedPoint point;
    point.x = x;
    point.kind = kind;
    point.cellVariant = cellVariant;
    point.ordinal = ordinal;
    return point;
}

/// A 2 x 1 module traced as one entry of one scan row of 3 points (the last one virtual).
inline LayoutDesign KnownLayout(bool present = true)
{
    LayoutDesign layout;
    layout.layoutPresent = present;
    if (present) {
        ChannelRow entry;
        entry.rowLength = 3;
        entry.index = 0;
        entry.pointsPerGroup = 3;
        entry.flag = 1;
        ScanRow row;
        row.tag = 0;
        row.points = {KnownPoint(1, 0, 2, 1), KnownPoint(0, 0, 1, 2), KnownPoint(0, 4, 0, 3)};
        entry.rows.push_back(row);
        layout.result.push_back(entry);
    }
    layout.virtualCodes = {1, 2, 3};
    layout.images.push_back(LightImage{1, 0, {'P', 'I', 'C'}, u"led"});
    CellLed led;
    led.widthPx = 10;
    led.heightPx = 10;
    layout.cellSlots[0].push_back(led);
    layout.shapeSets.assign(layout.cellSlots.begin(), layout.cellSlots.end());
    for (std::uint16_t x = 0; x < 2; ++x) {
        ArchivedPoint point;
        point.x = x;
        point.cellVariant = x == 0 ? 1 : 2;
        point.marked = 0;
        // With a layout both pixels hold the one LED; without, each has its variant's list.
        point.shapeSet = present ? 0 : point.cellVariant - 1U;
        layout.points.push_back(point);
    }
    return layout;
}

/// A HUB file whose pins carry these function codes, written out field by field.
inline std::vector<std::uint8_t> HubFileBytes(const std::vector<std::uint8_t>& codes)
{
    ByteWriter out;
    out.Ascii(".HDRB80B16B7-269C-4271-B0A2-3D89B99AC56A");
    out.U16(0);
    out.U16(static_cast<std::uint16_t>(codes.size()));
    out.U16(0);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        out.U8(static_cast<std::uint8_t>(i));
        out.U8(codes[i]);
        out.U16(0);
    }
    return out.Take();
}

inline std::filesystem::path TempFolder(const std::string& name)
{
    auto folder = std::filesystem::temp_directory_path() /
                  ("md_driver_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

} // namespace md::test
