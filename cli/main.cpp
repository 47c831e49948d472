#include "cli/CliCommand.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    // The tool draws off screen only, so it runs without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    return cli::RunCommand(arguments, out, err);
}
