#include "VirtualModule.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace md::host {

namespace {
QColor LineColour(int colour, int level = 255)
{
    switch (colour) {
    case 0:
        return QColor(level, 0, 0);
    case 1:
        return QColor(0, level, 0);
    case 2:
        return QColor(0, 0, level);
    default:
        return Qt::black;
    }
}
} // namespace

VirtualModule::VirtualModule(Description description) : m_d(std::move(description))
{
    if (m_d.chains.isEmpty())
        m_d.chains = GenerateChains(m_d);
}

std::optional<VirtualModule::Description> VirtualModule::Load(const QString& path, QString* error)
{
    auto fail = [error](const QString& why) -> std::optional<Description> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(path));
    const QJsonObject o = QJsonDocument::fromJson(file.readAll()).object();
    if (o.isEmpty())
        return fail(QStringLiteral("not a JSON object"));
    Description d;
    d.name = o.value("name").toString(d.name);
    d.width = o.value("width").toInt(d.width);
    d.height = o.value("height").toInt(d.height);
    d.scanRows = o.value("scanRows").toInt(d.scanRows);
    d.groups = o.value("groups").toInt(d.groups);
    d.allLitWithBit1 = o.value("allLitWithBit1").toBool(d.allLitWithBit1);
    d.brighterWithBit3 = o.value("brighterWithBit3").toBool(d.brighterWithBit3);
    if (o.contains("lineColours")) {
        d.lineColours.clear();
        for (const QJsonValue& v : o.value("lineColours").toArray())
            d.lineColours << v.toInt(-1);
    }
    d.order = o.value("order").toString() == "blocks" ? ChainOrder::Blocks : ChainOrder::Rows;
    d.blockLength = o.value("blockLength").toInt(d.blockLength);
    const QString trace = o.value("trace").toString(QStringLiteral("mode1"));
    if (trace != QLatin1String("mode1") && trace != QLatin1String("advanced"))
        return fail(
            QStringLiteral("\"trace\" takes \"mode1\" or \"advanced\", not \"%1\"").arg(trace));
    d.advancedTrace = trace == QLatin1String("advanced");
    if (d.width <= 0 || d.height <= 0 || d.width > 256 || d.height > 256 || d.scanRows <= 0 ||
        d.groups <= 0 || d.blockLength <= 0)
        return fail(QStringLiteral("size, scan rows, groups or block length out of range"));
    if (!o.contains("chains")) {
        if (d.height % (d.groups * d.scanRows) != 0)
            return fail(QStringLiteral("the height does not divide into groups and scan rows"));
        return d;
    }
    const QJsonArray groups = o.value("chains").toArray();
    if (groups.size() != d.groups)
        return fail(QStringLiteral("\"chains\" needs one wiring per data group"));
    for (const QJsonValue& group : groups) {
        const QJsonArray rows = group.toArray();
        if (rows.size() != d.scanRows)
            return fail(QStringLiteral("each wiring needs one list per scan row"));
        GroupWiring wiring;
        for (const QJsonValue& row : rows) {
            QVector<QPoint> positions;
            for (const QJsonValue& pixel : row.toArray()) {
                if (pixel.isNull()) {
                    positions << QPoint(-1, -1);
                    continue;
                }
                const QJsonArray xy = pixel.toArray();
                const int x = xy.at(0).toInt(-1), y = xy.at(1).toInt(-1);
                if (xy.size() != 2 || x < 0 || y < 0 || x >= d.width || y >= d.height)
                    return fail(QStringLiteral("a pixel of \"chains\" lies outside the module"));
                positions << QPoint(x, y);
            }
            wiring << positions;
        }
        d.chains << wiring;
    }
    return d;
}

QVector<VirtualModule::GroupWiring> VirtualModule::GenerateChains(const Description& d)
{
    QVector<GroupWiring> chains;
    if (d.groups <= 0 || d.scanRows <= 0 || d.height % (d.groups * d.scanRows) != 0)
        return chains;
    const int groupHeight = d.height / d.groups;
    const int stripes = groupHeight / d.scanRows; // pixel rows one scan row drives
    for (int group = 0; group < d.groups; ++group) {
        GroupWiring wiring;
        for (int scanRow = 0; scanRow < d.scanRows; ++scanRow) {
            QVector<QPoint> positions;
            for (int index = 0; index < d.width * stripes; ++index) {
                int x = 0;
                int stripe = 0;
                if (d.order == ChainOrder::Rows) {
                    x = index % d.width;
                    stripe = index / d.width;
                } else {
                    // A block along one pixel row, then the same columns one stripe lower.
                    const int block = index / d.blockLength;
                    stripe = block % stripes;
                    x = (block / stripes) * d.blockLength + index % d.blockLength;
                }
                positions << (x < d.width
                                  ? QPoint(x, group * groupHeight + scanRow + stripe * d.scanRows)
                                  : QPoint(-1, -1));
            }
            wiring << positions;
        }
        chains << wiring;
    }
    return chains;
}

