#pragma once

#include "core/parameters/ModuleParameters.h"

#include <filesystem>

namespace md {

/// The last applied module parameters, kept in temp/module_config.xml under the program folder
/// so that the parameter page opens with them next time.
class ModuleConfigFile
{
public:
    /// Sizes of the page's lists, so that stored indexes can be checked against them.
    struct ListSizes
    {
        std::int32_t virtualModes = 5;
        std::int32_t scanChips = 0;
        std::int32_t splitModes = 2;
        std::int32_t driverChips = 0;
        std::int32_t polarities = 2;
        std::int32_t discharges = 5;
    };

    explicit ModuleConfigFile(std::filesystem::path programFolder);

    std::filesystem::path Path() const;
    /// Writes the record; -1 without writing when the size is out of range (either side above
    /// 256, no points, more than 4096 points) or the file cannot be written, else 0.
    int Write(const ModuleParameters& parameters) const;
    /// Applies the stored values to the record; false (record untouched) when the file cannot be
    /// loaded. A stored index beyond its list leaves that list without selection (-1).
    bool Read(ModuleParameters& parameters, const ListSizes& lists) const;

private:
    std::filesystem::path m_programFolder;
};

} // namespace md
