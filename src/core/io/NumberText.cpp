#include "core/io/NumberText.h"

#include <algorithm>
#include <limits>

namespace md::numbertext {

namespace {

bool IsBlank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace

std::int32_t LeadingInteger(std::u16string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+'))
        negative = text[at++] == u'-';
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at)
        value = std::min(value * 10 + (text[at] - u'0'), kLimit);
    if (negative)
        value = -value;
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, kLimit - 1));
}

std::optional<double> LeadingReal(std::u16string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+'))
        negative = text[at++] == u'-';
    std::string ascii;
    for (; at < text.size() && text[at] < 0x80; ++at)
        ascii += static_cast<char>(text[at]);
    if (ascii.empty() || ascii.front() == '-' || ascii.front() == '+')
        return std::nullopt;
    double value = 0;
    if (std::from_chars(ascii.data(), ascii.data() + ascii.size(), value).ec != std::errc{})
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace md::numbertext
