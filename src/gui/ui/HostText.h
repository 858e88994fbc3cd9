#pragma once

#include <QString>

namespace md {

/// The host's text of a key (section "ModuleDesignUIPlugin"), or the fallback when it has none.
QString HostText(const char* key, const QString& fallback = {});

} // namespace md
