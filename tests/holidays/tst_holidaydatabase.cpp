// Compares the holidays Datoria computes from its converted data with those the date-holidays package itself
// computes under node, for every country, state and region. The package is installed into the build tree by
// the test's set-up (tests/holidays/CMakeLists.txt); without node or the package the test skips.
#include "holidays/HolidayCalculator.h"
#include "holidays/HolidayDatabase.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

using namespace holidays;

namespace {

/** The years compared: every year for countries, a spread of years for the many states and regions. */
QList<int> YearsFor(bool country)
{
    QList<int> years;
    const int step = country ? 10 : 31;
    for (int year = 1970 + (country ? 0 : 5); year <= 2100; year += step) {
        years.append(year);
    }
    return years;
}

/** Whether a rule counts in the given calendar. */
bool CountsIn(const QString& rule, Calendar calendar)
{
    const std::optional<ParsedRule> parsed = ParseHolidayRule(rule);
    return parsed &&
           std::any_of(parsed->items.begin(), parsed->items.end(), [&](const ParsedRule::Item& item) {
               return item.isSource && item.source.calendar == calendar;
           });
}

// The package's Hebrew dates come from a table that ends with the year 2099.
constexpr int kLastHebrewYear = 2099;

struct Tally
{
    int matched = 0;
    int missing = 0;
    int extra = 0;
    int islamicMissing = 0;
    int islamicExtra = 0;
    QStringList examples;
    /** Agreement on the days of every calendar but the Islamic one. */
    double agreement() const
    {
        const int all = matched + missing + extra;
        return all == 0 ? 1.0 : static_cast<double>(matched) / all;
    }
    /** Agreement on all days; Islamic days that differ count as differences. */
    double agreementWithIslamic() const
    {
        const int all = matched + missing + extra + islamicMissing + islamicExtra;
        return all == 0 ? 1.0 : static_cast<double>(matched) / all;
    }
};

} // namespace

class tst_HolidayDatabase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agreesWithTheDatabase();
};

