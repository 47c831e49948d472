#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

namespace {
QString g_override;

QString WithSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}
} // namespace

QString ProgramFolder()
{
    if (!g_override.isEmpty())
        return WithSlash(g_override);
    const QString exe =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    if (QFileInfo(exe).isWritable())
        return WithSlash(exe);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return WithSlash(data);
}

void SetProgramFolderOverride(const QString& folder)
{
    g_override = folder;
}

} // namespace platform
