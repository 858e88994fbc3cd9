#include "core/xml/XmlDocument.h"

#include "core/io/FileIo.h"
#include "core/io/Utf.h"
#include "core/xml/XmlAttributes.h"
#include "core/xml/XmlEscape.h"
#include "core/xml/XmlParser.h"
#include "core/xml/XmlUtf8.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace md {

namespace {

constexpr int kElementNode = 1;

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

std::u16string Number(std::size_t value)
{
    return utf::FromAscii(std::to_string(value));
}

/// The system's text for an error number, cut at the first line break.
std::u16string SystemError(int error)
{
    std::string text = std::strerror(error != 0 ? error : EIO);
    text = text.substr(0, text.find_first_of("\r\n"));
    return utf::ToUtf16(text);
}

} // namespace

XmlDocument::XmlDocument()
{
    Parse();
}

XmlDocument::XmlDocument(std::u16string_view text) : m_document(text)
{
    Parse();
}

bool XmlDocument::SetDocumentText(const char16_t* text)
{
    m_document = text ? text : u"";
    m_result.clear();
    return Parse();
}

bool XmlDocument::LoadFile(const std::filesystem::path& path)
{
    // A regular file is decoded straight from its mapping; anything else is read in blocks.
    std::vector<std::uint8_t> read;
    std::span<const std::uint8_t> bytes;
    const fileio::MappedFile mapped(path);
    if (mapped.IsMapped()) {
        bytes = mapped.Bytes();
    } else {
        errno = 0;
        auto all = fileio::ReadAll(path);
        if (!all) {
            m_result = SystemError(errno != 0 ? errno : EIO);
            return false;
        }
        read = std::move(*all);
        bytes = read;
    }
    m_document = xmlutf8::Decode(bytes);
    m_result = Number(bytes.size()) + u" bytes to " + Number(m_document.size()) + u" wide chars";
    return Parse();
}

bool XmlDocument::SaveFile(const std::filesystem::path& path)
{
    const std::string bytes = xmlutf8::Encode(m_document);
    errno = 0;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (!fileio::WriteAtomic(path, {data, bytes.size()})) {
        m_result = SystemError(errno);
        return false;
    }
    m_result = Number(m_document.size()) + u" wide chars to " + Number(bytes.size()) + u" bytes";
    return true;
}

bool XmlDocument::Parse()
{
    std::u16string previous = std::move(m_result);
    m_result.clear();
    m_firstFault = std::u16string::npos;
    ResetCursor();
    if (m_document.empty()) {
        m_index.assign(1, XmlElement{});
        m_result = u"Empty document";
    } else {
        XmlParser parser(m_document, m_index);
        m_result = parser.Run();
        m_firstFault = parser.FirstFault();
        std::u16string structure;
        const std::int32_t root = m_index[0].firstChild;
        if (root == 0)
            structure = u"No root element";
        else if (Record(root).nextSibling != 0)
            structure = u"Root element has sibling";
        if (!structure.empty())
            m_result += (m_result.empty() ? u"" : u", ") + structure;
    }
    ResetCursor();
    if (!previous.empty())
        m_result = m_result.empty() ? previous : previous + u", " + m_result;
    return IsWellFormed();
}

std::size_t XmlDocument::FaultLine() const
{
    if (m_firstFault == std::u16string::npos)
        return 0;
    const std::size_t end = std::min(m_firstFault, m_document.size());
    return 1 +
           static_cast<std::size_t>(std::count(
               m_document.begin(), m_document.begin() + static_cast<std::ptrdiff_t>(end), u'\n'));
}

void XmlDocument::ResetCursor()
{
    m_parent = 0;
    m_current = 0;
    m_nodeType = 0;
}

bool XmlDocument::IsWellFormed() const
{
    if (m_index.empty() || (m_index[0].flags & XmlElement::kError) != 0)
        return false;
    const std::int32_t root = m_index[0].firstChild;
    return root != 0 && Record(root).nextSibling == 0;
}

bool XmlDocument::FindElement(std::u16string_view name)
{
    std::int32_t record = m_current ? Record(m_current).nextSibling : Record(m_parent).firstChild;
    for (; record != 0; record = Record(record).nextSibling) {
        const XmlElement& element = Record(record);
        if (name.empty() ||
            std::u16string_view(m_document).substr(element.start + 1, element.tagLength) == name) {
            m_current = record;
            m_nodeType = kElementNode;
            return true;
        }
    }
    return false;
}

