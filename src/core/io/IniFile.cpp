#include "core/io/IniFile.h"

#include "core/io/FileIo.h"
#include "core/io/NumberText.h"

#include <algorithm>

namespace md {

namespace {

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

IniFile IniFile::Load(const std::filesystem::path& path)
{
    const auto bytes = fileio::ReadAll(path);
    if (!bytes)
        return {};
    return Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

IniFile IniFile::Parse(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    IniFile ini;
    std::string section;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        Line line{section, {}, std::string(raw), {}};
        const std::string_view trimmed = Trim(raw);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            section = Lower(Trim(trimmed.substr(1, trimmed.size() - 2)));
            line.section = section;
        } else if (!trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#') {
            const auto eq = trimmed.find('=');
            if (eq != std::string_view::npos) {
                line.key = Lower(Trim(trimmed.substr(0, eq)));
                line.value = std::string(Trim(trimmed.substr(eq + 1)));
            }
        }
        ini.m_lines.push_back(std::move(line));
    }
    return ini;
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const
{
    const std::string s = Lower(section);
    const std::string k = Lower(key);
    for (const Line& line : m_lines)
        if (!line.key.empty() && line.section == s && line.key == k)
            return line.value;
    return std::nullopt;
}

std::string IniFile::ValueOr(std::string_view section, std::string_view key,
                             std::string_view fallback) const
{
    auto value = Value(section, key);
    return value ? *value : std::string(fallback);
}

int IniFile::IntOr(std::string_view section, std::string_view key, int fallback) const
{
    const auto value = Value(section, key);
    if (!value)
        return fallback;
    return numbertext::Parse<int>(*value).value_or(fallback);
}

void IniFile::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string s = Lower(section);
    const std::string k = Lower(key);
    std::string text = std::string(key) + "=" + std::string(value);
    std::size_t insertAt = m_lines.size();
    bool sectionFound = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        if (line.section != s)
            continue;
        sectionFound = true;
        if (line.key == k) {
            line.text = std::move(text);
            line.value = std::string(value);
            return;
        }
        if (!Trim(line.text).empty())
            insertAt = i + 1;
    }
    if (!sectionFound) {
        m_lines.push_back({s, {}, "[" + std::string(section) + "]", {}});
        insertAt = m_lines.size();
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                   Line{s, k, std::move(text), std::string(value)});
}

std::string IniFile::Text() const
{
    std::string out;
    for (const Line& line : m_lines) {
        out += line.text;
        out += '\n';
    }
    return out;
}

bool IniFile::Save(const std::filesystem::path& path) const
{
    const std::string text = Text();
    std::error_code ec;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), ec);
    return fileio::WriteAtomic(path,
                               {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

} // namespace md
