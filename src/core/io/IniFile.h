#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace md {

/// An ini file held in memory: "[section]" headers and "key=value" lines, UTF-8, names compared
/// without regard to ASCII case, comments (';' or '#') and unknown lines kept when saved.
class IniFile
{
public:
    IniFile() = default;
    /// Parses the file; a missing file gives an empty one.
    static IniFile Load(const std::filesystem::path& path);
    static IniFile Parse(std::string_view text);

    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::string ValueOr(std::string_view section, std::string_view key,
                        std::string_view fallback) const;
    /// The value as a whole decimal integer; the fallback when missing or not a number.
    int IntOr(std::string_view section, std::string_view key, int fallback) const;

    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;
    /// Atomic save; false when the file could not be written.
    bool Save(const std::filesystem::path& path) const;

private:
    struct Line
    {
        std::string section; ///< lower-cased section the line belongs to
        std::string key;     ///< lower-cased key; empty for headers, comments and blank lines
        std::string text;    ///< the line as written
        std::string value;
    };
    std::vector<Line> m_lines;
};

} // namespace md