bool XmlDocument::EnterElement()
{
    if (m_current == 0 || m_nodeType != kElementNode)
        return false;
    // The search inside starts at the first child.
    m_parent = m_current;
    m_current = 0;
    m_nodeType = 0;
    return true;
}

bool XmlDocument::LeaveElement()
{
    if (m_parent == 0)
        return false;
    m_current = m_parent;
    m_parent = Record(m_parent).parent;
    m_nodeType = kElementNode;
    return true;
}

std::u16string_view XmlDocument::StartTag(const XmlElement& element) const
{
    return std::u16string_view(m_document).substr(element.start, element.startTagLength);
}

std::u16string XmlDocument::GetTagName() const
{
    if (m_current == 0)
        return {};
    const XmlElement& element = Record(m_current);
    return m_document.substr(element.start + 1, element.tagLength);
}

std::u16string XmlDocument::GetElementText() const
{
    if (m_current == 0 || m_nodeType != kElementNode)
        return {};
    const XmlElement& element = Record(m_current);
    if ((element.flags & XmlElement::kEmpty) != 0 || element.firstChild != 0 ||
        element.length < element.startTagLength + element.endTagLength)
        return {};
    const std::u16string_view content =
        std::u16string_view(m_document)
            .substr(element.start + element.startTagLength,
                    element.length - element.startTagLength - element.endTagLength);
    // Text runs are unescaped one by one; CDATA sections count as they stand; comments and
    // processing instructions are no text.
    std::u16string text;
    std::size_t at = 0;
    while (at < content.size()) {
        const std::size_t tag = content.find(u'<', at);
        text += xmlescape::Unescape(content.substr(at, tag - at));
        if (tag == std::u16string_view::npos)
            break;
        const std::u16string_view rest = content.substr(tag);
        std::u16string_view close;
        std::size_t open = 0;
        if (rest.starts_with(u"<![CDATA["))
            close = u"]]>", open = 9;
        else if (rest.starts_with(u"<!--"))
            close = u"-->", open = 4;
        else if (rest.starts_with(u"<?"))
            close = u"?>", open = 2;
        else if (rest.starts_with(u"<!"))
            close = u">", open = 2;
        if (close.empty()) {
            text.push_back(u'<');
            at = tag + 1;
            continue;
        }
        const std::size_t end = content.find(close, tag + open);
        const std::size_t stop = end == std::u16string_view::npos ? content.size() : end;
        if (open == 9)
            text += content.substr(tag + open, stop - tag - open);
        at = end == std::u16string_view::npos ? content.size() : end + close.size();
    }
    return text;
}

std::u16string XmlDocument::GetAttribute(std::u16string_view name) const
{
    if (m_current == 0 || m_nodeType != kElementNode || name.empty())
        return {};
    const XmlElement& element = Record(m_current);
    const std::u16string_view tag = StartTag(element);
    const xmlattr::Spot spot = xmlattr::Find(tag, element.tagLength + 1, name);
    if (!spot.found)
        return {};
    return xmlescape::Unescape(
        xmlattr::Unquoted(tag.substr(spot.valueBegin, spot.valueEnd - spot.valueBegin)));
}

std::int32_t XmlDocument::LastChild(std::int32_t parent) const
{
    std::int32_t child = Record(parent).firstChild;
    while (child != 0 && Record(child).nextSibling != 0)
        child = Record(child).nextSibling;
    return child;
}

void XmlDocument::Patch(std::size_t at, std::size_t removed, std::u16string_view inserted,
                        std::int32_t owner)
{
    m_document.replace(at, removed, inserted);
    const auto delta =
        static_cast<std::int64_t>(inserted.size()) - static_cast<std::int64_t>(removed);
    for (std::size_t record = 1; record < m_index.size(); ++record) {
        XmlElement& element = m_index[record];
        if (element.start >= at && static_cast<std::int32_t>(record) != owner)
            element.start = static_cast<std::uint32_t>(element.start + delta);
    }
    for (std::int32_t record = owner;; record = Record(record).parent) {
        Record(record).length = static_cast<std::uint32_t>(Record(record).length + delta);
        if (record == 0)
            break;
    }
}

void XmlDocument::OpenEmptyElement(std::int32_t record)
{
    XmlElement& element = Record(record);
    const std::u16string name = m_document.substr(element.start + 1, element.tagLength);
    const std::size_t slash = element.start + element.startTagLength - 2;
    Patch(slash, 2, u"></" + name + u">", record);
    XmlElement& opened = Record(record);
    opened.startTagLength -= 1;
    opened.endTagLength = static_cast<std::uint32_t>(name.size() + 3);
    opened.flags &= ~XmlElement::kEmpty;
}

