#pragma once

#include <QHash>
#include <QString>

namespace md::host {

/// A read-only ini file: "[section]" and "key=value" lines in UTF-8, names without regard to
/// case. Values are taken as written (no list or escape handling).
class HostIni
{
public:
    static HostIni Load(const QString& path);
    bool IsLoaded() const { return m_loaded; }
    QString Value(const QString& section, const QString& key, const QString& fallback = {}) const;
    bool Contains(const QString& section, const QString& key) const;

private:
    QHash<QString, QString> m_values; ///< "section\nkey" in lower case
    bool m_loaded = false;
};

} // namespace md::host
