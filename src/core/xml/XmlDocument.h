#pragma once

#include "core/xml/XmlElement.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace md {

/// A small XML reader and writer: the whole document as one UTF-16 string plus an index of its
/// elements, and a cursor over that index. Navigation never re-scans the text; edits patch the
/// text and shift the index. Files are UTF-8. Failures are reported through the boolean results
/// and GetResult(), never thrown.
class XmlDocument
{
public:
    /// AddElement flags.
    static constexpr std::uint32_t kSpacedEmpty = 0x1; ///< "<name />" instead of "<name/>"
    static constexpr std::uint32_t kNoEndTag = 0x2;    ///< only "<name>", for content added later
    static constexpr std::uint32_t kCData = 0x4;       ///< the text goes into a CDATA section

    XmlDocument();
    explicit XmlDocument(std::u16string_view text);

    /// Replaces the document (null = empty) and parses it; true when it is well-formed.
    bool SetDocumentText(const char16_t* text);
    bool LoadFile(const std::filesystem::path& path);
    /// Writes the document as UTF-8 without byte-order mark, atomically.
    bool SaveFile(const std::filesystem::path& path);

    /// Moves to the next sibling element (or the first child of the parent position when there
    /// is no current element) whose tag equals the name; an empty name takes the next one.
    bool FindElement(std::u16string_view name = {});
    bool EnterElement();
    bool LeaveElement();

    std::u16string GetElementText() const;
    std::u16string GetAttribute(std::u16string_view name) const;
    std::u16string GetTagName() const;

    /// Inserts an element after the current one (or as the last child of the parent position)
    /// and makes it current.
    bool AddElement(std::u16string_view name, std::u16string_view text = {},
                    std::uint32_t flags = 0);
    bool SetAttribute(std::u16string_view name, std::int32_t value);
    bool SetAttribute(std::u16string_view name, std::u16string_view value);

    std::u16string GetResult() const { return m_result; }
    /// The line (from 1) of the first parse fault; 0 when the text parsed without one.
    std::size_t FaultLine() const;
    const std::u16string& GetDocumentText() const { return m_document; }
    /// Option bits for the escaping of written text (xmlescape::kKeepReferences).
    void SetDocumentFlags(std::uint32_t flags) { m_flags = flags; }
    std::uint32_t GetDocumentFlags() const { return m_flags; }
    /// The element index; record 0 is the document.
    const std::vector<XmlElement>& Index() const { return m_index; }

private:
    bool Parse();
    void ResetCursor();
    bool IsWellFormed() const;
    const XmlElement& Record(std::int32_t record) const
    {
        return m_index[static_cast<std::size_t>(record)];
    }
    XmlElement& Record(std::int32_t record) { return m_index[static_cast<std::size_t>(record)]; }
    std::u16string_view StartTag(const XmlElement& element) const;
    std::int32_t LastChild(std::int32_t parent) const;
    /// Replaces characters of the text; the owner (and its ancestors) grow by the difference,
    /// records starting at or after the edit point move.
    void Patch(std::size_t at, std::size_t removed, std::u16string_view inserted,
               std::int32_t owner);
    /// Turns an empty-element tag into a start tag and end tag, so that it can take children.
    void OpenEmptyElement(std::int32_t record);

    std::u16string m_document;
    std::u16string m_result;
    std::size_t m_firstFault = std::u16string::npos;
    std::vector<XmlElement> m_index;
    std::int32_t m_parent = 0;
    std::int32_t m_current = 0;
    int m_nodeType = 0;
    std::uint32_t m_flags = 0;
};

} // namespace md
