#include "InstallLayout.h"

#include "PluginLoader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace md::host {

namespace {

constexpr const char* kRunInfo = "runinfo.ini";
constexpr const char* kFolderName = "module-design";

/// Copies every file under from into to, keeping what to already holds.
bool CopyTree(const QString& from, const QString& to, QString* error)
{
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        if (QFileInfo::exists(target))
            continue;
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(source, target)) {
            *error = QStringLiteral("cannot copy %1 to %2").arg(source, target);
            return false;
        }
        QFile(target).setPermissions(QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return true;
}

} // namespace

InstallLayout InstallLayout::ForExecutable(const QString& executableFolder)
{
    InstallLayout layout;
    const QDir bin(executableFolder);
    const QString beside = bin.filePath(PluginLoader::kLibraryName);
    const QString installedPlugin = QDir::cleanPath(
        bin.filePath(QStringLiteral("../lib/%1/").arg(kFolderName) + PluginLoader::kLibraryName));
    const QString forced = qEnvironmentVariable("MD_PROGRAM_FOLDER");
    if (!forced.isEmpty()) {
        layout.m_programFolder = forced;
    } else if (QFileInfo::exists(bin.filePath(kRunInfo))) {
        layout.m_programFolder = executableFolder;
    } else {
        layout.m_installedData =
            QDir::cleanPath(bin.filePath(QStringLiteral("../share/%1").arg(kFolderName)));
        const QString dataHome =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        layout.m_programFolder = QDir(dataHome).filePath(kFolderName);
    }
    layout.m_plugin = QFileInfo::exists(beside) ? beside : installedPlugin;
    return layout;
}

bool InstallLayout::Prepare(QString* error) const
{
    if (!m_installedData.isEmpty() &&
        !QFileInfo::exists(QDir(m_programFolder).filePath(kRunInfo))) {
        if (!QFileInfo::exists(QDir(m_installedData).filePath(kRunInfo))) {
            *error = QStringLiteral("no installed data in %1").arg(m_installedData);
            return false;
        }
        if (!CopyTree(m_installedData, m_programFolder, error))
            return false;
    }
    // The plug-in finds its program folder through the same variable.
    qputenv("MD_PROGRAM_FOLDER", QFile::encodeName(m_programFolder));
    return true;
}

} // namespace md::host
