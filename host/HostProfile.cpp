#include "HostProfile.h"

#include "services/HostIni.h"

#include <QDir>

namespace md::host {

QString ProfilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::home().filePath(".config");
    return QDir(base).filePath("ModuleDesignUIPlugin/profile.ini");
}

int ProfileInt(const QString& section, const QString& key, int fallback)
{
    bool ok = false;
    const int value = HostIni::Load(ProfilePath()).Value(section, key).toInt(&ok);
    return ok ? value : fallback;
}

} // namespace md::host
