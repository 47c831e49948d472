#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace app {

/**
 * A file named on the command line as a full path: relative to the folder the program was started in, or a
 * local file URL as desktops pass them. Empty for an argument that names no local file.
 */
QString FileArgument(const QString& argument, const QString& startFolder);

/** The local files among dropped URLs, in their order, each once. */
QStringList LocalFiles(const QList<QUrl>& urls);

/** What the window opens of the files it is handed from outside the program. */
struct CalendarChoice
{
    /** The first path with the extension .KVF that is not a folder; empty when there is none. */
    QString file;
    /** How many of the other files are left unopened. */
    int others = 0;
};

/** Picks the calendar to open from files dropped on the window or named by a later start. */
CalendarChoice ChooseCalendarFile(const QStringList& paths);

} // namespace app
