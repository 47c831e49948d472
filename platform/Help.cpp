#include "platform/Help.h"

#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace platform {

QString DataFolder()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/data");
    if (QFileInfo::exists(beside))
        return beside;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../share/datoria");
}

void ShowHelpTopic(QWidget* parent, int context)
{
    const QString page = DataFolder() + QStringLiteral("/help/Datoria.html");
    if (!QFileInfo::exists(page)) {
        Prompts::Current().Information(parent, QStringLiteral("The help file is not installed."));
        return;
    }
    QUrl url = QUrl::fromLocalFile(QDir::cleanPath(page));
    url.setFragment(QStringLiteral("topic-%1").arg(context));
    QDesktopServices::openUrl(url);
}

} // namespace platform
