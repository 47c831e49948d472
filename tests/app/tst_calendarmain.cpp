#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "app/TUserTitleForm.h"
#include "app/WindowPlacement.h"
#include "calendar/TCalendarPanel32.h"
#include "design/TQelGraphicControl.h"
#include "design/TQelImage.h"
#include "persist/formats/Preferences.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/SingleInstance.h"
#include "platform/TFont.h"
#include "recurring/RecurringDateLists.h"
#include "recurring/RecurringStore.h"
#include "richtext/RtfPlainText.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"
#include "supertext/TQelSuperText.h"
#include "tests/app/MainWindowTesting.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QUuid>

#include <memory>

using app::TCalendarMain;

class TestCalendarMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

    QString folder() const { return m_folder->path() + u'/'; }

    /** A main window shown and through its first activation. */
    static void start(TCalendarMain& window)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(!window.StartingUp());
    }

    /** Answers the next modal dialog, which must be a T, once it is on screen. */
    template <typename T, typename Answer> static void whenModal(QWidget& window, Answer answer)
    {
        testsupport::WhenDialogOpens(&window, [answer](QWidget* dialog) {
            auto* typed = qobject_cast<T*>(dialog);
            if (!typed)
                dialog->close(); // an unexpected dialog must not block the run
            QVERIFY(typed);
            answer(typed);
        });
    }

    /** Day cells know their days from the last paint, as on screen. */
    static void newDocument(TCalendarMain& window)
    {
        whenModal<app::TCalendarProperties>(window,
                                            [](app::TCalendarProperties* dialog) { dialog->accept(); });
        window.New();
        // Focus returns to the window once the dialog has gone, as it does on screen.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.Page()->grab();
    }

    /** With DATORIA_SCREENSHOTS naming a folder, keeps a picture of the window for a person to look at. */
    static void keepScreenshot(QWidget& window, const QString& name)
    {
        const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS");
        if (!folder.isEmpty())
            window.grab().save(folder + u'/' + name + QStringLiteral(".png"));
    }

    /** Runs the fill, answering the selection dialog; returns the rows it offered. */
    static QStringList fillAnswering(TCalendarMain& window, bool accept)
    {
        QStringList offered;
        QTimer::singleShot(0, &window, [&offered, accept] {
            auto* dialog = qobject_cast<recurring::CheckListDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            for (int i = 0; i < dialog->List()->count(); ++i)
                offered.append(dialog->List()->item(i)->text());
            if (accept)
                dialog->accept();
            else
                dialog->reject();
        });
        window.FillWithRecurringDates();
        return offered;
    }

    static QString cellText(TCalendarMain& window, int day)
    {
        calendar::TCalendarPanel32* page = window.Page();
        page->grab();
        return richtext::RtfPlainText(page->CellStorage(page->CellOfDay(day)).RtfText());
    }

    static void writeRecent(const QStringList& files)
    {
        platform::IniFile ini(TCalendarMain::IniPath());
        persist::MruList list(5);
        for (auto it = files.rbegin(); it != files.rend(); ++it)
            list.Add(*it);
        list.Save(ini, QStringLiteral("MRU"));
        QVERIFY(ini.Save());
    }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        platform::SetProgramFolderOverride(m_folder->path());
    }

    void cleanup() { platform::SetProgramFolderOverride(QString()); }

    void zoomOutFromRestoredAndStepped60()
    {
        testsupport::ScriptedPrompts prompts;
        {
            TCalendarMain window;
            start(window);
            newDocument(window);
            // 60% read from the preferences lies just above 0.6: one step down reaches 50%.
            window.ZoomOut();
            QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [50%]"));
            window.ZoomOut();
            QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [50%]"));
            for (int i = 0; i < 5; ++i)
                window.ZoomIn();
            QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [100%]"));
            window.SetModified(false);
            QVERIFY(window.close());
        }
        // Started again at the stored 100%, stepping down reaches a 60% just below 0.6, and stops there.
        TCalendarMain window;
        start(window);
        newDocument(window);
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [100%]"));
        for (int i = 0; i < 5; ++i)
            window.ZoomOut();
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [60%]"));
    }

    void storedRecentEntriesAndCaseRule()
    {
        QStringList stored;
        for (int i = 1; i <= 7; ++i)
            stored.append(folder() + QStringLiteral("Old%1.KVF").arg(i));
        {
            platform::IniFile ini(TCalendarMain::IniPath());
            for (int i = 0; i < 7; ++i)
                ini.WriteString(QStringLiteral("MRU"), QStringLiteral("F%1").arg(i), stored[i]);
            QVERIFY(ini.Save());
        }
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        // All seven entries stay listed until the next addition trims them to five.
        QVERIFY(window.Action("mnuRecent7"));
        newDocument(window);
        prompts.saveFiles = {folder() + QStringLiteral("Case.KVF")};
        QVERIFY(window.SaveAs());
        QCOMPARE(window.RecentFiles().Files().size(), 5);
        QVERIFY(!window.Action("mnuRecent6"));
        // A path differing only in letter case names another file here: it gets an entry of its own, and the
        // next start opens the file saved last.
        QVERIFY(window.SaveCalendarFile(folder() + QStringLiteral("Old3.KVF")));
        window.SetModified(true);
        prompts.saveFiles = {folder() + QStringLiteral("OLD3.KVF")};
        QVERIFY(window.SaveAs());
        const QStringList expected = {folder() + QStringLiteral("OLD3.KVF"),
                                      folder() + QStringLiteral("Case.KVF"), stored[0], stored[1], stored[2]};
        QCOMPARE(window.RecentFiles().Files(), expected);
        QVERIFY(window.close());
        TCalendarMain again;
        start(again);
        QCOMPARE(again.CurrentFileName(), folder() + QStringLiteral("OLD3.KVF"));
    }

    // The tool bar's Save button saves a calendar that has a file without asking, and asks for a name for one
    // that has none.
    void saveButtonAsksOnlyForANewCalendar()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        auto* bar = window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"));
        QWidget* save = bar->widgetForAction(window.Action("Savebutton"));
        prompts.saveFiles = {folder() + QStringLiteral("Button.KVF")};
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(prompts.proposedNames.size(), 1);
        QCOMPARE(window.CurrentFileName(), folder() + QStringLiteral("Button.KVF"));
        QVERIFY(!window.Modified());
        window.PuttextOnDay(4, QStringLiteral("Later"));
        window.DoSaveRichtext();
        QVERIFY(window.Modified());
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(prompts.proposedNames.size(), 1);
        QVERIFY(!window.Modified());
        TCalendarMain again;
        start(again);
        QCOMPARE(again.CurrentFileName(), folder() + QStringLiteral("Button.KVF"));
        QCOMPARE(cellText(again, 4), QStringLiteral("Later"));
    }

    // Properties confirmed without a change leave a saved calendar unmodified; a change marks it.
    void propertiesMarkOnlyAChange_data()
    {
        QTest::addColumn<bool>("change");
        QTest::newRow("unchanged") << false;
        QTest::newRow("title colour") << true;
    }
    void propertiesMarkOnlyAChange()
    {
        QFETCH(bool, change);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        prompts.saveFiles = {folder() + QStringLiteral("Style.KVF")};
        QVERIFY(window.SaveAs());
        QVERIFY(!window.Modified());
        whenModal<app::TCalendarProperties>(window, [change](app::TCalendarProperties* dialog) {
            if (change)
                dialog->ExampleCalendar()->SetTitleBGColor(platform::clAqua);
            QTest::mouseClick(dialog->Button("OkButton"), Qt::LeftButton);
        });
        QTest::mouseClick(window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"))
                              ->widgetForAction(window.Action("PropertiesButton")),
                          Qt::LeftButton);
        QCOMPARE(window.Modified(), change);
        QCOMPARE(window.Page()->TitleBGColor(), change ? platform::clAqua : platform::clWhite);
    }

    // Cancel Changes reads the calendar again from its file; it once left the window without a document.
    void cancelChangesReloadsTheFile()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.PuttextOnDay(4, QStringLiteral("Saved"));
        prompts.saveFiles = {folder() + QStringLiteral("Cancel.KVF")};
        QVERIFY(window.SaveAs());
        apptesting::ClickDay(window, 5);
        QTest::keyClicks(window.CellEditor(), QStringLiteral("Unsaved"));
        QVERIFY(window.Modified());
        prompts.answers = {true};
        auto* bar = window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"));
        QTest::mouseClick(bar->widgetForAction(window.Action("CancelButton")), Qt::LeftButton);
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("Cancel all changes?")});
        QCOMPARE(window.CurrentFileName(), folder() + QStringLiteral("Cancel.KVF"));
        QVERIFY(window.Page()->isVisible());
        QVERIFY(!window.Modified());
        QCOMPARE(cellText(window, 4), QStringLiteral("Saved"));
        QCOMPARE(cellText(window, 5), QString());
    }

    // After Open, hiding and showing the window again (minimise and restore) keeps the unsaved edits and the
    // modified state: the file is not read again.
    void restoreAfterOpenKeepsUnsavedEdits()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.PuttextOnDay(4, QStringLiteral("Saved"));
        const QString path = folder() + QStringLiteral("Restore.KVF");
        prompts.saveFiles = {path};
        QVERIFY(window.SaveAs());
        newDocument(window);
        prompts.answers = {false};
        prompts.openFiles = {path};
        window.Open();
        QCOMPARE(window.CurrentFileName(), path);
        window.Page()->grab();
        apptesting::ClickDay(window, 5);
        QTest::keyClicks(window.CellEditor(), QStringLiteral("Unsaved"));
        window.DoSaveRichtext();
        QVERIFY(window.Modified());
        window.hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20); // what the showing queues has run
        QVERIFY(window.Modified());
        QCOMPARE(cellText(window, 4), QStringLiteral("Saved"));
        QCOMPARE(cellText(window, 5), QStringLiteral("Unsaved"));
    }

    // The calendar file does not depend on the zoom the page is shown at: saved at 60% and at 100%, a page
    // with a placed picture object gives the same bytes, and the page is shown at 60% again after the first
    // save.
    void savedTheSameAtEveryZoom()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        calendar::TCalendarPanel32* page = window.Page();
        QCOMPARE(page->Zoom(), 0.6f);
        auto* image = new design::TQelImage;
        image->AfterLoad();
        page->AddObject(image, {120, 90, 240, 120});
        prompts.saveFiles = {folder() + QStringLiteral("At60.KVF"), folder() + QStringLiteral("At100.KVF")};
        QVERIFY(window.SaveAs());
        QCOMPARE(page->Zoom(), 0.6f);
        QCOMPARE(image->geometry(), QRect(120, 90, 120, 30));
        for (int i = 0; i < 4; ++i)
            window.ZoomIn();
        QCOMPARE(page->Zoom(), 1.0f);
        QVERIFY(window.SaveAs());
        QFile at60(folder() + QStringLiteral("At60.KVF"));
        QFile at100(folder() + QStringLiteral("At100.KVF"));
        QVERIFY(at60.open(QIODevice::ReadOnly));
        QVERIFY(at100.open(QIODevice::ReadOnly));
        QCOMPARE(at60.readAll(), at100.readAll());
    }

    // The page starts as the main form stores it, so a new calendar has whole weekday names in a month grid
    // with two minis.
    void newCalendarStartsFromTheFormsPage()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        calendar::TCalendarPanel32* page = window.Page();
        QCOMPARE(page->CalendarLayout(), calendar::loFCMinisInTitleLS);
        QCOMPARE(page->HeadersStyle(), calendar::dsWhole);
        QCOMPARE(page->TitleFont()->Height(), -35);
        QCOMPARE(page->CellFont()->Height(), -21);
        QCOMPARE(page->MiniCellBorder(), calendar::cbAll);
        QCOMPARE(page->MainCalYear(), 1997);
        start(window);
        newDocument(window);
        QCOMPARE(page->CalendarLayout(), calendar::loFCMinisInTitleLS);
        QCOMPARE(page->HeadersStyle(), calendar::dsWhole);
        QCOMPARE(page->MainCalYear(), 2026);
        QCOMPARE(page->HeadersFont()->Height(), -21);
        QCOMPARE(page->MiniTitleFont()->Style(), platform::TFontStyles(platform::fsBold));
    }

    // A second start brings the window to the front without undoing its maximised state.
    void secondStartKeepsTheWindowState_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("maximised") << int(Qt::WindowMaximized) << int(Qt::WindowMaximized);
        QTest::newRow("minimised") << int(Qt::WindowMinimized) << int(Qt::WindowNoState);
        QTest::newRow("minimised from maximised")
            << int(Qt::WindowMinimized | Qt::WindowMaximized) << int(Qt::WindowMaximized);
    }

    void secondStartKeepsTheWindowState()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        window.setWindowState(Qt::WindowStates(before));
        QTRY_COMPARE(int(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)), before);
        const QString key = QStringLiteral("datoria-test-") + QUuid::createUuid().toString(QUuid::Id128);
        platform::SingleInstance running(key);
        QVERIFY(running.Acquire());
        connect(&running, &platform::SingleInstance::raiseRequested, &window,
                [&window] { app::BringToFront(window); });
        QSignalSpy raised(&running, &platform::SingleInstance::raiseRequested);
        platform::SingleInstance second(key);
        QVERIFY(!second.Acquire());
        // The running instance answers from its event loop, so the later start asks from another thread.
        std::unique_ptr<QThread> asker(QThread::create([&second] { second.RaiseRunning(); }));
        asker->start();
        QTRY_COMPARE(raised.count(), 1);
        QVERIFY(asker->wait(5000));
        QApplication::processEvents();
        QCOMPARE(int(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)), after);
        QVERIFY(window.isVisible());
    }

    void placementIsShiftedOntoTheScreen()
    {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        {
            platform::IniFile ini(TCalendarMain::IniPath());
            const QString section = persist::PlacementSection(QStringLiteral("TCalendarMain"), 96);
            ini.WriteInteger(section, QStringLiteral("Left"), screen.width() + 100);
            ini.WriteInteger(section, QStringLiteral("Top"), screen.height() + 50);
            ini.WriteInteger(section, QStringLiteral("Right"), screen.width() + 500);
            ini.WriteInteger(section, QStringLiteral("Bottom"), screen.height() + 350);
            QVERIFY(ini.Save());
        }
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        QCOMPARE(window.geometry(), QRect(screen.width() - 400, screen.height() - 300, 400, 300));
    }

    void clicksThatOpenNoEditor()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        calendar::TCalendarPanel32* page = window.Page();
        const platform::TRect free = page->Cell(page->CellOfDay(15)).rFree;
        const QPoint inside((free.left + free.right) / 2, (free.top + free.bottom) / 2);
        auto* object = new design::TQelGraphicControl(page);
        object->setGeometry(QRect(inside - QPoint(10, 10), QSize(20, 20)));
        object->show();
        QTest::mouseClick(page, Qt::LeftButton, {}, inside + QPoint(8, 8));
        QVERIFY(window.CellEditor()->isHidden());
        delete object;
        QTest::mouseClick(page, Qt::LeftButton, {}, inside);
        QVERIFY(window.CellEditor()->isVisible());
        window.DoSaveRichtext();
        // A page of twelve mini calendars has no day cells to edit.
        page->SetCalendarLayout(calendar::loMC12Month);
        page->grab();
        QTest::mouseClick(page, Qt::LeftButton, {}, inside);
        QVERIFY(window.CellEditor()->isHidden());
        window.SetButtons();
        QVERIFY(!window.Action("mnuClearAllCellContents")->isEnabled());
    }

    // A busy pointer left behind becomes the arrow over the design tool bar, and only there; the pointer of
    // a drag stays.
    void pointerIsResetOverTheDesignBar_data()
    {
        QTest::addColumn<bool>("overBar");
        QTest::addColumn<Qt::CursorShape>("pointer");
        QTest::addColumn<Qt::CursorShape>("after");
        QTest::newRow("busy over the bar") << true << Qt::WaitCursor << Qt::ArrowCursor;
        QTest::newRow("busy over the menu bar") << false << Qt::WaitCursor << Qt::WaitCursor;
        QTest::newRow("drag over the bar") << true << Qt::DragMoveCursor << Qt::DragMoveCursor;
    }
    void pointerIsResetOverTheDesignBar()
    {
        QFETCH(bool, overBar);
        QFETCH(Qt::CursorShape, pointer);
        QFETCH(Qt::CursorShape, after);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        QApplication::setOverrideCursor(pointer);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        QWidget* over =
            overBar ? static_cast<QWidget*>(window.findChild<QToolBar*>(QStringLiteral("DesignToolBar")))
                    : window.menuBar();
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), over->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(over, &move);
        QCOMPARE(QApplication::overrideCursor()->shape(), after);
    }

    void superTextToolPlacesAnObject()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.SetModified(false);
        calendar::TCalendarPanel32* page = window.Page();
        auto* bar = window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"));
        QAction* tool = window.Action("DrawSuperText");
        QVERIFY(tool && tool->isVisible());
        QCOMPARE(tool->toolTip(),
                 QStringLiteral("SuperText tool \nSpecial Effects Text - fill with gradients or bitmaps"));
        // It follows the Text and Clip Art tools in the group of tools.
        const QList<QAction*> order = bar->actions();
        QVERIFY(order.indexOf(window.Action("DrawLabelButton")) < order.indexOf(tool));
        QVERIFY(order.indexOf(window.Action("DrawImageButton")) < order.indexOf(tool));
        QTest::mouseClick(bar->widgetForAction(tool), Qt::LeftButton);
        QCOMPARE(page->PanelState(), calendar::psSuperText);
        bool answered = false;
        testsupport::WhenDialogOpens(&window, [&answered](QWidget* dialog) {
            answered = dialog->windowTitle() == QStringLiteral("SuperText Properties");
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
        });
        QTest::mousePress(page, Qt::LeftButton, {}, QPoint(200, 300));
        QTest::mouseMove(page, QPoint(400, 360));
        QTest::mouseRelease(page, Qt::LeftButton, {}, QPoint(400, 360));
        QTRY_VERIFY(answered);
        QVERIFY(page->HasSuperText());
        QVERIFY(page->findChild<supertext::TQelSuperText*>()->isVisible());
        QVERIFY(window.Modified());
        QVERIFY(window.Action("Pointerbutton")->isChecked());
        QCOMPARE(page->PanelState(), calendar::psPointing);
    }

    void picturesDropOntoCells()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.SetModified(false);
        calendar::TCalendarPanel32* page = window.Page();
        const int cell = page->CellOfDay(8);
        const platform::TRect free = page->Cell(cell).rFree;
        const QPointF inside((free.left + free.right) / 2, (free.top + free.bottom) / 2);
        QMimeData text;
        text.setText(QStringLiteral("words"));
        QImage picture(12, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QMimeData image;
        image.setImageData(picture);

        QDragEnterEvent refused(inside.toPoint(), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &refused);
        QVERIFY(!refused.isAccepted());
        QDragEnterEvent outside(QPoint(2, 2), Qt::CopyAction, &image, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &outside);
        QVERIFY(!outside.isAccepted());
        QDragEnterEvent accepted(inside.toPoint(), Qt::CopyAction, &image, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &accepted);
        QVERIFY(accepted.isAccepted());

        QDropEvent drop(inside, Qt::CopyAction, &image, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &drop);
        QCOMPARE(window.CurrentCell(), cell);
        QVERIFY(window.CellEditor()->isVisible());
        QVERIFY(window.Modified());
        window.DoSaveRichtext();
        QVERIFY(page->CellStorage(cell).RtfText().contains("\\pict"));
    }

    // A picture lands in the cell under the pointer wherever in the cell it is let go, the editor opens
    // there, and no other cell takes it.
    void pictureLandsUnderThePointer_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<QPointF>("within"); // fraction of the cell's free area
        QTest::newRow("day 3, upper right") << 3 << QPointF(0.85, 0.15);
        QTest::newRow("day 12, lower right") << 12 << QPointF(0.9, 0.9);
        QTest::newRow("day 19, upper left") << 19 << QPointF(0.1, 0.1);
        QTest::newRow("day 29, lower left") << 29 << QPointF(0.15, 0.85);
    }
    void pictureLandsUnderThePointer()
    {
        QFETCH(int, day);
        QFETCH(QPointF, within);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        calendar::TCalendarPanel32* page = window.Page();
        const int cell = page->CellOfDay(day);
        const platform::TRect free = page->Cell(cell).rFree;
        const QPointF at(free.left + within.x() * (free.right - free.left),
                         free.top + within.y() * (free.bottom - free.top));
        QImage picture(12, 8, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QMimeData image;
        image.setImageData(picture);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &image, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &image, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &drop);
        QCOMPARE(window.CurrentCell(), cell);
        QCOMPARE(window.CellEditor()->geometry(),
                 QRect(free.left + 6, free.top + 6, free.right - free.left + 1, free.bottom - free.top + 1));
        window.DoSaveRichtext();
        for (int i = 1; i <= 42; ++i)
            QCOMPARE(page->CellStorage(i).RtfText().contains("\\pict"), i == cell);
    }

    void defaultEditorFontAppliesToEmptyCells()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        QFont chosen(QStringLiteral("Courier New"));
        chosen.setPointSize(14);
        chosen.setBold(true);
        chosen.setUnderline(true);
        chosen.setStrikeOut(true);
        prompts.font = chosen;
        window.DefaultEditorFont();
        QCOMPARE(window.Prefs().fontName, QStringLiteral("Courier New"));
        QCOMPARE(window.Prefs().fontSize, 14);
        platform::IniFile ini(TCalendarMain::IniPath());
        const persist::Preferences stored = persist::LoadPreferences(ini, folder());
        QCOMPARE(stored.fontName, QStringLiteral("Courier New"));
        QVERIFY(stored.fontBold && stored.fontUnderline && stored.fontStrikeout);
        calendar::TCalendarPanel32* page = window.Page();
        page->ClickCell(page->CellOfDay(20));
        const richtext::CharAttributes attributes = window.CellEditor()->CurrentAttributes();
        QCOMPARE(attributes.fontName, QStringLiteral("Courier New"));
        QCOMPARE(attributes.pointSize, 14);
        QVERIFY(attributes.bold && attributes.underline && attributes.strikeOut);
        QVERIFY(!attributes.italic);
        QCOMPARE(attributes.colorIndex, 0);
    }

    // The default editor font's colour is chosen in the font dialog, stored, and offered the next time.
    void defaultEditorFontColour()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        prompts.font = QFont(QStringLiteral("Liberation Serif"), 12);
        prompts.fontColor = platform::clRed;
        window.DefaultEditorFont();
        QCOMPARE(window.Prefs().fontColor, platform::clRed);
        platform::IniFile ini(TCalendarMain::IniPath());
        QCOMPARE(persist::LoadPreferences(ini, folder()).fontColor, platform::clRed);
        prompts.fontColor.reset();
        window.DefaultEditorFont();
        QCOMPARE(prompts.fontsAsked.size(), 2);
        QCOMPARE(prompts.fontsAsked[1].font.family(), QStringLiteral("Liberation Serif"));
        QCOMPARE(prompts.fontsAsked[1].font.pointSize(), 12);
        QCOMPARE(prompts.fontsAsked[1].color, platform::clRed);
        QCOMPARE(window.Prefs().fontColor, platform::clRed);
        calendar::TCalendarPanel32* page = window.Page();
        page->ClickCell(page->CellOfDay(20));
        const int index = window.CellEditor()->CurrentAttributes().colorIndex;
        QCOMPARE(richtext::ColorTable()[size_t(index)], QColor(Qt::red));
    }

    void hintsAndAboutBox()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        window.Action("mnuShowHints")->trigger();
        QVERIFY(!window.Prefs().hintsOn);
        platform::IniFile ini(TCalendarMain::IniPath());
        QVERIFY(!persist::LoadPreferences(ini, folder()).hintsOn);
        // With hints off no tool tip reaches the tool bars.
        auto* bar = window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"));
        QHelpEvent tip(QEvent::ToolTip, QPoint(3, 3), bar->mapToGlobal(QPoint(3, 3)));
        QVERIFY(QApplication::sendEvent(bar, &tip));

        QStringList texts;
        QTimer::singleShot(0, &window, [&texts] {
            QWidget* about = QApplication::activeModalWidget();
            QVERIFY(about);
            texts.append(about->windowTitle());
            for (auto* label : about->findChildren<QLabel*>())
                texts.append(label->text());
            about->close();
        });
        window.Action("mnuAbout")->trigger();
        QCOMPARE(texts, (QStringList{QStringLiteral("About Datoria"), QStringLiteral("Datoria"),
                                     QStringLiteral("Version 3.0")}));
    }

    void bitmapAndUserTitle()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.SetModified(false);
        auto* label = new QWidget(window.Page());
        label->setObjectName(QStringLiteral("Component1"));
        label->setGeometry(100, 100, 50, 50);
        label->setStyleSheet(QStringLiteral("background: red"));
        label->show();
        prompts.saveFiles = {folder() + QStringLiteral("Page")};
        QVERIFY(window.SaveAsBitmap());
        QCOMPARE(prompts.proposedNames, QStringList{folder() + QStringLiteral("Dec2026.BMP")});
        QImage picture(folder() + QStringLiteral("Page.BMP"));
        // At 60% the picture is 60% of the 1056 x 816 page, and what lies on the page is not in it.
        QCOMPARE(picture.size(), QSize(633, 489));
        QCOMPARE(picture.pixelColor(120, 120), QColor(Qt::white));
        QVERIFY(!window.Modified());

        // A file that cannot be written is reported.
        prompts.saveFiles = {folder() + QStringLiteral("missing/Page.BMP")};
        QVERIFY(!window.SaveAsBitmap());
        QCOMPARE(prompts.messages.last(),
                 QStringLiteral("Unable to save ") + folder() + QStringLiteral("missing/Page.BMP"));

        QTimer::singleShot(0, &window, [] {
            auto* form = qobject_cast<app::TUserTitleForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            form->TitleText()->setText(QStringLiteral("Our Family"));
            form->accept();
        });
        window.Action("mnuUserDefinedTitle")->trigger();
        QCOMPARE(window.Page()->UserTitle(), QStringLiteral("Our Family"));
        QVERIFY(window.Modified());
        window.SetModified(false);
        QTimer::singleShot(0, &window, [] {
            auto* form = qobject_cast<app::TUserTitleForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            form->TitleText()->clear();
            form->reject();
        });
        window.UserDefinedTitle();
        QCOMPARE(window.Page()->UserTitle(), QStringLiteral("Our Family"));
        QVERIFY(!window.Modified());
    }

    void propertiesCommandAndCancelledNew()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.PuttextOnDay(4, QStringLiteral("Keep"));
        window.DoSaveRichtext();
        // Properties: a new month clears the cells once the user agrees; the example zoom is remembered.
        prompts.answers = {true};
        whenModal<app::TCalendarProperties>(window, [](app::TCalendarProperties* dialog) {
            QCOMPARE(dialog->ExampleCalendar()->CalendarLayout(), calendar::loFCMinisInTitleLS);
            dialog->ZoomExample(true);
            dialog->DatePicker()->setSelectedDate(QDate(2027, 1, 1));
            dialog->accept();
        });
        window.Action("mnuProperties")->trigger();
        QCOMPARE(prompts.messages,
                 QStringList{QStringLiteral("The text of 1 day will be removed. Change the month?")});
        QCOMPARE(window.Page()->MainCalMonth(), 1);
        QCOMPARE(window.Page()->MainCalYear(), 2027);
        QCOMPARE(window.Prefs().propZoomPercent, 40);
        window.Page()->grab();
        QVERIFY(!window.Page()->HasCellContent());

        window.PuttextOnDay(4, QStringLiteral("Keep"));
        window.DoSaveRichtext();
        window.SetModified(false);
        whenModal<app::TCalendarProperties>(window,
                                            [](app::TCalendarProperties* dialog) { dialog->reject(); });
        window.New();
        QCOMPARE(window.Page()->MainCalMonth(), 1);
        QCOMPARE(cellText(window, 4), QStringLiteral("Keep"));
        QVERIFY(!window.Modified());
    }

    // The calendar's properties change its look and keep its content, unless the new layout has no room for
    // it: a change of layout family (answered Yes to the warning) takes the cells' texts and the objects.
    void propertiesKeepTheContentOfTheSameFamily_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("kept");
        QTest::newRow("colour only") << int(calendar::loFCMinisInTitleLS) << true;
        QTest::newRow("another month grid") << int(calendar::loFullCalendar) << true;
        QTest::newRow("twelve minis") << int(calendar::loMC12MonthLS) << false;
        QTest::newRow("week planner") << int(calendar::loWeek) << false;
    }
    void propertiesKeepTheContentOfTheSameFamily()
    {
        QFETCH(int, layout);
        QFETCH(bool, kept);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.PuttextOnDay(4, QStringLiteral("Keep"));
        window.DoSaveRichtext();
        auto* object = new design::TQelGraphicControl(window.Page());
        object->AfterLoad();
        object->setGeometry(300, 300, 40, 20);
        object->show();
        prompts.answers = {true};
        whenModal<app::TCalendarProperties>(window, [layout](app::TCalendarProperties* dialog) {
            dialog->ExampleCalendar()->SetTitleBGColor(platform::clYellow);
            dialog->ExampleCalendar()->SetCalendarLayout(calendar::TCalendarLayout(layout));
            QTest::mouseClick(dialog->Button("OkButton"), Qt::LeftButton);
        });
        QTest::mouseClick(window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"))
                              ->widgetForAction(window.Action("PropertiesButton")),
                          Qt::LeftButton);
        QCOMPARE(int(window.Page()->CalendarLayout()), layout);
        QCOMPARE(window.Page()->TitleBGColor(), platform::clYellow);
        QVERIFY(window.Modified());
        QCOMPARE(window.Page()->PlacedObjects().size(), kept ? 1 : 0);
        QCOMPARE(window.Page()->HasCellContent(), kept);
        if (kept)
            QCOMPARE(cellText(window, 4), QStringLiteral("Keep"));
    }

    // The start page's heading and the About box's program name stand out: bold and larger than the text
    // around them.
    void headingsStandOut()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        const auto standsOut = [](const QWidget* around, const QString& text) {
            for (const QLabel* label : around->findChildren<QLabel*>()) {
                if (label->text() == text && label->isVisible())
                    return label->font().bold() && label->font().pointSize() > around->font().pointSize();
            }
            return false;
        };
        QVERIFY(standsOut(&window, QStringLiteral("No calendar is open")));
        bool about = false;
        whenModal<QDialog>(window, [&](QDialog* dialog) {
            about = standsOut(dialog, QStringLiteral("Datoria"));
            dialog->accept();
        });
        QMenuBar* bar = window.menuBar();
        QAction* help = nullptr;
        for (QAction* title : bar->actions()) {
            if (title->menu() && title->menu()->actions().contains(window.Action("mnuAbout")))
                help = title;
        }
        QVERIFY(help);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(help).center());
        QTRY_VERIFY(help->menu()->isVisible());
        QTest::mouseClick(help->menu(), Qt::LeftButton, {},
                          help->menu()->actionGeometry(window.Action("mnuAbout")).center());
        QVERIFY(about);
    }

    void firstStartHasNoDocument()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        QVERIFY(window.Page()->isHidden());
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [60%]"));
        QVERIFY(window.Action("mnuShowHints")->isChecked());
        QVERIFY(!window.Action("mnuSave")->isEnabled());
        QVERIFY(!window.Action("mnuSaveAs")->isEnabled());
        QVERIFY(!window.Action("ZoomPlusButton")->isEnabled());
        QVERIFY(prompts.messages.isEmpty());
        // The placement is written at once, for this screen's pixels per inch.
        platform::IniFile ini(TCalendarMain::IniPath());
        QVERIFY(ini.ReadInteger(persist::PlacementSection(QStringLiteral("TCalendarMain"), 96),
                                QStringLiteral("Bottom"), 0) > 0);
    }

    void staleRecentEntryIsNotOpened()
    {
        writeRecent({folder() + QStringLiteral("Gone.KVF")});
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        QVERIFY(window.Page()->isHidden());
        QVERIFY(window.CurrentFileName().isEmpty());
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(window.RecentFiles().Files(), QStringList{folder() + QStringLiteral("Gone.KVF")});
        QVERIFY(window.Action("mnuRecent1")->isVisible());
    }

    // A damaged preferences file may name a recent file with control bytes and no end; the message shows it
    // printable and short.
    void damagedRecentEntryIsShownPrintable()
    {
        const QString damaged = folder() + QStringLiteral("Dec\x01\x1b[2J") + QString(300, u'x');
        writeRecent({damaged});
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        QVERIFY(prompts.messages.isEmpty());
        window.Action("mnuRecent1")->trigger();
        QCOMPARE(prompts.messages.size(), 1);
        const QString shown = folder() + QStringLiteral("Dec\\x01\\x1b[2J");
        QCOMPARE(prompts.messages[0], QStringLiteral("File ") + shown + QString(260 - shown.size(), u'x') +
                                          QStringLiteral("... no longer exists"));
    }

    void newSaveAsOpenRoundTrip()
    {
        testsupport::ScriptedPrompts prompts;
        QString saved;
        {
            TCalendarMain window;
            start(window);
            newDocument(window);
            QVERIFY(window.Page()->isVisible());
            QVERIFY(window.Modified());
            window.PuttextOnDay(5, QStringLiteral("Dentist"));
            window.PuttextOnDay(5, QStringLiteral("Choir"));
            window.PuttextOnDay(24, QStringLiteral("Eve"));
            keepScreenshot(window, QStringLiteral("new-calendar"));
            prompts.saveFiles = {folder() + QStringLiteral("Family")};
            QVERIFY(window.SaveAs());
            saved = folder() + QStringLiteral("Family.KVF");
            QCOMPARE(prompts.proposedNames, QStringList{folder() + QStringLiteral("Dec2026.KVF")});
            QVERIFY(QFile::exists(saved));
            QVERIFY(!window.Modified());
            QCOMPARE(window.windowTitle(), QStringLiteral("Datoria  [Family.KVF]    [60%]"));
            QCOMPARE(window.RecentFiles().Files(), QStringList{saved});
            window.close();
        }
        // The next start opens the most recent calendar with its cell texts.
        TCalendarMain again;
        start(again);
        QCOMPARE(again.CurrentFileName(), saved);
        QVERIFY(again.Page()->isVisible());
        // Each text ends its paragraph and the next one starts after a break: one empty line between.
        QCOMPARE(cellText(again, 5), QStringLiteral("Dentist\n\nChoir"));
        QCOMPARE(cellText(again, 24), QStringLiteral("Eve"));
        // And Open reads it again after New.
        newDocument(again);
        QVERIFY(cellText(again, 5).isEmpty());
        prompts.answers = {false};
        prompts.openFiles = {saved};
        again.Open();
        QCOMPARE(cellText(again, 5), QStringLiteral("Dentist\n\nChoir"));
        QVERIFY(!again.Modified());
    }

    void captionFollowsZoom()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [60%]"));
        for (int i = 0; i < 4; ++i)
            window.ZoomIn();
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [100%]"));
        QCOMPARE(window.Page()->size(), QSize(1056, 816));
    }

    void zoomKeysAreIgnoredUnderADialog()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        QDialog dialog(&window);
        QTimer::singleShot(0, &dialog, [&dialog] {
            QTest::keyClick(&dialog, Qt::Key_PageDown);
            dialog.reject();
        });
        dialog.exec();
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [60%]"));
        QTest::keyClick(window.Page(), Qt::Key_PageDown);
        QCOMPARE(window.windowTitle(), QStringLiteral("Datoria    [70%]"));
    }

    void recentListKeepsFiveNewestFirst()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        QStringList expected;
        for (int i = 1; i <= 6; ++i) {
            const QString path = folder() + QStringLiteral("C%1.KVF").arg(i);
            prompts.saveFiles = {path};
            QVERIFY(window.SaveAs());
            expected.prepend(path);
        }
        expected.removeLast();
        QCOMPARE(window.RecentFiles().Files(), expected);
        QCOMPARE(window.Action("mnuRecent1")->text(),
                 QStringLiteral("&1 ") + folder() + QStringLiteral("C6.KVF"));
        QVERIFY(!window.Action("mnuRecent6"));
        // Choosing an entry moves it to the top.
        window.OpenRecent(expected.last());
        QCOMPARE(window.RecentFiles().Files().first(), folder() + QStringLiteral("C2.KVF"));
        QCOMPARE(window.CurrentFileName(), folder() + QStringLiteral("C2.KVF"));
    }

    void tabMovesBetweenCells()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        calendar::TCalendarPanel32* page = window.Page();
        const int first = page->CellOfDay(1);
        page->ClickCell(first);
        QVERIFY(window.CellEditor()->isVisible());
        QCOMPARE(window.CurrentCell(), first);
        QTest::keyClick(window.CellEditor(), Qt::Key_Tab);
        QCOMPARE(window.CurrentCell(), first + 1);
        QTest::keyClick(window.CellEditor(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(window.CurrentCell(), first);
        // At the first cell Shift+Tab stays put and the key is still taken from the editor.
        page->ClickCell(1);
        QTest::keyClick(window.CellEditor(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(window.CurrentCell(), 1);
        QVERIFY(window.CellEditor()->toPlainText().isEmpty());
    }

    void cellEditorCoversTheFreeArea()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        calendar::TCalendarPanel32* page = window.Page();
        const int cell = page->CellOfDay(10);
        const platform::TRect free = page->Cell(cell).rFree;
        QTest::mouseClick(page, Qt::LeftButton, {},
                          QPoint((free.left + free.right) / 2, (free.top + free.bottom) / 2));
        QCOMPARE(window.CurrentCell(), cell);
        QVERIFY(window.CellEditor()->hasFocus());
        QVERIFY(window.RichToolBar()->isEnabled());
        QCOMPARE(window.CellEditor()->geometry(),
                 QRect(free.left + 6, free.top + 6, free.right - free.left + 1, free.bottom - free.top + 1));
        QTest::keyClicks(window.CellEditor(), QStringLiteral("Hi"));
        QVERIFY(window.Modified());
        keepScreenshot(window, QStringLiteral("cell-editing"));
        window.DoSaveRichtext();
        QVERIFY(window.CellEditor()->isHidden());
        QCOMPARE(cellText(window, 10), QStringLiteral("Hi"));
    }

    void failedSaveKeepsTheChanges()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.PuttextOnDay(2, QStringLiteral("Keep me"));
        const QString target = folder() + QStringLiteral("no-such-folder/Lost.KVF");
        QVERIFY(!window.SaveCalendarFile(target));
        QVERIFY(window.Modified());
        QVERIFY(window.CurrentFileName().isEmpty());
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("Unable to save ") + target});
        // Closing asks, the save fails again, and the window stays open with its changes.
        prompts.messages.clear();
        prompts.answers = {true};
        prompts.saveFiles = {target};
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(cellText(window, 2), QStringLiteral("Keep me"));
        // So do New and a recent file when Yes is answered and the save dialog is cancelled.
        prompts.answers = {true, true};
        window.New();
        prompts.openFiles = {folder() + QStringLiteral("Other.KVF")};
        window.Open();
        QCOMPARE(prompts.openFiles.size(), 1);
        QVERIFY(window.Modified());
        QCOMPARE(cellText(window, 2), QStringLiteral("Keep me"));
    }

    void unreadableFileLeavesNoDocument()
    {
        const QString path = folder() + QStringLiteral("Bad.KVF");
        QFile bad(path);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a calendar");
        bad.close();
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        window.OpenCalendarFile(path);
        QVERIFY(window.CurrentFileName().isEmpty());
        QVERIFY(window.Page()->isHidden());
        QCOMPARE(prompts.messages,
                 QStringList{QStringLiteral("Unable to open ") + path +
                             QStringLiteral(". Possibly \ncorrupted, possibly not a Calendar file")});
        window.OpenCalendarFile(folder() + QStringLiteral("Missing.KVF"));
        QCOMPARE(prompts.messages.last(), QStringLiteral("File ") + folder() + QStringLiteral("Missing.KVF") +
                                              QStringLiteral(" no longer exists"));
    }

    // With no recurring dates stored (no store, or an empty one), the menu item says so and changes nothing.
    void fillWithoutDatesSaysSo_data()
    {
        QTest::addColumn<bool>("emptyStore");
        QTest::newRow("no store") << false;
        QTest::newRow("an empty store") << true;
    }
    void fillWithoutDatesSaysSo()
    {
        QFETCH(bool, emptyStore);
        if (emptyStore)
            QVERIFY(recurring::WriteStore(recurring::StorePath(), {}));
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.SetModified(false);
        apptesting::ClickMenuItem(window, QStringLiteral("&File"), "mnuFillCalendarwithRecurringDates");
        QTRY_COMPARE(prompts.messages,
                     QStringList{QStringLiteral(
                         "No recurring dates are stored yet. Add them with Edit Recurring Dates.")});
        QVERIFY(!window.Modified());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void fillReportsAMonthWithoutDates()
    {
        QVERIFY(recurring::WriteStore(
            recurring::StorePath(),
            {recurring::MakeLine(QStringLiteral("New Year"), QStringLiteral("@0101"))}));
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.FillWithRecurringDates();
        QCOMPARE(prompts.messages,
                 QStringList{QStringLiteral("No predefined dates match the current month")});
    }

    void fillPutsDatesOnTheirDays_data()
    {
        QTest::addColumn<QStringList>("store");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QList<int>>("days");
        QTest::addColumn<QStringList>("texts");

        QTest::newRow("store order, month filter, day 0 of every month")
            << QStringList{recurring::MakeLine(QStringLiteral("Christmas"), QStringLiteral("@1225")),
                           recurring::MakeLine(QStringLiteral("Party"), QStringLiteral("@0025")),
                           recurring::MakeLine(QStringLiteral("New Year"), QStringLiteral("@0101"))}
            << 12 << 2026 << QStringList{QStringLiteral("Christmas"), QStringLiteral("Party")}
            << QList<int>{25, 1} << QStringList{QStringLiteral("Christmas\n\nParty"), QString()};
        QTest::newRow("Mondays and Fridays of April 2024")
            << QStringList{recurring::MakeLine(QStringLiteral("Gym"), QStringLiteral("%26"))} << 4 << 2024
            << QStringList{QStringLiteral("Gym")} << QList<int>{1, 5, 8, 12, 15, 19, 22, 26, 29, 2, 6, 30}
            << QStringList{QStringLiteral("Gym"),
                           QStringLiteral("Gym"),
                           QStringLiteral("Gym"),
                           QStringLiteral("Gym"),
                           QStringLiteral("Gym"),
                           QStringLiteral("Gym"),
                           QStringLiteral("Gym"),
                           QStringLiteral("Gym"),
                           QStringLiteral("Gym"),
                           QString(),
                           QString(),
                           QString()};
        QTest::newRow("holidays of May 2024")
            << recurring::HolidayLines() << 5 << 2024 << QStringList() << QList<int>{18, 27, 12}
            << QStringList{QStringLiteral("Armed Forces Day"), QStringLiteral("Memorial Day"),
                           QStringLiteral("Mother's Day")};
    }

    void fillPutsDatesOnTheirDays()
    {
        QFETCH(QStringList, store);
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(QStringList, offered);
        QFETCH(QList<int>, days);
        QFETCH(QStringList, texts);
        QVERIFY(recurring::WriteStore(recurring::StorePath(), store));
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.Page()->SetMainCalMonth(month);
        window.Page()->SetMainCalYear(year);
        window.Page()->grab();
        window.SetModified(false);
        const QStringList shown = fillAnswering(window, true);
        if (!offered.isEmpty()) {
            QCOMPARE(shown.size(), offered.size());
            for (qsizetype i = 0; i < offered.size(); ++i)
                QVERIFY2(shown[i].startsWith(offered[i]), qPrintable(shown[i]));
        }
        QVERIFY(prompts.messages.isEmpty());
        QVERIFY(window.Modified());
        for (qsizetype i = 0; i < days.size(); ++i)
            QCOMPARE(cellText(window, days[i]).trimmed(), texts[i]);
    }

    void fillOffersOnlyTheMonthsDates()
    {
        QVERIFY(recurring::WriteStore(recurring::StorePath(), recurring::HolidayLines()));
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.Page()->SetMainCalMonth(4);
        window.Page()->SetMainCalYear(2024);
        window.Page()->grab();
        window.SetModified(false);
        // Easter 2024 is on 31 March: April offers neither it nor anything of another month, and a
        // cancelled choice changes nothing.
        const QStringList shown = fillAnswering(window, false);
        QVERIFY(!shown.isEmpty());
        for (const QString& row : shown)
            QVERIFY2(!row.startsWith(QStringLiteral("Easter")), qPrintable(row));
        for (const QString& line : recurring::LinesForMonth(recurring::HolidayLines(), 4, 2024))
            QVERIFY2(!recurring::FillPlan({line}, 4, 2024).isEmpty(), qPrintable(line));
        QVERIFY(!window.Modified());
        for (int day = 1; day <= 30; ++day)
            QVERIFY(cellText(window, day).isEmpty());
    }
};

QTEST_MAIN(TestCalendarMain)
#include "tst_calendarmain.moc"
