#include "gui/parameters/CModuleSetttingDlg.h"

#include "gui/host/HostLink.h"
#include "gui/parameters/CFirstPageSettingDlg.h"
#include "gui/ui/NativeParent.h"
#include "gui/ui/ProgramFolderLocator.h"
#include "gui/ui/ResourceId.h"
#include "md/ContractIds.h"

#include <QVBoxLayout>

namespace md {

CModuleSetttingDlg::CModuleSetttingDlg(ModuleDesignDocument* document, QWidget* parent)
    : QWidget(parent), m_document(document)
{
    SetResourceId(this, kResourceId);
    QWidget::hide();
}

CModuleSetttingDlg::~CModuleSetttingDlg()
{
    DestroyChildPages();
}

const char16_t* CModuleSetttingDlg::Title()
{
    // Looked up once and kept for the life of the process.
    static const std::u16string title = HostLink::LocalizedText("IDS_MODULE_SETTING_TITLE");
    return title.c_str();
}

std::int32_t CModuleSetttingDlg::Apply()
{
    // The module parameter page writes the module configuration file.
    CFirstPageSettingDlg* page = ParameterPage();
    if (!m_window.Attached() || !page)
        return -1;
    return page->Apply();
}

std::int32_t CModuleSetttingDlg::ClosePendingWork()
{
    if (CFirstPageSettingDlg* page = ParameterPage(); m_window.Attached() && page)
        page->ClosePendingWork();
    return 0;
}

CFirstPageSettingDlg* CModuleSetttingDlg::ParameterPage() const
{
    return qobject_cast<CFirstPageSettingDlg*>(m_pages[0]);
}

bool CModuleSetttingDlg::IsAvailable()
{
    const auto flags = HostLink::GlobalFlags();
    return !flags || (*flags & contract::kGlobalFlagSettingsLocked) == 0;
}

bool CModuleSetttingDlg::CreateWindow(WindowHandle parent)
{
    if (!m_window.Attach(parent))
        return false;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (IHost* h = HostLink::Host()) {
        h->AttachPage(contract::kPluginId, NativeHandle(this), 0, 0, 0, 0);
        h->PageAttached(contract::kPluginId);
    }
    CreateChildPages();
    return true;
}

void CModuleSetttingDlg::CreateChildPages()
{
    auto* page = m_document ? new CFirstPageSettingDlg(*m_document, this)
                            : new CFirstPageSettingDlg(LocateProgramFolder().Root(), this);
    m_pages[0] = page;
    layout()->addWidget(page);
}

void CModuleSetttingDlg::DestroyChildPages()
{
    for (QWidget*& page : m_pages) {
        delete page;
        page = nullptr;
    }
}

void CModuleSetttingDlg::DestroyWindow()
{
    if (!m_window.Attached())
        return;
    m_window.Detach();
    DestroyChildPages();
    delete layout();
}

std::int32_t CModuleSetttingDlg::Show(WindowHandle parent, std::int32_t x, std::int32_t y,
                                      std::int32_t width, std::int32_t height)
{
    if (!m_window.Attached() && !CreateWindow(parent))
        return -1;
    setGeometry(x, y, width, height);
    QWidget::show();
    if (QWidget* page = m_pages[static_cast<std::size_t>(m_currentPage)])
        page->show();
    return 0;
}

std::int32_t CModuleSetttingDlg::Hide()
{
    return m_window.Hide() ? 0 : -1;
}

void CModuleSetttingDlg::Move(std::int32_t x, std::int32_t y, std::int32_t width,
                              std::int32_t height, std::uint8_t repaint)
{
    m_window.Place(x, y, width, height, repaint != 0);
}

} // namespace md
