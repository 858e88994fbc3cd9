#include "core/layout/PointGoPort.h"

#include "core/io/Utf.h"
#include "core/parameters/RuntimeSettings.h"
#include "core/posix/PosixSerialPort.h"

namespace md {

std::unique_ptr<SerialPort> OpenPointGoPort(const RuntimeSettings& settings, std::u16string& reason)
{
    const std::string device = settings.PointGoPort();
    if (device.empty()) {
        reason = u"No test device is configured: set [pointgo] port (for example /dev/ttyUSB0) "
                 u"in runinfo.ini.";
        return nullptr;
    }
    std::string error;
    std::unique_ptr<PosixSerialPort> port =
        PosixSerialPort::Open(device, settings.PointGoBaud(), &error);
    if (!port) {
        reason = utf::ToUtf16(error);
        return nullptr;
    }
    return port;
}

} // namespace md
