// Undo and redo on the real main window: each kind of step done, undone and redone through the Edit menu and
// its keys, with the page's cells, objects and calendar file bytes compared; the captions that name the
// steps, the modified state following the saved document, and the history starting afresh with each document.
#include "app/DocumentHistory.h"
#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "app/TUserTitleForm.h"
#include "calendar/TCalendarPanel32.h"
#include "controls/TIconListBox.h"
#include "design/TQelBaseLabel.h"
#include "design/TQelHandle.h"
#include "exchange/TImportEvents.h"
#include "persist/formats/CalendarFile.h"
#include "platform/ProgramFolder.h"
#include "recurring/RecurringDateLists.h"
#include "recurring/RecurringStore.h"
#include "richtext/RtfPlainText.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"
#include "tests/app/MainWindowTesting.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <utility>

using app::TCalendarMain;
using calendar::TCalendarPanel32;

namespace {

using Change = std::function<void(TCalendarMain&)>;

/** The document as its calendar file carries it. */
QByteArray FileBytes(const TCalendarPanel32& page)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    persist::WriteCalendar(&buffer, page);
    return buffer.data();
}

/** What a person sees of the document: the days' texts and the placed objects with their places. */
QStringList Outline(TCalendarPanel32& page)
{
    page.grab();
    QStringList lines;
    for (int day = 1; day <= 31; ++day) {
        const int cell = page.CellOfDay(day);
        if (cell < 0)
            continue;
        const QString text = richtext::RtfPlainText(page.CellStorage(cell).RtfText()).trimmed();
        if (!text.isEmpty())
            lines.append(QStringLiteral("day %1: %2").arg(day).arg(text));
    }
    for (const design::TQelGraphicControl* object : page.PlacedObjects()) {
        const QRect g = object->geometry();
        lines.append(QStringLiteral("%1 %2 %3,%4 %5x%6")
                         .arg(QLatin1String(object->metaObject()->className()), object->objectName())
                         .arg(g.x())
                         .arg(g.y())
                         .arg(g.width())
                         .arg(g.height()));
    }
    lines.append(QStringLiteral("title: ") + page.UserTitle());
    return lines;
}

