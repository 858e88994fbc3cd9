#pragma once

#include "core/parameters/ModuleParameterChoices.h"

#include <QString>

#include <span>

class QComboBox;
class QLineEdit;
class QWidget;

namespace md::firstpage {

/// The text of a key from the host.
QString Label(const char* key);
/// A drop-down list of the choices (labels from their keys, item data the stored value).
QComboBox* MakeList(QWidget* parent, int id, std::span<const Choice> choices);
/// A numeric edit box.
QLineEdit* MakeNumberEdit(QWidget* parent, int id);
/// Selects an index; an index beyond the list leaves it without selection.
void SelectIndex(QComboBox* list, int index);
/// The item value of the selected entry; 0 when nothing is selected.
int SelectedValue(const QComboBox* list);

} // namespace md::firstpage
