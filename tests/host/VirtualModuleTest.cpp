// The virtual module answers command pairs as the real module it describes would.
#include "virtual/VirtualModule.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace md::host {
namespace {

VirtualModule::Description P10()
{
    VirtualModule::Description d;
    d.width = 32;
    d.height = 16;
    d.scanRows = 4;
    d.groups = 2;
    d.lineColours = {2, 0, 1, -1};
    return d;
}

int LitCount(const VirtualModule::Frame& frame)
{
    int lit = 0;
    for (const QColor& colour : frame.pixels)
        lit += colour != Qt::black ? 1 : 0;
    return lit;
}

TEST(VirtualModuleTest, ChainOrdersMapOutputPositionsToPixels)
{
    VirtualModule rows(P10());
    EXPECT_EQ(rows.PixelOf(0, 0, 1), std::make_pair(0, 0));
    EXPECT_EQ(rows.PixelOf(0, 0, 32), std::make_pair(31, 0));
    EXPECT_EQ(rows.PixelOf(0, 0, 33), std::make_pair(0, 4)); // next stripe of scan row 0
    EXPECT_EQ(rows.PixelOf(1, 2, 1), std::make_pair(0, 10));
    EXPECT_FALSE(rows.PixelOf(0, 0, 65)); // two stripes of 32
    EXPECT_FALSE(rows.PixelOf(2, 0, 1));
    EXPECT_FALSE(rows.PixelOf(0, 0, 0));

    VirtualModule::Description d = P10();
    d.order = VirtualModule::ChainOrder::Blocks;
    VirtualModule blocks(d);
    EXPECT_EQ(blocks.PixelOf(0, 0, 8), std::make_pair(7, 0));
    EXPECT_EQ(blocks.PixelOf(0, 0, 9), std::make_pair(0, 4)); // same columns, one stripe lower
    EXPECT_EQ(blocks.PixelOf(0, 0, 17), std::make_pair(8, 0));
}

TEST(VirtualModuleTest, WizardPatternsShowWhatTheModuleWouldShow)
{
    VirtualModule module(P10());
    // Step 1 pattern with the right polarity bit: all lit; with the wrong one: partly.
    EXPECT_EQ(LitCount(module.Show(0xA0000002u, 0x03FF10F6u)), 32 * 16);
    EXPECT_LT(LitCount(module.Show(0xA0000000u, 0x03FF10F6u)), 32 * 16);
    // Step 3: one row in every four.
    EXPECT_EQ(LitCount(module.Show(0xA0000000u, 0x03FF10F5u)), 32 * 4);
    // Step 4: line 1 carries blue here, line 4 nothing.
    const auto line1 = module.Show(0xA0000000u, 0x03FF0817u);
    EXPECT_EQ(line1.pixels[0], QColor(0, 0, 255));
    EXPECT_EQ(LitCount(module.Show(0xA0000000u, 0x03FF0887u)), 0);
    // Point lighting: position 33 of group 1, scan row 2.
    const std::uint32_t word2 = 0x01 | 0xF0 | (4u << 8) | (33u << 16) | (1u << 26);
    const auto point = module.Show(0xA2020000u, word2);
    ASSERT_EQ(LitCount(point), 1);
    EXPECT_NE(point.pixels[(8 + 2 + 4) * 32 + 0], QColor(Qt::black));
}

TEST(VirtualModuleTest, ShippedWiringsDriveEveryPixelOnce)
{
    const QDir folder(QDir(MD_SOURCE_DATA_DIR).filePath("VirtualModules"));
    const QStringList files = folder.entryList({"*.json"}, QDir::Files);
    ASSERT_GE(files.size(), 6);
    for (const QString& file : files) {
        QString error;
        const auto description = VirtualModule::Load(folder.filePath(file), &error);
        ASSERT_TRUE(description) << file.toStdString() << ": " << error.toStdString();
        const VirtualModule module(*description);
        QVector<int> driven(description->width * description->height, 0);
        for (const auto& wiring : module.Module().chains)
            for (const auto& row : wiring)
                for (const QPoint& pixel : row)
                    if (pixel.x() >= 0)
                        ++driven[pixel.y() * description->width + pixel.x()];
        EXPECT_EQ(driven.count(1), driven.size()) << file.toStdString();
    }
    EXPECT_FALSE(VirtualModule::Load(folder.filePath("missing.json")));
}

/// Whether every scan row of every data group is the first scan row moved down by its row
/// address and group, which is all tracing the first scan row can deduce.
bool DeducibleFromTheFirstScanRow(const VirtualModule::Description& d)
{
    const auto& first = d.chains[0][0];
    for (int group = 0; group < d.chains.size(); ++group)
        for (int row = 0; row < d.chains[group].size(); ++row) {
            const auto& positions = d.chains[group][row];
            if (positions.size() != first.size())
                return false;
            const QPoint down(0, group * d.height / d.groups + row);
            for (int i = 0; i < first.size(); ++i)
                if (positions[i] != (first[i].x() < 0 ? first[i] : first[i] + down))
                    return false;
        }
    return true;
}

TEST(VirtualModuleTest, ShippedWiringsAskForAdvancedTracingExactlyWhenTheFirstRowCannotTellTheRest)
{
    const QDir folder(QDir(MD_SOURCE_DATA_DIR).filePath("VirtualModules"));
    const QStringList files = folder.entryList({"*.json"}, QDir::Files, QDir::Name);
    int advanced = 0;
    for (const QString& file : files) {
        const auto description = VirtualModule::Load(folder.filePath(file));
        ASSERT_TRUE(description) << file.toStdString();
        const VirtualModule module(*description);
        const auto& d = module.Module();
        EXPECT_NE(DeducibleFromTheFirstScanRow(d), d.advancedTrace) << file.toStdString();
        if (!d.advancedTrace)
            continue;
        ++advanced;
        // make demo runs the first file, traced by hand in mode 1.
        EXPECT_NE(file, files.front());
        int unused = 0;
        for (const auto& wiring : d.chains)
            for (const auto& row : wiring) {
                EXPECT_EQ(row.size(), d.chains[0][0].size()) << "one scan row length";
                unused += int(std::count(row.begin(), row.end(), QPoint(-1, -1)));
            }
        EXPECT_GT(unused, 0) << file.toStdString() << " has no output that drives nothing";
    }
    EXPECT_GE(advanced, 1);
}

TEST(VirtualModuleTest, ExplicitChainsAreCheckedAndLookedUp)
{
    QTemporaryDir dir;
    auto load = [&](const QByteArray& chains, QString* error = nullptr) {
        QFile file(dir.filePath("m.json"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(R"({"width": 2, "height": 2, "scanRows": 2, "groups": 1, "chains": )" + chains +
                   "}");
        file.close();
        return VirtualModule::Load(file.fileName(), error);
    };
    const auto good = load("[[[[1,0],null,[0,0]], [[0,1],[1,1]]]]");
    ASSERT_TRUE(good);
    const VirtualModule module(*good);
    EXPECT_EQ(module.PixelOf(0, 0, 1), std::make_pair(1, 0));
    EXPECT_FALSE(module.PixelOf(0, 0, 2)); // drives no pixel
    EXPECT_EQ(module.PixelOf(0, 0, 3), std::make_pair(0, 0));
    EXPECT_EQ(module.PixelOf(0, 1, 2), std::make_pair(1, 1));
    EXPECT_FALSE(module.PixelOf(0, 1, 3));
    QString error;
    EXPECT_FALSE(load("[[[[2,0]], [[0,1]]]]", &error));
    EXPECT_TRUE(error.contains("outside"));
    EXPECT_FALSE(load("[[[[0,0]]]]", &error)); // one scan row short
    EXPECT_TRUE(error.contains("scan row"));
    EXPECT_FALSE(load("[]", &error));
    EXPECT_TRUE(error.contains("group"));

    QFile file(dir.filePath("t.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"width": 2, "height": 2, "scanRows": 2, "groups": 1, "trace": "by hand"})");
    file.close();
    EXPECT_FALSE(VirtualModule::Load(file.fileName(), &error));
    EXPECT_TRUE(error.contains("\"trace\"")) << error.toStdString();
}

} // namespace
} // namespace md::host
