#include "core/io/FileIo.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace md::fileio {

std::optional<std::vector<std::uint8_t>> ReadAll(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    // Read straight into a buffer of the file's size; keep reading in case it grew.
    struct stat info
    {};
    std::size_t capacity = 65536;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        capacity = static_cast<std::size_t>(info.st_size) + 1;
    std::vector<std::uint8_t> bytes(capacity);
    std::size_t size = 0;
    bool failed = false;
    while (true) {
        if (size == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            failed = true;
            break;
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (failed)
        return std::nullopt;
    bytes.resize(size);
    return bytes;
}

MappedFile::MappedFile(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info
    {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        // Populated at once: one call maps every page instead of one fault per page.
        void* data = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ,
                            MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (data != MAP_FAILED) {
            m_data = static_cast<const std::uint8_t*>(data);
            m_size = static_cast<std::size_t>(info.st_size);
        }
    }
    ::close(fd);
}

MappedFile::~MappedFile()
{
    if (m_data)
        ::munmap(const_cast<std::uint8_t*>(m_data), m_size);
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
