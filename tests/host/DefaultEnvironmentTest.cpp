// The default environment as the build leaves it in the program folder: the chip and light lists
// the host serves, and every picture the plug-in and the light library read.
#include "services/ChipRecordSet.h"
#include "services/LightRecordSet.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace md::host {
namespace {

const QDir kProgram(QStringLiteral(MD_PROGRAM_DIR));
const QString kPluginFolder = QStringLiteral("Modules/ModuleDesignUIPlugin/");

/// The list as raw JSON objects: the record sets read a missing field as 0, so the shape of the
/// shipped files is checked on the text itself.
QJsonArray RawList(const QString& relativePath)
{
    QFile file(kProgram.filePath(relativePath));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << qPrintable(error.errorString());
    EXPECT_TRUE(document.isArray());
    return document.array();
}

void ExpectIntegerFields(const QJsonArray& list, const QStringList& fields)
{
    for (const QJsonValue& entry : list) {
        const QJsonObject object = entry.toObject();
        EXPECT_TRUE(object.value("name").isString() && !object.value("name").toString().isEmpty());
        for (const QString& field : fields) {
            const QJsonValue value = object.value(field);
            EXPECT_TRUE(value.isDouble() && value.toDouble() == std::floor(value.toDouble()))
                << qPrintable(object.value("name").toString()) << " " << qPrintable(field);
        }
    }
}

QImage Decoded(const QString& relativePath)
{
    const QString path = kProgram.filePath(relativePath);
    EXPECT_TRUE(QFile::exists(path)) << qPrintable(relativePath) << " is missing";
    QImage image(path);
    EXPECT_FALSE(image.isNull()) << qPrintable(relativePath) << " does not decode";
    return image;
}

TEST(DefaultEnvironmentTest, ChipListOffersDriverAndScanChipsOfBothTypes)
{
    ExpectIntegerFields(RawList("ChipManager/chips.json"), {"kind", "chipType", "value"});

    ChipRecordSet chips(ChipRecordSet::Load(kProgram.filePath("ChipManager/chips.json")));
    std::set<std::pair<std::uint32_t, std::uint32_t>> kindsAndTypes;
    QSet<QString> names[2];
    int count = 0;
    for (bool more = chips.First(); more; more = chips.Next(), ++count) {
        const QString name = QString::fromStdU16String(chips.Name());
        ASSERT_LE(chips.Kind(), 1u) << qPrintable(name);
        EXPECT_LE(chips.ChipType(), 1u) << qPrintable(name);
        EXPECT_GT(chips.Value(), 0u) << qPrintable(name);
        EXPECT_FALSE(names[chips.Kind()].contains(name)) << qPrintable(name) << " twice";
        names[chips.Kind()].insert(name);
        kindsAndTypes.insert({chips.Kind(), chips.ChipType()});
    }
    EXPECT_GE(count, 10);
    // Scan chips of type "B" switch the socket page to its shift-register signals, so both
    // kinds of scan chip must be on offer, as must driver chips.
    EXPECT_TRUE(kindsAndTypes.count({1, 0}));
    EXPECT_TRUE(kindsAndTypes.count({1, 1}));
    EXPECT_TRUE(kindsAndTypes.count({0, 0}) || kindsAndTypes.count({0, 1}));
}

TEST(DefaultEnvironmentTest, EveryLightHasAPictureOfItsProportions)
{
    ExpectIntegerFields(RawList("Lightlibrary/lights.json"), {"width", "height", "colour", "code"});

    LightRecordSet lights(LightRecordSet::Load(kProgram.filePath("Lightlibrary/lights.json")));
    int perColour[3] = {0, 0, 0};
    QSet<QString> names;
    for (bool more = lights.First(); more; more = lights.Next()) {
        const QString name = QString::fromStdU16String(lights.Name());
        SCOPED_TRACE(name.toStdString());
        ASSERT_GE(lights.Colour(), 0);
        ASSERT_LE(lights.Colour(), 2);
        ++perColour[lights.Colour()];
        EXPECT_FALSE(names.contains(name)) << "named twice";
        names.insert(name);
        // Cells are 1 to 100 mm; a light must fit one.
        EXPECT_GE(lights.Width(), 5);
        EXPECT_GE(lights.Height(), 5);
        EXPECT_LE(lights.Width(), 1000);
        EXPECT_LE(lights.Height(), 1000);

        const QImage picture = Decoded("Lightlibrary/" + name);
        if (picture.isNull())
            continue;
        EXPECT_GE(std::min(picture.width(), picture.height()), 8);
        EXPECT_LE(std::max(picture.width(), picture.height()), 256);
        const double lightRatio = double(lights.Width()) / lights.Height();
        const double pictureRatio = double(picture.width()) / picture.height();
        EXPECT_NEAR(pictureRatio / lightRatio, 1.0, 0.15) << "picture not in proportion";
    }
    for (int colour = 0; colour < 3; ++colour)
        EXPECT_GE(perColour[colour], 3) << "colour " << colour;
}

TEST(DefaultEnvironmentTest, PluginPicturesArePresentAtTheirSizes)
{
    EXPECT_EQ(Decoded(kPluginFolder + "moduledesign_bkground.bmp").size(), QSize(256, 256));
    EXPECT_GE(Decoded(kPluginFolder + "module_bkground.png").width(), 64);

    for (const char* icon :
         {"magnify", "zoolout", "repeat", "finish", "option", "ivp", "newlayout", "background"})
        EXPECT_EQ(Decoded(kPluginFolder + "toolbaricon_" + icon + ".png").size(), QSize(28, 28))
            << icon;

    QStringList decomposition{"none.png"};
    for (const char* colour : {"r", "g", "b"})
        for (const char* mode : {"tu", "lh", "rh", "lv", "rv", "x0", "x1", "x2", "x3"})
            decomposition << QStringLiteral("%1_%2.png").arg(colour, mode);
    for (const QString& name : decomposition)
        EXPECT_EQ(Decoded(kPluginFolder + name).size(), QSize(64, 64)) << qPrintable(name);

    // Pins are laid out by the size of the empty box, and a signal's picture fills that box.
    const QSize pinBox = Decoded(kPluginFolder + "frame_background.bmp").size();
    EXPECT_GE(pinBox.width(), 16);
    EXPECT_GE(pinBox.height(), 16);
    for (int picture : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}) {
        const QString name = QStringLiteral("socket_frame_background_%1.bmp").arg(picture);
        EXPECT_EQ(Decoded(kPluginFolder + name).size(), pinBox) << qPrintable(name);
    }
}

} // namespace
} // namespace md::host
