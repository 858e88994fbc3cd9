#pragma once

// What the point-go benchmarks share: a raw pseudo-terminal to play the far end of a serial
// line on, texts that are all empty, and a heartbeat that tells the longest the user-interface
// thread was held.
#include "core/platform/Texts.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace md::bench {

/// A raw pseudo-terminal pair: the master end for the benchmark's device, the path of the slave
/// for the port under test.
class RawPty
{
public:
    RawPty()
    {
        termios raw{};
        ::cfmakeraw(&raw);
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, &raw, nullptr) == 0)
            m_path = name;
    }
    ~RawPty()
    {
        for (int fd : {m_master, m_slave})
            if (fd >= 0)
                ::close(fd);
    }
    RawPty(const RawPty&) = delete;
    RawPty& operator=(const RawPty&) = delete;

    int Master() const { return m_master; }
    const std::string& Path() const { return m_path; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

class NoTexts final : public Texts
{
public:
    std::u16string Text(std::string_view) const override { return {}; }
};

/// Beats every millisecond on the thread's event loop from its construction on; the longest
/// gap between two beats is the longest the loop was held.
class Heartbeat
{
public:
    Heartbeat()
    {
        m_clock.start();
        m_last = m_clock.nsecsElapsed();
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Beat(); });
        m_timer.start();
    }
    /// The longest gap so far, the one up to now included, in milliseconds.
    double LongestMs()
    {
        Beat();
        return static_cast<double>(m_longest) / 1e6;
    }
    double ElapsedMs() const { return static_cast<double>(m_clock.nsecsElapsed()) / 1e6; }

private:
    void Beat()
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }

    QElapsedTimer m_clock;
    QTimer m_timer;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

} // namespace md::bench
