#pragma once

#include "core/layout/SerialFrames.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace md {

class SerialPointGoLink;

/// One conversation with the point-go test device, run in small steps from the user-interface
/// thread so that a slow or silent device never stops the window: the layout entries one by one
/// (each answered by one byte), then, when asked for, the handshake, its reply and the probe
/// that chooses the advance. No step waits for the device: each writes what is due and takes
/// what has arrived. An exchange that does not end well (a failure or a cancel) forgets the
/// link's port, so the next one opens the device afresh.
class PointGoExchange
{
public:
    enum class State
    {
        Running,
        Done,
        Failed,
        Cancelled
    };
    enum class Stage
    {
        Entries,
        Handshake,
        Probe
    };
    enum class Failure
    {
        None,
        NoPort,
        WriteFailed, ///< a frame could not be written in five tries
        NoAnswer,    ///< the device did not answer in time
        LineGone,    ///< the line hung up or failed
        BadReply     ///< the handshake was refused or its reply cannot be
    };
    /// Steps an exchange until it is no longer Running (the plug-in shows it behind a progress
    /// dialog with Cancel).
    using Runner = std::function<void(PointGoExchange&)>;

    /// Sends the entries (indices of the layout result's entries, with the flag byte) and, with
    /// a handshake frame, the handshake and the probe.
    PointGoExchange(SerialPointGoLink& link, std::vector<std::uint16_t> entries, std::uint8_t flag,
                    std::optional<serialframes::Handshake> handshake);

    /// Does what can be done now without waiting; the state after it.
    State Step();
    /// Stops a running exchange; the port is forgotten (the device is left mid-frame).
    void Cancel();

    State Current() const { return m_state; }
    Stage CurrentStage() const { return m_stage; }
    Failure Why() const { return m_failure; }
    std::size_t EntryCount() const { return m_entries.size(); }
    /// Entries answered so far.
    std::size_t EntriesDone() const { return m_entry; }
    /// Parts done and in all (the entries, the handshake and the probe), for a progress bar.
    std::size_t PartsDone() const;
    std::size_t PartCount() const;
    /// What a caller waiting between steps can poll for: readable when bytes came or the line
    /// is gone; -1 when there is no such descriptor (then step on a short timer).
    int Descriptor() const;

    /// Runs the exchange to its end on the calling thread, waiting on the port between steps
    /// (what the plug-in's progress dialog does without blocking its window).
    static void RunHere(PointGoExchange& exchange);

private:
    using Clock = std::chrono::steady_clock;
    /// The frame the current stage sends and the bytes it waits for.
    std::vector<std::uint8_t> Frame() const;
    std::size_t Expected() const;
    std::chrono::milliseconds Patience() const;
    /// Drops the echo of an earlier advance from the front of the handshake's reply or the
    /// probe's echo; true when one was dropped.
    bool PassOverStrayEcho();
    /// The answer to the current stage is complete: go on to the next.
    void Answered();
    State Fail(Failure failure);

    SerialPointGoLink& m_link;
    std::vector<std::uint16_t> m_entries;
    std::uint8_t m_flag = 0;
    std::optional<serialframes::Handshake> m_handshake;
    State m_state = State::Running;
    Stage m_stage = Stage::Entries;
    Failure m_failure = Failure::None;
    std::size_t m_entry = 0;
    bool m_sent = false; ///< the current stage's frame is out; its answer is awaited
    int m_writeTries = 0;
    Clock::time_point m_sentAt{};
    std::vector<std::uint8_t> m_answer;
};

} // namespace md
