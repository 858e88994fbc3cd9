#pragma once

#include "core/platform/PictureCodec.h"

namespace md {

/// Recognises PNG and BMP pictures from their headers alone (signature, size fields, data
/// large enough for the size). Used where no toolkit decoder is at hand, such as the
/// command-line tool; a picture it accepts may still be damaged further in.
class PictureHeaderCodec final : public PictureCodec
{
public:
    bool Decode(std::span<const std::uint8_t> bytes, PictureSize& size) const override;
};

} // namespace md
