#include "io/JsonWriter.h"

#include <cstdio>

namespace md {

void JsonWriter::Separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasItem.empty()) {
        if (m_hasItem.back())
            m_text.push_back(',');
        m_hasItem.back() = true;
    }
}

JsonWriter& JsonWriter::BeginObject()
{
    Separate();
    m_text.push_back('{');
    m_hasItem.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject()
{
    m_text.push_back('}');
    m_hasItem.pop_back();
    return *this;
}

JsonWriter& JsonWriter::BeginArray()
{
    Separate();
    m_text.push_back('[');
    m_hasItem.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndArray()
{
    m_text.push_back(']');
    m_hasItem.pop_back();
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key)
{
    String(key);
    m_text.push_back(':');
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text)
{
    Separate();
    m_text.push_back('"');
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            m_text += "\\\"";
            break;
        case '\\':
            m_text += "\\\\";
            break;
        case '\n':
            m_text += "\\n";
            break;
        case '\r':
            m_text += "\\r";
            break;
        case '\t':
            m_text += "\\t";
            break;
        default:
            if (u < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
                m_text += buffer;
            } else {
                m_text.push_back(c);
            }
        }
    }
    m_text.push_back('"');
    return *this;
}

JsonWriter& JsonWriter::Int(std::int64_t value)
{
    Separate();
    m_text += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value)
{
    Separate();
    m_text += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null()
{
    Separate();
    m_text += "null";
    return *this;
}

} // namespace md
