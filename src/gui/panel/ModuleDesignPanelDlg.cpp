#include "panel/ModuleDesignPanelDlg.h"

#include "ui/HostText.h"
#include "ui/NativeParent.h"
#include "ui/ProgramFolderLocator.h"
#include "ui/ResourceId.h"
#include "wizard/ModuleLayoutDlg.h"

#include <QLabel>
#include <QVBoxLayout>

namespace md {

ModuleDesignPanelDlg::ModuleDesignPanelDlg(QWidget* parent) : QDialog(parent)
{
    SetResourceId(this, kResourceId);
    setWindowFlags(Qt::Widget);
    m_layoutDlg = new ModuleLayoutDlg(this);
}

ModuleDesignPanelDlg::~ModuleDesignPanelDlg() = default;

bool ModuleDesignPanelDlg::CreateWindow(WindowHandle parent)
{
    if (m_hasWindow)
        return true;
    QWidget* host = FindNativeParent(parent);
    if (!host)
        return false;
    setParent(host, Qt::Widget);
    BuildContent();
    m_hasWindow = true;
    return true;
}

void ModuleDesignPanelDlg::DestroyWindow()
{
    if (!m_hasWindow)
        return;
    hide();
    setParent(nullptr, Qt::Widget);
    m_hasWindow = false;
}

int ModuleDesignPanelDlg::RunModal()
{
    BuildContent();
    QWidget* oldParent = parentWidget();
    const bool hadWindow = m_hasWindow;
    setParent(oldParent, Qt::Dialog);
    setWindowTitle(HostText("ID_MODULE_DESIGN_TITLE", QStringLiteral("Module design")));
    resize(900, 600);
    const int result = exec();
    setParent(oldParent, Qt::Widget);
    if (hadWindow)
        show();
    return result;
}

void ModuleDesignPanelDlg::BuildContent()
{
    if (m_placeholder)
        return;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_placeholder = new QLabel(this);
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_placeholder->setWordWrap(true);
    const QString picture = QString::fromStdString(
        (LocateProgramFolder().PluginData() / "module_bkground.png").string());
    const QString hint = HostText(
        "IDS_MODULE_PANEL_EMPTY_HINT",
        QStringLiteral("No module design is open. Start one from the module settings page."));
    m_placeholder->setText(QStringLiteral("<img src=\"%1\"><p style=\"color:#606060\">%2</p>")
                               .arg(picture.toHtmlEscaped(), hint.toHtmlEscaped()));
    layout->addWidget(m_placeholder);
}

std::int32_t ModuleDesignPanelDlg::OnNotify(std::uint32_t message, std::uintptr_t, std::intptr_t)
{
    switch (message) {
    case 17:
        // The cell design of the layout step; the result is the cell's pixel count.
        return m_layoutDlg->RunCellDesign();
    case 2:
    case 3:
    case 4:
    case 5:
    case 18:
    case 33:
    case 145:
    case 146:
    case 147:
        // Answered by the socket, layout and background views of a design; without them the
        // request is refused (the wizard then gives up cleanly).
        return -1;
    default:
        return 0;
    }
}

std::int32_t ModuleDesignPanelDlg::NewDesign()
{
    // Without the new-module information dialog there is nothing to confirm: refused.
    return -1;
}

std::int32_t ModuleDesignPanelDlg::OpenDesign(const char16_t*)
{
    // No layout window yet, so no driver file can be opened.
    return -1;
}

std::int32_t ModuleDesignPanelDlg::SaveDesign()
{
    // The layout view saves; with nothing open nothing is done.
    m_designState = kSaving;
    return 0;
}

std::int32_t ModuleDesignPanelDlg::SaveSocketOrDriverFile()
{
    return -1;
}

std::int32_t ModuleDesignPanelDlg::SaveDesignChecked()
{
    m_designState = kSaving;
    return 0;
}

std::uint32_t ModuleDesignPanelDlg::QueryView(std::uint32_t)
{
    return 0;
}

const char16_t* ModuleDesignPanelDlg::DocumentName()
{
    return nullptr;
}

bool ModuleDesignPanelDlg::IsDesignOpen()
{
    return false;
}

} // namespace md
