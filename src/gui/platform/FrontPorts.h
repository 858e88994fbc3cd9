#pragma once

#include "core/platform/FileChooser.h"
#include "core/platform/Prompter.h"

class QWidget;

namespace md {

/// The window that message boxes and file dialogs belong to: the modal dialog in front, else
/// the active window.
QWidget* FrontWindow();

/// Message boxes over the window in front.
class FrontPrompter final : public Prompter
{
public:
    PromptAnswer Ask(PromptButtons buttons, const std::u16string& caption,
                     const std::u16string& text) override;
};

/// File dialogs over the window in front.
class FrontFileChooser final : public FileChooser
{
public:
    std::optional<std::filesystem::path> ChooseOpen(const FileRequest& request) override;
    std::optional<std::filesystem::path> ChooseSave(const FileRequest& request) override;
};

} // namespace md
