#pragma once

#include <cstdint>

/// Commands, controls and window ids of our own, beyond the numbers the plug-in contract uses:
/// all from 0x30000 to 0x3FFFF, handed out in order. Take the next free one and add it here.
namespace md::own {

/// The design panel's undo and redo (Ctrl+Z; Ctrl+Y and Ctrl+Shift+Z) in every view.
constexpr std::int32_t kUndo = 0x30000;
constexpr std::int32_t kRedo = 0x30001;

/// Point-go: the current position drives no LED (Delete, and a button of the layout toolbar).
constexpr std::int32_t kPointGoSkip = 0x30010;

/// Point-go's test device port: the layout step's command, the dialog and its controls.
constexpr std::int32_t kPointGoPortCommand = 0x30020;
constexpr std::int32_t kPointGoPortDialog = 0x30021;
constexpr std::int32_t kPointGoPortList = 0x30022;
constexpr std::int32_t kPointGoPortRescan = 0x30023;
constexpr std::int32_t kPointGoBaudList = 0x30024;
constexpr std::int32_t kPointGoTestLink = 0x30025;
constexpr std::int32_t kPointGoTestOutcome = 0x30026;

/// The reference host's virtual camera: the menu entry that shows or hides what it films, the
/// dock and the picture inside.
constexpr std::int32_t kCameraMenuAction = 0x30040;
constexpr std::int32_t kCameraDock = 0x30041;
constexpr std::int32_t kCameraPicture = 0x30042;

/// The toolbar strip's overflow button (the buttons that do not fit, as a menu).
constexpr std::int32_t kToolbarOverflow = 0x30070;

/// Tracing by camera in the layout step: the checkable toolbar action that shows its tool
/// window, the window, and the window's controls.
constexpr std::int32_t kTraceByCamera = 0x300A0;
constexpr std::int32_t kCameraTraceDock = 0x300A1;
constexpr std::int32_t kCameraChooser = 0x300A2;
constexpr std::int32_t kCameraCalibrate = 0x300A3;
constexpr std::int32_t kCameraTrace = 0x300A4;
constexpr std::int32_t kCameraStop = 0x300A5;
constexpr std::int32_t kCameraResume = 0x300A6;
constexpr std::int32_t kCameraTracePicture = 0x300A7;
constexpr std::int32_t kCameraStatus = 0x300A8;
constexpr std::int32_t kCameraTurn = 0x300A9;
constexpr std::int32_t kCameraMirror = 0x300AA;

} // namespace md::own
