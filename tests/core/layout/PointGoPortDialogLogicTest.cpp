// The test device port dialog's logic: what it lists, "Test link" over a real pseudo-terminal
// with a scripted device (answered, silent, busy), and the choice kept in the profile.
#include "core/io/IniFile.h"
#include "core/layout/PointGoPortPresenter.h"
#include "core/support/FakePorts.h"
#include "core/support/PtyDevice.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace md {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class PointGoPortDialogLogicTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() /
                   ("pointgo-port-dialog-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::unique_ptr<PointGoPortPresenter> Presenter(PointGoPortChoice current,
                                                    std::string hostPort = {},
                                                    std::vector<SerialDevice> found = {})
    {
        return std::make_unique<PointGoPortPresenter>(
            PointGoPortPresenter::Ports{
                m_texts, [found] { return found; },
                [this](const PointGoPortChoice& choice, std::u16string& reason) {
                    opened.push_back(choice);
                    return OpenPointGoPort(choice, m_texts, reason);
                },
                [this] { ++releases; }, [this] { return designLine; }},
            PointGoProfile(m_folder / "profile.ini"), std::move(current), std::move(hostPort),
            std::nullopt);
    }
    /// Steps the test as the view's timer does until it is over.
    static void RunTest(PointGoPortPresenter& presenter)
    {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (presenter.Step() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
    }

    fs::path m_folder;
    test::MapTexts m_texts;
    std::vector<PointGoPortChoice> opened;
    int releases = 0;
    int designLine = -1; ///< the descriptor of the design's own connection
};

TEST_F(PointGoPortDialogLogicTest, ListsTheDevicesTheHostsDeviceAndAChoiceNoLongerThere)
{
    test::PtyDevice host;
    m_texts.texts["IDS_MD_POINTGO_PORT_HOST"] = u"host";
    m_texts.texts["IDS_MD_POINTGO_PORT_IN_USE"] = u"busy";
    m_texts.texts["IDS_MD_POINTGO_PORT_MISSING"] = u"gone";
    auto presenter = Presenter({"/dev/ttyUSB9", 57600, true}, host.Path(),
                               {{"/dev/ttyUSB0", false}, {"/dev/ttyACM0", true}});
    using Entry = PointGoPortPresenter::Entry;
    auto paths = [&] {
        std::vector<std::pair<std::string, std::u16string>> shown;
        for (const Entry& entry : presenter->Devices())
            shown.emplace_back(entry.path, entry.note);
        return shown;
    };
    EXPECT_EQ(paths(),
              (std::vector<std::pair<std::string, std::u16string>>{{"/dev/ttyUSB0", u""},
                                                                   {"/dev/ttyACM0", u"busy"},
                                                                   {host.Path(), u"host"},
                                                                   {"/dev/ttyUSB9", u"gone"}}));
    EXPECT_EQ(presenter->Port(), "/dev/ttyUSB9");
    EXPECT_EQ(presenter->Baud(), 57600);

    // The host's device held by another open line shows as busy; a found one chosen is listed
    // once.
    const int holder = ::open(host.Path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    presenter->SetPort("/dev/ttyUSB0");
    presenter->Rescan();
    ::close(holder);
    EXPECT_EQ(paths(),
              (std::vector<std::pair<std::string, std::u16string>>{
                  {"/dev/ttyUSB0", u""}, {"/dev/ttyACM0", u"busy"}, {host.Path(), u"host, busy"}}));
    EXPECT_TRUE(presenter->Devices()[2].busy);
}

TEST_F(PointGoPortDialogLogicTest, TestLinkShakesHandsWithTheDeviceAndLetsTheLineGo)
{
    test::PtyDevice device;
    Bytes reply(48, 0);
    reply[0] = 0xA0;
    reply[1] = 2;
    reply[3] = 16;
    reply[5] = 8;
    device.Play({{43, reply}, {3, {0xAE, 0, 0}}});
    auto presenter = Presenter({device.Path(), 115200, false});
    presenter->SetBaud(230400);
    ASSERT_TRUE(presenter->StartTest());
    EXPECT_TRUE(presenter->Testing());
    EXPECT_EQ(presenter->Result(), PointGoPortPresenter::Outcome::Running);
    EXPECT_GE(presenter->Descriptor(), 0);
    EXPECT_EQ(releases, 0) << "the design's own connection is left alone";
    RunTest(*presenter);

    EXPECT_EQ(presenter->Result(), PointGoPortPresenter::Outcome::Answered);
    const std::u16string expected = u"The test device on " +
                                    std::u16string(device.Path().begin(), device.Path().end()) +
                                    u" answered at 230400 baud: 2 data lines, indexed advance.";
    EXPECT_EQ(presenter->OutcomeText(), expected);
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].baud, 230400);
    // The handshake of an empty socket went out, then the probe.
    const Bytes sent = device.Received();
    ASSERT_EQ(sent.size(), 46U);
    EXPECT_EQ(sent[0], 0xAA);
    EXPECT_EQ(sent[1], 1);
    EXPECT_EQ(sent[2], 0);
    EXPECT_EQ(Bytes(sent.end() - 3, sent.end()), (Bytes{0xAE, 0, 0}));
    // Over: the line is free for point-go.
    EXPECT_FALSE(presenter->Testing());
    EXPECT_EQ(PosixSerialPort::Probe(device.Path()), PosixSerialPort::Availability::Free);
}

