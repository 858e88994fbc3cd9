#pragma once

namespace md {

class IHost;
class ModuleDesignToolbarDlg;
class SocketDesignDlg;
class NewModuleInfo;
class CBackgroundDesignDlg;

/// Process-wide pointers to the host and the current windows, written by the code that creates
/// them and read by other windows to reach the current instance. Plain variables: everything
/// runs on the host's user-interface thread.
class PluginRegistry
{
public:
    static IHost* Host();
    static void SetHost(IHost* host);

    static ModuleDesignToolbarDlg* Toolbar();
    static void SetToolbar(ModuleDesignToolbarDlg* toolbar);

    static SocketDesignDlg* SocketWindow();
    static void SetSocketWindow(SocketDesignDlg* window);
    static NewModuleInfo* ModuleInfo();
    static void SetModuleInfo(NewModuleInfo* info);
    static CBackgroundDesignDlg* BackgroundWindow();
    static void SetBackgroundWindow(CBackgroundDesignDlg* window);
};

} // namespace md
