#pragma once

#include <QString>

namespace md::host {

/// Where the host finds its program folder and the plug-in. A build tree (or any folder with a
/// runinfo.ini beside the executable) is its own program folder, plug-in included. An installed
/// host (bin/ of a prefix) keeps its data read-only in share/module-design and the plug-in in
/// lib/module-design; the program folder, which is written at run time, is per user under the
/// XDG data home and is created from the installed data on first start.
class InstallLayout
{
public:
    /// Works out the layout for the executable's folder; MD_PROGRAM_FOLDER, when set, names the
    /// program folder outright.
    static InstallLayout ForExecutable(const QString& executableFolder);

    /// Creates the per-user program folder from the installed data when it has none yet and
    /// points the plug-in at it (MD_PROGRAM_FOLDER); false with a reason when it cannot.
    bool Prepare(QString* error) const;

    const QString& ProgramFolder() const { return m_programFolder; }
    /// The plug-in library to load.
    const QString& PluginLibrary() const { return m_plugin; }
    /// The installed data the program folder starts from; empty in a build tree.
    const QString& InstalledData() const { return m_installedData; }

private:
    QString m_programFolder;
    QString m_plugin;
    QString m_installedData;
};

} // namespace md::host
