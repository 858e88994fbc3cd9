#include "MdrCommand.h"
#include "ToolSupport.h"

#include "core/driverfile/FileInspector.h"
#include "core/posix/CodePage.h"

#include <ostream>

namespace md::mdrtool {

namespace {

int RunValidate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Arguments arguments;
    std::string error;
    if (!arguments.Parse(args, {"codepage"}, error) || arguments.positional.empty()) {
        err << "mdrtool validate: " << (error.empty() ? "expects FILE..." : error) << "\n";
        return 2;
    }
    const CodePage codePage(CodePageName(arguments));
    const FileInspector inspector(codePage);
    int status = 0;
    for (const auto& path : arguments.positional) {
        std::string json;
        const auto bytes = ReadInput(path, error);
        if (!bytes || !inspector.Describe(*bytes, json, error)) {
            out << path << ": FAILED: " << (bytes ? error : "cannot be read") << "\n";
            status = 1;
            continue;
        }
        out << path << ": OK (" << FileInspector::Kind(*bytes) << ")\n";
    }
    return status;
}

} // namespace

const MdrCommand kValidateCommand = {
    "validate", "check files and print one line per file",
    "usage: mdrtool validate FILE... [--codepage NAME]\n"
    "Reads each file completely and prints \"FILE: OK (KIND)\" or \"FILE: FAILED: reason\".\n"
    "Exit 0 when every file is sound, 1 otherwise.\n",
    RunValidate};

} // namespace md::mdrtool
