#pragma once

#include <iosfwd>
#include <string>

namespace md {

/// Replays a tracing session without a display. setupJson describes the module (missing keys
/// take the module record's defaults); events holds one event a line ("click X Y",
/// "mark X Y 0|1", "mark-all 0|1", "key left|right|up|down", "virtual N", "undo",
/// "advanced-enable", "advanced-start", "scan-row-length N", "row-address N", "hub-address N"; '#'
/// starts a comment). Writes the final analysis, the status key shown before it, the layout result
/// and every lighting command as JSON. Returns 0, or 2 with error ("setup: ..." or "events: line N:
/// ...") on malformed input.
int RunTraceScript(const std::string& setupJson, const std::string& events, std::ostream& out,
                   std::string& error);

} // namespace md