void tst_HolidayDatabase::agreesWithTheDatabase()
{
    const QString packageDir = qEnvironmentVariable("DATORIA_DATE_HOLIDAYS");
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty() || !QFile::exists(packageDir + QStringLiteral("/package.json"))) {
        QSKIP("node or the date-holidays package is not available");
    }
    HolidayDatabase database;
    QVERIFY2(database.loadFile(QStringLiteral(DATORIA_SOURCE_DIR "/data/holidays/holidays.json")),
             qPrintable(database.errorString()));

    QStringList codes;
    for (const HolidayArea& country : database.countries()) {
        codes.append(country.code);
        for (const HolidayArea& state : database.subdivisions(country.code)) {
            // The package upper-cases every code it is given, so it never finds the Cook Islands' islands
            // ("CK-Aitutaki"): there is nothing to compare with.
            if (state.code != state.code.toUpper()) {
                continue;
            }
            codes.append(state.code);
            for (const HolidayArea& region : database.subdivisions(state.code)) {
                codes.append(region.code);
            }
        }
    }

    // The reference: one node run per year set, every area in it.
    QHash<QString, QSet<QString>> referenceAll;    // "CODE YEAR" -> "date|name" of any type
    QHash<QString, QSet<QString>> referencePublic; // "CODE YEAR" -> "date|name" of public holidays
    QSet<QString> compared;
    QString referenceFile = qEnvironmentVariable("DATORIA_HOLIDAY_REFERENCE");
    for (const bool countries : {true, false}) {
        QStringList areas;
        for (const QString& code : std::as_const(codes)) {
            if (code.contains(QLatin1Char('-')) != countries) {
                areas.append(code);
            }
        }
        const QList<int> years = YearsFor(countries);
        QByteArray output;
        if (referenceFile.isEmpty()) {
            QStringList yearList;
            for (const int year : years) {
                yearList.append(QString::number(year));
            }
            QProcess process;
            process.start(
                node, QStringList{QStringLiteral(DATORIA_SOURCE_DIR "/tests/holidays/holidays-reference.mjs"),
                                  packageDir, yearList.join(QLatin1Char(','))} +
                          areas);
            QVERIFY(process.waitForFinished(240000));
            QCOMPARE(process.exitCode(), 0);
            output = process.readAllStandardOutput();
        } else {
            QFile file(referenceFile);
            QVERIFY(file.open(QIODevice::ReadOnly));
            output = file.readAll();
        }
        for (const QByteArray& line : output.split('\n')) {
            const QList<QByteArray> fields = line.split('\t');
            if (fields.size() < 4) {
                continue;
            }
            const QString key =
                QString::fromUtf8(fields[0]) + QLatin1Char(' ') + QString::fromUtf8(fields[1].left(4));
            const QString item =
                QString::fromUtf8(fields[1]) + QLatin1Char('|') + QString::fromUtf8(fields[3]);
            referenceAll[key].insert(item);
            if (fields[2] == "public") {
                referencePublic[key].insert(item);
            }
        }
        for (const QString& code : std::as_const(areas)) {
            for (const int year : years) {
                compared.insert(code + QLatin1Char(' ') + QString::number(year));
            }
        }
        if (!referenceFile.isEmpty()) {
            break; // a stored reference holds all areas and years at once
        }
    }
    if (!referenceFile.isEmpty()) {
        compared.clear();
        for (auto it = referenceAll.begin(); it != referenceAll.end(); ++it) {
            if (it.key().section(QLatin1Char(' '), 0, 0) ==
                it.key().section(QLatin1Char(' '), 0, 0).toUpper()) {
                compared.insert(it.key());
            }
        }
    }

    // Ours, compared area by area: every public holiday of the database present, no public holiday of ours
    // that the database does not list as some kind of holiday.
    QMap<QString, Tally> byCountry;
    QHash<QString, std::shared_ptr<HolidayCalculator>> calculators;
    for (const QString& key : std::as_const(compared)) {
        const QString code = key.section(QLatin1Char(' '), 0, 0);
        const int year = key.section(QLatin1Char(' '), 1, 1).toInt();
        auto& calculator = calculators[code];
        if (!calculator) {
            const std::optional<AreaRules> rules = database.rules(code);
            QVERIFY2(rules, qPrintable(code));
            calculator = std::make_shared<HolidayCalculator>(*rules);
        }
        QSet<QString> ours;
        QSet<QString> islamicNames;
        const HolidayTypes all = HolidayType::Public | HolidayType::Bank | HolidayType::School |
                                 HolidayType::Optional | HolidayType::Observance;
        for (const Holiday& holiday : calculator->holidays(year, QStringLiteral("en"), all)) {
            if (holiday.type == HolidayType::Public) {
                ours.insert(holiday.date.toString(Qt::ISODate) + QLatin1Char('|') + holiday.name);
            }
            if (CountsIn(holiday.rule, Calendar::Islamic)) {
                islamicNames.insert(holiday.name);
            }
            if (year > kLastHebrewYear && CountsIn(holiday.rule, Calendar::Hebrew)) {
                ours.remove(holiday.date.toString(Qt::ISODate) + QLatin1Char('|') + holiday.name);
            }
        }
        // An Islamic holiday's substitute day carries its name with a suffix.
        const auto islamic = [&](const QString& item) {
            const QString name = item.section(QLatin1Char('|'), 1);
            return std::any_of(islamicNames.begin(), islamicNames.end(),
                               [&](const QString& islamicName) { return name.startsWith(islamicName); });
        };
        Tally& tally = byCountry[code.section(QLatin1Char('-'), 0, 0)];
        const QSet<QString> expected = referencePublic.value(key);
        const QSet<QString> known = referenceAll.value(key);
        for (const QString& item : expected) {
            if (ours.contains(item)) {
                ++tally.matched;
            } else if (islamic(item)) {
                ++tally.islamicMissing;
            } else {
                ++tally.missing;
                if (tally.examples.size() < 12) {
                    tally.examples.append(QStringLiteral("%1 missing %2").arg(code, item));
                }
            }
        }
        for (const QString& item : std::as_const(ours)) {
            if (known.contains(item)) {
                continue;
            }
            if (islamic(item)) {
                ++tally.islamicExtra;
            } else {
                ++tally.extra;
                if (tally.examples.size() < 12) {
                    tally.examples.append(QStringLiteral("%1 extra %2").arg(code, item));
                }
            }
        }
    }

    Tally total;
    QStringList below;
    for (auto it = byCountry.begin(); it != byCountry.end(); ++it) {
        total.matched += it->matched;
        total.missing += it->missing;
        total.extra += it->extra;
        total.islamicMissing += it->islamicMissing;
        total.islamicExtra += it->islamicExtra;
        qInfo("%s %.2f%% (%d agree, %d missing, %d extra; with Islamic days %.2f%%, %d missing, %d extra)",
              qPrintable(it.key()), it->agreement() * 100, it->matched, it->missing, it->extra,
              it->agreementWithIslamic() * 100, it->islamicMissing, it->islamicExtra);
        if (it->agreement() < 0.95) {
            below.append(it.key());
            for (const QString& example : std::as_const(it->examples)) {
                qInfo("    %s", qPrintable(example));
            }
        }
    }
    qInfo("overall %.2f%% (%d agree, %d missing, %d extra; with Islamic days %.2f%%, %d missing, %d extra)",
          total.agreement() * 100, total.matched, total.missing, total.extra,
          total.agreementWithIslamic() * 100, total.islamicMissing, total.islamicExtra);
    QVERIFY2(total.agreement() >= 0.98, qPrintable(QString::number(total.agreement())));
    QVERIFY2(below.isEmpty(), qPrintable(below.join(QLatin1Char(' '))));
}

QTEST_GUILESS_MAIN(tst_HolidayDatabase)
#include "tst_holidaydatabase.moc"
