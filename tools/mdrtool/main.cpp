#include "MdrCommand.h"

#include <cstring>
#include <iostream>

namespace {

void PrintUsage(std::ostream& out)
{
    out << "usage: mdrtool COMMAND [ARGS...]\n"
           "       mdrtool COMMAND --help\n"
           "       mdrtool --version\n\n"
           "Commands for LED module driver files (.MDR, .BDT, .MHR, .mjk, .HDR):\n";
    for (const auto& command : md::mdrtool::Commands())
        out << "  " << command.name << "\t" << command.summary << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? 2 : 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "mdrtool " << MD_VERSION << "\n";
        return 0;
    }
    for (const auto& command : md::mdrtool::Commands()) {
        if (std::strcmp(argv[1], command.name) != 0)
            continue;
        md::mdrtool::Arguments arguments;
        std::string error;
        const bool parsed = arguments.Parse({argv + 2, argv + argc}, command.options, error);
        if (arguments.help) {
            std::cout << command.help;
            return 0;
        }
        if (!parsed) {
            std::cerr << "mdrtool " << command.name << ": " << error << "\n";
            return 2;
        }
        return command.run(arguments, std::cout, std::cerr);
    }
    std::cerr << "mdrtool: unknown command '" << argv[1] << "'\n";
    PrintUsage(std::cerr);
    return 2;
}
