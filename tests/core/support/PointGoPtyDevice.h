#pragma once

#include "md/PointGoFrames.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <mutex>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace md::test {

/// A point-go test device with a state of its own on a real pseudo-terminal, reached through a
/// symlink as udev names an adapter under /dev/serial/by-id: it answers layout entries and the
/// handshake, lights LEDs on either advance (the indexed one only when it knows it) and keeps
/// the LED it really lights. Faults are scripted per request: an answer that comes late, a
/// request that is lost, a device that vanishes and comes back at the same path.
class PointGoPtyDevice
{
public:
    /// What happens to the n-th request for an LED (counted from 1 over the whole run).
    enum class Fault
    {
        None,
        Late,   ///< lit at once, answered after lateBy
        Lost,   ///< never reaches the device: nothing lit, nothing answered
        Vanish, ///< the line hangs up before the request arrives; ComeBack() brings a new one
        /// Lit at once, answered only by the next connection: just before its handshake reply
        /// (after the plug-in cleared its input for the handshake) ...
        EchoBeforeReply,
        /// ... or between the handshake reply and the answer to the first request after it.
        EchoBeforeProbe,
    };

    PointGoPtyDevice(std::filesystem::path folder, std::vector<std::uint16_t> lengths, bool indexed,
                     std::uint8_t scanRows = 1)
        : m_link(folder / "ttyPointGo"), m_lengths(std::move(lengths)), m_indexed(indexed),
          m_scanRows(scanRows)
    {
        Plug();
        m_thread = std::thread([this] { Run(); });
    }
    ~PointGoPtyDevice()
    {
        m_stop = true;
        m_thread.join();
        Unplug();
    }
    PointGoPtyDevice(const PointGoPtyDevice&) = delete;
    PointGoPtyDevice& operator=(const PointGoPtyDevice&) = delete;

    /// The stable path the plug-in opens.
    std::string Path() const { return m_link.string(); }
    void SetFault(int request, Fault fault)
    {
        Locked([&] { m_faults.push_back({request, fault}); });
    }
    void SetLines(std::vector<std::uint16_t> lengths)
    {
        Locked([&] { m_lengths = std::move(lengths); });
    }
    std::chrono::milliseconds lateBy{450};

