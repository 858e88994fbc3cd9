#include "core/xml/XmlEscape.h"

#include <array>

namespace md::xmlescape {

namespace {

struct Entity
{
    std::u16string_view name; ///< without '&' and ';'
    char16_t character;
};

constexpr std::array<Entity, 5> kEntities = {{
    {u"lt", u'<'},
    {u"amp", u'&'},
    {u"gt", u'>'},
    {u"apos", u'\''},
    {u"quot", u'"'},
}};

/// The semicolon of a numeric reference lies at most this many characters after its '&'.
constexpr std::size_t kNumericReach = 7;

bool IsNameStart(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' ||
           c >= 0x80;
}

bool IsNameChar(char16_t c)
{
    return IsNameStart(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
}

/// Whether the text at an '&' is a well-formed reference: a name start or '#', then name
/// characters up to ';'.
bool StartsReference(std::u16string_view text, std::size_t amp)
{
    std::size_t at = amp + 1;
    if (at >= text.size() || !(IsNameStart(text[at]) || text[at] == u'#'))
        return false;
    for (++at; at < text.size(); ++at) {
        if (text[at] == u';')
            return true;
        if (!IsNameChar(text[at]))
            return false;
    }
    return false;
}

int DigitValue(char16_t c, bool hex)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (hex && c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (hex && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

/// A numeric reference at an '&': its code point and its length; length 0 when there is none.
std::size_t NumericReference(std::u16string_view text, std::size_t amp, std::uint32_t& code)
{
    std::size_t at = amp + 2;
    const bool hex = at < text.size() && (text[at] == u'x');
    if (hex)
        ++at;
    const std::size_t digitsStart = at;
    code = 0;
    for (; at < text.size() && at - amp <= kNumericReach; ++at) {
        if (text[at] == u';')
            break;
        const int digit = DigitValue(text[at], hex);
        if (digit < 0)
            return 0;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (at >= text.size() || at - amp > kNumericReach || text[at] != u';' || at == digitsStart)
        return 0;
    return at - amp + 1;
}

void AppendCode(std::u16string& out, std::uint32_t code)
{
    if (code > 0xFFFF) {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(code));
    }
}

} // namespace

std::u16string Escape(std::u16string_view text, bool attribute, std::uint32_t flags)
{
    std::u16string out;
    out.reserve(text.size() + text.size() / 10 + 7);
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (out.capacity() - out.size() < 6)
            out.reserve(out.capacity() * 4);
        const char16_t c = text[at];
        switch (c) {
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'&':
            if ((flags & kKeepReferences) != 0 && StartsReference(text, at))
                out.push_back(c);
            else
                out += u"&amp;";
            break;
        case u'\'':
            out += attribute ? u"&apos;" : u"'";
            break;
        case u'"':
            out += attribute ? u"&quot;" : u"\"";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

std::u16string Unescape(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const char16_t c = text[at];
        if (c != u'&') {
            out.push_back(c);
            ++at;
            continue;
        }
        std::size_t used = 0;
        if (at + 1 < text.size() && text[at + 1] == u'#') {
            std::uint32_t code = 0;
            used = NumericReference(text, at, code);
            if (used != 0 && code != 0)
                AppendCode(out, code);
            else
                used = 0;
        } else {
            for (const Entity& entity : kEntities) {
                const std::size_t end = at + 1 + entity.name.size();
                if (end < text.size() && text[end] == u';' &&
                    text.substr(at + 1, entity.name.size()) == entity.name) {
                    out.push_back(entity.character);
                    used = entity.name.size() + 2;
                    break;
                }
            }
        }
        if (used == 0) {
            out.push_back(c);
            ++at;
        } else {
            at += used;
        }
    }
    return out;
}

std::u16string CDataSection(std::u16string_view text)
{
    std::u16string out = u"<![CDATA[";
    std::size_t at = 0;
    for (std::size_t found; (found = text.find(u"]]>", at)) != std::u16string_view::npos;
         at = found + 3) {
        out += text.substr(at, found - at);
        out += u"]]]]><![CDATA[>";
    }
    out += text.substr(at);
    out += u"]]>";
    return out;
}

} // namespace md::xmlescape
