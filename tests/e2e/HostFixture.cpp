#include "HostFixture.h"

#include "DemoRunner.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <filesystem>

namespace md::host::test {

namespace {
void CopyProgramFolder(const QString& target)
{
    namespace fs = std::filesystem;
    const fs::path source(MD_PROGRAM_DIR);
    const fs::path to(target.toStdString());
    for (const auto& entry : fs::directory_iterator(source))
        if (entry.is_directory() && entry.path().filename() != "temp")
            fs::copy(entry.path(), to / entry.path().filename(), fs::copy_options::recursive);
    fs::copy(source / "runinfo.ini", to / "runinfo.ini");
}
bool SetLanguage(const QString& runInfo, const QString& language)
{
    QFile file(runInfo);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    text.replace(QRegularExpression("(?m)^active=.*$"), "active=_" + language);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}
} // namespace

void HostFixture::SetUp()
{
    ASSERT_TRUE(m_program.isValid() && m_config.isValid());
    CopyProgramFolder(m_program.path());
    if (!m_language.isEmpty()) {
        ASSERT_TRUE(SetLanguage(m_program.filePath("runinfo.ini"), m_language));
    }
    m_areaName = "/md-e2e-" + QByteArray::number(QCoreApplication::applicationPid());
    qputenv("MD_COMMAND_AREA", m_areaName);
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    qputenv("MD_PROGRAM_FOLDER", m_program.path().toUtf8());
    ASSERT_NO_FATAL_FAILURE(StartHost());
}

void HostFixture::StartHost()
{
    m_area = std::make_unique<CommandAreaOwner>(m_areaName);
    ASSERT_TRUE(m_area->Create());
    m_host = std::make_unique<ModuleDesignHost>(m_program.path());
    ASSERT_TRUE(m_loader.Load(QDir(MD_PROGRAM_DIR).filePath(PluginLoader::kLibraryName)))
        << m_loader.ErrorText().toStdString();
    m_loader.Plugin()->SetHost(m_host.get());
    m_host->SetPlugin(m_loader.Plugin());
    m_window = std::make_unique<MainWindow>(m_host.get(), m_area.get());
    m_window->show();
    ASSERT_TRUE(m_window->EmbedPlugin(m_loader.Plugin()));
}

void HostFixture::StopHost()
{
    // As the host does: let go of the plug-in, release it, then end the windows.
    if (m_window)
        m_window->DetachPlugin();
    if (m_host)
        m_host->SetPlugin(nullptr);
    m_loader.Unload();
    m_window.reset();
    m_host.reset();
    m_area.reset();
}

void HostFixture::Restart()
{
    StopHost();
    ASSERT_NO_FATAL_FAILURE(StartHost());
}

void HostFixture::TearDown()
{
    StopHost();
    qunsetenv("MD_PROGRAM_FOLDER");
    qunsetenv("MD_COMMAND_AREA");
    qunsetenv("XDG_CONFIG_HOME");
}

SettingsWindow* HostFixture::ShowSettings()
{
    SettingsWindow* settings = m_window->Settings();
    if (settings) {
        settings->show();
        QApplication::processEvents();
    }
    return settings;
}

void HostFixture::RunDemo(const QString& module, QString* saved)
{
    const auto description = VirtualModule::Load(m_program.filePath("VirtualModules/" + module));
    ASSERT_TRUE(description) << module.toStdString();
    DemoRunner runner(*m_window, *m_area, VirtualModule(*description), m_program.path());
    runner.Start(1);
    // A demo that runs out of time fails on its stage below.
    (void)QTest::qWaitFor(
        [&] {
            return runner.CurrentStage() == DemoRunner::Stage::Done ||
                   runner.CurrentStage() == DemoRunner::Stage::Failed;
        },
        60000);
    ASSERT_EQ(runner.CurrentStage(), DemoRunner::Stage::Done) << runner.Failure().toStdString();
    if (saved)
        *saved = runner.SavedFile();
}

QString LanguageHostFixture::Text(const char* key)
{
    char16_t buffer[1024] = {};
    m_host->Texts().GetText("ModuleDesignUIPlugin", key, buffer, 1024);
    return QString::fromUtf16(buffer);
}

} // namespace md::host::test
