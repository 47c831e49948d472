#include "platform/HelpContents.h"

#include <QFile>
#include <QTextStream>

namespace platform {

QList<HelpTopic> ReadHelpContents(const QString& path)
{
    QList<HelpTopic> topics;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return topics;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'|');
        if (fields.size() != 4)
            continue;
        HelpTopic topic;
        bool ok = false;
        topic.level = fields[0].trimmed().toInt(&ok);
        topic.title = fields[1].trimmed();
        topic.page = fields[2].trimmed();
        if (!ok || topic.level < 0 || topic.title.isEmpty() || topic.page.isEmpty())
            continue;
        for (const QString& number : fields[3].split(u',', Qt::SkipEmptyParts)) {
            const int context = number.trimmed().toInt(&ok);
            if (ok)
                topic.contexts.append(context);
        }
        topics.append(topic);
    }
    return topics;
}

QString HelpPageForContext(const QList<HelpTopic>& topics, int context)
{
    for (const HelpTopic& topic : topics) {
        if (topic.contexts.contains(context))
            return topic.page;
    }
    return QString();
}

} // namespace platform
