#include "VirtualTestDevice.h"

#include "md/PointGoFrames.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <string_view>
#include <termios.h>
#include <unistd.h>

namespace md::host {

namespace {

constexpr int kFrameWaitMs = 1000;
constexpr std::string_view kFolderPrefix = "md-test-device-";
/// Past the plug-in's patience of 500 ms, so that it asks whether to retry.
constexpr std::chrono::milliseconds kDefaultLate{800};
constexpr std::chrono::milliseconds kDefaultAway{300};

/// The folders of links left by hosts that ended without tidying up (killed ones) go.
void RemoveStaleFolders(const std::filesystem::path& temp)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(temp, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kFolderPrefix, 0) != 0)
            continue;
        const int pid = std::atoi(name.c_str() + kFolderPrefix.size());
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            std::filesystem::remove_all(entry.path(), error);
    }
}

} // namespace

VirtualTestDevice::VirtualTestDevice(Lines lines) : m_lines(lines) {}

VirtualTestDevice::~VirtualTestDevice()
{
    m_stop = true;
    if (m_wake[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const auto written = ::write(m_wake[1], &byte, 1);
    }
    if (m_thread.joinable())
        m_thread.join();
    Unplug();
    for (int fd : {m_wake[0], m_wake[1]})
        if (fd >= 0)
            ::close(fd);
    std::error_code ignored;
    if (!m_ownFolder.empty())
        std::filesystem::remove_all(m_ownFolder, ignored);
}

bool VirtualTestDevice::Start(std::filesystem::path link)
{
    if (::pipe2(m_wake, O_CLOEXEC) != 0)
        return false;
    if (link.empty()) {
        std::error_code error;
        const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
        RemoveStaleFolders(temp);
        m_ownFolder = temp / (std::string(kFolderPrefix) + std::to_string(::getpid()) + "-" +
                              std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(m_ownFolder, error);
        link = m_ownFolder / "ttyTestDevice";
    }
    m_path = link.string();
    if (!Plug())
        return false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

bool VirtualTestDevice::Plug()
{
    termios raw{};
    ::cfmakeraw(&raw);
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0)
        return false;
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    // Re-pointed in one step, as udev does.
    std::error_code error;
    const std::filesystem::path fresh = m_path + ".new";
    std::filesystem::remove(fresh, error);
    std::filesystem::create_symlink(name, fresh, error);
    if (!error)
        std::filesystem::rename(fresh, m_path, error);
    if (error) {
        Unplug();
        return false;
    }
    return true;
}

void VirtualTestDevice::Unplug()
{
    for (int* fd : {&m_master, &m_slave})
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove(m_path, ignored);
}

void VirtualTestDevice::AnswerLate(int request, std::chrono::milliseconds by)
{
    std::lock_guard lock(m_mutex);
    m_faults.push_back({request, false, by});
}

void VirtualTestDevice::VanishAt(int request, std::chrono::milliseconds away)
{
    std::lock_guard lock(m_mutex);
    m_faults.push_back({request, true, away});
}

bool VirtualTestDevice::Script(const std::string& faults)
{
    std::vector<Fault> read;
    std::istringstream parts(faults);
    for (std::string part; std::getline(parts, part, ',');) {
        std::istringstream fields(part);
        std::string kind;
        std::getline(fields, kind, ':');
        Fault fault;
        fault.vanish = kind == "vanish";
        if (!fault.vanish && kind != "late")
            return false;
        char colon = 0;
        long ms = fault.vanish ? kDefaultAway.count() : kDefaultLate.count();
        if (!(fields >> fault.request) || fault.request < 1)
            return false;
        if (fields >> colon && (colon != ':' || !(fields >> ms) || ms < 0))
            return false;
        fault.after = std::chrono::milliseconds(ms);
        read.push_back(fault);
    }
    std::lock_guard lock(m_mutex);
    m_faults.insert(m_faults.end(), read.begin(), read.end());
    return true;
}

bool VirtualTestDevice::Request(std::chrono::milliseconds& late)
{
    const int n = ++m_requests;
    late = {};
    std::optional<Fault> fault;
    {
        std::lock_guard lock(m_mutex);
        for (const Fault& f : m_faults)
            if (f.request == n)
                fault = f;
    }
    if (!fault)
        return true;
    if (fault->vanish) {
        // Gone before the line hangs up, so that whoever sees the hang-up finds it gone.
        m_backAt = Clock::now() + fault->after;
        m_gone = true;
        Log("-- (gone)", nullptr, 0);
        Unplug();
        return false;
    }
    late = fault->after;
    return true;
}

int VirtualTestDevice::Patience() const
{
    std::optional<Clock::time_point> next;
    if (!m_later.empty())
        next = m_laterAt;
    if (m_gone)
        next = next ? std::min(*next, m_backAt) : m_backAt;
    if (!next)
        return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now());
    return static_cast<int>(std::max<std::int64_t>(wait.count(), 0));
}

void VirtualTestDevice::Due()
{
    const auto now = Clock::now();
    if (!m_later.empty() && now >= m_laterAt) {
        const std::vector<std::uint8_t> bytes = std::move(m_later);
        m_later.clear();
        Send(bytes);
    }
    if (m_gone && now >= m_backAt) {
        if (Plug()) {
            m_gone = false;
            Log("-- (back)", nullptr, 0);
        } else {
            m_backAt = now + kDefaultAway;
        }
    }
}

std::vector<std::uint16_t> VirtualTestDevice::ReportedLengths() const
{
    std::lock_guard lock(m_mutex);
    return m_lengths;
}

void VirtualTestDevice::Log(const char* direction, const std::uint8_t* bytes,
                            std::size_t count) const
{
    if (!onLog)
        return;
    std::string text = std::string("device ") + direction;
    if (!bytes)
        count = 0;
    char hex[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
        text += hex;
    }
    onLog(text);
}

bool VirtualTestDevice::ReadExactly(std::uint8_t* bytes, std::size_t count)
{
    std::size_t got = 0;
    while (got < count && !m_stop) {
        pollfd wait[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        const int ready = ::poll(wait, 2, got == 0 ? Patience() : kFrameWaitMs);
        if (ready == 0)
            return false; // the rest of a frame never came
        if (ready < 0 || (wait[1].revents & POLLIN))
            return false;
        const ssize_t n = ::read(m_master, bytes + got, count - got);
        if (n <= 0) {
            // No one has the line open at the moment: wait and look again.
            ::usleep(20000);
            continue;
        }
        got += static_cast<std::size_t>(n);
    }
    return got == count;
}

void VirtualTestDevice::Send(const std::vector<std::uint8_t>& bytes, std::chrono::milliseconds late)
{
    if (late.count() > 0) {
        m_later = bytes;
        m_laterAt = Clock::now() + late;
        return;
    }
    Log("->", bytes.data(), bytes.size());
    [[maybe_unused]] const auto written = ::write(m_master, bytes.data(), bytes.size());
}

void VirtualTestDevice::Run()
{
    while (!m_stop) {
        Due();
        std::uint8_t first = 0;
        if (!ReadExactly(&first, 1))
            continue;
        switch (first) {
        case pointgo::kEntry: {
            std::uint8_t rest[pointgo::kEntryFrameSize - 1] = {};
            if (!ReadExactly(rest, sizeof rest))
                break;
            const std::uint8_t frame[] = {first, rest[0], rest[1]};
            Log("<-", frame, sizeof frame);
            ++m_entriesSeen;
            Send({0x01});
            break;
        }
        case pointgo::kHandshake: {
            std::vector<std::uint8_t> frame(pointgo::kHandshakeSize, 0);
            frame[0] = first;
            if (!ReadExactly(frame.data() + 1, frame.size() - 1))
                break;
            Log("<-", frame.data(), frame.size());
            AnswerHandshake(frame);
            break;
        }
        case pointgo::kAdvance: {
            Log("<-", &first, 1);
            std::chrono::milliseconds late{};
            if (!Request(late))
                break;
            Advance();
            Send({0x01}, late);
            break;
        }
        case pointgo::kLightLed: {
            std::uint8_t index[pointgo::kLightLedFrameSize - 1] = {};
            if (!ReadExactly(index, sizeof index))
                break;
            const std::vector<std::uint8_t> frame = {first, index[0], index[1]};
            Log("<-", frame.data(), frame.size());
            // Lit, then echoed; an LED the module does not have gets no answer.
            std::chrono::milliseconds late{};
            if (Request(late) && LightLed(static_cast<std::size_t>(index[0] | (index[1] << 8))))
                Send(frame, late);
            break;
        }
        default:
            Log("<- (not a frame)", &first, 1);
            break;
        }
    }
}

void VirtualTestDevice::AnswerHandshake(const std::vector<std::uint8_t>& frame)
{
    // A layout sent before the handshake names the lines: one per entry; a new design gets
    // the lines of the module the device is wired to.
    Lines wiring;
    {
        std::lock_guard lock(m_mutex);
        wiring = m_lines;
    }
    const int lines = std::clamp(m_entriesSeen > 0 ? m_entriesSeen : wiring.dataLines, 1,
                                 static_cast<int>(pointgo::kMaxLines));
    m_entriesSeen = 0;
    const int length =
        std::clamp(wiring.pixelsPerLine * std::max(wiring.ledsPerPixel, 1), 1, 0xFFFF);
    std::vector<std::uint8_t> reply(pointgo::kReplySize, 0);
    reply[0] = pointgo::kAccepted;
    reply[1] = static_cast<std::uint8_t>(lines);
    std::vector<std::uint16_t> lengths;
    for (int i = 0; i < lines; ++i) {
        reply[2 + 2 * i] = static_cast<std::uint8_t>(length >> 8);
        reply[3 + 2 * i] = static_cast<std::uint8_t>(length & 0xFF);
        lengths.push_back(static_cast<std::uint16_t>(length));
    }
    {
        std::lock_guard lock(m_mutex);
        m_lengths = lengths;
        m_scanRows = std::max<int>(frame[1], 1);
        m_lit = Lit{};
        m_litValid = true;
    }
    Send(reply);
    if (onLit)
        onLit(m_lit);
}

bool VirtualTestDevice::LightLed(std::size_t k)
{
    Lit lit;
    {
        std::lock_guard lock(m_mutex);
        const int leds = std::max(m_lines.ledsPerPixel, 1);
        const std::size_t rows = static_cast<std::size_t>(std::max(m_scanRows, 1));
        std::size_t rest = k;
        lit = Lit{};
        bool found = false;
        for (std::size_t line = 0; line < m_lengths.size() && !found; ++line) {
            const std::size_t length = m_lengths[line];
            if (rest >= length * rows) {
                rest -= length * rows;
                continue;
            }
            lit.line = static_cast<int>(line);
            lit.scanRow = static_cast<int>(rest / length);
            const std::size_t inRow = rest % length;
            lit.position = static_cast<int>(inRow / static_cast<std::size_t>(leds)) + 1;
            lit.led = static_cast<int>(inRow % static_cast<std::size_t>(leds));
            found = true;
        }
        if (!found)
            return false;
        m_lit = lit;
        m_litValid = true;
    }
    if (onLit)
        onLit(lit);
    return true;
}

void VirtualTestDevice::Advance()
{
    Lit lit;
    {
        std::lock_guard lock(m_mutex);
        if (!m_litValid)
            return;
        const int leds = std::max(m_lines.ledsPerPixel, 1);
        if (++m_lit.led >= leds) {
            m_lit.led = 0;
            if (++m_lit.position > m_lines.pixelsPerLine) {
                m_lit.position = 1;
                if (++m_lit.scanRow >= m_scanRows) {
                    m_lit.scanRow = 0;
                    if (++m_lit.line >= static_cast<int>(m_lengths.size()))
                        m_litValid = false; // every LED has been shown
                }
            }
        }
        lit = m_lit;
        if (!m_litValid)
            return;
    }
    if (onLit)
        onLit(lit);
}

} // namespace md::host
