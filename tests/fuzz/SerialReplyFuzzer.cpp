// Feeds arbitrary bytes to the parser of a point-go test device's handshake reply: the device
// is outside our control, so whatever it answers must give a line table that holds together
// or a refusal.

#include "core/layout/SerialFrames.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto lines = md::serialframes::ParseReply(std::span<const std::uint8_t>(data, size));
    if (!lines)
        return 0;
    const auto& lengths = lines->lengths;
    if (lengths.empty() || lengths.size() > md::pointgo::kMaxLines)
        std::abort();
    const std::uint32_t longest = *std::max_element(lengths.begin(), lengths.end());
    if (std::find(lengths.begin(), lengths.end(), 0) != lengths.end() ||
        lines->blockCount != (longest + 31) / 32)
        std::abort();
    return 0;
}
