#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace md::host {

/// A point-go test device on the far end of a pseudo-terminal, as a real one on a serial line
/// would answer: one byte per layout entry, the handshake reply with its data lines, and in
/// point-go either advance: the next LED lit for every one-byte advance, LED k lit and its
/// frame echoed for every indexed one (so it also answers the probe after the handshake). It runs
/// on its own thread, so it answers while the plug-in waits for it on the user-interface thread.
///
/// The plug-in reaches it through a link that stays put, as udev names an adapter under
/// /dev/serial/by-id, so that it can be unplugged and plugged in again at the same path. Faults
/// are scripted per request for an LED (counted from 1 over the device's life, the probe after
/// each handshake included): an answer that comes late, and a device that vanishes (the line
/// hangs up) instead of answering and comes back a while later on a fresh line behind the same
/// link, keeping its place.
class VirtualTestDevice
{
public:
    struct Lines
    {
        int dataLines = 1;      ///< reported when no layout entries came before the handshake
        int pixelsPerLine = 16; ///< pixels one scan row of a line drives
        int ledsPerPixel = 1;   ///< LEDs of the cell design per pixel
    };
    /// The LED the device lights: data line, scan row, pixel position from 1, LED in the cell.
    struct Lit
    {
        int line = 0;
        int scanRow = 0;
        int position = 1;
        int led = 0;
    };

    explicit VirtualTestDevice(Lines lines);
    ~VirtualTestDevice();
    VirtualTestDevice(const VirtualTestDevice&) = delete;
    VirtualTestDevice& operator=(const VirtualTestDevice&) = delete;

    /// The lines a new design gets from now on.
    void SetLines(Lines lines)
    {
        std::lock_guard lock(m_mutex);
        m_lines = lines;
    }
    /// Creates the pseudo-terminal and the link to it (at link, or in a folder of the temporary
    /// folder of its own when empty) and starts answering; false when none could be made.
    bool Start(std::filesystem::path link = {});
    /// The device path the plug-in opens: the link to the pseudo-terminal's slave.
    const std::string& Path() const { return m_path; }

    /// The answer to request n for an LED comes after the given time instead of at once.
    void AnswerLate(int request, std::chrono::milliseconds by);
    /// Request n for an LED is never seen: the line hangs up instead and a fresh one comes
    /// back behind the same path after the given time.
    void VanishAt(int request, std::chrono::milliseconds away);
    /// Takes a script of faults: "late:N[:MS]" and "vanish:N[:MS]", separated by commas (the
    /// host's --device-faults); false, with nothing taken, when a part cannot be read.
    bool Script(const std::string& faults);
    /// Requests for LEDs seen so far.
    int Requests() const { return m_requests; }
    /// True while the line is gone.
    bool Gone() const { return m_gone; }

    /// Called on the device's thread whenever it lights an LED.
    std::function<void(const Lit&)> onLit;
    /// Called on the device's thread with every frame: "<-" received, "->" sent, hex bytes.
    std::function<void(const std::string&)> onLog;

    /// Line lengths the last handshake reply reported.
    std::vector<std::uint16_t> ReportedLengths() const;

private:
    struct Fault
    {
        int request = 0;
        bool vanish = false;
        std::chrono::milliseconds after{};
    };
    using Clock = std::chrono::steady_clock;
    bool Plug();
    void Unplug();
    /// Counts a request for an LED; false when the line vanished instead.
    bool Request(std::chrono::milliseconds& late);
    /// How long the thread may wait for the plug-in's next byte (-1: for ever).
    int Patience() const;
    void Due();
    void Run();
    bool ReadExactly(std::uint8_t* bytes, std::size_t count);
    void Send(const std::vector<std::uint8_t>& bytes, std::chrono::milliseconds late = {});
    void Log(const char* direction, const std::uint8_t* bytes, std::size_t count) const;
    void AnswerHandshake(const std::vector<std::uint8_t>& frame);
    void Advance();
    /// Lights LED k of the device's order; false when the module has no such LED.
    bool LightLed(std::size_t k);

    Lines m_lines;
    int m_master = -1;
    int m_slave = -1;
    int m_wake[2] = {-1, -1};
    std::string m_path;
    std::filesystem::path m_ownFolder; ///< the folder of the link, when the device made it
    std::vector<Fault> m_faults;
    std::atomic<int> m_requests{0};
    std::atomic<bool> m_gone{false};
    Clock::time_point m_backAt{};
    std::vector<std::uint8_t> m_later; ///< a late answer and when it goes
    Clock::time_point m_laterAt{};
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::uint16_t> m_lengths;
    int m_entriesSeen = 0;
    int m_scanRows = 1;
    Lit m_lit;
    bool m_litValid = false;
};

} // namespace md::host
