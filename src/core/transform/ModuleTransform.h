#pragma once

#include "core/driverfile/DesignPartsFile.h"
#include "core/transform/PositionTable.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

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

/// A combined file's driver and HUB files, read into memory.
struct CombinedSource
{
    std::vector<std::uint8_t> driver;
    std::vector<std::uint8_t> hub;
};

/// The module transform: a driver file's LED positions mirrored, scaled and rotated into a new
/// arrangement. The loaded source stays in memory, so a save over the source file changes
/// nothing here. Positions are keys x | (y << 16); both directions of the map are flat tables
/// indexed by position.
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
    /// The driver and HUB entries of a combined file; nothing when the file cannot be read or
    /// is not a combined file.
    static std::optional<CombinedSource> ReadCombined(const std::filesystem::path& combined);
    /// The leading integer of a text (0 when it does not start with one).
    static int LeadingInteger(const std::u16string& text);
    /// A zoom factor: a positive decimal number, nothing otherwise.
    static std::optional<double> ZoomFactor(const std::u16string& text);

    /// Parses a driver file the way the transform reads its sources: the mark is skipped, not
    /// compared, and sockets are taken as stored.
    static DriverFile::Result ParseSource(std::span<const std::uint8_t> bytes, DesignParts& parts,
                                          const DesignFilePorts& ports);
    /// Reads the driver file and loads its bytes.
    int Load(const std::filesystem::path& file, const DesignFilePorts& ports);
    /// Loads a driver file's bytes, section by section; path names where they came from. On
    /// failure nothing of the loaded state changes.
    int Load(std::span<const std::uint8_t> bytes, const std::filesystem::path& path,
             const DesignFilePorts& ports);
    bool Loaded() const { return m_loaded; }
    /// The driver file the source was loaded from.
    const std::filesystem::path& SourcePath() const { return m_source; }
    /// The source's version words.
    const VersionWords& SourceVersion() const { return m_version; }
    /// Whether a transform has run on the loaded source.
    bool HasResult() const { return m_hasResult; }

    /// Runs the transform over the source points; the maps and result figures start afresh.
    RunResult Run(const TransformSettings& settings);

    std::uint32_t SourceWidth() const { return m_width; }
    std::uint32_t SourceHeight() const { return m_height; }
    /// The LED positions, in key order: the traced, non-virtual points of the layout result.
    const std::vector<std::uint32_t>& SourcePoints() const { return m_points; }
    bool IsSourcePoint(std::uint32_t key) const
    {
        return m_sourceIndex.Find(key) != PositionTable::kNone;
    }
    std::uint32_t ResultWidth() const { return m_resultWidth; }
    std::uint32_t ResultHeight() const { return m_resultHeight; }
    std::uint32_t ResultValidCount() const
    {
        return static_cast<std::uint32_t>(m_resultIndex.Size());
    }
    /// Where the LED of a source position went; nothing without a transform or an LED there.
    std::optional<std::uint32_t> ResultOf(std::uint32_t sourceKey) const;
    /// The source position a result position shows: of several sources that land on it, the
    /// last in key order; nothing for a position no source reaches.
    std::optional<std::uint32_t> SourceAt(std::uint32_t resultKey) const;
    /// (source key, result key) for every LED position in key order, for reports.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> Forward() const;
    /// The loaded file's sections, for saving the result.
    const DesignParts& Parts() const { return m_parts; }

private:
    bool m_loaded = false;
    bool m_hasResult = false;
    std::filesystem::path m_source;
    DesignParts m_parts;
    VersionWords m_version;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::vector<std::uint32_t> m_points;
    PositionTable m_sourceIndex;          ///< source key to index into m_points
    std::vector<std::uint32_t> m_results; ///< result key of each of m_points
    PositionTable m_resultIndex;          ///< result key to index into m_points
    std::uint32_t m_resultWidth = 0;
    std::uint32_t m_resultHeight = 0;
};

} // namespace md
