#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "app/TFloatingPalette.h"
#include "calendar/TCalendarPanel32.h"
#include "controls/TIconListBox.h"
#include "design/TQelImage.h"
#include "design/TQelImageBrowser.h"
#include "platform/Help.h"
#include "platform/ImageLoader.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"
#include "tests/app/MainWindowTesting.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"
#include "tools/NeIconLibraryWriter.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QFontMetrics>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using app::TCalendarMain;
using app::TFloatingPalette;
using controls::TIconListBox;

class TestIconPalette : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

    static QString Library(const char* name) { return TFloatingPalette::LibraryPath(QLatin1String(name)); }

    static void start(TCalendarMain& window)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(!window.StartingUp());
    }

    static void newDocument(TCalendarMain& window)
    {
        testsupport::WhenDialogOpens(&window,
                                     [](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
        window.New();
        window.activateWindow();
        window.Page()->grab();
    }

    static void clickMenu(TFloatingPalette& palette, const char* name)
    {
        QAction* item = palette.Item(name);
        QMenu* menu = palette.findChild<QMenuBar*>()->actions().first()->menu();
        menu->popup(palette.mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        platform::SetProgramFolderOverride(m_folder->path());
    }
    void cleanup() { platform::SetProgramFolderOverride(QString()); }

    void gridOfAShippedLibrary()
    {
        TIconListBox grid;
        QCOMPARE(grid.NumberOfIcons(), -1);
        QCOMPARE(TIconListBox::Version(), QStringLiteral("TIconListBox v1.10"));
        QCOMPARE(grid.ItemHeight(), 38);
        grid.SetXIcons(1); // a single column is a grid too
        QCOMPARE(grid.width(), 38 + 2);
        grid.SetXIcons(3);
        grid.SetYIcons(3);
        grid.SetXIcons(0); // ignored
        QCOMPARE(grid.XIcons(), 3);
        QCOMPARE(grid.width(), 3 * 38 + 2);
        // As wide as its columns, the grid needs no scroll bar below them.
        QCOMPARE(grid.height(), 3 * 38 + 3);
        grid.resize(50, grid.height());
        grid.SetYIcons(2);
        QCOMPARE(grid.height(), 2 * 38 + grid.horizontalScrollBar()->sizeHint().height() + 1);
        int changes = 0;
        connect(&grid, &TIconListBox::fileChange, this, [&changes] { ++changes; });
        grid.SetFileName(Library("holiday.icl"));
        grid.SetFileName(Library("holiday.icl")); // the same name reads nothing
        QCOMPARE(changes, 1);
        QCOMPARE(grid.NumberOfIcons(), 57);
        QCOMPARE(grid.count(), 57);
        QCOMPARE(grid.item(56)->text(), QStringLiteral("56"));
        QCOMPARE(grid.currentRow(), 0);
        QVERIFY(grid.isEnabled());
    }

    // Moving the mouse over the icons starts no drag; pressing on one and moving does. (A drag ends at once
    // on this platform; the drag object lives on until events are next processed.)
    void dragOnlyFromAPressedIcon()
    {
        TIconListBox grid;
        grid.SetXIcons(3);
        grid.SetYIcons(2);
        grid.SetFileName(Library("holiday.icl"));
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QWidget* view = grid.viewport();
        const QPoint first = grid.visualItemRect(grid.item(0)).center();
        const QPoint second = grid.visualItemRect(grid.item(1)).center();
        const auto move = [view](const QPoint& to, Qt::MouseButtons buttons) {
            QMouseEvent event(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, buttons, {});
            QApplication::sendEvent(view, &event);
        };
        move(first, Qt::NoButton);
        move(second, Qt::NoButton);
        QVERIFY(!grid.findChild<QDrag*>());
        // Only the left button picks an icon up.
        QTest::mousePress(view, Qt::RightButton, {}, first);
        move(second, Qt::LeftButton | Qt::RightButton);
        QVERIFY(!grid.findChild<QDrag*>());
        QTest::mouseRelease(view, Qt::RightButton, {}, second);
        QTest::mousePress(view, Qt::LeftButton, {}, first);
        move(second, Qt::LeftButton);
        QVERIFY(grid.findChild<QDrag*>());
    }

    void iconsTakenWhenDrawn()
    {
        // In the palette's grid of 3 × 3 the visible icons are taken out of the file, not the rest.
        TFloatingPalette palette;
        TIconListBox* grid = palette.Grid();
        grid->SetFileName(Library("holiday.icl"));
        palette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        grid->grab();
        QVERIFY(grid->HasIcon(0));
        QVERIFY(grid->HasIcon(8));
        QVERIFY(!grid->HasIcon(56));
        grid->scrollToItem(grid->item(56));
        grid->grab();
        QVERIFY(grid->HasIcon(56));
        QCOMPARE(grid->Icon(56).size(), QSize(32, 32));
    }

    void missingAndIconlessFiles()
    {
        TIconListBox grid;
        grid.SetFileName(m_folder->filePath(QStringLiteral("gone.icl")));
        QCOMPARE(grid.NumberOfIcons(), -1);
        QVERIFY(!grid.isEnabled());
        grid.SetAutoDisable(false);
        grid.SetFileName(m_folder->filePath(QStringLiteral("also-gone.icl")));
        QVERIFY(grid.isEnabled());
        QFile text(m_folder->filePath(QStringLiteral("notes.exe")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a program");
        text.close();
        grid.SetFileName(text.fileName());
        QCOMPARE(grid.NumberOfIcons(), 0);
        // Without caching every icon is taken at once.
        grid.SetEnableCaching(false);
        grid.SetFileName(Library("misc1.icl"));
        QVERIFY(grid.HasIcon(47));
    }

    void libraryCommands()
    {
        TFloatingPalette palette;
        QCOMPARE(palette.windowTitle(), QStringLiteral("Icons"));
        QCOMPARE(palette.Grid()->FileName(), Library("activity.icl"));
        palette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        int chosen = 0;
        connect(&palette, &TFloatingPalette::fileChosen, this, [&chosen] { ++chosen; });
        clickMenu(palette, "mnuHolidays");
        QCOMPARE(palette.Grid()->FileName(), Library("holiday.icl"));
        QCOMPARE(chosen, 1);
        clickMenu(palette, "mnuMisc2");
        QCOMPARE(palette.Grid()->NumberOfIcons(), 57);
    }

    void otherFiles()
    {
        testsupport::ScriptedPrompts prompts;
        TFloatingPalette palette;
        // Cancelling the first dialog keeps the icons.
        palette.ChooseOther();
        QCOMPARE(palette.Grid()->FileName(), Library("activity.icl"));
        // An icon file: one icon.
        prompts.openFiles = {QStringLiteral(DATORIA_SOURCE_DIR "/tests/data/images/multi.ico")};
        palette.ChooseOther();
        QCOMPARE(palette.Grid()->NumberOfIcons(), 1);
        // A whole library without icons: the message, the dialog again, and Misc1 when that is cancelled.
        const QString empty = m_folder->filePath(QStringLiteral("empty.icl"));
        QFile file(empty);
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write(WriteNeIconLibrary(QStringLiteral("E"), {})) > 0);
        file.close();
        prompts.openFiles = {empty};
        palette.ChooseOther();
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("No icons found in ") + empty});
        QCOMPARE(palette.Grid()->FileName(), Library("misc1.icl"));
        // A second pick with icons ends the loop there.
        prompts.messages.clear();
        prompts.openFiles = {empty, Library("events.icl")};
        palette.ChooseOther();
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(palette.Grid()->FileName(), Library("events.icl"));
    }

    // A damaged library or a file of another kind is named as such, never as one without icons; the icons of
    // a damaged library that can be read are shown.
    void damagedOrForeignIconFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("icons");
        QTest::addColumn<QString>("message");
        QFile library(Library("holiday.icl"));
        QVERIFY(library.open(QIODevice::ReadOnly));
        const QByteArray whole = library.readAll();
        QTest::newRow("cut short") << whole.left(whole.size() / 2) << 0
                                   << QStringLiteral(
                                          "Unable to read icons from %1: the file is damaged or cut short "
                                          "(0 of the 57 icons it lists can be read).");
        // The directory of the last icon, which ends the file, loses the entry of one of its images.
        QTest::newRow("last icon cut")
            << whole.left(whole.size() - 20) << 57
            << QStringLiteral("Not all the icons of %1 can be read: the file is damaged or "
                              "cut short.");
        QTest::newRow("text") << QByteArray("hello\n") << 0
                              << QStringLiteral(
                                     "Unable to read icons from %1: it is not an icon file (an icon, an "
                                     "icon library or a program with icons).");
    }
    void damagedOrForeignIconFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, icons);
        QFETCH(QString, message);
        testsupport::ScriptedPrompts prompts;
        const QString path = m_folder->filePath(QStringLiteral("chosen.icl"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        TFloatingPalette palette;
        palette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        prompts.openFiles = {path};
        clickMenu(palette, "mnuOther");
        QTRY_COMPARE(prompts.messages, QStringList{message.arg(path)});
        QCOMPARE(palette.Grid()->FileName(), icons ? path : Library("misc1.icl"));
        if (icons)
            QCOMPARE(palette.Grid()->NumberOfIcons(), icons);
    }

    void checksFollowTheIconFile()
    {
        testsupport::ScriptedPrompts prompts;
        TFloatingPalette palette;
        palette.SyncWithIconFile(QStringLiteral("/somewhere/MiSc2.IcL"));
        QVERIFY(palette.Item("mnuMisc2")->isChecked());
        QVERIFY(!palette.Item("mnuOther")->isChecked());
        QVERIFY(!palette.Item("mnuActivities")->isChecked());
        // The stored name of a shipped library that is not there is the shipped one.
        QCOMPARE(palette.Grid()->FileName(), Library("misc2.icl"));
        palette.SyncWithIconFile(QStringLiteral(DATORIA_SOURCE_DIR "/tests/data/images/multi.ico"));
        QVERIFY(palette.Item("mnuOther")->isChecked());
        QVERIFY(!palette.Item("mnuMisc2")->isChecked());
        QCOMPARE(palette.Grid()->NumberOfIcons(), 1);
        // A missing other file changes nothing.
        palette.SyncWithIconFile(m_folder->filePath(QStringLiteral("gone.icl")));
        QVERIFY(palette.Item("mnuOther")->isChecked());
        QCOMPARE(palette.Grid()->NumberOfIcons(), 1);
        // A file without icons is replaced by misc1.icl; one that is no icon file is named once as such.
        const QString picture = QStringLiteral(DATORIA_SOURCE_DIR "/tests/data/images/photo.gif");
        palette.SyncWithIconFile(picture);
        QCOMPARE(palette.Grid()->FileName(), Library("misc1.icl"));
        palette.SyncWithIconFile(picture);
        QCOMPARE(prompts.messages,
                 QStringList{QStringLiteral("Unable to read icons from %1: it is not an icon file "
                                            "(an icon, an icon library or a program with icons).")
                                 .arg(picture)});
    }

    void mainWindowButtonAndFloaterStatus()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        // No document: the palette was switched off at start and stays hidden.
        TFloatingPalette* palette = window.IconPalette();
        QVERIFY(palette->isHidden());
        QAction* button = window.Action("ShowHideIconTool");
        QVERIFY(!button->isEnabled());
        newDocument(window);
        QVERIFY(button->isEnabled());
        QCOMPARE(button->text(), QStringLiteral("Show Icon Tool"));
        auto* bar = window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"));
        QTest::mouseClick(bar->widgetForAction(button), Qt::LeftButton);
        QVERIFY(palette->isVisible());
        QCOMPARE(button->text(), QStringLiteral("Hide Icon Tool"));
        // The shipped default of the preferences names misc1.icl.
        QCOMPARE(palette->Grid()->FileName(), Library("misc1.icl"));
        QVERIFY(palette->Item("mnuMisc1")->isChecked());
        // Hidden by the user, it stays hidden when the window checks it; shown again, it stays shown.
        QTest::mouseClick(bar->widgetForAction(button), Qt::LeftButton);
        QVERIFY(palette->isHidden());
        window.CheckFloaterStatus();
        QVERIFY(palette->isHidden());
        QTest::mouseClick(bar->widgetForAction(button), Qt::LeftButton);
        window.CheckFloaterStatus();
        QVERIFY(palette->isVisible());
        // A page of mini calendars has no day cells: the palette goes.
        window.Page()->SetCalendarLayout(calendar::loMC12Month);
        window.CheckFloaterStatus();
        window.SetButtons();
        QVERIFY(palette->isHidden());
        QVERIFY(!button->isEnabled());
        QCOMPARE(button->text(), QStringLiteral("Show Icon Tool"));
    }

    // Shown the first time, the palette stands inside the window below its menus and tool bars, wide enough
    // for its title; closed by its own close button it stays closed, whatever is undone or redone.
    void firstShowingAndCloseButton()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        TFloatingPalette* palette = window.IconPalette();
        QAction* button = window.Action("ShowHideIconTool");
        auto* bar = window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"));
        QTest::mouseClick(bar->widgetForAction(button), Qt::LeftButton);
        QVERIFY(palette->isVisible());
        const QWidget* area = window.centralWidget();
        const QRect inside(area->mapToGlobal(QPoint(0, 0)), area->size());
        QVERIFY2(inside.contains(palette->frameGeometry()), qPrintable(QStringLiteral("%1,%2 in %3,%4")
                                                                           .arg(palette->x())
                                                                           .arg(palette->y())
                                                                           .arg(inside.x())
                                                                           .arg(inside.y())));
        QFont bold = palette->font();
        bold.setBold(true);
        QVERIFY(palette->width() >= QFontMetrics(bold).horizontalAdvance(QStringLiteral("Icons")) + 96);
        apptesting::KeepScreenshot(window, *palette, QStringLiteral("palette-first-shown"));
        // Once placed, it stays where the user moves it.
        const QPoint moved = palette->pos() - QPoint(40, -30);
        palette->move(moved);
        QTest::mouseClick(bar->widgetForAction(button), Qt::LeftButton);
        QTest::mouseClick(bar->widgetForAction(button), Qt::LeftButton);
        QVERIFY(palette->isVisible());
        QCOMPARE(palette->pos(), moved);

        QVERIFY(palette->close());
        QVERIFY(palette->isHidden());
        QCOMPARE(button->text(), QStringLiteral("Show Icon Tool"));
        window.PuttextOnDay(4, QStringLiteral("Swim"));
        window.DoSaveRichtext();
        apptesting::PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.Action("mnuRedo")->isEnabled(), true);
        apptesting::PressKey(window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(palette->isHidden());
        // Nor does a dialog that hides the palette while it runs bring it back.
        testsupport::WhenDialogOpens(&window,
                                     [](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
        QTest::mouseClick(bar->widgetForAction(window.Action("PropertiesButton")), Qt::LeftButton);
        QVERIFY(palette->isHidden());
        // The next start keeps it closed.
        platform::IniFile ini(TCalendarMain::IniPath());
        QVERIFY(!ini.ReadBool(QStringLiteral("Icons"), QStringLiteral("Visible"), true));
    }

    void paletteHiddenWhileProperties()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.ShowHideIconTool();
        QVERIFY(window.IconPalette()->isVisible());
        bool hiddenDuring = false;
        testsupport::WhenDialogOpens(&window, [&](QWidget* dialog) {
            hiddenDuring = window.IconPalette()->isHidden();
            static_cast<QDialog*>(dialog)->reject();
        });
        window.Properties();
        QVERIFY(hiddenDuring);
        QVERIFY(window.IconPalette()->isVisible());
        // The choice of library is a preference.
        window.IconPalette()->ChooseLibrary(QStringLiteral("events.icl"));
        platform::IniFile ini(TCalendarMain::IniPath());
        QCOMPARE(ini.ReadString(QStringLiteral("Icons"), QStringLiteral("File"), QString()),
                 Library("events.icl"));
    }

    void iconDroppedIntoACell()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.SetModified(false);
        TIconListBox* grid = window.IconPalette()->Grid();
        grid->setCurrentRow(4);
        std::unique_ptr<QMimeData> data(grid->DragData());
        QVERIFY(data && data->hasImage());
        calendar::TCalendarPanel32* page = window.Page();
        const int cell = page->CellOfDay(12);
        const platform::TRect free = page->Cell(cell).rFree;
        const QPoint inside((free.left + free.right) / 2, (free.top + free.bottom) / 2);
        QDragEnterEvent enter(inside, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(inside, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &drop);
        QCOMPARE(window.CurrentCell(), cell);
        QVERIFY(window.Modified());
        // Dropped again onto the open editor, the icon goes in at the caret.
        QWidget* editor = window.CellEditor()->viewport();
        QDragEnterEvent over(QPoint(3, 3), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor, &over);
        QVERIFY(over.isAccepted());
        QDropEvent again(QPointF(3, 3), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor, &again);
        window.DoSaveRichtext();
        QCOMPARE(page->CellStorage(cell).RtfText().count("\\pict"), 2);
    }

    // Pictures for a person to look at: DATORIA_SCREENSHOTS=folder build/bin/tst_iconpalette screenshots
    void screenshots()
    {
        const QString out = qEnvironmentVariable("DATORIA_SCREENSHOTS");
        if (out.isEmpty())
            QSKIP("set DATORIA_SCREENSHOTS to a folder to take the screenshots");
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.resize(1000, 760);
        window.ShowHideIconTool();
        TFloatingPalette* palette = window.IconPalette();
        palette->ChooseLibrary(QStringLiteral("holiday.icl"));
        palette->Grid()->grab();
        palette->grab().save(out + QStringLiteral("/palette.png"));

        design::TQelImageBrowser browser(&window);
        browser.SetFolder(QStringLiteral(DATORIA_SOURCE_DIR "/tests/data/images"));
        browser.SelectFile(QStringLiteral("drawing.wmf"));
        browser.SetStretch(true);
        browser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&browser));
        browser.grab().save(out + QStringLiteral("/browser.png"));
        browser.hide();

        // A decorated page: a metafile in the title band, a photo, icons in day cells.
        calendar::TCalendarPanel32* page = window.Page();
        QString error;
        auto place = [&](const QString& file, platform::TRect r) {
            auto* image = new design::TQelImage;
            image->AfterLoad();
            page->AddObject(image, r);
            image->SetPicture(platform::LoadPictureFile(
                QStringLiteral(DATORIA_SOURCE_DIR "/tests/data/images/") + file, error));
        };
        place(QStringLiteral("drawing.wmf"), platform::TRect{20, 4, 110, 70});
        place(QStringLiteral("photo.jpg"), platform::TRect{500, 4, 580, 64});
        for (const auto& [day, icon] : {std::pair{25, 0}, std::pair{31, 27}, std::pair{14, 46}}) {
            palette->Grid()->setCurrentRow(icon);
            std::unique_ptr<QMimeData> data(palette->Grid()->DragData());
            const platform::TRect free = page->Cell(page->CellOfDay(day)).rFree;
            window.PageDrop(QPoint((free.left + free.right) / 2, (free.top + free.bottom) / 2), data.get());
        }
        window.DoSaveRichtext();
        QCoreApplication::processEvents();
        window.grab().save(out + QStringLiteral("/decorated-window.png"));
        page->grab().save(out + QStringLiteral("/decorated-page.png"));
    }
};

QTEST_MAIN(TestIconPalette)
#include "tst_iconpalette.moc"
