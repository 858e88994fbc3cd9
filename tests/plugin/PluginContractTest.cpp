// The plug-in as the host sees it: loaded with dlopen, slots called through the vtable.
#include "md/ContractIds.h"
#include "md/IDesignUIPlugin.h"
#include "md/ISettingBase.h"
#include "md/IToobarInterface.h"
#include "support/PluginLibrary.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

using md::test::CallSlot;

namespace {

class PluginContractTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library.IsLoaded()) << library.Error();
        plugin = library.Create();
        ASSERT_NE(plugin, nullptr);
        parent = std::make_unique<QWidget>();
        parent->resize(800, 600);
    }
    void TearDown() override
    {
        if (plugin)
            CallSlot<std::uint32_t>(plugin, 1); // Release
    }

    bool Query(std::uint32_t code, void** out)
    {
        return CallSlot<bool, std::uint32_t, void**>(plugin, 5, code, out);
    }
    std::int32_t CreateUI()
    {
        return CallSlot<std::int32_t, md::WindowHandle, std::int32_t, std::int32_t, std::int32_t,
                        std::int32_t>(plugin, 8, static_cast<md::WindowHandle>(parent->winId()), 0,
                                      0, 400, 300);
    }

    md::test::PluginLibrary library;
    md::IBaseUIPlugin* plugin = nullptr;
    std::unique_ptr<QWidget> parent;
};

TEST_F(PluginContractTest, ExportsOnlyCreatePlugin)
{
    FILE* pipe = popen(("nm -D --defined-only " + md::test::PluginLibrary::Path()).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[512];
    std::vector<std::string> exported;
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        // "address type name": keep text (T) and data (D, B) symbols.
        const auto type = text.size() > 17 ? text[17] : ' ';
        if (type == 'T' || type == 'D' || type == 'B' || type == 'W' || type == 'V')
            exported.push_back(text.substr(19, text.find_last_not_of("\n") - 18));
    }
    pclose(pipe);
    EXPECT_EQ(exported, std::vector<std::string>{"CreatePlugin"});
}

TEST_F(PluginContractTest, BaseSlotsAnswerAsTheHostExpects)
{
    EXPECT_EQ(CallSlot<std::uint32_t>(plugin, 0), 0u); // AddRef returns the reference word, 0
    EXPECT_EQ(CallSlot<std::uint32_t>(plugin, 0), 0u); // and never changes it
    EXPECT_EQ(CallSlot<std::int32_t>(plugin, 2), 0);
    EXPECT_EQ(CallSlot<std::int32_t>(plugin, 3), 0);
    EXPECT_STREQ(CallSlot<const char*>(plugin, 4), "7B466530-8CCF-4c48-AB8A-0F8F1F0E0C71");
    EXPECT_EQ(CallSlot<std::int32_t>(plugin, 10), 1); // HideUI with no panel
    CallSlot<void>(plugin, 11);                       // DestroyUI with no panel: no effect
}

TEST_F(PluginContractTest, ThePanelInterfaceIsThePanelObjectWhileCreateUiHasAWindow)
{
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_FALSE(Query(md::contract::kRequestPanel, &out));
    EXPECT_EQ(out, nullptr);
    void* object = nullptr;
    ASSERT_TRUE(Query(md::contract::kRequestPanelObject, &object));
    ASSERT_NE(object, nullptr);
    EXPECT_FALSE(Query(md::contract::kRequestPanel, &out));

    ASSERT_EQ(CreateUI(), 1);
    void* panel = nullptr;
    ASSERT_TRUE(Query(md::contract::kRequestPanel, &panel));
    EXPECT_EQ(panel, object);
    EXPECT_FALSE(CallSlot<bool>(panel, 15)); // nothing open
    auto* widget = parent->findChild<QWidget*>("20008");
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isVisible() || !parent->isVisible());
    EXPECT_EQ(widget->geometry(), QRect(0, 0, 400, 300));

    // MoveUI (slot 9) places the panel.
    CallSlot<void, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::uint8_t>(
        plugin, 9, 10, 20, 300, 200, 1);
    EXPECT_EQ(widget->geometry(), QRect(10, 20, 300, 200));

    // DestroyUI ends only the window: the interface is refused again, the object stays.
    CallSlot<void>(plugin, 11);
    EXPECT_FALSE(Query(md::contract::kRequestPanel, &out));
    void* again = nullptr;
    ASSERT_TRUE(Query(md::contract::kRequestPanelObject, &again));
    EXPECT_EQ(again, object);
}

TEST_F(PluginContractTest, CreateUiFailsForAHandleThatNamesNoWindow)
{
    EXPECT_EQ((CallSlot<std::int32_t, md::WindowHandle, std::int32_t, std::int32_t, std::int32_t,
                        std::int32_t>(plugin, 8, md::WindowHandle{0}, 0, 0, 10, 10)),
              0);
    // The panel object stays for a later attempt.
    EXPECT_EQ(CreateUI(), 1);
}

