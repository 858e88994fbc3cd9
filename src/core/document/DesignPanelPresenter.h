#pragma once

#include "core/document/LayoutStepPresenter.h"
#include "core/platform/Prompter.h"

#include <cstdint>
#include <functional>
#include <string>

namespace md {

class CodePage;
class FileChooser;
struct NewModuleInfoRecord;
struct VersionWords;

/// What the panel's presenter asks of its window.
class DesignPanelView
{
public:
    virtual ~DesignPanelView() = default;
    /// Runs the new-module information dialog modally on record; true on OK.
    virtual bool RunNewModuleInfo(NewModuleInfoRecord& record) = 0;
    /// Message 2: the socket window shown in its design mode, layout and background hidden.
    virtual void ShowSocketView() = 0;
    /// Message 3: the layout step's window shown, the socket window in mode 0.
    virtual void ShowLayoutView() = 0;
    /// Message 4: socket and layout hidden, the background window shown.
    virtual void ShowBackgroundView() = 0;
    virtual bool SocketViewVisible() const = 0;
    virtual bool LayoutViewVisible() const = 0;
    /// The design changes: the background window goes, the socket and layout windows drop
    /// their views of the old design (the models are the document's, not theirs to reset).
    virtual void DesignReset() = 0;
    /// The document holds a new design (newSocket: its socket was made afresh and is laid out
    /// for the frame pictures): the windows show it and the background window is made for its
    /// size.
    virtual void DesignReady(bool newSocket) = 0;
    /// Message 17: the layout step's cell design; its pixel count.
    virtual int RunCellDesign() = 0;
};

/// The ports of the panel besides the layout step's.
struct DesignPanelPorts
{
    Prompter& prompter;
    const Texts& texts;
    FileChooser& chooser;
    const CodePage& codePage;
    const VersionWords& version;
    /// Message 6 to the host's notification target.
    std::function<void()> notifyHost;
};

/// The design panel's logic: the design cycle (new, open, save, hand-over from the wizard),
/// the design state and every notification the panel answers. The window binds it to its
/// sub-windows through DesignPanelView.
class DesignPanelPresenter
{
public:
    enum DesignState : int
    {
        kNone = -1,
        kOpened = 0,
        kNewSetUp = 1,
        kSaving = 3,
        kSocketSaved = 4
    };

    DesignPanelPresenter(ModuleDesignDocument& document, LayoutStepPresenter& layout,
                         DesignPanelView& view, DesignPanelPorts ports);
    ~DesignPanelPresenter();
    DesignPanelPresenter(const DesignPanelPresenter&) = delete;
    DesignPanelPresenter& operator=(const DesignPanelPresenter&) = delete;

    int DesignState() const { return m_state; }

    // The design operations 3 to 7 and the queries 13 to 15.
    std::int32_t NewDesign();
    std::int32_t OpenDesign(const char16_t* path);
    std::int32_t SaveDesign();
    std::int32_t SaveSocketOrDriverFile();
    std::int32_t SaveDesignChecked();
    std::uint32_t QueryView(std::uint32_t argument) const;
    /// The current document's name (empty when none).
    std::u16string DocumentName() const;
    bool IsDesignOpen() const;
    /// A design is open and differs from the one last saved (slot 12 answers 1 then).
    bool HasUnsavedChanges() const;
    /// Message 5, before the host closes: with unsaved changes asks Yes/No/Cancel; -1 keeps
    /// the host open (Cancel, or a Yes whose save failed or was cancelled), 0 lets it close.
    std::int32_t AskBeforeClose();

    /// The panel's notifications; others give 0.
    std::int32_t OnNotify(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    /// The questions before a design is replaced; false when the user keeps the open one.
    bool MayReplace();
    /// A fresh socket for the module information's pins and scan rows.
    void NewSocket();
    int SaveSocket(bool promptOverwrite);
    std::int32_t HandOver(std::uintptr_t record);
    std::int32_t CutToRange(std::intptr_t range);
    void Say(const char* key);
    /// The message of a key with the failed file and the reason on a second line.
    void SayFailure(const char* key);
    PromptAnswer Ask(PromptButtons buttons, const char* key);

    ModuleDesignDocument& m_document;
    LayoutStepPresenter& m_layout;
    DesignPanelView& m_view;
    DesignPanelPorts m_ports;
    int m_state = kNone;
};

} // namespace md