design::TZubLabel* AddLabel(TCalendarPanel32& page, const QRect& r, const QString& caption)
{
    auto* label = new design::TZubLabel;
    label->SetCaption(caption);
    label->AfterLoad();
    page.AddObject(label, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    return label;
}

design::TZubLabel* LabelAt(TCalendarPanel32& page, int index)
{
    return qobject_cast<design::TZubLabel*>(page.PlacedObjects().value(index));
}

using apptesting::ClickMenuItem;

/** A right press on the object, then a click on the item of its own menu. */
void ChooseFromObjectMenu(design::TQelGraphicControl* object, const char* item)
{
    QTest::mousePress(object, Qt::RightButton, {}, QPoint(5, 5));
    QMenu* menu = object->Menu();
    QTRY_VERIFY(menu->isVisible());
    QAction* action = menu->findChild<QAction*>(QLatin1String(item));
    QVERIFY2(action, item);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

/** A right press on the object, then the item of its own menu chosen with the arrow keys and the key. */
void ChooseFromObjectMenuByKey(design::TQelGraphicControl* object, const char* item, Qt::Key key)
{
    QTest::mousePress(object, Qt::RightButton, {}, QPoint(5, 5));
    QMenu* menu = object->Menu();
    QTRY_VERIFY(menu->isVisible());
    QAction* action = menu->findChild<QAction*>(QLatin1String(item));
    QVERIFY2(action, item);
    for (int i = 0; i < menu->actions().size() && menu->activeAction() != action; ++i)
        QTest::keyClick(menu, Qt::Key_Down);
    QCOMPARE(menu->activeAction(), action);
    QTest::keyClick(menu, key);
}

/** A right press on the selection handle, then a click on the item of the page's command menu. */
void ChooseFromCommandMenu(TCalendarPanel32& page, const char* item)
{
    design::TQelHandle* handle = page.Handle();
    QTest::mousePress(handle, Qt::RightButton, {}, QPoint(5, 5));
    QMenu* menu = page.CommandMenu();
    QTRY_VERIFY(menu->isVisible());
    QAction* action = menu->findChild<QAction*>(QLatin1String(item));
    QVERIFY2(action && action->isEnabled(), item);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

/**
 * Drags on the handle between two of its points, holding the button long enough (in real time, as the handle
 * measures it) for the drag to count as a move.
 */
void DragHandle(design::TQelHandle* handle, QPoint from, QPoint to)
{
    QTest::mouseMove(handle, from);
    QTest::mousePress(handle, Qt::LeftButton, {}, from);
    QTest::qWait(20);
    QTest::mouseMove(handle, (from + to) / 2);
    QTest::mouseMove(handle, to);
    QTest::qWait(160);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, to);
}

/** Changes still waiting for the end of their action are recorded once the events are processed. */
void Settle()
{
    QTest::qWait(20);
}

using apptesting::PressKey;

QString UndoCaption(TCalendarMain& window)
{
    return window.Action("mnuUndo")->text();
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestUndo : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<testsupport::ScriptedPrompts> m_prompts;

    QString folder() const { return m_folder->path() + u'/'; }

    QString write(const QString& name, const QByteArray& data)
    {
        const QString path = folder() + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return QString();
        return path;
    }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(QDate(2026, 12, 7)); }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        platform::SetProgramFolderOverride(m_folder->path());
        m_prompts = std::make_unique<testsupport::ScriptedPrompts>();
    }

    void cleanup()
    {
        m_prompts.reset();
        platform::SetProgramFolderOverride(QString());
    }

    // Each kind of step: done, named in the Edit menu, undone by its item, redone and undone again by the
    // keys; each time the page's cells, objects and file bytes are those of the document before or after.
    void eachStepUndoesAndRedoes_data()
    {
        QTest::addColumn<Change>("prepare");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("caption");

        const Change nothing = [](TCalendarMain&) {};
        const Change twoLabels = [](TCalendarMain& window) {
            AddLabel(*window.Page(), QRect(100, 100, 100, 40), QStringLiteral("Anna"));
            AddLabel(*window.Page(), QRect(150, 200, 120, 30), QStringLiteral("Ben"));
            window.Page()->Handle()->Select(LabelAt(*window.Page(), 0));
            window.Page()->Handle()->setFocus();
        };
        const Change textOnDays = [](TCalendarMain& window) {
            window.PuttextOnDay(3, QStringLiteral("Dentist"));
            window.PuttextOnDay(24, QStringLiteral("Christmas Eve"));
            window.DoSaveRichtext();
        };

        QTest::newRow("typing") << textOnDays << Change([](TCalendarMain& window) {
            apptesting::ClickDay(window, 3);
            QTest::keyClicks(window.CellEditor(), QStringLiteral(" at ten"));
            apptesting::ClickDay(window, 10);
        }) << QStringLiteral("&Undo Typing");
        QTest::newRow("clear all cell contents") << textOnDays << Change([](TCalendarMain& window) {
            ClickMenuItem(window, QStringLiteral("&File"), "mnuClearAllCellContents");
        }) << QStringLiteral("&Undo Clear All Cell Contents");
        QTest::newRow("recurring dates") << Change([](TCalendarMain&) {
            QVERIFY(recurring::WriteStore(
                recurring::StorePath(),
                {recurring::MakeLine(QStringLiteral("Christmas"), QStringLiteral("@1225")),
                 recurring::MakeLine(QStringLiteral("St Nicholas"), QStringLiteral("@1206"))}));
        }) << Change([](TCalendarMain& window) {
            testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
                QVERIFY(qobject_cast<recurring::CheckListDialog*>(dialog));
                static_cast<QDialog*>(dialog)->accept();
            });
            ClickMenuItem(window, QStringLiteral("&File"), "mnuFillCalendarwithRecurringDates");
        }) << QStringLiteral("&Undo Fill with Recurring Dates");
        const Change createLabel = [](TCalendarMain& window) {
            auto* bar = window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"));
            QTest::mouseClick(bar->widgetForAction(window.Action("DrawLabelButton")), Qt::LeftButton);
            testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
                auto* edit = dialog->findChild<QLineEdit*>();
                if (edit)
                    edit->setText(QStringLiteral("Party"));
                static_cast<QDialog*>(dialog)->accept();
            });
            TCalendarPanel32* page = window.Page();
            QTest::mousePress(page, Qt::LeftButton, {}, QPoint(120, 140));
            QTest::mouseMove(page, QPoint(260, 190));
            QTest::mouseRelease(page, Qt::LeftButton, {}, QPoint(260, 190));
        };
        QTest::newRow("create a text label") << nothing << createLabel << QStringLiteral("&Undo Create Text");
        // A drop comes from the palette or another program: no press in the window begins its step, and it
        // must not join the step before it.
        for (const bool icon : {true, false}) {
            QTest::addRow("drop %s into a day after creating a label", icon ? "an icon" : "a picture")
                << createLabel << Change([icon](TCalendarMain& window) {
                       TCalendarPanel32* page = window.Page();
                       const QPoint day = apptesting::DayPoint(*page, 16);
                       QImage picture(16, 16, QImage::Format_ARGB32);
                       picture.fill(Qt::darkGreen);
                       QMimeData data;
                       data.setImageData(picture);
                       if (icon)
                           data.setData(controls::TIconListBox::IconMimeType(),
                                        QByteArrayLiteral("misc1.icl\n3"));
                       QDragEnterEvent enter(day, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                       QApplication::sendEvent(page, &enter);
                       QDropEvent drop(QPointF(day), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                       QApplication::sendEvent(page, &drop);
                   })
                << (icon ? QStringLiteral("&Undo Drop Icon") : QStringLiteral("&Undo Drop Picture"));
        }
        QTest::newRow("move") << twoLabels << Change([](TCalendarMain& window) {
            DragHandle(window.Page()->Handle(), QPoint(20, 10), QPoint(60, 45));
        }) << QStringLiteral("&Undo Move");
        QTest::newRow("resize") << twoLabels << Change([](TCalendarMain& window) {
            design::TQelHandle* handle = window.Page()->Handle();
            const QPoint corner(handle->width() - 1, handle->height() - 1);
            DragHandle(handle, corner, corner + QPoint(30, 12));
        }) << QStringLiteral("&Undo Resize");
        QTest::newRow("delete key") << twoLabels << Change([](TCalendarMain& window) {
            QTest::keyClick(window.Page()->Handle(), Qt::Key_Delete);
        }) << QStringLiteral("&Undo Delete");
        QTest::newRow("cut key") << twoLabels << Change([](TCalendarMain& window) {
            QTest::keyClick(window.Page()->Handle(), Qt::Key_X, Qt::ControlModifier);
        }) << QStringLiteral("&Undo Cut");
        QTest::newRow("paste key") << Change([twoLabels](TCalendarMain& window) {
            twoLabels(window);
            QTest::keyClick(window.Page()->Handle(), Qt::Key_C, Qt::ControlModifier);
        }) << Change([](TCalendarMain& window) {
            QTest::keyClick(window.Page()->Handle(), Qt::Key_V, Qt::ControlModifier);
        }) << QStringLiteral("&Undo Paste");
        QTest::newRow("clone") << twoLabels << Change([](TCalendarMain& window) {
            ChooseFromObjectMenu(LabelAt(*window.Page(), 1), "mnuClone");
        }) << QStringLiteral("&Undo Clone");
        QTest::newRow("lock") << twoLabels << Change([](TCalendarMain& window) {
            ChooseFromObjectMenu(LabelAt(*window.Page(), 1), "mnuLocked");
        }) << QStringLiteral("&Undo Locked");
        for (const auto& [key, name] :
             {std::pair{Qt::Key_Return, "Return"}, std::pair{Qt::Key_Enter, "Enter"}}) {
            QTest::addRow("lock by %s", name) << twoLabels << Change([key](TCalendarMain& window) {
                ChooseFromObjectMenuByKey(LabelAt(*window.Page(), 1), "mnuLocked", key);
            }) << QStringLiteral("&Undo Locked");
        }
        QTest::newRow("bring to front") << twoLabels << Change([](TCalendarMain& window) {
            ChooseFromObjectMenu(LabelAt(*window.Page(), 0), "mnuBringToFront");
        }) << QStringLiteral("&Undo Bring To Front");
        QTest::newRow("align") << twoLabels << Change([](TCalendarMain& window) {
            window.Page()->Handle()->Select(LabelAt(*window.Page(), 1));
            ChooseFromCommandMenu(*window.Page(), "mnuAlignLeft");
        }) << QStringLiteral("&Undo Align Left");
        QTest::newRow("font through the command menu") << twoLabels << Change([this](TCalendarMain& window) {
            m_prompts->font = QFont(QStringLiteral("Times New Roman"), 30);
            window.Page()->Handle()->Select(LabelAt(*window.Page(), 1));
            ChooseFromCommandMenu(*window.Page(), "mnuFont");
        }) << QStringLiteral("&Undo Font");
        QTest::newRow("user title") << nothing << Change([](TCalendarMain& window) {
            testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
                auto* form = qobject_cast<app::TUserTitleForm*>(dialog);
                QVERIFY(form);
                form->TitleText()->setText(QStringLiteral("Our Family"));
                form->accept();
            });
            ClickMenuItem(window, QStringLiteral("&File"), "mnuUserDefinedTitle");
        }) << QStringLiteral("&Undo User Defined Title");
        // A month of twelve minis has no day cells: the cells' texts and the placed objects go with the
        // change.
        QTest::newRow("properties erasing cells and objects") << Change([textOnDays,
                                                                         twoLabels](TCalendarMain& window) {
            textOnDays(window);
            twoLabels(window);
        }) << Change([this](TCalendarMain& window) {
            m_prompts->answers = {true};
            testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
                auto* properties = qobject_cast<app::TCalendarProperties*>(dialog);
                QVERIFY(properties);
                properties->ExampleCalendar()->SetCalendarLayout(calendar::loMC12MonthLS);
                // The warning that cell text would be erased is answered Yes.
                properties->accept();
            });
            ClickMenuItem(window, QStringLiteral("&File"), "mnuProperties");
        }) << QStringLiteral("&Undo Properties");
        // One day's events: the day's text is still in the open cell editor when the import ends.
        QTest::newRow("import events") << nothing << Change([this](TCalendarMain& window) {
            m_prompts->openFiles = {
                write(QStringLiteral("family.ics"),
                      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                      "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20261205T093000\r\nSUMMARY:Dentist\r\n"
                      "END:VEVENT\r\nEND:VCALENDAR\r\n")};
            testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
                QVERIFY(qobject_cast<exchange::TImportEvents*>(dialog));
                static_cast<QDialog*>(dialog)->accept();
            });
            ClickMenuItem(window, QStringLiteral("&File"), "mnuImportEvents");
        }) << QStringLiteral("&Undo Import Events");
    }

    void eachStepUndoesAndRedoes()
    {
        QFETCH(Change, prepare);
        QFETCH(Change, change);
        QFETCH(QString, caption);

        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        TCalendarPanel32* page = window.Page();
        prepare(window);
        Settle();
        const QByteArray before = FileBytes(*page);
        const QStringList outlineBefore = Outline(*page);
        const int steps = window.History()->Stack()->count();

        change(window);
        Settle();
        window.DoSaveRichtext();
        const QByteArray after = FileBytes(*page);
        const QStringList outlineAfter = Outline(*page);
        QVERIFY(after != before);
        QCOMPARE(window.History()->Stack()->count(), steps + 1);
        QCOMPARE(UndoCaption(window), caption);
        QVERIFY(window.Modified());

        ClickMenuItem(window, QStringLiteral("&Edit"), "mnuUndo");
        QCOMPARE(Outline(*page), outlineBefore);
        QCOMPARE(FileBytes(*page), before);
        QCOMPARE(window.Action("mnuRedo")->text(),
                 QString(caption).replace(QStringLiteral("Undo"), QStringLiteral("Redo")));

        PressKey(window, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Outline(*page), outlineAfter);
        QCOMPARE(FileBytes(*page), after);
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(FileBytes(*page), before);
        PressKey(window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(FileBytes(*page), after);
        QCOMPARE(Outline(*page), outlineAfter);
    }

    // Undoing back to the saved document clears the modified state and hides Save; redoing sets it again.
    // Once a new step replaces the steps after the saved one, no undoing reaches the saved document again.
    void modifiedFollowsTheSavedStep()
    {
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        m_prompts->saveFiles = {folder() + QStringLiteral("Saved.KVF")};
        QVERIFY(window.SaveAs());
        QVERIFY(!window.Modified());
        window.PuttextOnDay(8, QStringLiteral("Dentist"));
        window.DoSaveRichtext();
        QVERIFY(window.Modified());
        QVERIFY(window.Action("Savebutton")->isVisible());

        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!window.Modified());
        QVERIFY(!window.Action("Savebutton")->isVisible());
        PressKey(window, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(window.Modified());
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!window.Modified());

        // A step that replaces the undone one starts from the saved document: undoing it gets there again.
        window.PuttextOnDay(9, QStringLiteral("Lunch"));
        window.DoSaveRichtext();
        QVERIFY(window.Modified());
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Outline(*window.Page()), QStringList{QStringLiteral("title: ")});
        QVERIFY(!window.Modified());

        // Saved with the lunch, undone, then another step: the saved document is out of reach.
        PressKey(window, Qt::Key_Y, Qt::ControlModifier);
        window.Save();
        QVERIFY(!window.Modified());
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window.Modified());
        window.PuttextOnDay(10, QStringLiteral("Tea"));
        window.DoSaveRichtext();
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Outline(*window.Page()), QStringList{QStringLiteral("title: ")});
        QVERIFY(window.Modified());
    }

    // A new calendar stays unsaved whatever is undone; opening a calendar or creating one starts a new
    // history, with nothing to undo.
    void openingOrCreatingClearsTheHistory()
    {
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        QVERIFY(!window.Action("mnuUndo")->isEnabled());
        window.PuttextOnDay(8, QStringLiteral("Dentist"));
        window.DoSaveRichtext();
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window.Modified());
        PressKey(window, Qt::Key_Y, Qt::ControlModifier);

        m_prompts->saveFiles = {folder() + QStringLiteral("Dentist.KVF")};
        QVERIFY(window.SaveAs());
        QVERIFY(window.Action("mnuUndo")->isEnabled());
        window.OpenCalendarFile(folder() + QStringLiteral("Dentist.KVF"));
        QVERIFY(!window.Action("mnuUndo")->isEnabled());
        QVERIFY(!window.Action("mnuRedo")->isEnabled());
        QCOMPARE(UndoCaption(window), QStringLiteral("&Undo"));
        QVERIFY(!window.Modified());

        window.PuttextOnDay(9, QStringLiteral("Lunch"));
        window.DoSaveRichtext();
        QVERIFY(window.Action("mnuUndo")->isEnabled());
        m_prompts->answers = {false}; // "Save changes?" No
        apptesting::NewDocument(window);
        QVERIFY(!window.Action("mnuUndo")->isEnabled());
        QCOMPARE(window.History()->Stack()->count(), 0);
    }

    // Zooming is no step. A step recorded at one zoom is undone at another: the object comes back where that
    // zoom puts it, and at 100% again the document is the one before the step, byte for byte.
    void stepsRecordedAtAnotherZoom()
    {
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        TCalendarPanel32* page = window.Page();
        for (int i = 0; i < 4 && page->Zoom() < 1.0f; ++i)
            PressKey(window, Qt::Key_PageDown, {});
        QCOMPARE(page->Zoom(), 1.0f);
        QCOMPARE(window.History()->Stack()->count(), 0);
        AddLabel(*page, QRect(100, 100, 100, 40), QStringLiteral("Anna"));
        Settle();
        page->Handle()->Select(LabelAt(*page, 0));
        const QByteArray before = FileBytes(*page);
        DragHandle(page->Handle(), QPoint(20, 5), QPoint(60, 35));
        Settle();
        QCOMPARE(LabelAt(*page, 0)->pos(), QPoint(140, 130));
        const QByteArray after = FileBytes(*page);
        const int steps = window.History()->Stack()->count();

        PressKey(window, Qt::Key_PageUp, {}); // zoom out to 90%
        QCOMPARE(window.History()->Stack()->count(), steps);
        QCOMPARE(UndoCaption(window), QStringLiteral("&Undo Move"));
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(LabelAt(*page, 0)->pos(), QPoint(90, 90));
        // The object stays selected through the step.
        QCOMPARE(page->Handle()->SelectedCount(), 1);
        QCOMPARE(page->Handle()->Selected(0), LabelAt(*page, 0));
        PressKey(window, Qt::Key_PageDown, {});
        QCOMPARE(page->Zoom(), 1.0f);
        QCOMPARE(FileBytes(*page), before);
        PressKey(window, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(FileBytes(*page), after);
    }

    // A drag is named a move also right after a zoom, which scales every object, and right after opening a
    // calendar with objects, which the history has not seen placed before.
    void dragAfterZoomingOrOpeningIsAMove()
    {
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        TCalendarPanel32* page = window.Page();
        AddLabel(*page, QRect(100, 100, 100, 40), QStringLiteral("Anna"));
        Settle();
        PressKey(window, Qt::Key_PageDown, {}); // zoom in
        page->Handle()->Select(LabelAt(*page, 0));
        DragHandle(page->Handle(), QPoint(20, 5), QPoint(60, 35));
        Settle();
        QCOMPARE(UndoCaption(window), QStringLiteral("&Undo Move"));

        m_prompts->saveFiles = {folder() + QStringLiteral("Anna.KVF")};
        QVERIFY(window.SaveAs());
        window.OpenCalendarFile(folder() + QStringLiteral("Anna.KVF"));
        QVERIFY(!window.Action("mnuUndo")->isEnabled());
        page = window.Page();
        page->Handle()->Select(LabelAt(*page, 0));
        DragHandle(page->Handle(), QPoint(20, 5), QPoint(60, 35));
        Settle();
        QCOMPARE(UndoCaption(window), QStringLiteral("&Undo Move"));
    }

    // Reading a step back keeps the objects it did not change: only the moved one is made anew, and one
    // brought back from a deletion returns to its place in the stacking order.
    void unchangedObjectsAreKept()
    {
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        TCalendarPanel32* page = window.Page();
        for (int i = 0; i < 3; ++i)
            AddLabel(*page, QRect(100 + 40 * i, 100 + 30 * i, 100, 40), QStringLiteral("Label %1").arg(i));
        Settle();
        const QPointer<design::TZubLabel> first = LabelAt(*page, 0);
        const QPointer<design::TZubLabel> middle = LabelAt(*page, 1);
        const QPointer<design::TZubLabel> top = LabelAt(*page, 2);
        const QStringList outline = Outline(*page);
        page->Handle()->Select(middle);
        PressKey(window, Qt::Key_Delete, {}, page->Handle());
        Settle();
        QCOMPARE(page->PlacedObjects().size(), 2);
        ClickMenuItem(window, QStringLiteral("&Edit"), "mnuUndo");
        QCOMPARE(Outline(*page), outline);
        QCOMPARE(LabelAt(*page, 0), first.data());
        QCOMPARE(LabelAt(*page, 2), top.data());
        QVERIFY(!middle);
        QCOMPARE(LabelAt(*page, 1)->Caption(), QStringLiteral("Label 1"));
        // The selection handle stays above every object.
        QVERIFY(page->children().indexOf(page->Handle()) > page->children().indexOf(LabelAt(*page, 2)));
    }

    // Arrow-key nudges of the same object are one step; a nudge of another object is a step of its own.
    void nudgesOfOneObjectAreOneStep()
    {
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        TCalendarPanel32* page = window.Page();
        design::TZubLabel* anna = AddLabel(*page, QRect(100, 100, 100, 40), QStringLiteral("Anna"));
        design::TZubLabel* ben = AddLabel(*page, QRect(150, 200, 120, 30), QStringLiteral("Ben"));
        Settle();
        const QRect benBefore = ben->geometry();
        const int steps = window.History()->Stack()->count();
        page->Handle()->Select(anna);
        for (int i = 0; i < 3; ++i) {
            PressKey(window, Qt::Key_Right, {}, page->Handle());
            Settle();
        }
        QCOMPARE(anna->x(), 103);
        QCOMPARE(window.History()->Stack()->count(), steps + 1);
        QCOMPARE(UndoCaption(window), QStringLiteral("&Undo Move"));

        page->Handle()->UnselectAll();
        page->Handle()->Select(ben);
        PressKey(window, Qt::Key_Right, Qt::ShiftModifier, page->Handle());
        Settle();
        QCOMPARE(window.History()->Stack()->count(), steps + 2);
        QCOMPARE(UndoCaption(window), QStringLiteral("&Undo Resize"));

        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(LabelAt(*page, 0)->x(), 100);
        QCOMPARE(LabelAt(*page, 1)->geometry(), benBefore);
    }

    // In the cell editor Ctrl+Z takes back its own typing first; with none left, the document's last step.
    void cellEditorUndoesItsTypingFirst()
    {
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        TCalendarPanel32* page = window.Page();
        window.PuttextOnDay(3, QStringLiteral("Dentist"));
        window.DoSaveRichtext();
        apptesting::ClickDay(window, 10);
        QVERIFY(window.CellEditor()->hasFocus());
        QVERIFY(!window.CellEditor()->document()->isUndoAvailable());
        QTest::keyClicks(window.CellEditor(), QStringLiteral("Lunch"));
        QTest::keyClick(window.CellEditor(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window.CellEditor()->isVisible());
        QVERIFY(window.CellEditor()->IsEmpty());
        QCOMPARE(Outline(*page), (QStringList{QStringLiteral("day 3: Dentist"), QStringLiteral("title: ")}));

        QTest::keyClick(window.CellEditor(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!window.CellEditor()->isVisible());
        QCOMPARE(Outline(*page), QStringList{QStringLiteral("title: ")});
        QCOMPARE(window.Action("mnuRedo")->text(), QStringLiteral("&Redo Typing"));
    }

    // The Edit menu as a user opens it, naming the step it would undo.
    void editMenuNamesTheStep()
    {
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        window.PuttextOnDay(3, QStringLiteral("Dentist"));
        window.DoSaveRichtext();
        ClickMenuItem(window, QStringLiteral("&File"), "mnuClearAllCellContents");
        QMenuBar* bar = window.menuBar();
        QStringList titles;
        for (QAction* a : bar->actions())
            titles.append(a->text());
        QCOMPARE(titles.mid(0, 2), (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit")}));
        QAction* edit = bar->actions().at(1);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(edit).center());
        QTRY_VERIFY(edit->menu()->isVisible());
        QCOMPARE(window.Action("mnuUndo")->text(), QStringLiteral("&Undo Clear All Cell Contents"));
        QVERIFY(window.Action("mnuUndo")->isEnabled());
        QCOMPARE(window.Action("mnuRedo")->text(), QStringLiteral("&Redo"));
        QVERIFY(!window.Action("mnuRedo")->isEnabled());
        QCOMPARE(window.Action("mnuUndo")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(window.Action("mnuRedo")->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                      QKeySequence(Qt::CTRL | Qt::Key_Y)}));
        // A click on the disabled Redo does nothing.
        QMenu* menu = edit->menu();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(window.Action("mnuRedo")).center());
        QVERIFY(menu->isVisible());
        QCOMPARE(window.Action("mnuUndo")->text(), QStringLiteral("&Undo Clear All Cell Contents"));
        // Clicked as the window system delivers it, the title opens the menu on the press and the menu takes
        // the release, away from all its items: it stays open.
        menu->close();
        QTRY_VERIFY(!menu->isVisible());
        const QPoint title = bar->mapTo(&window, bar->actionGeometry(edit).center());
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, title);
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(!menu->actionAt(menu->mapFrom(&window, title)));
        const QString target = qEnvironmentVariable("DATORIA_SCREENSHOTS");
        if (!target.isEmpty()) {
            QImage shot = window.grab().toImage();
            QPainter painter(&shot);
            painter.drawPixmap(edit->menu()->pos() - window.mapToGlobal(QPoint(0, 0)), edit->menu()->grab());
            painter.end();
            shot.save(target + QStringLiteral("/edit-menu.png"));
        }
        edit->menu()->close();
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
