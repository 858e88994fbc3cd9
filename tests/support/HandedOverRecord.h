#pragma once

#include "md/ModuleRecord.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace md::test {

/// The record the wizard hands over for a W x H one-colour module whose data groups each feed
/// scanRows scan rows, on one connector.
inline ModuleRecord HandedOverRecord(std::uint16_t width = 16, std::uint16_t height = 8,
                                     std::uint16_t scanRows = 4, std::uint16_t groups = 2)
{
    ModuleRecord r{};
    r.kind = ModuleRecord::kKind;
    r.scanRows = scanRows;
    r.width = width;
    r.height = height;
    const char16_t name[] = u"zt5module";
    std::copy(std::begin(name), std::end(name), r.name);
    r.groupCount = groups;
    r.pointsPerGroup = static_cast<std::uint16_t>(width * height / groups);
    r.pointsPerRow = static_cast<std::uint16_t>(r.pointsPerGroup / scanRows);
    r.lineCount = r.lineColourCount = 1;
    for (auto& row : r.connector)
        std::fill(std::begin(row), std::end(row), -1);
    r.connector[0][0] = 0;
    r.connectorRows = r.connectorColumns = 1;
    return r;
}

} // namespace md::test
