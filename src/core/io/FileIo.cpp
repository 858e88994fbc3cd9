#include "io/FileIo.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace md::fileio {

std::optional<std::vector<std::uint8_t>> ReadAll(const std::filesystem::path& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return bytes;
}

bool WriteAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::filesystem::path temp = path;
    temp += ".saving-XXXXXX";
    std::string pattern = temp.string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        return false;
    const std::uint8_t* at = bytes.data();
    std::size_t left = bytes.size();
    bool ok = true;
    while (left > 0) {
        const ssize_t written = ::write(fd, at, left);
        if (written <= 0) {
            ok = false;
            break;
        }
        at += written;
        left -= static_cast<std::size_t>(written);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::fchmodat(AT_FDCWD, pattern.c_str(), 0644, 0) == 0 &&
             std::rename(pattern.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(pattern.c_str());
    return ok;
}

} // namespace md::fileio
