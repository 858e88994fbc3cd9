#pragma once

#include "core/platform/PictureCodec.h"

namespace md {

/// Pictures decoded with QImage.
class QtPictureCodec final : public PictureCodec
{
public:
    bool Decode(std::span<const std::uint8_t> bytes, PictureSize& size) const override;
};

} // namespace md
