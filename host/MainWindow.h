#pragma once

#include "virtual/VirtualModule.h"

#include <atomic>
#include <memory>

#include <QMainWindow>

namespace md {
class IBaseUIPlugin;
class IToobarInterface;
class IDesignUIPlugin;
} // namespace md

namespace md::host {

class ModuleDesignHost;
class CommandAreaOwner;
class ControllerMonitor;
class DesignMenus;
class VirtualModuleView;
class VirtualTestDevice;
class SettingsWindow;

/// The reference host's main window: menu, the plug-in's toolbar strip above its design panel,
/// the settings window and the controller monitor.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int kToolbarHeight = 34;

    MainWindow(ModuleDesignHost* host, CommandAreaOwner* area, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Creates the plug-in's panel and toolbar inside this window; false when the plug-in
    /// refused.
    bool EmbedPlugin(IBaseUIPlugin* plugin);
    /// The settings window, created on first use.
    SettingsWindow* Settings();
    /// The settings window if it was created.
    SettingsWindow* ExistingSettings() const { return m_settings; }
    /// Lets go of the plug-in's interfaces before the plug-in is released.
    void DetachPlugin();
    ControllerMonitor* Monitor() const { return m_monitor; }
    QWidget* PanelArea() const { return m_panelArea; }
    QWidget* ToolbarArea() const { return m_toolbarArea; }
    /// The plug-in's design panel (null before it is embedded).
    IDesignUIPlugin* Panel() const;
    DesignMenus* Menus() const { return m_menus; }
    /// Shows (and answers the command area with) another virtual module.
    void UseVirtualModule(VirtualModule module);
    VirtualModuleView* ModuleView() const { return m_moduleView; }
    /// The point-go test device on a pseudo-terminal (null when none could be made).
    VirtualTestDevice* TestDevice() const { return m_device.get(); }
    /// Prints every frame of the test device in hex on standard output.
    void SetDeviceLog(bool on) { m_deviceLog = on; }
    /// LEDs per pixel the test device steps through (the cell design's LED count).
    void SetDeviceLeds(int leds);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void PlacePluginWindows();

    ModuleDesignHost* m_host;
    CommandAreaOwner* m_area;
    IBaseUIPlugin* m_plugin = nullptr;
    IToobarInterface* m_toolbar = nullptr;
    QWidget* m_toolbarArea = nullptr;
    QWidget* m_panelArea = nullptr;
    ControllerMonitor* m_monitor = nullptr;
    SettingsWindow* m_settings = nullptr;
    DesignMenus* m_menus = nullptr;
    VirtualModuleView* m_moduleView = nullptr;
    std::unique_ptr<VirtualTestDevice> m_device;
    std::atomic<bool> m_deviceLog{false};
    int m_deviceLeds = 1;
};

} // namespace md::host
