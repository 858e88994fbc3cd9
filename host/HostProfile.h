#pragma once

#include <QString>

namespace md::host {

/// The per-user application profile the plug-in also reads:
/// "$XDG_CONFIG_HOME/ModuleDesignUIPlugin/profile.ini" (default "~/.config/...").
QString ProfilePath();
/// An integer of the profile; the fallback when missing.
int ProfileInt(const QString& section, const QString& key, int fallback);

} // namespace md::host
