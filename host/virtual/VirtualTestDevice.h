#pragma once

#include <atomic>
#include <cstdint>
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
    /// Creates the pseudo-terminal and starts answering; false when none could be made.
    bool Start();
    /// The device path the plug-in opens (the pseudo-terminal's slave).
    const std::string& Path() const { return m_path; }

    /// Called on the device's thread whenever it lights an LED.
    std::function<void(const Lit&)> onLit;
    /// Called on the device's thread with every frame: "<-" received, "->" sent, hex bytes.
    std::function<void(const std::string&)> onLog;

    /// Line lengths the last handshake reply reported.
    std::vector<std::uint16_t> ReportedLengths() const;

private:
    void Run();
    bool ReadExactly(std::uint8_t* bytes, std::size_t count);
    void Send(const std::vector<std::uint8_t>& bytes);
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
