#include "services/HostIni.h"

#include <QFile>

namespace md::host {

namespace {
QString Slot(const QString& section, const QString& key)
{
    return section.trimmed().toLower() + '\n' + key.trimmed().toLower();
}
} // namespace

HostIni HostIni::Load(const QString& path)
{
    HostIni ini;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ini;
    ini.m_loaded = true;
    QString section;
    const QString text = QString::fromUtf8(file.readAll());
    for (QString line : text.split('\n')) {
        line = line.trimmed();
        if (line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QString slot = Slot(section, line.left(eq));
        if (!ini.m_values.contains(slot))
            ini.m_values.insert(slot, line.mid(eq + 1).trimmed());
    }
    return ini;
}

QString HostIni::Value(const QString& section, const QString& key, const QString& fallback) const
{
    return m_values.value(Slot(section, key), fallback);
}

bool HostIni::Contains(const QString& section, const QString& key) const
{
    return m_values.contains(Slot(section, key));
}

} // namespace md::host
