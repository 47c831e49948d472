#include "app/DesktopFiles.h"
#include "app/StartPage.h"
#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "app/WindowPlacement.h"
#include "calendar/TCalendarPanel32.h"
#include "design/TQelBaseLabel.h"
#include "persist/formats/CalendarFile.h"
#include "platform/ProgramFolder.h"
#include "platform/SingleInstance.h"
#include "richtext/RtfPlainText.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"
#include "tests/app/MainWindowTesting.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QCommandLinkButton>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUuid>
#include <QWheelEvent>

#include <memory>

using namespace Qt::StringLiterals;
using app::TCalendarMain;

/** Receives the URLs the program hands to the desktop, so no test starts a browser. */
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

class TestDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    QTemporaryDir m_samples;
    QString m_calendar; // a calendar with "Dentist" on the 5th and a text label
    QString m_other;    // a calendar with "Choir" on the 9th
    UrlCatcher m_urls;

    QString folder() const { return m_folder->path() + u'/'; }

    static QString cellText(TCalendarMain& window, int day)
    {
        window.DoSaveRichtext();
        calendar::TCalendarPanel32* page = window.Page();
        page->grab();
        return richtext::RtfPlainText(page->CellStorage(page->CellOfDay(day)).RtfText());
    }

    /** A shown window, active, so that its shortcuts work, through its first activation. */
    static void startActive(TCalendarMain& window)
    {
        apptesting::Start(window);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    /** Puts a text on a day, as the fill does; the page is painted first, so its cells know their days. */
    static void putText(TCalendarMain& window, int day, const QString& text)
    {
        window.Page()->grab();
        window.PuttextOnDay(day, text);
        QVERIFY(window.Modified());
    }

    /** An untitled calendar with a text on a day and changes not saved. */
    static void changedCalendar(TCalendarMain& window, const QString& text)
    {
        apptesting::NewDocument(window);
        window.PuttextOnDay(12, text);
        QVERIFY(window.Modified());
    }

    QString writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(folder() + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return QString();
        return file.fileName();
    }

    /**
     * Drags mime data over the window at a point and drops it there, as the window system delivers a drag:
     * to the widget under the point that takes drops, or its nearest parent that does. False when the
     * window refused the drag.
     */
    static bool dropOn(TCalendarMain& window, QMimeData* data, QPoint at)
    {
        QWidget* target = window.childAt(at);
        if (!target)
            target = &window;
        while (!target->isWindow() && !target->acceptDrops())
            target = target->parentWidget();
        const QPoint local = target->mapFrom(&window, at);
        QDragEnterEvent enter(local, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(target, &leave);
            return false;
        }
        QDragMoveEvent move(local, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &move);
        QDropEvent drop(local, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }

    static bool dropFiles(TCalendarMain& window, const QStringList& paths, QPoint at = QPoint())
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        return dropOn(window, &data, at.isNull() ? window.rect().center() : at);
    }

    /** Turns the wheel over a widget of the window, the way the window system sends it. */
    static void turnWheel(QWidget* widget, int angle, Qt::KeyboardModifiers modifiers)
    {
        turnWheel(widget, QPoint(0, angle), modifiers);
    }

    static void turnWheel(QWidget* widget, QPoint angles, Qt::KeyboardModifiers modifiers)
    {
        const QPointF at = QPointF(widget->rect().center());
        QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), angles, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
    }

    static app::StartPage* startPage(TCalendarMain& window) { return window.findChild<app::StartPage*>(); }

    static QString zoomCaption(int percent) { return u"Datoria    [%1%]"_s.arg(percent); }

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        QDesktopServices::setUrlHandler(u"file"_s, &m_urls, "open");
        QDesktopServices::setUrlHandler(u"https"_s, &m_urls, "open");
        QVERIFY(m_samples.isValid());
        platform::SetProgramFolderOverride(m_samples.path());
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        window.PuttextOnDay(5, u"Dentist"_s);
        auto* label = new design::TZubLabel(window.Page());
        label->AfterLoad();
        label->setGeometry(200, 150, 80, 20);
        label->SetCaption(u"Party"_s);
        label->show();
        m_calendar = m_samples.filePath(u"Family.KVF"_s);
        QVERIFY(window.SaveCalendarFile(m_calendar));
        apptesting::NewDocument(window);
        window.PuttextOnDay(9, u"Choir"_s);
        m_other = m_samples.filePath(u"Other.kvf"_s);
        QVERIFY(window.SaveCalendarFile(m_other));
        window.SetModified(false);
        window.close();
        platform::SetProgramFolderOverride(QString());
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QDesktopServices::unsetUrlHandler(u"https"_s);
    }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        platform::SetProgramFolderOverride(m_folder->path());
    }

    void cleanup() { platform::SetProgramFolderOverride(QString()); }

    // ---- shortcuts

    void shortcutKeys_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("effect");
        QTest::newRow("Ctrl+N") << QKeyCombination(Qt::CTRL, Qt::Key_N) << u"new"_s;
        QTest::newRow("Ctrl+O") << QKeyCombination(Qt::CTRL, Qt::Key_O) << u"open"_s;
        QTest::newRow("Ctrl+Shift+S") << QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_S) << u"save as"_s;
        QTest::newRow("Ctrl+P") << QKeyCombination(Qt::CTRL, Qt::Key_P) << u"print"_s;
        QTest::newRow("Ctrl+Q") << QKeyCombination(Qt::CTRL, Qt::Key_Q) << u"exit"_s;
        QTest::newRow("F1") << QKeyCombination(Qt::Key_F1) << u"help"_s;
        QTest::newRow("Ctrl+=") << QKeyCombination(Qt::CTRL, Qt::Key_Equal) << u"zoom 70"_s;
        QTest::newRow("Ctrl++") << QKeyCombination(Qt::CTRL, Qt::Key_Plus) << u"zoom 70"_s;
        QTest::newRow("Ctrl+-") << QKeyCombination(Qt::CTRL, Qt::Key_Minus) << u"zoom 50"_s;
    }

    // Each key, pressed in a window with a calendar open, does what its menu item does.
    void shortcutKeys()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, effect);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        window.SetStartFile(m_calendar);
        startActive(window);
        QTRY_COMPARE(window.CurrentFileName(), m_calendar);
        QSignalSpy help(window.Action("mnuContents"), &QAction::triggered);
        prompts.openFiles = {m_other};
        prompts.saveFiles = {folder() + u"Copy.KVF"_s};
        prompts.printTarget = folder() + u"printed.pdf"_s;
        if (effect == u"new"_s) {
            testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
                QVERIFY(qobject_cast<app::TCalendarProperties*>(dialog));
                static_cast<QDialog*>(dialog)->accept();
            });
        }
        QTest::keyClick(window.Page(), key.key(), key.keyboardModifiers());
        if (effect == u"new"_s) {
            QVERIFY(window.CurrentFileName().isEmpty());
            QVERIFY(window.Modified());
            QVERIFY(cellText(window, 5).isEmpty());
        } else if (effect == u"open"_s) {
            QCOMPARE(window.CurrentFileName(), m_other);
            QCOMPARE(cellText(window, 9), u"Choir"_s);
        } else if (effect == u"save as"_s) {
            QCOMPARE(window.CurrentFileName(), folder() + u"Copy.KVF"_s);
            QVERIFY(QFile::exists(folder() + u"Copy.KVF"_s));
        } else if (effect == u"print"_s) {
            QCOMPARE(prompts.printSetupTitles.size(), 1);
            QVERIFY(QFile::exists(prompts.printTarget));
        } else if (effect == u"exit"_s) {
            QVERIFY(!window.isVisible());
        } else if (effect == u"help"_s) {
            QCOMPARE(help.count(), 1);
        } else {
            QCOMPARE(window.windowTitle(), u"Datoria  [Family.KVF]    [%1%]"_s.arg(effect.mid(5).toInt()));
        }
    }

    // The menus show the keys beside their items; zooming has its own menu, enabled with a calendar open.
    void menusShowTheKeys()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        startActive(window);
        const struct
        {
            const char* action;
            QString key;
        } expected[] = {{"New1", u"Ctrl+N"_s},
                        {"Open1", u"Ctrl+O"_s},
                        {"mnuSave", u"Ctrl+S"_s},
                        {"mnuSaveAs", u"Ctrl+Shift+S"_s},
                        {"mnuPrintCalendar", u"Ctrl+P"_s},
                        {"mnuExit", u"Ctrl+Q"_s},
                        {"mnuContents", u"F1"_s},
                        {"mnuZoomIn", u"Ctrl+="_s},
                        {"mnuZoomOut", u"Ctrl+-"_s}};
        for (const auto& item : expected)
            QCOMPARE(window.Action(item.action)->shortcut().toString(), item.key);
        QStringList menus;
        for (QAction* menu : window.menuBar()->actions())
            menus.append(menu->text());
        QCOMPARE(menus.mid(menus.indexOf(u"&View"_s)), (QStringList{u"&View"_s, u"&Online"_s, u"&Help"_s}));
        QVERIFY(!window.Action("mnuZoomIn")->isEnabled());
        // With no calendar the zoom keys do nothing.
        QTest::keyClick(&window, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(window.windowTitle(), zoomCaption(60));
        apptesting::NewDocument(window);
        QVERIFY(window.Action("mnuZoomIn")->isEnabled());
        QVERIFY(window.Action("mnuZoomOut")->isEnabled());

        // The File menu as a user opens it, with its keys.
        QMenuBar* bar = window.menuBar();
        QAction* file = bar->actions().first();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
        QTRY_VERIFY(file->menu()->isVisible());
        apptesting::KeepScreenshot(*file->menu(), u"file-menu"_s);
        file->menu()->close();
    }

    // Ctrl+wheel zooms the page a step per notch, also over the cell editor, whose own font stays; the wheel
    // alone does not zoom. An angle of 0 stands for a push of a tilting wheel sideways.
    void wheelZoom_data()
    {
        QTest::addColumn<QList<int>>("angles");
        QTest::addColumn<bool>("control");
        QTest::addColumn<int>("percent");
        QTest::newRow("one notch in") << QList<int>{120} << true << 70;
        QTest::newRow("one notch out") << QList<int>{-120} << true << 50;
        QTest::newRow("two notches in") << QList<int>{240} << true << 80;
        QTest::newRow("half notches add up") << QList<int>{60, 30, 30} << true << 70;
        QTest::newRow("a turn back starts afresh") << QList<int>{60, -60, 60} << true << 60;
        QTest::newRow("a sideways push keeps half a notch in") << QList<int>{60, 0, 60} << true << 70;
        QTest::newRow("a sideways push keeps half a notch out") << QList<int>{-60, 0, -60} << true << 50;
        QTest::newRow("no control") << QList<int>{120, 240} << false << 60;
    }

    void wheelZoom()
    {
        QFETCH(QList<int>, angles);
        QFETCH(bool, control);
        QFETCH(int, percent);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        startActive(window);
        // Without a calendar the wheel zooms nothing.
        turnWheel(window.findChild<QScrollArea*>()->viewport(), 120, Qt::ControlModifier);
        QCOMPARE(window.windowTitle(), zoomCaption(60));
        apptesting::NewDocument(window);
        const Qt::KeyboardModifiers modifiers = control ? Qt::ControlModifier : Qt::NoModifier;
        for (int angle : angles)
            turnWheel(window.Page(), angle != 0 ? QPoint(0, angle) : QPoint(120, 0), modifiers);
        QCOMPARE(window.windowTitle(), zoomCaption(percent));

        window.Page()->grab();
        apptesting::ClickDay(window, 10);
        richtext::TVelRichEdit* editor = window.CellEditor();
        QVERIFY(editor->isVisible());
        const qreal editorFont = editor->font().pointSizeF();
        turnWheel(editor->viewport(), 120, Qt::ControlModifier);
        QCOMPARE(window.windowTitle(), zoomCaption(percent + 10));
        QCOMPARE(editor->font().pointSizeF(), editorFont);
    }

    // ---- the first window

    void firstWindowFillsMostOfTheScreen()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        const QRect available = window.screen()->availableGeometry();
        const QRect placed = window.geometry();
        QCOMPARE(placed.size(), QSize(available.width() * 4 / 5, available.height() * 4 / 5));
        QCOMPARE(placed.center(), available.center());
        // The placement is kept: the next start finds it.
        QVERIFY(app::HasStoredPlacement(u"TCalendarMain"_s));
    }

    void firstPlacement_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("800x600") << QRect(0, 0, 800, 600) << QRect(80, 60, 640, 480);
        QTest::newRow("panel on top") << QRect(0, 32, 1920, 1048) << QRect(192, 137, 1536, 838);
        QTest::newRow("second screen") << QRect(1920, 0, 1280, 1024) << QRect(2048, 102, 1024, 819);
    }

    void firstPlacement()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, placed);
        QCOMPARE(app::FirstPlacement(available), placed);
    }

    // The empty window's page area says what to do, and its buttons and recent calendars do it.
    void startPageOffersNewOpenAndRecent()
    {
        {
            // Two recent calendars, the newest one gone: nothing opens at start, both are offered.
            testsupport::ScriptedPrompts prompts;
            TCalendarMain window;
            apptesting::Start(window);
            prompts.openFiles = {m_calendar};
            window.Open();
            QCOMPARE(window.CurrentFileName(), m_calendar);
            QVERIFY(QFile::copy(m_other, folder() + u"Gone.KVF"_s));
            QVERIFY(window.OpenCalendarFile(folder() + u"Gone.KVF"_s));
            QVERIFY(QFile::remove(folder() + u"Gone.KVF"_s));
            window.close();
        }
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        startActive(window);
        QVERIFY(window.Page()->isHidden());
        app::StartPage* start = startPage(window);
        QVERIFY(start && start->isVisible());
        QCOMPARE(start->geometry(), window.findChild<QScrollArea*>()->viewport()->rect());
        QCOMPARE(start->RecentFiles(), (QStringList{folder() + u"Gone.KVF"_s, m_calendar}));
        apptesting::KeepScreenshot(window, u"first-window"_s);

        // A gone entry: the usual message, and it leaves the list.
        auto* gone = start->findChild<QCommandLinkButton*>(u"StartRecent1"_s);
        QVERIFY(gone);
        QCOMPARE(gone->text(), u"Gone.KVF"_s);
        QTest::mouseClick(gone, Qt::LeftButton);
        QCOMPARE(prompts.messages, QStringList{u"File "_s + folder() + u"Gone.KVF no longer exists"_s});
        QVERIFY(start->isVisible());
        QCOMPARE(start->RecentFiles(), QStringList{m_calendar});
        QCOMPARE(window.RecentFiles().Files(), QStringList{m_calendar});

        // A recent calendar opens with a click and the hint goes.
        QTest::mouseClick(start->findChild<QCommandLinkButton*>(u"StartRecent1"_s), Qt::LeftButton);
        QCOMPARE(window.CurrentFileName(), m_calendar);
        QVERIFY(window.Page()->isVisible());
        QVERIFY(start->isHidden());
        QCOMPARE(cellText(window, 5), u"Dentist"_s);
    }

    // The hint follows the window's size, wraps its text to fit, and stands on a card of its own.
    void startPageFitsTheWindow()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        app::StartPage* start = startPage(window);
        QWidget* viewport = window.findChild<QScrollArea*>()->viewport();
        for (const QSize size : {QSize(520, 420), QSize(900, 700)}) {
            window.resize(size);
            QTRY_COMPARE(start->geometry(), viewport->rect());
            for (QLabel* label : start->findChildren<QLabel*>()) {
                QVERIFY2(label->width() >= label->minimumSizeHint().width(), qPrintable(label->text()));
                QVERIFY(start->rect().contains(label->mapTo(start, label->rect().bottomRight())));
            }
        }
        const QImage shown = start->grab().toImage();
        QWidget* card = start->findChild<QWidget*>(u"StartCard"_s);
        const QPoint inside = card->mapTo(start, QPoint(card->width() - 6, card->height() - 6));
        QCOMPARE(shown.pixel(inside), start->palette().color(QPalette::Window).rgb());
        QCOMPARE(shown.pixel(3, 3), start->palette().color(QPalette::Dark).rgb());
    }

    void startPageButtons()
    {
        testsupport::ScriptedPrompts prompts;
        {
            TCalendarMain window;
            startActive(window);
            app::StartPage* start = startPage(window);
            QVERIFY(start->isVisible());
            QVERIFY(start->RecentFiles().isEmpty());
            // Open... runs Open: a cancelled dialog leaves the hint.
            QTest::mouseClick(start->findChild<QPushButton*>(u"StartOpenButton"_s), Qt::LeftButton);
            QVERIFY(start->isVisible());
            prompts.openFiles = {m_other};
            QTest::mouseClick(start->findChild<QPushButton*>(u"StartOpenButton"_s), Qt::LeftButton);
            QCOMPARE(window.CurrentFileName(), m_other);
            QVERIFY(start->isHidden());
            window.close();
        }
        QVERIFY(QFile::remove(TCalendarMain::IniPath()));
        TCalendarMain window;
        startActive(window);
        app::StartPage* start = startPage(window);
        QVERIFY(start->isVisible());
        testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
            QVERIFY(qobject_cast<app::TCalendarProperties*>(dialog));
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::mouseClick(start->findChild<QPushButton*>(u"StartNewButton"_s), Qt::LeftButton);
        QVERIFY(window.Page()->isVisible());
        QVERIFY(start->isHidden());
        QVERIFY(window.Modified());
    }

    // ---- files from the desktop

    void fileArguments_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expected");
        QTest::newRow("relative") << u"cal/Dec.KVF"_s << u"/home/ann/cal/Dec.KVF"_s;
        QTest::newRow("dot dot") << u"../bob/Dec.KVF"_s << u"/home/bob/Dec.KVF"_s;
        QTest::newRow("absolute") << u"/tmp/x y.KVF"_s << u"/tmp/x y.KVF"_s;
        QTest::newRow("file URL") << u"file:///tmp/x%20y.KVF"_s << u"/tmp/x y.KVF"_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void fileArguments()
    {
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        QCOMPARE(app::FileArgument(argument, u"/home/ann"_s), expected);
    }

    void chooseCalendarFile_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("others");
        QTest::newRow("one calendar") << QStringList{u"a.KVF"_s} << u"a.KVF"_s << 0;
        QTest::newRow("lower-case extension") << QStringList{u"b.kvf"_s} << u"b.kvf"_s << 0;
        QTest::newRow("the first of several")
            << QStringList{u"notes.txt"_s, u"b.kvf"_s, u"a.KVF"_s} << u"b.kvf"_s << 2;
        QTest::newRow("a folder named like one") << QStringList{u"folder.KVF"_s} << QString() << 1;
        QTest::newRow("no calendar") << QStringList{u"notes.txt"_s, u"folder.KVF"_s} << QString() << 2;
        QTest::newRow("missing calendar") << QStringList{u"missing.KVF"_s} << u"missing.KVF"_s << 0;
    }

    void chooseCalendarFile()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, chosen);
        QFETCH(int, others);
        QVERIFY(QDir(folder()).mkdir(u"folder.KVF"_s));
        for (const QString& name : {u"a.KVF"_s, u"b.kvf"_s, u"notes.txt"_s})
            QVERIFY(!writeFile(name, "x").isEmpty());
        QStringList paths;
        for (const QString& name : names)
            paths.append(folder() + name);
        const app::CalendarChoice choice = app::ChooseCalendarFile(paths);
        QCOMPARE(choice.file, chosen.isEmpty() ? QString() : folder() + chosen);
        QCOMPARE(choice.others, others);
    }

    void localFilesOfADrop()
    {
        const QList<QUrl> urls{QUrl::fromLocalFile(u"/tmp/a.KVF"_s), QUrl(u"https://example.org/b.KVF"_s),
                               QUrl::fromLocalFile(u"/tmp/./a.KVF"_s),
                               QUrl::fromLocalFile(u"/tmp/c d.KVF"_s)};
        QCOMPARE(app::LocalFiles(urls), (QStringList{u"/tmp/a.KVF"_s, u"/tmp/c d.KVF"_s}));
    }

    // A file named on the command line opens instead of the most recent one; a bad one gives the usual
    // message and the empty window.
    void commandLineFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("calendar") << u"Other"_s << QString();
        QTest::newRow("missing") << u"Missing.KVF"_s << u"File %1 no longer exists"_s;
        QTest::newRow("not a calendar")
            << u"Bad.KVF"_s << u"Unable to open %1. Possibly \ncorrupted, possibly not a Calendar file"_s;
        QTest::newRow("other extension") << u"notes.txt"_s << u"Must be a Calendar file (*.KVF)"_s;
    }

    void commandLineFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        testsupport::ScriptedPrompts prompts;
        {
            // The most recent calendar, which a start without a file opens.
            TCalendarMain window;
            apptesting::Start(window);
            QVERIFY(window.OpenCalendarFile(m_calendar));
            window.close();
        }
        QVERIFY(!writeFile(u"Bad.KVF"_s, "not a calendar").isEmpty());
        QVERIFY(!writeFile(u"notes.txt"_s, "not a calendar").isEmpty());
        const QString path = name == u"Other"_s ? m_other : folder() + name;
        TCalendarMain window;
        window.SetStartFile(path);
        apptesting::Start(window);
        if (message.isEmpty()) {
            QTRY_COMPARE(window.CurrentFileName(), m_other);
            QCOMPARE(cellText(window, 9), u"Choir"_s);
            QVERIFY(prompts.messages.isEmpty());
        } else {
            QTRY_COMPARE(prompts.messages.size(), 1);
            QCOMPARE(prompts.messages[0], message.contains(u"%1"_s) ? message.arg(path) : message);
            QVERIFY(window.CurrentFileName().isEmpty());
            QVERIFY(window.Page()->isHidden());
            QVERIFY(startPage(window)->isVisible());
        }
    }

    // A later start with a file hands it to the running window, which asks to save its changes, opens the
    // file and comes to the front.
    void secondStartHandsItsFileOver()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        changedCalendar(window, u"Unsaved"_s);
        window.showMinimized();
        const QString key = u"datoria-test-"_s + QUuid::createUuid().toString(QUuid::Id128);
        platform::SingleInstance running(key);
        QVERIFY(running.Acquire());
        connect(&running, &platform::SingleInstance::raiseRequested, &window,
                [&window] { app::BringToFront(window); });
        connect(&running, &platform::SingleInstance::openRequested, &window,
                [&window](const QString& path) { window.OpenFromOutside({path}); });
        platform::SingleInstance second(key);
        QVERIFY(!second.Acquire());
        prompts.answers = {false};
        bool answered = false;
        // The running instance answers from its event loop, so the later start asks from another thread.
        std::unique_ptr<QThread> asker(QThread::create([&] { answered = second.RaiseRunning(m_calendar); }));
        asker->start();
        QTRY_COMPARE(window.CurrentFileName(), m_calendar);
        QVERIFY(asker->wait(5000));
        QVERIFY(answered);
        QCOMPARE(prompts.messages, QStringList{u"Save changes?"_s});
        QVERIFY(!window.isMinimized());
        QCOMPARE(cellText(window, 5), u"Dentist"_s);
        QVERIFY(cellText(window, 12).isEmpty());
    }

    // A file handed over while a dialog is open waits for the dialog to close.
    void handedFileWaitsForADialog()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        QDialog dialog(&window);
        QTimer::singleShot(0, &dialog, [&] {
            window.OpenFromOutside({m_other});
            QTest::qWait(300);
            QVERIFY(window.CurrentFileName().isEmpty());
            dialog.reject();
        });
        dialog.exec();
        QTRY_COMPARE(window.CurrentFileName(), m_other);
    }

    // A calendar file dropped anywhere on the window opens as Open opens it: after "Save changes?".
    void droppedCalendarOpens_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("page") << u"page"_s;
        QTest::newRow("cell editor") << u"editor"_s;
        QTest::newRow("tool bar") << u"toolbar"_s;
        QTest::newRow("start page") << u"start"_s;
    }

    void droppedCalendarOpens()
    {
        QFETCH(QString, where);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        startActive(window);
        QPoint at;
        if (where == u"start"_s) {
            at = startPage(window)->mapTo(&window, startPage(window)->rect().center());
        } else {
            changedCalendar(window, u"Unsaved"_s);
            if (where == u"page"_s) {
                at = window.Page()->mapTo(&window, apptesting::DayPoint(*window.Page(), 20));
            } else if (where == u"editor"_s) {
                apptesting::ClickDay(window, 20);
                QVERIFY(window.CellEditor()->isVisible());
                at = window.CellEditor()->mapTo(&window, window.CellEditor()->rect().center());
            } else {
                at = QPoint(window.width() - 20, window.menuBar()->height() + 40);
            }
        }
        prompts.answers = {false};
        QVERIFY(dropFiles(window, {m_calendar}, at));
        QTRY_COMPARE(window.CurrentFileName(), m_calendar);
        QCOMPARE(cellText(window, 5), u"Dentist"_s);
        QVERIFY(cellText(window, 20).isEmpty());
        QCOMPARE(prompts.messages, where == u"start"_s ? QStringList() : QStringList{u"Save changes?"_s});
        QVERIFY(!window.Modified());
        // The next drop opens the next calendar.
        QVERIFY(dropFiles(window, {m_other}));
        QTRY_COMPARE(window.CurrentFileName(), m_other);
    }

    // Drops that are not one calendar file are handled calmly: one message, the open calendar kept, nothing
    // opened twice.
    void badDrops_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("opened");
        const QString notCalendar = u"Must be a Calendar file (*.KVF)"_s;
        QTest::newRow("folder") << QStringList{u"sub"_s} << QStringList{notCalendar} << QString();
        QTest::newRow("text file") << QStringList{u"notes.txt"_s} << QStringList{notCalendar} << QString();
        QTest::newRow("folder and text file")
            << QStringList{u"sub"_s, u"notes.txt"_s} << QStringList{notCalendar} << QString();
        QTest::newRow("damaged calendar")
            << QStringList{u"Bad.KVF"_s}
            << QStringList{u"Save changes?"_s,
                           u"Unable to open @Bad.KVF. Possibly \ncorrupted, possibly not a Calendar file"_s}
            << QString();
        QStringList flood;
        for (int i = 0; i < 40; ++i)
            flood.append(i == 7 ? u"Family.KVF"_s : u"notes%1.txt"_s.arg(i));
        flood.append(u"Other.kvf"_s);
        QTest::newRow("flood")
            << flood
            << QStringList{u"Save changes?"_s,
                           u"Only one calendar can be open at a time: Family.KVF was opened, "
                           u"the other files were not."_s}
            << u"Family.KVF"_s;
    }

    void badDrops()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, messages);
        QFETCH(QString, opened);
        QVERIFY(QDir(folder()).mkdir(u"sub"_s));
        QVERIFY(!writeFile(u"notes.txt"_s, "notes").isEmpty());
        QVERIFY(!writeFile(u"Bad.KVF"_s, QByteArray("\x00\x01\x02", 3)).isEmpty());
        QVERIFY(QFile::copy(m_calendar, folder() + u"Family.KVF"_s));
        QVERIFY(QFile::copy(m_other, folder() + u"Other.kvf"_s));
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        startActive(window);
        changedCalendar(window, u"Mine"_s);
        prompts.answers = {false};
        QStringList paths;
        for (const QString& name : names)
            paths.append(folder() + name);
        QVERIFY(dropFiles(window, paths));
        // Another drop while the first waits is refused.
        QVERIFY(!dropFiles(window, {folder() + u"Other.kvf"_s}));
        QTRY_COMPARE(prompts.messages.size(), messages.size());
        QTest::qWait(50);
        for (QString& message : messages)
            message.replace(u'@', folder());
        QCOMPARE(prompts.messages, messages);
        if (opened.isEmpty()) {
            QVERIFY(window.CurrentFileName().isEmpty());
            QVERIFY(window.Modified());
            QCOMPARE(cellText(window, 12), u"Mine"_s);
        } else {
            QCOMPARE(window.CurrentFileName(), folder() + opened);
            QCOMPARE(window.RecentFiles().Files(), QStringList{folder() + opened});
            QVERIFY(!window.Modified());
        }
    }

    // Pictures and web links are not calendar files: the window leaves them alone.
    void dropsThatAreNotFiles()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        startActive(window);
        apptesting::NewDocument(window);
        QMimeData link;
        link.setUrls({QUrl(u"https://example.org/cal.KVF"_s)});
        QVERIFY(!dropOn(window, &link, window.rect().center()));
        // A picture that comes with its file name still goes into the day cell it is dropped on.
        QMimeData picture;
        QImage red(8, 8, QImage::Format_RGB32);
        red.fill(Qt::red);
        picture.setImageData(red);
        picture.setUrls({QUrl::fromLocalFile(m_calendar)});
        QVERIFY(
            dropOn(window, &picture, window.Page()->mapTo(&window, apptesting::DayPoint(*window.Page(), 3))));
        QTest::qWait(50);
        QVERIFY(window.CurrentFileName().isEmpty());
        QVERIFY(prompts.messages.isEmpty());
        QVERIFY(window.CellEditor()->isVisible());
        QVERIFY(window.Modified());
    }

    // ---- bad input

    // A file that is not a calendar, or is cut short, is reported and the open calendar stays as it was,
    // with its name and its changes.
    void failedOpenKeepsTheCalendar_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("empty") << 0;
        QTest::newRow("first bytes") << 3;
        QTest::newRow("inside the style") << 40;
        QTest::newRow("half") << -2;
        QTest::newRow("garbage") << -1;
    }

    void failedOpenKeepsTheCalendar()
    {
        QFETCH(int, length);
        QFile source(m_other);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        if (length == -1)
            bytes = QByteArray(2000, 'x');
        else
            bytes = bytes.left(length == -2 ? bytes.size() / 2 : length);
        const QString bad = writeFile(u"Cut.KVF"_s, bytes);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        startActive(window);
        QVERIFY(window.OpenCalendarFile(m_calendar));
        putText(window, 12, u"Changed"_s);
        const int objects = persist::PlacedObjects(*window.Page()).size();
        QCOMPARE(objects, 1);
        prompts.answers = {false};
        prompts.openFiles = {bad};
        QTest::keyClick(window.Page(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(prompts.messages.last(),
                 u"Unable to open "_s + bad + u". Possibly \ncorrupted, possibly not a Calendar file"_s);
        QCOMPARE(window.CurrentFileName(), m_calendar);
        QVERIFY(window.Modified());
        QVERIFY(window.Page()->isVisible());
        QCOMPARE(cellText(window, 5), u"Dentist"_s);
        QCOMPARE(cellText(window, 12), u"Changed"_s);
        QCOMPARE(persist::PlacedObjects(*window.Page()).size(), objects);
        QCOMPARE(window.windowTitle(), u"Datoria  [Family.KVF]    [60%]"_s);
        // The bad file does not join the recent files.
        QCOMPARE(window.RecentFiles().Files(), QStringList{m_calendar});
    }

    // Cancel Changes on a file that has gone keeps the changes marked as changes.
    void cancelChangesOfAGoneFile()
    {
        QVERIFY(QFile::copy(m_other, folder() + u"Soon.KVF"_s));
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        startActive(window);
        QVERIFY(window.OpenCalendarFile(folder() + u"Soon.KVF"_s));
        putText(window, 12, u"Changed"_s);
        QVERIFY(QFile::remove(folder() + u"Soon.KVF"_s));
        prompts.answers = {true};
        window.CancelChanges();
        QCOMPARE(prompts.messages.last(), u"File "_s + folder() + u"Soon.KVF no longer exists"_s);
        QVERIFY(window.Modified());
        QCOMPARE(cellText(window, 12), u"Changed"_s);
        QCOMPARE(window.CurrentFileName(), folder() + u"Soon.KVF"_s);
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
