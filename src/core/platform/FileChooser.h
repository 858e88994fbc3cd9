#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace md {

/// What an open or save dialog is asked to offer.
struct FileRequest
{
    std::u16string title;            ///< the dialog's title; empty for the toolkit's own
    std::u16string filter;           ///< "Driver files (*.MDR)|*.MDR|" style, '|' separated
    std::u16string defaultExtension; ///< without the dot
    std::u16string defaultName;
    std::filesystem::path folder;
    bool promptOverwrite = true; ///< save dialogs: ask before replacing a file
    bool mustExist = true;       ///< open dialogs: the file must exist
};

/// File open and save dialogs; nothing when the user cancels.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    virtual std::optional<std::filesystem::path> ChooseOpen(const FileRequest& request) = 0;
    virtual std::optional<std::filesystem::path> ChooseSave(const FileRequest& request) = 0;
};

} // namespace md
