#include "holidays/HolidayCalculator.h"
#include "holidays/HolidayDatabase.h"

#include <QTest>

using namespace holidays;

namespace {

const HolidayTypes kAllTypes = HolidayType::Public | HolidayType::Bank | HolidayType::School |
                               HolidayType::Optional | HolidayType::Observance;

/** "date name" lines, or "date name xN" for a holiday of N days. */
QStringList Lines(const QList<Holiday>& list)
{
    QStringList lines;
    for (const Holiday& holiday : list) {
        lines.append(holiday.date.toString(Qt::ISODate) + QLatin1Char(' ') + holiday.name +
                     (holiday.days > 1 ? QStringLiteral(" x%1").arg(holiday.days) : QString()));
    }
    return lines;
}

/** An area of rules "rule=type" named after their rule texts. */
AreaRules Area(const QStringList& rules)
{
    AreaRules area;
    area.code = QStringLiteral("XX");
    area.substituteNames = {{QStringLiteral("en"), QStringLiteral("substitute day")}};
    for (const QString& text : rules) {
        AreaRule rule;
        rule.rule = text.section(QLatin1Char('='), 0, 0);
        rule.type =
            text.contains(QLatin1Char('=')) ? text.section(QLatin1Char('='), 1) : QStringLiteral("public");
        rule.names = {{QStringLiteral("en"), rule.rule}};
        rule.substitute = rule.rule.startsWith(QLatin1String("substitutes"));
        area.rules.append(rule);
    }
    return area;
}

const HolidayDatabase& Database()
{
    static HolidayDatabase database;
    static const bool loaded =
        database.loadFile(QStringLiteral(DATORIA_SOURCE_DIR "/data/holidays/holidays.json"));
    Q_ASSERT(loaded);
    return database;
}

} // namespace

class tst_HolidayCalculator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ruleLanguage_data();
    void ruleLanguage();
    void ruleSettings();
    void countriesAndRegions_data();
    void countriesAndRegions();
    void listsCountriesAndRegions();
    void readsOnlyItsOwnFormat_data();
    void readsOnlyItsOwnFormat();
};

