// The smart-setting wizard as a user runs it in the reference host: settings, Next, the step
// dialogs, with the controller monitor watching the command area.
#include "CommandAreaOwner.h"
#include "ControllerMonitor.h"
#include "MainWindow.h"
#include "ModuleDesignHost.h"
#include "PluginLoader.h"
#include "SettingsWindow.h"
#include "support/ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace md::host {
namespace {

/// A copy of the program folder's data, so the wizard's temporary files stay out of the build.
QString CopyProgramFolder(const QTemporaryDir& target)
{
    namespace fs = std::filesystem;
    const fs::path source(MD_PROGRAM_DIR);
    for (const auto& entry : fs::directory_iterator(source))
        if (entry.is_directory() && entry.path().filename() != "temp")
            fs::copy(entry.path(), fs::path(target.path().toStdString()) / entry.path().filename(),
                     fs::copy_options::recursive);
    fs::copy(source / "runinfo.ini", fs::path(target.path().toStdString()) / "runinfo.ini");
    return target.path();
}

TEST(WizardThroughHostTest, NextWalksTheStepsAndAFailedHandOverClearsTheFlag)
{
    QTemporaryDir program;
    QTemporaryDir config;
    const QByteArray areaName =
        "/md-e2e-wizard-" + QByteArray::number(QCoreApplication::applicationPid());
    qputenv("MD_COMMAND_AREA", areaName);
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("MD_PROGRAM_FOLDER", CopyProgramFolder(program).toUtf8());

    CommandAreaOwner area(areaName);
    ASSERT_TRUE(area.Create());
    ModuleDesignHost host(program.path());
    PluginLoader loader;
    ASSERT_TRUE(loader.Load(QDir(MD_PROGRAM_DIR).filePath(PluginLoader::kLibraryName)))
        << loader.ErrorText().toStdString();
    loader.Plugin()->SetHost(&host);
    host.SetPlugin(loader.Plugin());
    {
        MainWindow window(&host, &area);
        window.show();
        ASSERT_TRUE(window.EmbedPlugin(loader.Plugin()));
        SettingsWindow* settings = window.Settings();
        ASSERT_NE(settings, nullptr);
        settings->show();
        QApplication::processEvents();
        auto* next = settings->findChild<QPushButton*>("NextButton");
        ASSERT_NE(next, nullptr);

        // Answer every step with Next; count the steps and keep an eye on the flag.
        QStringList titles;
        std::function<void(QWidget*)> answer = [&](QWidget* modal) {
            titles << modal->windowTitle();
            window.Monitor()->Poll();
            if (titles.size() < 8)
                test::ModalDriver::Expect(answer, 2000);
            for (QPushButton* button : modal->findChildren<QPushButton*>())
                if (button->isDefault() || button->text() == "OK") {
                    button->click();
                    return;
                }
            modal->close();
        };
        test::ModalDriver::Expect(answer, 2000);
        next->click();
        window.Monitor()->Poll();

        // Steps 1 to 4 ran (or the skipped ones did not), the panel refused the hand-over.
        EXPECT_GE(titles.size(), 2);
        EXPECT_EQ(area.Bytes()[0], 0);   // the wizard flag is clear again
        EXPECT_EQ(area.Bytes()[4], 100); // the end mark
        EXPECT_EQ(area.Bytes()[24] & 0xF0, 0xA0);
        EXPECT_GE(window.Monitor()->HistorySize(), 3);
        window.DetachPlugin();
        host.SetPlugin(nullptr);
        loader.Unload();
    }
    qunsetenv("MD_PROGRAM_FOLDER");
    qunsetenv("MD_COMMAND_AREA");
}

} // namespace
} // namespace md::host
