#pragma once

#include "ToolSupport.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace md::mdrtool {

/// One sub-command of mdrtool: its name, a one-line summary, its help text, the options it
/// takes and its entry.
struct MdrCommand
{
    const char* name;
    const char* summary;
    const char* help;
    std::vector<OptionSpec> options;
    /// Runs with the parsed arguments after the command name; returns the process exit code.
    int (*run)(const Arguments& arguments, std::ostream& out, std::ostream& err);
};

// The commands, each defined in its own file.
extern const MdrCommand kInfoCommand;
extern const MdrCommand kValidateCommand;
extern const MdrCommand kExportMapCommand;
extern const MdrCommand kRenderCommand;
extern const MdrCommand kSampleCommand;
extern const MdrCommand kTransformCommand;
extern const MdrCommand kTraceCommand;
extern const MdrCommand kLocateCommand;

/// Every command the tool offers, in the order `mdrtool --help` lists them.
const std::vector<MdrCommand>& Commands();

} // namespace md::mdrtool
