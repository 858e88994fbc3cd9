#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace md::mdrtool {

/// An option a command takes: "--name VALUE", or "--name" alone for a flag.
struct OptionSpec
{
    const char* name;
    bool takesValue = true;
};

/// Arguments split into positional ones, "--name value" options and flags.
struct Arguments
{
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
    /// --help or -h stood where an option may stand (not as another option's value).
    bool help = false;

    /// False (with a message) when an option misses its value or is not one of known; the
    /// arguments are read to the end either way, so that help is found after a bad option too.
    bool Parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& known,
               std::string& error);
    std::optional<std::string> Option(const std::string& name) const;
    bool Flag(const std::string& name) const { return Option(name).has_value(); }
};

/// The file's bytes, or "PATH: cannot be read".
std::optional<std::vector<std::uint8_t>> ReadInput(const std::string& path, std::string& error);

/// What a file is, by the mark at its start (never by its name).
enum class FileKind
{
    None,
    Driver,
    Combined,
    Socket,
    Hub
};
FileKind KindOf(std::span<const std::uint8_t> bytes);

/// Why a file of the given kind is not one of the wanted kinds, as "PATH: ..."; the same words
/// for every command ("not a driver, combined or HUB file" for a file without a known mark).
std::string WrongKind(const std::string& path, FileKind kind,
                      std::initializer_list<FileKind> wanted);

/// The code page of stored names: --codepage, else CP936.
std::string CodePageName(const Arguments& arguments);

} // namespace md::mdrtool
