#include "recurring/HolidaySets.h"
#include "recurring/RecurringDateLists.h"
#include "recurring/RecurringStore.h"
#include "recurring/TEditRecurringDateFormula.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace recurring;

namespace {} // namespace

class TestRecurringDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void formulaDialogStartsOnDayOfMonth()
    {
        TEditRecurringDateFormula dialog;
        QVERIFY(dialog.DayOfMonthButton()->isChecked());
        QVERIFY(dialog.DayOfMonthButton()->font().bold());
        QVERIFY(!dialog.SpecialOccurrance()->isEnabled());
        QVERIFY(!dialog.Weekday(1)->isEnabled());
        QVERIFY(dialog.Weekday(1)->isChecked() && !dialog.Weekday(0)->isChecked());
        QCOMPARE(dialog.Formula(), QStringLiteral("@"));
    }

    void buildingFormulas()
    {
        testsupport::ScriptedPrompts prompts;
        TEditRecurringDateFormula dialog;
        dialog.DayOfWeekButton()->click();
        QVERIFY(dialog.Weekday(0)->isEnabled());
        QVERIFY(dialog.DayOfWeekButton()->font().bold());
        QVERIFY(!dialog.DayOfMonthButton()->font().bold());
        dialog.AllDays()->click(); // all on
        dialog.AllDays()->click(); // all off
        QVERIFY(!dialog.Weekday(3)->isChecked());
        QVERIFY(!dialog.DetermineFormulaString());
        QCOMPARE(prompts.messages, QStringList{QStringLiteral(
                                       "You must select at least one day for this \nreminder to occur on")});
        for (int i : {0, 3, 6})
            dialog.Weekday(i)->setChecked(true);
        QVERIFY(dialog.DetermineFormulaString());
        QCOMPARE(dialog.Formula(), QStringLiteral("%147"));

        dialog.SpecialButton()->click();
        dialog.SpecialOccurrance()->setCurrentIndex(3);
        dialog.SpecialDayOfWeek()->setCurrentIndex(4);
        dialog.SpecialMonth()->setCurrentIndex(11);
        QVERIFY(dialog.DetermineFormulaString());
        QCOMPARE(dialog.Formula(), QStringLiteral("$3 4 11"));

        dialog.DayOfMonthButton()->click();
        dialog.DayOfMonthDay()->setValue(4);
        dialog.DayOfMonthMonth()->setCurrentIndex(7);
        QVERIFY(dialog.DetermineFormulaString());
        QCOMPARE(dialog.Formula(), QStringLiteral("@0704"));
    }

    void loadingFormulas()
    {
        TEditRecurringDateFormula dialog;
        dialog.SetFormula(QStringLiteral("%"));
        dialog.SetEmUp();
        QVERIFY(dialog.DayOfWeekButton()->isChecked());
        for (int i = 0; i < 7; ++i)
            QVERIFY(!dialog.Weekday(i)->isChecked());
        dialog.SetFormula(QStringLiteral("$5 7 2 "));
        dialog.SetEmUp();
        QVERIFY(dialog.SpecialButton()->isChecked());
        QCOMPARE(dialog.SpecialOccurrance()->currentText(), QStringLiteral("Last"));
        QCOMPARE(dialog.SpecialDayOfWeek()->currentText(), QStringLiteral("Day (any day)"));
        QCOMPARE(dialog.SpecialMonth()->currentIndex(), 2);
        // A formula that does not parse leaves the controls as they are.
        dialog.SetFormula(QStringLiteral("@zz"));
        dialog.SetEmUp();
        QVERIFY(dialog.SpecialButton()->isChecked());
    }

    void buildingAndLoadingTheLaterKinds()
    {
        testsupport::ScriptedPrompts prompts;
        TEditRecurringDateFormula dialog;
        QVERIFY(!dialog.EasterDays()->isEnabled());
        dialog.EasterButton()->click();
        QVERIFY(dialog.EasterDays()->isEnabled() && dialog.EasterFeast()->isEnabled());
        QVERIFY(!dialog.DayOfMonthDay()->isEnabled() && !dialog.OnOrAfterDay()->isEnabled());
        QVERIFY(dialog.EasterButton()->font().bold());
        dialog.EasterDays()->setValue(39);
        QVERIFY(dialog.DetermineFormulaString());
        QCOMPARE(dialog.Formula(), QStringLiteral("#EASTER+39"));
        dialog.EasterDirection()->setCurrentIndex(1);
        dialog.EasterFeast()->setCurrentIndex(1);
        dialog.EasterDays()->setValue(48);
        QVERIFY(dialog.DetermineFormulaString());
        QCOMPARE(dialog.Formula(), QStringLiteral("#ORTHO-48"));
        dialog.EasterDays()->setValue(0);
        QVERIFY(dialog.DetermineFormulaString());
        QCOMPARE(dialog.Formula(), QStringLiteral("#ORTHO"));

        dialog.OnOrAfterButton()->click();
        QVERIFY(dialog.OnOrAfterWeekday()->isEnabled() && !dialog.EasterDays()->isEnabled());
        dialog.OnOrAfterWeekday()->setCurrentIndex(6);
        dialog.OnOrAfterDay()->setValue(20);
        dialog.OnOrAfterMonth()->setCurrentIndex(6);
        QVERIFY(dialog.DetermineFormulaString());
        QCOMPARE(dialog.Formula(), QStringLiteral(">60620"));
        // The first entries of both lists: the Sunday on or after the 1st of each month.
        dialog.OnOrAfterWeekday()->setCurrentIndex(0);
        dialog.OnOrAfterDay()->setValue(1);
        dialog.OnOrAfterMonth()->setCurrentIndex(0);
        QVERIFY(dialog.DetermineFormulaString());
        QCOMPARE(dialog.Formula(), QStringLiteral(">00001"));
        QVERIFY(prompts.messages.isEmpty());

        dialog.SetFormula(QStringLiteral("#EASTER-47"));
        dialog.SetEmUp();
        QVERIFY(dialog.EasterButton()->isChecked());
        QCOMPARE(dialog.EasterDays()->value(), 47);
        QCOMPARE(dialog.EasterDirection()->currentIndex(), 1);
        QCOMPARE(dialog.EasterFeast()->currentIndex(), 0);
        dialog.SetFormula(QStringLiteral(">10518"));
        dialog.SetEmUp();
        QVERIFY(dialog.OnOrAfterButton()->isChecked());
        QCOMPARE(dialog.OnOrAfterWeekday()->currentIndex(), 1);
        QCOMPARE(dialog.OnOrAfterDay()->value(), 18);
        QCOMPARE(dialog.OnOrAfterMonth()->currentIndex(), 5);
        // An unreadable one leaves the controls as they are.
        dialog.SetFormula(QStringLiteral(">9x518"));
        dialog.SetEmUp();
        QVERIFY(dialog.OnOrAfterButton()->isChecked());
        QCOMPARE(dialog.OnOrAfterDay()->value(), 18);
    }

    // Easter offsets and on-or-after dates can be edited; the equinoxes, like the Easter words, cannot.
    void editingTheLaterKinds_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<bool>("editable");
        QTest::newRow("Ascension") << "#EASTER+39" << true;
        QTest::newRow("Clean Monday") << "#ORTHO-48" << true;
        QTest::newRow("Midsummer") << ">60620" << true;
        QTest::newRow("equinox") << "#EQUINOX03" << false;
        QTest::newRow("Good Friday") << "#GOODFRIDAY" << false;
    }
    void editingTheLaterKinds()
    {
        QFETCH(QString, formula);
        QFETCH(bool, editable);
        testsupport::ScriptedPrompts prompts;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KVRECUR.DAX"));
        QVERIFY(WriteStore(path, {HolidayLine(QStringLiteral("Feast"), formula)}));
        TEditRecurringDates dialog(path);
        QString loaded;
        if (editable) {
            testsupport::WhenDialogOpens(this, [&loaded](QWidget* modal) {
                auto* edit = qobject_cast<TEditRecurringDateFormula*>(modal);
                QVERIFY(edit);
                loaded = edit->Formula();
                edit->reject();
            });
        }
        dialog.EditDate();
        QCOMPARE(loaded.trimmed(), editable ? formula : QString());
        QCOMPARE(prompts.messages,
                 editable ? QStringList() : QStringList{QStringLiteral("This entry cannot be edited")});
        if (!editable)
            return;
        // Cancel leaves the line as it was, whatever was typed; Ok replaces it with the edited line.
        auto answer = [this](const char* button) {
            testsupport::WhenDialogOpens(this, [button](QWidget* modal) {
                auto* edit = qobject_cast<TEditRecurringDateFormula*>(modal);
                QVERIFY(edit);
                edit->SetDescription(QStringLiteral("Renamed"));
                QTest::mouseClick(edit->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
            });
        };
        answer("CancelButton");
        dialog.EditDate();
        QCOMPARE(dialog.Lines(), QStringList{HolidayLine(QStringLiteral("Feast"), formula)});
        answer("OkButton");
        dialog.EditDate();
        QCOMPARE(dialog.Lines().size(), 1);
        QCOMPARE(LineDescription(dialog.Lines().first()), QStringLiteral("Renamed"));
        QCOMPARE(LineFormula(dialog.Lines().first()).trimmed(), formula);
        QCOMPARE(dialog.SelectedLine(), dialog.Lines().first());
    }

    // "Add Holidays of..." adds a country's set, chosen, without repeating what the list has.
    void addHolidaysOfACountry()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KVRECUR.DAX"));
        TEditRecurringDates edit(path);
        QStringList offered;
        testsupport::WhenDialogOpens(this, [&offered](QWidget* modal) {
            auto* holidays = qobject_cast<TGetHolidays*>(modal);
            QVERIFY(holidays);
            QCOMPARE(holidays->List()->count(), 26);
            for (int i = 0; i < holidays->List()->count(); ++i)
                offered.append(holidays->List()->item(i)->text());
            testsupport::WhenDialogOpens(holidays, [](QWidget* inner) {
                auto* countries = qobject_cast<TChooseHolidayCountry*>(inner);
                QVERIFY(countries);
                QListWidget* list = countries->Countries();
                QCOMPARE(list->item(0)->text(), QStringLiteral("Argentina (AR)"));
                const QList<QListWidgetItem*> germany =
                    list->findItems(QStringLiteral("Germany (DE)"), Qt::MatchExactly);
                QCOMPARE(germany.size(), 1);
                const QRect row = list->visualItemRect(germany.first());
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
            });
            QTest::mouseClick(holidays->findChild<QPushButton*>(QStringLiteral("CountryButton")),
                              Qt::LeftButton);
            // Germany's New Year's Day, Good Friday and Christmas Day are the table's own lines.
            QCOMPARE(holidays->List()->count(), 26 + 6);
            // The country's holidays take their places in the sorted list.
            QStringList shown;
            for (int i = 0; i < holidays->List()->count(); ++i)
                shown.append(holidays->List()->item(i)->text());
            QStringList sorted = shown;
            std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
                return a.compare(b, Qt::CaseInsensitive) < 0;
            });
            QCOMPARE(shown, sorted);
            QCOMPARE(holidays->Chosen().size(), 9);
            QVERIFY(holidays->Chosen().contains(
                HolidayLine(QStringLiteral("Whit Monday"), QStringLiteral("#EASTER+50"))));
            QTest::mouseClick(holidays->findChild<QPushButton*>(QStringLiteral("okbutton")), Qt::LeftButton);
        });
        edit.AddHolidays();
        for (const char* row :
             {"April Fools' Day (1st of April)", "Daylight Saving Time begins (2nd Sun of March)",
              "Daylight Saving Time ends (1st Sun of November)"})
            QVERIFY2(offered.contains(QLatin1String(row)), row);
        QCOMPARE(edit.Lines().size(), 9);
        QVERIFY(edit.Save());
        QCOMPARE(ReadStore(path).size(), 9);
    }

    // Cancel in the country list adds no country, whichever row was chosen.
    void cancelledCountryAddsNothing()
    {
        TGetHolidays holidays;
        const int before = holidays.List()->count();
        testsupport::WhenDialogOpens(&holidays, [](QWidget* inner) {
            auto* countries = qobject_cast<TChooseHolidayCountry*>(inner);
            QVERIFY(countries);
            countries->Countries()->setCurrentRow(3);
            QTest::mouseClick(countries->findChild<QPushButton*>(QStringLiteral("CancelButton")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(holidays.findChild<QPushButton*>(QStringLiteral("CountryButton")), Qt::LeftButton);
        QCOMPARE(holidays.List()->count(), before);
    }

    void editDialog()
    {
        testsupport::ScriptedPrompts prompts;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KVRECUR.DAX"));
        // A line of the daylight saving rules before 2007 stays beside today's.
        const QString oldRule =
            HolidayLine(QStringLiteral("Daylight Savings time begins"), QStringLiteral("$0 0 4"));
        QVERIFY(WriteStore(path, {oldRule, MakeLine(QStringLiteral("Apple day"), QStringLiteral("%2"))}));
        TEditRecurringDates dialog(path);
        // Sorted without regard to case; the first line selected.
        QCOMPARE(LineDescription(dialog.Lines().first()), QStringLiteral("Apple day"));
        QCOMPARE(dialog.SelectedLine(), dialog.Lines().first());

        // Holidays: all of them, twice; each is in the list once.
        for (int round = 0; round < 2; ++round) {
            testsupport::WhenDialogOpens(this, [](QWidget* modal) {
                modal->findChild<QPushButton*>(QStringLiteral("AllButton"))->click();
                modal->findChild<QPushButton*>(QStringLiteral("okbutton"))->click();
            });
            dialog.AddHolidays();
        }
        QCOMPARE(dialog.Lines().size(), 28);
        QVERIFY(dialog.Lines().contains(oldRule));

        // The Easter line cannot be edited.
        QListWidget* list = dialog.DatesList();
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->text().startsWith(QLatin1String("Easter")))
                list->setCurrentRow(i);
        }
        dialog.EditDate();
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("This entry cannot be edited")});

        // Cancel writes nothing; Ok writes the list.
        dialog.reject();
        QCOMPARE(ReadStore(path).size(), 2);
        QVERIFY(dialog.Save());
        QCOMPARE(ReadStore(path).size(), 28);

        // Delete takes the selected line out, and only that one.
        const QString apple = MakeLine(QStringLiteral("Apple day"), QStringLiteral("%2"));
        list->setCurrentRow(int(dialog.Lines().indexOf(apple)));
        QCOMPARE(dialog.SelectedLine(), apple);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("DeleteButton")), Qt::LeftButton);
        QCOMPARE(dialog.Lines().size(), 27);
        QVERIFY(!dialog.Lines().contains(apple));
    }

    // A store that cannot be written keeps the dialog open with its lines, and says so.
    void unwritableStoreKeepsTheDialog()
    {
        testsupport::ScriptedPrompts prompts;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gone/KVRECUR.DAX"));
        TEditRecurringDates dialog(path);
        dialog.show();
        testsupport::WhenDialogOpens(this, [](QWidget* modal) {
            auto* formula = qobject_cast<TEditRecurringDateFormula*>(modal);
            formula->SetDescription(QStringLiteral("Piano lesson"));
            formula->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
        });
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Newbutton")), Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okbutton")), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(dialog.Lines().size(), 1);
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("Unable to save ") + path});
    }

    void newDate()
    {
        QTemporaryDir dir;
        TEditRecurringDates dialog(dir.filePath(QStringLiteral("KVRECUR.DAX")));
        QVERIFY(dialog.Lines().isEmpty());
        testsupport::WhenDialogOpens(this, [](QWidget* modal) {
            auto* formula = qobject_cast<TEditRecurringDateFormula*>(modal);
            QVERIFY(formula);
            QCOMPARE(formula->windowTitle(), QStringLiteral("Add Recurring Date"));
            QCOMPARE(formula->Description(), QStringLiteral("[Enter event]"));
            formula->SetDescription(QStringLiteral("Piano lesson"));
            formula->DayOfWeekButton()->click();
            formula->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
        });
        dialog.NewDate();
        QCOMPARE(dialog.Lines().size(), 1);
        QCOMPARE(RowText(dialog.Lines().first()), QStringLiteral("Piano lesson (Mon,Tue,Wed,Thu,Fri)"));
        QCOMPARE(dialog.SelectedLine(), dialog.Lines().first());
    }

    void selectionDialog()
    {
        const QStringList lines = {MakeLine(QStringLiteral("b"), QStringLiteral("@0101")),
                                   MakeLine(QStringLiteral("a"), QStringLiteral("@0102"))};
        TSelectRecurringDates dialog(lines);
        dialog.show();
        QCOMPARE(dialog.Chosen(), lines); // all chosen, in the given order
        dialog.findChild<QPushButton*>(QStringLiteral("NoneButton"))->click();
        QVERIFY(dialog.Chosen().isEmpty());
        dialog.findChild<QPushButton*>(QStringLiteral("okbutton"))->click();
        QVERIFY(dialog.isVisible()); // Ok with nothing chosen only beeps
        dialog.List()->item(1)->setSelected(true);
        dialog.findChild<QPushButton*>(QStringLiteral("okbutton"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Chosen(), QStringList{lines[1]});
    }
};

QTEST_MAIN(TestRecurringDialogs)
#include "tst_recurringdialogs.moc"
