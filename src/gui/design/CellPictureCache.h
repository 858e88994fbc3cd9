#pragma once

#include "core/design/CellLed.h"
#include "core/design/LightImage.h"

#include <QHash>
#include <QImage>
#include <QString>

#include <vector>

namespace md {

/// Pictures of a cell decoded from the bytes of their image entries, decoded once per name.
class CellPictureCache
{
public:
    /// The decoded picture; a null image when the bytes are no picture.
    const QImage& Picture(const LightImage& image);
    /// The picture of an LED: its image entry by id, else the entry with its name.
    const QImage* ForLed(const std::vector<LightImage>& images, const CellLed& led);
    void Clear() { m_pictures.clear(); }

private:
    struct Entry
    {
        std::size_t length = 0;
        QImage image;
    };
    QHash<QString, Entry> m_pictures;
};

} // namespace md
