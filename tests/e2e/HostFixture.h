#pragma once

#include "CommandAreaOwner.h"
#include "MainWindow.h"
#include "ModuleDesignHost.h"
#include "PluginLoader.h"
#include "SettingsWindow.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace md::host::test {

/// The reference host with the built plug-in, over a copy of the program folder (so the files a
/// design writes stay out of the build), a command area of its own and a private profile.
class HostFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Ends the host as a user closes it and starts it again over the same program folder,
    /// profile and command area name: a fresh plug-in whose settings page was never made.
    void Restart();
    /// Opens the settings window with the plug-in's page.
    SettingsWindow* ShowSettings();
    /// Works the whole design cycle through on a shipped virtual module (a file name in
    /// VirtualModules/) and fails the test unless it ends saved; the saved file's path.
    void RunDemo(const QString& module, QString* saved = nullptr);
    template <typename T>
    T* Find(QWidget* parent, const QString& name)
    {
        return parent->findChild<T*>(name);
    }

    void StartHost();
    void StopHost();

    /// The language the host runs in ("en-us", "zh-cn"); the shipped runinfo.ini's when empty.
    /// Set before SetUp.
    QString m_language;
    QTemporaryDir m_program;
    QTemporaryDir m_config;
    QByteArray m_areaName;
    std::unique_ptr<CommandAreaOwner> m_area;
    std::unique_ptr<ModuleDesignHost> m_host;
    PluginLoader m_loader;
    std::unique_ptr<MainWindow> m_window;
};

/// The host started in the language a test is parameterised with ("en-us", "zh-cn").
class LanguageHostFixture : public HostFixture, public ::testing::WithParamInterface<const char*>
{
protected:
    void SetUp() override
    {
        m_language = GetParam();
        HostFixture::SetUp();
    }
    /// The plug-in's text of a key as the host hands it out in that language.
    QString Text(const char* key);
};

} // namespace md::host::test
