// Feeds arbitrary text as the module configuration file (temp/module_config.xml) that the
// parameter page reads at start: whatever is stored, the values it applies stay within the
// lists they index.

#include "core/parameters/ModuleConfigFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("md-fuzz-config-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path / "temp");
        return path;
    }();
    const md::ModuleConfigFile file(folder);
    {
        std::ofstream out(file.Path(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    md::ModuleParameters parameters;
    const md::ModuleConfigFile::ListSizes lists{5, 3, 2, 4, 2, 5};
    if (!file.Read(parameters, lists))
        return 0;
    const auto within = [](std::int32_t index, std::int32_t count) {
        return index >= -1 && index < count;
    };
    if (!within(parameters.scanChip, lists.scanChips) ||
        !within(parameters.driverChip, lists.driverChips))
        std::abort();
    return 0;
}
