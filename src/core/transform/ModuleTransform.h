#pragma once

#include "core/driverfile/DesignPartsFile.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace md {

class CodePage;
class PictureCodec;

/// The transform takes a socket as stored: its pins keep their codes whatever pictures the
/// program folder holds.
inline DesignFilePorts AsStored(DesignFilePorts ports)
{
    ports.socketPictures = false;
    return ports;
}

/// What the transform dialog's controls hold when Transform is pressed.
struct TransformSettings
{
    bool mirrorLeftRight = false;
    bool mirrorUpDown = false;
    bool horizontalZoomOn = false;
    bool verticalZoomOn = false;
    std::u16string angle = u"0";
    std::u16string horizontalZoom = u"2";
    std::u16string verticalZoom = u"2";
};

/// The module transform: a driver file's LED positions mirrored, scaled and rotated into a new
/// arrangement, kept as a forward map (source key to result key) and a backward map (result
/// key to source key), keys x | (y << 16).
class ModuleTransform
{
public:
    /// Load results: 0 loaded, 1 the file cannot be opened, 2 to 5 the module information,
    /// socket, layout or background section failed.
    enum LoadResult
    {
        kLoaded = 0,
        kCannotOpen = 1,
        kModuleInfoFailed = 2,
        kSocketFailed = 3,
        kLayoutFailed = 4,
        kBackgroundFailed = 5
    };
    enum class RunResult
    {
        Done,
        NotLoaded,
        BadZoom ///< a zoom that is on is not a positive number
    };

    /// Whether a path names a combined file (extension MHR in any case).
    static bool IsCombined(const std::filesystem::path& path);
    /// Writes a combined file's driver and HUB entries to "conversion.MDR" and "conversion.HDR"
    /// in the temp folder (made when missing); false when the file is not a combined file.
    static bool Extract(const std::filesystem::path& combined, const std::filesystem::path& temp,
                        std::filesystem::path& driver, std::filesystem::path& hub);
    /// The leading integer of a text (0 when it does not start with one).
    static int LeadingInteger(const std::u16string& text);
    /// A zoom factor: a positive decimal number, nothing otherwise.
    static std::optional<double> ZoomFactor(const std::u16string& text);

    /// Parses a driver file the way the transform reads its sources: the mark is skipped, not
    /// compared, and sockets are taken as stored.
    static DriverFile::Result ParseSource(std::vector<std::uint8_t> bytes, DesignParts& parts,
                                          const DesignFilePorts& ports);
    /// Reads the driver file section by section; on failure nothing of the loaded state changes.
    int Load(const std::filesystem::path& file, const DesignFilePorts& ports);
    bool Loaded() const { return m_loaded; }
    /// The driver file the source was loaded from.
    const std::filesystem::path& SourcePath() const { return m_source; }
    /// Whether a transform has run on the loaded source.
    bool HasResult() const { return m_hasResult; }

    /// Runs the transform over the source points; the maps and result figures start afresh.
    RunResult Run(const TransformSettings& settings);

    std::uint32_t SourceWidth() const { return m_width; }
    std::uint32_t SourceHeight() const { return m_height; }
    /// The LED positions: the traced, non-virtual points of the layout result.
    const std::set<std::uint32_t>& SourcePoints() const { return m_points; }
    std::uint32_t ResultWidth() const { return m_resultWidth; }
    std::uint32_t ResultHeight() const { return m_resultHeight; }
    std::uint32_t ResultValidCount() const { return static_cast<std::uint32_t>(m_backward.size()); }
    const std::map<std::uint32_t, std::uint32_t>& Forward() const { return m_forward; }
    const std::map<std::uint32_t, std::uint32_t>& Backward() const { return m_backward; }
    /// The loaded file's sections, for saving the result.
    DesignParts& Parts() { return m_parts; }

private:
    bool m_loaded = false;
    bool m_hasResult = false;
    std::filesystem::path m_source;
    DesignParts m_parts;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::set<std::uint32_t> m_points;
    std::map<std::uint32_t, std::uint32_t> m_forward;
    std::map<std::uint32_t, std::uint32_t> m_backward;
    std::uint32_t m_resultWidth = 0;
    std::uint32_t m_resultHeight = 0;
};

} // namespace md
