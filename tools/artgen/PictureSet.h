#pragma once

#include <QImage>
#include <QString>
#include <QVector>

namespace md::artgen {

/// The pictures of one run: each drawn image with the path it takes under the program folder.
class PictureSet
{
public:
    struct Picture
    {
        QString path; ///< relative to the program folder, with '/' separators
        QImage image;
    };

    void Add(const QString& path, const QImage& image);
    const QVector<Picture>& Pictures() const { return m_pictures; }

    /// Writes every picture below the folder (creating sub-folders); the number of failures,
    /// each named on stderr.
    int WriteAll(const QString& programFolder) const;

private:
    QVector<Picture> m_pictures;
};

} // namespace md::artgen
