#pragma once

#include "core/document/DesignFile.h"
#include "md/DesignRequests.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace md {

class FileChooser;
class ModuleDesignDocument;
class PointTracer;
class Prompter;
class Texts;
struct ModuleRange;

/// What the layout step talks to besides the document.
struct LayoutStepPorts
{
    Prompter& prompter;
    const Texts& texts;
    FileChooser& chooser;
    DesignFilePorts files;
    /// Notification 6 to the host's notification target: the design changed.
    std::function<void()> notifyHost;
};

/// The logic of the layout step (the working window of a design): new layout, finish, the
/// HUB connector copy, saving and opening driver files, block files and the temporary files
/// the wizard hands on. It works on the design document; its view only binds widgets.
class LayoutStepPresenter
{
public:
    /// Save results: 0 written, 1 not written (a check failed or the user cancelled, the
    /// message was shown), 2 the write failed (the caller shows it).
    enum SaveResult
    {
        kSaved = 0,
        kNotSaved = 1,
        kWriteFailed = 2
    };
    /// Open results: 0 opened, -1 nothing done (cancelled or no design parts), 2 the file cannot
    /// be read, 3 a section is damaged.
    enum OpenResult
    {
        kOpened = 0,
        kOpenCancelled = -1,
        kUnreadable = 2,
        kFormatIncorrect = 3
    };
    static constexpr std::size_t kMaxPath = 260;

    LayoutStepPresenter(ModuleDesignDocument& document, LayoutStepPorts ports);

    /// 0 no design, 1 designing, 2 saved and unchanged since.
    int State() const;
    bool HasUnsavedChanges() const;
    /// A design was set up (new design, hand-over): designing, no file yet.
    void BeginDesign();
    /// Back to no design: no grid, no file.
    void Reset();

    /// Start from the document's handed-over record: an existing grid goes; the user goes on
    /// with New layout or Open.
    void StartFromRecord();
    /// New layout: asks before replacing an existing grid; true when a grid was made.
    bool NewLayout();
    /// Finish: the final analysis of the traced layout; true when it stored the result. While
    /// point-go is selected, its result is taken instead once every position is recorded.
    bool Finish();
    /// The HUB connector arrangement was confirmed: the grid's setup takes the table.
    void TakeConnectorTable();
    /// Save and Save As with their checks in order; see SaveResult.
    int Save(bool saveAs);
    /// Save As to a path chosen elsewhere (message 145): the same checks, no file dialog.
    int SaveTo(const std::filesystem::path& path);
    /// Opens a driver file (the path, or one the user chooses); see OpenResult. The whole file
    /// is read and checked before anything of the open design changes.
    int Open(const std::optional<std::filesystem::path>& path);
    /// Writes the design as it stands to a path (message 145): no checks, no questions.
    bool WriteDriverFile(const std::filesystem::path& path);
    /// Writes the temporary driver file of a hand-over: the design with an empty layout.
    bool WriteHandOverFile(const std::filesystem::path& path);
    /// Writes the driver file cut to a module range (message 33).
    bool WriteCutFile(const std::filesystem::path& path, const ModuleRange& range);
    /// Writes the block file of a block of the current driver file (message 147); the path
    /// written, or nothing when there is no current file or the write failed.
    std::optional<std::filesystem::path> WriteBlockFile(const BlockDescription& block);
    /// "<path without its extension>_<tick>_<block>.BDT".
    static std::filesystem::path BlockFileName(const std::filesystem::path& driverFile,
                                               std::uint32_t tick, std::uint32_t block);

    /// The path choice of save and open; nothing on Cancel or a path over 260 characters.
    std::optional<std::filesystem::path> ChoosePath(bool save);

    ModuleDesignDocument& Document() { return m_document; }

    /// Why the last open or save failed: the file and the reader's or writer's reason, for the
    /// second line of the message the caller shows.
    struct Failure
    {
        std::filesystem::path path;
        std::string reason;
    };
    const Failure& LastFailure() const { return m_failure; }
    /// "<path>: <reason>", or the path alone when there is no reason.
    std::u16string FailureLine() const;

private:
    int SaveChecked(bool saveAs, const std::optional<std::filesystem::path>& target);
    /// Finish while point-go is selected: its complete result becomes the layout result.
    bool FinishPointGo(PointTracer& tracer);
    void Say(std::u16string text);
    bool ModuleInfoValid() const;
    /// True when every stored name fits the code page, or the user agreed to '?' for the rest.
    bool NamesStorable();
    void Notify();

    ModuleDesignDocument& m_document;
    LayoutStepPorts m_ports;
    bool m_open = false;
    bool m_saved = false;
    Failure m_failure;
};

} // namespace md
