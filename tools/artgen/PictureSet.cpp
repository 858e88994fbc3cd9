#include "PictureSet.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace md::artgen {

void PictureSet::Add(const QString& path, const QImage& image)
{
    m_pictures.push_back({path, image});
}

int PictureSet::WriteAll(const QString& programFolder) const
{
    const QDir root(programFolder);
    int failures = 0;
    for (const Picture& picture : m_pictures) {
        const QString target = root.filePath(picture.path);
        const bool written = !picture.image.isNull() &&
                             QDir().mkpath(QFileInfo(target).absolutePath()) &&
                             picture.image.save(target);
        if (!written) {
            std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(target));
            ++failures;
        }
    }
    return failures;
}

} // namespace md::artgen
