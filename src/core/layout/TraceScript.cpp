#include "core/layout/TraceScript.h"

#include "core/controller/CommandChannel.h"
#include "core/io/JsonText.h"
#include "core/io/NumberText.h"
#include "core/layout/LayoutCommands.h"
#include "core/layout/LayoutModel.h"
#include "core/layout/LayoutSetup.h"
#include "core/layout/PointTracer.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <sstream>

namespace md {

namespace {

/// Largest module a script may describe, so that a typo cannot exhaust memory.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 22;

class KeyTexts final : public Texts
{
public:
    std::u16string Text(std::string_view key) const override
    {
        return std::u16string(key.begin(), key.end());
    }
};

class SilentPrompter final : public Prompter
{
public:
    PromptAnswer Ask(PromptButtons, const std::u16string&, const std::u16string&) override
    {
        return PromptAnswer::Ok;
    }
};

/// Reads an optional unsigned member no larger than max.
using Json = nlohmann::json;

/// The member of an object, or nullptr when absent (or when this is not an object).
const Json* Member(const Json& object, const char* key)
{
    if (!object.is_object())
        return nullptr;
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

/// Whether a value is a whole number from min to max.
bool WholeNumber(const Json& value, double min, double max)
{
    if (!value.is_number())
        return false;
    const double number = value.get<double>();
    return number >= min && number <= max && std::floor(number) == number;
}

bool Unsigned(const Json& object, const char* key, double max, std::uint32_t& out,
              std::string& error)
{
    const Json* value = Member(object, key);
    if (value == nullptr)
        return true;
    if (!WholeNumber(*value, 0, max)) {
        error = std::string("\"") + key + "\" must be a whole number from 0 to " +
                std::to_string(static_cast<long long>(max));
        return false;
    }
    out = static_cast<std::uint32_t>(value->get<double>());
    return true;
}

bool NumberList(const Json& value, double min, double max, std::vector<double>& out)
{
    if (!value.is_array())
        return false;
    for (const Json& item : value) {
        if (!WholeNumber(item, min, max))
            return false;
        out.push_back(item.get<double>());
    }
    return true;
}

bool ReadSetup(const Json& json, LayoutSetup& setup, std::string& error)
{
    if (!json.is_object()) {
        error = "the setup must be a JSON object";
        return false;
    }
    std::uint32_t width = 0, height = 0, scanRows = 1, groups = 1, swap = 0, multiClock = 0;
    std::uint32_t lineType = 0, driver = 0, scan = 0, rowLength = 0, perGroup = 0;
    if (!Unsigned(json, "width", 65535, width, error) ||
        !Unsigned(json, "height", 65535, height, error) ||
        !Unsigned(json, "scanRows", 65535, scanRows, error) ||
        !Unsigned(json, "dataGroups", 65535, groups, error) ||
        !Unsigned(json, "rowLength", 65535, rowLength, error) ||
        !Unsigned(json, "pointsPerGroup", 65535, perGroup, error) ||
        !Unsigned(json, "sameColourSwap", 4294967295.0, swap, error) ||
        !Unsigned(json, "multiClock", 7, multiClock, error) ||
        !Unsigned(json, "dataLineType", 65535, lineType, error) ||
        !Unsigned(json, "driverPolarity", 4294967295.0, driver, error) ||
        !Unsigned(json, "scanPolarity", 4294967295.0, scan, error))
        return false;
    if (std::uint64_t{width} * height > kMaxPixels) {
        error = "the module has more than " + std::to_string(kMaxPixels) + " pixels";
        return false;
    }
    setup.width = static_cast<std::uint16_t>(width);
    setup.height = static_cast<std::uint16_t>(height);
    setup.scanRows = static_cast<std::uint16_t>(scanRows);
    setup.dataGroups = static_cast<std::uint16_t>(groups);
    setup.sameColourSwap = swap;
    setup.multiClock = multiClock;
    setup.dataLineType = static_cast<std::uint16_t>(lineType);
    setup.driverPolarity = driver;
    setup.scanPolarity = scan;
    setup.DeriveCounts();
    if (Member(json, "pointsPerGroup"))
        setup.pointsPerGroup = static_cast<std::uint16_t>(perGroup);
    if (Member(json, "rowLength"))
        setup.rowLength = static_cast<std::uint16_t>(rowLength);
    if (const Json* colours = Member(json, "channelColours")) {
        std::vector<double> list;
        if (!NumberList(*colours, 0, 2, list) || list.empty()) {
            error = "\"channelColours\" must be a non-empty list of 0, 1 or 2";
            return false;
        }
        setup.channelColours.assign(list.begin(), list.end());
    }
    if (const Json* codes = Member(json, "virtualCode")) {
        std::vector<double> list;
        if (!NumberList(*codes, 0, 4294967295.0, list) || list.size() != 3) {
            error = "\"virtualCode\" must be a list of three whole numbers";
            return false;
        }
        for (std::size_t i = 0; i < 3; ++i)
            setup.virtualCode[i] = static_cast<std::uint32_t>(list[i]);
    }
    setup.connectors.ForMultiClock(multiClock);
    if (const Json* table = Member(json, "connectorTable")) {
        std::uint32_t rows = 1, columns = 1;
        const Json* cells = Member(*table, "cells");
        if (!table->is_object() || !Unsigned(*table, "rows", 8, rows, error) ||
            !Unsigned(*table, "columns", 8, columns, error))
            return error.empty() ? (error = "\"connectorTable\" must be an object", false) : false;
        for (auto& row : setup.connectors.cells)
            row.fill(-1);
        setup.connectors.rows = rows;
        setup.connectors.columns = columns;
        if (cells) {
            if (!cells->is_array() || cells->size() > 8) {
                error = "\"cells\" must be a list of at most 8 rows";
                return false;
            }
            for (std::size_t i = 0; i < cells->size(); ++i) {
                std::vector<double> list;
                if (!NumberList((*cells)[i], -1, 2147483647.0, list) || list.size() > 8) {
                    error = "each row of \"cells\" must hold at most 8 whole numbers";
                    return false;
                }
                for (std::size_t j = 0; j < list.size(); ++j)
                    setup.connectors.cells[i][j] = static_cast<std::int32_t>(list[j]);
            }
        }
    }
    return true;
}

bool Whole(std::istringstream& words, long long min, long long max, long long& value)
{
    std::string word;
    if (!(words >> word))
        return false;
    const auto number = numbertext::Parse<long long>(word);
    if (!number || *number < min || *number > max)
        return false;
    value = *number;
    return true;
}

/// Applies one event line; false when the line is malformed.
bool Replay(const std::string& line, PointTracer& tracer, LayoutCommands& commands)
{
    std::istringstream words(line.substr(0, line.find('#')));
    std::string verb;
    if (!(words >> verb))
        return true;
    long long a = 0, b = 0, c = 0;
    if (verb == "click") {
        if (!Whole(words, -1, 65535, a) || !Whole(words, -1, 65535, b))
            return false;
        tracer.Click(static_cast<int>(a), static_cast<int>(b));
    } else if (verb == "mark") {
        // The paint (1) or erase (0) marks mode's click on a pixel.
        if (!Whole(words, -1, 65535, a) || !Whole(words, -1, 65535, b) || !Whole(words, 0, 1, c))
            return false;
        tracer.SetMark(static_cast<int>(a), static_cast<int>(b), c != 0);
    } else if (verb == "mark-all") {
        // Point-go's mark all (1) or unmark all (0).
        if (!Whole(words, 0, 1, a))
            return false;
        tracer.MarkAll(a != 0);
    } else if (verb == "key") {
        std::string direction;
        words >> direction;
        const char* names[] = {"left", "right", "up", "down"};
        int found = -1;
        for (int i = 0; i < 4; ++i)
            if (direction == names[i])
                found = i;
        if (found < 0)
            return false;
        tracer.MoveFocus(static_cast<PointTracer::Key>(found));
    } else if (verb == "virtual") {
        if (!Whole(words, 0, 65535, a))
            return false;
        std::uint32_t position = 0, count = 0;
        if (tracer.AdvancedStarted() || tracer.VirtualPointDialogValues(position, count))
            tracer.InsertVirtual(static_cast<std::uint32_t>(a));
    } else if (verb == "undo") {
        commands.Execute(LayoutCommands::kUndo);
    } else if (verb == "advanced-enable") {
        commands.Execute(LayoutCommands::kEnableAdvanced);
    } else if (verb == "advanced-start") {
        commands.Execute(LayoutCommands::kStartStop);
    } else if (verb == "scan-row-length" || verb == "row-address" || verb == "hub-address") {
        if (!Whole(words, 0, 4294967295LL, a))
            return false;
        const auto value = static_cast<std::uint32_t>(a);
        if (verb == "scan-row-length")
            tracer.SetScanRowLength(value);
        else if (verb == "row-address")
            tracer.RowAddress() = value;
        else
            tracer.HubAddress() = value;
    } else {
        return false;
    }
    std::string rest;
    return !(words >> rest);
}

std::string Hex(const std::array<std::uint8_t, 4>& word)
{
    char text[9];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", word[0], word[1], word[2], word[3]);
    return text;
}

void PrintResult(std::ostream& out, bool supported, std::string_view status,
                 const PointTracer& tracer, const LayoutSetup& setup,
                 const std::vector<CommandPair>& sent)
{
    using Ordered = nlohmann::ordered_json;
    Ordered runs = Ordered::array();
    for (const VirtualRun& run : setup.virtualRuns)
        runs.push_back({run.start, run.count});
    Ordered entries = Ordered::array();
    for (const ChannelRow& entry : tracer.Result()) {
        Ordered rows = Ordered::array();
        for (const ScanRow& row : entry.rows) {
            Ordered points = Ordered::array();
            for (const TracedPoint& p : row.points)
                points.push_back(
                    {{"x", p.x}, {"y", p.y}, {"kind", p.kind}, {"ordinal", p.ordinal}});
            rows.push_back(std::move(points));
        }
        entries.push_back({{"index", entry.index},
                           {"rowLength", entry.rowLength},
                           {"pointsPerGroup", entry.pointsPerGroup},
                           {"rows", std::move(rows)}});
    }
    Ordered commands = Ordered::array();
    for (const CommandPair& pair : sent)
        commands.push_back({Hex(pair.word1), Hex(pair.word2)});
    const Ordered result = {{"supported", supported},
                            {"status", status},
                            {"width", tracer.Width()},
                            {"height", tracer.Height()},
                            {"rowLength", setup.rowLength},
                            {"pointsPerGroup", setup.pointsPerGroup},
                            {"virtualPerRow", setup.virtualPerRow},
                            {"virtualRuns", std::move(runs)},
                            {"entries", std::move(entries)},
                            {"commands", std::move(commands)}};
    out << result.dump() << "\n";
}

} // namespace

int RunTraceScript(const std::string& setupJson, const std::string& events, std::ostream& out,
                   std::string& error)
{
    LayoutSetup setup;
    std::string problem;
    const auto json = ParseJsonText(setupJson, problem);
    if (!json || !ReadSetup(*json, setup, problem)) {
        error = "setup: " + problem;
        return 2;
    }
    LayoutModel model;
    model.Construct(setup.width, setup.height, {});
    CommandChannel channel;
    std::vector<CommandPair> sent;
    channel.SetTap([&](const CommandPair& pair) { sent.push_back(pair); });
    KeyTexts texts;
    SilentPrompter prompter;
    PointTracer tracer(model, channel, texts, prompter);
    LayoutCommands commands(tracer, texts);
    tracer.SetSetup(&setup, true);
    tracer.Create();

    std::istringstream lines(events);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!Replay(line, tracer, commands)) {
            error = "events: line " + std::to_string(number) + ": malformed event '" + line + "'";
            return 2;
        }
    }
    const std::string status(tracer.StatusKey());
    const bool supported = tracer.Analyse(true);
    PrintResult(out, supported, status, tracer, setup, sent);
    return 0;
}

} // namespace md
