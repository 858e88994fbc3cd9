#pragma once

#include "md/IDesignUIPlugin.h"
#include "md/SdkTypes.h"

#include <QDialog>

class QLabel;

namespace md {

class ModuleLayoutDlg;

/// The design panel (resource 20008) the host embeds: it owns the design cycle and switches
/// between the socket, layout and background views of the current design.
class ModuleDesignPanelDlg : public QDialog, public IDesignUIPlugin
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20008;

    /// Design states.
    enum DesignState : int
    {
        kNone = -1,
        kOpened = 0,
        kNewSetUp = 1,
        kSaving = 3,
        kSocketSaved = 4
    };

    explicit ModuleDesignPanelDlg(QWidget* parent = nullptr);
    ~ModuleDesignPanelDlg() override;

    // IDesignUIPlugin
    std::uint32_t AddRef() override { return 0; }
    std::uint32_t Release() override { return 0; }
    std::int32_t OnNotify(std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;
    std::int32_t NewDesign() override;
    std::int32_t OpenDesign(const char16_t* path) override;
    std::int32_t SaveDesign() override;
    std::int32_t SaveSocketOrDriverFile() override;
    std::int32_t SaveDesignChecked() override;
    std::int32_t ForwardZoomIn() override { return 0; }
    std::int32_t ForwardZoomOut() override { return 0; }
    std::int32_t ForwardRepeat() override { return 0; }
    std::int32_t ForwardWithArgument(std::int32_t) override { return 0; }
    std::int32_t Reserved12() override { return 0; }
    std::uint32_t QueryView(std::uint32_t argument) override;
    const char16_t* DocumentName() override;
    bool IsDesignOpen() override;

    /// Creates the panel's window as a child of the host's window; false when the handle names
    /// no window of this process.
    bool CreateWindow(WindowHandle parent);
    /// Ends the window; the object and its design state stay.
    void DestroyWindow();
    bool HasWindow() const { return m_hasWindow; }
    /// Runs the panel as a modal dialog and returns its result.
    int RunModal();

    int DesignState() const { return m_designState; }
    /// The layout step object, created with the panel.
    ModuleLayoutDlg* LayoutDlg() const { return m_layoutDlg; }

private:
    void BuildContent();

    int m_designState = kNone;
    bool m_hasWindow = false;
    QLabel* m_placeholder = nullptr;
    ModuleLayoutDlg* m_layoutDlg = nullptr;
};

} // namespace md
