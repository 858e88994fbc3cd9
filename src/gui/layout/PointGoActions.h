#pragma once

#include <QKeySequence>

#include <span>

namespace md {

/// One of the layout step's work-area and point-go commands as menus and toolbars offer it.
struct PointGoAction
{
    int command;
    const char* key;      ///< text key of its label
    const char* fallback; ///< English label when the host has no text
    const char* image;    ///< toolbar picture in the plug-in's data folder
    QKeyCombination shortcut;
};

/// In the order the toolbar shows them.
std::span<const PointGoAction> PointGoActions();

} // namespace md
