// The holiday database: the whole year of one region in under 1 ms (rules read, every rule evaluated for the
// year, named and sorted), and `datoria-cli holidays --list` for every country and region in under 50 ms of
// process time.
// Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen build/bin/bench_holidays
#include "holidays/HolidayCalculator.h"
#include "holidays/HolidayDatabase.h"

#include <QProcess>
#include <QTest>

#include <sys/resource.h>

using namespace holidays;

class BenchHolidays : public QObject
{
    Q_OBJECT

    HolidayDatabase m_database;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_database.loadFile(QStringLiteral(DATORIA_SOURCE_DIR "/data/holidays/holidays.json")));
    }

    void yearOfOneRegion_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("Bavaria") << QStringLiteral("DE-BY");
        QTest::newRow("New South Wales") << QStringLiteral("AU-NSW");
        QTest::newRow("Israel (Hebrew calendar)") << QStringLiteral("IL");
        QTest::newRow("Singapore (Chinese and Islamic calendars)") << QStringLiteral("SG");
        QTest::newRow("Japan (equinoxes)") << QStringLiteral("JP");
    }
    // A fresh calculator every time: nothing of an earlier year is reused.
    void yearOfOneRegion()
    {
        QFETCH(QString, code);
        const std::optional<AreaRules> rules = m_database.rules(code);
        QVERIFY(rules);
        int year = 1900;
        QBENCHMARK
        {
            const HolidayCalculator calculator(*rules);
            QVERIFY(!calculator.holidays(year).isEmpty());
            year = year == 2100 ? 1900 : year + 1;
        }
    }

    void listEveryCountryAndRegion()
    {
        QBENCHMARK
        {
            HolidayDatabase database;
            QVERIFY(database.loadFile(QStringLiteral(DATORIA_SOURCE_DIR "/data/holidays/holidays.json")));
            qsizetype areas = 0;
            for (const HolidayArea& country : database.countries()) {
                for (const HolidayArea& state : database.subdivisions(country.code))
                    areas += 1 + database.subdivisions(state.code).size();
            }
            QVERIFY(areas > 300);
        }
    }

    // The command's process time: the country list, then a country's regions.
    void listCommandProcessTime_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("countries") << QStringList{QStringLiteral("holidays"), QStringLiteral("--list")};
        QTest::newRow("regions of Germany")
            << QStringList{QStringLiteral("holidays"), QStringLiteral("--list"), QStringLiteral("DE")};
    }
    void listCommandProcessTime()
    {
        QFETCH(QStringList, arguments);
        constexpr int kRuns = 10;
        // The CPU time of finished children, before and after the runs.
        const auto childSeconds = [] {
            rusage usage{};
            getrusage(RUSAGE_CHILDREN, &usage);
            return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        };
        const double before = childSeconds();
        for (int i = 0; i < kRuns; ++i) {
            QProcess process;
            process.start(QStringLiteral(DATORIA_CLI), arguments);
            QVERIFY(process.waitForFinished(10000));
            QCOMPARE(process.exitCode(), 0);
        }
        const double seconds = childSeconds() - before;
        qInfo("process time %.1f ms", seconds * 1000 / kRuns);
        QVERIFY2(seconds / kRuns < 0.05, qPrintable(QString::number(seconds * 1000 / kRuns)));
    }
};

QTEST_GUILESS_MAIN(BenchHolidays)
#include "bench_holidays.moc"
