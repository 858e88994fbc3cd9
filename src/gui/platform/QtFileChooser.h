#pragma once

#include "core/platform/FileChooser.h"

class QWidget;

namespace md {

/// File dialogs as QFileDialog.
class QtFileChooser final : public FileChooser
{
public:
    explicit QtFileChooser(QWidget* parent = nullptr) : m_parent(parent) {}
    std::optional<std::filesystem::path> ChooseOpen(const FileRequest& request) override;
    std::optional<std::filesystem::path> ChooseSave(const FileRequest& request) override;

private:
    QWidget* m_parent;
};

} // namespace md
