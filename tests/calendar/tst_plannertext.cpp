#include "calendar/PlannerText.h"
#include "tests/support/TestEnvironment.h"

#include <QLocale>
#include <QTest>

using namespace calendar;

namespace {

MonthNames EnglishMonths()
{
    MonthNames names;
    for (int i = 1; i <= 12; ++i)
        names[size_t(i - 1)] = QLocale().monthName(i);
    return names;
}

DayNames EnglishDays()
{
    return {QStringLiteral("Sunday"),    QStringLiteral("Monday"),   QStringLiteral("Tuesday"),
            QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
            QStringLiteral("Saturday")};
}

} // namespace

class TestPlannerText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void weekTitle_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("title");
        QTest::newRow("one month") << QDate(1997, 12, 1) << 7 << QStringLiteral("December 1-7, 1997");
        QTest::newRow("two weeks, one month")
            << QDate(1997, 12, 1) << 14 << QStringLiteral("December 1-14, 1997");
        QTest::newRow("across months")
            << QDate(1997, 11, 28) << 7 << QStringLiteral("November 28 - December 4, 1997");
        QTest::newRow("across a year end")
            << QDate(1997, 12, 25) << 14 << QStringLiteral("December 25, 1997 - January 7, 1998");
    }
    void weekTitle()
    {
        QFETCH(QDate, first);
        QFETCH(int, days);
        QFETCH(QString, title);
        QCOMPARE(WeekPlannerTitle(first, days, EnglishMonths()), title);
    }

    void dayTitle()
    {
        QCOMPARE(DayPlannerTitle(QDate(1997, 12, 1), EnglishMonths(), EnglishDays()),
                 QStringLiteral("Monday, December 1, 1997"));
    }

    void weekRows()
    {
        const QList<PlannerRow> rows =
            WeekPlannerRows(QDate(1997, 12, 28), 7, dsThreeChars, EnglishMonths(), EnglishDays());
        QCOMPARE(rows.size(), 8);
        QCOMPARE(rows[0].first, QStringLiteral("Sun"));
        QCOMPARE(rows[0].second, QStringLiteral("28 Dec"));
        QCOMPARE(rows[4].first, QStringLiteral("Thu"));
        QCOMPARE(rows[4].second, QStringLiteral("1 Jan"));
        QCOMPARE(rows[7].first, QStringLiteral("Notes"));
        QVERIFY(rows[7].second.isEmpty());
        QCOMPARE(PlannerRowDay(rows[0].second), 28);
        QCOMPARE(PlannerRowDay(rows[4].second), 1);
        QCOMPARE(PlannerRowDay(rows[7].second), 0);
        QCOMPARE(PlannerRowDay(QStringLiteral("ab")), 0);

        const QList<PlannerRow> whole =
            WeekPlannerRows(QDate(1997, 12, 1), 14, dsWhole, EnglishMonths(), EnglishDays());
        QCOMPARE(whole.size(), 15);
        QCOMPARE(whole[0].first, QStringLiteral("Monday"));
        QCOMPARE(WeekPlannerRows(QDate(1997, 12, 1), 7, dsFirstChar, EnglishMonths(), EnglishDays())[0].first,
                 QStringLiteral("M"));
    }

    void dayRows_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("8 o'clock, 10 hours")
            << 8.0 / 24 << 10
            << QStringList{QStringLiteral("8:00 AM"),  QStringLiteral("9:00 AM"),  QStringLiteral("10:00 AM"),
                           QStringLiteral("11:00 AM"), QStringLiteral("12:00 PM"), QStringLiteral("1:00 PM"),
                           QStringLiteral("2:00 PM"),  QStringLiteral("3:00 PM"),  QStringLiteral("4:00 PM"),
                           QStringLiteral("5:00 PM"),  QStringLiteral("Notes")};
        QTest::newRow("half past, over midnight")
            << (21 * 60 + 30) / 1440.0 << 4
            << QStringList{QStringLiteral("9:30 PM"), QStringLiteral("10:30 PM"), QStringLiteral("11:30 PM"),
                           QStringLiteral("12:30 AM"), QStringLiteral("Notes")};
        QTest::newRow("negative start is midnight")
            << -0.25 << 1 << QStringList{QStringLiteral("12:00 AM"), QStringLiteral("Notes")};
    }
    void dayRows()
    {
        QFETCH(double, start);
        QFETCH(int, hours);
        QFETCH(QStringList, labels);
        QStringList got;
        for (const PlannerRow& row : DayPlannerRows(start, hours))
            got.append(row.first);
        QCOMPARE(got, labels);
    }

    // Fifteen hours of the slightly long minute constant must not push a row to the next minute.
    void fifteenHoursStayOnTheHour()
    {
        const QList<PlannerRow> rows = DayPlannerRows(7.0 / 24, 15);
        QCOMPARE(rows.size(), 16);
        QCOMPARE(rows[14].first, QStringLiteral("9:00 PM"));
    }
};

QTEST_GUILESS_MAIN(TestPlannerText)
#include "tst_plannertext.moc"
