#include "core/xml/XmlUtf8.h"

#include <cstring>

namespace md::xmlutf8 {

std::u16string Decode(std::span<const std::uint8_t> bytes)
{
    // Never more characters than bytes: the text is sized once and cut to what was written.
    std::u16string text(bytes.size(), u'\0');
    char16_t* out = text.data();
    const std::uint8_t* at = bytes.data();
    const std::uint8_t* const end = at + bytes.size();
    while (at < end) {
        // Runs of plain ASCII, the bulk of most documents, are widened eight bytes at a time.
        while (end - at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, at, 8);
            constexpr std::uint64_t kHigh = 0x8080808080808080ull;
            const bool zero = ((word - 0x0101010101010101ull) & ~word & kHigh) != 0;
            if ((word & kHigh) != 0 || zero)
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = at[i];
            out += 8;
            at += 8;
        }
        if (at == end)
            break;
        const std::uint8_t lead = *at;
        if (lead < 0x80) {
            if (lead == 0)
                break;
            *out++ = lead;
            ++at;
            continue;
        }
        // The number of continuation bytes follows from bits 5, 4 and 3 of the lead byte.
        std::size_t extra = 0;
        std::uint32_t code = 0;
        if ((lead & 0x20) == 0) {
            extra = 1;
            code = lead & 0x1Fu;
        } else if ((lead & 0x10) == 0) {
            extra = 2;
            code = lead & 0x0Fu;
        } else if ((lead & 0x08) == 0) {
            extra = 3;
            code = lead & 0x07u;
        } else {
            *out++ = u'?';
            ++at;
            continue;
        }
        if (static_cast<std::size_t>(end - at) <= extra)
            break; // the sequence runs past the end of the data
        std::size_t taken = 0;
        while (taken < extra && (at[1 + taken] & 0x80) != 0) {
            code = (code << 6) | (at[1 + taken] & 0x3Fu);
            ++taken;
        }
        at += 1 + taken;
        if (taken < extra) {
            *out++ = u'?';
            continue;
        }
        if (code == 0)
            break;
        if (code > 0xFFFF) {
            code -= 0x10000;
            *out++ = static_cast<char16_t>(0xD800 + ((code >> 10) & 0x3FF));
            *out++ = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            *out++ = static_cast<char16_t>(code);
        }
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
    return text;
}

std::string Encode(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 4);
    const std::size_t size = text.size();
    for (std::size_t at = 0; at < size; ++at) {
        std::uint32_t code = text[at];
        if (code >= 0xD800 && code <= 0xDFFF) {
            const bool paired =
                code <= 0xDBFF && at + 1 < size && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
            if (!paired) {
                bytes.push_back('?');
                continue;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (text[at + 1] - 0xDC00u);
            ++at;
        }
        if (code < 0x80) {
            bytes.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (code >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (code >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (code >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return bytes;
}

} // namespace md::xmlutf8
