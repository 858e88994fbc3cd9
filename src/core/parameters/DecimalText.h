#pragma once

#include <cstdint>
#include <string_view>

namespace md {

/// A decimal integer as the C library reads one: leading whitespace, a sign, then digits up to
/// the first other character; 0 when there are none. Values beyond 32 bits saturate.
std::int32_t DecimalText(std::u16string_view text);

} // namespace md
