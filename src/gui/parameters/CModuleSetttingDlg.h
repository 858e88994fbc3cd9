#pragma once

#include "gui/ui/HostedWindow.h"
#include "md/ISettingBase.h"

#include <QWidget>

#include <array>
#include <string>

namespace md {

class CFirstPageSettingDlg;
class ModuleDesignDocument;

/// The plug-in's page of the host's settings window (resource 20101): a frame for child pages,
/// the module parameter page in slot 0.
class CModuleSetttingDlg : public QWidget, public ISettingBase
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20101;

    /// document: the plug-in's design document; a page of its own is made when none is given.
    explicit CModuleSetttingDlg(ModuleDesignDocument* document = nullptr,
                                QWidget* parent = nullptr);
    ~CModuleSetttingDlg() override;

    // ISettingBase
    std::uint32_t AddRef() override { return 0; }
    std::uint32_t Release() override { return 0; }
    const char16_t* Title() override;
    std::int32_t Apply() override;
    std::int32_t ClosePendingWork() override;
    bool IsAvailable() override;
    std::int32_t Reserved6() override { return 0; }
    std::int32_t Show(WindowHandle parent, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height) override;
    std::int32_t Hide() override;
    void Move(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
              std::uint8_t repaint) override;
    bool Reserved10() override { return true; }
    bool Reserved11() override { return false; }
    void Reserved12() override {}

    bool HasWindow() const { return m_window.Attached(); }
    /// Ends the page's window and its child pages (the object stays).
    void DestroyWindow();
    QWidget* ChildPage(int index) const { return m_pages[static_cast<std::size_t>(index)]; }
    /// The module parameter page in slot 0; null without a window.
    CFirstPageSettingDlg* ParameterPage() const;

private:
    bool CreateWindow(WindowHandle parent);
    void CreateChildPages();
    void DestroyChildPages();

    std::array<QWidget*, 2> m_pages{};
    ModuleDesignDocument* m_document = nullptr;
    int m_currentPage = 0;
    HostedWindow m_window{*this};
};

} // namespace md
