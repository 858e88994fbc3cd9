#include "gui/platform/QtPictureCodec.h"

#include <QImage>

namespace md {

bool QtPictureCodec::Decode(std::span<const std::uint8_t> bytes, PictureSize& size) const
{
    QImage image;
    if (bytes.empty() || !image.loadFromData(bytes.data(), static_cast<int>(bytes.size())))
        return false;
    size = {image.width(), image.height()};
    return true;
}

} // namespace md
