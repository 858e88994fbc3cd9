#pragma once

#include <cstddef>
#include <cstdint>

namespace md {

/// Little-endian fields of a record the reader has already checked and taken whole; it reads
/// without bounds checks of its own.
class RecordCursor
{
public:
    explicit RecordCursor(const std::uint8_t* at) : m_at(at) {}

    std::uint32_t Get(std::size_t count)
    {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < count; ++i)
            value |= std::uint32_t{m_at[i]} << (8 * i);
        m_at += count;
        return value;
    }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Get(2)); }
    std::uint8_t U8() { return *m_at++; }

private:
    const std::uint8_t* m_at;
};

} // namespace md
