#pragma once

#include "core/posix/PosixSerialPort.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace md::test {

/// The device end of a real pseudo-terminal pair, playing a script on its own thread: for
/// each step it reads the given number of bytes (what the link sent) and writes the reply.
/// A step that expects bytes which never come ends the script after the wait.
class PtyDevice
{
public:
    struct Step
    {
        std::size_t expect = 0;
        std::vector<std::uint8_t> reply;
    };

    PtyDevice()
    {
        termios raw{};
        ::cfmakeraw(&raw);
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, &raw, nullptr) == 0)
            m_path = name;
    }
    ~PtyDevice()
    {
        Join();
        if (m_master >= 0)
            ::close(m_master);
        if (m_slave >= 0)
            ::close(m_slave);
    }
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    const std::string& Path() const { return m_path; }
    std::unique_ptr<PosixSerialPort> OpenPort() const
    {
        return PosixSerialPort::Open(m_path, 115200);
    }

    /// Plays the steps; each waits at most wait for its bytes.
    void Play(std::vector<Step> steps,
              std::chrono::milliseconds wait = std::chrono::milliseconds(3000))
    {
        Join();
        m_thread = std::thread([this, steps = std::move(steps), wait] {
            for (const Step& step : steps) {
                if (!Take(step.expect, wait))
                    return;
                if (!step.reply.empty() &&
                    ::write(m_master, step.reply.data(), step.reply.size()) < 0)
                    return;
            }
        });
    }
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    /// Writes bytes at once from the test's thread.
    void Send(const std::vector<std::uint8_t>& bytes) const
    {
        [[maybe_unused]] const auto written = ::write(m_master, bytes.data(), bytes.size());
    }
    /// Closes the device end: the line hangs up for whoever holds the other one.
    void HangUp()
    {
        Join();
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }
    /// What the link sent, once the script is over.
    std::vector<std::uint8_t> Received()
    {
        Join();
        std::lock_guard lock(m_mutex);
        return m_received;
    }

private:
    bool Take(std::size_t count, std::chrono::milliseconds wait)
    {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        std::size_t got = 0;
        while (got < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd in{m_master, POLLIN, 0};
            if (::poll(&in, 1, static_cast<int>(left.count())) <= 0)
                continue;
            std::uint8_t buffer[256];
            const ssize_t n = ::read(m_master, buffer, std::min(sizeof buffer, count - got));
            if (n <= 0)
                return false;
            std::lock_guard lock(m_mutex);
            m_received.insert(m_received.end(), buffer, buffer + n);
            got += static_cast<std::size_t>(n);
        }
        return true;
    }

    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<std::uint8_t> m_received;
};

} // namespace md::test
