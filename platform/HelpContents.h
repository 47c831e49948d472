#pragma once

#include <QList>
#include <QString>

namespace platform {

/** One entry of the help's contents: its depth, title, page (file name with an optional #anchor) and the
 * context numbers the program opens it with. */
struct HelpTopic
{
    int level = 0;
    QString title;
    QString page;
    QList<int> contexts;
};

/**
 * Reads the help's contents file: one topic a line, "level|title|page|contexts" with the context numbers
 * separated by commas; blank lines and lines starting with '#' are skipped, malformed ones left out.
 */
QList<HelpTopic> ReadHelpContents(const QString& path);

/** The page of the topic that a context number opens; empty when no topic has it. */
QString HelpPageForContext(const QList<HelpTopic>& topics, int context);

} // namespace platform
