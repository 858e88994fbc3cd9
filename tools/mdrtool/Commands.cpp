#include "MdrCommand.h"

namespace md::mdrtool {

// Each command lives in a file of its own and is listed here.
const MdrCommand& TraceCommand();

const std::vector<MdrCommand>& Commands()
{
    static const std::vector<MdrCommand> commands = {
        kInfoCommand,   kValidateCommand,  kExportMapCommand, kRenderCommand,
        kSampleCommand, kTransformCommand, TraceCommand()};
    return commands;
}

} // namespace md::mdrtool
