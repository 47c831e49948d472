#pragma once

#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "calendar/TCalendarPanel32.h"
#include "tests/support/ModalDialogs.h"

#include <QPoint>
#include <QTest>

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

/** With DATORIA_SCREENSHOTS naming a folder, keeps a picture of a window for a person to look at. */
inline void KeepScreenshot(QWidget& window, const QString& name)
{
    const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS");
    if (!folder.isEmpty())
        window.grab().save(folder + u'/' + name + QStringLiteral(".png"));
}

} // namespace apptesting
