#pragma once

#include <string>
#include <string_view>

namespace md::utf {

/// Standard UTF-8 to UTF-16; malformed sequences become U+FFFD.
std::u16string ToUtf16(std::string_view utf8);
/// Standard UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view utf16);
/// ASCII text widened character by character (ids, keys, numbers).
std::u16string FromAscii(std::string_view ascii);

} // namespace md::utf
