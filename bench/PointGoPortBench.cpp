// The test device port dialog on the user-interface thread: listing the serial lines (each one
// opened, asked and let go) per line, against one open and close of the same lines; and how long
// the window is held while "Test link" waits for a silent device, a heartbeat timer beside it.
#include "BenchSupport.h"
#include "PointGoBenchSupport.h"
#include "core/layout/PointGoPortPresenter.h"
#include "core/posix/SerialDevices.h"
#include "gui/layout/PointGoPortDlg.h"
#include "md/OwnIds.h"

#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <memory>
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
            m_ptys.emplace_back(std::make_unique<bench::RawPty>());
            m_paths.push_back(m_ptys.back()->Path());
            fs::create_symlink(m_paths.back(), m_folder / ("ttyUSB" + std::to_string(i)));
        }
    }
    ~Lines() { fs::remove_all(m_folder); }
    const fs::path& Folder() const { return m_folder; }
    const std::vector<std::string>& Paths() const { return m_paths; }

private:
    fs::path m_folder;
    std::vector<std::unique_ptr<bench::RawPty>> m_ptys;
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

/// The longest gap between 1 ms heartbeats while the dialog tests a silent line.
double HeldDuringTestLink()
{
    bench::NoTexts texts;
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
    bench::Heartbeat heartbeat;
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
    return heartbeat.LongestMs();
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
