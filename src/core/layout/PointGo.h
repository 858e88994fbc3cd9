#pragma once

#include "core/design/CellLed.h"
#include "core/layout/PointGoExchange.h"
#include "core/layout/PointGoResult.h"
#include "core/layout/SerialFrames.h"
#include "md/OwnIds.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace md {

class Clock;
class LayoutModel;
class PointTracer;
class Prompter;
class SerialPointGoLink;
class SerialPort;
class SocketDesign;
class Texts;

/// Point-go: the LED-by-LED way of building a layout with a test device on a serial line. The
/// device lights one LED after the other; the user confirms each on the grid (a click or Space)
/// and it is appended to the current data line of point-go's own result (the design document
/// keeps it) until every line is full; Finish then makes it the layout result. While point-go
/// is selected the tracer leaves the layout alone. Also the commands that prepare the grid for
/// it: the work area (the marked pixels) and the colour layer views.
class PointGo
{
public:
    // Edit modes of the grid that point-go sets (the tracer keeps the mode).
    static constexpr std::uint32_t kMarkAll = 0;
    static constexpr std::uint32_t kUnmarkAll = 1;
    static constexpr std::uint32_t kVirtualCleared = 4;
    static constexpr std::uint32_t kNormalView = 5;
    static constexpr std::uint32_t kFirstLayer = 6; ///< 6, 7, 8: one colour's layer
    static constexpr std::uint32_t kRefreshed = 10;
    static constexpr std::uint32_t kMayReset = 11;
    static constexpr std::uint32_t kHardwareSocket = 12;
    static constexpr std::uint32_t kAllLeds = 13;
    static constexpr std::uint32_t kGroup1 = 14;
    static constexpr std::uint32_t kGroup2 = 15;

    /// Chooses one of several candidate LEDs of the current pixel (their indices in its LED
    /// list); nothing when the user chooses none.
    using LedChooser = std::function<std::optional<std::size_t>(const std::vector<CellLed>& leds,
                                                                const std::vector<std::size_t>&)>;
    /// Opens the configured port; nothing with where and why in reason when it cannot.
    using PortOpener = std::function<std::unique_ptr<SerialPort>(std::u16string& reason)>;
    /// The pixel decomposition dialog: the three codes in, the chosen ones out (nothing on
    /// cancel).
    using DecompositionDialog =
        std::function<std::optional<std::array<std::uint32_t, 3>>(std::array<std::uint32_t, 3>)>;

    struct Ports
    {
        Prompter& prompter;
        const Texts& texts;
        const Clock& clock;
        LedChooser chooseLed;
        PortOpener openPort;
    };

    // The layout dialog's commands that reach the grid.
    static constexpr int kFirstCommand = 0x1000F;
    static constexpr int kLastCommand = 0x1001E;
    static constexpr int kMarkAllCommand = 0x1000F;
    static constexpr int kPaintMarks = 0x10010;
    static constexpr int kClearVirtual = 0x10011;
    static constexpr int kDecompose = 0x10012;
    static constexpr int kFirstLayerCommand = 0x10013; ///< 0x10013 to 0x10015
    static constexpr int kHold = 0x10016;
    static constexpr int kCheckSocket = 0x10017;
    static constexpr int kFirstModeCommand = 0x10018; ///< 0x10018 to 0x1001A
    static constexpr int kUnmarkAllCommand = 0x1001B;
    static constexpr int kEraseMarks = 0x1001C;
    static constexpr int kReset = 0x1001D;
    static constexpr int kHardwareStart = 0x1001E;
    /// Records the current position as an output that drives no LED (Delete).
    static constexpr int kSkipCommand = own::kPointGoSkip;

    /// What a command needs from the open design.
    struct CommandContext
    {
        const SocketDesign* socket = nullptr;
        HandshakeWords words;
        DecompositionDialog decompose;
        /// Asked before a reset throws the layout away; none = yes.
        std::function<bool()> confirmReset;
    };

    /// result: point-go's own result, kept by the design document beside the tracer.
    PointGo(PointTracer& tracer, PointGoResult& result, SerialPointGoLink& link, Ports ports);

    /// The tracing was given point-go's result back (a design restored after a crash): point-go
    /// goes on from the result's cursor, as over a grid shown again.
    void FollowTracer();

    /// Runs one of the commands 0x1000F to 0x1001E or kSkipCommand; false for another number.
    bool Command(int id, const CommandContext& context);

    /// Sent after every change the grid and the layout dialog show (counts, enabled commands).
    void SetChangedHandler(std::function<void()> handler) { m_onChanged = std::move(handler); }
    /// How an exchange with the device (hardware start, the layout sent on a click) is run to
    /// its end; without one it runs on the calling thread.
    void SetExchangeRunner(PointGoExchange::Runner runner) { m_runExchange = std::move(runner); }

