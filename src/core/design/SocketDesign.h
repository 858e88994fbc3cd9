#pragma once

#include "core/io/ChangeSignal.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace md {

/// One pin of the socket: its box in the frame view and its signal code (255 = unassigned).
struct SocketPin
{
    std::uint32_t index = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    std::uint32_t code = 255;

    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

/// The module's input connector: pins in two columns (even indices left, odd right), each with
/// a signal type, the selected pin and the document state.
class SocketDesign
{
public:
    enum State
    {
        None = 0,
        New = 1,
        Changed = 2,
        Loaded = 3
    };
    enum class Key
    {
        Left,
        Right,
        Up,
        Down
    };

    static constexpr std::uint32_t kUnassigned = 255;
    static constexpr std::uint32_t kRepeatable = 15;
    static constexpr int kMaxRepeatable = 25;
    static constexpr int kTypeCount = 12;
    static constexpr int kPinBox = 32;
    static constexpr int kPinLeft = 50;
    static constexpr std::uint32_t kFirstTypeCommand = 0x10001;
    static constexpr std::uint32_t kClearCommand = 0x1000D;

    /// Code stored for a type button's index 0..11; nothing for other indices.
    static std::optional<std::uint32_t> CodeOfType(int typeIndex);
    /// Picture index of a code (type index, 13 for code 68); -1 when the code has none.
    static int PictureOfCode(std::uint32_t code);
    /// "socket_frame_background_<n>.bmp" in the frame picture folder.
    std::filesystem::path PicturePath(int pictureIndex) const;

    /// The folder of "frame_background.bmp" and the type pictures.
    void SetPictureFolder(std::filesystem::path folder) { m_pictureFolder = std::move(folder); }
    const std::filesystem::path& PictureFolder() const { return m_pictureFolder; }
    /// Raised when the pins or their signals change.
    ChangeSignal& Changes() { return m_changes; }

    /// A new socket: lays the pins out with the given pin box size, state New.
    void NewSocket(std::uint16_t pinCount, std::uint16_t scanRows, int boxWidth = kPinBox,
                   int boxHeight = kPinBox);
    /// Lays out pinCount unassigned pins with the given box size (used by new and load).
    void LayOut(std::uint16_t pinCount, std::uint16_t scanRows, int boxWidth, int boxHeight);

    /// Assigns the selected pin the type of a button; false when nothing happens (no pin
    /// selected, a unique code already used, too many repeatable pins, or no picture).
    bool Assign(int typeIndex);
    /// Clears the selected pin; false without a selection.
    bool Clear();
    /// Runs a toolbar command (type buttons and clear).
    bool Command(std::uint32_t command);

    void Select(int pin);
    /// The pin under a point of the frame view, or -1.
    int PinAt(int x, int y) const;
    void MoveSelection(Key key);

    /// Every required signal once, the optional ones at most once.
    bool IsValid() const;
    /// With the flag clear pinCount plus the sum of code + index; set, the count of code 15
    /// pins times 65536 plus the sum of their indices (16 bits).
    std::uint32_t Signature(bool repeatableOnly) const;

    std::uint16_t PinCount() const { return m_pinCount; }
    std::uint16_t ScanRows() const { return m_scanRows; }
    const std::vector<SocketPin>& Pins() const { return m_pins; }
    std::vector<SocketPin>& Pins() { return m_pins; }
    int Selected() const { return m_selected; }
    State DocumentState() const { return m_state; }
    void SetDocumentState(State state) { m_state = state; }
    /// Frame view size: two boxes plus margins wide, half the pins (rounded up) high.
    int FrameWidth() const { return 2 * m_boxWidth + 100; }
    int FrameHeight() const { return (m_pinCount + 1) / 2 * m_boxHeight; }

    /// The path of the last saved socket file (empty after a new socket).
    const std::filesystem::path& FilePath() const { return m_filePath; }
    void SetFilePath(std::filesystem::path path) { m_filePath = std::move(path); }

private:
    void MarkChanged();

    std::uint16_t m_pinCount = 0;
    std::uint16_t m_scanRows = 0;
    int m_boxWidth = kPinBox;
    int m_boxHeight = kPinBox;
    std::vector<SocketPin> m_pins;
    int m_selected = -1;
    State m_state = None;
    std::filesystem::path m_pictureFolder;
    std::filesystem::path m_filePath;
    ChangeSignal m_changes;
};

} // namespace md
