#pragma once

#include "core/layout/LayoutDesign.h"
#include "core/layout/LayoutRange.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace md {

class ByteReader;
class ByteWriter;
class CodePage;

/// The layout section of a driver file: its magic, the traced result, the cell design and the
/// grid points.
namespace layoutarchive {

inline constexpr std::string_view kMagic = "D4494FB0-8153-45de-9A42-02BE9D74F86B";
/// The most grid points the section's 16-bit count can hold.
inline constexpr std::size_t kMaxPoints = 65535;

/// Moves the traced points of a result into the module range as a save does: points outside
/// the range become virtual, the rest are shifted by the origin and the split gap (results
/// below 1 become 0). The layout keeps the moved values.
void ApplyModuleRange(std::vector<ChannelRow>& result, const LayoutRange& range);

/// Moves every traced point and grid point to its result position. forward maps source keys
/// x | (y << 16) to result keys, backward result keys to source keys. Traced points whose
/// source has no result position become virtual; a result position takes its grid point from
/// its backward source (or a fresh point of the cell variant of its parity when it has none).
void Remap(LayoutDesign& design, std::uint32_t resultWidth, std::uint32_t resultHeight,
           const std::map<std::uint32_t, std::uint32_t>& forward,
           const std::map<std::uint32_t, std::uint32_t>& backward);
/// A position map as a function: the key a key maps to, or nothing.
using KeyLookup = std::function<std::optional<std::uint32_t>(std::uint32_t key)>;
/// The same over lookups, for maps kept in flat tables.
void Remap(LayoutDesign& design, std::uint32_t resultWidth, std::uint32_t resultHeight,
           const KeyLookup& forward, const KeyLookup& backward);

} // namespace layoutarchive

/// Appends the section. False, with nothing written, when a count or length exceeds what the
/// format's fields hold (more than 65535 grid points, a picture name longer than 65535 bytes)
/// or a scan row holds more points than its entry's row length.
bool WriteLayoutSection(const LayoutDesign& design, ByteWriter& out, const CodePage& codePage);
/// About the bytes WriteLayoutSection appends.
std::size_t LayoutSectionSizeHint(const LayoutDesign& design);

/// Reads a section written by WriteLayoutSection. Every count is checked against the bytes left
/// before anything is allocated; on failure design is left unspecified and error names the item.
bool ReadLayoutSection(ByteReader& in, LayoutDesign& design, const CodePage& codePage,
                       std::string& error);

} // namespace md
