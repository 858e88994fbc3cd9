#pragma once

#include <QDialog>

namespace md {
class ISettingBase;
}

namespace md::host {

/// The host's settings window: the plug-in's settings page on the right, OK, Apply and Cancel.
class SettingsWindow : public QDialog
{
    Q_OBJECT
public:
    SettingsWindow(ISettingBase* page, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    /// Closes the page's pending work and hides it; the window no longer uses it afterwards
    /// (called before the plug-in is released).
    void DetachPage();
    /// Applies the page; its status (0 success).
    int ApplyPage();
    QWidget* PageArea() const { return m_pageArea; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlacePage();

    ISettingBase* m_page;
    QWidget* m_pageArea = nullptr;
    bool m_shown = false;
};

} // namespace md::host
