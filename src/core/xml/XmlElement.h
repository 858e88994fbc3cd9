#pragma once

#include <cstdint>

namespace md {

/// One record of the element index of an XmlDocument. Record 0 stands for the document itself:
/// its length is the document length and its first child is the root element. Links hold record
/// numbers; 0 means "none" (record 0 is never anyone's child or sibling).
struct XmlElement
{
    static constexpr std::uint32_t kError = 1u << 23; ///< this element or the document is faulty
    static constexpr std::uint32_t kEmpty = 1u << 19; ///< written as an empty-element tag
    static constexpr std::uint32_t kNoEnd = 1u << 20; ///< has no end tag (not ended, or open)

    std::uint32_t start = 0;     ///< offset of the '<' of the start tag
    std::uint32_t length = 0;    ///< characters from the start tag to the end of the end tag
    std::uint32_t tagLength = 0; ///< characters of the tag name
    std::uint32_t flags = 0;
    std::int32_t parent = 0;
    std::int32_t firstChild = 0;
    std::int32_t nextSibling = 0;
    std::int32_t prevSibling = 0;
    std::uint32_t startTagLength = 0; ///< characters of the start tag, '<' to '>'
    std::uint32_t endTagLength = 0;   ///< characters of the end tag; 0 without one

    std::uint32_t End() const { return start + length; }
};

} // namespace md
