#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace md {

/// Conversion between wide text and the system's 8-bit code page (names in binary files),
/// done by iconv. Characters the code page cannot hold become '?'.
class CodePage
{
public:
    static constexpr const char* kDefault = "CP936";

    explicit CodePage(std::string name = kDefault);

    const std::string& Name() const { return m_name; }
    /// Whether iconv knows the code page.
    bool IsAvailable() const;
    std::string FromUtf16(std::u16string_view text) const;
    /// The characters of the text that the code page cannot hold (each once, in the order they
    /// first occur; a surrogate pair counts as one); empty when all of it can be stored.
    std::u16string Unstorable(std::u16string_view text) const;
    /// Nothing when the bytes are not valid in the code page.
    std::optional<std::u16string> ToUtf16(std::string_view bytes) const;

private:
    std::string m_name;
};

} // namespace md
