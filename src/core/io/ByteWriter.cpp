#include "io/ByteWriter.h"

#include <stdexcept>

namespace md {

void ByteWriter::PatchU64(std::size_t offset, std::uint64_t value)
{
    if (offset + 8 > m_bytes.size())
        throw std::out_of_range("ByteWriter::PatchU64");
    for (int i = 0; i < 8; ++i)
        m_bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void ByteWriter::PatchU32(std::size_t offset, std::uint32_t value)
{
    if (offset + 4 > m_bytes.size())
        throw std::out_of_range("ByteWriter::PatchU32");
    for (int i = 0; i < 4; ++i)
        m_bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace md
