#include "core/xml/XmlParser.h"

#include <cstring>

#include "core/io/Utf.h"

namespace md {

namespace {

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool StartsElementName(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' || c >= u'a';
}

std::u16string Number(std::size_t value)
{
    return utf::FromAscii(std::to_string(value));
}

} // namespace

XmlParser::XmlParser(std::u16string_view text, std::vector<XmlElement>& index)
    : m_text(text), m_index(index)
{}

namespace {

/// The next '<' from from (or end), four characters at a time: a lane of the word is '<'
/// exactly when it becomes zero once '<' is taken out of every lane.
const char16_t* FindTagOpen(const char16_t* from, const char16_t* end)
{
    constexpr std::uint64_t kLanes = 0x0001000100010001ull;
    constexpr std::uint64_t kOpen = 0x003C003C003C003Cull;
    constexpr std::uint64_t kHigh = 0x8000800080008000ull;
    while (end - from >= 4) {
        std::uint64_t word;
        std::memcpy(&word, from, sizeof word);
        const std::uint64_t x = word ^ kOpen;
        if (((x - kLanes) & ~x & kHigh) != 0)
            break;
        from += 4;
    }
    while (from != end && *from != u'<')
        ++from;
    return from;
}

} // namespace

std::u16string XmlParser::Run()
{
    m_index.clear();
    // Room for an element every 16 characters, denser than real documents: regrowing (and
    // copying) the index costs more than room that is reserved and never touched.
    m_index.reserve(m_text.size() / 16 + 8);
    XmlElement document;
    document.length = static_cast<std::uint32_t>(m_text.size());
    m_index.push_back(document);
    m_open.push_back({0, 0});
    m_at = 0;
    const std::size_t size = m_text.size();
    while (m_at < size) {
        if (m_text[m_at] == u'<') {
            ParseMarkup();
            continue;
        }
        // Text runs up to the next tag; it is read from the document when asked for.
        m_at = static_cast<std::size_t>(FindTagOpen(m_text.data() + m_at, m_text.data() + size) -
                                        m_text.data());
    }
    CloseUnended(static_cast<std::uint32_t>(size));
    return std::move(m_messages);
}

void XmlParser::ParseMarkup()
{
    const std::size_t tag = m_at;
    if (tag + 1 >= m_text.size()) {
        Unterminated("tag", tag);
        Fail(0);
        m_at = m_text.size();
        return;
    }
    const char16_t next = m_text[tag + 1];
    if (StartsElementName(next)) {
        ParseStartTag();
    } else if (next == u'/') {
        ParseEndTag();
    } else if (next == u'!') {
        ParseBang();
    } else if (next == u'?') {
        m_at = tag + 2;
        if (!SkipPast(u"?>"))
            Unterminated("Processing instruction", tag);
    } else {
        Incorrect("tag name character", tag);
        Fail(m_open.back().record);
        m_at = tag + 1; // read on as text
    }
}

void XmlParser::ParseStartTag()
{
    const std::size_t start = m_at;
    const std::size_t size = m_text.size();
    std::size_t at = start + 1;
    while (at < size && !IsSpace(m_text[at]) && m_text[at] != u'/' && m_text[at] != u'>')
        ++at;
    const std::int32_t record = AddRecord(static_cast<std::uint32_t>(start));
    m_index[static_cast<std::size_t>(record)].tagLength =
        static_cast<std::uint32_t>(at - start - 1);
    // Attributes: a '>' inside a quoted value does not end the tag.
    char16_t quote = 0;
    for (; at < size; ++at) {
        const char16_t c = m_text[at];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'>') {
            break;
        }
    }
    XmlElement& element = m_index[static_cast<std::size_t>(record)];
    if (at >= size) {
        Unterminated("Element tag", start);
        element.length = static_cast<std::uint32_t>(size - start);
        element.startTagLength = element.length;
        element.flags |= XmlElement::kNoEnd;
        Fail(record);
        m_at = size;
        return;
    }
    element.startTagLength = static_cast<std::uint32_t>(at + 1 - start);
    m_at = at + 1;
    if (m_text[at - 1] == u'/' && at - 1 > start + element.tagLength) {
        element.length = element.startTagLength;
        element.flags |= XmlElement::kEmpty;
        return;
    }
    m_open.push_back({record, 0});
}

