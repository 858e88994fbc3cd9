#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace md {

/// A serial device found in the device folder.
struct SerialDevice
{
    std::string path;
    bool busy = false; ///< another port holds it now

    bool operator==(const SerialDevice&) const = default;
};

/// The serial devices present: the USB adapters (ttyUSB*), the modems and boards of the USB
/// communication class (ttyACM*) and the built-in lines (ttyS*) of the folder that open as a
/// serial line, busy ones included, in natural order (ttyS2 before ttyS10).
std::vector<SerialDevice> ListSerialDevices(const std::filesystem::path& folder = "/dev");

/// Whether the open descriptor is the line the path names (a link to it included).
bool IsLineAt(int descriptor, const std::filesystem::path& path);

} // namespace md
