#include "xml/XmlUtf8.h"

namespace md::xmlutf8 {

std::u16string Decode(std::span<const std::uint8_t> bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    const std::size_t size = bytes.size();
    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t lead = bytes[at];
        std::uint32_t code = lead;
        if (lead >= 0x80) {
            // The number of continuation bytes follows from bits 5, 4 and 3 of the lead byte.
            std::size_t extra = 0;
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
                text.push_back(u'?');
                ++at;
                continue;
            }
            if (at + extra >= size)
                break; // the sequence runs past the end of the data
            std::size_t taken = 0;
            while (taken < extra && (bytes[at + 1 + taken] & 0x80) != 0) {
                code = (code << 6) | (bytes[at + 1 + taken] & 0x3Fu);
                ++taken;
            }
            if (taken < extra) {
                text.push_back(u'?');
                at += 1 + taken;
                continue;
            }
            at += 1 + extra;
        } else {
            ++at;
        }
        if (code == 0)
            break;
        if (code > 0xFFFF) {
            code -= 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + ((code >> 10) & 0x3FF)));
            text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(code));
        }
    }
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
