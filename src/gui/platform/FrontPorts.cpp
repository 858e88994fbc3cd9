#include "gui/platform/FrontPorts.h"

#include "gui/platform/QtFileChooser.h"
#include "gui/platform/QtPrompter.h"

#include <QApplication>

namespace md {

QWidget* FrontWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

PromptAnswer FrontPrompter::Ask(PromptButtons buttons, const std::u16string& caption,
                                const std::u16string& text)
{
    return QtPrompter(FrontWindow()).Ask(buttons, caption, text);
}

std::optional<std::filesystem::path> FrontFileChooser::ChooseOpen(const FileRequest& request)
{
    return QtFileChooser(FrontWindow()).ChooseOpen(request);
}

std::optional<std::filesystem::path> FrontFileChooser::ChooseSave(const FileRequest& request)
{
    return QtFileChooser(FrontWindow()).ChooseSave(request);
}

} // namespace md
