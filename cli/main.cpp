#include "cli/CliCommand.h"

#include <QApplication>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    // The tool draws off screen only, so it runs without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A command starts only what it needs: without graphics no platform plugin and no fonts are loaded.
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given.append(QString::fromLocal8Bit(argv[i]));
    std::unique_ptr<QCoreApplication> application;
    switch (cli::NeededApplication(given)) {
    case cli::ApplicationKind::Core:
        application = std::make_unique<QCoreApplication>(argc, argv);
        break;
    case cli::ApplicationKind::Gui:
        application = std::make_unique<QGuiApplication>(argc, argv);
        break;
    case cli::ApplicationKind::Widgets:
        application = std::make_unique<QApplication>(argc, argv);
        break;
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return cli::RunCommand(arguments, out, err);
}
