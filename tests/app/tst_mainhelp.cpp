// The main window's help, hints and web site commands, driven as a user drives them: menus clicked, buttons
// pressed, hints asked for by pointing.
#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "platform/ProgramFolder.h"
#include "platform/THelpWindow.h"
#include "tests/app/MainWindowTesting.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

using app::TCalendarMain;

/** Takes the URLs QDesktopServices is asked to open, as a browser would. */
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

class TestMainHelp : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

    /** Opens the menu bar's menu that holds the item, and clicks the item. */
    static void clickMenuItem(TCalendarMain& window, QAction* item)
    {
        QMenuBar* bar = window.menuBar();
        const QList<QAction*> titles = bar->actions();
        const auto holder = std::find_if(titles.begin(), titles.end(), [item](QAction* title) {
            return title->menu() && title->menu()->actions().contains(item);
        });
        QVERIFY(holder != titles.end());
        QAction* title = *holder;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        QMenu* menu = title->menu();
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(item->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    /** The hint shown when the pointer rests on a point of a widget; empty when none shows. */
    static QString hintAt(QWidget* widget, const QPoint& point)
    {
        QToolTip::hideText();
        // A hint goes away a moment after it is told to.
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
            return QStringLiteral("(the previous hint stayed)");
        QHelpEvent event(QEvent::ToolTip, point, widget->mapToGlobal(point));
        QApplication::sendEvent(widget, &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    static void clickToolButton(QWidget* window, const char* name)
    {
        auto* button = window->findChild<QToolButton*>(QLatin1String(name));
        QVERIFY2(button, name);
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        platform::SetProgramFolderOverride(m_folder->path());
    }

    void cleanup()
    {
        if (platform::THelpWindow* help = platform::THelpWindow::Shared())
            help->close();
        platform::SetProgramFolderOverride(QString());
        testsupport::PinEnvironment();
    }

    void contentsBackAndForward()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        clickMenuItem(window, window.Action("mnuContents"));
        platform::THelpWindow* help = platform::THelpWindow::Shared();
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(help->windowModality(), Qt::NonModal);
        QCOMPARE(help->CurrentPage(), QStringLiteral("index.html"));
        QVERIFY(help->Browser()->toPlainText().contains(QStringLiteral("Welcome to Datoria")));
        QCOMPARE(help->Contents()->currentItem()->text(0), QStringLiteral("Welcome to Datoria"));
        QVERIFY(!help->findChild<QToolButton*>(QStringLiteral("HelpBackButton"))->isEnabled());
        apptesting::KeepScreenshot(*help, QStringLiteral("help-contents"));

        // A topic of the contents, then the first link of that page followed with the keyboard.
        QTreeWidget* contents = help->Contents();
        QTreeWidgetItem* printing =
            contents->findItems(QStringLiteral("Printing and export"), Qt::MatchExactly).value(0);
        QVERIFY(printing);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                          contents->visualItemRect(printing).center());
        QCOMPARE(help->CurrentPage(), QStringLiteral("printing.html"));
        QVERIFY(help->Browser()->toPlainText().contains(QStringLiteral("Print Calendar")));
        QCOMPARE(contents->currentItem(), printing);

        help->Browser()->setFocus();
        clickToolButton(help, "HelpBackButton");
        QCOMPARE(help->CurrentPage(), QStringLiteral("index.html"));
        clickToolButton(help, "HelpForwardButton");
        QCOMPARE(help->CurrentPage(), QStringLiteral("printing.html"));
        QVERIFY(!help->findChild<QToolButton*>(QStringLiteral("HelpForwardButton"))->isEnabled());

        // "Getting started" links to the properties page: Tab reaches the first link, Return follows it.
        clickToolButton(help, "HelpHomeButton");
        QCOMPARE(help->CurrentPage(), QStringLiteral("index.html"));
        help->activateWindow();
        help->Browser()->setFocus();
        QTest::keyClick(help->Browser(), Qt::Key_Tab);
        QTest::keyClick(help->Browser(), Qt::Key_Return);
        QCOMPARE(help->CurrentPage(), QStringLiteral("properties.html"));
        QVERIFY(prompts.messages.isEmpty());
    }

    void dialogHelpOverTheModalDialog_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("Layout") << 0;
        QTest::newRow("Header Styles") << 4;
        QTest::newRow("Margins") << 8;
    }

    void dialogHelpOverTheModalDialog()
    {
        QFETCH(int, page);
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        QString shown;
        Qt::WindowModality modality = Qt::NonModal;
        bool usable = false;
        testsupport::WhenDialogOpens(&window, [&](QWidget* dialog) {
            auto* properties = qobject_cast<app::TCalendarProperties*>(dialog);
            if (!properties) {
                dialog->close();
                return;
            }
            properties->Notebook()->setCurrentIndex(page);
            QTest::mouseClick(properties->findChild<QPushButton*>(QStringLiteral("HelpButton")),
                              Qt::LeftButton);
            platform::THelpWindow* help = platform::THelpWindow::Shared();
            shown = help->isVisible() ? help->CurrentPage() : QString();
            modality = help->windowModality();
            // Over a modal dialog the help must take input itself, or it could not be read or closed.
            usable = QApplication::activeModalWidget() == help;
            help->close();
            properties->reject();
        });
        clickMenuItem(window, window.Action("mnuProperties"));
        QTRY_VERIFY(!shown.isEmpty());
        QCOMPARE(shown, QStringLiteral("properties.html#topic-%1").arg(2100 + page));
        QCOMPARE(modality, Qt::ApplicationModal);
        QVERIFY(usable);
        QVERIFY(prompts.messages.isEmpty());
    }

    void onlineWithoutBrowserSaysWhere()
    {
        testsupport::ScriptedPrompts prompts;
        QTemporaryDir emptyPath;
        testsupport::ScopedEnvironment path("PATH", emptyPath.path().toLocal8Bit());
        testsupport::ScopedEnvironment browser("BROWSER", QByteArray());
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        TCalendarMain window;
        apptesting::Start(window);
        clickMenuItem(window, window.Action("mnuWebsite"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QVERIFY(recorder.urls.isEmpty());
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.first().contains(QStringLiteral("No web browser")));
        QVERIFY(prompts.messages.first().contains(QStringLiteral("https://datoria.app/")));
    }

    void onlineWithBrowserOpensTheSite()
    {
        testsupport::ScriptedPrompts prompts;
        testsupport::ScopedEnvironment browser("BROWSER", "true");
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        TCalendarMain window;
        apptesting::Start(window);
        clickMenuItem(window, window.Action("mnuWebsite"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(recorder.urls, QList<QUrl>{QUrl(QStringLiteral("https://datoria.app/"))});
        QVERIFY(prompts.messages.isEmpty());
    }

    void toolBarButtonsHaveHintsAndNames()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        apptesting::NewDocument(window);
        window.SetModified(true); // Save and Cancel are shown
        int buttons = 0;
        for (QToolBar* bar : window.findChildren<QToolBar*>()) {
            for (QAction* action : bar->actions()) {
                QWidget* widget = bar->widgetForAction(action);
                if (!widget || action->isSeparator() || !widget->isVisible() ||
                    !qobject_cast<QToolButton*>(widget))
                    continue;
                ++buttons;
                const QString what = bar->objectName() + u'/' + action->objectName() + u'/' + action->text();
                QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(what));
                QVERIFY2(!widget->accessibleName().contains(u'&'), qPrintable(what));
                const QString hint = hintAt(widget, widget->rect().center());
                QVERIFY2(!hint.isEmpty(), qPrintable(what));
                QCOMPARE(hint, action->toolTip());
            }
        }
        QVERIFY(buttons >= 15);
        auto nameOf = [&window](const char* action) {
            return window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"))
                ->widgetForAction(window.Action(action))
                ->accessibleName();
        };
        QCOMPARE(nameOf("ZoomPlusButton"), QStringLiteral("Zoom In"));
        QCOMPARE(nameOf("ZoomMinusButton"), QStringLiteral("Zoom Out"));
        QCOMPARE(nameOf("DrawRichText"), QStringLiteral("Rich Text tool"));
        // The whole hint describes the button to a screen reader.
        QCOMPARE(window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"))
                     ->widgetForAction(window.Action("DrawRichText"))
                     ->accessibleDescription(),
                 QStringLiteral("Rich Text tool \nMixed fonts, colors and styles"));
        window.SetModified(false);
    }

    void greyedOutItemsSayWhy()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        apptesting::Start(window);
        // Without a calendar every greyed-out item of the File menu says why, hints on or off.
        clickMenuItem(window, window.Action("mnuShowHints"));
        QVERIFY(!window.Prefs().hintsOn);
        QMenu* file = window.menuBar()->actions().first()->menu();
        int greyed = 0;
        for (QAction* action : file->actions()) {
            if (action->isSeparator() || action->isEnabled())
                continue;
            ++greyed;
            QVERIFY2(!action->toolTip().isEmpty(), qPrintable(action->objectName()));
        }
        QVERIFY(greyed >= 8);
        QVERIFY(window.Action("mnuProperties")->toolTip().contains(QStringLiteral("no calendar yet")));

        apptesting::NewDocument(window);
        QMenuBar* bar = window.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().first()).center());
        QTRY_VERIFY(file->isVisible());
        auto hintOf = [file, &window](const char* name) {
            return hintAt(file, file->actionGeometry(window.Action(name)).center());
        };
        QVERIFY(hintOf("mnuSave").contains(QStringLiteral("Save As")));
        QVERIFY(hintOf("mnuCancelChanges").contains(QStringLiteral("not been saved")));
        // What can be used shows no hint; the reasons went with the calendar's arrival.
        QCOMPARE(hintOf("mnuProperties"), QString());
        QCOMPARE(hintOf("mnuSaveAs"), QString());
        QCOMPARE(hintOf("mnuPrintCalendar"), QString()); // printing needs no printer: PDF is always there
        file->close();
        QCOMPARE(window.Action("PropertiesButton")->toolTip(),
                 QStringLiteral("Set/change Properties for the calendar"));
        QVERIFY(!window.Action("Printbutton")->toolTip().contains(u'\n'));
    }
};

QTEST_MAIN(TestMainHelp)
#include "tst_mainhelp.moc"
