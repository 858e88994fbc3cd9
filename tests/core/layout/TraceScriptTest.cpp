#include "core/layout/TraceScript.h"
#include "core/io/JsonText.h"

#include <gtest/gtest.h>

#include <sstream>

namespace md {
namespace {

nlohmann::json Replay(const std::string& setup, const std::string& events)
{
    std::ostringstream out;
    std::string error;
    EXPECT_EQ(RunTraceScript(setup, events, out, error), 0) << error;
    const auto json = ParseJsonText(out.str(), error);
    EXPECT_TRUE(json) << error << "\n" << out.str();
    return json.value_or(nlohmann::json::object());
}

TEST(TraceScriptTest, ReplaysVirtualPointsKeysAndClicks)
{
    const nlohmann::json out = Replay(R"({"width":4,"height":2,"scanRows":2,"channelColours":[0,1],
                                 "driverPolarity":256})",
                                      "virtual 2\n# a comment\nclick 0 0 # first\r\nkey right\n"
                                      "click 2 0\nkey right\n");
    EXPECT_TRUE(out.at("supported").get<bool>());
    EXPECT_EQ(out.at("status"), "IDS_MODULE_EPSTATUS_BAR_EP_MODE1_FINISH");
    EXPECT_EQ(out.at("rowLength"), 6);
    EXPECT_EQ(out.at("virtualPerRow"), 2);
    EXPECT_EQ(out.at("virtualRuns").at(0).at(1), 2);
    const auto& entries = out.at("entries");
    ASSERT_EQ(entries.size(), 2u);
    const auto& point = entries[1].at("rows").at(1).at(5);
    EXPECT_EQ(point.at("x"), 3);
    EXPECT_EQ(point.at("y"), 1);
    EXPECT_EQ(point.at("kind"), 1);
    std::vector<std::string> lit;
    for (const auto& c : out.at("commands"))
        lit.push_back(c.at(0).get<std::string>() + " " + c.at(1).get<std::string>());
    EXPECT_EQ(lit, (std::vector<std::string>{"A0000100 000102F1", "A0000100 000402F1",
                                             "A0000100 000502F1", "A0000100 000602F1",
                                             "A1010100 000102F1"}));
}

TEST(TraceScriptTest, AnUnmarkedPixelWaitsUntilItIsMarkedAgain)
{
    // Advanced tracing traces marked pixels only: the second pixel comes third.
    const nlohmann::json out = Replay(R"({"width":4,"height":1,"scanRows":1})",
                                      "advanced-enable\nscan-row-length 4\nadvanced-start\n"
                                      "mark-all 0\nmark 0 0 1\nmark 2 0 1\n"
                                      "click 0 0\nclick 1 0\nclick 2 0\n"
                                      "mark-all 1\nclick 1 0\nclick 3 0\n");
    EXPECT_TRUE(out.at("supported").get<bool>());
    std::vector<int> order;
    for (const auto& point : out.at("entries").at(0).at("rows").at(0))
        order.push_back(point.at("x").get<int>());
    EXPECT_EQ(order, (std::vector<int>{0, 2, 1, 3}));
}

TEST(TraceScriptTest, MalformedInputNamesTheLine)
{
    std::ostringstream out;
    std::string error;
    EXPECT_EQ(RunTraceScript("{\"width\":4,\n\"height\":}", "", out, error), 2);
    EXPECT_EQ(error.rfind("setup: line 2: syntax error", 0), 0u) << error;
    EXPECT_EQ(RunTraceScript("{\"width\":4,\n\n\"height\":4", "", out, error), 2);
    EXPECT_EQ(error.rfind("setup: line 3: ", 0), 0u) << "the text ends on line 3: " << error;
    EXPECT_EQ(RunTraceScript("{\"width\":-4}", "", out, error), 2);
    EXPECT_NE(error.find("width"), std::string::npos);
    EXPECT_EQ(RunTraceScript("{\"width\":65535,\"height\":65535}", "", out, error), 2);
    for (const char* bad : {"click 1", "key sideways", "jump", "virtual x", "undo now", "mark 1 0",
                            "mark 1 0 2", "mark-all", "mark-all 2"}) {
        EXPECT_EQ(
            RunTraceScript("{\"width\":4,\"height\":2}", std::string("undo\n") + bad, out, error),
            2);
        EXPECT_EQ(error.rfind("events: line 2: ", 0), 0u) << error;
    }
    EXPECT_TRUE(out.str().empty());
}

} // namespace
} // namespace md
