#include "gui/parameters/FirstPageControls.h"

#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace md::firstpage {

QString Label(const char* key)
{
    return HostText(key);
}

QComboBox* MakeList(QWidget* parent, int id, std::span<const Choice> choices)
{
    auto* list = new QComboBox(parent);
    SetResourceId(list, id);
    for (const Choice& choice : choices)
        list->addItem(Label(choice.labelKey), choice.value);
    return list;
}

QLineEdit* MakeNumberEdit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    SetResourceId(edit, id);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit));
    return edit;
}

void SelectIndex(QComboBox* list, int index)
{
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

int SelectedValue(const QComboBox* list)
{
    return list->currentIndex() < 0 ? 0 : list->currentData().toInt();
}

} // namespace md::firstpage
