#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

/// The UTF-8 coding of XML files. Decoding is forgiving: a bad sequence becomes one '?', a decoded
/// 0 ends the text and a sequence cut off by the end of the data ends it too.
namespace md::xmlutf8 {

std::u16string Decode(std::span<const std::uint8_t> bytes);
/// Surrogate pairs become one code point; a surrogate without its partner becomes '?'.
std::string Encode(std::u16string_view text);

} // namespace md::xmlutf8
