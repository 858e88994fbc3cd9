// mdrtool trace: replays a tracing session without a display, for scripting and support.
#include "MdrCommand.h"

#include "core/layout/TraceScript.h"

#include <fstream>
#include <ostream>
#include <sstream>

namespace md::mdrtool {

namespace {

bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

int RunTrace(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2) {
        err << "usage: mdrtool trace SETUP.json EVENTS.txt\n";
        return 2;
    }
    std::string setup, events;
    for (std::size_t i = 0; i < 2; ++i)
        if (!ReadText(args[i], i == 0 ? setup : events)) {
            err << "mdrtool trace: cannot read " << args[i] << "\n";
            return 2;
        }
    std::string error;
    const int code = RunTraceScript(setup, events, out, error);
    if (code != 0) {
        // Name the file the problem is in.
        const bool inSetup = error.rfind("setup: ", 0) == 0;
        err << args[inSetup ? 0 : 1] << ": " << error.substr(error.find(": ") + 2) << "\n";
    }
    return code;
}

} // namespace

const MdrCommand& TraceCommand()
{
    static const MdrCommand command{
        "trace", "replay a point-tracing session and print the deduced layout as JSON",
        "usage: mdrtool trace SETUP.json EVENTS.txt\n"
        "SETUP.json holds the module: width, height, scanRows, dataGroups, rowLength,\n"
        "pointsPerGroup, channelColours, virtualCode, sameColourSwap, multiClock,\n"
        "connectorTable {rows, columns, cells}, dataLineType, driverPolarity, scanPolarity.\n"
        "EVENTS.txt holds one event a line ('#' starts a comment): click X Y,\n"
        "key left|right|up|down, virtual N, undo, advanced-enable, advanced-start,\n"
        "scan-row-length N, row-address N, hub-address N.\n"
        "Prints the final analysis, the status, the layout result and every lighting command.\n"
        "Exit code 2 on a malformed file.\n",
        RunTrace};
    return command;
}

} // namespace md::mdrtool
