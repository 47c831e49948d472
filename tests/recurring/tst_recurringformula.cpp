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

    void buildingTheLaterKinds()
    {
        QCOMPARE(BuildEasterOffset(39, false), QStringLiteral("#EASTER+39"));
        QCOMPARE(BuildEasterOffset(-47, false), QStringLiteral("#EASTER-47"));
        QCOMPARE(BuildEasterOffset(0, false), QStringLiteral("#EASTER"));
        QCOMPARE(BuildEasterOffset(50, true), QStringLiteral("#ORTHO+50"));
        QCOMPARE(BuildEasterOffset(-150, true), QStringLiteral("#ORTHO-99")); // ten characters at most
        QCOMPARE(BuildOnOrAfter(6, 20, 6), QStringLiteral(">60620"));
        QCOMPARE(BuildOnOrAfter(1, 5, 0), QStringLiteral(">10005"));
        for (const char* formula : {"#EASTER+39", "#EASTER-47", "#ORTHO", "#ORTHO-2", "#EASTER+9"}) {
            const auto f = ParseEasterOffset(QLatin1String(formula));
            QVERIFY2(f, formula);
            QCOMPARE(BuildEasterOffset(f->offset, f->orthodox), QLatin1String(formula));
        }
        const auto goodFriday = ParseEasterOffset(QStringLiteral(" #goodfriday "));
        QVERIFY(goodFriday && goodFriday->offset == -2 && !goodFriday->orthodox);
        QCOMPARE(ParseEasterOffset(QStringLiteral("#PALMSUNDAY"))->offset, -7);
        QVERIFY(!ParseEasterOffset(QStringLiteral("#PALMSUNDAY"))->orthodox);
        QVERIFY(!ParseEasterOffset(QStringLiteral("#XMAS")));
        QVERIFY(!ParseEasterOffset(QStringLiteral("@0101")));
        const auto midsummer = ParseOnOrAfter(QStringLiteral(">60620"));
        QVERIFY(midsummer);
        QCOMPARE(midsummer->weekday, 6);
        QCOMPARE(midsummer->month, 6);
        QCOMPARE(midsummer->day, 20);
        QVERIFY(IsOriginalBuiltIn(QStringLiteral("#PALMSUNDAY ")));
        QVERIFY(!IsOriginalBuiltIn(QStringLiteral("#EASTER+1")));
    }

    void orthodoxEaster_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QDate>("easter");
        QTest::newRow("2000") << 2000 << QDate(2000, 4, 30);
        QTest::newRow("2010, with the Western") << 2010 << QDate(2010, 4, 4);
        QTest::newRow("2021") << 2021 << QDate(2021, 5, 2);
        QTest::newRow("2023") << 2023 << QDate(2023, 4, 16);
        QTest::newRow("2024") << 2024 << QDate(2024, 5, 5);
        QTest::newRow("2100, the calendars 14 days apart") << 2100 << QDate(2100, 5, 2);
    }
    void orthodoxEaster()
    {
        QFETCH(int, year);
        QFETCH(QDate, easter);
        QCOMPARE(OrthodoxEaster(year), easter);
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
        QTest::newRow("Good Friday stays wordless") << QStringLiteral("#GOODFRIDAY") << QString();
        QTest::newRow("Ascension") << QStringLiteral("#EASTER+39") << QStringLiteral("39 days after Easter");
        QTest::newRow("Carnival") << QStringLiteral("#EASTER-47") << QStringLiteral("47 days before Easter");
        QTest::newRow("one day") << QStringLiteral("#EASTER+1") << QStringLiteral("1 day after Easter");
        QTest::newRow("Orthodox Easter") << QStringLiteral("#ORTHO") << QStringLiteral("Orthodox Easter");
        QTest::newRow("Clean Monday")
            << QStringLiteral("#ORTHO-48") << QStringLiteral("48 days before Orthodox Easter");
        QTest::newRow("offset without digits") << QStringLiteral("#EASTER+") << QString();
        QTest::newRow("offset of three digits") << QStringLiteral("#EASTER+100") << QString();
        QTest::newRow("offset without sign") << QStringLiteral("#EASTER39") << QString();
        QTest::newRow("offset with a letter") << QStringLiteral("#EASTER+3x") << QString();
        QTest::newRow("Midsummer") << QStringLiteral(">60620")
                                   << QStringLiteral("Sat on or after 20th of June");
        QTest::newRow("Victoria Day")
            << QStringLiteral(">10518") << QStringLiteral("Mon on or after 18th of May");
        QTest::newRow("every month") << QStringLiteral(">50001")
                                     << QStringLiteral("Fri on or after 1st of Each Month");
        QTest::newRow("weekday 7") << QStringLiteral(">70620") << QString();
        QTest::newRow("month 13") << QStringLiteral(">11301") << QString();
        QTest::newRow("day 0") << QStringLiteral(">10600") << QString();
        QTest::newRow("day 32") << QStringLiteral(">10632") << QString();
        QTest::newRow("short") << QStringLiteral(">106") << QString();
        QTest::newRow("equinox") << QStringLiteral("#EQUINOX09") << QStringLiteral("September equinox");
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
        QTest::newRow("5th Wednesday on the last day, July 2024")
            << QStringLiteral("$4 3 0 ") << 7 << 2024 << QList<int>{31};
        QTest::newRow("last day of February 2024")
            << QStringLiteral("$5 7 2 ") << 2 << 2024 << QList<int>{29};
        QTest::newRow("last day of February 2023")
            << QStringLiteral("$5 7 2 ") << 2 << 2023 << QList<int>{28};
        QTest::newRow("1st day") << QStringLiteral("$0 7 0 ") << 5 << 2023 << QList<int>{1};
        QTest::newRow("3rd day") << QStringLiteral("$2 7 0 ") << 5 << 2023 << QList<int>{3};
        QTest::newRow("5th day") << QStringLiteral("$4 7 0 ") << 5 << 2023 << QList<int>{5};
        // Occurrences no dialog makes, from a damaged store: no day rather than a made-up one.
        QTest::newRow("7th day is no occurrence") << QStringLiteral("$6 7 0 ") << 5 << 2023 << QList<int>{};
        QTest::newRow("negative occurrence of a day")
            << QStringLiteral("$-17 0 ") << 5 << 2023 << QList<int>{};
        QTest::newRow("Thanksgiving 2024") << QStringLiteral("$3 4 11") << 11 << 2024 << QList<int>{28};
        QTest::newRow("last Sunday of October 2024")
            << QStringLiteral("$5 0 10") << 10 << 2024 << QList<int>{27};
        QTest::newRow("weekends of February 2024")
            << QStringLiteral("%17") << 2 << 2024 << QList<int>{3, 4, 10, 11, 17, 18, 24, 25};
        QTest::newRow("weekends of March 2024, to the last day")
            << QStringLiteral("%17") << 3 << 2024 << QList<int>{2, 3, 9, 10, 16, 17, 23, 24, 30, 31};
        QTest::newRow("Easter 2024") << QStringLiteral("#EASTER") << 3 << 2024 << QList<int>{31};
        QTest::newRow("Easter, lower case with blanks")
            << QStringLiteral(" #easter ") << 3 << 2024 << QList<int>{};
        QTest::newRow("Good Friday 2024") << QStringLiteral("#GOODFRIDAY") << 3 << 2024 << QList<int>{29};
        QTest::newRow("Palm Sunday in April 2024")
            << QStringLiteral("#PALMSUNDAY") << 4 << 2024 << QList<int>{};
        QTest::newRow("unknown word") << QStringLiteral("#XMAS") << 12 << 2024 << QList<int>{};
        QTest::newRow("Ascension 2024") << QStringLiteral("#EASTER+39") << 5 << 2024 << QList<int>{9};
        QTest::newRow("Whit Monday 2024") << QStringLiteral("#EASTER+50") << 5 << 2024 << QList<int>{20};
        QTest::newRow("Corpus Christi 2024") << QStringLiteral("#EASTER+60") << 5 << 2024 << QList<int>{30};
        QTest::newRow("Carnival 2024") << QStringLiteral("#EASTER-47") << 2 << 2024 << QList<int>{13};
        QTest::newRow("Ascension not in April") << QStringLiteral("#EASTER+39") << 4 << 2024 << QList<int>{};
        QTest::newRow("99 days before Easter 2024 is in 2023")
            << QStringLiteral("#EASTER-99") << 12 << 2023 << QList<int>{23};
        QTest::newRow("... and not in December 2024")
            << QStringLiteral("#EASTER-99") << 12 << 2024 << QList<int>{};
        QTest::newRow("Orthodox Easter 2024") << QStringLiteral("#ORTHO") << 5 << 2024 << QList<int>{5};
        QTest::newRow("Clean Monday 2024") << QStringLiteral("#ORTHO-48") << 3 << 2024 << QList<int>{18};
        QTest::newRow("Orthodox Whit Monday 2024")
            << QStringLiteral("#ORTHO+50") << 6 << 2024 << QList<int>{24};
        QTest::newRow("Midsummer Day 2024") << QStringLiteral(">60620") << 6 << 2024 << QList<int>{22};
        QTest::newRow("Midsummer Eve 2024") << QStringLiteral(">50619") << 6 << 2024 << QList<int>{21};
        QTest::newRow("on the day itself") << QStringLiteral(">60620") << 6 << 2026 << QList<int>{20};
        QTest::newRow("Victoria Day 2024") << QStringLiteral(">10518") << 5 << 2024 << QList<int>{20};
        QTest::newRow("Victoria Day 2025") << QStringLiteral(">10518") << 5 << 2025 << QList<int>{19};
        QTest::newRow("into the next month") << QStringLiteral(">10628") << 7 << 2024 << QList<int>{1};
        QTest::newRow("... and not in its own") << QStringLiteral(">10628") << 6 << 2024 << QList<int>{};
        QTest::newRow("into the next year") << QStringLiteral(">11229") << 1 << 2023 << QList<int>{2};
        QTest::newRow("... and not in December") << QStringLiteral(">11229") << 12 << 2022 << QList<int>{};
        QTest::newRow("every month, two in one, across the year end")
            << QStringLiteral(">10026") << 1 << 2024 << QList<int>{1, 29}; // from 26 December and 26 January
        QTest::newRow("a 31st the month lacks") << QStringLiteral(">10031") << 4 << 2024 << QList<int>{1};
        QTest::newRow("unreadable on-or-after") << QStringLiteral(">9x620") << 6 << 2024 << QList<int>{};
        QTest::newRow("March equinox 2024") << QStringLiteral("#EQUINOX03") << 3 << 2024 << QList<int>{20};
        QTest::newRow("September equinox 2024")
            << QStringLiteral("#EQUINOX09") << 9 << 2024 << QList<int>{22};
        QTest::newRow("September equinox 2025")
            << QStringLiteral("#EQUINOX09") << 9 << 2025 << QList<int>{23};
        QTest::newRow("March equinox 1960") << QStringLiteral("#EQUINOX03") << 3 << 1960 << QList<int>{20};
        QTest::newRow("March equinox 1979") << QStringLiteral("#EQUINOX03") << 3 << 1979 << QList<int>{21};
        QTest::newRow("September equinox 1975")
            << QStringLiteral("#EQUINOX09") << 9 << 1975 << QList<int>{24};
        QTest::newRow("September equinox 1960")
            << QStringLiteral("#EQUINOX09") << 9 << 1960 << QList<int>{23};
        QTest::newRow("March equinox 2100") << QStringLiteral("#EQUINOX03") << 3 << 2100 << QList<int>{20};
        QTest::newRow("September equinox 2099")
            << QStringLiteral("#EQUINOX09") << 9 << 2099 << QList<int>{23};
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