void XmlParser::ParseEndTag()
{
    const std::size_t start = m_at;
    const std::size_t size = m_text.size();
    std::size_t at = start + 2;
    while (at < size && !IsSpace(m_text[at]) && m_text[at] != u'>')
        ++at;
    const std::u16string_view name = m_text.substr(start + 2, at - start - 2);
    while (at < size && m_text[at] != u'>')
        ++at;
    if (at >= size) {
        Unterminated("Element end tag", start);
        Fail(m_open.back().record);
        m_at = size;
        return;
    }
    m_at = at + 1;
    if (name.empty()) {
        Incorrect("tag", start);
        Fail(m_open.back().record);
        return;
    }
    const auto end = static_cast<std::uint32_t>(m_at);
    if (m_open.size() == 1) {
        Message(u"No start tag for end tag '" + std::u16string(name) + u"' at offset " +
                    Number(start),
                start);
        Fail(0);
        return;
    }
    std::size_t match = m_open.size() - 1;
    if (TagName(m_open[match].record) != name) {
        const std::int32_t top = m_open.back().record;
        Message(u"End tag '" + std::u16string(name) + u"' at offset " + Number(start) +
                    u" does not match start tag '" + std::u16string(TagName(top)) +
                    u"' at offset " + Number(m_index[static_cast<std::size_t>(top)].start),
                start);
        Fail(top);
        // When an outer element carries the name, the ones inside it end here unclosed;
        // otherwise the end tag is dropped.
        while (match > 1 && TagName(m_open[match].record) != name)
            --match;
        if (TagName(m_open[match].record) != name)
            return;
        while (m_open.size() - 1 > match) {
            XmlElement& inner = m_index[static_cast<std::size_t>(m_open.back().record)];
            inner.length = static_cast<std::uint32_t>(start) - inner.start;
            inner.flags |= XmlElement::kNoEnd | XmlElement::kError;
            m_open.pop_back();
        }
    }
    XmlElement& element = m_index[static_cast<std::size_t>(m_open.back().record)];
    element.length = end - element.start;
    element.endTagLength = static_cast<std::uint32_t>(end - start);
    m_open.pop_back();
}

void XmlParser::ParseBang()
{
    const std::size_t start = m_at;
    const std::u16string_view rest = m_text.substr(start);
    if (rest.starts_with(u"<!--")) {
        m_at = start + 4;
        if (!SkipPast(u"-->"))
            Unterminated("Comment", start);
    } else if (rest.starts_with(u"<!-")) {
        Incorrect("comment tag", start);
        Fail(m_open.back().record);
        m_at = start + 1;
    } else if (rest.starts_with(u"<![CDATA[")) {
        m_at = start + 9;
        if (!SkipPast(u"]]>"))
            Unterminated("CDATA Section", start);
    } else if (rest.size() > 2 && StartsElementName(rest[2])) {
        // A DOCTYPE, whose internal subset in brackets may hold further '>'.
        int depth = 0;
        std::size_t at = start + 2;
        for (; at < m_text.size(); ++at) {
            if (m_text[at] == u'[')
                ++depth;
            else if (m_text[at] == u']' && depth > 0)
                --depth;
            else if (m_text[at] == u'>' && depth == 0)
                break;
        }
        if (at >= m_text.size()) {
            Unterminated("Doctype", start);
            Fail(0);
            m_at = m_text.size();
        } else {
            m_at = at + 1;
        }
    } else {
        Incorrect("! tag", start);
        Fail(m_open.back().record);
        m_at = start + 1;
    }
}

bool XmlParser::SkipPast(std::u16string_view delimiter)
{
    const std::size_t found = m_text.find(delimiter, m_at);
    if (found == std::u16string_view::npos) {
        Fail(m_open.back().record);
        m_at = m_text.size();
        return false;
    }
    m_at = found + delimiter.size();
    return true;
}

std::int32_t XmlParser::AddRecord(std::uint32_t start)
{
    const auto record = static_cast<std::int32_t>(m_index.size());
    Open& parent = m_open.back();
    XmlElement element;
    element.start = start;
    element.parent = parent.record;
    element.prevSibling = parent.lastChild;
    m_index.push_back(element);
    if (parent.lastChild != 0)
        m_index[static_cast<std::size_t>(parent.lastChild)].nextSibling = record;
    else
        m_index[static_cast<std::size_t>(parent.record)].firstChild = record;
    parent.lastChild = record;
    return record;
}

void XmlParser::CloseUnended(std::uint32_t end)
{
    while (m_open.size() > 1) {
        const std::int32_t record = m_open.back().record;
        XmlElement& element = m_index[static_cast<std::size_t>(record)];
        element.length = end - element.start;
        element.flags |= XmlElement::kNoEnd;
        // The text ends where the element should have: that is where the fault shows.
        Message(u"Element '" + std::u16string(TagName(record)) + u"' at offset " +
                    Number(element.start) + u" not ended",
                end);
        Fail(record);
        m_open.pop_back();
    }
}

void XmlParser::Fail(std::int32_t record)
{
    m_index[static_cast<std::size_t>(record)].flags |= XmlElement::kError;
    m_index[0].flags |= XmlElement::kError;
}

void XmlParser::Incorrect(const char* subject, std::size_t offset)
{
    Message(u"Incorrect " + utf::FromAscii(subject) + u" at offset " + Number(offset), offset);
}

void XmlParser::Unterminated(const char* subject, std::size_t offset)
{
    Message(utf::FromAscii(subject) + u" at offset " + Number(offset) + u" unterminated", offset);
}

void XmlParser::Message(std::u16string message, std::size_t offset)
{
    if (m_messages.empty())
        m_firstFault = offset;
    if (!m_messages.empty())
        m_messages += u", ";
    m_messages += message;
}

std::u16string_view XmlParser::TagName(std::int32_t record) const
{
    const XmlElement& element = m_index[static_cast<std::size_t>(record)];
    return m_text.substr(element.start + 1, element.tagLength);
}

} // namespace md
