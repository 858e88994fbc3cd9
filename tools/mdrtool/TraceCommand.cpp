// mdrtool trace: replays a tracing session without a display, for scripting and support.
#include "MdrCommand.h"

#include "core/layout/TraceScript.h"

#include <ostream>

namespace md::mdrtool {

namespace {

int RunTrace(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    const auto& files = arguments.positional;
    if (files.size() != 2) {
        err << "mdrtool trace: expects SETUP.json and EVENTS.txt\n";
        return 2;
    }
    std::string texts[2], error;
    for (std::size_t i = 0; i < 2; ++i) {
        const auto bytes = ReadInput(files[i], error);
        if (!bytes) {
            err << "mdrtool trace: " << error << "\n";
            return 1;
        }
        texts[i].assign(bytes->begin(), bytes->end());
    }
    const int code = RunTraceScript(texts[0], texts[1], out, error);
    if (code != 0) {
        // Name the file the problem is in.
        const bool inSetup = error.rfind("setup: ", 0) == 0;
        err << "mdrtool trace: " << files[inSetup ? 0 : 1] << ": "
            << error.substr(error.find(": ") + 2) << "\n";
    }
    return code;
}

} // namespace

const MdrCommand kTraceCommand = {
    "trace",
    "replay a point-tracing session and print the deduced layout as JSON",
    "usage: mdrtool trace SETUP.json EVENTS.txt\n"
    "SETUP.json holds the module: width, height, scanRows, dataGroups, rowLength,\n"
    "pointsPerGroup, channelColours, virtualCode, sameColourSwap, multiClock,\n"
    "connectorTable {rows, columns, cells}, dataLineType, driverPolarity, scanPolarity.\n"
    "EVENTS.txt holds one event a line ('#' starts a comment): click X Y,\n"
    "mark X Y 0|1 (unmark or mark the pixel), mark-all 0|1 (every pixel),\n"
    "key left|right|up|down, virtual N, undo,\n"
    "advanced-enable, advanced-start,\n"
    "scan-row-length N, row-address N, hub-address N.\n"
    "Prints the final analysis, the status, the layout result and every lighting command.\n"
    "Exit 1 for a file that cannot be read, 2 for a malformed file or command line.\n",
    {},
    RunTrace};

} // namespace md::mdrtool
