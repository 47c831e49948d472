#include "calendar/DateRules.h"
#include "tests/support/TestEnvironment.h"

#include <QTest>

using namespace calendar;

class TestDateRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void daysInMonth_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("days");
        QTest::newRow("February 2000, divisible by 400") << 2000 << 2 << 29;
        QTest::newRow("February 1900, divisible by 100") << 1900 << 2 << 28;
        QTest::newRow("February 2004") << 2004 << 2 << 29;
        QTest::newRow("February 1997") << 1997 << 2 << 28;
        QTest::newRow("April") << 1997 << 4 << 30;
        QTest::newRow("December") << 1997 << 12 << 31;
        QTest::newRow("month 13") << 1997 << 13 << 0;
    }
    void daysInMonth()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, days);
        QCOMPARE(DaysInMonth(year, month), days);
    }

    void stepMonth_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("n");
        QTest::addColumn<MonthYear>("expected");
        QTest::newRow("back over a year end") << 1 << 1998 << -1 << MonthYear{12, 1997};
        QTest::newRow("thirteen forward") << 12 << 1997 << 13 << MonthYear{1, 1999};
        QTest::newRow("zero") << 5 << 2001 << 0 << MonthYear{5, 2001};
        QTest::newRow("six back") << 3 << 1998 << -6 << MonthYear{9, 1997};
        QTest::newRow("twelve back") << 3 << 1998 << -12 << MonthYear{3, 1997};
        QTest::newRow("25 back") << 1 << 2000 << -25 << MonthYear{12, 1997};
        QTest::newRow("59 forward") << 12 << 1997 << 59 << MonthYear{11, 2002};
    }
    void stepMonth()
    {
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(int, n);
        QFETCH(MonthYear, expected);
        QCOMPARE(StepMonth(month, year, n), expected);
    }

    // Cell n shows day n - p + 1: December 1997 starts on a Monday.
    void placement_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("startOfWeek");
        QTest::addColumn<int>("firstCell");
        QTest::addColumn<int>("lastCell");
        QTest::newRow("Dec 1997, Sunday first") << 12 << 1997 << 1 << 2 << 32;
        QTest::newRow("Dec 1997, Monday first") << 12 << 1997 << 2 << 1 << 31;
        // November 1997 starts on a Saturday; with 30 days...; August 1998 is a 31-day month starting
        // Saturday.
        QTest::newRow("Aug 1998, Sunday first, sixth row") << 8 << 1998 << 1 << 7 << 37;
        QTest::newRow("Aug 1998, Monday first") << 8 << 1998 << 2 << 6 << 36;
        QTest::newRow("start 0 is Monday first") << 8 << 1998 << 0 << 6 << 36;
        QTest::newRow("start 7 is Monday first") << 8 << 1998 << 7 << 6 << 36;
        QTest::newRow("Feb 2015 fills four rows") << 2 << 2015 << 1 << 1 << 28;
        QTest::newRow("Sunday in Monday-first week") << 6 << 1997 << 2 << 7 << 36;
    }
    void placement()
    {
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(int, startOfWeek);
        QFETCH(int, firstCell);
        QFETCH(int, lastCell);
        const int offset = MonthOffset(month, year, startOfWeek);
        const int days = DaysInMonth(year, month);
        for (int n = 1; n <= 42; ++n) {
            const int expected = n >= firstCell && n <= lastCell ? n - firstCell + 1 : 0;
            QCOMPARE(DayInCell(n, offset, days), expected);
        }
    }

    void headerColumns()
    {
        for (int c = 0; c < 7; ++c)
            QCOMPARE(HeaderDayIndex(c, 1), c + 1);
        const int mondayFirst[] = {2, 3, 4, 5, 6, 7, 1};
        for (int c = 0; c < 7; ++c)
            QCOMPARE(HeaderDayIndex(c, 2), mondayFirst[c]);
    }

    void dayOfWeekCountsFromSunday()
    {
        QCOMPARE(DayOfWeek(QDate(1997, 12, 7)), 1);
        QCOMPARE(DayOfWeek(QDate(1997, 12, 1)), 2);
        QCOMPARE(DayOfWeek(QDate(1997, 12, 6)), 7);
    }

    void clamping()
    {
        QCOMPARE(ClampMonthYear(13, 1997), (MonthYear{12, 1997}));
        QCOMPARE(ClampMonthYear(0, 0), (MonthYear{1, 1}));
        QCOMPARE(ClampMonthYear(5, 12000), (MonthYear{5, 9999}));
        QCOMPARE(ClampedDate(1997, 2, 30), QDate(1997, 2, 28));
        QCOMPARE(ClampedDate(1997, 12, 0), QDate(1997, 12, 1));
    }
};

QTEST_GUILESS_MAIN(TestDateRules)
#include "tst_daterules.moc"