void tst_HolidayCalculator::ruleLanguage_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("expected");

    const auto row = [](const char* name, const QStringList& rules, int year, const QStringList& expected) {
        QTest::newRow(name) << rules << year << expected;
    };
    row("fixed date", {QStringLiteral("07-04")}, 2025, {QStringLiteral("2025-07-04 07-04")});
    row("one year only", {QStringLiteral("2024-05-07")}, 2025, {});
    row("past the month's end runs on", {QStringLiteral("02-29")}, 2025,
        {QStringLiteral("2025-03-01 02-29")});
    row("nth weekday in month", {QStringLiteral("1st monday in September")}, 2025,
        {QStringLiteral("2025-09-01 1st monday in September")});
    row("month name", {QStringLiteral("3rd monday in February")}, 2025,
        {QStringLiteral("2025-02-17 3rd monday in February")});
    row("weekday before a date", {QStringLiteral("monday before 06-01")}, 2025,
        {QStringLiteral("2025-05-26 monday before 06-01")});
    row("weekday before, not the day itself", {QStringLiteral("wednesday before 11-23")}, 2022,
        {QStringLiteral("2022-11-16 wednesday before 11-23")});
    row("weekday after, the day itself", {QStringLiteral("thursday after 11-22")}, 2029,
        {QStringLiteral("2029-11-22 thursday after 11-22")});
    row("chained weekdays", {QStringLiteral("Monday after 2nd saturday in June")}, 2025,
        {QStringLiteral("2025-06-16 Monday after 2nd saturday in June")});
    row("days before a lunar date", {QStringLiteral("1 day before chinese 01-0-01")}, 2025,
        {QStringLiteral("2025-01-28 1 day before chinese 01-0-01")});
    row("Easter", {QStringLiteral("easter -2"), QStringLiteral("easter 39")}, 2025,
        {QStringLiteral("2025-04-18 easter -2"), QStringLiteral("2025-05-29 easter 39")});
    row("Orthodox Easter", {QStringLiteral("orthodox 1")}, 2024, {QStringLiteral("2024-05-06 orthodox 1")});
    row("Julian calendar", {QStringLiteral("julian 12-25")}, 2025,
        {QStringLiteral("2025-01-07 julian 12-25")});
    row("substitute on the weekend only",
        {QStringLiteral("substitutes 01-01 if saturday,sunday then next monday")}, 2022,
        {QStringLiteral(
            "2022-01-03 substitutes 01-01 if saturday,sunday then next monday (substitute day)")});
    row("substitute not needed", {QStringLiteral("substitutes 01-01 if saturday,sunday then next monday")},
        2025, {});
    row("the day and its substitute",
        {QStringLiteral("12-25 and if saturday then next monday if sunday then next tuesday")}, 2021,
        {QStringLiteral("2021-12-25 12-25 and if saturday then next monday if sunday then next tuesday"),
         QStringLiteral("2021-12-27 12-25 and if saturday then next monday if sunday then next tuesday")});
    row("moved, not kept", {QStringLiteral("04-27 if sunday then previous saturday")}, 2025,
        {QStringLiteral("2025-04-26 04-27 if sunday then previous saturday")});
    row("moved over the turn of the year", {QStringLiteral("12-31 if friday then next monday")}, 2022,
        {QStringLiteral("2022-01-03 12-31 if friday then next monday"),
         QStringLiteral("2022-12-31 12-31 if friday then next monday")});
    row("not on some weekdays", {QStringLiteral("12-26 not on monday, friday")}, 2025, {});
    row("only on some weekdays", {QStringLiteral("12-26 on friday")}, 2025,
        {QStringLiteral("2025-12-26 12-26 on friday")});
    row("even years", {QStringLiteral("06-01 in even years")}, 2025, {});
    row("every n years", {QStringLiteral("06-01 every 4 years since 2021")}, 2025,
        {QStringLiteral("2025-06-01 06-01 every 4 years since 2021")});
    row("since", {QStringLiteral("10-04 since 2026")}, 2025, {});
    row("since, from that year", {QStringLiteral("10-04 since 2026")}, 2026,
        {QStringLiteral("2026-10-04 10-04 since 2026")});
    row("since and prior to", {QStringLiteral("02-20 since 2024 and prior to 2025")}, 2025, {});
    row("prior to a day", {QStringLiteral("05-01 prior to 2025-05-02")}, 2025,
        {QStringLiteral("2025-05-01 05-01 prior to 2025-05-02")});
    row("time of day", {QStringLiteral("12-24 14:00")}, 2025, {QStringLiteral("2025-12-24 12-24 14:00")});
    row("several days", {QStringLiteral("1 Shawwal P3D")}, 2025,
        {QStringLiteral("2025-03-30 1 Shawwal P3D x3")});
    row("Hebrew calendar", {QStringLiteral("10 Tishrei")}, 2025, {QStringLiteral("2025-10-02 10 Tishrei")});
    row("Hebrew Adar in a leap year", {QStringLiteral("14 AdarII")}, 2024,
        {QStringLiteral("2024-03-24 14 AdarII")});
    row("Persian calendar", {QStringLiteral("1 Farvardin")}, 2025,
        {QStringLiteral("2025-03-21 1 Farvardin")});
    row("Korean lunar calendar", {QStringLiteral("korean 08-0-15")}, 2025,
        {QStringLiteral("2025-10-06 korean 08-0-15")});
    row("solar term", {QStringLiteral("chinese 5-01 solarterm")}, 2025,
        {QStringLiteral("2025-04-04 chinese 5-01 solarterm")});
    row("equinox in a time zone", {QStringLiteral("march equinox in +09:00")}, 2025,
        {QStringLiteral("2025-03-20 march equinox in +09:00")});
    row("solstice in a named zone", {QStringLiteral("june solstice in America/Santiago")}, 2025,
        {QStringLiteral("2025-06-20 june solstice in America/Santiago")});
    row("Bengali calendar", {QStringLiteral("bengali-revised 9-2"), QStringLiteral("bengali-revised 12-3")},
        2024,
        {QStringLiteral("2024-03-17 bengali-revised 12-3"),
         QStringLiteral("2024-12-16 bengali-revised 9-2")});
    row("bridge day between holidays",
        {QStringLiteral("09-21"), QStringLiteral("09-23"),
         QStringLiteral("09-22 if 09-21 and 09-23 is public holiday")},
        2025,
        {QStringLiteral("2025-09-21 09-21"),
         QStringLiteral("2025-09-22 09-22 if 09-21 and 09-23 is public holiday"),
         QStringLiteral("2025-09-23 09-23")});
    row("no bridge without both holidays",
        {QStringLiteral("09-21"), QStringLiteral("09-22 if 09-21 and 09-23 is public holiday")}, 2025,
        {QStringLiteral("2025-09-21 09-21")});
    row("moved off another holiday",
        {QStringLiteral("05-05"), QStringLiteral("05-05 if is public holiday then next monday=bank")}, 2025,
        {QStringLiteral("2025-05-05 05-05"),
         QStringLiteral("2025-05-12 05-05 if is public holiday then next monday")});
    row("unknown words give nothing", {QStringLiteral("the 5th of November")}, 2025, {});
}

