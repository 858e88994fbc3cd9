#include "CModuleDesignUIPluginImpl.h"

#include "core/document/ModuleDesignDocument.h"
#include "gui/host/HostLink.h"
#include "gui/panel/ModuleDesignPanelDlg.h"
#include "gui/panel/ModuleDesignToolbarDlg.h"
#include "gui/parameters/CModuleSetttingDlg.h"
#include "gui/ui/ProgramFolderLocator.h"
#include "md/ContractIds.h"
#include "md/IDesignUIPlugin.h"
#include "md/ISettingBase.h"
#include "md/IToobarInterface.h"

#include <new>

namespace md {

CModuleDesignUIPluginImpl::CModuleDesignUIPluginImpl()
    : m_document(std::make_unique<ModuleDesignDocument>(LocateProgramFolder()))
{}

CModuleDesignUIPluginImpl::~CModuleDesignUIPluginImpl()
{
    delete m_panel;
    m_panel = nullptr;
    if (m_toolbar) {
        m_toolbar->DestroyWindow();
        delete m_toolbar;
        m_toolbar = nullptr;
    }
    if (m_settings) {
        m_settings->DestroyWindow();
        delete m_settings;
        m_settings = nullptr;
    }
}

std::uint32_t CModuleDesignUIPluginImpl::AddRef()
{
    return m_references;
}

std::uint32_t CModuleDesignUIPluginImpl::Release()
{
    delete m_panel;
    m_panel = nullptr;
    delete this;
    return 0;
}

const char* CModuleDesignUIPluginImpl::GetPluginId()
{
    return contract::kPluginId;
}

void CModuleDesignUIPluginImpl::SetHost(IHost* host)
{
    m_host = host;
    HostLink::SetHost(host);
}

bool CModuleDesignUIPluginImpl::EnsurePanel()
{
    if (!m_panel)
        m_panel = new (std::nothrow) ModuleDesignPanelDlg(*m_document);
    return m_panel != nullptr;
}

bool CModuleDesignUIPluginImpl::EnsureToolbar()
{
    if (!m_toolbar) {
        m_toolbar = new (std::nothrow) ModuleDesignToolbarDlg(m_document->Toolbar());
    }
    return m_toolbar != nullptr;
}

bool CModuleDesignUIPluginImpl::QueryPluginInterface(std::uint32_t code, void** out)
{
    switch (code) {
    case contract::kRequestSettings:
        if (!m_settings)
            m_settings = new (std::nothrow) CModuleSetttingDlg(m_document.get());
        if (!m_settings)
            return false;
        *out = static_cast<ISettingBase*>(m_settings);
        return true;
    case contract::kRequestPanel:
        if (m_panel && m_panel->HasWindow()) {
            *out = static_cast<IDesignUIPlugin*>(m_panel);
            return true;
        }
        *out = nullptr;
        return false;
    case contract::kRequestToolbar:
        EnsureToolbar();
        *out = m_toolbar ? static_cast<IToobarInterface*>(m_toolbar) : nullptr;
        return true;
    case contract::kRequestPanelObject:
        if (!EnsurePanel()) {
            *out = nullptr;
            return false;
        }
        *out = static_cast<IDesignUIPlugin*>(m_panel);
        return true;
    default:
        return false;
    }
}

std::int32_t CModuleDesignUIPluginImpl::RunModal()
{
    if (!EnsurePanel())
        return -1;
    return m_panel->RunModal();
}

std::int32_t CModuleDesignUIPluginImpl::CreateUI(WindowHandle parent, std::int32_t x,
                                                 std::int32_t y, std::int32_t width,
                                                 std::int32_t height)
{
    if (!EnsurePanel())
        return 0;
    // The toolbar exists (and is published) before the panel's window, so the panel's
    // initialisation can reach it.
    EnsureToolbar();
    if (!m_panel->HasWindow() && !m_panel->CreateWindow(parent))
        return 0;
    static_cast<IBaseUIPlugin*>(this)->MoveUI(x, y, width, height, 1);
    m_panel->show();
    return 1;
}

void CModuleDesignUIPluginImpl::MoveUI(std::int32_t x, std::int32_t y, std::int32_t width,
                                       std::int32_t height, std::uint8_t repaint)
{
    if (!m_panel || !m_panel->HasWindow())
        return;
    m_panel->setGeometry(x, y, width, height);
    if (repaint)
        m_panel->update();
}

std::int32_t CModuleDesignUIPluginImpl::HideUI()
{
    if (m_panel && m_panel->HasWindow())
        m_panel->hide();
    return 1;
}

void CModuleDesignUIPluginImpl::DestroyUI()
{
    if (m_panel && m_panel->HasWindow())
        m_panel->DestroyWindow();
}

} // namespace md
