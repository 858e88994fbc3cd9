#include "ToolSupport.h"

#include "core/io/FileIo.h"
#include "core/posix/CodePage.h"

#include <algorithm>

namespace md::mdrtool {

bool Arguments::Parse(const std::vector<std::string>& args, const std::vector<std::string>& known,
                      std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            positional.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(2);
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            error = "unknown option " + arg;
            return false;
        }
        if (i + 1 >= args.size()) {
            error = "option " + arg + " needs a value";
            return false;
        }
        options.emplace_back(name, args[++i]);
    }
    return true;
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

std::string CodePageName(const Arguments& arguments)
{
    return arguments.Option("codepage").value_or(CodePage::kDefault);
}

} // namespace md::mdrtool
