#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace md {

/// Appends little-endian values to a growing byte buffer.
class ByteWriter
{
public:
    void U8(std::uint8_t value) { m_bytes.push_back(value); }
    void U16(std::uint16_t value) { Put(value, 2); }
    void U32(std::uint32_t value) { Put(value, 4); }
    void U64(std::uint64_t value) { Put(value, 8); }
    void I32(std::int32_t value) { Put(static_cast<std::uint32_t>(value), 4); }
    void Bytes(std::span<const std::uint8_t> bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }
    /// The characters as they stand, without length or terminator (section marks, GUID texts).
    void Ascii(std::string_view text) { m_bytes.insert(m_bytes.end(), text.begin(), text.end()); }
    /// Overwrites a value written earlier (section tables, counts known later).
    void PatchU64(std::size_t offset, std::uint64_t value);
    void PatchU32(std::size_t offset, std::uint32_t value);

    /// Makes room for count more bytes (large sections reserve once instead of regrowing).
    void Reserve(std::size_t count) { m_bytes.reserve(m_bytes.size() + count); }

    std::size_t Size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& Data() const { return m_bytes; }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    void Put(std::uint64_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

    std::vector<std::uint8_t> m_bytes;
};

} // namespace md
