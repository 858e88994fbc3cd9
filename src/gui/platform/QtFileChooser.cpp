#include "gui/platform/QtFileChooser.h"

#include <QFileDialog>
#include <QRegularExpression>
#include <QStringList>

namespace md {

namespace {

/// The patterns of one filter entry ("*.MDR;*.MHR") for Qt, each also in the other letter case,
/// since a file from another system may be named "panel.mdr": "*.MDR *.mdr *.MHR *.mhr".
QString QtPatterns(const QString& patterns)
{
    QStringList out;
    for (const QString& pattern : patterns.split(QRegularExpression("[;\\s]+"), Qt::SkipEmptyParts))
        for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
            if (!out.contains(variant))
                out << variant;
    return out.join(' ');
}

/// "Name|*.a|Other (*.b;*.c)|*.b;*.c||" becomes Qt's "Name (*.a *.A)" and
/// "Other (*.b;*.c) (*.b *.B *.c *.C)". Qt takes the patterns from the last parentheses and the
/// dialog hides them, so the user sees each name as given, and a name such as
/// "Module driver file(.MDR)" no longer counts as the pattern ".MDR".
QStringList QtFilters(const std::u16string& filter)
{
    const QStringList parts = QString::fromStdU16String(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = QtPatterns(parts[i + 1]);
        if (patterns.isEmpty())
            break; // "||" ends the list
        const QString name = parts[i].trimmed().isEmpty() ? parts[i + 1] : parts[i];
        entries << name + " (" + patterns + ")";
    }
    return entries;
}

} // namespace

std::unique_ptr<QFileDialog> QtFileChooser::MakeDialog(QWidget* parent, const FileRequest& request,
                                                       Mode mode)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    // Never the platform's own dialog: automation and tests drive this one.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    if (!request.title.empty())
        dialog->setWindowTitle(QString::fromStdU16String(request.title));
    dialog->setNameFilters(QtFilters(request.filter));
    dialog->setDefaultSuffix(QString::fromStdU16String(request.defaultExtension));
    if (!request.folder.empty())
        dialog->setDirectory(QString::fromStdString(request.folder.string()));
    if (mode == Mode::Open) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
    }
    if (!request.defaultName.empty())
        dialog->selectFile(QString::fromStdU16String(request.defaultName));
    return dialog;
}

namespace {

std::optional<std::filesystem::path> Run(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

} // namespace

std::optional<std::filesystem::path> QtFileChooser::ChooseOpen(const FileRequest& request)
{
    return Run(*MakeDialog(m_parent, request, Mode::Open));
}

std::optional<std::filesystem::path> QtFileChooser::ChooseSave(const FileRequest& request)
{
    return Run(*MakeDialog(m_parent, request, Mode::Save));
}

} // namespace md
