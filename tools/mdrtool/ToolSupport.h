#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace md::mdrtool {

/// Arguments split into positional ones and "--name value" options.
struct Arguments
{
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;

    /// False (with a message) when an option misses its value or is not one of known.
    bool Parse(const std::vector<std::string>& args, const std::vector<std::string>& known,
               std::string& error);
    std::optional<std::string> Option(const std::string& name) const;
};

/// The file's bytes, or a one-line message naming it.
std::optional<std::vector<std::uint8_t>> ReadInput(const std::string& path, std::string& error);

/// The code page of stored names: --codepage, else CP936.
std::string CodePageName(const Arguments& arguments);

} // namespace md::mdrtool
