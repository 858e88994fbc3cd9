#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace md {

/// Appends little-endian values to a growing byte buffer. Appending is inline and copies into
/// room made ahead: files of tens of thousands of small records are written this way.
class ByteWriter
{
public:
    void U8(std::uint8_t value) { *Room(1) = value; }
    void U16(std::uint16_t value) { Put(value, 2); }
    void U32(std::uint32_t value) { Put(value, 4); }
    void U64(std::uint64_t value) { Put(value, 8); }
    void I32(std::int32_t value) { Put(static_cast<std::uint32_t>(value), 4); }
    void Bytes(std::span<const std::uint8_t> bytes) { Append(bytes.data(), bytes.size()); }
    /// A record of a size known at compile time: copied inline, without a call per record.
    template <std::size_t N>
    void Bytes(std::span<const std::uint8_t, N> bytes)
    {
        std::memcpy(Room(N), bytes.data(), N);
    }
    /// The characters as they stand, without length or terminator (section marks, GUID texts).
    void Ascii(std::string_view text) { Append(text.data(), text.size()); }
    /// Appends count bytes for the caller to fill at once (records of many fields); the
    /// pointer holds until the next append.
    std::uint8_t* Extend(std::size_t count) { return Room(count); }
    /// Overwrites a value written earlier (section tables, counts known later).
    void PatchU64(std::size_t offset, std::uint64_t value);
    void PatchU32(std::size_t offset, std::uint32_t value);
    /// Drops what was appended after the first size bytes (a write that failed half-way).
    void Truncate(std::size_t size);

    /// Makes room for count more bytes (large sections reserve once instead of regrowing).
    void Reserve(std::size_t count);

    std::size_t Size() const { return m_size; }
    const std::vector<std::uint8_t>& Data() const;
    std::vector<std::uint8_t> Take();

private:
    /// Count bytes at the end, to be filled by the caller.
    std::uint8_t* Room(std::size_t count)
    {
        if (m_size + count > m_bytes.size())
            MakeRoom(count);
        std::uint8_t* at = m_bytes.data() + m_size;
        m_size += count;
        return at;
    }
    void Append(const void* data, std::size_t count)
    {
        if (count > 0)
            std::memcpy(Room(count), data, count);
    }
    void Put(std::uint64_t value, int count)
    {
        std::uint8_t* at = Room(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    void MakeRoom(std::size_t count);

    /// The storage; its first m_size bytes are written (Data trims it to them), its capacity is
    /// what Reserve made room for.
    mutable std::vector<std::uint8_t> m_bytes;
    std::size_t m_size = 0;
};

} // namespace md
