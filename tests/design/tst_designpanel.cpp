#include "calendar/TCalendarPanel32.h"
#include "design/TGetLabelText.h"
#include "design/TQelBaseLabel.h"
#include "design/TQelGraphicControl.h"
#include "design/TQelHandle.h"
#include "platform/ProgramFolder.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPrinters.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
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

    TQelHandle* Handle() const { return page->Handle(); }

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
        scene.page->SetPanelState(calendar::psImage);
        // The picture browser that the new object opens is cancelled: only the gesture counts here.
        testsupport::WhenDialogOpens(this, [](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
        TRect dropped;
        scene.page->SetDroppedObjectEvent([&dropped](const TRect& r) { dropped = r; });
        QTest::mousePress(scene.page, Qt::LeftButton, {}, from);
        QTest::mouseMove(scene.page, (from + to) / 2);
        QTest::mouseMove(scene.page, to);
        QTest::mouseRelease(scene.page, Qt::LeftButton, {}, to);
        QCOMPARE(dropped, (TRect{100, 100, 200, 160}));
        QCOMPARE(scene.page->PanelState(), calendar::psPointing);
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

    // Dragging the bottom-right corner of a 100 x 40 object by (10, 10) makes it 109 x 49.
    void cornerResize()
    {
        Scene scene;
        TQelGraphicControl* object = scene.Object(QRect(100, 100, 100, 40));
        scene.Handle()->Select(object);
        const QPoint corner(104, 44); // the handle is 105 x 45
        scene.DragHandle(corner, corner + QPoint(10, 10));
        QCOMPARE(object->geometry(), QRect(100, 100, 109, 49));
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
    void clipboard()
    {
        Scene scene;
        auto* label = new TZubLabel(scene.page);
        label->AfterLoad();
        label->setObjectName(QStringLiteral("Special1"));
        label->setGeometry(100, 100, 120, 30);
        label->SetCaption(QStringLiteral("Copied"));
        label->show();
        scene.Handle()->Select(label);
        QTest::keyClick(scene.Handle(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QFile::exists(scene.page->ClipboardPath()));
        QTest::keyClick(scene.Handle(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(scene.Handle(), Qt::Key_V, Qt::ControlModifier);
        QList<TQelGraphicControl*> objects = scene.page->PlacedObjects();
        QCOMPARE(objects.size(), 2);
        auto* pasted = qobject_cast<TZubLabel*>(objects.last());
        QCOMPARE(pasted->Caption(), QStringLiteral("Copied"));
        QCOMPARE(pasted->pos(), QPoint(115, 115));
        QCOMPARE(pasted->objectName(), QStringLiteral("Component0"));
        QCOMPARE(scene.Handle()->Selection(),
                 QList<TQelGraphicControl*>{label}); // pasted objects are not selected
        QTest::qWait(1100);
        QTest::keyClick(scene.Handle(), Qt::Key_V, Qt::ControlModifier);
        objects = scene.page->PlacedObjects();
        QCOMPARE(objects.size(), 3);
        QCOMPARE(objects.last()->objectName(), QStringLiteral("Component1"));

        // Cut removes the selection; with nothing selected, Ctrl+X does nothing.
        QTest::keyClick(scene.Handle(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(scene.page->PlacedObjects().size(), 2);
        QFile::remove(scene.page->ClipboardPath());
        scene.page->setFocus();
        QTest::keyClick(scene.page, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!QFile::exists(scene.page->ClipboardPath()));
        QCOMPARE(scene.page->PlacedObjects().size(), 2);
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
};

QTEST_MAIN(TestDesignPanel)
#include "tst_designpanel.moc"
