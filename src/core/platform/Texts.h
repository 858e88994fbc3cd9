#pragma once

#include <string>
#include <string_view>

namespace md {

/// Localized texts by key; an empty text when the key or the text service is missing.
class Texts
{
public:
    virtual ~Texts() = default;
    virtual std::u16string Text(std::string_view key) const = 0;

    /// The text of a key, or the fallback when it has none.
    std::u16string TextOr(std::string_view key, std::u16string_view fallback) const
    {
        std::u16string text = Text(key);
        return text.empty() ? std::u16string(fallback) : text;
    }
    /// The text of a key, or the key itself when it has none (so a message still says what).
    std::u16string TextOrKey(std::string_view key) const
    {
        std::u16string text = Text(key);
        return text.empty() ? std::u16string(key.begin(), key.end()) : text;
    }
};

} // namespace md
