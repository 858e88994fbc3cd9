#pragma once

#include "core/io/Utf.h"
#include "core/platform/FileChooser.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"

#include <map>
#include <string>
#include <utility>
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

/// Texts from a map; missing keys give an empty text, as the host does.
class MapTexts final : public Texts
{
public:
    std::u16string Text(std::string_view key) const override
    {
        const auto found = texts.find(std::string(key));
        return found == texts.end() ? std::u16string() : found->second;
    }
    std::map<std::string, std::u16string> texts;
};

/// Message boxes answered from a script (then Ok, or No for questions); every box is recorded.
class ScriptedPrompter final : public Prompter
{
public:
    PromptAnswer Ask(PromptButtons buttons, const std::u16string& caption,
                     const std::u16string& text) override
    {
        asked.push_back({buttons, utf::ToUtf8(text)});
        captions.push_back(utf::ToUtf8(caption));
        if (answers.empty())
            return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
        const PromptAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::string Last() const { return asked.empty() ? std::string() : asked.back().second; }
    std::string LastCaption() const { return captions.empty() ? std::string() : captions.back(); }

    std::vector<std::pair<PromptButtons, std::string>> asked;
    std::vector<std::string> captions; ///< the caption of each message, as asked
    std::vector<PromptAnswer> answers;
};

/// File dialogs that answer with a preset path (nothing = cancelled) and record each request.
class ScriptedFileChooser final : public FileChooser
{
public:
    std::optional<std::filesystem::path> ChooseOpen(const FileRequest& request) override
    {
        requests.push_back(request);
        return chosen;
    }
    std::optional<std::filesystem::path> ChooseSave(const FileRequest& request) override
    {
        requests.push_back(request);
        return chosen;
    }
    std::optional<std::filesystem::path> chosen;
    std::vector<FileRequest> requests;
};

} // namespace md::test
