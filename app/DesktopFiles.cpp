#include "app/DesktopFiles.h"

#include <QDir>
#include <QFileInfo>

namespace app {

QString FileArgument(const QString& argument, const QString& startFolder)
{
    if (argument.isEmpty())
        return QString();
    QString path = argument;
    if (argument.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (!url.isValid() || !url.isLocalFile())
            return QString();
        path = url.toLocalFile();
    }
    return QDir::cleanPath(QDir(startFolder).absoluteFilePath(path));
}

QStringList LocalFiles(const QList<QUrl>& urls)
{
    QStringList files;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = QDir::cleanPath(url.toLocalFile());
        if (!path.isEmpty() && !files.contains(path))
            files.append(path);
    }
    return files;
}

CalendarChoice ChooseCalendarFile(const QStringList& paths)
{
    CalendarChoice choice;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (choice.file.isEmpty() && !info.isDir() && info.suffix().toUpper() == QStringLiteral("KVF"))
            choice.file = path;
        else
            ++choice.others;
    }
    return choice;
}

} // namespace app
