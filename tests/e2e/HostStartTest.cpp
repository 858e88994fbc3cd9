// The reference host as a user starts it: its own process, the built program folder.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct HostRun
{
    int exitCode = -1;
    QString output;
};

HostRun RunHost(const QStringList& arguments, const QString& configHome)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", configHome);
    environment.insert("MD_COMMAND_AREA",
                       QStringLiteral("/md-e2e-start-%1").arg(QCoreApplication::applicationPid()));
    process.setProcessEnvironment(environment);
    process.start(QDir(MD_PROGRAM_DIR).filePath("module-design-host"), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

/// The colours of every fourth pixel of a picture.
QSet<QRgb> SampledColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    return colours;
}

TEST(HostStartTest, ScreenshotShowsTheHostWithThePluginsPanel)
{
    QTemporaryDir folder;
    const QString picture = folder.filePath("shots/host.png");
    const HostRun run = RunHost({"--screenshot", picture}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(run.output.trimmed(), QFileInfo(picture).absoluteFilePath());
    const QImage image(picture);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 800);
    // Not blank: the menu, the panel's picture and texts give more than a handful of colours.
    EXPECT_GT(SampledColours(image).size(), 8);
}

TEST(HostStartTest, ScreenshotOfTheSettingsWindowShowsThePluginsPage)
{
    QTemporaryDir folder;
    const QString picture = folder.filePath("settings.png");
    const HostRun run = RunHost({"--settings", "--screenshot", picture}, folder.path());
    ASSERT_EQ(run.exitCode, 0);
    const QImage image(picture);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(SampledColours(image).size(), 4)
        << "the page's controls and texts, not a blank window";
}

} // namespace