    /// The LED the device lights (-1 before the handshake or while it is gone).
    int Lit() const { return m_lit; }
    bool Gone() const { return m_gone; }
    /// A fresh pseudo-terminal behind the same path, the device keeping its place.
    void ComeBack()
    {
        std::lock_guard lock(m_mutex);
        if (m_gone) {
            Plug();
            m_gone = false;
        }
    }
    /// Requests for LEDs that reached the device, as {k} (indexed) or {-1} (one byte).
    std::vector<int> Requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    void Locked(const std::function<void()>& f)
    {
        std::lock_guard lock(m_mutex);
        f();
    }
    void Plug()
    {
        termios raw{};
        ::cfmakeraw(&raw);
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0)
            return;
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        // Re-pointed in one step, as udev does.
        const std::filesystem::path fresh = m_link.string() + ".new";
        std::filesystem::remove(fresh);
        std::filesystem::create_symlink(name, fresh);
        std::filesystem::rename(fresh, m_link);
    }
    void Unplug()
    {
        for (int* fd : {&m_master, &m_slave})
            if (*fd >= 0) {
                ::close(*fd);
                *fd = -1;
            }
    }
    Fault FaultFor(int request)
    {
        for (const auto& [n, fault] : m_faults)
            if (n == request)
                return fault;
        return Fault::None;
    }
    /// The next byte from the plug-in, or -1 after a short wait.
    int Byte()
    {
        int master = -1;
        {
            std::lock_guard lock(m_mutex);
            master = m_master;
        }
        if (master < 0 || m_gone) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return -1;
        }
        pollfd in{master, POLLIN, 0};
        if (::poll(&in, 1, 20) <= 0)
            return -1;
        std::uint8_t byte = 0;
        return ::read(master, &byte, 1) == 1 ? byte : -1;
    }
    bool Bytes(std::uint8_t* out, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) {
            int byte = -1;
            for (int tries = 0; tries < 50 && byte < 0 && !m_stop; ++tries)
                byte = Byte();
            if (byte < 0)
                return false;
            out[i] = static_cast<std::uint8_t>(byte);
        }
        return true;
    }
    void Send(std::vector<std::uint8_t> bytes, std::chrono::milliseconds after = {})
    {
        if (after.count() > 0) {
            m_sendLater = std::move(bytes);
            m_sendAt = std::chrono::steady_clock::now() + after;
            return;
        }
        std::lock_guard lock(m_mutex);
        if (m_master >= 0) [[maybe_unused]]
            const auto n = ::write(m_master, bytes.data(), bytes.size());
    }
    std::size_t LedCount() const
    {
        std::size_t count = 0;
        for (std::uint16_t length : m_lengths)
            count += std::size_t{length} * m_scanRows;
        return count;
    }
    /// A request for an LED has come: k for the indexed advance, -1 for the one-byte one.
    void Request(int k)
    {
        const int n = ++m_requestCount;
        const Fault fault = FaultFor(n);
        if (fault == Fault::Lost)
            return;
        if (fault == Fault::Vanish) {
            std::lock_guard lock(m_mutex);
            m_gone = true;
            Unplug();
            std::filesystem::remove(m_link);
            return;
        }
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(k);
        }
        const int next = k >= 0 ? k : m_lit + 1;
        if (next < 0 || static_cast<std::size_t>(next) >= LedCount())
            return;
        m_lit = next;
        std::vector<std::uint8_t> answer{0x01};
        if (k >= 0)
            answer = {pointgo::kLightLed, static_cast<std::uint8_t>(k & 0xFF),
                      static_cast<std::uint8_t>(k >> 8)};
        if (fault == Fault::EchoBeforeReply || fault == Fault::EchoBeforeProbe) {
            m_held = answer;
            m_heldBeforeReply = fault == Fault::EchoBeforeReply;
            return;
        }
        if (m_heldArmed) {
            Send(std::move(m_held));
            m_held.clear();
            m_heldArmed = false;
        }
        Send(answer, fault == Fault::Late ? lateBy : std::chrono::milliseconds{});
    }
    void Run()
    {
        while (!m_stop) {
            if (!m_sendLater.empty() && std::chrono::steady_clock::now() >= m_sendAt) {
                Send(std::move(m_sendLater));
                m_sendLater.clear();
            }
            const int first = Byte();
            if (first < 0)
                continue;
            std::uint8_t rest[pointgo::kHandshakeSize] = {};
            switch (first) {
            case pointgo::kEntry:
                if (Bytes(rest, pointgo::kEntryFrameSize - 1))
                    Send({0x01});
                break;
            case pointgo::kHandshake:
                if (Bytes(rest, pointgo::kHandshakeSize - 1))
                    AnswerHandshake();
                break;
            case pointgo::kAdvance:
                Request(-1);
                break;
            case pointgo::kLightLed:
                // A device without the indexed advance takes these bytes for noise.
                if (m_indexed && Bytes(rest, 2))
                    Request(rest[0] | (rest[1] << 8));
                break;
            default:
                break;
            }
        }
    }
    void AnswerHandshake()
    {
        std::vector<std::uint8_t> reply(pointgo::kReplySize, 0);
        std::lock_guard lock(m_mutex);
        reply[0] = pointgo::kAccepted;
        reply[1] = static_cast<std::uint8_t>(m_lengths.size());
        for (std::size_t i = 0; i < m_lengths.size() && i < pointgo::kMaxLines; ++i) {
            reply[2 + 2 * i] = static_cast<std::uint8_t>(m_lengths[i] >> 8);
            reply[3 + 2 * i] = static_cast<std::uint8_t>(m_lengths[i] & 0xFF);
        }
        m_lit = 0;
        if (!m_held.empty() && m_heldBeforeReply) {
            reply.insert(reply.begin(), m_held.begin(), m_held.end());
            m_held.clear();
        }
        m_heldArmed = !m_held.empty();
        if (m_master >= 0) [[maybe_unused]]
            const auto n = ::write(m_master, reply.data(), reply.size());
    }

    std::filesystem::path m_link;
    std::vector<std::uint16_t> m_lengths;
    const bool m_indexed;
    const std::uint8_t m_scanRows;
    mutable std::mutex m_mutex;
    int m_master = -1;
    int m_slave = -1;
    std::atomic<bool> m_gone{false};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_lit{-1};
    int m_requestCount = 0;
    std::vector<std::pair<int, Fault>> m_faults;
    std::vector<int> m_requests;
    std::vector<std::uint8_t> m_sendLater;
    std::vector<std::uint8_t> m_held; ///< an answer kept back for the next connection
    bool m_heldBeforeReply = false;
    bool m_heldArmed = false; ///< the held answer goes out before the next request's
    std::chrono::steady_clock::time_point m_sendAt;
    std::thread m_thread;
};

} // namespace md::test
