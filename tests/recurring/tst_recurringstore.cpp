#include "recurring/RecurringFormula.h"
#include "recurring/RecurringStore.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace recurring;

class TestRecurringStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void lineLayout()
    {
        const QString line = MakeLine(QStringLiteral("Mom's birthday"), QStringLiteral("@0512"));
        QCOMPARE(line.size(), 130);
        QCOMPARE(LineKind(line), QChar(u'@'));
        QCOMPARE(LineFormula(line), QStringLiteral("@0512     "));
        QCOMPARE(LineDescription(line), QStringLiteral("Mom's birthday"));
        QCOMPARE(RowText(line), QStringLiteral("Mom's birthday (12th of May)"));
        const QString longLine = MakeLine(QString(200, u'x'), QStringLiteral("$3 4 11 and more"));
        QCOMPARE(longLine.size(), 130);
        QCOMPARE(LineFormula(longLine), QStringLiteral("$3 4 11 an"));
        QCOMPARE(LineKind(QStringLiteral("short")), QChar());
        // A formula that does not parse shows empty parentheses; a built-in shows the description alone.
        QCOMPARE(RowText(MakeLine(QStringLiteral("Odd"), QStringLiteral("@xx01"))), QStringLiteral("Odd ()"));
        QCOMPARE(RowText(MakeLine(QStringLiteral("Easter"), QStringLiteral("#EASTER"))),
                 QStringLiteral("Easter").leftJustified(120, u' '));
    }

    void holidayTable()
    {
        const QStringList holidays = HolidayLines();
        QCOMPARE(holidays.size(), 26);
        QCOMPARE(LineDescription(holidays[0]), QStringLiteral("April Fools' Day"));
        const QString goodFriday = holidays[8];
        QCOMPARE(goodFriday.size(), 131); // the 11-letter word reaches position 131
        QCOMPARE(LineKind(goodFriday), QChar(u'#'));
        QCOMPARE(holidays[1].size(), 130);
        for (const QString& line : holidays)
            QVERIFY(LineKind(line) == u'@' || LineKind(line) == u'$' || LineKind(line) == u'#');
    }

    // Adding all holidays twice leaves each once; a holiday edited by the user is added again.
    void addingHolidays()
    {
        QStringList lines;
        QCOMPARE(AddMissingLines(lines, HolidayLines()), 26);
        QCOMPARE(AddMissingLines(lines, HolidayLines()), 0);
        QCOMPARE(lines.size(), 26);
        lines[2] = MakeLine(QStringLiteral("Christmas Day"), QStringLiteral("@1226"));
        QCOMPARE(AddMissingLines(lines, HolidayLines()), 1);
        QStringList upper = {HolidayLines()[0].toUpper()};
        QCOMPARE(AddMissingLines(upper, {HolidayLines()[0]}), 0); // letter case is ignored
    }

    void storeRoundTrips()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KVRECUR.DAX"));
        const QStringList ansi = {MakeLine(QStringLiteral("Caf\u00E9 opening"), QStringLiteral("@0301")),
                                  MakeLine(QStringLiteral("Book club"), QStringLiteral("%4"))};
        QVERIFY(WriteStore(path, ansi));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();
        QCOMPARE(bytes.size(), 2 * (130 + 2)); // Windows-1252: one byte a character, CR LF
        QVERIFY(bytes.contains("Caf\xE9"));
        QCOMPARE(ReadStore(path), ansi);

        // The euro sign is byte 0x80 there; a store whose only such byte it is reads as Windows-1252 too.
        const QStringList euro = {MakeLine(QStringLiteral("Price day \u20AC"), QStringLiteral("@0101"))};
        QVERIFY(WriteStore(path, euro));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("day \x80"));
        file.close();
        QCOMPARE(ReadStore(path), euro);

        // Text Windows-1252 cannot hold is written as UTF-8 and read back the same.
        const QStringList unicode = {
            MakeLine(QStringLiteral("\u0418\u0432\u0430\u043D's name day \u2603"), QStringLiteral("@0107")),
            MakeLine(QStringLiteral("Caf\u00E9"), QStringLiteral("@0301"))};
        QVERIFY(WriteStore(path, unicode));
        QCOMPARE(ReadStore(path), unicode);
        QVERIFY(ReadStore(dir.filePath(QStringLiteral("missing"))).isEmpty());
        // A last line without its line end is a line too.
        QFile unended(path);
        QVERIFY(unended.open(QIODevice::WriteOnly));
        unended.write("a\r\nb");
        unended.close();
        QCOMPARE(ReadStore(path), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    }

    void convertingTheOlderStore()
    {
        QTemporaryDir dir;
        const QString oldPath = dir.filePath(QStringLiteral("KVRECUR.DAT"));
        const QString newPath = dir.filePath(QStringLiteral("KVRECUR.DAX"));
        QFile old(oldPath);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("0512Mom's birthday\r\n1103Anniversary\r\n");
        old.close();
        QVERIFY(ConvertOldStore(oldPath, newPath));
        QVERIFY(!QFile::exists(oldPath));
        const QStringList lines = ReadStore(newPath);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].size(), 131);
        QCOMPARE(LineDescription(lines[0]), QStringLiteral("Mom's birthday"));
        QCOMPARE(LineKind(lines[0]), QChar(u'@'));
        QCOMPARE(LineFormula(lines[0]).trimmed(), QStringLiteral("@0512"));
        QCOMPARE(Resolve(LineFormula(lines[1]), 11, 2024), QList<int>{3});
        QVERIFY(ConvertOldStore(oldPath, newPath)); // nothing to convert any more
        QCOMPARE(ReadStore(newPath), lines);
    }

    void linesInMonth()
    {
        const QList<MonthMatch> may = LinesInMonth(HolidayLines(), 5, 2024);
        QStringList found;
        for (const MonthMatch& m : may)
            found.append(LineDescription(m.line) + u'=' + QString::number(m.days.value(0)));
        QCOMPARE(found, (QStringList{QStringLiteral("Armed Forces Day=18"), QStringLiteral("Memorial Day=27"),
                                     QStringLiteral("Mother's Day=12")}));
        // A date or weekday rule for one month is offered in that month only; one for every month in all.
        const QStringList rules = {MakeLine(QStringLiteral("May rule"), QStringLiteral("$0 0 5")),
                                   MakeLine(QStringLiteral("Every month"), QStringLiteral("$0 1 0")),
                                   MakeLine(QStringLiteral("May 12"), QStringLiteral("@0512")),
                                   MakeLine(QStringLiteral("Every 15th"), QStringLiteral("@0015"))};
        QCOMPARE(LinesForMonth(rules, 5, 2024), rules);
        QCOMPARE(LinesForMonth(rules, 4, 2024), (QStringList{rules[1], rules[3]}));
        // April 2024: Easter is on 31 March, so nothing of it.
        for (const MonthMatch& m : LinesInMonth(HolidayLines(), 4, 2024))
            QVERIFY(LineDescription(m.line) != QLatin1String("Easter"));
    }

    // The later kinds show their words and pour the trimmed description; the original words stay as they
    // were.
    void laterKindsInTheFill()
    {
        const QString ascension = MakeLine(QStringLiteral("Ascension Day"), QStringLiteral("#EASTER+39"));
        const QString midsummer = MakeLine(QStringLiteral("Midsummer Day"), QStringLiteral(">60620"));
        const QString easter = MakeLine(QStringLiteral("Easter"), QStringLiteral("#EASTER"));
        const QString unknown = MakeLine(QStringLiteral("Feast"), QStringLiteral("#FEAST"));
        const QString broken = MakeLine(QStringLiteral("Broken"), QStringLiteral(">9x620"));
        QCOMPARE(RowText(ascension), QStringLiteral("Ascension Day (39 days after Easter)"));
        QCOMPARE(RowText(midsummer), QStringLiteral("Midsummer Day (Sat on or after 20th of June)"));
        QCOMPARE(RowText(unknown), QStringLiteral("Feast").leftJustified(120, u' '));
        QCOMPARE(RowText(broken), QStringLiteral("Broken").leftJustified(120, u' '));

        const QStringList lines = {ascension, midsummer, easter, unknown, broken};
        // Lines that cannot be read or are unknown are offered, as the original unknown words were.
        QCOMPARE(LinesForMonth(lines, 5, 2024), (QStringList{ascension, unknown, broken}));
        QCOMPARE(LinesForMonth(lines, 6, 2024), (QStringList{midsummer, unknown, broken}));
        QCOMPARE(LinesForMonth(lines, 3, 2024), (QStringList{easter, unknown, broken}));
        const QList<DayText> may = FillPlan(lines, 5, 2024);
        QCOMPARE(may.size(), 1);
        QCOMPARE(may[0].day, 9);
        QCOMPARE(may[0].text, QStringLiteral("Ascension Day"));
        const QList<DayText> june = FillPlan(lines, 6, 2024);
        QCOMPARE(june.size(), 1);
        QCOMPARE(june[0].day, 22);
        QCOMPARE(june[0].text, QStringLiteral("Midsummer Day"));
        // The original word keeps its untrimmed description.
        QCOMPARE(FillPlan(lines, 3, 2024).value(0).text, QStringLiteral("Easter").leftJustified(120, u' '));
    }

    // The days counted from Easter by name, as the holiday table stores them whole: in 2024 Palm Sunday is 24
    // March, Good Friday 29 March.
    void daysNamedAfterEaster()
    {
        const QStringList lines = {HolidayLine(QStringLiteral("Palm Sunday"), QStringLiteral("#PALMSUNDAY")),
                                   HolidayLine(QStringLiteral("Good Friday"), QStringLiteral("#GOODFRIDAY"))};
        const QList<DayText> march = FillPlan(lines, 3, 2024);
        QCOMPARE(march.size(), 2);
        QCOMPARE(march[0].day, 24);
        QCOMPARE(march[1].day, 29);
        QVERIFY(march[1].text.startsWith(QStringLiteral("Good Friday")));
        QVERIFY(FillPlan(lines, 4, 2024).isEmpty());
    }

    // Weekday rules and dates pour their trimmed description on their day; weekday sets pour it as stored.
    void fillOfTheOlderKinds()
    {
        const QString thanksgiving = MakeLine(QStringLiteral("Thanksgiving"), QStringLiteral("$3 4 11"));
        const QString independence = MakeLine(QStringLiteral("Independence Day"), QStringLiteral("@0704"));
        const QString weekend = MakeLine(QStringLiteral("Weekend"), QStringLiteral("%17"));
        const QStringList lines = {thanksgiving, independence, weekend};
        const QList<DayText> november = FillPlan(lines, 11, 2024);
        QCOMPARE(november.size(), 1 + 9); // Thursday 28 and the nine weekend days
        QCOMPARE(november[0].day, 28);
        QCOMPARE(november[0].text, QStringLiteral("Thanksgiving"));
        QCOMPARE(november[1].day, 2);
        QCOMPARE(november[1].text, QStringLiteral("Weekend").leftJustified(120, u' '));
        const QList<DayText> july = FillPlan(lines, 7, 2024);
        QCOMPARE(july[0].day, 4);
        QCOMPARE(july[0].text, QStringLiteral("Independence Day"));
    }

    // Thanksgiving and Memorial Day over many years agree with the dates QDate gives.
    void holidaysAgreeWithQDate()
    {
        for (int year = 1950; year <= 2100; ++year) {
            QDate thanksgiving(year, 11, 1);
            while (thanksgiving.dayOfWeek() != Qt::Thursday)
                thanksgiving = thanksgiving.addDays(1);
            thanksgiving = thanksgiving.addDays(21);
            QCOMPARE(Resolve(QStringLiteral("$3 4 11"), 11, year), QList<int>{thanksgiving.day()});
            QDate memorial(year, 5, 31);
            while (memorial.dayOfWeek() != Qt::Monday)
                memorial = memorial.addDays(-1);
            QCOMPARE(Resolve(QStringLiteral("$5 1 5"), 5, year), QList<int>{memorial.day()});
        }
    }

    // Easter for every year 1583-2500 agrees with ncal -e, when it is installed.
    void easterAgreesWithNcal()
    {
        const QString ncal = QStandardPaths::findExecutable(QStringLiteral("ncal"));
        if (ncal.isEmpty())
            QSKIP("ncal is not installed");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        for (int year = 1583; year <= 2500; ++year) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.start(ncal, {QStringLiteral("-e"), QString::number(year)});
            QVERIFY(process.waitForFinished(5000));
            // In the C locale ncal prints MM/DD/YY: the century is not printed.
            const QString out = QString::fromLatin1(process.readAllStandardOutput()).trimmed();
            QCOMPARE(out, EasterSunday(year).toString(QStringLiteral("MM/dd/yy")));
        }
    }
};

QTEST_GUILESS_MAIN(TestRecurringStore)
#include "tst_recurringstore.moc"
