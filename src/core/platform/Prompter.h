#pragma once

#include <string>

namespace md {

enum class PromptButtons
{
    Ok,
    YesNo,
    YesNoCancel,
    RetryCancel
};
enum class PromptAnswer
{
    Ok,
    Yes,
    No,
    Cancel,
    Retry
};

/// Message boxes: a caption and a text, already resolved from their keys.
class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer Ask(PromptButtons buttons, const std::u16string& caption,
                             const std::u16string& text) = 0;
};

} // namespace md
