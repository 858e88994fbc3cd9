#pragma once

#include "core/panel/ToolbarModel.h"
#include "gui/ui/HostedWindow.h"
#include "md/IToobarInterface.h"

#include <QPixmap>
#include <QWidget>

#include <map>

namespace md {

class ImageButton;
class ToolbarOverflowButton;

/// The toolbar strip (resource 20012) the host embeds above the design panel: the design
/// document's toolbar model as groups of 28 x 28 image buttons, the current group's buttons
/// laid out in a row; those that do not fit are offered by an overflow button at the right end.
/// The views change the model; the strip follows it.
class ModuleDesignToolbarDlg : public QWidget, public IToobarInterface
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20012;

    explicit ModuleDesignToolbarDlg(ToolbarModel& model, QWidget* parent = nullptr);
    ~ModuleDesignToolbarDlg() override;

    // IToobarInterface
    std::uint32_t AddRef() override { return 0; }
    std::uint32_t Release() override { return 0; }
    std::int32_t OnNotify(std::uint32_t, std::uintptr_t, std::intptr_t) override { return 0; }
    std::int32_t Show(WindowHandle parent, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height) override;
    std::int32_t Move(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                      std::uint8_t repaint) override;
    std::int32_t Hide() override;
    bool IsVisible() override;

    bool HasWindow() const { return m_window.Attached(); }
    /// Ends the strip's window (the object stays).
    void DestroyWindow();
    const ToolbarModel& Model() const { return m_model; }
    ToolbarOverflowButton* Overflow() const { return m_overflow; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildButtons();
    void LayoutButtons();

    void OnModelChanged(ToolbarModel::Change change, const std::string& key);

    ToolbarModel& m_model;
    QPixmap m_buffer;
    /// Buttons by group key, in the group's order; built on the first showing.
    std::map<std::string, std::vector<ImageButton*>> m_buttons;
    ToolbarOverflowButton* m_overflow = nullptr;
    HostedWindow m_window{*this};
    bool m_built = false;
};

} // namespace md
