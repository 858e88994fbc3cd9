#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace md {

/// A parsed JSON value: null, boolean, number, string, array or object.
struct JsonValue
{
    enum class Type
    {
        Null,
        Bool,
        Number,
        String,
        Array,
        Object
    };

    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    /// The member of an object, or nullptr when absent (or when this is not an object).
    const JsonValue* Find(const std::string& key) const;
};

/// Parses a whole JSON text. On failure returns false and sets error to a message that names
/// the line.
bool ParseJson(const std::string& text, JsonValue& value, std::string& error);

} // namespace md
