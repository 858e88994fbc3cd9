#pragma once

#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "platform/Texts.h"

#include <deque>
#include <string>
#include <vector>

namespace md::test {

/// Texts that are their own keys, so tests can tell which message was shown.
class KeyTexts final : public Texts
{
public:
    std::u16string Text(std::string_view key) const override
    {
        return std::u16string(key.begin(), key.end());
    }
};

/// Records every message box and answers from a script (Ok / Yes by default).
class ScriptedPrompter final : public Prompter
{
public:
    std::vector<std::u16string> shown;
    std::deque<PromptAnswer> answers;

    PromptAnswer Ask(PromptButtons buttons, const std::u16string&,
                     const std::u16string& text) override
    {
        shown.push_back(text);
        if (!answers.empty()) {
            const PromptAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Yes;
    }
};

/// File dialogs that answer with preset paths (nothing = cancelled).
class ScriptedFileChooser final : public FileChooser
{
public:
    std::optional<std::filesystem::path> openAnswer;
    std::optional<std::filesystem::path> saveAnswer;
    std::vector<FileRequest> requests;

    std::optional<std::filesystem::path> ChooseOpen(const FileRequest& request) override
    {
        requests.push_back(request);
        return openAnswer;
    }
    std::optional<std::filesystem::path> ChooseSave(const FileRequest& request) override
    {
        requests.push_back(request);
        return saveAnswer;
    }
};

} // namespace md::test
