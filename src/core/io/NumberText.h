#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace md {

/// Numbers read from text the same way under every locale: '.' is the decimal point and nothing
/// groups the digits. The C library's conversions (strtod, atof, sscanf) follow LC_NUMERIC, which
/// a Qt application takes from the environment, so under a German locale they refuse "0.5".
namespace numbertext {

/// The whole text as a T (an integer type or double): blanks around the number and a leading
/// '+' are allowed; nothing for any other text or a value beyond T's range.
template <typename T>
std::optional<T> Parse(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-')
            return std::nullopt;
    }
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

/// The same for wide text; any character beyond ASCII makes it no number.
template <typename T>
std::optional<T> Parse(std::u16string_view text)
{
    std::string ascii;
    ascii.reserve(text.size());
    for (char16_t c : text) {
        if (c >= 0x80)
            return std::nullopt;
        ascii += static_cast<char>(c);
    }
    return Parse<T>(std::string_view(ascii));
}

/// A decimal integer as the C library's atoi reads one: leading blanks, a sign, then digits up
/// to the first other character; 0 when there are none. Values beyond 32 bits saturate.
std::int32_t LeadingInteger(std::u16string_view text);

/// A real number as the C library's atof reads one: leading blanks, then the longest number;
/// nothing when no number starts the text.
std::optional<double> LeadingReal(std::u16string_view text);

} // namespace numbertext
} // namespace md
