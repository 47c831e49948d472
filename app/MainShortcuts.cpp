// The main window's keyboard shortcuts, its View menu and zooming with Ctrl+wheel.

#include "app/TCalendarMain.h"

#include "app/WheelZoom.h"
#include "calendar/TCalendarPanel32.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>

namespace app {

void TCalendarMain::buildShortcuts()
{
    // The usual keys of a desktop program, shown in the menus' shortcut column.
    const struct
    {
        const char* action;
        QList<QKeySequence> keys;
    } shortcuts[] = {
        {"New1", {QKeySequence(Qt::CTRL | Qt::Key_N)}},
        {"Open1", {QKeySequence(Qt::CTRL | Qt::Key_O)}},
        {"mnuSaveAs", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}},
        {"mnuPrintCalendar", {QKeySequence(Qt::CTRL | Qt::Key_P)}},
        {"mnuPrintPreview", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)}},
        {"mnuExit", {QKeySequence(Qt::CTRL | Qt::Key_Q)}},
        {"mnuContents", {QKeySequence(Qt::Key_F1)}},
    };
    for (const auto& shortcut : shortcuts) {
        if (QAction* action = Action(shortcut.action))
            action->setShortcuts(shortcut.keys);
    }

    // Zoom In and Zoom Out, enabled as their tool bar buttons are; Ctrl++ is Ctrl+= with Shift on most
    // keyboards.
    auto* view = new QMenu(tr("&View"), this);
    view->setObjectName(QStringLiteral("mnuView"));
    auto zoomItem = [this, view](const QString& caption, const char* name, const char* button,
                                 const QList<QKeySequence>& keys, void (TCalendarMain::*zoom)()) {
        QAction* action = view->addAction(caption, this, [this, zoom] { (this->*zoom)(); });
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        QAction* twin = Action(button);
        action->setEnabled(twin->isEnabled());
        connect(twin, &QAction::enabledChanged, action, &QAction::setEnabled);
    };
    zoomItem(tr("Zoom &In"), "mnuZoomIn", "ZoomPlusButton",
             {QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)},
             &TCalendarMain::ZoomIn);
    zoomItem(tr("Zoom &Out"), "mnuZoomOut", "ZoomMinusButton", {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
             &TCalendarMain::ZoomOut);
    // The menu stands before "&Online", after the document menus.
    QAction* before = nullptr;
    for (QAction* menu : menuBar()->actions()) {
        if (menu->text() == tr("&Online"))
            before = menu;
    }
    menuBar()->insertMenu(before, view);

    // Ctrl+wheel over the page zooms it, a step per notch, while a calendar is shown.
    new WheelZoom(m_scroll->viewport(), [this](int step) {
        if (m_page->isHidden())
            return;
        if (step > 0)
            ZoomIn();
        else
            ZoomOut();
    });
}

} // namespace app
