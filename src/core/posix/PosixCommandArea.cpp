#include "core/posix/PosixCommandArea.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace md {

PosixCommandArea::PosixCommandArea(std::string name) : m_name(std::move(name)) {}

PosixCommandArea::~PosixCommandArea()
{
    Close();
}

bool PosixCommandArea::Open()
{
    if (m_bytes)
        return true;
    const int fd = shm_open(m_name.c_str(), O_RDWR, 0);
    if (fd < 0)
        return false;
    struct stat info
    {};
    void* mapped = MAP_FAILED;
    if (fstat(fd, &info) == 0 && info.st_size >= static_cast<off_t>(kSize))
        mapped = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED)
        return false;
    m_bytes = static_cast<std::uint8_t*>(mapped);
    return true;
}

void PosixCommandArea::Close()
{
    if (m_bytes)
        munmap(m_bytes, kSize);
    m_bytes = nullptr;
}

std::span<std::uint8_t> PosixCommandArea::Bytes()
{
    if (!m_bytes)
        return {};
    return {m_bytes, kSize};
}

} // namespace md
