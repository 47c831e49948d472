#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testsupport {

struct ProgramRun
{
    int exitCode = -1; ///< -1 when the program did not start, crashed or ran out of time
    QByteArray output;
    QByteArray errors;

    /** Both channels, for a failure's message. */
    QByteArray all() const { return output + errors; }
};

/** Runs a program to its end (at most two minutes) and keeps what it printed on each channel. */
inline ProgramRun
RunProgram(const QString& program, const QStringList& arguments,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.errors = process.readAllStandardError();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

} // namespace testsupport
