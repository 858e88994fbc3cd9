#include "core/transform/ModuleTransform.h"

#include "core/io/ByteReader.h"
#include "core/io/FileIo.h"
#include "core/io/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <numeric>

namespace md {

namespace {

/// The constant the transform has always used for pi.
constexpr double kPi = 3.14159;

/// Rounds half away from zero.
double RoundAway(double value)
{
    return std::trunc(value >= 0 ? value + 0.5 : value - 0.5);
}

bool ReadEntry(ByteReader& in, std::vector<std::uint8_t>& data)
{
    std::uint16_t nameLength = 0;
    std::uint32_t length = 0;
    return in.U16(nameLength) && in.Skip(nameLength) && in.U32(length) && in.Bytes(length, data);
}

std::string Narrow(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

} // namespace

bool ModuleTransform::IsCombined(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == ".MHR";
}

std::optional<CombinedSource> ModuleTransform::ReadCombined(const std::filesystem::path& combined)
{
    const auto bytes = fileio::ReadAll(combined);
    if (!bytes)
        return std::nullopt;
    ByteReader in(*bytes);
    CombinedSource source;
    if (!in.Expect(".MHR") || !ReadEntry(in, source.driver) || !ReadEntry(in, source.hub))
        return std::nullopt;
    return source;
}

int ModuleTransform::LeadingInteger(const std::u16string& text)
{
    const std::string narrow = Narrow(text);
    std::size_t i = 0;
    while (i < narrow.size() && std::isspace(static_cast<unsigned char>(narrow[i])))
        ++i;
    long long value = 0;
    bool negative = false;
    if (i < narrow.size() && (narrow[i] == '-' || narrow[i] == '+'))
        negative = narrow[i++] == '-';
    for (; i < narrow.size() && std::isdigit(static_cast<unsigned char>(narrow[i])); ++i)
        value = std::min<long long>(value * 10 + (narrow[i] - '0'), 1LL << 31);
    return static_cast<int>(std::clamp<long long>(negative ? -value : value, INT32_MIN, INT32_MAX));
}

std::optional<double> ModuleTransform::ZoomFactor(const std::u16string& text)
{
    const auto value = numbertext::Parse<double>(text);
    if (!value || !std::isfinite(*value) || *value <= 0)
        return std::nullopt;
    return value;
}

DriverFile::Result ModuleTransform::ParseSource(std::span<const std::uint8_t> bytes,
                                                DesignParts& parts, const DesignFilePorts& ports)
{
    // Any four bytes followed by the version words do; only a file with another mark is copied.
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), DriverFile::kMark, 4) != 0) {
        std::vector<std::uint8_t> marked(bytes.begin(), bytes.end());
        std::memcpy(marked.data(), DriverFile::kMark, 4);
        return DesignPartsFile::Parse(marked, parts, AsStored(ports));
    }
    return DesignPartsFile::Parse(bytes, parts, AsStored(ports));
}

int ModuleTransform::Load(const std::filesystem::path& file, const DesignFilePorts& ports)
{
    const fileio::MappedFile mapped(file);
    if (mapped.IsMapped())
        return Load(mapped.Bytes(), file, ports);
    // Not a regular file, or empty: read what there is.
    const auto bytes = fileio::ReadAll(file);
    return bytes ? Load(*bytes, file, ports) : kCannotOpen;
}

int ModuleTransform::Load(std::span<const std::uint8_t> bytes, const std::filesystem::path& path,
                          const DesignFilePorts& ports)
{
    VersionWords version;
    ByteReader header(bytes);
    header.Skip(4);
    header.U32(version.major);
    header.U32(version.minor);
    header.U32(version.build);
    DesignParts parts;
    const DriverFile::Result read = ParseSource(bytes, parts, ports);
    if (!read)
        return read.section < 0 ? kModuleInfoFailed : kModuleInfoFailed + read.section;

    std::vector<std::uint32_t> keys;
    for (const ChannelRow& entry : parts.layout.result)
        for (const ScanRow& row : entry.rows)
            for (const TracedPoint& point : row.points)
                if (!point.IsVirtual())
                    keys.push_back(std::uint32_t{point.x} | (std::uint32_t{point.y} << 16));
    m_points = PositionTable::Distinct(keys);
    std::vector<std::uint32_t> indices(m_points.size());
    std::iota(indices.begin(), indices.end(), 0U);
    m_sourceIndex.Assign(m_points, indices);
    m_parts = std::move(parts);
    m_version = version;
    m_width = m_parts.moduleInfo.xPixels;
    m_height = m_parts.moduleInfo.yPixels;
    m_results.clear();
    m_resultIndex.Assign({}, {});
    m_resultWidth = m_resultHeight = 0;
    m_source = path;
    m_hasResult = false;
    m_loaded = true;
    return kLoaded;
}

