#pragma once

#include <memory>
#include <string>

namespace md {

class RuntimeSettings;
class SerialPort;

/// Opens the test device's serial line that runinfo.ini [pointgo] port and baud name; nothing,
/// with what to fix in reason, when the key is missing or the device cannot be used.
std::unique_ptr<SerialPort> OpenPointGoPort(const RuntimeSettings& settings,
                                            std::u16string& reason);

} // namespace md
