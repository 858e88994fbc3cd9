#include "gui/platform/QtFileChooser.h"

#include <QFileDialog>
#include <QStringList>

namespace md {

namespace {

/// "Name (*.a)|*.a|Other|*.b|" becomes Qt's "Name (*.a);;Other (*.b)".
QString QtFilter(const std::u16string& filter)
{
    const QStringList parts = QString::fromStdU16String(filter).split('|', Qt::SkipEmptyParts);
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = QString(parts[i + 1]).replace(';', ' ');
        entries << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + pattern + ")");
    }
    return entries.join(";;");
}

QFileDialog* MakeDialog(QWidget* parent, const FileRequest& request)
{
    auto* dialog = new QFileDialog(parent);
    // Never the platform's own dialog: automation and tests drive this one.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    if (!request.title.empty())
        dialog->setWindowTitle(QString::fromStdU16String(request.title));
    dialog->setNameFilter(QtFilter(request.filter));
    dialog->setDefaultSuffix(QString::fromStdU16String(request.defaultExtension));
    if (!request.folder.empty())
        dialog->setDirectory(QString::fromStdString(request.folder.string()));
    if (!request.defaultName.empty())
        dialog->selectFile(QString::fromStdU16String(request.defaultName));
    return dialog;
}

} // namespace

std::optional<std::filesystem::path> QtFileChooser::ChooseOpen(const FileRequest& request)
{
    std::unique_ptr<QFileDialog> dialog(MakeDialog(m_parent, request));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog->selectedFiles().front().toStdString());
}

std::optional<std::filesystem::path> QtFileChooser::ChooseSave(const FileRequest& request)
{
    std::unique_ptr<QFileDialog> dialog(MakeDialog(m_parent, request));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog->selectedFiles().front().toStdString());
}

} // namespace md
