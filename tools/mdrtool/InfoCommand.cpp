#include "MdrCommand.h"

#include "core/driverfile/FileInspector.h"
#include "core/posix/CodePage.h"

#include <ostream>

namespace md::mdrtool {

namespace {

int RunInfo(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.positional.size() != 1) {
        err << "mdrtool info: expects one FILE\n";
        return 2;
    }
    const std::string& path = arguments.positional[0];
    std::string error;
    const auto bytes = ReadInput(path, error);
    const CodePage codePage(CodePageName(arguments));
    std::string json;
    if (!bytes || !FileInspector(codePage).Describe(*bytes, json, error)) {
        err << "mdrtool info: " << (bytes ? path + ": " : std::string()) << error << "\n";
        return 1;
    }
    out << json << "\n";
    return 0;
}

} // namespace

const MdrCommand kInfoCommand = {
    "info",
    "print a JSON description of a .MDR/.BDT, .MHR, .mjk or .HDR file",
    "usage: mdrtool info FILE [--codepage NAME]\n"
    "Recognises the file by its mark and prints its contents as one line of JSON.\n"
    "Names are converted from the code page (default CP936) to UTF-8.\n"
    "Exit 0 on success, 1 when the file cannot be read or is damaged (the message names\n"
    "section and offset), 2 for a bad command line.\n",
    {{"codepage"}},
    RunInfo};

} // namespace md::mdrtool
