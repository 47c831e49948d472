#include "app/HintDelayStyle.h"
#include "app/TCalendarMain.h"
#include "app/WindowPlacement.h"
#include "controls/TFontDialog.h"
#include "platform/SingleInstance.h"

#include <QApplication>
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

    // One instance per user: a second start brings the running window to the front and ends.
    platform::SingleInstance instance(QStringLiteral("Datoria-") +
                                      qEnvironmentVariable("USER", QStringLiteral("user")));
    if (!instance.Acquire()) {
        instance.RaiseRunning();
        return 0;
    }
    app::TCalendarMain window;
    window.CreateFloatingWindows();
    QObject::connect(&instance, &platform::SingleInstance::raiseRequested, &window,
                     [&window] { app::BringToFront(window); });
    window.show();
    return QApplication::exec();
}
