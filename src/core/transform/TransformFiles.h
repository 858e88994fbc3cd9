#pragma once

#include "core/driverfile/DesignPartsFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace md {

class ModuleTransform;

/// Writing a transform's result: the new driver file, and the combined file with a HUB file
/// that fits its socket.
class TransformFiles
{
public:
    /// The result as a driver file: the loaded source's sections with the result size, the
    /// layout moved to the result positions, the background resized and the socket as it was,
    /// with a new identity block. The version words are the program's, or the source's when
    /// the ports carry none (a tool that is not the program). Nothing without a result or when
    /// a section cannot be written.
    static std::optional<std::vector<std::uint8_t>> BuildResult(const ModuleTransform& transform,
                                                                const DesignFilePorts& ports);
    /// BuildResult written atomically to target.
    static bool WriteResult(const ModuleTransform& transform, const std::filesystem::path& target,
                            const DesignFilePorts& ports);

    /// Writes ".MHR" and the driver and HUB entries, nothing after them, when the HUB file reads
    /// and fits the driver file's socket (HubFile::Fits). False, with no file written, otherwise.
    static bool Combine(const std::filesystem::path& driver, const std::filesystem::path& hub,
                        const std::filesystem::path& combined, const DesignFilePorts& ports);
    /// The same for files held in memory; the paths give the entries' names.
    static bool Combine(const std::filesystem::path& driverPath,
                        std::span<const std::uint8_t> driver, const std::filesystem::path& hubPath,
                        std::span<const std::uint8_t> hub, const std::filesystem::path& combined,
                        const DesignFilePorts& ports);
};

} // namespace md
