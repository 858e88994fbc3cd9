#include "gui/ui/StandardButtonTexts.h"

#include "gui/ui/HostText.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <utility>

namespace md {

namespace {

// QMessageBox::StandardButton shares its values with QDialogButtonBox::StandardButton.
constexpr std::array<std::pair<QDialogButtonBox::StandardButton, const char*>, 5> kKeys{{
    {QDialogButtonBox::Ok, "IDS_MD_BUTTON_OK"},
    {QDialogButtonBox::Cancel, "IDS_MD_BUTTON_CANCEL"},
    {QDialogButtonBox::Yes, "IDS_MD_BUTTON_YES"},
    {QDialogButtonBox::No, "IDS_MD_BUTTON_NO"},
    {QDialogButtonBox::Retry, "IDS_MD_BUTTON_RETRY"},
}};

template <typename Box, typename Button>
void Localize(Box& box)
{
    for (const auto& [standard, key] : kKeys) {
        QAbstractButton* button = box.button(static_cast<Button>(standard));
        if (button)
            button->setText(HostText(key, button->text()));
    }
}

} // namespace

void LocalizeStandardButtons(QDialogButtonBox& box)
{
    Localize<QDialogButtonBox, QDialogButtonBox::StandardButton>(box);
}

void LocalizeStandardButtons(QMessageBox& box)
{
    Localize<QMessageBox, QMessageBox::StandardButton>(box);
}

} // namespace md
