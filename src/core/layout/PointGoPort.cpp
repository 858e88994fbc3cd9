#include "core/layout/PointGoPort.h"

#include "core/io/IniFile.h"
#include "core/io/Utf.h"
#include "core/parameters/RuntimeSettings.h"
#include "core/platform/Texts.h"
#include "core/posix/PosixSerialPort.h"

#include <algorithm>
#include <array>

namespace md {

namespace {

constexpr const char* kSection = "pointgo";
constexpr std::array<int, 8> kBaudRates = {9600,   19200,  38400,  57600,
                                           115200, 230400, 460800, 921600};

} // namespace

std::optional<std::string> PointGoProfile::Port() const
{
    const auto port = IniFile::Load(m_path).Value(kSection, "port");
    if (!port || port->empty())
        return std::nullopt;
    return port;
}

std::optional<int> PointGoProfile::Baud() const
{
    const int baud = IniFile::Load(m_path).IntOr(kSection, "baud", 0);
    if (std::find(kBaudRates.begin(), kBaudRates.end(), baud) == kBaudRates.end())
        return std::nullopt;
    return baud;
}

bool PointGoProfile::Save(const std::string& port, int baud) const
{
    std::error_code error;
    std::filesystem::create_directories(m_path.parent_path(), error);
    IniFile ini = IniFile::Load(m_path);
    ini.SetValue(kSection, "port", port);
    ini.SetValue(kSection, "baud", std::to_string(baud));
    return ini.Save(m_path);
}

std::span<const int> PointGoBaudRates()
{
    return kBaudRates;
}

PointGoPortChoice ChoosePointGoPort(const PointGoProfile& profile, const RuntimeSettings& settings)
{
    PointGoPortChoice choice;
    if (auto port = profile.Port()) {
        choice.port = std::move(*port);
        choice.portFromProfile = true;
    } else {
        choice.port = settings.PointGoPort();
    }
    choice.baud = profile.Baud().value_or(settings.PointGoBaud());
    return choice;
}

std::unique_ptr<SerialPort> OpenPointGoPort(const PointGoPortChoice& choice, const Texts& texts,
                                            std::u16string& reason)
{
    if (choice.port.empty()) {
        reason = texts.TextOr("IDS_MD_POINTGO_NO_PORT",
                              u"No test device port is chosen: choose one with \"Test device "
                              u"port\" in the layout step (or set [pointgo] port in "
                              u"runinfo.ini).");
        return nullptr;
    }
    std::string error;
    bool busy = false;
    std::unique_ptr<PosixSerialPort> port =
        PosixSerialPort::Open(choice.port, choice.baud, &error, &busy);
    if (port)
        return port;
    if (busy) {
        reason = texts.TextOr("IDS_MD_POINTGO_PORT_BUSY",
                              u"%1 is in use by another program. Close that program, or choose "
                              u"another port.");
        if (const auto at = reason.find(u"%1"); at != std::u16string::npos)
            reason.replace(at, 2, utf::ToUtf16(choice.port));
    } else {
        reason = utf::ToUtf16(error);
    }
    return nullptr;
}

} // namespace md