void tst_HolidayCalculator::ruleLanguage()
{
    QFETCH(QStringList, rules);
    QFETCH(int, year);
    QFETCH(QStringList, expected);
    const HolidayCalculator calculator(Area(rules));
    QCOMPARE(Lines(calculator.holidays(year, QStringLiteral("en"), kAllTypes)), expected);
}

void tst_HolidayCalculator::ruleSettings()
{
    // A disabled day gives way to the enabled one; a rule's own active period overrides its text.
    AreaRules area = Area({QStringLiteral("05-19"), QStringLiteral("06-01")});
    area.rules[0].disable = {QStringLiteral("2019-05-19"), QStringLiteral("2020")};
    area.rules[0].enable = {QStringLiteral("2019-05-18")};
    area.rules[1].active = {{QDate(2020, 1, 1), QDate(2021, 1, 1)}};
    const HolidayCalculator calculator(area);
    QCOMPARE(Lines(calculator.holidays(2019)), QStringList{QStringLiteral("2019-05-18 05-19")});
    QCOMPARE(Lines(calculator.holidays(2020)), QStringList{QStringLiteral("2020-06-01 06-01")});
    QCOMPARE(Lines(calculator.holidays(2021)), QStringList{QStringLiteral("2021-05-19 05-19")});
    // Types: public by default, the others on request.
    area = Area({QStringLiteral("02-14=observance"), QStringLiteral("12-24=bank")});
    const HolidayCalculator typed(area);
    QCOMPARE(typed.holidays(2025).size(), 0);
    QCOMPARE(Lines(typed.holidays(2025, {}, HolidayType::Bank)),
             QStringList{QStringLiteral("2025-12-24 12-24")});
    QCOMPARE(typed.holidays(2025, {}, kAllTypes).size(), 2);
}

void tst_HolidayCalculator::countriesAndRegions_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("absent");

    const auto row = [](const char* name, const char* code, int year, const char* language,
                        const char* present, const char* absent) {
        QTest::newRow(name) << QString::fromUtf8(code) << year << QString::fromUtf8(language)
                            << QString::fromUtf8(present) << QString::fromUtf8(absent);
    };
    row("US observed Monday", "US", 2022, "en", "2022-12-26 Christmas Day (substitute day)", "");
    row("Japan's substitute holiday", "JP", 2025, "en", "2025-02-24 Emperor's Birthday (substitute day)", "");
    row("Japan's equinox", "JP", 2025, "en", "2025-03-20 Spring Equinox Day", "");
    row("King's Day on a Sunday moves to Saturday", "NL", 2025, "en", "2025-04-26 King's Day",
        "2025-04-27 King's Day");
    row("Italy: 4 October from 2026", "IT", 2026, "en", "2026-10-04 National Day of Saint Francis of Assisi",
        "");
    row("Italy: not before 2026", "IT", 2025, "en", "", "2025-10-04 National Day of Saint Francis of Assisi");
    row("Bavaria adds Epiphany", "DE-BY", 2025, "en", "2025-01-06 Epiphany", "");
    row("Germany has no Epiphany", "DE", 2025, "en", "", "2025-01-06 Epiphany");
    row("region keeps the country's days", "DE-BY", 2025, "en", "2025-10-03 National Holiday", "");
    row("California", "us-ca", 2025, "en", "2025-03-31 César Chávez Day", "");
    row("Ontario", "CA-ON", 2025, "en", "2025-02-17 Family Day", "");
    row("New South Wales substitutes", "AU-NSW", 2027, "en", "2027-12-28 Boxing Day (substitute day)", "");
    row("German names", "DE", 2025, "de", "2025-12-25 1. Weihnachtstag", "");
    row("French names", "DE", 2025, "fr", "2025-01-01 Nouvel An", "");
    row("the country's language without English", "DE", 2025, "xx", "2025-05-01 Maifeiertag", "");
    row("Yom Kippur", "IL", 2025, "en", "2025-10-02 Day of Atonement (Yom Kippur)", "");
    row("Nowruz", "IR", 2025, "en", "2025-03-21 Nowruz", "");
    row("Qingming", "CN", 2025, "en", "2025-04-04 Qingming Festival", "");
    row("Korean Thanksgiving", "KR", 2025, "en", "2025-10-05 Korean Thanksgiving x3", "");
    row("Orthodox Easter Monday", "GR", 2024, "en", "2024-05-06 Easter Monday", "");
    row("Eid al-Fitr", "SA", 2025, "en", "2025-03-30 End of Ramadan (Eid al-Fitr) x4", "");
    row("Bangladesh's Victory Day", "BD", 2031, "en", "2031-12-16 Victory Day", "");
}

