#include "MdrCommand.h"

#include "core/driverfile/FileInspector.h"
#include "core/posix/CodePage.h"

#include <ostream>

namespace md::mdrtool {

namespace {

int RunValidate(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.positional.empty()) {
        err << "mdrtool validate: expects FILE...\n";
        return 2;
    }
    const CodePage codePage(CodePageName(arguments));
    const FileInspector inspector(codePage);
    int status = 0;
    for (const auto& path : arguments.positional) {
        std::string json, error;
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
    "validate",
    "check files and print one line per file",
    "usage: mdrtool validate FILE... [--codepage NAME]\n"
    "Reads each file completely and prints \"FILE: OK (KIND)\" or \"FILE: FAILED: reason\".\n"
    "Exit 0 when every file is sound, 1 otherwise, 2 for a bad command line.\n",
    {{"codepage"}},
    RunValidate};

} // namespace md::mdrtool
