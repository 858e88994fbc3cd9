#include "CommandAreaOwner.h"
#include "HostProfile.h"
#include "MainWindow.h"
#include "ModuleDesignHost.h"
#include "PluginLoader.h"
#include "SettingsWindow.h"
#include "md/ContractIds.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <memory>

using namespace md::host;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("module-design-host");

    QCommandLineParser parser;
    parser.setApplicationDescription("Reference host for the LED module design plug-in.");
    parser.addHelpOption();
    QCommandLineOption screenshot("screenshot", "Render the main window to a PNG file and exit.",
                                  "PATH");
    QCommandLineOption settings("settings", "Open the settings window at start.");
    parser.addOption(screenshot);
    parser.addOption(settings);
    parser.process(app);

    const QString programFolder = QCoreApplication::applicationDirPath();
    ModuleDesignHost host(programFolder);

    // The controller side creates the command area unless the profile says this start has none.
    std::unique_ptr<CommandAreaOwner> area;
    if (ProfileInt("app", "start", 0) != md::contract::kStartWithoutCommandArea) {
        const QByteArray name = qEnvironmentVariableIsEmpty("MD_COMMAND_AREA")
                                    ? QByteArray(md::contract::kCommandAreaName)
                                    : qgetenv("MD_COMMAND_AREA");
        area = std::make_unique<CommandAreaOwner>(name);
        if (!area->Create())
            std::fprintf(stderr, "module-design-host: cannot create the command area %s\n",
                         name.constData());
    }

    PluginLoader loader;
    const QString library = QDir(programFolder).filePath(PluginLoader::kLibraryName);
    if (!loader.Load(library)) {
        const QString error = QStringLiteral("Cannot load the plug-in: %1").arg(loader.ErrorText());
        std::fprintf(stderr, "module-design-host: %s\n", qPrintable(error));
        if (!parser.isSet(screenshot))
            QMessageBox::critical(nullptr, "module-design-host", error);
        return 1;
    }
    md::IBaseUIPlugin* plugin = loader.Plugin();
    plugin->SetHost(&host);
    host.SetPlugin(plugin);

    int status = 0;
    {
        MainWindow window(&host, area.get());
        window.show();
        if (!window.EmbedPlugin(plugin))
            std::fprintf(stderr, "module-design-host: the plug-in did not create its panel\n");
        if (parser.isSet(settings))
            QTimer::singleShot(0, &window, [&window] {
                if (auto* dialog = window.Settings())
                    dialog->show();
            });
        if (parser.isSet(screenshot)) {
            const QString path = parser.value(screenshot);
            QTimer::singleShot(300, &window, [&window, path, &status] {
                QDir().mkpath(QFileInfo(path).absolutePath());
                QWidget* shown = QApplication::activeModalWidget();
                if (!shown && window.ExistingSettings() && window.ExistingSettings()->isVisible())
                    shown = window.ExistingSettings();
                const QPixmap picture = (shown ? shown : &window)->grab();
                status = picture.save(path) ? 0 : 1;
                std::printf("%s\n", qPrintable(QFileInfo(path).absoluteFilePath()));
                QApplication::quit();
            });
        }
        const int result = QApplication::exec();
        if (!parser.isSet(screenshot))
            status = result;
        // The plug-in's windows live inside this window: release the plug-in first.
        window.DetachPlugin();
        host.SetPlugin(nullptr);
        loader.Unload();
    }
    return status;
}