    // The layout dialog's commands.
    void MarkAll(bool marked);
    void ClearVirtualArrangement();
    void DecomposePixels(const DecompositionDialog& dialog);
    void ColourLayer(std::uint32_t colour);
    /// Point-go over every LED (13), group 1 (14) or group 2 (15).
    void SelectMode(std::uint32_t mode);
    /// 0x10016: holds or releases point-go; false when it does not apply now.
    bool ToggleHold();
    /// 0x10017: whether the socket can be used; shows the message when not.
    bool CheckSocket(const SocketDesign* socket);
    /// 0x1001D: a layout built by point-go may be reset.
    void AllowReset();
    /// Hardware start: the socket check, the layout sent, the handshake; true when the link is up.
    bool StartHardware(const SocketDesign* socket, const HandshakeWords& words);

    // Grid events.
    /// Space (and a click in a point-go mode): confirm the lit LED at the current pixel.
    void Step();
    /// The chosen LED is recorded and the device asked for the next one; nothing is recorded
    /// unless the device has said it lights the LED at the cursor.
    void Record();
    /// Back to no point-go: its result goes with the LEDs it hid, the layout result from before
    /// point-go comes back.
    void Reset();
    /// Ctrl+Z: the last recorded position is taken back (its LED drawn again) and the device
    /// asked to light it again; with the one-byte advance, which cannot go back, the status bar
    /// says the device must be restarted from that position. Not redoable. False when there
    /// is nothing to take back.
    bool StepBack();
    /// Delete: the current position is recorded as empty (an output that drives no LED) and
    /// the device asked for the next one.
    bool Skip();
    /// A click in hardware socket mode sends the layout instead of tracing; true when handled.
    bool ClickInHardwareMode();
    /// The 200 ms timer: takes the device's answer to an advance without waiting.
    void Tick();
    /// The device did not take or answer an advance: Retry asks again for the same LED (on a
    /// line opened afresh when the old one is gone); Cancel leaves point-go and, with the
    /// indexed advance, asks the device once more for the LED the cursor is at.
    void SendFailed();

    bool Selected() const { return m_selected; }
    bool Busy() const { return m_busy; }
    bool Held() const { return m_hold; }
    bool Finished() const;
    bool InPointGoMode() const;
    bool TimerRunning() const { return m_timerRunning; }
    /// The data line (entry) and scan row the next LED is recorded in.
    std::size_t EntryCursor() const;
    std::size_t LineCursor() const;
    const PointGoResult& Result() const { return m_result; }
    /// The one-byte advance could not take the device to the cursor (a step back, a reconnect
    /// in the middle of a run): it must be restarted from the recorded position.
    bool RestartNeeded() const { return m_restartNeeded; }
    /// Index of the chosen LED in the current pixel's list plus 1 (0 = none).
    std::uint32_t SelectedLed() const { return m_selectedLed; }
    /// The LED (counted from 0 in the device's order) the cursor records next.
    std::size_t CursorLed() const;
    /// The LED the device has said it lights; nothing while a request is unanswered.
    std::optional<std::size_t> LitLed() const { return m_lit; }
    /// Which LED the device should light next: entry, line (scan row) and LED from 1.
    struct Expected
    {
        std::size_t entry = 0;
        std::size_t line = 0;
        std::size_t position = 0;
        std::size_t length = 0;
    };
    std::optional<Expected> Next() const;
    /// A line for the status bar: the link, the device's lines and the next LED.
    std::u16string StatusText() const;

private:
    bool HasWorkArea() const;
    void Refresh();
    void RebuildVirtualDrawing();
    void Changed();
    void Message(std::string_view key);
    void MessageFixed(const char16_t* text);
    bool EnsurePort(std::u16string& reason);
    void RunExchange(PointGoExchange& exchange);
    std::u16string FailureText(const PointGoExchange& exchange) const;
    void CheckLink(const std::u16string& reason);
    /// The device's lines fit the module: as many as its data groups times colour channels,
    /// each with at most 65535 LEDs; says what does not fit when they do not.
    bool AcceptLines();
    /// Asks the device for the LED the cursor is at and waits (busy) for its answer.
    void RequestCursorLed();
    /// Whether the device has confirmed lighting the LED the cursor is at.
    bool DeviceAtCursor() const;
    /// Whether a confirmation (Space, click, Delete) may record now; says why not.
    bool MayRecord();
    /// After a position was recorded: the next LED is asked for, or point-go is finished.
    void Advance();
    /// After the handshake: the result is kept when the device's lines are the ones it was
    /// built for (a reconnect), else built afresh; true when a run goes on from its cursor.
    bool KeepOrBuildResult();
    PointTracer& m_tracer;
    LayoutModel& m_model;
    PointGoResult& m_result;
    SerialPointGoLink& m_link;
    Ports m_ports;
    std::function<void()> m_onChanged;

    bool m_selected = false;
    bool m_busy = true;
    bool m_hold = false;
    bool m_timerRunning = false;
    bool m_restartNeeded = false;
    std::uint32_t m_selectedLed = 0;
    bool m_awaiting = false; ///< an advance was sent and its time-out counts
    std::uint32_t m_sentAt = 0;
    std::uint16_t m_scanRows = 1;
    std::size_t m_asked = 0;          ///< the LED last requested
    std::optional<std::size_t> m_lit; ///< the LED the device has confirmed lighting
    bool m_exchanging = false;        ///< an exchange runs (its dialog's event loop is live)
    PointGoExchange::Runner m_runExchange;
};

} // namespace md
