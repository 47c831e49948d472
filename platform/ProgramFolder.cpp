#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef DATORIA_DATA_FROM_BIN
#define DATORIA_DATA_FROM_BIN "../share/datoria"
#endif

namespace platform {

namespace {
QString g_override;

QString WithSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QString ExecutableFolder()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}
} // namespace

QString ProgramFolderFor(const QString& executableFolder, bool writable)
{
    // Only a portable copy (its shipped data beside the executable, as in the build tree) keeps the user's
    // files beside the program. An installed program never writes among the installed files, even when it
    // runs with the rights to (as root): they would be shared by every user and left behind when it is
    // uninstalled.
    if (writable && QFileInfo(executableFolder + QStringLiteral("/data")).isDir())
        return WithSlash(executableFolder);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return WithSlash(data);
}

QString ProgramFolder()
{
    if (!g_override.isEmpty())
        return WithSlash(g_override);
    const QString exe = ExecutableFolder();
    return ProgramFolderFor(exe, QFileInfo(exe).isWritable());
}

void SetProgramFolderOverride(const QString& folder)
{
    g_override = folder;
}

QString DataFolderFor(const QString& executableFolder)
{
    const QString beside = executableFolder + QStringLiteral("/data");
    if (QFileInfo(beside).isDir())
        return beside;
    const QString installed =
        QDir::cleanPath(executableFolder + u'/' + QStringLiteral(DATORIA_DATA_FROM_BIN));
    if (QFileInfo(installed).isDir())
        return installed;
    const QString system = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                  QStringLiteral("datoria"), QStandardPaths::LocateDirectory);
    return system.isEmpty() ? installed : system;
}

QString DataFolder()
{
    return DataFolderFor(ExecutableFolder());
}

} // namespace platform
