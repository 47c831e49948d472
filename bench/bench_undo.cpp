// The cost of the undo history on a full page (42 filled cells, 50 text labels): the snapshot taken after
// each change, a step recorded (snapshot, comparison, push), a moved object's step undone (cells and style
// read back, the other 49 objects kept) and the worst case, a step whose 50 objects are all made anew.
// Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen build/bin/bench_undo
#include "app/DocumentHistory.h"
#include "calendar/TCalendarPanel32.h"
#include "design/TQelBaseLabel.h"
#include "platform/Clock.h"
#include "platform/Screen.h"

#include <QLocale>
#include <QTest>
#include <QUndoStack>

using calendar::TCalendarPanel32;

class BenchUndo : public QObject
{
    Q_OBJECT

    static void Fill(TCalendarPanel32& page)
    {
        page.ResetToNew();
        for (int i = 1; i <= 42; ++i) {
            page.CellStorage(i).SetRtfText(
                QStringLiteral(
                    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}{\\colortbl ;\\red255"
                    "\\green0\\blue0;}\\viewkind4\\uc1\\pard\\cf1\\f0\\fs20 Cell %1: dentist at 10, "
                    "call mother\\par}")
                    .arg(i)
                    .toLatin1());
        }
        for (int i = 0; i < 50; ++i) {
            auto* label = new design::TZubLabel(&page);
            label->setObjectName(QStringLiteral("Special%1").arg(i));
            label->SetCaption(QStringLiteral("Label %1").arg(i));
            label->AfterLoad();
            label->setGeometry(10 + i * 7, 20 + i * 5, 120, 40);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        platform::SetPixelsPerInchOverride(96);
        platform::SetTodayOverride(QDate(1997, 12, 1));
    }

    void takeSnapshot()
    {
        QWidget owner;
        TCalendarPanel32 page(&owner);
        Fill(page);
        app::DocumentHistory history(page, &owner);
        QBENCHMARK
        {
            const app::DocumentSnapshot snapshot = history.Take();
            Q_UNUSED(snapshot);
        }
    }

    void recordStep()
    {
        QWidget owner;
        TCalendarPanel32 page(&owner);
        Fill(page);
        app::DocumentHistory history(page, &owner);
        history.Reset();
        design::TQelGraphicControl* moved = page.PlacedObjects().first();
        int x = moved->x();
        QBENCHMARK
        {
            moved->move(++x, moved->y());
            history.Commit(QStringLiteral("Move"));
        }
        QVERIFY(history.Stack()->count() > 0);
    }

    void undoStep()
    {
        QWidget owner;
        TCalendarPanel32 page(&owner);
        Fill(page);
        app::DocumentHistory history(page, &owner);
        history.Reset();
        page.PlacedObjects().first()->move(400, 300);
        history.Commit(QStringLiteral("Move"));
        bool back = true;
        QBENCHMARK
        {
            if (back)
                history.Stack()->undo();
            else
                history.Stack()->redo();
            back = !back;
            // The menus of the objects replaced go with the next pass of the event loop, as in the program.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCOMPARE(page.PlacedObjects().size(), 50);
    }

    // The worst case: a step that erased every object (a layout change) undone and redone, all 50 made anew.
    void undoErasedObjects()
    {
        QWidget owner;
        TCalendarPanel32 page(&owner);
        Fill(page);
        app::DocumentHistory history(page, &owner);
        history.Reset();
        page.ClearObjects();
        history.Commit(QStringLiteral("Properties"));
        bool back = true;
        QBENCHMARK
        {
            if (back)
                history.Stack()->undo();
            else
                history.Stack()->redo();
            back = !back;
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
};

QTEST_MAIN(BenchUndo)
#include "bench_undo.moc"
