#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace md {

/// Reads little-endian values from a byte span. Every read is checked against the bytes left;
/// the first failed read puts the reader in a failed state in which every later read fails too,
/// so a caller can read a whole record and test Ok() once.
class ByteReader
{
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool U8(std::uint8_t& value);
    bool U16(std::uint16_t& value);
    bool U32(std::uint32_t& value);
    bool U64(std::uint64_t& value);
    bool I32(std::int32_t& value);
    /// Exactly count bytes; fails without allocating when fewer remain.
    bool Bytes(std::size_t count, std::vector<std::uint8_t>& out);
    bool Bytes(std::size_t count, std::span<const std::uint8_t>& out);
    /// True when the next bytes are the given characters; consumes them only then.
    bool Expect(std::string_view text);
    bool Skip(std::size_t count);
    /// Whether count items of itemSize bytes each can still be read (for counts read from a file).
    bool CanHold(std::uint64_t count, std::size_t itemSize) const;
    bool Seek(std::size_t offset);

    bool Ok() const { return !m_failed; }
    void Fail() { m_failed = true; }
    std::size_t Offset() const { return m_offset; }
    std::size_t Remaining() const { return m_failed ? 0 : m_bytes.size() - m_offset; }
    std::size_t Size() const { return m_bytes.size(); }

private:
    bool Take(std::size_t count, const std::uint8_t*& at);

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
    bool m_failed = false;
};

} // namespace md
