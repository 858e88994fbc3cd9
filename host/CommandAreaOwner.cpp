#include "CommandAreaOwner.h"

#include "md/ContractIds.h"

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace md::host {

CommandAreaOwner::CommandAreaOwner(QByteArray name) : m_name(std::move(name)) {}

CommandAreaOwner::~CommandAreaOwner()
{
    if (m_bytes) {
        munmap(m_bytes, contract::kCommandAreaSize);
        shm_unlink(m_name.constData());
    }
}

bool CommandAreaOwner::Create()
{
    if (m_bytes)
        return true;
    const int fd = shm_open(m_name.constData(), O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return false;
    void* mapped = MAP_FAILED;
    if (ftruncate(fd, contract::kCommandAreaSize) == 0)
        mapped =
            mmap(nullptr, contract::kCommandAreaSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED)
        return false;
    m_bytes = static_cast<std::uint8_t*>(mapped);
    std::memset(m_bytes, 0, contract::kCommandAreaSize);
    return true;
}

QByteArray CommandAreaOwner::Snapshot() const
{
    if (!m_bytes)
        return {};
    return QByteArray(reinterpret_cast<const char*>(m_bytes), contract::kCommandAreaSize);
}

} // namespace md::host
