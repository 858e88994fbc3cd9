#include "core/io/ByteWriter.h"

#include <algorithm>
#include <stdexcept>

namespace md {

namespace {

template <int N>
void PatchAt(std::vector<std::uint8_t>& bytes, std::size_t used, std::size_t offset,
             std::uint64_t value, const char* what)
{
    if (offset + N > used)
        throw std::out_of_range(what);
    for (int i = 0; i < N; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

void ByteWriter::PatchU64(std::size_t offset, std::uint64_t value)
{
    PatchAt<8>(m_bytes, m_size, offset, value, "ByteWriter::PatchU64");
}

void ByteWriter::PatchU32(std::size_t offset, std::uint32_t value)
{
    PatchAt<4>(m_bytes, m_size, offset, value, "ByteWriter::PatchU32");
}

void ByteWriter::Truncate(std::size_t size)
{
    m_size = std::min(m_size, size);
}

void ByteWriter::Reserve(std::size_t count)
{
    m_bytes.reserve(m_size + count);
}

void ByteWriter::MakeRoom(std::size_t count)
{
    // The storage is zero-filled a step ahead of the writing rather than all at once, so the
    // bytes are still in the cache when they are written (a large file is not passed twice).
    constexpr std::size_t kStep = 64 * 1024;
    const std::size_t needed = m_size + count;
    if (needed > m_bytes.capacity())
        m_bytes.reserve(std::max({m_bytes.capacity() * 2, needed, std::size_t{256}}));
    m_bytes.resize(std::min(m_bytes.capacity(), std::max(needed, m_bytes.size() + kStep)));
}

const std::vector<std::uint8_t>& ByteWriter::Data() const
{
    // The spare room goes; the next append makes room again.
    m_bytes.resize(m_size);
    return m_bytes;
}

std::vector<std::uint8_t> ByteWriter::Take()
{
    m_bytes.resize(m_size);
    m_size = 0;
    return std::move(m_bytes);
}

} // namespace md
