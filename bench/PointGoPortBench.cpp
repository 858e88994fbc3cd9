// The test device port dialog on the user-interface thread: listing the serial lines (each one
// opened, asked and let go) per line, against one open and close of the same lines; and how long
// the window is held while "Test link" waits for a silent device, a heartbeat timer beside it.
#include "BenchSupport.h"
#include "core/layout/PointGoPortPresenter.h"
#include "core/platform/Texts.h"
#include "core/posix/SerialDevices.h"
#include "gui/layout/PointGoPortDlg.h"
#include "md/OwnIds.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

using namespace md;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kLines = 32;

/// A folder of kLines serial names, each a pseudo-terminal nobody answers on.
class Lines
{
public:
    Lines()
        : m_folder(fs::temp_directory_path() / ("pointgo-port-bench-" + std::to_string(::getpid())))
    {
        fs::create_directories(m_folder);
        for (int i = 0; i < kLines; ++i) {
            termios raw{};
            ::cfmakeraw(&raw);
            int master = -1, slave = -1;
            char name[256] = {};
            ::openpty(&master, &slave, name, &raw, nullptr);
            m_fds.push_back(master);
            m_fds.push_back(slave);
            m_paths.push_back(name);
            fs::create_symlink(name, m_folder / ("ttyUSB" + std::to_string(i)));
        }
    }
    ~Lines()
    {
        for (int fd : m_fds)
            ::close(fd);
        fs::remove_all(m_folder);
    }
    const fs::path& Folder() const { return m_folder; }
    const std::vector<std::string>& Paths() const { return m_paths; }

private:
    fs::path m_folder;
    std::vector<int> m_fds;
    std::vector<std::string> m_paths;
};

Lines& Shared()
{
    static Lines lines;
    return lines;
}

void ListLines()
{
    if (ListSerialDevices(Shared().Folder()).size() != kLines)
        std::abort();
}

void OpenAndClose()
{
    for (const std::string& path : Shared().Paths())
        ::close(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
}

// Listing a line opens it, asks it for its settings and lock, and closes it: at least the four
// system calls of a pty, never under a microsecond.
void BM_ListSerialLines(benchmark::State& state)
{
    for (auto _ : state)
        ListLines();
    bench::TimePerItem(state, "time_per_line", kLines, 1000);
}
BENCHMARK(BM_ListSerialLines)->UseRealTime();

class NoTexts final : public Texts
{
public:
    std::u16string Text(std::string_view) const override { return {}; }
};

/// The longest gap between 1 ms heartbeats while the dialog tests a silent line.
double HeldDuringTestLink()
{
    NoTexts texts;
    const std::string port = Shared().Paths().front();
    PointGoPortPresenter presenter({texts,
                                    [] { return ListSerialDevices(Shared().Folder()); },
                                    [&](const PointGoPortChoice& choice, std::u16string& reason) {
                                        return OpenPointGoPort(choice, texts, reason);
                                    },
                                    {},
                                    {}},
                                   PointGoProfile(Shared().Folder() / "profile.ini"),
                                   {port, 115200, true}, {}, std::nullopt);
    presenter.SetTimeouts({1500ms, 500ms, 500ms});
    PointGoPortDlg dialog(presenter, texts);
    dialog.show();
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    heartbeat.start();
    // The window's own event loop runs until the test has given up.
    QEventLoop loop;
    QTimer over;
    QObject::connect(&over, &QTimer::timeout, [&] {
        if (!presenter.Testing())
            loop.quit();
    });
    over.start(20);
    dialog.findChild<QPushButton*>(QString::number(own::kPointGoTestLink))->click();
    loop.exec();
    longest = std::max(longest, clock.nsecsElapsed() - last);
    return static_cast<double>(longest) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    return md::bench::Main(argc, argv, [] {
        const double list = bench::SecondsPer(ListLines, 200);
        const double open = bench::SecondsPer(OpenAndClose, 200);
        std::printf("listing %d serial lines: %.3f ms (%.2f x opening and closing each once)\n",
                    kLines, list * 1e3, list / open);
        std::printf("test link to a silent device (1.5 s reply time-out): window held at most "
                    "%.2f ms\n",
                    HeldDuringTestLink());
    });
}
