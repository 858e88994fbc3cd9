#include "core/xml/XmlAttributes.h"

namespace md::xmlattr {

namespace {

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

} // namespace

Spot Find(std::u16string_view tag, std::size_t nameEnd, std::u16string_view name)
{
    Spot spot;
    spot.lastEnd = nameEnd;
    std::size_t at = nameEnd;
    const std::size_t size = tag.size();
    while (at < size) {
        while (at < size && IsSpace(tag[at]))
            ++at;
        if (at >= size || tag[at] == u'>' || tag[at] == u'/')
            break;
        const std::size_t keyBegin = at;
        while (at < size && !IsSpace(tag[at]) && tag[at] != u'=' && tag[at] != u'>' &&
               tag[at] != u'/')
            ++at;
        const std::u16string_view key = tag.substr(keyBegin, at - keyBegin);
        std::size_t valueBegin = at;
        std::size_t valueEnd = at;
        std::size_t look = at;
        while (look < size && IsSpace(tag[look]))
            ++look;
        if (look < size && tag[look] == u'=') {
            ++look;
            while (look < size && IsSpace(tag[look]))
                ++look;
            valueBegin = look;
            if (look < size && (tag[look] == u'"' || tag[look] == u'\'')) {
                const std::size_t close = tag.find(tag[look], look + 1);
                valueEnd = close == std::u16string_view::npos ? size : close + 1;
            } else {
                valueEnd = look;
                while (valueEnd < size && !IsSpace(tag[valueEnd]) && tag[valueEnd] != u'>' &&
                       !(tag[valueEnd] == u'/' && valueEnd + 1 < size && tag[valueEnd + 1] == u'>'))
                    ++valueEnd;
            }
            at = valueEnd;
        }
        if (key.empty()) {
            ++at; // a stray character; step over it
            continue;
        }
        spot.lastEnd = at;
        if (!spot.found && key == name) {
            spot.found = true;
            spot.valueBegin = valueBegin;
            spot.valueEnd = valueEnd;
        }
    }
    return spot;
}

std::u16string_view Unquoted(std::u16string_view value)
{
    if (!value.empty() && (value.front() == u'"' || value.front() == u'\'')) {
        value.remove_prefix(1);
        if (!value.empty() && (value.back() == u'"' || value.back() == u'\''))
            value.remove_suffix(1);
    }
    return value;
}

} // namespace md::xmlattr
