#pragma once

#include "core/platform/Prompter.h"

class QWidget;

namespace md {

/// Message boxes as QMessageBox, parented to the given window.
class QtPrompter final : public Prompter
{
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    PromptAnswer Ask(PromptButtons buttons, const std::u16string& caption,
                     const std::u16string& text) override;

private:
    QWidget* m_parent;
};

} // namespace md
