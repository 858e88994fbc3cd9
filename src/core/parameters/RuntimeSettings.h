#pragma once

#include "core/posix/CodePage.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace md {

class HostServices;

/// major.minor.build of the installation, written into the headers of the files we save.
struct ProgramVersion
{
    std::int32_t major = 0;
    std::uint8_t minor = 0;
    std::uint8_t build = 0;

    /// "major.minor.build" as decimal numbers; 0.0.0 unless the text holds two dots.
    static ProgramVersion Parse(std::u16string_view text);
    bool operator==(const ProgramVersion&) const = default;
};

/// The installation's runtime settings in runinfo.ini: the active language, the program version
/// and the 8-bit code page of names in binary files.
class RuntimeSettings
{
public:
    /// Reads one value (section, key); nothing when it is missing.
    using Reader =
        std::function<std::optional<std::u16string>(const char* section, const char* key)>;

    static constexpr std::size_t kValueCapacity = 260;
    static constexpr const char16_t* kDefaultLanguage = u"lang_zh-cn";

    explicit RuntimeSettings(Reader reader);
    /// Values straight from the ini file.
    static RuntimeSettings FromFile(const std::filesystem::path& runInfo);
    /// Values through the host's configuration service, and from the file for a key the
    /// service does not answer (or without a host). The host must outlive the settings.
    static RuntimeSettings FromHost(const HostServices& host, const std::filesystem::path& runInfo);

    /// [language] active, default "lang_zh-cn" (also for an empty value).
    std::u16string ActiveLanguage() const;
    /// The attribute of the chip library that holds chip names: "lang" + the active language.
    std::u16string LanguageAttribute() const { return u"lang" + ActiveLanguage(); }
    /// [version] version.
    ProgramVersion Version() const;
    /// [system] codepage, default CP936.
    CodePage NamesCodePage() const;

    /// [pointgo] port: the serial device of the point-go test device; empty when not set.
    std::string PointGoPort() const;
    /// [pointgo] baud, default 115200 (also for 0 or a number above 4,000,000).
    int PointGoBaud() const;

    /// The version of this process, read once from the settings first passed and kept.
    static ProgramVersion CachedVersion(const RuntimeSettings& settings);

private:
    std::optional<std::u16string> Value(const char* section, const char* key) const;

    Reader m_reader;
};

} // namespace md