TEST_F(PointGoPortDialogLogicTest, TestLinkLeavesTheLineOfTheDesignsOwnConnectionAlone)
{
    test::PtyDevice held;
    test::PtyDevice other;
    Bytes reply(48, 0);
    reply[0] = 0xA0;
    reply[1] = 1;
    reply[3] = 4;
    other.Play({{43, reply}, {3, {0xAE, 0, 0}}});
    std::unique_ptr<SerialPort> design = PosixSerialPort::Open(held.Path(), 115200);
    ASSERT_NE(design, nullptr);
    designLine = design->Descriptor();
    held.Play({{1, {}}});
    // Named by a link, as udev names an adapter: still the design's line.
    const fs::path link = m_folder / "ttyHeld";
    fs::create_symlink(held.Path(), link);
    auto presenter = Presenter({link.string(), 115200, true});
    EXPECT_FALSE(presenter->StartTest());
    EXPECT_FALSE(presenter->Testing());
    EXPECT_EQ(presenter->Result(), PointGoPortPresenter::Outcome::Failed);
    EXPECT_NE(presenter->OutcomeText().find(u"connected through " + link.u16string()),
              std::u16string::npos);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(releases, 0);
    // The design's connection still reaches its device, which was sent nothing.
    const Bytes advance{0xAD};
    ASSERT_TRUE(design->Write(advance, 200ms));
    EXPECT_EQ(held.Received(), advance);

    // Another line is tested as ever.
    presenter->SetPort(other.Path());
    ASSERT_TRUE(presenter->StartTest());
    RunTest(*presenter);
    EXPECT_EQ(presenter->Result(), PointGoPortPresenter::Outcome::Answered);
}

TEST_F(PointGoPortDialogLogicTest, TestLinkNamesASilentABusyAndAnUnchosenPort)
{
    test::PtyDevice silent;
    auto presenter = Presenter({silent.Path(), 115200, false});
    presenter->SetTimeouts({150ms, 100ms, 100ms});
    ASSERT_TRUE(presenter->StartTest());
    EXPECT_FALSE(presenter->StartTest()) << "one test at a time";
    const auto started = std::chrono::steady_clock::now();
    RunTest(*presenter);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 140ms);
    EXPECT_EQ(presenter->Result(), PointGoPortPresenter::Outcome::Failed);
    EXPECT_NE(presenter->OutcomeText().find(u"Nothing answered on"), std::u16string::npos);
    EXPECT_NE(presenter->OutcomeText().find(u"115200 baud"), std::u16string::npos);

    // Stopped while it waits: no verdict, the line let go.
    ASSERT_TRUE(presenter->StartTest());
    presenter->StopTest();
    EXPECT_FALSE(presenter->Testing());
    EXPECT_EQ(presenter->Result(), PointGoPortPresenter::Outcome::None);
    EXPECT_EQ(PosixSerialPort::Probe(silent.Path()), PosixSerialPort::Availability::Free);

    // Held by another open line.
    m_texts.texts["IDS_MD_POINTGO_PORT_BUSY"] = u"%1 is busy";
    const int holder = ::open(silent.Path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(presenter->StartTest());
    ::close(holder);
    EXPECT_EQ(presenter->Result(), PointGoPortPresenter::Outcome::Failed);
    EXPECT_EQ(presenter->OutcomeText(),
              std::u16string(silent.Path().begin(), silent.Path().end()) + u" is busy");

    presenter->SetPort("");
    EXPECT_FALSE(presenter->StartTest());
    EXPECT_EQ(presenter->OutcomeText(), u"Choose a port first.");
}

TEST_F(PointGoPortDialogLogicTest, AcceptKeepsAValidChoiceAndLetsTheOldLineGoWhenItChanged)
{
    auto presenter = Presenter({"/dev/ttyUSB0", 115200, false});
    // Unchanged: kept, the connection stays.
    ASSERT_TRUE(presenter->Accept());
    EXPECT_EQ(releases, 0);
    EXPECT_EQ(IniFile::Load(m_folder / "profile.ini").ValueOr("pointgo", "port", ""),
              "/dev/ttyUSB0");

    presenter->SetBaud(12345);
    EXPECT_FALSE(presenter->Accept());
    EXPECT_EQ(presenter->OutcomeText(), u"12345 baud is not a rate a serial line offers.");
    presenter->SetBaud(9600);
    presenter->SetPort("");
    EXPECT_FALSE(presenter->Accept());
    presenter->SetPort("/dev/ttyS0");
    ASSERT_TRUE(presenter->Accept());
    EXPECT_EQ(releases, 1);
    const IniFile profile = IniFile::Load(m_folder / "profile.ini");
    EXPECT_EQ(profile.ValueOr("pointgo", "port", ""), "/dev/ttyS0");
    EXPECT_EQ(profile.ValueOr("pointgo", "baud", ""), "9600");

    // A profile that cannot be written says where.
    fs::create_directories(m_folder / "blocked.ini");
    PointGoPortPresenter blocked({m_texts, {}, {}, {}, {}},
                                 PointGoProfile(m_folder / "blocked.ini"),
                                 {"/dev/ttyS0", 9600, false}, {}, std::nullopt);
    EXPECT_FALSE(blocked.Accept());
    EXPECT_NE(blocked.OutcomeText().find(u"blocked.ini"), std::u16string::npos);
}

} // namespace
} // namespace md