bool XmlDocument::AddElement(std::u16string_view name, std::u16string_view text,
                             std::uint32_t flags)
{
    if (name.empty() || IsSpace(name[0]) ||
        name.find_first_of(u" \t\r\n<>/=\"'&") != std::u16string_view::npos)
        return false;
    // The document takes one root element only.
    if (m_parent == 0 && m_index[0].firstChild != 0)
        return false;
    if (m_parent != 0 && (Record(m_parent).flags & XmlElement::kEmpty) != 0 && m_current == 0 &&
        Record(m_parent).firstChild == 0)
        OpenEmptyElement(m_parent);

    XmlElement element;
    element.tagLength = static_cast<std::uint32_t>(name.size());
    element.parent = m_parent;
    std::u16string markup = u"<" + std::u16string(name);
    if (text.empty()) {
        if ((flags & kNoEndTag) != 0) {
            markup += u">";
            element.flags |= XmlElement::kNoEnd;
        } else {
            markup += (flags & kSpacedEmpty) != 0 ? u" />" : u"/>";
            element.flags |= XmlElement::kEmpty;
        }
        element.startTagLength = static_cast<std::uint32_t>(markup.size());
    } else {
        markup += u">";
        element.startTagLength = static_cast<std::uint32_t>(markup.size());
        markup += (flags & kCData) != 0 ? xmlescape::CDataSection(text)
                                        : xmlescape::Escape(text, false, m_flags);
        const std::u16string endTag = u"</" + std::u16string(name) + u">";
        element.endTagLength = static_cast<std::uint32_t>(endTag.size());
        markup += endTag;
    }
    element.length = static_cast<std::uint32_t>(markup.size());

    const std::int32_t previous = m_current ? m_current : LastChild(m_parent);
    std::size_t at = 0;
    std::u16string inserted;
    if (previous != 0) {
        at = Record(previous).End();
        inserted = u"\n" + markup;
        element.start = static_cast<std::uint32_t>(at + 1);
    } else if (m_parent == 0) {
        at = m_document.size();
        inserted = (m_document.empty() ? u"" : u"\n") + markup;
        element.start = static_cast<std::uint32_t>(at + inserted.size() - markup.size());
    } else {
        const XmlElement& parent = Record(m_parent);
        at = parent.start + parent.startTagLength;
        inserted = u"\n" + markup + u"\n";
        element.start = static_cast<std::uint32_t>(at + 1);
    }
    Patch(at, 0, inserted, m_parent);

    const auto record = static_cast<std::int32_t>(m_index.size());
    element.prevSibling = previous;
    element.nextSibling = previous ? Record(previous).nextSibling : 0;
    m_index.push_back(element);
    if (previous != 0)
        Record(previous).nextSibling = record;
    else
        Record(m_parent).firstChild = record;
    if (element.nextSibling != 0)
        Record(element.nextSibling).prevSibling = record;
    m_current = record;
    m_nodeType = kElementNode;
    return true;
}

bool XmlDocument::SetAttribute(std::u16string_view name, std::int32_t value)
{
    return SetAttribute(name, utf::FromAscii(std::to_string(value)));
}

bool XmlDocument::SetAttribute(std::u16string_view name, std::u16string_view value)
{
    if (m_current == 0 || m_nodeType != kElementNode || name.empty() ||
        name.find_first_of(u" \t\r\n<>/=\"'&") != std::u16string_view::npos)
        return false;
    const XmlElement& element = Record(m_current);
    if (element.startTagLength < element.tagLength + 2)
        return false; // an unterminated start tag cannot take attributes
    const xmlattr::Spot spot = xmlattr::Find(StartTag(element), element.tagLength + 1, name);
    const std::u16string quoted = u"\"" + xmlescape::Escape(value, true, m_flags) + u"\"";
    const std::size_t start = element.start;
    const std::size_t before = m_document.size();
    if (spot.found && spot.valueEnd > spot.valueBegin)
        Patch(start + spot.valueBegin, spot.valueEnd - spot.valueBegin, quoted, m_current);
    else if (spot.found)
        Patch(start + spot.valueBegin, 0, u"=" + quoted, m_current);
    else
        Patch(start + spot.lastEnd, 0, u" " + std::u16string(name) + u"=" + quoted, m_current);
    XmlElement& patched = Record(m_current);
    patched.startTagLength = static_cast<std::uint32_t>(
        static_cast<std::int64_t>(patched.startTagLength) +
        static_cast<std::int64_t>(m_document.size()) - static_cast<std::int64_t>(before));
    return true;
}

} // namespace md
