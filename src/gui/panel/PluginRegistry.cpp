#include "gui/panel/PluginRegistry.h"

#include "gui/host/HostLink.h"

namespace md {

namespace {
ModuleDesignToolbarDlg* g_toolbar = nullptr;
SocketDesignDlg* g_socketWindow = nullptr;
NewModuleInfo* g_newModuleInfo = nullptr;
CBackgroundDesignDlg* g_backgroundWindow = nullptr;
} // namespace

IHost* PluginRegistry::Host()
{
    return HostLink::Host();
}
void PluginRegistry::SetHost(IHost* host)
{
    HostLink::SetHost(host);
}
ModuleDesignToolbarDlg* PluginRegistry::Toolbar()
{
    return g_toolbar;
}
void PluginRegistry::SetToolbar(ModuleDesignToolbarDlg* toolbar)
{
    g_toolbar = toolbar;
}
SocketDesignDlg* PluginRegistry::SocketWindow()
{
    return g_socketWindow;
}
void PluginRegistry::SetSocketWindow(SocketDesignDlg* window)
{
    g_socketWindow = window;
}
NewModuleInfo* PluginRegistry::ModuleInfo()
{
    return g_newModuleInfo;
}
void PluginRegistry::SetModuleInfo(NewModuleInfo* info)
{
    g_newModuleInfo = info;
}
CBackgroundDesignDlg* PluginRegistry::BackgroundWindow()
{
    return g_backgroundWindow;
}
void PluginRegistry::SetBackgroundWindow(CBackgroundDesignDlg* window)
{
    g_backgroundWindow = window;
}

} // namespace md
