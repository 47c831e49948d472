#include "tests/support/Tpf0Tools.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace testsupport {

QString Tpf0Tools()
{
    static QString folder;
    static bool tried = false;
    if (tried)
        return folder;
    tried = true;
    // The shared tools sit beside the checkout, or beside the folder of worktrees it belongs to;
    // DATORIA_SHARED_DIR in the environment points a checkout elsewhere at them.
    QString build;
    for (const QString& shared :
         {qEnvironmentVariable("DATORIA_SHARED_DIR"), QStringLiteral(DATORIA_SOURCE_DIR "/../shared"),
          QStringLiteral(DATORIA_SOURCE_DIR "/../../shared")}) {
        if (QFile::exists(shared + QStringLiteral("/tools/tpf0/build.sh"))) {
            build = shared + QStringLiteral("/tools/tpf0/build.sh");
            break;
        }
    }
    if (build.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("fpc")).isEmpty())
        return folder;
    static QTemporaryDir out;
    QProcess process;
    process.start(QStringLiteral("sh"), {build, out.path()});
    if (process.waitForFinished(120000) && process.exitCode() == 0 &&
        QFile::exists(out.filePath(QStringLiteral("tpf0check"))))
        folder = out.path();
    return folder;
}

} // namespace testsupport
