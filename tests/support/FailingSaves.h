#pragma once

#include "platform/SaveFile.h"

#include <QDir>
#include <QMap>
#include <QStringList>

namespace testsupport {

/** Makes every save of one file name fail at a stage for its lifetime (see platform::SaveFile). */
class FailingSaves
{
public:
    FailingSaves(const QString& fileName, platform::SaveStage stage, qint64 failAfter = 16)
    {
        platform::SetSaveFault(platform::SaveFault{fileName, stage, failAfter});
    }
    ~FailingSaves() { platform::SetSaveFault(std::nullopt); }
    FailingSaves(const FailingSaves&) = delete;
    FailingSaves& operator=(const FailingSaves&) = delete;
};

/** Every file of a folder (not its subfolders) with its bytes. */
inline QMap<QString, QByteArray> FolderContents(const QString& folder)
{
    QMap<QString, QByteArray> contents;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        contents.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
    }
    return contents;
}

/** What changed between two folder contents, one line a file; empty when nothing did. */
inline QString FolderChanges(const QMap<QString, QByteArray>& before, const QMap<QString, QByteArray>& after)
{
    QStringList changes;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            changes.append(QStringLiteral("removed ") + it.key());
        else if (after.value(it.key()) != it.value())
            changes.append(QStringLiteral("changed ") + it.key());
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (!before.contains(it.key()))
            changes.append(QStringLiteral("left behind ") + it.key());
    }
    return changes.join(u'\n');
}

} // namespace testsupport
