// The reference host as the plug-in sees it: every service lookup, notification routing to the
// plug-in's own sink, and the settings page attaching itself.
#include "ModuleDesignHost.h"
#include "PluginLoader.h"
#include "md/ContractIds.h"
#include "md/IDesignUIPlugin.h"
#include "md/ISettingBase.h"

#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace md::host {
namespace {

namespace c = contract;

class HostServicesTest : public ::testing::Test
{
protected:
    HostServicesTest() : host(QString::fromUtf8(MD_PROGRAM_DIR)) {}

    void SetUp() override
    {
        ASSERT_TRUE(loader.Load(QDir(MD_PROGRAM_DIR).filePath(PluginLoader::kLibraryName)))
            << loader.ErrorText().toStdString();
        loader.Plugin()->SetHost(&host);
        host.SetPlugin(loader.Plugin());
    }
    void TearDown() override
    {
        host.SetPlugin(nullptr);
        loader.Unload();
    }

    template <typename Interface>
    Interface* Lookup(const char* id, std::uint32_t code)
    {
        void* out = nullptr;
        return host.QueryService(id, code, &out) ? static_cast<Interface*>(out) : nullptr;
    }

    ModuleDesignHost host;
    PluginLoader loader;
};

TEST_F(HostServicesTest, AnswersEveryServiceByIdAndCodeOnly)
{
    EXPECT_NE(Lookup<IMultilingualInterface>(c::kMultilingualId, c::kMultilingualCode), nullptr);
    EXPECT_NE(Lookup<INotifyService>(c::kNotifyServiceId, c::kNotifyServiceCode), nullptr);
    EXPECT_NE(Lookup<IGlobalDataInterface>(c::kGlobalDataId, c::kGlobalDataCode), nullptr);
    EXPECT_NE(Lookup<IConfigFilebase>(c::kConfigFileId, c::kConfigFileCode), nullptr);
    EXPECT_NE(Lookup<IChipManRecordSet>(c::kChipRecordSetId, c::kChipRecordSetCode), nullptr);
    EXPECT_NE(Lookup<ILightManRecordset>(c::kLightRecordSetId, c::kLightRecordSetCode), nullptr);
    EXPECT_NE(Lookup<INotifySink>(c::kPluginId, c::kNotifySinkCode), nullptr);

    // The right id with a wrong code, or an unknown id, yields nothing and leaves out alone.
    void* out = reinterpret_cast<void*>(0x5);
    EXPECT_FALSE(host.QueryService(c::kMultilingualId, 2, &out));
    EXPECT_FALSE(host.QueryService(c::kGlobalDataId, c::kNotifyServiceCode, &out));
    EXPECT_FALSE(host.QueryService("00000000-0000-0000-0000-000000000000", 1, &out));
    EXPECT_FALSE(host.QueryService(nullptr, 1, &out));
    EXPECT_EQ(out, reinterpret_cast<void*>(0x5));
}

TEST_F(HostServicesTest, TextsComeFromTheLanguageOfRunInfo)
{
    auto* texts = Lookup<IMultilingualInterface>(c::kMultilingualId, c::kMultilingualCode);
    ASSERT_NE(texts, nullptr);
    char16_t buffer[c::kTextCapacity] = {};
    ASSERT_TRUE(
        texts->GetText(c::kTextSection, "IDS_MODULE_SETTING_TITLE", buffer, c::kTextCapacity));
    EXPECT_FALSE(QString::fromUtf16(buffer).isEmpty());
    EXPECT_FALSE(texts->GetText(c::kTextSection, "NO_SUCH_KEY", buffer, c::kTextCapacity));
    EXPECT_FALSE(
        texts->GetText("OtherSection", "IDS_MODULE_SETTING_TITLE", buffer, c::kTextCapacity));
    // A short buffer receives a cut, terminated text.
    char16_t small[3] = {1, 1, 1};
    ASSERT_TRUE(texts->GetText(c::kTextSection, "IDS_MD_PANEL_EMPTY_HINT", small, 3));
    EXPECT_EQ(small[2], 0);
}

TEST_F(HostServicesTest, SendRoutesToThePluginsOwnSinkAndToTheHost)
{
    auto* notify = Lookup<INotifyService>(c::kNotifyServiceId, c::kNotifyServiceCode);
    ASSERT_NE(notify, nullptr);
    // The plug-in's panel ignores unknown messages (0); an unknown target answers -1.
    EXPECT_EQ(notify->Send(c::kPluginId, 0x7777, 0, 0), 0);
    EXPECT_EQ(notify->Send("11111111-2222-3333-4444-555555555555", 6, 0, 0), -1);
    // The panel object exists now: the sink lookup gives the same object as the request code.
    void* panel = nullptr;
    ASSERT_TRUE(loader.Plugin()->QueryPluginInterface(c::kRequestPanelObject, &panel));
    EXPECT_EQ(Lookup<INotifySink>(c::kPluginId, c::kNotifySinkCode), panel);

    const int before = host.RefreshRequests();
    EXPECT_EQ(notify->Send(host.GetNotifyTarget(), c::kMsgHostRefresh, 0, 0), 0);
    EXPECT_EQ(host.RefreshRequests(), before + 1);
}

TEST_F(HostServicesTest, ConfigReadsIniFilesByPath)
{
    auto* config = Lookup<IConfigFilebase>(c::kConfigFileId, c::kConfigFileCode);
    ASSERT_NE(config, nullptr);
    char16_t buffer[c::kConfigCapacity] = {};
    const std::u16string runInfo = QDir(MD_PROGRAM_DIR).filePath("runinfo.ini").toStdU16String();
    ASSERT_TRUE(
        config->ReadString("version", "version", buffer, c::kConfigCapacity, runInfo.c_str()));
    EXPECT_EQ(QString::fromUtf16(buffer).count('.'), 2);
    EXPECT_FALSE(
        config->ReadString("version", "missing", buffer, c::kConfigCapacity, runInfo.c_str()));
    EXPECT_EQ(buffer[0], 0);
    const std::u16string missing = u"/no/such/file.ini";
    EXPECT_FALSE(
        config->ReadString("version", "version", buffer, c::kConfigCapacity, missing.c_str()));
}

TEST_F(HostServicesTest, SettingsPageUsesTheHostAndReleasesWhatItLooksUp)
{
    void* out = nullptr;
    ASSERT_TRUE(loader.Plugin()->QueryPluginInterface(c::kRequestSettings, &out));
    auto* page = static_cast<ISettingBase*>(out);

    char16_t expected[c::kTextCapacity] = {};
    Lookup<IMultilingualInterface>(c::kMultilingualId, c::kMultilingualCode)
        ->GetText(c::kTextSection, "IDS_MODULE_SETTING_TITLE", expected, c::kTextCapacity);
    EXPECT_EQ(QString::fromUtf16(page->Title()), QString::fromUtf16(expected));

    EXPECT_TRUE(page->IsAvailable());
    host.GlobalData().SetFlags(2);
    EXPECT_FALSE(page->IsAvailable());
    host.GlobalData().SetFlags(0xFFFFFFFDu); // every bit but bit 1
    EXPECT_TRUE(page->IsAvailable());
    EXPECT_EQ(host.GlobalData().OutstandingReferences(), 0u);

    QWidget frame;
    frame.resize(600, 400);
    frame.show();
    ASSERT_EQ(page->Show(static_cast<WindowHandle>(frame.winId()), 0, 0, 600, 400), 0);
    ASSERT_EQ(host.AttachedPages().size(), 1);
    EXPECT_EQ(host.AttachedPages()[0].pluginId, QByteArray(c::kPluginId));
    EXPECT_NE(host.AttachedPages()[0].window, 0u);
    EXPECT_TRUE(host.AttachedPages()[0].confirmed);
    EXPECT_NE(frame.findChild<QWidget*>("20101"), nullptr);
    loader.Unload(); // ends the page's window before the frame goes
}

} // namespace
} // namespace md::host
