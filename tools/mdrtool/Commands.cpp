#include "MdrCommand.h"

namespace md::mdrtool {

const std::vector<MdrCommand>& Commands()
{
    // Each command lives in a file of its own and is listed here.
    static const std::vector<MdrCommand> commands = {
        kInfoCommand,   kValidateCommand,  kExportMapCommand, kRenderCommand,
        kSampleCommand, kTransformCommand, kTraceCommand,     kLocateCommand};
    return commands;
}

} // namespace md::mdrtool
