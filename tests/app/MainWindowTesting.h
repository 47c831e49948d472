#pragma once

#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "calendar/TCalendarPanel32.h"
#include "tests/support/ModalDialogs.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPoint>
#include <QTest>
#include <QToolBar>

namespace apptesting {

/** A main window shown and through its first activation. */
inline void Start(app::TCalendarMain& window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(!window.StartingUp());
}

/** A new calendar accepted as the properties dialog proposes it; the page painted, so its cells know their
 * days. */
inline void NewDocument(app::TCalendarMain& window)
{
    testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
        QVERIFY(qobject_cast<app::TCalendarProperties*>(dialog));
        static_cast<QDialog*>(dialog)->accept();
    });
    window.New();
    // Focus returns to the window once the dialog has gone, as it does on screen.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.Page()->grab();
}

/** The middle of a day's free area, in page coordinates. */
inline QPoint DayPoint(const calendar::TCalendarPanel32& page, int day)
{
    const platform::TRect free = page.Cell(page.CellOfDay(day)).rFree;
    return {(free.left + free.right) / 2, (free.top + free.bottom) / 2};
}

/** Opens the editor on a day with a click, as a user does. */
inline void ClickDay(app::TCalendarMain& window, int day)
{
    QTest::mouseClick(window.Page(), Qt::LeftButton, {}, DayPoint(*window.Page(), day));
}

/** Opens a menu of the menu bar by its title and clicks the item, as a user does. */
inline void ClickMenuItem(app::TCalendarMain& window, const QString& title, const char* item)
{
    QMenuBar* bar = window.menuBar();
    QAction* menuAction = nullptr;
    for (QAction* a : bar->actions()) {
        if (a->text() == title)
            menuAction = a;
    }
    QVERIFY2(menuAction, qPrintable(title));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menuAction).center());
    QMenu* menu = menuAction->menu();
    QTRY_VERIFY(menu->isVisible());
    QAction* action = window.Action(item);
    QVERIFY2(action && action->isEnabled(), item);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

/**
 * A key as the user presses it: with the window active, as it is once a menu or dialog has closed, at the
 * widget that has the focus (given to target first, when there is one).
 */
inline void PressKey(app::TCalendarMain& window, Qt::Key key, Qt::KeyboardModifiers modifiers,
                     QWidget* target = nullptr)
{
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // The offscreen platform leaves a closed popup menu the active window when its object was deleted.
    if (QApplication::activeWindow() != &window)
        QApplication::setActiveWindow(&window);
    if (target) {
        target->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), target);
    }
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &window, key, modifiers);
}

/** Clicks a button of the window's tool bars, as a user does. */
inline void ClickToolButton(app::TCalendarMain& window, const char* name)
{
    QAction* action = window.Action(name);
    QVERIFY2(action && action->isEnabled(), name);
    for (QToolBar* bar : window.findChildren<QToolBar*>()) {
        if (QWidget* button = bar->widgetForAction(action)) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL(name);
}

/** With DATORIA_SCREENSHOTS naming a folder, keeps a picture of a window for a person to look at. */
inline void KeepScreenshot(QWidget& window, const QString& name)
{
    const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS");
    if (!folder.isEmpty())
        window.grab().save(folder + u'/' + name + QStringLiteral(".png"));
}

/** The same for a window with a tool window standing over it, drawn where it stands. */
inline void KeepScreenshot(QWidget& window, QWidget& over, const QString& name)
{
    const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    painter.drawPixmap(over.frameGeometry().topLeft() - window.frameGeometry().topLeft(), over.grab());
    painter.end();
    picture.save(folder + u'/' + name + QStringLiteral(".png"));
}

} // namespace apptesting
