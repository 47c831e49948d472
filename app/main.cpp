#include "app/DesktopFiles.h"
#include "app/HintDelayStyle.h"
#include "app/TCalendarMain.h"
#include "app/WindowPlacement.h"
#include "controls/TFontDialog.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Datoria"));
    // The installed desktop entry and icon theme give the windows their icon.
    QApplication::setDesktopFileName(QStringLiteral("datoria"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("datoria")));
    QApplication::setStyle(new app::HintDelayStyle);
    controls::TFontDialog::Install();

    QCommandLineParser arguments;
    arguments.setApplicationDescription(QStringLiteral("Designs and prints calendar pages."));
    arguments.addHelpOption();
    arguments.addPositionalArgument(
        QStringLiteral("file"), QStringLiteral("A calendar file (*.KVF) to open."), QStringLiteral("[file]"));
    arguments.process(application);
    const QStringList files = arguments.positionalArguments();
    const QString file = files.isEmpty() ? QString() : app::FileArgument(files.first(), QDir::currentPath());

    // One instance per user and display: a second start brings the running window to the front, hands it its
    // file, and ends.
    platform::SingleInstance instance(platform::SingleInstance::SessionKey(QStringLiteral("Datoria")));
    if (!instance.Acquire()) {
        instance.RaiseRunning(file);
        return 0;
    }
    app::TCalendarMain window;
    window.CreateFloatingWindows();
    window.SetStartFile(file);
    QObject::connect(&instance, &platform::SingleInstance::raiseRequested, &window,
                     [&window] { app::BringToFront(window); });
    QObject::connect(&instance, &platform::SingleInstance::openRequested, &window,
                     [&window](const QString& path) { window.OpenFromOutside({path}); });
    window.show();
    return QApplication::exec();
}
