#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "calendar/TCalendarPanel32.h"
#include "controls/TFontDialog.h"
#include "persist/formats/CalendarFile.h"
#include "platform/ProgramFolder.h"
#include "richtext/TVelRtfStorage.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using app::TCalendarProperties;
using namespace calendar;

class TestCalendarProperties : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

    QString folder() const { return m_folder->path() + u'/'; }

    /** A shown dialog on a new calendar of December 2026, through its first activation. */
    static void open(TCalendarProperties& dialog)
    {
        dialog.ExampleCalendar()->ResetToNew();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }

    /** Brings the notebook page that holds the widget to the front. */
    static void showPageOf(QWidget* widget)
    {
        for (QWidget* w = widget; w && w->parentWidget(); w = w->parentWidget()) {
            if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget()))
                stack->setCurrentWidget(w);
        }
        QVERIFY(widget->isVisible());
    }

    static void chooseLayout(TCalendarProperties& dialog, int row)
    {
        QListWidget* list = dialog.LayoutList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        platform::SetProgramFolderOverride(m_folder->path());
    }

    void cleanup() { platform::SetProgramFolderOverride(QString()); }

    // The dialog's example page goes with the dialog and must leave the clipboard file; the document's page
    // removes it when the program ends.
    void onlyTheDocumentPageRemovesTheClipboardFile()
    {
        testsupport::ScriptedPrompts prompts;
        const QString clipboard = folder() + QStringLiteral("Clipbrd.tmp");
        QFile file(clipboard);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        {
            TCalendarProperties dialog;
            open(dialog);
            dialog.reject();
        }
        QVERIFY(QFile::exists(clipboard));
        delete new app::TCalendarMain;
        QVERIFY(!QFile::exists(clipboard));
    }

    // Every font button opens the font dialog on its font, colour included, and the font takes the choice.
    void fontButtonsEditTheirFont_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<platform::TFont* (TCalendarPanel32::*)() const>("font");
        QTest::newRow("title") << QStringLiteral("TitleFontButton") << &TCalendarPanel32::TitleFont;
        QTest::newRow("header") << QStringLiteral("HeaderFontButton") << &TCalendarPanel32::HeadersFont;
        QTest::newRow("number") << QStringLiteral("NumberFontButton") << &TCalendarPanel32::CellFont;
        QTest::newRow("mini title") << QStringLiteral("MiniTitleFontButton")
                                    << &TCalendarPanel32::MiniTitleFont;
        QTest::newRow("mini header") << QStringLiteral("MiniHeaderFontButton")
                                     << &TCalendarPanel32::MiniHeadersFont;
        QTest::newRow("mini number") << QStringLiteral("MiniNumberFontButton")
                                     << &TCalendarPanel32::MiniCellFont;
    }
    void fontButtonsEditTheirFont()
    {
        using Getter = platform::TFont* (TCalendarPanel32::*)() const;
        QFETCH(QString, button);
        QFETCH(Getter, font);
        testsupport::ScriptedPrompts prompts;
        TCalendarProperties dialog;
        open(dialog);
        platform::TFont* edited = (dialog.ExampleCalendar()->*font)();
        edited->SetColor(0x0000C0);
        const QString name = edited->Name();
        const int size = edited->Size();
        const bool bold = edited->Style().testFlag(platform::fsBold);
        auto* fontButton = dialog.findChild<QPushButton*>(button);
        QVERIFY(fontButton);
        showPageOf(fontButton);
        QVERIFY(fontButton->isEnabled());
        QFont chosen(QStringLiteral("Liberation Sans"));
        chosen.setPointSize(18);
        chosen.setItalic(true);
        prompts.font = chosen;
        prompts.fontColor = platform::clGreen;
        QTest::mouseClick(fontButton, Qt::LeftButton);
        QCOMPARE(prompts.fontsAsked.size(), 1);
        QCOMPARE(prompts.fontsAsked[0].font.family(), name);
        QCOMPARE(prompts.fontsAsked[0].font.pointSize(), size);
        QCOMPARE(prompts.fontsAsked[0].font.bold(), bold);
        QCOMPARE(prompts.fontsAsked[0].color, 0x0000C0);
        QCOMPARE(edited->Name(), QStringLiteral("Liberation Sans"));
        QCOMPARE(edited->Size(), 18);
        QCOMPARE(edited->Style(), platform::TFontStyles(platform::fsItalic));
        QCOMPARE(edited->Color(), platform::clGreen);
    }

    // The program's own font dialog, confirmed untouched, leaves the title font exactly as it was.
    void untouchedFontDialogChangesNothing()
    {
        controls::TFontDialog::Install();
        TCalendarProperties dialog;
        open(dialog);
        platform::TFont* title = dialog.ExampleCalendar()->TitleFont();
        title->SetColor(0x336699);
        platform::TFont before;
        before.Assign(*title);
        QCOMPARE(before.Name(), QStringLiteral("Times New Roman"));
        QString shownFamily;
        testsupport::WhenDialogOpens(this, [&shownFamily](QWidget* modal) {
            auto* fontDialog = qobject_cast<controls::TFontDialog*>(modal);
            if (!fontDialog) {
                modal->close();
                return;
            }
            shownFamily = fontDialog->FamilyEdit()->text();
            QTest::keyClick(fontDialog, Qt::Key_Return);
        });
        auto* titleButton = dialog.findChild<QPushButton*>(QStringLiteral("TitleFontButton"));
        showPageOf(titleButton);
        QTest::mouseClick(titleButton, Qt::LeftButton);
        platform::Prompts::SetFontDialog(nullptr);
        // The alias shows as the family drawn for it.
        if (QFontDatabase::families().contains(QStringLiteral("Liberation Serif")))
            QCOMPARE(shownFamily, QStringLiteral("Liberation Serif"));
        QCOMPARE(title->Name(), before.Name());
        QCOMPARE(title->Height(), before.Height());
        QCOMPARE(title->Style(), before.Style());
        QCOMPARE(title->Color(), before.Color());
    }

    void weekPlannerSwitchesTheDatePage()
    {
        TCalendarProperties dialog;
        open(dialog);
        QCOMPARE(dialog.LayoutList()->currentRow(), 1); // the new document's month grid with two minis
        QCOMPARE(dialog.DateCaption()->text(), QStringLiteral("Select Month & Year"));
        QCOMPARE(dialog.DateLabel()->text(), QStringLiteral("December 2026"));
        chooseLayout(dialog, 9);
        QCOMPARE(dialog.ExampleCalendar()->CalendarLayout(), loWeek);
        QVERIFY(dialog.PlannerSelected());
        QVERIFY(!dialog.Orientation()->button(0)->isEnabled() ||
                !dialog.Orientation()->button(0)->isEnabledTo(&dialog));
        QVERIFY(!dialog.WeekStartsOn()->button(0)->isEnabledTo(&dialog));
        QCOMPARE(dialog.DateCaption()->text(), QStringLiteral("Select Starting Date"));
        QCOMPARE(dialog.DateLabel()->text(), QLocale().toString(QDate(2026, 12, 7), QLocale::LongFormat));
        QVERIFY(!dialog.StartingTimeButton()->isEnabledTo(&dialog));
        chooseLayout(dialog, 11);
        QVERIFY(dialog.StartingTimeButton()->isEnabledTo(&dialog));
    }

    void layoutListAndOrientation_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("layout");
        QTest::newRow("month grid portrait") << 0 << 0 << int(loFullCalendar);
        QTest::newRow("12 months landscape") << 5 << 1 << int(loMC12MonthLS);
        QTest::newRow("60 months landscape") << 8 << 1 << int(loMC60MonthLS);
        QTest::newRow("two-week planner ignores landscape") << 10 << 1 << int(lo2Week);
        QTest::newRow("15-hour day planner") << 12 << 0 << int(loDay15);
    }

    void layoutListAndOrientation()
    {
        QFETCH(int, row);
        QFETCH(int, orientation);
        QFETCH(int, layout);
        TCalendarProperties dialog;
        open(dialog);
        dialog.Orientation()->button(orientation)->click();
        chooseLayout(dialog, row);
        QCOMPARE(int(dialog.ExampleCalendar()->CalendarLayout()), layout);
    }

    void tenMonthLinesKeepTheLastTwo()
    {
        TCalendarProperties dialog;
        open(dialog);
        QStringList lines;
        for (int i = 1; i <= 10; ++i)
            lines.append(QStringLiteral("M%1").arg(i));
        dialog.MonthNames()->setPlainText(lines.join(u'\n'));
        dialog.ApplyMonthNames();
        QString name;
        dialog.ExampleCalendar()->GetMonthName(10, name);
        QCOMPARE(name, QStringLiteral("M10"));
        dialog.ExampleCalendar()->GetMonthName(11, name);
        QCOMPARE(name, QStringLiteral("November"));
        // A language button replaces both lists.
        dialog.SetLanguage(2);
        dialog.ExampleCalendar()->GetDayName(6, name);
        QCOMPARE(name, QStringLiteral("Freitag "));
        dialog.ExampleCalendar()->GetMonthName(3, name);
        QCOMPARE(name, QStringLiteral("März"));
    }

    void okWarnsBeforeAChangeOfFamilyErasesCells()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarProperties dialog;
        dialog.SetCellsHaveText(true);
        dialog.SetPageFamily(dialog.ExampleCalendar()->LayoutFamily());
        open(dialog);
        chooseLayout(dialog, 9);
        prompts.answers = {false};
        dialog.Button("OkButton")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages[0].startsWith(QStringLiteral("Warning: changing to this type of layout\n")));
        QCOMPARE(dialog.ExampleCalendar()->CalendarLayout(), loWeek);
        prompts.answers = {true};
        dialog.Button("OkButton")->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void marginsAndUnits()
    {
        TCalendarProperties dialog;
        dialog.ExampleCalendar()->ResetToNew();
        dialog.ExampleCalendar()->SetLeftMarginInch(0.3f);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.MarginList(0)->currentText(), QStringLiteral("¼ Inch"));
        QCOMPARE(dialog.ExampleCalendar()->LeftMarginInch(), 0.3f);
        dialog.MarginList(0)->setCurrentIndex(3);
        Q_EMIT dialog.MarginList(0)->activated(3);
        QCOMPARE(dialog.ExampleCalendar()->LeftMarginInch(), 1.0f);
        dialog.UseMillimeters()->click();
        QCOMPARE(dialog.MarginList(0)->currentText(), QStringLiteral("25 mm"));
        QCOMPARE(dialog.ExampleCalendar()->LeftMarginInch(), 1.0f);
        QCOMPARE(TCalendarProperties::MarginIndex(1.49f), 4);
        QCOMPARE(TCalendarProperties::MarginIndex(2.0f), 5);
    }

    void exampleZoomsBetween10And100()
    {
        TCalendarProperties dialog;
        dialog.ExampleCalendar()->SetZoom(0.3f);
        open(dialog);
        QCOMPARE(dialog.ZoomLabel()->text(), QStringLiteral("30%"));
        for (int i = 0; i < 5; ++i)
            dialog.ZoomExample(false);
        QCOMPARE(dialog.ZoomLabel()->text(), QStringLiteral("10%"));
        for (int i = 0; i < 12; ++i)
            dialog.ZoomExample(true);
        QCOMPARE(dialog.ZoomLabel()->text(), QStringLiteral("100%"));
    }

    void styleSheetsKeepDateAndContent()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarProperties dialog;
        open(dialog);
        chooseLayout(dialog, 5);
        dialog.HeaderStyleCombo()->setCurrentIndex(2);
        Q_EMIT dialog.HeaderStyleCombo()->activated(2);
        prompts.saveFiles = {folder() + QStringLiteral("Mine.txt"), folder() + QStringLiteral("Mine.KVS")};
        dialog.SaveStyleSheet();
        QCOMPARE(prompts.messages,
                 QStringList{QStringLiteral("Must save as a Calendar Style Sheet (*.KVS)")});
        dialog.SaveStyleSheet();
        QVERIFY(QFile::exists(folder() + QStringLiteral("Mine.KVS")));

        // Loaded into another calendar: its style changes, its date and start of week stay.
        TCalendarProperties other;
        other.ExampleCalendar()->ResetToNew();
        other.ExampleCalendar()->SetMainCalMonth(3);
        other.ExampleCalendar()->SetMainCalYear(2030);
        other.ExampleCalendar()->SetStartOfWeek(2);
        other.ExampleCalendar()->SetDayStartTime(0.375);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        prompts.openFiles = {folder() + QStringLiteral("Mine.KVS")};
        other.LoadStyleSheet();
        QCOMPARE(other.ExampleCalendar()->CalendarLayout(), loMC12MonthLS);
        QCOMPARE(other.ExampleCalendar()->HeadersStyle(), dsWhole);
        QCOMPARE(other.ExampleCalendar()->MainCalMonth(), 3);
        QCOMPARE(other.ExampleCalendar()->MainCalYear(), 2030);
        QCOMPARE(other.ExampleCalendar()->StartOfWeek(), 2);
        QCOMPARE(other.ExampleCalendar()->DayStartTime(), 0.375);
        QCOMPARE(other.LayoutList()->currentRow(), 5);
    }

    void calendarFileIsNotAStyleSheet()
    {
        testsupport::ScriptedPrompts prompts;
        const QString path = folder() + QStringLiteral("Renamed.KVS");
        {
            TCalendarPanel32 page;
            page.ResetToNew();
            persist::SaveCalendarFile(page, path);
        }
        TCalendarProperties dialog;
        open(dialog);
        prompts.openFiles = {path};
        dialog.LoadStyleSheet();
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages[0],
                 QStringLiteral("Unable to open ") + path +
                     QStringLiteral(". Possibly \ncorrupted, possibly not a Calendar Style file"));
        QVERIFY(dialog.isVisible());
        prompts.openFiles = {folder() + QStringLiteral("Style.txt")};
        dialog.LoadStyleSheet();
        QCOMPARE(prompts.messages.last(), QStringLiteral("Must be a Calendar Style Sheet (*.KVS)"));
    }

    void everyPageFitsTheDialog()
    {
        TCalendarProperties dialog;
        open(dialog);
        const QString shots = qEnvironmentVariable("DATORIA_SCREENSHOTS");
        for (int i = 0; i < dialog.Notebook()->count(); ++i) {
            dialog.Notebook()->setCurrentIndex(i);
            QWidget* page = dialog.Notebook()->currentWidget();
            if (!shots.isEmpty())
                dialog.grab().save(shots + QStringLiteral("/properties-%1.png").arg(i));
            QVERIFY2(page->sizeHint().width() <= page->width() + 1,
                     qPrintable(dialog.Notebook()->tabText(i)));
        }
    }
};

QTEST_MAIN(TestCalendarProperties)
#include "tst_calendarproperties.moc"
