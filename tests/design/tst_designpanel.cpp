#include "calendar/TCalendarPanel32.h"
#include "design/TGetLabelText.h"
#include "design/TQelBaseLabel.h"
#include "design/TQelBasePanel.h"
#include "design/TQelGraphicControl.h"
#include "design/TQelHandle.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPrinters.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace design;
using calendar::TCalendarPanel32;
using platform::TRect;

namespace {

/** A window holding a page, shown so that mouse grabs work. */
struct Scene
{
    QWidget window;
    TCalendarPanel32* page;

    Scene()
    {
        window.resize(900, 1100);
        page = new TCalendarPanel32(&window);
        page->move(0, 0);
        window.show();
        QVERIFY_RESULT(QTest::qWaitForWindowExposed(&window));
    }

    TQelGraphicControl* Object(QRect geometry)
    {
        auto* object = new TQelGraphicControl(page);
        object->AfterLoad();
        object->setGeometry(geometry);
        object->show();
        return object;
    }

    TZubLabel* Label(QRect geometry, const QString& caption)
    {
        auto* label = new TZubLabel(page);
        label->AfterLoad();
        label->setGeometry(geometry);
        label->SetCaption(caption);
        label->show();
        return label;
    }

    TQelHandle* Handle() const { return page->Handle(); }

    /** A right-click at the page point, then a click on the item of the menu that opened. */
    void ChooseFromMenu(QPoint at, const QString& item)
    {
        QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, page->mapTo(&window, at));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* action = menu->findChild<QAction*>(item);
        QVERIFY(action);
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }

    /**
     * Drags on the handle from one handle point to another, holding the button long enough (in real time, as
     * the handle measures it) for the drag to count as a move.
     */
    void DragHandle(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        TQelHandle* h = Handle();
        QTest::mouseMove(h, from);
        QTest::mousePress(h, Qt::LeftButton, modifiers, from);
        QTest::qWait(20);
        QTest::mouseMove(h, (from + to) / 2);
        QTest::mouseMove(h, to);
        QTest::qWait(160);
        QTest::mouseRelease(h, Qt::LeftButton, modifiers, to);
    }

private:
    // QVERIFY in a constructor: fail softly by returning nothing.
    static void QVERIFY_RESULT(bool ok) { Q_ASSERT(ok); }
};

} // namespace

