#include "ToolSupport.h"

#include "core/driverfile/FileInspector.h"
#include "core/io/FileIo.h"
#include "core/posix/CodePage.h"

#include <algorithm>

namespace md::mdrtool {

namespace {

const char* Name(FileKind kind)
{
    switch (kind) {
    case FileKind::Driver:
        return "driver";
    case FileKind::Combined:
        return "combined";
    case FileKind::Socket:
        return "socket";
    case FileKind::Hub:
        return "HUB";
    case FileKind::None:
        break;
    }
    return "";
}

} // namespace

bool Arguments::Parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& known,
                      std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
            continue;
        }
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            positional.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(2);
        const auto spec = std::find_if(known.begin(), known.end(),
                                       [&](const OptionSpec& o) { return name == o.name; });
        if (spec == known.end()) {
            if (error.empty()) {
                error = "unknown option " + arg + " (options:";
                for (const OptionSpec& option : known)
                    error += std::string(" --") + option.name;
                error += " --help)";
            }
            continue;
        }
        if (!spec->takesValue) {
            options.emplace_back(name, std::string());
            continue;
        }
        if (i + 1 >= args.size()) {
            if (error.empty())
                error = "option " + arg + " needs a value";
            continue;
        }
        // Whatever follows is the value, even when it looks like an option.
        options.emplace_back(name, args[++i]);
    }
    return error.empty();
}

std::optional<std::string> Arguments::Option(const std::string& name) const
{
    for (const auto& [key, value] : options)
        if (key == name)
            return value;
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadInput(const std::string& path, std::string& error)
{
    auto bytes = fileio::ReadAll(path);
    if (!bytes)
        error = path + ": cannot be read";
    return bytes;
}

FileKind KindOf(std::span<const std::uint8_t> bytes)
{
    const std::string kind = FileInspector::Kind(bytes);
    if (kind == "MDR")
        return FileKind::Driver;
    if (kind == "MHR")
        return FileKind::Combined;
    if (kind == "MJK")
        return FileKind::Socket;
    if (kind == "HDR")
        return FileKind::Hub;
    return FileKind::None;
}

std::string WrongKind(const std::string& path, FileKind kind,
                      std::initializer_list<FileKind> wanted)
{
    if (kind == FileKind::None)
        return path + ": " + FileInspector::kUnknownKind;
    std::string names;
    for (std::size_t i = 0; i < wanted.size(); ++i)
        names += std::string(i == 0                   ? ""
                             : i + 1 == wanted.size() ? " or "
                                                      : ", ") +
                 Name(wanted.begin()[i]);
    return path + ": a " + Name(kind) + " file, not a " + names + " file";
}

std::string CodePageName(const Arguments& arguments)
{
    return arguments.Option("codepage").value_or(CodePage::kDefault);
}

} // namespace md::mdrtool
