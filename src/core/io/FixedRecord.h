#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace md {

/// A record of at most N bytes laid out little-endian on the stack and appended to a writer
/// whole, for files that hold tens of thousands of small records.
template <std::size_t N>
class FixedRecord
{
public:
    FixedRecord& Put(std::uint32_t value, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            m_bytes[m_size++] = static_cast<std::uint8_t>(value >> (8 * i));
        return *this;
    }
    std::span<const std::uint8_t> Bytes() const { return {m_bytes.data(), m_size}; }
    /// The whole record, once all N bytes are put.
    std::span<const std::uint8_t, N> Full() const
    {
        return std::span<const std::uint8_t, N>(m_bytes);
    }

private:
    std::array<std::uint8_t, N> m_bytes{};
    std::size_t m_size = 0;
};

} // namespace md