TEST_F(PluginContractTest, SettingsPageIsOneObject)
{
    void* first = nullptr;
    void* second = nullptr;
    ASSERT_TRUE(Query(md::contract::kRequestSettings, &first));
    ASSERT_TRUE(Query(md::contract::kRequestSettings, &second));
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(CallSlot<std::int32_t>(first, 3), -1); // apply without a window
    EXPECT_EQ(CallSlot<std::int32_t>(first, 8), -1); // hide without a window
    EXPECT_TRUE(CallSlot<bool>(first, 5));           // available without a host
    EXPECT_TRUE(CallSlot<bool>(first, 10));
    EXPECT_FALSE(CallSlot<bool>(first, 11));
}

TEST_F(PluginContractTest, ToolbarIsCreatedOnRequestAndShownInsideTheParent)
{
    void* toolbar = nullptr;
    ASSERT_TRUE(Query(md::contract::kRequestToolbar, &toolbar));
    ASSERT_NE(toolbar, nullptr);
    void* again = nullptr;
    ASSERT_TRUE(Query(md::contract::kRequestToolbar, &again));
    EXPECT_EQ(toolbar, again);

    using Show = std::int32_t;
    EXPECT_FALSE(CallSlot<bool>(toolbar, 6));         // not visible without a window
    EXPECT_EQ(CallSlot<std::int32_t>(toolbar, 5), 0); // hide without a window
    EXPECT_EQ(
        (CallSlot<Show, md::WindowHandle, std::int32_t, std::int32_t, std::int32_t, std::int32_t>(
            toolbar, 3, md::WindowHandle{0}, 0, 0, 100, 34)),
        -1);
    parent->show();
    ASSERT_EQ(
        (CallSlot<Show, md::WindowHandle, std::int32_t, std::int32_t, std::int32_t, std::int32_t>(
            toolbar, 3, static_cast<md::WindowHandle>(parent->winId()), 0, 0, 600, 34)),
        0);
    EXPECT_TRUE(CallSlot<bool>(toolbar, 6));
    auto* strip = parent->findChild<QWidget*>("20012");
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->geometry(), QRect(0, 0, 600, 34));
    EXPECT_EQ(CallSlot<std::int32_t>(toolbar, 5), 1); // hide: it was visible
    EXPECT_FALSE(CallSlot<bool>(toolbar, 6));
    EXPECT_EQ(CallSlot<std::int32_t>(toolbar, 5), 0);
    EXPECT_EQ(CallSlot<std::int32_t>(toolbar, 2), 0); // OnNotify ignores everything
}

TEST_F(PluginContractTest, UnknownRequestCodesLeaveTheOutPointerUntouched)
{
    void* sentinel = reinterpret_cast<void*>(0x1234);
    for (std::uint32_t code : {0u, 1u, 4096u, 4098u, 0x08000003u, 0xFF800000u, 0xFF800002u}) {
        void* out = sentinel;
        EXPECT_FALSE(Query(code, &out)) << code;
        EXPECT_EQ(out, sentinel) << code;
    }
}

TEST_F(PluginContractTest, ReleaseWithEverythingCreatedEndsTheWindows)
{
    void* toolbar = nullptr;
    void* settings = nullptr;
    ASSERT_TRUE(Query(md::contract::kRequestToolbar, &toolbar));
    ASSERT_TRUE(Query(md::contract::kRequestSettings, &settings));
    ASSERT_EQ(CreateUI(), 1);
    ASSERT_EQ((CallSlot<std::int32_t, md::WindowHandle, std::int32_t, std::int32_t, std::int32_t,
                        std::int32_t>(toolbar, 3, static_cast<md::WindowHandle>(parent->winId()), 0,
                                      0, 600, 34)),
              0);
    EXPECT_NE(parent->findChild<QWidget*>("20008"), nullptr);
    EXPECT_NE(parent->findChild<QWidget*>("20012"), nullptr);
    CallSlot<std::uint32_t>(plugin, 1);
    plugin = nullptr;
    EXPECT_EQ(parent->findChild<QWidget*>("20008"), nullptr);
    EXPECT_EQ(parent->findChild<QWidget*>("20012"), nullptr);
}

TEST_F(PluginContractTest, ReleaseWithNothingCreatedDeletesOnlyThePluginObject)
{
    const auto before = QApplication::allWidgets().size();
    CallSlot<std::uint32_t>(plugin, 1);
    plugin = nullptr;
    EXPECT_EQ(QApplication::allWidgets().size(), before);
}

} // namespace
