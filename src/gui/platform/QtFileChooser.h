#pragma once

#include "core/platform/FileChooser.h"

#include <memory>

class QFileDialog;
class QWidget;

namespace md {

/// File dialogs as QFileDialog.
class QtFileChooser final : public FileChooser
{
public:
    enum class Mode
    {
        Open,
        Save
    };

    explicit QtFileChooser(QWidget* parent = nullptr) : m_parent(parent) {}
    std::optional<std::filesystem::path> ChooseOpen(const FileRequest& request) override;
    std::optional<std::filesystem::path> ChooseSave(const FileRequest& request) override;

    /// The dialog both choices run, set up from the request and not yet shown.
    static std::unique_ptr<QFileDialog> MakeDialog(QWidget* parent, const FileRequest& request,
                                                   Mode mode);

private:
    QWidget* m_parent;
};

} // namespace md
