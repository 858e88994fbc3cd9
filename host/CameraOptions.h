#pragma once

#include "virtual/VirtualCamera.h"

#include <QString>

#include <optional>

class QCommandLineParser;

namespace md::host {

/// The host's command-line options for its virtual camera: --camera-view TILT,TURN (degrees) and
/// --camera-latency MS, and --camera-simulated (the plug-in steps the camera's time itself).
class CameraOptions
{
public:
    static void AddTo(QCommandLineParser& parser);
    /// The settings the command line asks for; nothing, with the reason, when a value is bad.
    static std::optional<VirtualCamera::Settings> Read(const QCommandLineParser& parser,
                                                       QString* error);
};

} // namespace md::host
