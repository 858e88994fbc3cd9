// Which serial line point-go opens: the user's choice before the host's and the installation's,
// a line held by another program named as busy, and the serial devices a folder offers.
#include "core/layout/PointGoPort.h"
#include "core/io/IniFile.h"
#include "core/parameters/RuntimeSettings.h"
#include "core/platform/SerialPort.h"
#include "core/posix/SerialDevices.h"
#include "core/support/FakeHost.h"
#include "core/support/FakePorts.h"
#include "core/support/PtyDevice.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace md {
namespace {

namespace fs = std::filesystem;

class PointGoPortTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() /
                   ("pointgo-port-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path Write(const std::string& name, const std::string& text) const
    {
        fs::create_directories((m_folder / name).parent_path());
        std::ofstream(m_folder / name) << text;
        return m_folder / name;
    }

    fs::path m_folder;
};

/// Another process that holds the advisory lock on a device until it is destroyed.
class LockHolder
{
public:
    explicit LockHolder(const std::string& device)
    {
        int ready[2] = {-1, -1};
        if (::pipe(ready) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
            const char locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 1 : 0;
            [[maybe_unused]] auto written = ::write(ready[1], &locked, 1);
            ::pause();
            ::_exit(0);
        }
        char locked = 0;
        m_locked = m_pid > 0 && ::read(ready[0], &locked, 1) == 1 && locked == 1;
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~LockHolder() { Release(); }
    bool Locked() const { return m_locked; }
    void Release()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    bool m_locked = false;
};

TEST_F(PointGoPortTest, TheUsersChoiceComesBeforeTheHostAndRunInfo)
{
    test::FakeHost host;
    host.config["pointgo/port"] = u"/dev/pts/host-device";
    const fs::path runInfo = Write("runinfo.ini", "[pointgo]\nport=/dev/ttyUSB7\nbaud=57600\n");
    const RuntimeSettings viaHost = RuntimeSettings::FromHost(host, runInfo);
    const RuntimeSettings fileOnly = RuntimeSettings::FromFile(runInfo);

    // Nothing chosen: the host's device (with the file's rate), or the file's without a host.
    const PointGoProfile profile(m_folder / "config" / "profile.ini");
    PointGoPortChoice choice = ChoosePointGoPort(profile, viaHost);
    EXPECT_EQ(choice.port, "/dev/pts/host-device");
    EXPECT_EQ(choice.baud, 57600);
    EXPECT_FALSE(choice.portFromProfile);
    EXPECT_EQ(ChoosePointGoPort(profile, fileOnly).port, "/dev/ttyUSB7");

    // A saved choice wins over both and leaves the rest of the profile as it was.
    Write("config/profile.ini", "[controller]\nport=3\n");
    ASSERT_TRUE(profile.Save("/dev/ttyACM0", 921600));
    choice = ChoosePointGoPort(profile, viaHost);
    EXPECT_EQ(choice.port, "/dev/ttyACM0");
    EXPECT_EQ(choice.baud, 921600);
    EXPECT_TRUE(choice.portFromProfile);
    const IniFile saved = IniFile::Load(profile.Path());
    EXPECT_EQ(saved.ValueOr("controller", "port", ""), "3");
    EXPECT_EQ(saved.ValueOr("pointgo", "baud", ""), "921600");

    // Each key on its own: a rate termios does not know is no choice, an empty port neither.
    Write("config/profile.ini", "[pointgo]\nport=/dev/ttyS1\nbaud=12345\n");
    choice = ChoosePointGoPort(profile, viaHost);
    EXPECT_EQ(choice.port, "/dev/ttyS1");
    EXPECT_EQ(choice.baud, 57600);
    Write("config/profile.ini", "[pointgo]\nport=\nbaud=9600\n");
    choice = ChoosePointGoPort(profile, viaHost);
    EXPECT_EQ(choice.port, "/dev/pts/host-device");
    EXPECT_EQ(choice.baud, 9600);

    // No port anywhere: point-go says where to choose one.
    test::MapTexts texts;
    std::u16string reason;
    EXPECT_FALSE(OpenPointGoPort({}, texts, reason));
    EXPECT_NE(reason.find(u"Test device port"), std::u16string::npos);
}

TEST_F(PointGoPortTest, ALineHeldElsewhereIsNamedBusyAndOpensOnceReleased)
{
    test::PtyDevice device;
    ASSERT_FALSE(device.Path().empty());
    test::MapTexts texts;
    texts.texts["IDS_MD_POINTGO_PORT_BUSY"] = u"busy: %1";
    const PointGoPortChoice choice{device.Path(), 115200, true};
    std::u16string reason;

    {
        LockHolder other(device.Path());
        ASSERT_TRUE(other.Locked());
        EXPECT_EQ(PosixSerialPort::Probe(device.Path()), PosixSerialPort::Availability::Busy);
        EXPECT_FALSE(OpenPointGoPort(choice, texts, reason));
        EXPECT_EQ(reason, u"busy: " + std::u16string(device.Path().begin(), device.Path().end()));
    }
    EXPECT_EQ(PosixSerialPort::Probe(device.Path()), PosixSerialPort::Availability::Free);

    std::unique_ptr<SerialPort> port = OpenPointGoPort(choice, texts, reason);
    ASSERT_TRUE(port);
    // Held: a second port of this program is refused too, and the line is exclusive.
    reason.clear();
    EXPECT_FALSE(OpenPointGoPort(choice, texts, reason));
    EXPECT_EQ(reason.rfind(u"busy: ", 0), 0U);
    const int watcher = ::open(device.Path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(watcher, 0) << "root opens an exclusive line";
    int exclusive = 0;
    ASSERT_EQ(::ioctl(watcher, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);

    // Closed, the line is free again and no longer exclusive, though its other end stays open.
    port.reset();
    ASSERT_EQ(::ioctl(watcher, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(watcher);
    EXPECT_TRUE(OpenPointGoPort(choice, texts, reason));

    // A device that is not there is named with the system's reason, not as busy.
    reason.clear();
    EXPECT_FALSE(OpenPointGoPort({"/dev/no-such-tty", 115200, true}, texts, reason));
    EXPECT_NE(reason.find(u"/dev/no-such-tty"), std::u16string::npos);
    EXPECT_EQ(reason.find(u"busy"), std::u16string::npos);
}

TEST_F(PointGoPortTest, TheSerialLinesOfAFolderAreListedInNaturalOrder)
{
    test::PtyDevice usb, acm, s2, s10;
    fs::create_symlink(usb.Path(), m_folder / "ttyUSB0");
    fs::create_symlink(acm.Path(), m_folder / "ttyACM1");
    fs::create_symlink(s10.Path(), m_folder / "ttyS10");
    fs::create_symlink(s2.Path(), m_folder / "ttyS2");
    Write("ttyS3", "a file, no terminal");
    fs::create_symlink(m_folder / "missing", m_folder / "ttyS4");
    fs::create_symlink(usb.Path(), m_folder / "ttyUSB0.lock");
    fs::create_symlink(usb.Path(), m_folder / "ttyAMA0");
    fs::create_symlink(usb.Path(), m_folder / "ttyS");

    LockHolder other(acm.Path());
    ASSERT_TRUE(other.Locked());
    const std::vector<SerialDevice> expected = {{(m_folder / "ttyUSB0").string(), false},
                                                {(m_folder / "ttyACM1").string(), true},
                                                {(m_folder / "ttyS2").string(), false},
                                                {(m_folder / "ttyS10").string(), false}};
    EXPECT_EQ(ListSerialDevices(m_folder), expected);
    EXPECT_TRUE(ListSerialDevices(m_folder / "missing").empty());
}

} // namespace
} // namespace md
