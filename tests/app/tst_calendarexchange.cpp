#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "calendar/TCalendarPanel32.h"
#include "exchange/IcsCalendar.h"
#include "exchange/TImportEvents.h"
#include "platform/ProgramFolder.h"
#include "recurring/RecurringStore.h"
#include "richtext/RtfPlainText.h"
#include "richtext/RtfReader.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <memory>

using app::TCalendarMain;

namespace {

const char* const kFamily =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
    "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20240305T093000\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:2\r\nDTSTART:20240305T120000\r\nSUMMARY:Lunch\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:3\r\nDTSTART;VALUE=DATE:20240312\r\nSUMMARY:Birthday\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:4\r\nDTSTART;VALUE=DATE:20240330\r\nDTEND;VALUE=DATE:20240403\r\n"
    "SUMMARY:Holiday\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:5\r\nDTSTART:20240415T100000\r\nSUMMARY:April only\r\nEND:VEVENT\r\n"
    "END:VCALENDAR\r\n";

} // namespace

class TestCalendarExchange : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

    QString write(const QString& name, const QByteArray& data)
    {
        const QString path = m_folder->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return QString();
        return path;
    }

    static void start(TCalendarMain& window)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(!window.StartingUp());
    }

    /** A new calendar of March 2024 whose cells know their days. */
    static void newMarch(TCalendarMain& window)
    {
        testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
            auto* properties = qobject_cast<app::TCalendarProperties*>(dialog);
            QVERIFY(properties);
            properties->accept();
        });
        window.New();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.Page()->SetMainCalMonth(3);
        window.Page()->SetMainCalYear(2024);
        window.Page()->grab();
        window.SetModified(false);
    }

    /** Opens the File menu and clicks the item, as a user does. */
    static void clickFileMenu(TCalendarMain& window, const char* item)
    {
        QMenuBar* bar = window.menuBar();
        QAction* file = bar->actions().first();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
        QMenu* menu = file->menu();
        QTRY_VERIFY(menu->isVisible());
        QAction* action = window.Action(item);
        QVERIFY(action->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }

    static QString cellText(TCalendarMain& window, int day)
    {
        calendar::TCalendarPanel32* page = window.Page();
        page->grab();
        return richtext::RtfPlainText(page->CellStorage(page->CellOfDay(day)).RtfText()).trimmed();
    }

    static void keepScreenshot(QWidget& widget, const QString& name)
    {
        const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS");
        if (!folder.isEmpty())
            widget.grab().save(folder + u'/' + name + QStringLiteral(".png"));
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

    // The month's events are offered, all chosen; the chosen ones go on their days in start order, a line
    // each.
    void importPutsTheMonthsEventsOnTheirDays()
    {
        testsupport::ScriptedPrompts prompts;
        prompts.openFiles = {write(QStringLiteral("family.ics"), kFamily)};
        TCalendarMain window;
        start(window);
        newMarch(window);
        window.PuttextOnDay(5, QStringLiteral("Typed before"));
        window.DoSaveRichtext();
        window.SetModified(false);

        QStringList offered;
        testsupport::WhenDialogOpens(&window, [&offered](QWidget* modal) {
            auto* dialog = qobject_cast<exchange::TImportEvents*>(modal);
            QVERIFY(dialog);
            keepScreenshot(*dialog, QStringLiteral("import-events"));
            QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("Heading"))->text(),
                     QStringLiteral("Events of March 2024 in family.ics:"));
            QListWidget* list = dialog->List();
            for (int i = 0; i < list->count(); ++i) {
                offered.append(list->item(i)->text());
                QVERIFY(list->item(i)->isSelected());
            }
            // A click on the lunch takes its mark away.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(1)).center());
            QVERIFY(!list->item(1)->isSelected());
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("okbutton")), Qt::LeftButton);
        });
        clickFileMenu(window, "mnuImportEvents");
        QCOMPARE(offered,
                 (QStringList{QStringLiteral("Tue 5\t9:30 am Dentist"),
                              QStringLiteral("Tue 5\t12:00 pm Lunch"), QStringLiteral("Tue 12\tBirthday"),
                              QStringLiteral("Sat 30\tHoliday"), QStringLiteral("Sun 31\tHoliday")}));
        QVERIFY(prompts.messages.isEmpty());
        QVERIFY(window.Modified());
        keepScreenshot(window, QStringLiteral("after-import"));
        QCOMPARE(cellText(window, 5), QStringLiteral("Typed before\n\n9:30 am Dentist"));
        QCOMPARE(cellText(window, 12), QStringLiteral("Birthday"));
        QCOMPARE(cellText(window, 30), QStringLiteral("Holiday"));
        QCOMPARE(cellText(window, 31), QStringLiteral("Holiday"));
        QVERIFY(cellText(window, 15).isEmpty());
        // In the default editor font.
        QTextDocument document;
        richtext::ReadRtf(window.Page()->CellStorage(window.Page()->CellOfDay(12)).RtfText(), document);
        const QTextCharFormat format = document.begin().begin().fragment().charFormat();
        QCOMPARE(format.fontFamilies().toStringList().value(0), window.Prefs().fontName);
        QCOMPARE(format.fontPointSize(), double(window.Prefs().fontSize));
    }

    void cancelChangesNothing()
    {
        testsupport::ScriptedPrompts prompts;
        prompts.openFiles = {write(QStringLiteral("family.ics"), kFamily)};
        TCalendarMain window;
        start(window);
        newMarch(window);
        testsupport::WhenDialogOpens(&window, [](QWidget* modal) {
            QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("CancelButton")), Qt::LeftButton);
        });
        clickFileMenu(window, "mnuImportEvents");
        QVERIFY(!window.Modified());
        QVERIFY(!window.Page()->HasCellContent());
    }

    // An import is taken back whole by Cancel Changes: the calendar is as it was saved.
    void cancelChangesTakesTheImportBack()
    {
        testsupport::ScriptedPrompts prompts;
        prompts.openFiles = {write(QStringLiteral("family.ics"), kFamily)};
        TCalendarMain window;
        start(window);
        newMarch(window);
        window.PuttextOnDay(5, QStringLiteral("Saved"));
        prompts.saveFiles = {m_folder->filePath(QStringLiteral("March.KVF"))};
        QVERIFY(window.SaveAs());
        testsupport::WhenDialogOpens(&window, [](QWidget* modal) {
            QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("okbutton")), Qt::LeftButton);
        });
        clickFileMenu(window, "mnuImportEvents");
        QCOMPARE(cellText(window, 12), QStringLiteral("Birthday"));
        QVERIFY(window.Modified());
        prompts.answers = {true};
        clickFileMenu(window, "mnuCancelChanges");
        QVERIFY(!window.Modified());
        QCOMPARE(cellText(window, 5), QStringLiteral("Saved"));
        QVERIFY(cellText(window, 12).isEmpty());
        QVERIFY(cellText(window, 30).isEmpty());
    }

    // Files that are no calendar, or have nothing for the month, say so and leave the page as it was.
    void filesWithNothingToImport_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a calendar")
            << QByteArray("PK\x03\x04 zip")
            << "The file is not an iCalendar file: it has no calendar (BEGIN:VCALENDAR).";
        QTest::newRow("nothing in March")
            << QByteArray(
                   "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:1\r\nDTSTART:20240415T100000\r\nSUMMARY:x\r\n"
                   "END:VEVENT\r\nEND:VCALENDAR\r\n")
            << "No events of odd.ics fall in March 2024";
    }
    void filesWithNothingToImport()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, message);
        testsupport::ScriptedPrompts prompts;
        prompts.openFiles = {write(QStringLiteral("odd.ics"), data)};
        TCalendarMain window;
        start(window);
        newMarch(window);
        window.PuttextOnDay(5, QStringLiteral("Keep me"));
        window.DoSaveRichtext();
        window.SetModified(false);
        clickFileMenu(window, "mnuImportEvents");
        QCOMPARE(prompts.messages, QStringList{message});
        QVERIFY(!window.Modified());
        QCOMPARE(cellText(window, 5), QStringLiteral("Keep me"));
    }

    // Import wants day cells: no document, or a page of mini calendars, has none.
    void importNeedsDayCells()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        QVERIFY(!window.Action("mnuImportEvents")->isEnabled());
        QVERIFY(window.Action("mnuExportRecurringDates")->isEnabled());
        newMarch(window);
        QVERIFY(window.Action("mnuImportEvents")->isEnabled());
        window.Page()->SetCalendarLayout(calendar::loMC12Month);
        window.SetButtons();
        QVERIFY(!window.Action("mnuImportEvents")->isEnabled());
    }

    void exportWritesTheStore()
    {
        QVERIFY(recurring::WriteStore(recurring::StorePath(),
                                      recurring::HolidayLines() + QStringList{QStringLiteral("Old note")}));
        testsupport::ScriptedPrompts prompts;
        const QString target = m_folder->filePath(QStringLiteral("dates"));
        prompts.saveFiles = {target};
        TCalendarMain window;
        start(window);
        clickFileMenu(window, "mnuExportRecurringDates");
        QCOMPARE(prompts.proposedNames,
                 QStringList{platform::ProgramFolder() + QStringLiteral("KVRECUR.ics")});
        exchange::IcsCalendar calendar;
        QVERIFY(calendar.Load(target + QStringLiteral(".ics")));
        QCOMPARE(calendar.EventCount(), 26);
        QCOMPARE(prompts.messages,
                 QStringList{QStringLiteral(
                     "These recurring dates have no rule that iCalendar can hold and were left "
                     "out:\nOld note")});
    }

    void exportWithoutDatesOrTarget()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        QVERIFY(!window.ExportRecurringDatesAsIcs());
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("There are no recurring dates to export")});
        QVERIFY(recurring::WriteStore(recurring::StorePath(), recurring::HolidayLines()));
        prompts.saveFiles = {m_folder->filePath(QStringLiteral("missing/folder/x.ics"))};
        QVERIFY(!window.ExportRecurringDatesAsIcs());
        QVERIFY(prompts.messages.last().startsWith(QStringLiteral("Unable to save ")));
    }
};

QTEST_MAIN(TestCalendarExchange)
#include "tst_calendarexchange.moc"
