#pragma once

#include "core/design/BackgroundDesign.h"
#include "core/design/NewModuleInfoRecord.h"
#include "core/design/SocketDesign.h"
#include "core/driverfile/DriverFile.h"
#include "core/layout/LayoutDesign.h"

#include <array>
#include <span>
#include <string>

namespace md {

class CodePage;

/// A whole driver file read for inspection and export: the version words, the four
/// sections, the section table and the identity text. Stricter than the design's own reader:
/// the table must be present, point at the sections and be followed by the identity block.
struct DriverFileContents
{
    VersionWords version;
    NewModuleInfoRecord moduleInfo;
    SocketDesign socket;
    LayoutDesign layout;
    BackgroundDesign background;
    std::array<std::uint64_t, 5> sectionTable{};
    std::string identity;

    /// False with a one-line reason naming the section and offset.
    bool Parse(std::span<const std::uint8_t> bytes, const CodePage& codePage, std::string& error);
};

} // namespace md
