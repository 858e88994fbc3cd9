#include "layout/TraceScript.h"
#include "io/JsonValue.h"

#include <gtest/gtest.h>

#include <sstream>

namespace md {
namespace {

JsonValue Replay(const std::string& setup, const std::string& events)
{
    std::ostringstream out;
    std::string error;
    EXPECT_EQ(RunTraceScript(setup, events, out, error), 0) << error;
    JsonValue json;
    EXPECT_TRUE(ParseJson(out.str(), json, error)) << error << "\n" << out.str();
    return json;
}

TEST(TraceScriptTest, ReplaysVirtualPointsKeysAndClicks)
{
    const JsonValue out = Replay(R"({"width":4,"height":2,"scanRows":2,"channelColours":[0,1],
                                 "driverPolarity":256})",
                                 "virtual 2\n# a comment\nclick 0 0 # first\r\nkey right\n"
                                 "click 2 0\nkey right\n");
    EXPECT_TRUE(out.Find("supported")->boolean);
    EXPECT_EQ(out.Find("status")->text, "IDS_MODULE_EPSTATUS_BAR_EP_MODE1_FINISH");
    EXPECT_EQ(out.Find("rowLength")->number, 6);
    EXPECT_EQ(out.Find("virtualPerRow")->number, 2);
    EXPECT_EQ(out.Find("virtualRuns")->items.at(0).items.at(1).number, 2);
    const auto& entries = out.Find("entries")->items;
    ASSERT_EQ(entries.size(), 2u);
    const JsonValue& point = entries[1].Find("rows")->items.at(1).items.at(5);
    EXPECT_EQ(point.Find("x")->number, 3);
    EXPECT_EQ(point.Find("y")->number, 1);
    EXPECT_EQ(point.Find("kind")->number, 1);
    const auto& commands = out.Find("commands")->items;
    std::vector<std::string> lit;
    for (const JsonValue& c : commands)
        lit.push_back(c.items.at(0).text + " " + c.items.at(1).text);
    EXPECT_EQ(lit, (std::vector<std::string>{"A0000100 000102F1", "A0000100 000402F1",
                                             "A0000100 000502F1", "A0000100 000602F1",
                                             "A1010100 000102F1"}));
}

TEST(TraceScriptTest, MalformedInputNamesTheLine)
{
    std::ostringstream out;
    std::string error;
    EXPECT_EQ(RunTraceScript("{\"width\":4,\n\"height\":}", "", out, error), 2);
    EXPECT_EQ(error, "setup: line 2: expected a value");
    EXPECT_EQ(RunTraceScript("{\"width\":-4}", "", out, error), 2);
    EXPECT_NE(error.find("width"), std::string::npos);
    EXPECT_EQ(RunTraceScript("{\"width\":65535,\"height\":65535}", "", out, error), 2);
    for (const char* bad : {"click 1", "key sideways", "jump", "virtual x", "undo now"}) {
        EXPECT_EQ(
            RunTraceScript("{\"width\":4,\"height\":2}", std::string("undo\n") + bad, out, error),
            2);
        EXPECT_EQ(error.rfind("events: line 2: ", 0), 0u) << error;
    }
    EXPECT_TRUE(out.str().empty());
}

} // namespace
} // namespace md
