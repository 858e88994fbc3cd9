#include "io/JsonValue.h"

#include <cctype>
#include <cstdlib>

namespace md {

const JsonValue* JsonValue::Find(const std::string& key) const
{
    if (type != Type::Object)
        return nullptr;
    const auto it = members.find(key);
    return it == members.end() ? nullptr : &it->second;
}

namespace {

/// Recursive-descent parser over the text; depth is bounded so hostile input cannot overflow
/// the stack.
class Parser
{
public:
    explicit Parser(const std::string& text) : m_text(text) {}

    bool Document(JsonValue& value, std::string& error)
    {
        if (!Value(value, 0) || (SkipSpace(), m_at != m_text.size())) {
            error = "line " + std::to_string(Line()) + ": " +
                    (m_error.empty() ? std::string("unexpected text after the value") : m_error);
            return false;
        }
        return true;
    }

private:
    int Line() const
    {
        int line = 1;
        for (std::size_t i = 0; i < m_at && i < m_text.size(); ++i)
            line += m_text[i] == '\n';
        return line;
    }

    bool Fail(const char* message)
    {
        if (m_error.empty())
            m_error = message;
        return false;
    }

    void SkipSpace()
    {
        while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at])))
            ++m_at;
    }

    bool Literal(const char* word)
    {
        const std::string w(word);
        if (m_text.compare(m_at, w.size(), w) != 0)
            return Fail("invalid literal");
        m_at += w.size();
        return true;
    }

    bool String(std::string& out)
    {
        ++m_at; // opening quote
        while (m_at < m_text.size() && m_text[m_at] != '"') {
            char c = m_text[m_at++];
            if (c == '\\') {
                if (m_at >= m_text.size())
                    break;
                const char e = m_text[m_at++];
                switch (e) {
                case 'n':
                    c = '\n';
                    break;
                case 't':
                    c = '\t';
                    break;
                case 'r':
                    c = '\r';
                    break;
                case 'b':
                    c = '\b';
                    break;
                case 'f':
                    c = '\f';
                    break;
                case 'u':
                    if (m_at + 4 > m_text.size())
                        return Fail("bad escape");
                    c = static_cast<char>(std::strtol(m_text.substr(m_at, 4).c_str(), nullptr, 16));
                    m_at += 4;
                    break;
                default:
                    c = e;
                    break;
                }
            }
            out += c;
        }
        if (m_at >= m_text.size())
            return Fail("unterminated string");
        ++m_at;
        return true;
    }

    bool Value(JsonValue& value, int depth)
    {
        if (depth > 64)
            return Fail("nested too deeply");
        SkipSpace();
        if (m_at >= m_text.size())
            return Fail("unexpected end of text");
        const char c = m_text[m_at];
        if (c == '{')
            return Object(value, depth);
        if (c == '[')
            return Array(value, depth);
        if (c == '"') {
            value.type = JsonValue::Type::String;
            return String(value.text);
        }
        if (c == 't' || c == 'f') {
            value.type = JsonValue::Type::Bool;
            value.boolean = c == 't';
            return Literal(c == 't' ? "true" : "false");
        }
        if (c == 'n')
            return Literal("null");
        const char* begin = m_text.c_str() + m_at;
        char* end = nullptr;
        value.number = std::strtod(begin, &end);
        if (end == begin)
            return Fail("expected a value");
        value.type = JsonValue::Type::Number;
        m_at += static_cast<std::size_t>(end - begin);
        return true;
    }

    bool Array(JsonValue& value, int depth)
    {
        value.type = JsonValue::Type::Array;
        ++m_at;
        SkipSpace();
        if (m_at < m_text.size() && m_text[m_at] == ']') {
            ++m_at;
            return true;
        }
        while (true) {
            value.items.emplace_back();
            if (!Value(value.items.back(), depth + 1))
                return false;
            SkipSpace();
            if (m_at < m_text.size() && m_text[m_at] == ',') {
                ++m_at;
                continue;
            }
            if (m_at < m_text.size() && m_text[m_at] == ']') {
                ++m_at;
                return true;
            }
            return Fail("expected ',' or ']'");
        }
    }

    bool Object(JsonValue& value, int depth)
    {
        value.type = JsonValue::Type::Object;
        ++m_at;
        SkipSpace();
        if (m_at < m_text.size() && m_text[m_at] == '}') {
            ++m_at;
            return true;
        }
        while (true) {
            SkipSpace();
            std::string key;
            if (m_at >= m_text.size() || m_text[m_at] != '"' || !String(key))
                return Fail("expected a member name");
            SkipSpace();
            if (m_at >= m_text.size() || m_text[m_at] != ':')
                return Fail("expected ':'");
            ++m_at;
            if (!Value(value.members[key], depth + 1))
                return false;
            SkipSpace();
            if (m_at < m_text.size() && m_text[m_at] == ',') {
                ++m_at;
                continue;
            }
            if (m_at < m_text.size() && m_text[m_at] == '}') {
                ++m_at;
                return true;
            }
            return Fail("expected ',' or '}'");
        }
    }

    const std::string& m_text;
    std::size_t m_at = 0;
    std::string m_error;
};

} // namespace

bool ParseJson(const std::string& text, JsonValue& value, std::string& error)
{
    value = JsonValue{};
    return Parser(text).Document(value, error);
}

} // namespace md
