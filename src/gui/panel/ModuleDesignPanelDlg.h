#pragma once

#include "core/document/DesignPanelPresenter.h"
#include "gui/ui/HostedWindow.h"
#include "md/IDesignUIPlugin.h"
#include "md/SdkTypes.h"

#include <QDialog>
#include <QPointer>

#include <memory>
#include <string>

class QLabel;
class QStackedWidget;

namespace md {

class CBackgroundDesignDlg;
class DesignRecovery;
class ModuleDesignDocument;
class ModuleLayoutDlg;
class NewModuleInfo;
class SocketDesignDlg;
class SocketScrollArea;

/// The design panel (resource 20008) the host embeds: it owns the design cycle and switches
/// between the socket, layout and background views of the design document. Its logic is
/// DesignPanelPresenter's; the panel creates and shows the sub-windows.
class ModuleDesignPanelDlg : public QDialog, public IDesignUIPlugin, private DesignPanelView
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20008;
    /// The socket window reports its content size (two 32-bit values) with this message.
    static constexpr std::uint32_t kMsgSocketContentSize = 5120;

    /// Design states.
    enum DesignState : int
    {
        kNone = DesignPanelPresenter::kNone,
        kOpened = DesignPanelPresenter::kOpened,
        kNewSetUp = DesignPanelPresenter::kNewSetUp,
        kSaving = DesignPanelPresenter::kSaving,
        kSocketSaved = DesignPanelPresenter::kSocketSaved
    };

    explicit ModuleDesignPanelDlg(ModuleDesignDocument& document, QWidget* parent = nullptr);
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
    std::int32_t ForwardZoomIn() override;
    std::int32_t ForwardZoomOut() override;
    std::int32_t ForwardRepeat() override;
    std::int32_t ForwardWithArgument(std::int32_t argument) override;
    std::int32_t HasUnsavedChanges() override;
    std::uint32_t QueryView(std::uint32_t argument) override;
    const char16_t* DocumentName() override;
    bool IsDesignOpen() override;

    /// Creates the panel's window as a child of the host's window; false when the handle names
    /// no window of this process.
    bool CreateWindow(WindowHandle parent);
    /// Ends the window; the object and its design state stay.
    void DestroyWindow();
    bool HasWindow() const { return m_window.Attached(); }
    /// Runs the panel as a modal dialog and returns its result.
    int RunModal();

    int DesignState() const { return m_presenter->DesignState(); }
    ModuleDesignDocument& Document() { return m_document; }
    /// The layout step, created with the panel.
    ModuleLayoutDlg* LayoutDlg() const { return m_layoutDlg; }
    SocketDesignDlg* SocketWindow() const { return m_socket; }
    CBackgroundDesignDlg* BackgroundWindow() const { return m_background; }
    NewModuleInfo* ModuleInfoDialog() const { return m_moduleInfo; }
    /// The socket view's scroller (scroll bars only while the socket is larger than the panel).
    SocketScrollArea* SocketScroller() const { return m_socketScroll; }

private:
    // DesignPanelView
    bool RunNewModuleInfo(NewModuleInfoRecord& record) override;
    void ShowSocketView() override;
    void ShowLayoutView() override;
    void ShowBackgroundView() override;
    bool SocketViewVisible() const override;
    bool LayoutViewVisible() const override;
    void DesignReset() override;
    void DesignReady(bool newSocket) override;
    int RunCellDesign() override;

    void BuildContent();
    /// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z over the design's undo history, in whichever view is in
    /// front.
    void BuildUndoActions();
    /// Shows what an undo or redo changed.
    void EditsReplayed();
    /// At start: a record of unsaved work left by a run that did not close its design is offered
    /// back (Yes restores it, No deletes it).
    void OfferRecovery();
    /// A marker drag in the background view is one edit, from the press to the release.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void RegisterToolbarGroups();
    void SelectToolbarGroup(const char* key);
    void ShowEmptyState();

    ModuleDesignDocument& m_document;
    std::unique_ptr<DesignPanelPresenter> m_presenter;
    std::unique_ptr<DesignRecovery> m_recovery;
    std::u16string m_documentName;
    HostedWindow m_window{*this};
    QStackedWidget* m_views = nullptr;
    QLabel* m_empty = nullptr;
    SocketScrollArea* m_socketScroll = nullptr;
    SocketDesignDlg* m_socket = nullptr;
    ModuleLayoutDlg* m_layoutDlg = nullptr;
    CBackgroundDesignDlg* m_background = nullptr;
    QPointer<QWidget> m_markerViewport; ///< the background view's viewport, for marker drags
    NewModuleInfo* m_moduleInfo = nullptr;
};

} // namespace md
