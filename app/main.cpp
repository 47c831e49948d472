#include "app/PageWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Datoria"));
    app::PageWindow window;
    window.show();
    return QApplication::exec();
}
