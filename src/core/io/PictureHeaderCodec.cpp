#include "core/io/PictureHeaderCodec.h"

#include "md/ByteOrder.h"

#include <cstdlib>
#include <cstring>

namespace md {

namespace {

using byteorder::ReadBigEndian32;
using byteorder::ReadLittleEndian32;

constexpr std::uint32_t kMaxSide = 1u << 16;

} // namespace

bool PictureHeaderCodec::Decode(std::span<const std::uint8_t> bytes, PictureSize& size) const
{
    static const std::uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() >= 33 && std::memcmp(bytes.data(), png, 8) == 0 &&
        std::memcmp(bytes.data() + 12, "IHDR", 4) == 0) {
        const std::uint32_t width = ReadBigEndian32(bytes.data() + 16);
        const std::uint32_t height = ReadBigEndian32(bytes.data() + 20);
        if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
            return false;
        size = {static_cast<int>(width), static_cast<int>(height)};
        return true;
    }
    if (bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M') {
        const std::uint32_t dataAt = ReadLittleEndian32(bytes.data() + 10);
        const std::uint32_t headerSize = ReadLittleEndian32(bytes.data() + 14);
        if (headerSize < 40 || bytes.size() < 14 + std::size_t{headerSize} || dataAt > bytes.size())
            return false;
        const auto width = static_cast<std::int32_t>(ReadLittleEndian32(bytes.data() + 18));
        const auto height = static_cast<std::int32_t>(ReadLittleEndian32(bytes.data() + 22));
        const std::uint32_t absHeight = height < 0 ? 0u - static_cast<std::uint32_t>(height)
                                                   : static_cast<std::uint32_t>(height);
        if (width <= 0 || absHeight == 0 || static_cast<std::uint32_t>(width) > kMaxSide ||
            absHeight > kMaxSide)
            return false;
        size = {width, static_cast<int>(absHeight)};
        return true;
    }
    return false;
}

} // namespace md
