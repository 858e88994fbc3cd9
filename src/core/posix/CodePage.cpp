#include "core/posix/CodePage.h"

#include <cerrno>
#include <iconv.h>
#include <utility>

namespace md {

namespace {

/// One iconv conversion; invalid input either fails or is replaced, as asked.
std::optional<std::string> Convert(const std::string& to, const std::string& from,
                                   std::string_view input, bool replaceInvalid)
{
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out;
    std::string in(input);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char buffer[1024];
    bool failed = false;
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        if (!replaceInvalid) {
            failed = true;
            break;
        }
        // Skip one UTF-16 unit (two bytes) of input that the target cannot hold.
        out.push_back('?');
        const std::size_t skip = inLeft >= 2 ? 2 : inLeft;
        inPtr += skip;
        inLeft -= skip;
    }
    iconv_close(cd);
    if (failed)
        return std::nullopt;
    return out;
}

/// The text as UTF-16LE bytes, iconv's input.
std::string Utf16LeBytes(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

} // namespace

CodePage::CodePage(std::string name) : m_name(std::move(name)) {}

bool CodePage::IsAvailable() const
{
    iconv_t cd = iconv_open("UTF-16LE", m_name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(cd);
    return true;
}

std::string CodePage::FromUtf16(std::u16string_view text) const
{
    auto converted = Convert(m_name, "UTF-16LE", Utf16LeBytes(text), true);
    if (converted)
        return *converted;
    // Unknown code page: keep ASCII, mark the rest.
    std::string fallback;
    for (char16_t c : text)
        fallback.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return fallback;
}

std::u16string CodePage::Unstorable(std::u16string_view text) const
{
    std::u16string missing;
    const bool known = IsAvailable();
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 &&
                          text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        const std::u16string_view one = text.substr(i, pair ? 2 : 1);
        i += one.size();
        if (one.size() == 1 && one[0] < 0x80)
            continue;
        bool storable = false;
        if (known)
            storable = Convert(m_name, "UTF-16LE", Utf16LeBytes(one), false).has_value();
        if (!storable && missing.find(one) == std::u16string::npos)
            missing += one;
    }
    return missing;
}

std::optional<std::u16string> CodePage::ToUtf16(std::string_view bytes) const
{
    auto converted = Convert("UTF-16LE", m_name, bytes, false);
    if (!converted)
        return std::nullopt;
    std::u16string out;
    out.reserve(converted->size() / 2);
    for (std::size_t i = 0; i + 1 < converted->size(); i += 2)
        out.push_back(
            static_cast<char16_t>(static_cast<unsigned char>((*converted)[i]) |
                                  (static_cast<unsigned char>((*converted)[i + 1]) << 8)));
    return out;
}

} // namespace md
