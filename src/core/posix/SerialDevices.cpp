#include "core/posix/SerialDevices.h"

#include "core/posix/PosixSerialPort.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <system_error>

namespace md {

namespace {

constexpr std::array<std::string_view, 3> kPrefixes = {"ttyUSB", "ttyACM", "ttyS"};

/// The family's place in the list and the device's number, for the natural order.
struct Rank
{
    std::size_t family = kPrefixes.size();
    unsigned long number = 0;
    auto operator<=>(const Rank&) const = default;
};

/// Where a name ranks; nothing for a name of no family (a prefix followed by digits only).
std::optional<Rank> RankOf(std::string_view name)
{
    for (std::size_t family = 0; family < kPrefixes.size(); ++family) {
        if (!name.starts_with(kPrefixes[family]))
            continue;
        const std::string_view digits = name.substr(kPrefixes[family].size());
        if (digits.empty() || digits.size() > 6 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        return Rank{family, std::stoul(std::string(digits))};
    }
    return std::nullopt;
}

} // namespace

std::vector<SerialDevice> ListSerialDevices(const std::filesystem::path& folder)
{
    std::vector<std::pair<Rank, std::string>> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (const auto rank = RankOf(it->path().filename().string()))
            found.emplace_back(*rank, it->path().string());
    }
    std::sort(found.begin(), found.end());
    std::vector<SerialDevice> devices;
    for (const auto& [rank, path] : found) {
        const PosixSerialPort::Availability availability = PosixSerialPort::Probe(path);
        if (availability != PosixSerialPort::Availability::Absent)
            devices.push_back({path, availability == PosixSerialPort::Availability::Busy});
    }
    return devices;
}

bool IsLineAt(int descriptor, const std::filesystem::path& path)
{
    struct stat open = {};
    struct stat named = {};
    if (descriptor < 0 || ::fstat(descriptor, &open) != 0 || ::stat(path.c_str(), &named) != 0)
        return false;
    // A character device is one line whatever its name; anything else is the same file.
    if (S_ISCHR(open.st_mode) && S_ISCHR(named.st_mode))
        return open.st_rdev == named.st_rdev;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

} // namespace md
