#include "core/io/ByteReader.h"

#include <cstring>

namespace md {

bool ByteReader::Take(std::size_t count, const std::uint8_t*& at)
{
    if (m_failed || count > m_bytes.size() - m_offset) {
        m_failed = true;
        return false;
    }
    at = m_bytes.data() + m_offset;
    m_offset += count;
    return true;
}

namespace {
template <typename T>
T Assemble(const std::uint8_t* at)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<std::uint64_t>(at[i]) << (8 * i);
    return static_cast<T>(value);
}
} // namespace

bool ByteReader::U8(std::uint8_t& value)
{
    const std::uint8_t* at = nullptr;
    if (!Take(1, at))
        return false;
    value = *at;
    return true;
}

bool ByteReader::U16(std::uint16_t& value)
{
    const std::uint8_t* at = nullptr;
    if (!Take(2, at))
        return false;
    value = Assemble<std::uint16_t>(at);
    return true;
}

bool ByteReader::U32(std::uint32_t& value)
{
    const std::uint8_t* at = nullptr;
    if (!Take(4, at))
        return false;
    value = Assemble<std::uint32_t>(at);
    return true;
}

bool ByteReader::U64(std::uint64_t& value)
{
    const std::uint8_t* at = nullptr;
    if (!Take(8, at))
        return false;
    value = Assemble<std::uint64_t>(at);
    return true;
}

bool ByteReader::I32(std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!U32(raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool ByteReader::Bytes(std::size_t count, std::vector<std::uint8_t>& out)
{
    const std::uint8_t* at = nullptr;
    if (!Take(count, at))
        return false;
    out.assign(at, at + count);
    return true;
}

bool ByteReader::Bytes(std::size_t count, std::span<const std::uint8_t>& out)
{
    const std::uint8_t* at = nullptr;
    if (!Take(count, at))
        return false;
    out = {at, count};
    return true;
}

bool ByteReader::Expect(std::string_view text)
{
    if (m_failed || text.size() > m_bytes.size() - m_offset ||
        std::memcmp(m_bytes.data() + m_offset, text.data(), text.size()) != 0)
        return false;
    m_offset += text.size();
    return true;
}

bool ByteReader::Skip(std::size_t count)
{
    const std::uint8_t* at = nullptr;
    return Take(count, at);
}

bool ByteReader::CanHold(std::uint64_t count, std::size_t itemSize) const
{
    if (m_failed)
        return false;
    const std::size_t left = m_bytes.size() - m_offset;
    return itemSize == 0 || count <= left / itemSize;
}

bool ByteReader::Seek(std::size_t offset)
{
    if (m_failed || offset > m_bytes.size()) {
        m_failed = true;
        return false;
    }
    m_offset = offset;
    return true;
}

} // namespace md
