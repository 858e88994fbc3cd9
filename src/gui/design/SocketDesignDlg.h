#pragma once

#include "core/design/SocketDesign.h"

#include <QWidget>

#include <memory>

namespace md {

class DriverFileSection;
class FileChooser;
class NewFrameInfoDlg;
class Texts;
class ToolbarModel;
struct NewModuleInfoRecord;

/// The socket page of the design panel (resource 20004): the connector drawn by its frame view,
/// pin selection with the pointer or the arrow keys, the toolbar's type and clear buttons, the
/// socket section of the driver file and the socket file.
class SocketDesignDlg : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20004;

    explicit SocketDesignDlg(QWidget* parent = nullptr);
    /// A page over a design's socket; info gives the module's scan chip and name.
    /// toolbar: the design's toolbar, whose pin-type buttons follow the page; none for a page
    /// on its own.
    SocketDesignDlg(SocketDesign& socket, const NewModuleInfoRecord* info,
                    ToolbarModel* toolbar = nullptr, QWidget* parent = nullptr);
    ~SocketDesignDlg() override;

    /// Sizes and places the frame view for a new socket, state 1, and shows the page.
    void NewSocket(std::uint16_t pinCount, std::uint16_t scanRows);
    /// Shows a socket that was read from a driver file.
    void ShowLoaded();
    /// Shows the page (mode 5) with the toolbar's socket buttons set, or hides it (mode 0)
    /// with the type buttons disabled.
    void SetMode(int mode);
    /// Drops the socket (no pins, state 0) and disables the type buttons.
    void Reset();
    /// A toolbar command (0x10001..0x1000D).
    void OnCommand(std::uint32_t command);
    /// An arrow key forwarded by the panel; false for other keys.
    bool OnKey(int qtKey);

    bool IsValid() const { return m_socket.IsValid(); }
    std::uint32_t Signature(bool repeatableOnly) const
    {
        return m_socket.Signature(repeatableOnly);
    }
    SocketDesign& Socket() { return m_socket; }
    NewFrameInfoDlg* Frame() const { return m_frame; }

    /// The socket section over this page's socket (pictures checked with the frame view).
    std::unique_ptr<DriverFileSection> Section();

    /// Save without overwrite prompt: 0 done or cancelled, 3 invalid, 2 write failed.
    int SaveSocketFile();
    /// Save with overwrite prompt: 0 done or cancelled, 2 invalid, 3 write failed.
    int SaveSocketFileAs();
    /// Replaces the file dialogs and texts (tests).
    void SetFileChooser(FileChooser* chooser) { m_chooser = chooser; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const NewModuleInfoRecord* ModuleInfo() const;
    void PlaceFrame();
    void UpdateToolbar(bool shown);
    int Save(bool promptOverwrite);

    std::unique_ptr<SocketDesign> m_ownSocket;
    SocketDesign& m_socket;
    const NewModuleInfoRecord* m_info = nullptr;
    ToolbarModel* m_toolbar = nullptr;
    NewFrameInfoDlg* m_frame = nullptr;
    FileChooser* m_chooser = nullptr;
    std::unique_ptr<FileChooser> m_ownChooser;
    std::unique_ptr<Texts> m_texts;
};

} // namespace md
