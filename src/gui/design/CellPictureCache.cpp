#include "gui/design/CellPictureCache.h"

namespace md {

const QImage& CellPictureCache::Picture(const LightImage& image)
{
    const QString key =
        QString::number(image.id) + QLatin1Char('/') +
        QString::fromUtf16(image.name.data(), static_cast<qsizetype>(image.name.size()));
    Entry& entry = m_pictures[key];
    if (entry.length != image.bytes.size() || entry.image.isNull()) {
        entry.length = image.bytes.size();
        entry.image = QImage();
        if (!image.bytes.empty())
            entry.image.loadFromData(image.bytes.data(), static_cast<int>(image.bytes.size()));
    }
    return entry.image;
}

const QImage* CellPictureCache::ForLed(const std::vector<LightImage>& images, const CellLed& led)
{
    const LightImage* found = nullptr;
    for (const LightImage& image : images)
        if (image.id == led.imageId && image.name == led.name)
            found = &image;
    if (!found)
        for (const LightImage& image : images)
            if (image.name == led.name)
                found = &image;
    if (!found)
        return nullptr;
    const QImage& picture = Picture(*found);
    return picture.isNull() ? nullptr : &picture;
}

} // namespace md
