#include "gui/platform/QtPrompter.h"

#include "gui/ui/StandardButtonTexts.h"

#include <QMessageBox>

namespace md {

namespace {
QString ToQString(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

PromptAnswer QtPrompter::Ask(PromptButtons buttons, const std::u16string& caption,
                             const std::u16string& text)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(ToQString(caption));
    box.setText(ToQString(text));
    switch (buttons) {
    case PromptButtons::Ok:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case PromptButtons::YesNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case PromptButtons::YesNoCancel:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case PromptButtons::RetryCancel:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    }
    LocalizeStandardButtons(box);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Retry:
        return PromptAnswer::Retry;
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    default:
        return PromptAnswer::Cancel;
    }
}

} // namespace md