class TestDesignPanel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        platform::SetProgramFolderOverride(m_folder.path());
    }

    // Pages leave the clipboard file alone when they go: each test starts without one.
    void init() { QFile::remove(m_folder.filePath(QStringLiteral("Clipbrd.tmp"))); }

    void creationRectangle_data()
    {
        QTest::addColumn<TRect>("band");
        QTest::addColumn<TRect>("rect");
        QTest::newRow("click") << TRect{100, 100, 100, 100} << TRect{100, 100, 150, 115};
        QTest::newRow("30 x 10 drag") << TRect{10, 10, 40, 20} << TRect{10, 10, 40, 25};
        QTest::newRow("20 x 40 drag") << TRect{10, 10, 30, 50} << TRect{10, 10, 60, 50};
        QTest::newRow("large") << TRect{0, 0, 300, 200} << TRect{0, 0, 300, 200};
    }
    void creationRectangle()
    {
        QFETCH(TRect, band);
        QFETCH(TRect, rect);
        QCOMPARE(TCalendarPanel32::CreationRect(band), rect);
    }

    // A click with the Text tool makes a 50 x 15 label "Enter text..." in 20 points and asks for its text.
    void clickCreatesALabel()
    {
        Scene scene;
        scene.page->SetPanelState(calendar::psLabel);
        QSize sizeWhenAsked;
        QString caption;
        testsupport::WhenDialogOpens(this, [&](QWidget* modal) {
            auto* dialog = qobject_cast<TGetLabelText*>(modal);
            QVERIFY(dialog);
            const QList<TQelGraphicControl*> objects = scene.page->PlacedObjects();
            QCOMPARE(objects.size(), 1);
            sizeWhenAsked = objects.first()->size(); // its layout may already have grown the height
            caption = dialog->Text();
            dialog->Edit()->setText(QStringLiteral("Birthday party"));
            dialog->accept();
        });
        TRect dropped;
        scene.page->SetDroppedObjectEvent([&dropped](const TRect& r) { dropped = r; });
        int changes = 0;
        scene.page->SetLabelChangedEvent([&changes](QObject*) { ++changes; });
        QTest::mouseClick(scene.page, Qt::LeftButton, {}, QPoint(120, 140));
        QTRY_VERIFY(!caption.isEmpty());
        QCOMPARE(sizeWhenAsked.width(), 50);
        QVERIFY(sizeWhenAsked.height() >= 15);
        QCOMPARE(caption, QStringLiteral("Enter text..."));
        auto* label = qobject_cast<TZubLabel*>(scene.page->PlacedObjects().first());
        QVERIFY(label);
        QCOMPARE(label->pos(), QPoint(120, 140));
        QCOMPARE(label->Caption(), QStringLiteral("Birthday party"));
        QCOMPARE(label->Font()->Size(), 20);
        QCOMPARE(label->objectName(), QStringLiteral("Special1"));
        QVERIFY(!label->Transparent());
        QCOMPARE(label->BorderStyle(), bsSingle);
        QVERIFY(label->width() > 50); // grown to fit the text
        QCOMPARE(scene.page->PanelState(), calendar::psPointing);
        QCOMPARE(dropped, (TRect{120, 140, 120, 140}));
        QCOMPARE(changes, 1); // the whole set-up is one change, reported once it is kept
        QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{label});
    }

    // New objects are named by the first free number, at any depth of the owner, up to 1000.
    void freeNames_data()
    {
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<int>("first");
        QTest::addColumn<QString>("name");
        QStringList many;
        for (int n = 1; n <= 999; ++n)
            many.append(QStringLiteral("Special%1").arg(n));
        QTest::newRow("none taken") << QStringList() << QStringLiteral("Special") << 1
                                    << QStringLiteral("Special1");
        QTest::newRow("a gap") << QStringList{QStringLiteral("Special1"), QStringLiteral("Special3")}
                               << QStringLiteral("Special") << 1 << QStringLiteral("Special2");
        QTest::newRow("from zero") << QStringList{QStringLiteral("Component0")} << QStringLiteral("Component")
                                   << 0 << QStringLiteral("Component1");
        QTest::newRow("the thousandth")
            << many << QStringLiteral("Special") << 1 << QStringLiteral("Special1000");
    }
    void freeNames()
    {
        QFETCH(QStringList, taken);
        QFETCH(QString, stem);
        QFETCH(int, first);
        QFETCH(QString, name);
        QObject owner;
        QObject* inner = new QObject(&owner);
        for (qsizetype i = 0; i < taken.size(); ++i)
            (new QObject(i % 2 ? inner : &owner))->setObjectName(taken[i]);
        QCOMPARE(TQelBasePanel::FreeName(&owner, stem, first), name);
    }

    // Objects beyond the page come back onto it: their left edge at most 20 pixels from its right edge, their
    // top at most 10 from its bottom.
    void pullObjectsOntoPage_data()
    {
        QTest::addColumn<QPoint>("from"); // from the page's bottom-right corner
        QTest::addColumn<QPoint>("to");
        QTest::newRow("inside") << QPoint(-20, -10) << QPoint(-20, -10);
        QTest::newRow("one too far right") << QPoint(-19, -10) << QPoint(-20, -10);
        QTest::newRow("one too low") << QPoint(-20, -9) << QPoint(-20, -10);
        QTest::newRow("far out") << QPoint(300, 400) << QPoint(-20, -10);
    }
    void pullObjectsOntoPage()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        Scene scene;
        const QPoint corner(scene.page->width(), scene.page->height());
        TQelGraphicControl* object = scene.Object(QRect(corner + from, QSize(40, 20)));
        scene.page->PullObjectsOntoPage();
        QCOMPARE(object->pos(), corner + to);
    }

    // Dragged either way, the gesture gives the same rectangle.
    void dragsInEveryDirection_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("down right") << QPoint(100, 100) << QPoint(200, 160);
        QTest::newRow("up left") << QPoint(200, 160) << QPoint(100, 100);
        QTest::newRow("down left") << QPoint(200, 100) << QPoint(100, 160);
        QTest::newRow("up right") << QPoint(100, 160) << QPoint(200, 100);
    }
    void dragsInEveryDirection()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        Scene scene;
        // A floating calendar opens no dialog: only the gesture counts here.
        scene.page->SetPanelState(calendar::psFlatCalendar);
        TRect dropped;
        scene.page->SetDroppedObjectEvent([&dropped](const TRect& r) { dropped = r; });
        QTest::mousePress(scene.page, Qt::LeftButton, {}, from);
        QTest::mouseMove(scene.page, (from + to) / 2);
        QTest::mouseMove(scene.page, to);
        QTest::mouseRelease(scene.page, Qt::LeftButton, {}, to);
        QCOMPARE(dropped, (TRect{100, 100, 200, 160}));
        QCOMPARE(scene.page->PanelState(), calendar::psPointing);
    }

    // A drawing gesture that starts on a selected object (under the handle) still takes the dragged
    // rectangle.
    void drawingDragStartingOnTheSelection()
    {
        Scene scene;
        TZubLabel* label = scene.Label(QRect(100, 100, 120, 30), QStringLiteral("Selected"));
        scene.Handle()->Select(label);
        scene.page->SetPanelState(calendar::psLabel);
        TRect dropped;
        scene.page->SetDroppedObjectEvent([&dropped](const TRect& r) { dropped = r; });
        testsupport::WhenDialogOpens(this, [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->accept(); });
        QWindow* window = scene.window.windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(110, 110));
        QTest::mouseMove(window, QPoint(200, 160));
        QTest::mouseMove(window, QPoint(260, 210));
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(260, 210));
        QTRY_COMPARE(dropped, (TRect{110, 110, 260, 210}));
        QCOMPARE(scene.page->PlacedObjects().size(), 2);
        QCOMPARE(scene.page->PlacedObjects().last()->pos(), QPoint(110, 110));
    }

    void rubberBandSelectsByIntersection()
    {
        Scene scene;
        TQelGraphicControl* a = scene.Object(QRect(100, 100, 60, 30));
        TQelGraphicControl* b = scene.Object(QRect(300, 100, 60, 30));
        // The band only touches the right edge of a.
        QTest::mousePress(scene.page, Qt::LeftButton, {}, QPoint(158, 80));
        QTest::mouseMove(scene.page, QPoint(200, 200));
        QTest::mouseRelease(scene.page, Qt::LeftButton, {}, QPoint(200, 200));
        QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{a});
        // With Shift, a band over both toggles them: a goes, b comes.
        QTest::mousePress(scene.page, Qt::LeftButton, Qt::ShiftModifier, QPoint(90, 90));
        QTest::mouseMove(scene.page, QPoint(400, 150));
        QTest::mouseRelease(scene.page, Qt::LeftButton, Qt::ShiftModifier, QPoint(400, 150));
        QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{b});
        QCOMPARE(scene.Handle()->geometry(), QRect(298, 98, 65, 35));
        // The band's end point counts: a band that ends on an object's top row, or on its left column,
        // takes it.
        TQelGraphicControl* c = scene.Object(QRect(500, 300, 60, 30));
        for (const QPoint end : {QPoint(520, 300), QPoint(500, 320)}) {
            QTest::mousePress(scene.page, Qt::LeftButton, {}, QPoint(450, 250));
            QTest::mouseMove(scene.page, end);
            QTest::mouseRelease(scene.page, Qt::LeftButton, {}, end);
            QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{c});
        }
    }

    void clickSelectsAndShiftAdds()
    {
        Scene scene;
        TQelGraphicControl* a = scene.Object(QRect(100, 100, 60, 30));
        TQelGraphicControl* b = scene.Object(QRect(300, 100, 60, 30));
        QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{a});
        QVERIFY(scene.Handle()->isVisible());
        QTest::mouseClick(b, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
        QCOMPARE(scene.Handle()->SelectedCount(), 2);
        QCOMPARE(scene.Handle()->geometry(), QRect(98, 98, 265, 35));
    }

    // Selecting what is already selected, or nothing, leaves a single selection that still resizes.
    void selectingAgainKeepsOne()
    {
        Scene scene;
        TQelGraphicControl* object = scene.Object(QRect(100, 100, 100, 40));
        scene.Handle()->Select(object);
        scene.Handle()->Select(object);
        scene.Handle()->Select(nullptr);
        QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{object});
        QCOMPARE(scene.Handle()->geometry(), QRect(98, 98, 105, 45));
        scene.DragHandle(QPoint(104, 44), QPoint(114, 54));
        QCOMPARE(object->geometry(), QRect(100, 100, 109, 49));
    }

    // The selection holds the mouse only while the button is down: once the pointer moves on, a click on
    // another object selects that one.
    void clickAnotherObjectAfterSelecting()
    {
        Scene scene;
        TQelGraphicControl* a = scene.Object(QRect(100, 100, 60, 30));
        TQelGraphicControl* b = scene.Object(QRect(300, 100, 60, 30));
        QWindow* window = scene.window.windowHandle();
        const auto at = [&scene](QPoint p) { return scene.page->mapTo(&scene.window, p); };
        QTest::mouseClick(window, Qt::LeftButton, {}, at(QPoint(110, 110)));
        QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{a});
        QTest::mouseMove(window, at(QPoint(120, 112)));
        QTest::mouseMove(window, at(QPoint(250, 112)));
        QTest::mouseClick(window, Qt::LeftButton, {}, at(QPoint(310, 110)));
        QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{b});
        QCOMPARE(a->pos(), QPoint(100, 100));
    }

    // Each of the eight squares of a single selection resizes by its edges; elsewhere the handle moves the
    // object. Dragging the bottom-right corner of a 100 x 40 object by (10, 10) makes it 109 x 49.
    void resizeByEachSquare_data()
    {
        QTest::addColumn<QPoint>("from"); // on the handle, which is 105 x 45
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("top left") << QPoint(1, 1)
                                  << QRect(110, 110, 90, 30); // QTest takes (0, 0) as the centre
        QTest::newRow("top right") << QPoint(104, 0) << QRect(100, 110, 109, 30);
        QTest::newRow("bottom left") << QPoint(0, 44) << QRect(110, 100, 90, 49);
        QTest::newRow("bottom right") << QPoint(104, 44) << QRect(100, 100, 109, 49);
        QTest::newRow("top") << QPoint(52, 0) << QRect(100, 110, 100, 30);
        QTest::newRow("bottom") << QPoint(52, 44) << QRect(100, 100, 100, 49);
        QTest::newRow("left") << QPoint(0, 22) << QRect(110, 100, 90, 40);
        QTest::newRow("right") << QPoint(104, 22) << QRect(100, 100, 109, 40);
        QTest::newRow("inside") << QPoint(30, 10) << QRect(110, 110, 100, 40);
        // The squares reach 7 pixels in from the handle's edge.
        QTest::newRow("8 above the bottom edge") << QPoint(52, 37) << QRect(110, 110, 100, 40);
        QTest::newRow("7 above the bottom edge") << QPoint(52, 38) << QRect(100, 100, 100, 49);
        QTest::newRow("8 below the top-left corner") << QPoint(1, 8) << QRect(110, 110, 100, 40);
        QTest::newRow("7 below the top-left corner") << QPoint(1, 7) << QRect(110, 110, 90, 30);
        QTest::newRow("8 left of the corner") << QPoint(97, 44) << QRect(110, 110, 100, 40);
        QTest::newRow("7 left of the corner") << QPoint(98, 44) << QRect(100, 100, 109, 49);
    }
    void resizeByEachSquare()
    {
        QFETCH(QPoint, from);
        QFETCH(QRect, geometry);
        Scene scene;
        TQelGraphicControl* object = scene.Object(QRect(100, 100, 100, 40));
        scene.Handle()->Select(object);
        scene.DragHandle(from, from + QPoint(10, 10));
        QCOMPARE(object->geometry(), geometry);
    }

    // With Shift held, each square resizes keeping the object's proportions (100 x 40 here): by a corner the
    // side dragged further leads, by an edge that edge's side; the opposite corner or edge stays.
    void shiftResizeKeepsProportions_data()
    {
        QTest::addColumn<QPoint>("from"); // on the handle, which is 105 x 45
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("top left") << QPoint(1, 1) << QRect(110, 104, 90, 36);
        QTest::newRow("top right") << QPoint(104, 0) << QRect(100, 96, 109, 44);
        QTest::newRow("bottom left") << QPoint(0, 44) << QRect(77, 100, 123, 49);
        QTest::newRow("bottom right") << QPoint(104, 44) << QRect(100, 100, 123, 49);
        QTest::newRow("top") << QPoint(52, 0) << QRect(100, 110, 75, 30);
        QTest::newRow("right") << QPoint(104, 22) << QRect(100, 100, 109, 44);
    }
    void shiftResizeKeepsProportions()
    {
        QFETCH(QPoint, from);
        QFETCH(QRect, geometry);
        Scene scene;
        TQelGraphicControl* object = scene.Object(QRect(100, 100, 100, 40));
        scene.Handle()->Select(object);
        scene.DragHandle(from, from + QPoint(10, 10), Qt::ShiftModifier);
        QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{object});
        QCOMPARE(object->geometry(), geometry);
    }

    void quickClickMovesNothing()
    {
        Scene scene;
        TQelGraphicControl* object = scene.Object(QRect(100, 100, 100, 40));
        scene.Handle()->Select(object);
        TQelHandle* h = scene.Handle();
        QTest::mouseMove(h, QPoint(50, 20));
        QTest::mousePress(h, Qt::LeftButton, {}, QPoint(50, 20));
        QTest::mouseMove(h, QPoint(60, 30));
        QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(60, 30));
        QCOMPARE(object->pos(), QPoint(100, 100));
    }

    // A double click on the selection opens the object's menu; once it is closed, the selection drags as
    // before.
    void dragAfterADoubleClick()
    {
        Scene scene;
        TQelGraphicControl* object = scene.Object(QRect(100, 100, 100, 40));
        scene.Handle()->Select(object);
        QTest::mouseDClick(scene.Handle(), Qt::LeftButton, {}, QPoint(30, 10));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(menu, object->Menu());
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
        scene.DragHandle(QPoint(30, 10), QPoint(50, 30));
        QCOMPARE(object->pos(), QPoint(120, 120));
        scene.DragHandle(QPoint(30, 10), QPoint(40, 20));
        QCOMPARE(object->pos(), QPoint(130, 130));
    }

    // A locked object in a moved selection stays where it is.
    void lockedObjectsStay()
    {
        Scene scene;
        TQelGraphicControl* a = scene.Object(QRect(100, 100, 40, 20));
        TQelGraphicControl* b = scene.Object(QRect(200, 100, 40, 20));
        TQelGraphicControl* c = scene.Object(QRect(300, 100, 40, 20));
        b->SetLocked(true);
        for (TQelGraphicControl* o : {a, b, c})
            scene.Handle()->Select(o);
        scene.DragHandle(QPoint(20, 10), QPoint(40, 30));
        QCOMPARE(a->pos(), QPoint(120, 120));
        QCOMPARE(b->pos(), QPoint(200, 100));
        QCOMPARE(c->pos(), QPoint(320, 120));
    }

    void dragStopsAtThePanelEdge()
    {
        Scene scene;
        TQelGraphicControl* a = scene.Object(QRect(50, 50, 40, 20));
        TQelGraphicControl* b = scene.Object(QRect(50, 50, 40, 20));
        scene.Handle()->Select(a);
        scene.DragHandle(QPoint(22, 12), QPoint(-48, -48)); // to the panel's corner
        const QPoint atCorner = a->pos();
        b->move(50, 50);
        scene.Handle()->UnselectAll();
        scene.Handle()->Select(b);
        scene.DragHandle(QPoint(22, 12), QPoint(-300, -300)); // far beyond it
        QCOMPARE(b->pos(), atCorner);
    }

    // With steps of 8, a move by 13 to the right of a handle at left 2 puts it at 8 and its object at 10.
    void snapping()
    {
        Scene scene;
        TQelGraphicControl* object = scene.Object(QRect(4, 100, 40, 20));
        scene.Handle()->SetSnapToGrid(true);
        scene.Handle()->Select(object);
        QCOMPARE(scene.Handle()->x(), 2);
        scene.DragHandle(QPoint(20, 10), QPoint(33, 10));
        QCOMPARE(scene.Handle()->x(), 8);
        QCOMPARE(object->x(), 10);
        scene.Handle()->SetSnapToGrid(false);
    }

    // Shift+Left shrinks one pixel a press and stops at a width of 10, both edges counted; applied once on
    // key up.
    void keyboardResizeAndNudge()
    {
        Scene scene;
        TQelGraphicControl* object = scene.Object(QRect(100, 100, 20, 15));
        scene.Handle()->Select(object);
        scene.Handle()->setFocus();
        for (int i = 0; i < 20; ++i)
            QTest::keyPress(scene.Handle(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(scene.Handle()->NudgeRectangle().width(), 10);
        QCOMPARE(object->width(), 20); // nothing moves before the key comes up
        QTest::keyRelease(scene.Handle(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(object->width(), 9);
        for (int i = 0; i < 3; ++i)
            QTest::keyPress(scene.Handle(), Qt::Key_Down);
        QTest::keyRelease(scene.Handle(), Qt::Key_Down);
        QCOMPARE(object->pos(), QPoint(100, 103));
    }

    // Shift and an arrow key resize a single selection by its right or bottom edge, one pixel a press, down
    // to 10 pixels counting both edges.
    void keyboardResizes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("presses");
        QTest::addColumn<QSize>("size");
        QTest::newRow("narrower") << int(Qt::Key_Left) << 3 << QSize(17, 15);
        QTest::newRow("wider") << int(Qt::Key_Right) << 3 << QSize(23, 15);
        QTest::newRow("lower") << int(Qt::Key_Up) << 3 << QSize(20, 12);
        QTest::newRow("taller") << int(Qt::Key_Down) << 3 << QSize(20, 18);
        QTest::newRow("lowest") << int(Qt::Key_Up) << 20 << QSize(20, 9);
    }
    void keyboardResizes()
    {
        QFETCH(int, key);
        QFETCH(int, presses);
        QFETCH(QSize, size);
        Scene scene;
        TQelGraphicControl* object = scene.Object(QRect(100, 100, 20, 15));
        scene.Handle()->Select(object);
        scene.Handle()->setFocus();
        for (int i = 0; i < presses; ++i)
            QTest::keyPress(scene.Handle(), Qt::Key(key), Qt::ShiftModifier);
        QTest::keyRelease(scene.Handle(), Qt::Key(key), Qt::ShiftModifier);
        QCOMPARE(object->geometry(), QRect(QPoint(100, 100), size));
    }

    // Arrow keys move the selection up to the page's edges and no further.
    void nudgesStopAtThePageEdges_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("from"); // negative: that far from the right or bottom edge
        QTest::addColumn<QPoint>("to");
        QTest::newRow("left") << int(Qt::Key_Left) << QPoint(2, 100) << QPoint(0, 100);
        QTest::newRow("up") << int(Qt::Key_Up) << QPoint(100, 2) << QPoint(100, 0);
        QTest::newRow("right") << int(Qt::Key_Right) << QPoint(-22, 100) << QPoint(-20, 100);
        QTest::newRow("down") << int(Qt::Key_Down) << QPoint(100, -17) << QPoint(100, -15);
    }
    void nudgesStopAtThePageEdges()
    {
        QFETCH(int, key);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        Scene scene;
        const auto onPage = [&scene](QPoint p) {
            return QPoint(p.x() < 0 ? scene.page->width() + p.x() : p.x(),
                          p.y() < 0 ? scene.page->height() + p.y() : p.y());
        };
        TQelGraphicControl* object = scene.Object(QRect(onPage(from), QSize(20, 15)));
        scene.Handle()->Select(object);
        scene.Handle()->setFocus();
        for (int i = 0; i < 5; ++i)
            QTest::keyPress(scene.Handle(), Qt::Key(key));
        QTest::keyRelease(scene.Handle(), Qt::Key(key));
        QCOMPARE(object->geometry(), QRect(onPage(to), QSize(20, 15)));
    }

    void unselectingShrinksTheHandle()
    {
        Scene scene;
        TQelGraphicControl* a = scene.Object(QRect(10, 100, 40, 20));
        TQelGraphicControl* b = scene.Object(QRect(200, 100, 40, 20));
        TQelGraphicControl* c = scene.Object(QRect(300, 150, 40, 20));
        for (TQelGraphicControl* o : {a, b, c})
            scene.Handle()->Select(o);
        scene.Handle()->Unselect(a);
        QCOMPARE(scene.Handle()->geometry(), QRect(198, 98, 145, 75));
        c->SetUnselectable(true); // leaves the selection too
        QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{b});
        scene.Handle()->Select(c);
        QCOMPARE(scene.Handle()->SelectedCount(), 1); // refused
    }

    // Two pastes within a second paste once; copies land 15 pixels right and down, named Component0, 1, ...
    // The guard holds from the clock's first milliseconds on.
    void clipboard_data()
    {
        QTest::addColumn<qint64>("start");
        QTest::newRow("clock at 5 s") << qint64(5000);
        QTest::newRow("clock at 0 ms") << qint64(0);
        QTest::newRow("clock at 1 ms") << qint64(1);
    }
    void clipboard()
    {
        QFETCH(qint64, start);
        Scene scene;
        TZubLabel* label = scene.Label(QRect(100, 100, 120, 30), QStringLiteral("Copied"));
        label->setObjectName(QStringLiteral("Special1"));
        scene.Handle()->Select(label);
        // The program's clock stands still unless the test moves it.
        qint64 now = start;
        platform::SetTickCountOverride([&now] { return now; });
        const auto realClock = qScopeGuard([] { platform::SetTickCountOverride({}); });
        QTest::keyClick(scene.Handle(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QFile::exists(scene.page->ClipboardPath()));
        QTest::keyClick(scene.Handle(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(scene.Handle(), Qt::Key_V, Qt::ControlModifier);
        now += 999;
        QTest::keyClick(scene.Handle(), Qt::Key_V, Qt::ControlModifier);
        QList<TQelGraphicControl*> objects = scene.page->PlacedObjects();
        QCOMPARE(objects.size(), 2);
        auto* pasted = qobject_cast<TZubLabel*>(objects.last());
        QCOMPARE(pasted->Caption(), QStringLiteral("Copied"));
        QCOMPARE(pasted->pos(), QPoint(115, 115));
        QCOMPARE(pasted->objectName(), QStringLiteral("Component0"));
        // The pasted object is the selection now, as every new object is.
        QCOMPARE(scene.Handle()->Selection(), QList<TQelGraphicControl*>{pasted});
        // A second after the last paste, the next one goes through.
        now += 1;
        QTest::keyClick(scene.Handle(), Qt::Key_V, Qt::ControlModifier);
        objects = scene.page->PlacedObjects();
        QCOMPARE(objects.size(), 3);
        QCOMPARE(objects.last()->objectName(), QStringLiteral("Component1"));

        // Cut removes the selection, the last pasted object; with nothing selected, Ctrl+X does nothing.
        QTest::keyClick(scene.Handle(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(scene.page->PlacedObjects(), (QList<TQelGraphicControl*>{label, pasted}));
        QFile::remove(scene.page->ClipboardPath());
        scene.page->setFocus();
        QTest::keyClick(scene.page, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!QFile::exists(scene.page->ClipboardPath()));
        QCOMPARE(scene.page->PlacedObjects().size(), 2);
    }

    // The panel's Font command opens on the first selected label's font, colour included; the labels take
    // the chosen font and keep their own colours unless a colour was chosen.
    void panelFontCommandKeepsColours()
    {
        testsupport::ScriptedPrompts prompts;
        Scene scene;
        TZubLabel* red = scene.Label(QRect(100, 100, 200, 40), QStringLiteral("Red"));
        red->Font()->SetName(QStringLiteral("Times New Roman"));
        red->Font()->SetSize(26);
        red->Font()->SetStyle(platform::fsBold);
        red->Font()->SetColor(platform::clRed);
        TZubLabel* blue = scene.Label(QRect(100, 200, 200, 40), QStringLiteral("Blue"));
        blue->Font()->SetColor(platform::clBlue);
        scene.Handle()->Select(red);
        scene.Handle()->Select(blue);
        QFont chosen(QStringLiteral("Liberation Sans"));
        chosen.setPointSize(12);
        chosen.setItalic(true);
        prompts.font = chosen;
        scene.ChooseFromMenu(QPoint(150, 160),
                             QStringLiteral("mnuFont")); // between the two: the panel's menu
        QCOMPARE(prompts.fontsAsked.size(), 1);
        QCOMPARE(prompts.fontsAsked[0].font.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(prompts.fontsAsked[0].font.pointSize(), 26);
        QVERIFY(prompts.fontsAsked[0].font.bold());
        QCOMPARE(prompts.fontsAsked[0].color, platform::clRed);
        for (TZubLabel* label : {red, blue}) {
            QCOMPARE(label->Font()->Name(), QStringLiteral("Liberation Sans"));
            QCOMPARE(label->Font()->Size(), 12);
            QCOMPARE(label->Font()->Style(), platform::TFontStyles(platform::fsItalic));
        }
        QCOMPARE(red->Font()->Color(), platform::clRed);
        QCOMPARE(blue->Font()->Color(), platform::clBlue);

        prompts.fontColor = platform::clGreen;
        scene.ChooseFromMenu(QPoint(150, 160), QStringLiteral("mnuFont"));
        QCOMPARE(red->Font()->Color(), platform::clGreen);
        QCOMPARE(blue->Font()->Color(), platform::clGreen);
    }

    // A label's own Font command opens on its font and colour and takes both.
    void labelFontCommand()
    {
        testsupport::ScriptedPrompts prompts;
        Scene scene;
        TZubLabel* label = scene.Label(QRect(100, 100, 120, 30), QStringLiteral("Mine"));
        label->Font()->SetColor(platform::clMaroon);
        label->Font()->SetStyle(platform::fsUnderline);
        prompts.font = QFont(QStringLiteral("Liberation Serif"), 16);
        prompts.fontColor = platform::clTeal;
        scene.ChooseFromMenu(QPoint(110, 110), QStringLiteral("mnuFont"));
        QCOMPARE(prompts.fontsAsked.size(), 1);
        QCOMPARE(prompts.fontsAsked[0].font.family(), QStringLiteral("Arial"));
        QCOMPARE(prompts.fontsAsked[0].font.pointSize(), 10);
        QVERIFY(prompts.fontsAsked[0].font.underline());
        QCOMPARE(prompts.fontsAsked[0].color, platform::clMaroon);
        QCOMPARE(label->Font()->Name(), QStringLiteral("Liberation Serif"));
        QCOMPARE(label->Font()->Size(), 16);
        QCOMPARE(label->Font()->Color(), platform::clTeal);
    }

    void commandMenuEnabling()
    {
        Scene scene;
        QMenu* menu = scene.page->CommandMenu();
        auto item = [menu](const char* name) { return menu->findChild<QAction*>(QLatin1String(name)); };
        scene.page->UpdateCommandMenu();
        QVERIFY(!item("mnuLockAll")->isEnabled());
        QVERIFY(!item("mnuCut")->isEnabled());
        QVERIFY(item("mnuSelectAll")->isEnabled());
        TQelGraphicControl* a = scene.Object(QRect(10, 10, 40, 20));
        TQelGraphicControl* b = scene.Object(QRect(100, 40, 40, 30));
        scene.page->UpdateCommandMenu();
        QVERIFY(item("mnuLockAll")->isEnabled());
        item("mnuSelectAll")->trigger();
        QCOMPARE(scene.Handle()->SelectedCount(), 2);
        scene.page->UpdateCommandMenu();
        QVERIFY(item("mnuCut")->isEnabled());
        item("mnuAlignLeft")->trigger();
        QCOMPARE(b->x(), 10);
        item("mnuAlignBottoms")->trigger();
        QCOMPARE(a->y() + a->height(), 70);
        b->resize(90, 30);
        item("mnuAlignRight")->trigger();
        QCOMPARE(a->x() + a->width(), 100);
        QCOMPARE(b->x() + b->width(), 100);
        item("mnuLockAll")->trigger();
        QVERIFY(a->Locked() && b->Locked());
    }

    void objectMenu()
    {
        Scene scene;
        auto* label = new TZubLabel(scene.page);
        label->AfterLoad();
        label->setGeometry(40, 60, 120, 30);
        label->show();
        QMenu* menu = label->Menu();
        QVERIFY(menu);
        QStringList captions;
        for (QAction* a : menu->actions())
            captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(captions.mid(0, 12),
                 (QStringList{QStringLiteral("Bring To Front"), QStringLiteral("Send To Back"),
                              QStringLiteral("Cut"), QStringLiteral("Copy"), QStringLiteral("Delete"),
                              QStringLiteral("Clone"), QStringLiteral("-"), QStringLiteral("Locked"),
                              QStringLiteral("Unselectable"), QStringLiteral("-"),
                              QStringLiteral("Center Vertically"), QStringLiteral("Center Horizontally")}));
        QVERIFY(captions.contains(QStringLiteral("3D Effects")));
        QVERIFY(captions.contains(QStringLiteral("Text")));
        menu->findChild<QAction*>(QStringLiteral("mnuLocked"))->trigger();
        QVERIFY(label->Locked());
        menu->findChild<QAction*>(QStringLiteral("mnuClone"))->trigger();
        QCOMPARE(scene.page->PlacedObjects().size(), 2);
        QCOMPARE(scene.page->PlacedObjects().last()->pos(), QPoint(40, 85));
        menu->findChild<QAction*>(QStringLiteral("mnuRotate90"))->trigger();
        QCOMPARE(label->Angle(), 90);
    }

    // Delete and Cut chosen from an object's own menu destroy the object while the menu is still handling
    // the click: the menu must outlive it.
    // The label's menu shows its state as it opens: Transparent, Border and the alignment are checked as the
    // label is.
    void labelMenuChecksFollowTheLabel()
    {
        Scene scene;
        TZubLabel* label = scene.Label(QRect(100, 100, 120, 30), QStringLiteral("Checked"));
        QMenu* menu = label->Menu();
        const auto checked = [menu](const char* name) {
            return menu->findChild<QAction*>(QLatin1String(name))->isChecked();
        };
        for (const bool on : {true, false, true}) {
            label->SetTransparent(on);
            label->SetBorderStyle(on ? bsNone : bsSingle);
            label->SetAlignment(on ? taCenter : taRightJustify);
            QTest::mouseClick(label, Qt::RightButton, {}, QPoint(10, 10));
            QTRY_VERIFY(menu->isVisible());
            QCOMPARE(checked("mnuTransparent"), on);
            QCOMPARE(checked("mnuBorder"), !on);
            QCOMPARE(checked("mnuAlignCenter"), on);
            QCOMPARE(checked("mnuAlignRight"), !on);
            menu->close();
            QTRY_VERIFY(!menu->isVisible());
        }
    }

    void objectMenuDeletesItsObject_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("Delete") << QStringLiteral("mnuDelete");
        QTest::newRow("Cut") << QStringLiteral("mnuCut");
    }
    void objectMenuDeletesItsObject()
    {
        QFETCH(QString, item);
        Scene scene;
        QPointer<TZubLabel> label = scene.Label(QRect(100, 100, 120, 30), QStringLiteral("Doomed"));
        scene.ChooseFromMenu(QPoint(110, 110), item);
        QTRY_VERIFY(!label);
        QVERIFY(scene.page->PlacedObjects().isEmpty());
        QCOMPARE(scene.Handle()->SelectedCount(), 0);
        QCOMPARE(QFile::exists(scene.page->ClipboardPath()), item == QStringLiteral("mnuCut"));
        QFile::remove(scene.page->ClipboardPath());
        QTest::qWait(10); // the menu goes once its event has finished
    }

    // An unselectable object opens its menu on a double click, unselected: Delete writes no clipboard file,
    // Cut writes one, and both take the object away.
    void unselectableObjectMenu_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("copied");
        QTest::newRow("Delete") << QStringLiteral("mnuDelete") << false;
        QTest::newRow("Cut") << QStringLiteral("mnuCut") << true;
    }
    void unselectableObjectMenu()
    {
        QFETCH(QString, item);
        QFETCH(bool, copied);
        Scene scene;
        QPointer<TZubLabel> label = scene.Label(QRect(100, 100, 120, 30), QStringLiteral("Fixed"));
        label->SetUnselectable(true);
        QTest::mouseDClick(label, Qt::LeftButton, {}, QPoint(10, 10));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(scene.Handle()->SelectedCount(), 0);
        QAction* action = menu->findChild<QAction*>(item);
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QTest::mouseMove(menu, menu->actionGeometry(action).center());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QTRY_VERIFY(!label);
        QCOMPARE(QFile::exists(scene.page->ClipboardPath()), copied);
    }

    // A clipboard file that cannot be written is reported; a cut then deletes nothing.
    void unwritableClipboardIsReported()
    {
        testsupport::ScriptedPrompts prompts;
        Scene scene;
        TZubLabel* label = scene.Label(QRect(100, 100, 120, 30), QStringLiteral("Kept"));
        scene.Handle()->Select(label);
        platform::SetProgramFolderOverride(m_folder.filePath(QStringLiteral("missing")));
        QTest::keyClick(scene.Handle(), Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(scene.Handle(), Qt::Key_X, Qt::ControlModifier);
        scene.Handle()->UnselectAll();
        scene.ChooseFromMenu(QPoint(110, 110), QStringLiteral("mnuCut"));
        platform::SetProgramFolderOverride(m_folder.path());
        QCOMPARE(prompts.messages.size(), 3);
        for (const QString& message : prompts.messages)
            QVERIFY2(message.startsWith(QStringLiteral("Unable to save ")) &&
                         message.endsWith(QStringLiteral("Clipbrd.tmp\nStream write error")),
                     qPrintable(message));
        QCOMPARE(scene.page->PlacedObjects(), QList<TQelGraphicControl*>{label});
    }

    // A damaged clipboard file pastes nothing, also not the objects read before the damage, and says so.
    void damagedClipboardPastesNothing_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QString>("error");
        QTest::newRow("cut short, Ctrl+V")
            << QStringLiteral("truncate") << false << QStringLiteral("Stream read error");
        QTest::newRow("unknown value, menu")
            << QStringLiteral("value") << true << QStringLiteral("Invalid property value");
    }
    void damagedClipboardPastesNothing()
    {
        QFETCH(QString, damage);
        QFETCH(bool, fromMenu);
        QFETCH(QString, error);
        testsupport::ScriptedPrompts prompts;
        Scene scene;
        TZubLabel* first = scene.Label(QRect(100, 100, 120, 30), QStringLiteral("First"));
        TZubLabel* second = scene.Label(QRect(100, 200, 120, 30), QStringLiteral("Second"));
        second->SetBorderStyle(bsSingle);
        scene.Handle()->Select(first);
        scene.Handle()->Select(second);
        scene.page->ClipboardAction(TQelBasePanel::Copy);
        QFile file(scene.page->ClipboardPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
        const qsizetype secondRecord = bytes.lastIndexOf("TZubLabel");
        QVERIFY(secondRecord > bytes.indexOf("TZubLabel"));
        if (damage == QStringLiteral("truncate"))
            bytes.truncate(secondRecord + 40);
        else
            bytes.replace("bsSingle", "bsWobble");
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        scene.Handle()->UnselectAll();

        if (fromMenu) {
            scene.ChooseFromMenu(QPoint(400, 400), QStringLiteral("mnuPaste"));
        } else {
            scene.page->setFocus();
            QTest::keyClick(scene.page, Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(prompts.messages,
                 QStringList{
                     QStringLiteral("Unable to paste from %1\n%2").arg(scene.page->ClipboardPath(), error)});
        QCOMPARE(scene.page->PlacedObjects(), (QList<TQelGraphicControl*>{first, second}));
        QFile::remove(scene.page->ClipboardPath());
    }

    // Clone reads back what it wrote: an object whose record does not read back is reported, not copied.
    void cloneThatCannotReadBackIsReported()
    {
        testsupport::ScriptedPrompts prompts;
        Scene scene;
        TZubLabel* label = scene.Label(QRect(100, 100, 120, 30), QStringLiteral("Odd"));
        label->setObjectName(QStringLiteral("Special1"));
        // No name in the stream: 3 is a value of the type (whose values run 0..3), but none of its names. A
        // border style of 7 would be outside its type, which the undefined-behaviour sanitizer reports.
        label->SetAlignment(TAlignment(3));
        scene.ChooseFromMenu(QPoint(110, 110), QStringLiteral("mnuClone"));
        QCOMPARE(prompts.messages,
                 QStringList{QStringLiteral("Unable to clone Special1\nInvalid property value")});
        QCOMPARE(scene.page->PlacedObjects(), QList<TQelGraphicControl*>{label});
    }
};

QTEST_MAIN(TestDesignPanel)
#include "tst_designpanel.moc"
