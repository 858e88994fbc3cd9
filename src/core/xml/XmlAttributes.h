#pragma once

#include <cstddef>
#include <string_view>

/// Attributes inside a start tag, found by scanning that tag only.
namespace md::xmlattr {

/// Where an attribute sits in a start tag, by offsets into the tag.
struct Spot
{
    bool found = false;
    std::size_t valueBegin = 0; ///< at the opening quote, or after the name without a value
    std::size_t valueEnd = 0;   ///< after the closing quote
    std::size_t lastEnd = 0;    ///< after the last attribute (or after the tag name)
};

/// Looks the attribute up in a start tag whose name ends at nameEnd. Values may be quoted with
/// either quote or, leniently, unquoted.
Spot Find(std::u16string_view tag, std::size_t nameEnd, std::u16string_view name);
/// The value without its quotes.
std::u16string_view Unquoted(std::u16string_view value);

} // namespace md::xmlattr
