#include "recurring/RecurringFormula.h"
#include "tests/support/TestEnvironment.h"

#include <QTest>

using namespace recurring;

class TestRecurringFormula : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void building()
    {
        QCOMPARE(BuildDayOfMonth(4, 7), QStringLiteral("@0704"));
        QCOMPARE(BuildDayOfMonth(31, 0), QStringLiteral("@0031"));
        QCOMPARE(BuildSpecial(3, 4, 11), QStringLiteral("$3 4 11"));
        QCOMPARE(BuildSpecial(5, 0, 10), QStringLiteral("$5 0 10"));
        const auto s = ParseSpecial(QStringLiteral("$3 4 11"));
        QVERIFY(s);
        QCOMPARE(s->occurrence, 3);
        QCOMPARE(s->weekday, 4);
        QCOMPARE(s->month, 11);
        QVERIFY(!ParseSpecial(QStringLiteral("$x 4 11")));
        QVERIFY(!ParseDayOfMonth(QStringLiteral("@07")));
    }

    void ordinals_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("text");
        for (auto [n, t] : {std::pair{1, "1st"},
                            {2, "2nd"},
                            {3, "3rd"},
                            {4, "4th"},
                            {11, "11th"},
                            {12, "12th"},
                            {13, "13th"},
                            {21, "21st"},
                            {22, "22nd"},
                            {23, "23rd"},
                            {31, "31st"},
                            {100, "100th"}})
            QTest::addRow("%d", n) << n << QString::fromLatin1(t);
    }
    void ordinals()
    {
        QFETCH(int, n);
        QFETCH(QString, text);
        QCOMPARE(Ordinal(n), text);
    }

    void descriptions_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("text");
        QTest::newRow("4th of July") << QStringLiteral("@0704") << QStringLiteral("4th of July");
        QTest::newRow("every month") << QStringLiteral("@0031") << QStringLiteral("31st of Each Month");
        QTest::newRow("Thanksgiving") << QStringLiteral("$3 4 11") << QStringLiteral("4th Thu of November");
        QTest::newRow("last Sunday") << QStringLiteral("$5 0 10") << QStringLiteral("Last Sun of October");
        QTest::newRow("last day") << QStringLiteral("$5 7 0 ") << QStringLiteral("Last Day Each Month");
        QTest::newRow("weekend") << QStringLiteral("%17") << QStringLiteral("Sun,Sat");
        QTest::newRow("unreadable") << QStringLiteral("@ab12") << QString();
        QTest::newRow("built-in") << QStringLiteral("#EASTER") << QString();
    }
    void descriptions()
    {
        QFETCH(QString, formula);
        QFETCH(QString, text);
        QCOMPARE(Describe(formula), text);
    }

    void easter_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QDate>("easter");
        QTest::addColumn<QDate>("goodFriday");
        QTest::addColumn<QDate>("palmSunday");
        QTest::newRow("2000") << 2000 << QDate(2000, 4, 23) << QDate(2000, 4, 21) << QDate(2000, 4, 16);
        QTest::newRow("2024") << 2024 << QDate(2024, 3, 31) << QDate(2024, 3, 29) << QDate(2024, 3, 24);
        QTest::newRow("1997") << 1997 << QDate(1997, 3, 30) << QDate(1997, 3, 28) << QDate(1997, 3, 23);
        QTest::newRow("2019") << 2019 << QDate(2019, 4, 21) << QDate(2019, 4, 19) << QDate(2019, 4, 14);
        // Beyond 2099 the century corrections matter: 2100 is a Sunday, not Saturday 27 March.
        QTest::newRow("2100") << 2100 << QDate(2100, 3, 28) << QDate(2100, 3, 26) << QDate(2100, 3, 21);
        QTest::newRow("1583, the first Gregorian Easter")
            << 1583 << QDate(1583, 4, 10) << QDate(1583, 4, 8) << QDate(1583, 4, 3);
        QTest::newRow("1818, earliest possible")
            << 1818 << QDate(1818, 3, 22) << QDate(1818, 3, 20) << QDate(1818, 3, 15);
        QTest::newRow("1943, latest possible")
            << 1943 << QDate(1943, 4, 25) << QDate(1943, 4, 23) << QDate(1943, 4, 18);
        QTest::newRow("9999") << 9999 << QDate(9999, 3, 28) << QDate(9999, 3, 26) << QDate(9999, 3, 21);
    }
    void easter()
    {
        QFETCH(int, year);
        QFETCH(QDate, easter);
        QFETCH(QDate, goodFriday);
        QFETCH(QDate, palmSunday);
        QCOMPARE(EasterSunday(year), easter);
        QCOMPARE(GoodFriday(year), goodFriday);
        QCOMPARE(PalmSunday(year), palmSunday);
    }

    void resolution_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<QList<int>>("days");
        QTest::newRow("4th of July") << QStringLiteral("@0704") << 7 << 2024 << QList<int>{4};
        QTest::newRow("4th of July in June") << QStringLiteral("@0704") << 6 << 2024 << QList<int>{};
        QTest::newRow("31st, a long month") << QStringLiteral("@0031") << 1 << 2024 << QList<int>{31};
        QTest::newRow("31st, a short month selects a day no cell has")
            << QStringLiteral("@0031") << 4 << 2024 << QList<int>{31};
        QTest::newRow("5th Monday, February 2024 has none")
            << QStringLiteral("$4 1 0 ") << 2 << 2024 << QList<int>{};
        QTest::newRow("5th Monday, July 2024") << QStringLiteral("$4 1 0 ") << 7 << 2024 << QList<int>{29};
        QTest::newRow("last day of February 2024")
            << QStringLiteral("$5 7 2 ") << 2 << 2024 << QList<int>{29};
        QTest::newRow("last day of February 2023")
            << QStringLiteral("$5 7 2 ") << 2 << 2023 << QList<int>{28};
        QTest::newRow("1st day") << QStringLiteral("$0 7 0 ") << 5 << 2023 << QList<int>{1};
        QTest::newRow("3rd day") << QStringLiteral("$2 7 0 ") << 5 << 2023 << QList<int>{3};
        QTest::newRow("Thanksgiving 2024") << QStringLiteral("$3 4 11") << 11 << 2024 << QList<int>{28};
        QTest::newRow("last Sunday of October 2024")
            << QStringLiteral("$5 0 10") << 10 << 2024 << QList<int>{27};
        QTest::newRow("weekends of February 2024")
            << QStringLiteral("%17") << 2 << 2024 << QList<int>{3, 4, 10, 11, 17, 18, 24, 25};
        QTest::newRow("Easter 2024") << QStringLiteral("#EASTER") << 3 << 2024 << QList<int>{31};
        QTest::newRow("Easter, lower case with blanks")
            << QStringLiteral(" #easter ") << 3 << 2024 << QList<int>{};
        QTest::newRow("Good Friday 2024") << QStringLiteral("#GOODFRIDAY") << 3 << 2024 << QList<int>{29};
        QTest::newRow("Palm Sunday in April 2024")
            << QStringLiteral("#PALMSUNDAY") << 4 << 2024 << QList<int>{};
        QTest::newRow("unknown word") << QStringLiteral("#XMAS") << 12 << 2024 << QList<int>{};
        QTest::newRow("unreadable") << QStringLiteral("$a b c") << 1 << 2024 << QList<int>{};
    }
    void resolution()
    {
        QFETCH(QString, formula);
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(QList<int>, days);
        QCOMPARE(Resolve(formula, month, year), days);
    }
};

QTEST_GUILESS_MAIN(TestRecurringFormula)
#include "tst_recurringformula.moc"
