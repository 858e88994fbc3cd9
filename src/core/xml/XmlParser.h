#pragma once

#include "core/xml/XmlElement.h"

#include <string>
#include <string_view>
#include <vector>

namespace md {

/// One pass over an XML text that builds the element index of an XmlDocument and collects the
/// lexical and structure messages. Nothing but element records is kept: texts, attributes and
/// other nodes are read from the document text when asked for.
class XmlParser
{
public:
    XmlParser(std::u16string_view text, std::vector<XmlElement>& index);

    /// Parses the whole text; returns the messages joined with ", " (empty when there are none).
    std::u16string Run();
    /// The text offset of the first message; npos when there is none.
    std::size_t FirstFault() const { return m_firstFault; }

private:
    struct Open
    {
        std::int32_t record;
        std::int32_t lastChild;
    };

    void ParseMarkup();
    void ParseStartTag();
    void ParseEndTag();
    void ParseBang();
    /// Skips to the end of the delimiter; false (and the rest of the text consumed) without one.
    bool SkipPast(std::u16string_view delimiter);
    std::int32_t AddRecord(std::uint32_t start);
    void CloseUnended(std::uint32_t end);
    void Fail(std::int32_t record);
    void Incorrect(const char* subject, std::size_t offset);
    void Unterminated(const char* subject, std::size_t offset);
    void Message(std::u16string message, std::size_t offset);
    std::u16string_view TagName(std::int32_t record) const;

    std::u16string_view m_text;
    std::vector<XmlElement>& m_index;
    std::vector<Open> m_open;
    std::size_t m_at = 0;
    std::u16string m_messages;
    std::size_t m_firstFault = std::u16string_view::npos;
};

} // namespace md
