#include "cli/CliCommand.h"
#include "exchange/IcsCalendar.h"
#include "tests/support/PdfTools.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

namespace {

struct Result
{
    int code = 0;
    QString out;
    QString err;
};

Result Run(const QStringList& arguments)
{
    Result r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = cli::RunCommand(arguments, out, err);
    out.flush();
    err.flush();
    return r;
}

const QByteArray kFamily =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
    "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20240305T093000\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;VALUE=DATE:20240101\r\nRRULE:FREQ=MONTHLY\r\n"
    "SUMMARY:Rent\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

} // namespace

class TestCliExchange : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& data)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(data);
        return file.fileName();
    }

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        qputenv("TZ", "Europe/Berlin");
    }

    // The holidays of the open database: countries, their states and regions, names by language, types.
    void holidays_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("line");
        const auto row = [](const char* name, const QStringList& arguments, int code, const QString& line) {
            QTest::newRow(name) << arguments << code << line;
        };
        const QString h = QStringLiteral("holidays");
        const QString year = QStringLiteral("--year");
        row("countries", {h, QStringLiteral("--list")}, 0, QStringLiteral("JP\tJapan"));
        row("countries in German",
            {h, QStringLiteral("--list"), QStringLiteral("--lang"), QStringLiteral("de")}, 0,
            QStringLiteral("DE\tDeutschland"));
        row("a country's regions", {h, QStringLiteral("--list"), QStringLiteral("de")}, 0,
            QStringLiteral("de-BY\tBayern"));
        row("regions of a state", {h, QStringLiteral("--list"), QStringLiteral("DE")}, 0,
            QStringLiteral("DE-BY-A\tStadt Augsburg"));
        row("a year", {h, QStringLiteral("se"), year, QStringLiteral("2024")}, 0,
            QStringLiteral("2024-06-22\tMidsummer Day\tpublic"));
        row("substitute day", {h, QStringLiteral("JP"), year, QStringLiteral("2025")}, 0,
            QStringLiteral("2025-02-24\tEmperor's Birthday (substitute day)\tpublic"));
        row("a region", {h, QStringLiteral("DE-BY"), year, QStringLiteral("2025")}, 0,
            QStringLiteral("2025-01-06\tEpiphany\tpublic"));
        row("a language",
            {h, QStringLiteral("IT"), year, QStringLiteral("2026"), QStringLiteral("--lang"),
             QStringLiteral("it")},
            0, QStringLiteral("2026-10-04\tFesta nazionale di San Francesco d'Assisi\tpublic"));
        row("types",
            {h, QStringLiteral("DE"), year, QStringLiteral("2025"), QStringLiteral("--types"),
             QStringLiteral("public,observance")},
            0, QStringLiteral("2025-02-14\tValentine's Day\tobservance"));
        row("unknown country", {h, QStringLiteral("XX"), year, QStringLiteral("2024")}, 1, QString());
        row("unknown region", {h, QStringLiteral("DE-XX"), year, QStringLiteral("2024")}, 1, QString());
        row("unknown country to list", {h, QStringLiteral("--list"), QStringLiteral("XX")}, 1, QString());
        row("no year", {h, QStringLiteral("DE")}, 2, QString());
        row("year out of range", {h, QStringLiteral("DE"), year, QStringLiteral("1899")}, 2, QString());
        row("unknown type",
            {h, QStringLiteral("DE"), year, QStringLiteral("2025"), QStringLiteral("--types"),
             QStringLiteral("public,feast")},
            2, QString());
    }
    void holidays()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, line);
        const Result r = Run(arguments);
        QCOMPARE(r.code, code);
        QCOMPARE(r.err.isEmpty(), code == 0);
        if (!line.isEmpty())
            QVERIFY2(r.out.split(u'\n').contains(line), qPrintable(r.out));
    }

    void datesOfAnIcsFile()
    {
        const QString path = write(QStringLiteral("family.ics"), kFamily);
        const Result march =
            Run({QStringLiteral("dates"), QStringLiteral("--ics"), path, QStringLiteral("--month"),
                 QStringLiteral("3"), QStringLiteral("--year"), QStringLiteral("2024")});
        QCOMPARE(march.code, 0);
        QCOMPARE(march.out, QStringLiteral("2024-03-01\tRent\n2024-03-05\t9:30 am Dentist\n"));
        const Result bad = Run({QStringLiteral("dates"), QStringLiteral("--ics"),
                                m_dir.filePath(QStringLiteral("x.ics")), QStringLiteral("--month"),
                                QStringLiteral("3"), QStringLiteral("--year"), QStringLiteral("2024")});
        QCOMPARE(bad.code, 1);
        QVERIFY(bad.err.startsWith(QStringLiteral("datoria-cli: Unable to read ")));
    }

    // The page's month gets the file's events on its days; another month gets its own.
    void pagesFilledFromAnIcsFile()
    {
        const QString path = write(QStringLiteral("family2.ics"), kFamily);
        auto cells = [&path](const QString& month) {
            const Result r =
                Run({QStringLiteral("inspect"), QStringLiteral("--json"), QStringLiteral("--ics"), path,
                     QStringLiteral("--month"), month, QStringLiteral("--year"), QStringLiteral("2024")});
            return QJsonDocument::fromJson(r.out.toUtf8()).object()[QStringLiteral("CellText")].toArray();
        };
        const QJsonArray march = cells(QStringLiteral("3")); // 1 March 2024 is a Friday, in cell 6
        QCOMPARE(march[5].toString().trimmed(), QStringLiteral("Rent"));
        QCOMPARE(march[9].toString().trimmed(), QStringLiteral("9:30 am Dentist"));
        const QJsonArray april = cells(QStringLiteral("4"));
        QCOMPARE(april[1].toString().trimmed(), QStringLiteral("Rent"));
        QVERIFY(april[5].toString().isEmpty());
        const Result bad =
            Run({QStringLiteral("render"), QStringLiteral("--ics"), write(QStringLiteral("bad.ics"), "x"),
                 QStringLiteral("-o"), m_dir.filePath(QStringLiteral("page.png"))});
        QCOMPARE(bad.code, 1);
        QVERIFY(bad.err.contains(QStringLiteral("not an iCalendar file")));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("page.png"))));
    }

    // A year of the file's events: each page of the PDF carries its own month's, as poppler reads them.
    void yearPdfFilledFromAnIcsFile()
    {
        if (!testsupport::PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        const QString ics = write(QStringLiteral("family3.ics"), kFamily);
        const QString pdf = m_dir.filePath(QStringLiteral("year.pdf"));
        const Result r = Run({QStringLiteral("pdf"), QStringLiteral("--ics"), ics, QStringLiteral("--month"),
                              QStringLiteral("1"), QStringLiteral("--year"), QStringLiteral("2024"),
                              QStringLiteral("--months"), QStringLiteral("12"), QStringLiteral("-o"), pdf});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QCOMPARE(testsupport::PdfTools::Info(pdf, QStringLiteral("Pages")), QStringLiteral("12"));
        for (int page = 1; page <= 12; ++page) {
            const QString text = testsupport::PdfTools::Text(pdf, page);
            QVERIFY2(text.contains(QStringLiteral("Rent")), qPrintable(QString::number(page)));
            QCOMPARE(text.contains(QStringLiteral("9:30 am Dentist")), page == 3);
        }
        // A file that is no calendar writes no PDF.
        const QString none = m_dir.filePath(QStringLiteral("none.pdf"));
        const Result bad = Run({QStringLiteral("pdf"), QStringLiteral("--ics"),
                                write(QStringLiteral("bad2.ics"), "BEGIN:VCARD\r\nEND:VCARD\r\n"),
                                QStringLiteral("-o"), none});
        QCOMPARE(bad.code, 1);
        QVERIFY(bad.err.contains(QStringLiteral("not an iCalendar file")));
        QVERIFY(!QFile::exists(none));
    }

    // What the import has to say about the file reaches standard error, once however many pages it concerns.
    void pdfPassesOnTheFilesWarnings()
    {
        const QString ics = write(QStringLiteral("mars.ics"),
                                  "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                                  "BEGIN:VEVENT\r\nUID:m\r\nDTSTART;TZID=Mars/Olympus:20240305T093000\r\n"
                                  "RRULE:FREQ=MONTHLY\r\nSUMMARY:Rover\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        const QString pdf = m_dir.filePath(QStringLiteral("mars.pdf"));
        const Result r = Run({QStringLiteral("pdf"), QStringLiteral("--ics"), ics, QStringLiteral("--month"),
                              QStringLiteral("3"), QStringLiteral("--year"), QStringLiteral("2024"),
                              QStringLiteral("--months"), QStringLiteral("2"), QStringLiteral("-o"), pdf});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err,
                 QStringLiteral("datoria-cli: Unknown time zone \u201CMars/Olympus\u201D: its times are "
                                "shown as written.\n"));
        QVERIFY(QFile::exists(pdf));
    }

    // However damaged the file, the tool's standard error holds its own lines only, each readable: libical's
    // complaints are not passed on, and text of the file comes escaped. Run as a person runs the tool.
    void standardErrorHoldsOwnLinesOnly_data()
    {
        QTest::addColumn<QByteArray>("ics");
        QTest::addColumn<QString>("err"); // %1 is the file
        QTest::addColumn<QString>("out");
        const QString family = QStringLiteral("2024-03-01\tRent\n2024-03-05\t9:30 am Dentist\n");
        QTest::newRow("an END before any BEGIN") << "END:VEVENT\r\n" + kFamily << QString() << family;
        QTest::newRow("an END after the calendar") << kFamily + "END:VCALENDAR\r\n" << QString() << family;
        QTest::newRow("control bytes in a title and a zone")
            << QByteArray(
                   "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:m\r\nDTSTART;TZID=Mars\x1b[2J:20240305T093000\r\n"
                   "SUMMARY:Bell\a \x1b[31mred\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
            << QStringLiteral("datoria-cli: Unknown time zone \u201CMars\\x1b[2J\u201D: its times are shown "
                              "as written.\n")
            << QStringLiteral("2024-03-05\t9:30 am Bell [31mred\n");
        QTest::newRow("cut inside the second calendar")
            << kFamily +
                   "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:3\r\nDTSTART:20240307T100000\r\nSUMMARY:Late\r\n"
            << QStringLiteral("datoria-cli: %1: The file ends early; the events before the end were read.\n")
            << family + QStringLiteral("2024-03-07\t10:00 am Late\n");
    }
    void standardErrorHoldsOwnLinesOnly()
    {
        QFETCH(QByteArray, ics);
        QFETCH(QString, err);
        QFETCH(QString, out);
        const QString path = write(QStringLiteral("damaged.ics"), ics);
        QProcess cli;
        // Qt's own note about a missing runtime folder is no part of this.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(DATORIA_CLI),
                  {QStringLiteral("dates"), QStringLiteral("--ics"), path, QStringLiteral("--month"),
                   QStringLiteral("3"), QStringLiteral("--year"), QStringLiteral("2024")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(cli.readAllStandardError()), err.contains(u'%') ? err.arg(path) : err);
        QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()), out);
    }

    void exportingAStore()
    {
        const QString out = m_dir.filePath(QStringLiteral("holidays.ics"));
        const Result r = Run({QStringLiteral("ics"), QStringLiteral("-o"), out, QStringLiteral("--from"),
                              QStringLiteral("2024"), QStringLiteral("--years"), QStringLiteral("5")});
        QCOMPARE(r.code, 0);
        exchange::IcsCalendar calendar;
        QVERIFY(calendar.Load(out));
        QCOMPARE(calendar.EventCount(), 26);
        QCOMPARE(Run({QStringLiteral("ics"), QStringLiteral("-o"), out, QStringLiteral("--from"),
                      QStringLiteral("1"), QStringLiteral("--years"), QStringLiteral("1")})
                     .code,
                 0);
        QCOMPARE(Run({QStringLiteral("ics")}).code, 2);
        QCOMPARE(Run({QStringLiteral("ics"), QStringLiteral("--store"), QStringLiteral("/nonexistent"),
                      QStringLiteral("-o"), out})
                     .code,
                 1);
        QCOMPARE(Run({QStringLiteral("ics"), QStringLiteral("--years"), QStringLiteral("0"),
                      QStringLiteral("-o"), out})
                     .code,
                 2);
        // The highest values are taken, one more is refused.
        for (const auto& [from, years, code] : {std::tuple{"9999", "1", 0}, std::tuple{"2024", "500", 0},
                                                std::tuple{"10000", "1", 2}, std::tuple{"2024", "501", 2}}) {
            QCOMPARE(Run({QStringLiteral("ics"), QStringLiteral("-o"), out, QStringLiteral("--from"),
                          QLatin1String(from), QStringLiteral("--years"), QLatin1String(years)})
                         .code,
                     code);
        }
    }
};

QTEST_MAIN(TestCliExchange)
#include "tst_cliexchange.moc"
