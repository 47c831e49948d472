#include "app/PageWindow.h"
#include "calendar/TCalendarPanel32.h"
#include "tests/support/TestEnvironment.h"

#include <QTest>

class TestPageWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void showsANewDocumentAt60Percent()
    {
        app::PageWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        calendar::TCalendarPanel32* page = window.Page();
        QCOMPARE(page->CalendarLayout(), calendar::loFCMinisInTitleLS);
        QCOMPARE(page->MainCalMonth(), 12);
        QCOMPARE(page->MainCalYear(), 2026);
        QCOMPARE(page->pos(), QPoint(5, 5));
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [60%]"));
    }

    void pageKeysZoom()
    {
        app::PageWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        calendar::TCalendarPanel32* page = window.Page();
        QTest::keyClick(&window, Qt::Key_PageDown);
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [70%]"));
        QCOMPARE(page->width(), 739); // 1056 * 0.7, truncated
        QTest::keyClick(&window, Qt::Key_PageUp);
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [60%]"));
        // Held just above 0.6, so one more step goes to 50%, the lowest a step reaches.
        QTest::keyClick(&window, Qt::Key_PageUp);
        QTest::keyClick(&window, Qt::Key_PageUp);
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [50%]"));
        for (int i = 0; i < 9; ++i)
            QTest::keyClick(&window, Qt::Key_PageDown);
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [100%]"));
        QCOMPARE(page->size(), QSize(1056, 816));
    }
};

QTEST_MAIN(TestPageWindow)
#include "tst_pagewindow.moc"
