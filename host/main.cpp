#include "CameraOptions.h"
#include "CommandAreaOwner.h"
#include "DemoRunner.h"
#include "HostProfile.h"
#include "InstallLayout.h"
#include "MainWindow.h"
#include "ModuleDesignHost.h"
#include "PluginLoader.h"
#include "SettingsWindow.h"
#include "md/ContractIds.h"
#include "virtual/VirtualTestDevice.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QShortcut>
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
    QCommandLineOption demo("demo",
                            "Work a whole design through on the virtual module FILE: wizard, "
                            "socket, tracing, save and open. With --screenshot the picture is "
                            "taken when the design is done.",
                            "FILE");
    QCommandLineOption pace("pace", "Milliseconds between two demo steps (default 250).", "MS",
                            "250");
    QCommandLineOption demoAdvanced("demo-advanced",
                                    "The demo traces every point with advanced tracing.");
    QCommandLineOption demoStop(
        "demo-stop-at",
        "The demo stops, leaving everything open, at MOMENT: socket (after the socket design), "
        "first-row or advanced (half way through the tracing). For tests of the recovery "
        "record, which kill the host there.",
        "MOMENT");
    QCommandLineOption demoResume("demo-resume",
                                  "The demo answers Yes to restoring the design a killed run "
                                  "left, and finishes and saves it.");
    QCommandLineOption demoCamera(
        "camera", "The demo traces through the layout step's camera dock with the virtual "
                  "camera, in the advanced mode when the module's description says "
                  "\"trace\": \"advanced\".");
    QCommandLineOption demoStopAfter("demo-stop-after",
                                     "With --camera: the demo stops, leaving everything open, "
                                     "once N pixels are traced.",
                                     "N");
    parser.addOption(demoAdvanced);
    parser.addOption(demoStop);
    parser.addOption(demoResume);
    parser.addOption(demoCamera);
    parser.addOption(demoStopAfter);
    QCommandLineOption deviceLog("device-log",
                                 "Print every frame of the point-go test device in hex.");
    QCommandLineOption deviceLeds(
        "device-leds", "LEDs per pixel the point-go test device lights (default 1).", "N", "1");
    QCommandLineOption deviceFaults(
        "device-faults",
        "Faults of the point-go test device, per request for an LED (counted from 1, the probe "
        "after each handshake included): late:N[:MS] answers request N after MS (default 800), "
        "vanish:N[:MS] hangs the line up instead and brings it back at the same path after MS "
        "(default 300). Separated by commas.",
        "LIST");
    parser.addOption(deviceLog);
    parser.addOption(deviceLeds);
    parser.addOption(deviceFaults);
    parser.addOption(screenshot);
    parser.addOption(settings);
    parser.addOption(demo);
    parser.addOption(pace);
    CameraOptions::AddTo(parser);
    parser.process(app);
    QString cameraError;
    const auto camera = CameraOptions::Read(parser, &cameraError);
    if (!camera) {
        std::fprintf(stderr, "module-design-host: %s\n", qPrintable(cameraError));
        return 2;
    }

    const InstallLayout layout =
        InstallLayout::ForExecutable(QCoreApplication::applicationDirPath());
    QString layoutError;
    if (!layout.Prepare(&layoutError)) {
        std::fprintf(stderr, "module-design-host: %s\n", qPrintable(layoutError));
        return 1;
    }
    const QString programFolder = layout.ProgramFolder();
    ModuleDesignHost host(programFolder);
    host.Camera().Configure(*camera);

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
    const QString library = layout.PluginLibrary();
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
        window.SetDeviceLog(parser.isSet(deviceLog));
        window.SetDeviceLeds(parser.value(deviceLeds).toInt());
        if (parser.isSet(deviceFaults) &&
            (!window.TestDevice() ||
             !window.TestDevice()->Script(parser.value(deviceFaults).toStdString())))
            std::fprintf(stderr, "module-design-host: --device-faults %s cannot be read\n",
                         qPrintable(parser.value(deviceFaults)));
        window.show();
        if (!window.EmbedPlugin(plugin))
            std::fprintf(stderr, "module-design-host: the plug-in did not create its panel\n");
        if (parser.isSet(settings))
            QTimer::singleShot(0, &window, [&window] {
                if (auto* dialog = window.Settings())
                    dialog->show();
            });
        std::unique_ptr<DemoRunner> runner;
        if (parser.isSet(demo)) {
            QString error;
            const auto description = VirtualModule::Load(parser.value(demo), &error);
            const auto stopAt = parser.isSet(demoStop)
                                    ? DemoRunner::MomentNamed(parser.value(demoStop))
                                    : std::optional(DemoRunner::Moment::None);
            if (!stopAt)
                error = QStringLiteral("--demo-stop-at takes socket, first-row or advanced");
            bool stopAfterOk = true;
            const int stopAfter =
                parser.isSet(demoStopAfter) ? parser.value(demoStopAfter).toInt(&stopAfterOk) : 0;
            if (!stopAfterOk || stopAfter < 0) {
                stopAfterOk = false;
                error = QStringLiteral("--demo-stop-after takes a number of pixels");
            }
            // A wiring marked for advanced tracing has outputs that drive nothing: only the
            // camera sees that nothing lights and records a virtual point there.
            const bool needsCamera =
                description && description->advancedTrace && !parser.isSet(demoCamera);
            if (needsCamera)
                error = QStringLiteral("this module's outputs that drive nothing are traced only "
                                       "by camera: add --camera");
            if (!description || !stopAt || !stopAfterOk || needsCamera || !area ||
                !area->IsOpen()) {
                std::fprintf(stderr, "module-design-host: --demo %s: %s\n",
                             qPrintable(parser.value(demo)),
                             qPrintable(description && stopAt && stopAfterOk && !needsCamera
                                            ? QStringLiteral("no command area")
                                            : error));
                window.DetachPlugin();
                host.SetPlugin(nullptr);
                loader.Unload();
                return 2;
            }
            window.UseVirtualModule(VirtualModule(*description));
            runner = std::make_unique<DemoRunner>(window, *area, VirtualModule(*description),
                                                  programFolder);
            const bool byCamera = parser.isSet(demoCamera);
            runner->SetAdvanced(parser.isSet(demoAdvanced) || description->advancedTrace);
            if (byCamera)
                runner->UseCamera(QString::fromStdU16String(host.Camera().Name()));
            runner->StopAfterPixels(stopAfter);
            runner->StopAt(*stopAt);
            runner->SetResume(parser.isSet(demoResume));
            const QString shotPath = parser.value(screenshot);
            runner->onProgress = [&window, &status, shotPath](DemoRunner::Stage stage,
                                                              const QString& note) {
                std::printf(stage == DemoRunner::Stage::Failed ? "demo: failed: %s\n"
                                                               : "demo: %s\n",
                            qPrintable(note));
                std::fflush(stdout);
                if (stage != DemoRunner::Stage::Done && stage != DemoRunner::Stage::Failed)
                    return;
                status = stage == DemoRunner::Stage::Done ? 0 : 1;
                if (shotPath.isEmpty())
                    return;
                QTimer::singleShot(200, &window, [&window, &status, shotPath] {
                    QDir().mkpath(QFileInfo(shotPath).absolutePath());
                    if (!window.grab().save(shotPath))
                        status = 1;
                    std::printf("%s\n", qPrintable(QFileInfo(shotPath).absoluteFilePath()));
                    QApplication::quit();
                });
            };
            // Ctrl+F: the rest of the demo at full speed.
            auto* faster = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), &window);
            QObject::connect(faster, &QShortcut::activated, runner.get(), &DemoRunner::SpeedUp);
            const int paceMs = parser.isSet(screenshot) ? 1 : parser.value(pace).toInt();
            QTimer::singleShot(300, runner.get(), [&runner, paceMs] { runner->Start(paceMs); });
        } else if (parser.isSet(screenshot)) {
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
        if (!parser.isSet(screenshot) && !parser.isSet(demo))
            status = result;
        runner.reset();
        // The plug-in's windows live inside this window: release the plug-in first.
        window.DetachPlugin();
        host.SetPlugin(nullptr);
        loader.Unload();
    }
    return status;
}
