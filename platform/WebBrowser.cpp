#include "platform/WebBrowser.h"

#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
bool DesktopHandlesWebLinks()
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return false;
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("x-scheme-handler/https")});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}
#endif

} // namespace

bool WebBrowserAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // $BROWSER is a list of commands separated by colons; the first word of each names the program.
    for (const QString& command : qEnvironmentVariable("BROWSER").split(u':', Qt::SkipEmptyParts)) {
        const QString program = command.trimmed().section(u' ', 0, 0);
        if (!program.isEmpty() && !QStandardPaths::findExecutable(program).isEmpty())
            return true;
    }
    for (const char* browser : {"x-www-browser", "firefox", "firefox-esr", "chromium", "chromium-browser",
                                "google-chrome", "microsoft-edge", "epiphany", "epiphany-browser", "falkon",
                                "konqueror", "midori", "opera", "brave-browser", "vivaldi"}) {
        if (!QStandardPaths::findExecutable(QLatin1String(browser)).isEmpty())
            return true;
    }
    return DesktopHandlesWebLinks();
#else
    // Windows and macOS always have a browser for web links.
    return true;
#endif
}

void OpenWebPage(QWidget* parent, const QUrl& url)
{
    const QString address = url.toString();
    if (!WebBrowserAvailable()) {
        Prompts::Current().Information(
            parent, QCoreApplication::translate("platform", "No web browser was found on this computer.\n\n"
                                                            "Visit %1 with a web browser on any device.")
                        .arg(address));
        return;
    }
    if (!QDesktopServices::openUrl(url)) {
        Prompts::Current().Information(
            parent, QCoreApplication::translate("platform", "The web browser could not be started.\n\n"
                                                            "Visit %1 with a web browser on any device.")
                        .arg(address));
    }
}

} // namespace platform
