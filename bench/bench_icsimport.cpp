// Importing one month from a 5 MB iCalendar file of 20,000 events: reading the file with libical, expanding
// the month's occurrences, and putting them on the page's day cells. The goal is under 300 ms.
// Hostile files (100,000 events in one month, rules without end or that never match): filling a month from a
// file already read stays under 500 ms.
// Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen build/bin/bench_icsimport
#include "calendar/TCalendarPanel32.h"
#include "exchange/IcsCalendar.h"
#include "exchange/IcsMonth.h"
#include "platform/Screen.h"
#include "print/MonthFill.h"

#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

class BenchIcsImport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

    /**
     * Events over the years 2022-2026 as a calendar application writes them, 5 MB: a zone, times in it, a
     * description, a location, and every fiftieth event repeating weekly without end.
     */
    static QByteArray Calendar(int events)
    {
        QRandomGenerator random(17);
        QByteArray ics =
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n"
            "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
            "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
            "END:STANDARD\r\nBEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\n"
            "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
            "END:DAYLIGHT\r\nEND:VTIMEZONE\r\n";
        for (int i = 0; i < events; ++i) {
            const QDate day = QDate(2022, 1, 1).addDays(random.bounded(5 * 365));
            const int hour = 7 + random.bounded(12);
            const QByteArray date = day.toString(QStringLiteral("yyyyMMdd")).toLatin1();
            ics += "BEGIN:VEVENT\r\nUID:event-" + QByteArray::number(i) + "@bench.example\r\n";
            ics += "DTSTAMP:20240101T000000Z\r\n";
            ics += "DTSTART;TZID=Europe/Berlin:" + date + 'T' +
                   QByteArray::number(hour).rightJustified(2, '0') + "3000\r\n";
            ics += "DTEND;TZID=Europe/Berlin:" + date + 'T' +
                   QByteArray::number(hour + 1).rightJustified(2, '0') + "0000\r\n";
            if (i % 50 == 0)
                ics += "RRULE:FREQ=WEEKLY;BYDAY=MO,TH\r\n";
            ics += "SUMMARY:Meeting " + QByteArray::number(i) + "\r\n";
            ics += "DESCRIPTION:Agenda: review of the quarter\\, plans for the next one.\r\n";
            ics += "LOCATION:Room " + QByteArray::number(random.bounded(40)) + "\r\n";
            ics += "END:VEVENT\r\n";
        }
        return ics + "END:VCALENDAR\r\n";
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        platform::SetPixelsPerInchOverride(96);
        m_path = m_dir.filePath(QStringLiteral("big.ics"));
        const QByteArray ics = Calendar(20000);
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ics);
        qInfo("%s: %.1f MB, 20000 events", qPrintable(m_path), double(ics.size()) / (1024 * 1024));
    }

    /**
     * The whole import of one month: read, expand, put on the days' cells. The file's parsed tree is freed
     * after the user has the result (after the dialog, at the command's end), so outside the measure.
     */
    void importOneMonth()
    {
        calendar::TCalendarPanel32 page;
        page.SetMainCalMonth(3);
        page.SetMainCalYear(2024);
        int filled = 0;
        std::vector<std::shared_ptr<exchange::IcsCalendar>> done;
        QBENCHMARK
        {
            print::PageContent content = print::ContentOf(page);
            done.push_back(std::make_shared<exchange::IcsCalendar>());
            QVERIFY(done.back()->Load(m_path));
            print::MonthFillSources sources;
            sources.events = done.back();
            sources.zone = QTimeZone("Europe/Berlin");
            print::FillMonth(page, content, sources);
            filled = int(std::count_if(content.cells.begin(), content.cells.end(),
                                       [](const QByteArray& cell) { return !cell.isEmpty(); }));
        }
        qInfo("%d of March 2024's days filled", filled);
    }

    /** The parts: reading alone (freeing it apart), and expanding a month of a file already read. */
    void readOnly()
    {
        std::vector<std::unique_ptr<exchange::IcsCalendar>> done;
        QBENCHMARK
        {
            done.push_back(std::make_unique<exchange::IcsCalendar>());
            QVERIFY(done.back()->Load(m_path));
        }
    }

    void freeOnly()
    {
        std::vector<std::unique_ptr<exchange::IcsCalendar>> read;
        for (int i = 0; i < 4; ++i) {
            read.push_back(std::make_unique<exchange::IcsCalendar>());
            QVERIFY(read.back()->Load(m_path));
        }
        QBENCHMARK_ONCE
        {
            read.pop_back();
        }
    }

    /** Filling a month from files built to keep the expansion busy, already read. */
    void hostileMonth_data()
    {
        QTest::addColumn<QByteArray>("ics");
        auto event = [](const QByteArray& properties) {
            return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:x\r\n" + properties +
                   "SUMMARY:Busy\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        };
        QByteArray many = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
        for (int i = 0; i < 100000; ++i) {
            many += "BEGIN:VEVENT\r\nUID:" + QByteArray::number(i) + "\r\nDTSTART:202403" +
                    QByteArray::number(1 + i % 28).rightJustified(2, '0') + "T100000\r\nSUMMARY:Event " +
                    QByteArray::number(i) + "\r\nEND:VEVENT\r\n";
        }
        many += "END:VCALENDAR\r\n";
        QTest::newRow("100,000 events in the month") << many;
        QByteArray longOnes = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
        for (int i = 0; i < 5000; ++i) {
            longOnes += "BEGIN:VEVENT\r\nUID:" + QByteArray::number(i) +
                        "\r\nDTSTART;VALUE=DATE:20240301\r\nDTEND;VALUE=DATE:20240401\r\nSUMMARY:Long " +
                        QByteArray::number(i) + "\r\nEND:VEVENT\r\n";
        }
        longOnes += "END:VCALENDAR\r\n";
        QTest::newRow("5,000 events lasting the month") << longOnes;
        QTest::newRow("daily since 1900, no end") << event("DTSTART:19000101T090000\r\nRRULE:FREQ=DAILY\r\n");
        QTest::newRow("hourly, no end") << event("DTSTART:20000101T000000\r\nRRULE:FREQ=HOURLY\r\n");
        QTest::newRow("every second")
            << event("DTSTART:20240301T000000\r\nRRULE:FREQ=SECONDLY;BYMONTH=12\r\n");
        QTest::newRow("every second since 1970, no end")
            << event("DTSTART:19700101T000000\r\nRRULE:FREQ=SECONDLY\r\n");
        QTest::newRow("every second of 9:00 to 10:00, counted from the month before")
            << event("DTSTART:20240201T000000\r\nRRULE:FREQ=SECONDLY;BYHOUR=9;COUNT=1000000\r\n");
        QTest::newRow("every minute of 9:00 to 10:00 since 1970")
            << event("DTSTART:19700101T090000\r\nRRULE:FREQ=MINUTELY;BYHOUR=9\r\n");
        QTest::newRow("week 1 of every year since 1900")
            << event("DTSTART;VALUE=DATE:19000101\r\nRRULE:FREQ=YEARLY;BYWEEKNO=1,-1;BYDAY=MO,SU\r\n");
        QTest::newRow("counted from 1800")
            << event("DTSTART:18000101T090000\r\nRRULE:FREQ=DAILY;COUNT=1000000\r\n");
        QTest::newRow("30 February") << event("DTSTART:19700101T000000\r\n"
                                              "RRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30\r\n");
        QTest::newRow("last weekday, by set position")
            << event("DTSTART:19000101T090000\r\nRRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1\r\n");
        QTest::newRow("unknown zone, weekly")
            << event("DTSTART;TZID=Mars/Olympus:19500102T093000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO,WE,FR\r\n");
    }
    void hostileMonth()
    {
        QFETCH(QByteArray, ics);
        auto calendar = std::make_shared<exchange::IcsCalendar>();
        QVERIFY(calendar->Read(ics));
        calendar::TCalendarPanel32 page;
        page.SetMainCalMonth(3);
        page.SetMainCalYear(2024);
        print::MonthFillSources sources;
        sources.events = calendar;
        sources.zone = QTimeZone("Europe/Berlin");
        QBENCHMARK
        {
            print::PageContent content = print::ContentOf(page);
            print::FillMonth(page, content, sources);
        }
    }

    void expandOneMonth()
    {
        exchange::IcsCalendar calendar;
        QVERIFY(calendar.Load(m_path));
        QBENCHMARK
        {
            exchange::ImportMonth(calendar, 3, 2024, QTimeZone("Europe/Berlin"));
        }
    }
};

QTEST_MAIN(BenchIcsImport)
#include "bench_icsimport.moc"
