#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "app/TSetTimeDialog.h"
#include "calendar/DateRules.h"
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
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

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

    // Enter takes the dialog's choices, as OK does.
    void enterAccepts()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarProperties dialog;
        open(dialog);
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // Every background colour button opens the colour dialog, and its part of the example takes the choice.
    void colourButtonsColourTheirPart_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<platform::TColor (TCalendarPanel32::*)() const>("color");
        QTest::newRow("title") << QStringLiteral("TitleColorButton") << &TCalendarPanel32::TitleBGColor;
        QTest::newRow("header") << QStringLiteral("HeaderColorButton") << &TCalendarPanel32::HeadersBGColor;
        QTest::newRow("mini header") << QStringLiteral("MiniHeaderColorButton")
                                     << &TCalendarPanel32::MiniHeadersBGColor;
        QTest::newRow("mini calendar")
            << QStringLiteral("MiniCalColorButton") << &TCalendarPanel32::MiniCalBGColor;
    }
    void colourButtonsColourTheirPart()
    {
        using Getter = platform::TColor (TCalendarPanel32::*)() const;
        QFETCH(QString, button);
        QFETCH(Getter, color);
        testsupport::ScriptedPrompts prompts;
        TCalendarProperties dialog;
        open(dialog);
        auto* colourButton = dialog.findChild<QPushButton*>(button);
        QVERIFY(colourButton);
        showPageOf(colourButton);
        QVERIFY(colourButton->isEnabled());
        prompts.color = platform::TColor(0x40C080);
        QTest::mouseClick(colourButton, Qt::LeftButton);
        QCOMPARE((dialog.ExampleCalendar()->*color)(), platform::TColor(0x40C080));
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

    // Opened on a page that already is a planner, the date page asks for the starting date.
    void opensOnAPlannerPage()
    {
        TCalendarProperties dialog;
        dialog.ExampleCalendar()->ResetToNew();
        dialog.ExampleCalendar()->SetCalendarLayout(loWeek);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.LayoutList()->currentRow(), 9);
        QVERIFY(dialog.PlannerSelected());
        QCOMPARE(dialog.DateCaption()->text(), QStringLiteral("Select Starting Date"));
        QCOMPARE(dialog.DateLabel()->text(), QLocale().toString(QDate(2026, 12, 7), QLocale::LongFormat));
    }

    void layoutListAndOrientation_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("planner");
        QTest::addColumn<int>("miniSize"); // 0: the layout has no minis of its own size
        QTest::newRow("month grid portrait") << 0 << 0 << int(loFullCalendar) << false << 0;
        QTest::newRow("12 months landscape") << 5 << 1 << int(loMC12MonthLS) << false << 18;
        QTest::newRow("60 months landscape") << 8 << 1 << int(loMC60MonthLS) << false << 8;
        QTest::newRow("week planner") << 9 << 0 << int(loWeek) << true << 0;
        QTest::newRow("two-week planner ignores landscape") << 10 << 1 << int(lo2Week) << true << 0;
        QTest::newRow("15-hour day planner") << 12 << 0 << int(loDay15) << true << 0;
    }

    // Planners start on a day, the other pages show a month: the date page says which. A page of minis gives
    // them the type size that fits it.
    void layoutListAndOrientation()
    {
        QFETCH(int, row);
        QFETCH(int, orientation);
        QFETCH(int, layout);
        QFETCH(bool, planner);
        QFETCH(int, miniSize);
        TCalendarProperties dialog;
        open(dialog);
        dialog.Orientation()->button(orientation)->click();
        chooseLayout(dialog, row);
        QCOMPARE(int(dialog.ExampleCalendar()->CalendarLayout()), layout);
        QCOMPARE(dialog.PlannerSelected(), planner);
        QCOMPARE(dialog.DateCaption()->text(),
                 planner ? QStringLiteral("Select Starting Date") : QStringLiteral("Select Month & Year"));
        // The minis' controls are live only for the layouts that have minis.
        const bool minis = layout >= 2 && layout <= 17;
        QCOMPARE(dialog.findChild<QWidget*>(QStringLiteral("MiniTitleFontButton"))->isEnabledTo(&dialog),
                 minis);
        if (miniSize > 0) {
            QCOMPARE(dialog.ExampleCalendar()->MiniTitleFont()->Size(), miniSize);
            QCOMPARE(dialog.ExampleCalendar()->MiniCellFont()->Size(), int(0.8 * miniSize));
        }
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

    // The arrow keys in the layout list choose a layout as a click does.
    void layoutByArrowKeys()
    {
        TCalendarProperties dialog;
        open(dialog);
        chooseLayout(dialog, 0);
        QCOMPARE(dialog.ExampleCalendar()->CalendarLayout(), LOFullCalendarLS);
        QTest::keyClick(dialog.LayoutList(), Qt::Key_Down);
        QTest::keyClick(dialog.LayoutList(), Qt::Key_Down);
        QCOMPARE(dialog.ExampleCalendar()->CalendarLayout(), loFC6Before6AfterLS);
        QTest::keyClick(dialog.LayoutList(), Qt::Key_End);
        QCOMPARE(dialog.ExampleCalendar()->CalendarLayout(), loDay15);
        QVERIFY(dialog.StartingTimeButton()->isEnabledTo(&dialog));
    }

    // A year typed into the date picker's own year box is the year chosen; Enter there does not close the
    // dialog, and no year before 1 can be chosen.
    // The step buttons move the page's month from December 2026; "Now" comes back to this month.
    void dateStepButtons_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QDate>("shown");
        const QDate today = QDate::currentDate();
        QTest::newRow("<<") << QStringList{QStringLiteral("PreviousYearButton")} << QDate(2025, 12, 1);
        QTest::newRow("<") << QStringList{QStringLiteral("PreviousMonthButton")} << QDate(2026, 11, 1);
        QTest::newRow(">") << QStringList{QStringLiteral("NextMonthButton")} << QDate(2027, 1, 1);
        QTest::newRow(">>") << QStringList{QStringLiteral("NextYearButton")} << QDate(2027, 12, 1);
        QTest::newRow("> > <") << QStringList{QStringLiteral("NextMonthButton"),
                                              QStringLiteral("NextMonthButton"),
                                              QStringLiteral("PreviousMonthButton")}
                               << QDate(2027, 1, 1);
        QTest::newRow("Now") << QStringList{QStringLiteral("NextYearButton"),
                                            QStringLiteral("NextYearButton"), QStringLiteral("NowButton")}
                             << QDate(today.year(), today.month(), 1);
    }
    void dateStepButtons()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QDate, shown);
        TCalendarProperties dialog;
        open(dialog);
        showPageOf(dialog.DatePicker());
        for (const QString& name : clicks)
            QTest::mouseClick(dialog.findChild<QPushButton*>(name), Qt::LeftButton);
        QCOMPARE(dialog.ExampleCalendar()->MainCalYear(), shown.year());
        QCOMPARE(dialog.ExampleCalendar()->MainCalMonth(), shown.month());
        QCOMPARE(dialog.DateLabel()->text(), QLocale().toString(shown, QStringLiteral("MMMM yyyy")));
    }

    // The day planners' page shows the page's starting time; all seven day names are listed.
    void startingTimeAndDayNamesShown()
    {
        TCalendarProperties dialog;
        dialog.ExampleCalendar()->ResetToNew();
        dialog.ExampleCalendar()->SetDayStartTime(calendar::EncodeTime(9, 30));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.TimeLabel()->text(), QLocale().toString(QTime(9, 30), QLocale::ShortFormat));
        QCOMPARE(dialog.DayNames()->toPlainText().split(u'\n'),
                 (QStringList{QStringLiteral("Sunday"), QStringLiteral("Monday"), QStringLiteral("Tuesday"),
                              QStringLiteral("Wednesday"), QStringLiteral("Thursday"),
                              QStringLiteral("Friday"), QStringLiteral("Saturday")}));
        // The time button opens on that time; the minute clicked there is the page's.
        chooseLayout(dialog, 11);
        showPageOf(dialog.StartingTimeButton());
        QTime opened;
        testsupport::WhenDialogOpens(&dialog, [&opened](QWidget* modal) {
            auto* set = qobject_cast<app::TSetTimeDialog*>(modal);
            QVERIFY(set);
            opened = set->Time();
            QTest::mouseClick(set->MinuteButton(45), Qt::LeftButton);
            set->accept();
        });
        QTest::mouseClick(dialog.StartingTimeButton(), Qt::LeftButton);
        QCOMPARE(opened, QTime(9, 30));
        QCOMPARE(dialog.TimeLabel()->text(), QLocale().toString(QTime(9, 45), QLocale::ShortFormat));
        QCOMPARE(dialog.ExampleCalendar()->DayStartTime(), calendar::EncodeTime(9, 45));
    }

    void yearTypedIntoTheDatePicker()
    {
        TCalendarProperties dialog;
        open(dialog);
        QListWidget* names = dialog.PageList();
        QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                          names->visualItemRect(names->item(1)).center());
        auto typeYear = [&dialog](const QString& year) {
            auto* button =
                dialog.DatePicker()->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
            auto* box = dialog.DatePicker()->findChild<QSpinBox*>(QStringLiteral("qt_calendar_yearedit"));
            QVERIFY(button && box);
            QTest::mouseClick(button, Qt::LeftButton);
            QTRY_VERIFY(box->hasFocus());
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, year);
            QTest::keyClick(box, Qt::Key_Return);
        };
        typeYear(QStringLiteral("2031"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.ExampleCalendar()->MainCalYear(), 2031);
        QCOMPARE(dialog.ExampleCalendar()->MainCalMonth(), 12);
        QCOMPARE(dialog.DateLabel()->text(), QStringLiteral("December 2031"));
        typeYear(QStringLiteral("1"));
        QCOMPARE(dialog.ExampleCalendar()->MainCalYear(), 1);
        typeYear(QStringLiteral("0"));
        QCOMPARE(dialog.ExampleCalendar()->MainCalYear(), 1);
        typeYear(QStringLiteral("-2")); // the box takes no minus sign
        QCOMPARE(dialog.ExampleCalendar()->MainCalYear(), 2);
        QCOMPARE(dialog.DateLabel()->text(), QStringLiteral("December 0002"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("PreviousYearButton")),
                          Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("PreviousYearButton")),
                          Qt::LeftButton);
        QCOMPARE(dialog.ExampleCalendar()->MainCalYear(), 1);
        QCOMPARE(dialog.DateLabel()->text(), QStringLiteral("January 0001"));
        QVERIFY(dialog.isVisible());
    }

    // A line break typed after the last name closes that line; it does not blank the next name.
    void trailingEnterKeepsTheNextName()
    {
        TCalendarProperties dialog;
        open(dialog);
        QListWidget* names = dialog.PageList();
        QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                          names->visualItemRect(names->item(7)).center());
        QStringList months;
        for (int i = 1; i <= 10; ++i)
            months.append(QStringLiteral("M%1").arg(i));
        dialog.MonthNames()->setPlainText(months.join(u'\n'));
        QTest::mouseClick(dialog.MonthNames()->viewport(), Qt::LeftButton);
        QTest::keyClick(dialog.MonthNames(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(dialog.MonthNames(), Qt::Key_Return);
        QTest::mouseClick(dialog.DayNames()->viewport(), Qt::LeftButton); // the month memo loses the focus
        QString name;
        dialog.ExampleCalendar()->GetMonthName(10, name);
        QCOMPARE(name, QStringLiteral("M10"));
        dialog.ExampleCalendar()->GetMonthName(11, name);
        QCOMPARE(name, QStringLiteral("November"));
        dialog.DayNames()->setPlainText(QStringLiteral("Su\nMo\nTu\nWe\nTh\nFr"));
        QTest::keyClick(dialog.DayNames(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(dialog.DayNames(), Qt::Key_Return);
        QTest::mouseClick(dialog.MonthNames()->viewport(), Qt::LeftButton);
        dialog.ExampleCalendar()->GetDayName(6, name);
        QCOMPARE(name, QStringLiteral("Fr"));
        dialog.ExampleCalendar()->GetDayName(7, name);
        QCOMPARE(name, QStringLiteral("Saturday"));
    }

    // A style-sheet name typed without an extension gets ".KVS".
    void styleSheetNameGetsItsExtension()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarProperties dialog;
        open(dialog);
        prompts.saveFiles = {folder() + QStringLiteral("Plain")};
        QTest::mouseClick(dialog.Button("SaveStyleButton"), Qt::LeftButton);
        QVERIFY(prompts.messages.isEmpty());
        QVERIFY(QFile::exists(folder() + QStringLiteral("Plain.KVS")));
        QVERIFY(!QFile::exists(folder() + QStringLiteral("Plain")));
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
    }

    void marginEntries_data()
    {
        QTest::addColumn<float>("inches");
        QTest::addColumn<int>("entry");
        QTest::newRow("0.3") << 0.3f << 0;
        QTest::newRow("0.5") << 0.5f << 1;
        QTest::newRow("0.74") << 0.74f << 1;
        QTest::newRow("0.75") << 0.75f << 2;
        QTest::newRow("1") << 1.0f << 3;
        QTest::newRow("1.25") << 1.25f << 4;
        QTest::newRow("1.49") << 1.49f << 4;
        QTest::newRow("1.5") << 1.5f << 5;
        QTest::newRow("2") << 2.0f << 5;
    }

    void marginEntries()
    {
        QFETCH(float, inches);
        QFETCH(int, entry);
        QCOMPARE(TCalendarProperties::MarginIndex(inches), entry);
    }

    // The controls open on the example's own settings.
    void controlsShowTheExample()
    {
        TCalendarProperties dialog;
        TCalendarPanel32* example = dialog.ExampleCalendar();
        example->ResetToNew();
        example->SetCalendarLayout(loFullCalendar);
        example->SetPaperSize(1);
        example->SetDayName(7, QStringLiteral("Sat"));
        example->SetMonthName(12, QStringLiteral("Dez"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.LayoutList()->currentRow(), 0);
        QCOMPARE(dialog.Orientation()->checkedId(), 0);
        QCOMPARE(dialog.Paper()->checkedId(), 1);
        QCOMPARE(example->CalendarLayout(), loFullCalendar);
        QCOMPARE(example->PaperSize(), 1);
        QCOMPARE(dialog.MonthNames()->toPlainText().split(u'\n').size(), 12);
        QCOMPARE(dialog.MonthNames()->toPlainText().split(u'\n').last(), QStringLiteral("Dez"));
        QCOMPARE(dialog.DayNames()->toPlainText().split(u'\n').last(), QStringLiteral("Sat"));

        // All seven day names typed in are taken, Saturday too.
        dialog.DayNames()->setPlainText(QStringLiteral("So\nMo\nDi\nMi\nDo\nFr\nSa"));
        dialog.ApplyDayNames();
        QString name;
        example->GetDayName(7, name);
        QCOMPARE(name, QStringLiteral("Sa"));
    }

    // After the default style the controls still change the example.
    void defaultStyleLeavesTheControlsLive()
    {
        TCalendarProperties dialog;
        open(dialog);
        chooseLayout(dialog, 5);
        QTest::mouseClick(dialog.Button("DefaultStyleButton"), Qt::LeftButton);
        QCOMPARE(dialog.ExampleCalendar()->CalendarLayout(), loFCMinisInTitleLS);
        QCOMPARE(dialog.LayoutList()->currentRow(), 1);
        for (QCheckBox* box : {dialog.ShowYearInTitle(), dialog.ShowYearInMiniTitle()}) {
            QVERIFY(box->isChecked());
            box->click();
        }
        QVERIFY(!dialog.ExampleCalendar()->TitleShowYear());
        QVERIFY(!dialog.ExampleCalendar()->MiniShowYear());
        chooseLayout(dialog, 8);
        QCOMPARE(dialog.ExampleCalendar()->CalendarLayout(), loMC60MonthLS);
        // The largest mini-calendar page still has its mini calendars' controls.
        QVERIFY(dialog.ShowYearInMiniTitle()->isEnabledTo(&dialog));
        QVERIFY(dialog.MiniHeaderStyleCombo()->isEnabledTo(&dialog));
        QVERIFY(!dialog.LineLayoutCombo()->isEnabledTo(&dialog));
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
        // Opened at exactly 100%, as the remembered zoom gives it, the example zooms in no further.
        TCalendarProperties full;
        full.ExampleCalendar()->SetZoom(1.0f);
        open(full);
        QTest::mouseClick(full.Button("ZoomInButton"), Qt::LeftButton);
        QCOMPARE(full.ZoomLabel()->text(), QStringLiteral("100%"));
        QCOMPARE(full.ExampleCalendar()->Zoom(), 1.0f);
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

    // Every page is named beside the notebook without scrolling, and a click on its name shows it.
    void everyPageFitsTheDialog()
    {
        TCalendarProperties dialog;
        open(dialog);
        QListWidget* names = dialog.PageList();
        QCOMPARE(names->count(), 9);
        QCOMPARE(names->item(2)->text(), QStringLiteral("Fonts & Colors"));
        const QString shots = qEnvironmentVariable("DATORIA_SCREENSHOTS");
        for (int i = dialog.Notebook()->count() - 1; i >= 0; --i) {
            const QRect name = names->visualItemRect(names->item(i));
            QVERIFY2(names->viewport()->rect().contains(name), qPrintable(names->item(i)->text()));
            QTest::mouseClick(names->viewport(), Qt::LeftButton, {}, name.center());
            QCOMPARE(dialog.Notebook()->currentIndex(), i);
            QWidget* page = dialog.Notebook()->currentWidget();
            QVERIFY(page->isVisible());
            if (!shots.isEmpty())
                dialog.grab().save(shots + QStringLiteral("/properties-%1.png").arg(i));
            QVERIFY2(page->sizeHint().width() <= page->width() + 1,
                     qPrintable(dialog.Notebook()->tabText(i)));
        }
    }
};

QTEST_MAIN(TestCalendarProperties)
#include "tst_calendarproperties.moc"