VirtualModule::Frame VirtualModule::Blank(const QString& caption) const
{
    Frame frame;
    frame.width = m_d.width;
    frame.height = m_d.height;
    frame.pixels.fill(Qt::black, m_d.width * m_d.height);
    frame.caption = caption;
    return frame;
}

std::optional<std::pair<int, int>> VirtualModule::PixelOf(int group, int scanRow,
                                                          int position) const
{
    if (group < 0 || group >= m_d.chains.size())
        return std::nullopt;
    const GroupWiring& wiring = m_d.chains[group];
    if (scanRow < 0 || scanRow >= wiring.size() || position < 1 ||
        position > wiring[scanRow].size())
        return std::nullopt;
    const QPoint pixel = wiring[scanRow][position - 1];
    if (pixel.x() < 0)
        return std::nullopt;
    return std::make_pair(pixel.x(), pixel.y());
}

VirtualModule::Frame VirtualModule::Show(std::uint32_t word1, std::uint32_t word2) const
{
    const std::uint32_t polarity = word1 & 0x00FFFFFF;
    const int mode = static_cast<int>(word2 & 0x0F);
    const int lines = static_cast<int>((word2 >> 4) & 0x0F);
    const int position = static_cast<int>((word2 >> 16) & 0x3FF);
    const int group = static_cast<int>(word2 >> 26);
    const bool bit1 = (polarity & 2) != 0;
    const bool bit3 = (polarity & 8) != 0;

    Frame frame = Blank({});
    auto fill = [&](QColor colour, auto&& lit) {
        for (int y = 0; y < m_d.height; ++y)
            for (int x = 0; x < m_d.width; ++x)
                if (lit(x, y))
                    frame.pixels[y * m_d.width + x] = colour;
    };
    if (mode == 6) { // whole module, polarity state test
        const bool right = bit1 == m_d.allLitWithBit1;
        fill(QColor(235, 235, 235), [&](int x, int y) { return right || (x + y) % 3 == 0; });
        frame.caption = right ? QStringLiteral("All LEDs lit") : QStringLiteral("Partly lit");
    } else if (mode == 7 && lines == 0x0F) { // brightness test
        const bool brighter = bit3 == m_d.brighterWithBit3;
        fill(brighter ? QColor(250, 250, 250) : QColor(110, 110, 110),
             [](int, int) { return true; });
        frame.caption = brighter ? QStringLiteral("Bright") : QStringLiteral("Dim");
    } else if (mode == 5) { // scan test: one lit row in every scan-row interval
        fill(QColor(235, 235, 235), [&](int, int y) { return y % m_d.scanRows == 0; });
        frame.caption = QStringLiteral("One row lit every %1 rows").arg(m_d.scanRows);
    } else if (mode == 7) { // one data line
        int line = 0;
        while (line < 4 && !(lines & (1 << line)))
            ++line;
        const int colour = line < m_d.lineColours.size() ? m_d.lineColours[line] : -1;
        fill(LineColour(colour), [](int, int) { return true; });
        frame.caption = QStringLiteral("Data line %1").arg(line + 1);
    } else if (mode == 1) { // point lighting
        const int lead = static_cast<int>(word1 >> 24) & 0x0F;
        const int g = lead != 0 ? lead : static_cast<int>((word1 >> 16) & 0xFF);
        const int scanRow = g % m_d.scanRows;
        if (const auto pixel = PixelOf(group, scanRow, position))
            frame.pixels[pixel->second * m_d.width + pixel->first] = QColor(255, 255, 255);
        frame.caption = QStringLiteral("Group %1, scan row %2, position %3")
                            .arg(group)
                            .arg(scanRow)
                            .arg(position);
    } else if (mode == 0x0B) {
        frame.caption =
            QStringLiteral("HUB connector %1, slot %2").arg(group).arg((word2 >> 13) & 7);
    }
    return frame;
}

} // namespace md::host
