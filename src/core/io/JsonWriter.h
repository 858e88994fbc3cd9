#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace md {

/// Builds compact JSON text. Commas between members and elements are placed automatically; the
/// caller opens and closes objects and arrays in order and gives keys inside objects.
class JsonWriter
{
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    /// The key of the next member of the current object.
    JsonWriter& Key(std::string_view key);
    /// A UTF-8 string, escaped as JSON requires.
    JsonWriter& String(std::string_view text);
    JsonWriter& Int(std::int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    /// A member of the current object: its key and value.
    JsonWriter& Field(std::string_view key, std::int64_t value) { return Key(key).Int(value); }
    JsonWriter& Field(std::string_view key, std::string_view value)
    {
        return Key(key).String(value);
    }

    const std::string& Text() const { return m_text; }

private:
    void Separate();

    std::string m_text;
    std::vector<bool> m_hasItem; ///< per open container: whether it already holds an item
    bool m_afterKey = false;
};

} // namespace md
