#include "core/design/CellTextFormat.h"

#include "core/io/Utf.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace md {

namespace {

std::string Convert(double value, char conversion, int precision, bool hasPrecision)
{
    std::array<char, 512> buffer{};
    std::to_chars_result result{};
    char* first = buffer.data();
    char* last = buffer.data() + buffer.size();
    switch (conversion) {
    case 'd':
    case 'i':
    case 'u':
        result = std::to_chars(first, last, static_cast<long long>(std::trunc(value)));
        break;
    case 'e':
    case 'E':
        result = std::to_chars(first, last, value, std::chars_format::scientific,
                               hasPrecision ? precision : 6);
        break;
    case 'g':
    case 'G':
        result = std::to_chars(first, last, value, std::chars_format::general,
                               hasPrecision ? precision : 6);
        break;
    default:
        result = std::to_chars(first, last, value, std::chars_format::fixed,
                               hasPrecision ? precision : 6);
        break;
    }
    if (result.ec != std::errc())
        return {};
    return std::string(first, result.ptr);
}

} // namespace

std::u16string CellTextFormat::Format(std::u16string_view format,
                                      std::initializer_list<double> values)
{
    const std::string text = utf::ToUtf8(format);
    auto value = values.begin();
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // %[flags][width][.precision][l]conversion
        std::size_t j = i + 1;
        bool leftAlign = false;
        bool zeroPad = false;
        while (j < text.size() && std::string_view("-+ 0#").find(text[j]) != std::string::npos) {
            leftAlign |= text[j] == '-';
            zeroPad |= text[j] == '0';
            ++j;
        }
        int width = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9' && width < 100)
            width = width * 10 + (text[j++] - '0');
        int precision = 0;
        bool hasPrecision = false;
        if (j < text.size() && text[j] == '.') {
            hasPrecision = true;
            ++j;
            while (j < text.size() && text[j] >= '0' && text[j] <= '9' && precision < 100)
                precision = precision * 10 + (text[j++] - '0');
        }
        if (j < text.size() && text[j] == 'l')
            ++j;
        if (j >= text.size() || std::string_view("diufFeEgG").find(text[j]) == std::string::npos ||
            value == values.end()) {
            out += text[i];
            continue;
        }
        std::string converted = Convert(*value++, text[j], precision, hasPrecision);
        if (static_cast<int>(converted.size()) < width) {
            const std::size_t pad = static_cast<std::size_t>(width) - converted.size();
            if (leftAlign)
                converted.append(pad, ' ');
            else if (zeroPad && !converted.empty() && converted[0] == '-')
                converted.insert(1, pad, '0');
            else
                converted.insert(0, pad, zeroPad ? '0' : ' ');
        }
        out += converted;
        i = j;
    }
    return utf::ToUtf16(out);
}

} // namespace md
