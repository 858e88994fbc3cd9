#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

namespace md::host {

/// A hidden LED module for trying the wizard and tracing without hardware: its real size,
/// scan rows, data groups, polarity, line colours and the order in which its data chain runs
/// over the pixels. It answers command pairs with the picture a real module would show.
class VirtualModule
{
public:
    enum class ChainOrder
    {
        Rows,
        Blocks
    };
    /// The wiring of one data group: per scan row (row address 0 to scanRows - 1) the pixel that
    /// output positions 1, 2, 3 ... drive; a position that drives no pixel holds (-1, -1).
    using GroupWiring = QVector<QVector<QPoint>>;

    struct Description
    {
        QString name;
        int width = 32;
        int height = 16;
        int scanRows = 4;
        int groups = 2;
        bool allLitWithBit1 = true;    ///< the whole module lights when polarity bit value 2 is set
        bool brighterWithBit3 = false; ///< brighter when polarity bit value 8 is set
        QVector<int> lineColours{0, 1, 2, -1}; ///< per data line: 0 red, 1 green, 2 blue, -1 none
        ChainOrder order = ChainOrder::Rows;
        int blockLength = 8; ///< pixels per block of the chain (block order)
        /// Traced with advanced tracing, every output position ("trace": "advanced"): a wiring
        /// whose further scan rows cannot be deduced from the first one.
        bool advancedTrace = false;
        /// The wiring per data group; filled from the order when the file gives none.
        QVector<GroupWiring> chains;
    };

    /// What the module shows: a colour per pixel (black = dark) and a caption.
    struct Frame
    {
        int width = 0;
        int height = 0;
        QVector<QColor> pixels;
        QString caption;
    };

    /// Reads a description from a JSON file; nothing when it is missing or malformed (error
    /// says why when given).
    static std::optional<Description> Load(const QString& path, QString* error = nullptr);
    /// The wiring the rows and blocks orders describe.
    static QVector<GroupWiring> GenerateChains(const Description& description);

    /// A description without chains gets the ones its order describes.
    explicit VirtualModule(Description description);
    const Description& Module() const { return m_d; }

    /// The picture for a command pair (both words in host order).
    Frame Show(std::uint32_t word1, std::uint32_t word2) const;

    /// The pixel an output position lands on: data group, scan row and position from 1.
    std::optional<std::pair<int, int>> PixelOf(int group, int scanRow, int position) const;

private:
    Frame Blank(const QString& caption) const;

    Description m_d;
};

} // namespace md::host
