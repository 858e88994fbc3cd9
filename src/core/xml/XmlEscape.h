#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// Character references of XML text and attribute values.
namespace md::xmlescape {

/// Document flag: an '&' that already starts a well-formed reference is copied unchanged.
inline constexpr std::uint32_t kKeepReferences = 0x1;

/// Replaces "<", "&" and ">" (and, in attribute values, also "'" and '"') by references.
std::u16string Escape(std::u16string_view text, bool attribute, std::uint32_t flags);
/// Resolves the five named references and numeric ones; everything else stays as written.
std::u16string Unescape(std::u16string_view text);

/// The text as a CDATA section; a "]]>" inside is split across two sections.
std::u16string CDataSection(std::u16string_view text);

} // namespace md::xmlescape
