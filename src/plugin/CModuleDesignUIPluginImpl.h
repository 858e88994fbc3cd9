#pragma once

#include "md/IBaseUIPlugin.h"

#include "gui/panel/ModuleDesignPanelDlg.h"
#include "gui/panel/ModuleDesignToolbarDlg.h"
#include "gui/parameters/CModuleSetttingDlg.h"

#include <QPointer>

#include <memory>

namespace md {

class ModuleDesignDocument;

/// The plug-in object CreatePlugin returns. It owns the design panel, the toolbar strip and the
/// settings page and hands their interfaces to the host on request.
class CModuleDesignUIPluginImpl final : public IBaseUIPlugin
{
public:
    CModuleDesignUIPluginImpl();
    ~CModuleDesignUIPluginImpl();
    CModuleDesignUIPluginImpl(const CModuleDesignUIPluginImpl&) = delete;
    CModuleDesignUIPluginImpl& operator=(const CModuleDesignUIPluginImpl&) = delete;

    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    std::int32_t ReservedA() override { return 0; }
    std::int32_t ReservedB() override { return 0; }
    const char* GetPluginId() override;
    bool QueryPluginInterface(std::uint32_t code, void** out) override;
    void SetHost(IHost* host) override;
    std::int32_t RunModal() override;
    std::int32_t CreateUI(WindowHandle parent, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height) override;
    void MoveUI(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                std::uint8_t repaint) override;
    std::int32_t HideUI() override;
    void DestroyUI() override;

private:
    bool EnsurePanel();
    bool EnsureToolbar();

    std::uint32_t m_references = 0;
    /// The design the panel, the settings page and the wizard work on.
    std::unique_ptr<ModuleDesignDocument> m_document;
    IHost* m_host = nullptr;
    // Guarded: a host that ends its windows before releasing the plug-in takes ours with them.
    QPointer<ModuleDesignPanelDlg> m_panel;
    QPointer<ModuleDesignToolbarDlg> m_toolbar;
    QPointer<CModuleSetttingDlg> m_settings;
};

} // namespace md
