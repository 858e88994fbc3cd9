#pragma once

#include "md/PointGoFrames.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace md {

class RuntimeSettings;
class SerialPort;
class Texts;

/// Where point-go finds its test device and how fast the line runs.
struct PointGoPortChoice
{
    std::string port; ///< the device path; empty when nothing names one
    int baud = pointgo::kDefaultBaud;
    bool portFromProfile = false; ///< the user chose the port in the tool
};

/// The user's own choice of test device, kept in the per-user profile as [pointgo] port and
/// baud.
class PointGoProfile
{
public:
    explicit PointGoProfile(std::filesystem::path path) : m_path(std::move(path)) {}

    /// The chosen port; nothing when the profile names none.
    std::optional<std::string> Port() const;
    /// The chosen rate; nothing when it is missing or not one of PointGoBaudRates().
    std::optional<int> Baud() const;
    /// Keeps the choice, the rest of the profile untouched; false when it cannot be written.
    bool Save(const std::string& port, int baud) const;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

/// The rates a test device may run at, slowest first.
std::span<const int> PointGoBaudRates();

/// The port and rate point-go uses: each from the user's choice in the profile when it holds
/// one, before (on purpose) the host's configuration service and runinfo.ini.
PointGoPortChoice ChoosePointGoPort(const PointGoProfile& profile, const RuntimeSettings& settings);

/// Opens the chosen port; nothing, with what to do about it in reason, when no port is chosen,
/// another program holds the device, or it cannot be used.
std::unique_ptr<SerialPort> OpenPointGoPort(const PointGoPortChoice& choice, const Texts& texts,
                                            std::u16string& reason);

} // namespace md