void tst_HolidayCalculator::countriesAndRegions()
{
    QFETCH(QString, code);
    QFETCH(int, year);
    QFETCH(QString, language);
    QFETCH(QString, present);
    QFETCH(QString, absent);
    const std::optional<AreaRules> rules = Database().rules(code);
    QVERIFY(rules);
    const HolidayCalculator calculator(*rules);
    QVERIFY2(calculator.unreadableRules().isEmpty(), qPrintable(calculator.unreadableRules().join(u',')));
    const QStringList lines = Lines(calculator.holidays(year, language));
    if (!present.isEmpty())
        QVERIFY2(lines.contains(present), qPrintable(lines.join(u'\n')));
    if (!absent.isEmpty())
        QVERIFY2(!lines.contains(absent), qPrintable(lines.join(u'\n')));
    // in date order
    QStringList dates;
    for (const QString& line : lines)
        dates.append(line.left(10));
    QStringList sorted = dates;
    sorted.sort();
    QCOMPARE(dates, sorted);
}

void tst_HolidayCalculator::listsCountriesAndRegions()
{
    const HolidayDatabase& database = Database();
    QCOMPARE(database.countries().size(), 207);
    int areas = 0;
    for (const HolidayArea& country : database.countries()) {
        areas += 1 + static_cast<int>(database.subdivisions(country.code).size());
        // every rule of every country reads
        QVERIFY2(HolidayCalculator(*database.rules(country.code)).unreadableRules().isEmpty(),
                 qPrintable(country.code));
    }
    QVERIFY(areas > 500);
    QCOMPARE(database.areaName(QStringLiteral("DE")), QStringLiteral("Germany"));
    QCOMPARE(database.areaName(QStringLiteral("DE"), QStringLiteral("de")), QStringLiteral("Deutschland"));
    QCOMPARE(database.areaName(QStringLiteral("DE-BY")), QStringLiteral("Bayern"));
    QVERIFY(!database.rules(QStringLiteral("XX")));
    QVERIFY(!database.rules(QStringLiteral("DE-XX")));
    QVERIFY(!database.rules(QStringLiteral("DE-BY-A-B")));
}

void tst_HolidayCalculator::readsOnlyItsOwnFormat_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("ok");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("not JSON") << QByteArray("holidays") << false;
    QTest::newRow("cut short") << QByteArray("{\"format\":\"datoria-holidays 1\",\"holidays\":{") << false;
    QTest::newRow("other format") << QByteArray("{\"format\":\"x\",\"holidays\":{}}") << false;
    QTest::newRow("no holidays") << QByteArray("{\"format\":\"datoria-holidays 1\"}") << false;
    QTest::newRow("wrong types inside")
        << QByteArray(
               "{\"format\":\"datoria-holidays 1\",\"holidays\":{\"XX\":{\"days\":{\"01-01\":{\"name\":5,"
               "\"active\":7,\"disable\":{}},\"every 0 years since 1\":{}},\"states\":[]},\"YY\":3}}")
        << true;
}

void tst_HolidayCalculator::readsOnlyItsOwnFormat()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, ok);
    HolidayDatabase database;
    QCOMPARE(database.load(data), ok);
    QCOMPARE(database.errorString().isEmpty(), ok);
    if (ok) {
        QCOMPARE(database.countries().size(), 1);
        const HolidayCalculator calculator(*database.rules(QStringLiteral("XX")));
        QCOMPARE(Lines(calculator.holidays(2025)), QStringList{QStringLiteral("2025-01-01 ")});
    }
}

QTEST_GUILESS_MAIN(tst_HolidayCalculator)
#include "tst_holidaycalculator.moc"
