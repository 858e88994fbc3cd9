#pragma once

#include <QWidget>

class QLabel;

namespace md {

class StatusBarInfo;
class Texts;

/// The tracing status bar: selected and current cell, group, row, row position and the status
/// text, repainted only when the status bar's values change. Captions and numbers keep their
/// full width and go on to further lines in a narrow window; the status text fills the rest.
class CStatusBarInfoDlg final : public QWidget
{
public:
    static constexpr int kDialogId = 20112;

    CStatusBarInfoDlg(StatusBarInfo& info, const Texts& texts, QWidget* parent = nullptr);
    ~CStatusBarInfoDlg() override;

    /// Shows the current values (called on every change).
    void Show();

private:
    QLabel* Field(int id);

    StatusBarInfo& m_info;
};

} // namespace md
