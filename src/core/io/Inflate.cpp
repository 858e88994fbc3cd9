#include "io/Inflate.h"

#include <array>

namespace md {

namespace {

/// Canonical Huffman code as counts per length and symbols in code order.
struct Huffman
{
    std::array<std::uint16_t, 16> counts{};
    std::array<std::uint16_t, 288> symbols{};

    /// False for an over-subscribed code.
    bool Build(const std::uint8_t* lengths, int n)
    {
        counts.fill(0);
        for (int i = 0; i < n; ++i)
            ++counts[lengths[i]];
        int left = 1;
        for (int len = 1; len < 16; ++len) {
            left = left * 2 - counts[static_cast<std::size_t>(len)];
            if (left < 0)
                return false;
        }
        std::array<std::uint16_t, 16> offsets{};
        for (int len = 1; len < 15; ++len)
            offsets[static_cast<std::size_t>(len + 1)] = static_cast<std::uint16_t>(
                offsets[static_cast<std::size_t>(len)] + counts[static_cast<std::size_t>(len)]);
        for (int i = 0; i < n; ++i)
            if (lengths[i] != 0)
                symbols[offsets[lengths[i]]++] = static_cast<std::uint16_t>(i);
        return true;
    }
};

class Decoder
{
public:
    Decoder(std::span<const std::uint8_t> in, std::size_t maxOutput) : m_in(in), m_max(maxOutput) {}

    bool Run()
    {
        bool last = false;
        while (!last) {
            last = Bits(1) == 1;
            const int type = Bits(2);
            bool ok = false;
            if (type == 0)
                ok = Stored();
            else if (type == 1)
                ok = Fixed();
            else if (type == 2)
                ok = Dynamic();
            if (!ok || m_failed)
                return false;
        }
        return true;
    }
    std::vector<std::uint8_t>& Output() { return m_out; }
    std::size_t Consumed() const { return m_at; }

private:
    int Bits(int need)
    {
        std::uint32_t value = m_bitBuffer;
        while (m_bitCount < need) {
            if (m_at >= m_in.size()) {
                m_failed = true;
                return 0;
            }
            value |= std::uint32_t{m_in[m_at++]} << m_bitCount;
            m_bitCount += 8;
        }
        m_bitBuffer = value >> need;
        m_bitCount -= need;
        return static_cast<int>(value & ((1u << need) - 1));
    }

    int Decode(const Huffman& h)
    {
        int code = 0, first = 0, index = 0;
        for (int len = 1; len < 16; ++len) {
            code |= Bits(1);
            if (m_failed)
                return -1;
            const int count = h.counts[static_cast<std::size_t>(len)];
            if (code - count < first)
                return h.symbols[static_cast<std::size_t>(index + (code - first))];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

    bool Stored()
    {
        m_bitBuffer = 0;
        m_bitCount = 0;
        if (m_in.size() - m_at < 4)
            return false;
        const unsigned length = m_in[m_at] | (m_in[m_at + 1] << 8);
        const unsigned check = m_in[m_at + 2] | (m_in[m_at + 3] << 8);
        m_at += 4;
        if (length != (~check & 0xFFFFu) || m_in.size() - m_at < length ||
            m_out.size() + length > m_max)
            return false;
        m_out.insert(m_out.end(), m_in.begin() + static_cast<std::ptrdiff_t>(m_at),
                     m_in.begin() + static_cast<std::ptrdiff_t>(m_at + length));
        m_at += length;
        return true;
    }

    bool Codes(const Huffman& lengthCode, const Huffman& distanceCode)
    {
        static const std::uint16_t base[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const std::uint8_t extra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                             2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        static const std::uint16_t distBase[] = {
            1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
            193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        static const std::uint8_t distExtra[] = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                 4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
        while (true) {
            const int symbol = Decode(lengthCode);
            if (symbol < 0)
                return false;
            if (symbol < 256) {
                if (m_out.size() >= m_max)
                    return false;
                m_out.push_back(static_cast<std::uint8_t>(symbol));
                continue;
            }
            if (symbol == 256)
                return true;
            const int s = symbol - 257;
            if (s >= 29)
                return false;
            const std::size_t length = base[s] + static_cast<std::size_t>(Bits(extra[s]));
            const int d = Decode(distanceCode);
            if (d < 0 || d >= 30)
                return false;
            const std::size_t distance = distBase[d] + static_cast<std::size_t>(Bits(distExtra[d]));
            if (m_failed || distance > m_out.size() || m_out.size() + length > m_max)
                return false;
            const std::size_t from = m_out.size() - distance;
            for (std::size_t i = 0; i < length; ++i)
                m_out.push_back(m_out[from + i]);
        }
    }

    bool Fixed()
    {
        std::array<std::uint8_t, 288> lengths{};
        for (int i = 0; i < 288; ++i)
            lengths[static_cast<std::size_t>(i)] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
        Huffman lengthCode, distanceCode;
        lengthCode.Build(lengths.data(), 288);
        std::array<std::uint8_t, 30> distances{};
        distances.fill(5);
        distanceCode.Build(distances.data(), 30);
        return Codes(lengthCode, distanceCode);
    }

    bool Dynamic()
    {
        static const std::uint8_t order[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                               11, 4,  12, 3, 13, 2, 14, 1, 15};
        const int literals = Bits(5) + 257;
        const int distances = Bits(5) + 1;
        const int codeLengths = Bits(4) + 4;
        if (m_failed || literals > 286 || distances > 30)
            return false;
        std::array<std::uint8_t, 320> lengths{};
        for (int i = 0; i < codeLengths; ++i)
            lengths[order[i]] = static_cast<std::uint8_t>(Bits(3));
        Huffman lengthLengths;
        if (!lengthLengths.Build(lengths.data(), 19))
            return false;
        int index = 0;
        while (index < literals + distances) {
            const int symbol = Decode(lengthLengths);
            if (symbol < 0)
                return false;
            if (symbol < 16) {
                lengths[static_cast<std::size_t>(index++)] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            std::uint8_t value = 0;
            int repeat = 0;
            if (symbol == 16) {
                if (index == 0)
                    return false;
                value = lengths[static_cast<std::size_t>(index - 1)];
                repeat = 3 + Bits(2);
            } else if (symbol == 17) {
                repeat = 3 + Bits(3);
            } else {
                repeat = 11 + Bits(7);
            }
            if (m_failed || index + repeat > literals + distances)
                return false;
            while (repeat-- > 0)
                lengths[static_cast<std::size_t>(index++)] = value;
        }
        if (lengths[256] == 0)
            return false;
        Huffman lengthCode, distanceCode;
        if (!lengthCode.Build(lengths.data(), literals) ||
            !distanceCode.Build(lengths.data() + literals, distances))
            return false;
        return Codes(lengthCode, distanceCode);
    }

    std::span<const std::uint8_t> m_in;
    std::size_t m_max;
    std::size_t m_at = 0;
    std::uint32_t m_bitBuffer = 0;
    int m_bitCount = 0;
    bool m_failed = false;
    std::vector<std::uint8_t> m_out;
};

} // namespace

std::optional<std::vector<std::uint8_t>> Inflate::Zlib(std::span<const std::uint8_t> input,
                                                       std::size_t maxOutput)
{
    if (input.size() < 6 || (input[0] & 0x0F) != 8 || ((input[0] << 8) | input[1]) % 31 != 0 ||
        (input[1] & 0x20) != 0)
        return std::nullopt;
    Decoder decoder(input.subspan(2), maxOutput);
    if (!decoder.Run())
        return std::nullopt;
    return std::move(decoder.Output());
}

} // namespace md