std::optional<std::uint32_t> ModuleTransform::ResultOf(std::uint32_t sourceKey) const
{
    const std::uint32_t index = m_sourceIndex.Find(sourceKey);
    if (index == PositionTable::kNone || index >= m_results.size())
        return std::nullopt;
    return m_results[index];
}

std::optional<std::uint32_t> ModuleTransform::SourceAt(std::uint32_t resultKey) const
{
    const std::uint32_t index = m_resultIndex.Find(resultKey);
    if (index == PositionTable::kNone)
        return std::nullopt;
    return m_points[index];
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> ModuleTransform::Forward() const
{
    std::vector<std::pair<std::uint32_t, std::uint32_t>> forward;
    forward.reserve(m_results.size());
    for (std::size_t i = 0; i < m_results.size(); ++i)
        forward.emplace_back(m_points[i], m_results[i]);
    return forward;
}

ModuleTransform::RunResult ModuleTransform::Run(const TransformSettings& settings)
{
    if (!m_loaded)
        return RunResult::NotLoaded;
    double hz = 1;
    double vz = 1;
    if (settings.horizontalZoomOn) {
        const auto zoom = ZoomFactor(settings.horizontalZoom);
        if (!zoom)
            return RunResult::BadZoom;
        hz = *zoom;
    }
    if (settings.verticalZoomOn) {
        const auto zoom = ZoomFactor(settings.verticalZoom);
        if (!zoom)
            return RunResult::BadZoom;
        vz = *zoom;
    }
    const double a = LeadingInteger(settings.angle) * kPi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const bool zoomed = settings.horizontalZoomOn || settings.verticalZoomOn;

    // The offsets come from the corners after the zoom, so that no result position is
    // negative (the corners without the zoom would let a zoom below 1 with a rotation wrap).
    const double w = m_width > 0 ? m_width - 1.0 : 0.0;
    const double h = m_height > 0 ? m_height - 1.0 : 0.0;
    double minX = 0, minY = 0;
    for (const auto& [cx, cy] : {std::pair{0.0, 0.0}, {0.0, h}, {w, h}, {w, 0.0}}) {
        const double x = cx / hz, y = cy / vz;
        minX = std::min(minX, RoundAway(x * c - y * s));
        minY = std::min(minY, RoundAway(x * s + y * c));
    }
    const std::int64_t offX = static_cast<std::int64_t>(-minX);
    const std::int64_t offY = static_cast<std::int64_t>(-minY);

    std::vector<std::uint32_t> results;
    results.reserve(m_points.size());
    std::int64_t maxX = 0, maxY = 0;
    for (const std::uint32_t key : m_points) {
        const std::uint32_t sx = key & 0xFFFF, sy = key >> 16;
        double x = settings.mirrorLeftRight ? w - sx : sx;
        double y = settings.mirrorUpDown ? h - sy : sy;
        x /= hz;
        y /= vz;
        double rx = x * c - y * s;
        double ry = x * s + y * c;
        if (!zoomed) {
            rx = RoundAway(rx);
            ry = RoundAway(ry);
        }
        const std::int64_t dx = static_cast<std::int64_t>(std::trunc(rx)) + offX;
        const std::int64_t dy = static_cast<std::int64_t>(std::trunc(ry)) + offY;
        results.push_back((static_cast<std::uint32_t>(dx) & 0xFFFF) |
                          (static_cast<std::uint32_t>(dy) << 16));
        maxX = std::max(maxX, dx);
        maxY = std::max(maxY, dy);
    }
    // Sources in key order: a later source on the same position wins.
    std::vector<std::uint32_t> indices(m_points.size());
    std::iota(indices.begin(), indices.end(), 0U);
    m_resultIndex.Assign(results, indices);
    m_results = std::move(results);
    m_resultWidth = m_points.empty() ? 0 : static_cast<std::uint32_t>(maxX + 1);
    m_resultHeight = m_points.empty() ? 0 : static_cast<std::uint32_t>(maxY + 1);
    m_hasResult = true;
    return RunResult::Done;
}

} // namespace md
