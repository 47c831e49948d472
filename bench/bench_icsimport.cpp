// Importing one month from a 5 MB iCalendar file of 20,000 events: reading the file with libical, expanding
// the month's occurrences, and putting them on the page's day cells. The goal is under 300 ms.
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

    /** The whole import of one month: read, expand, put on the days' cells. */
    void importOneMonth()
    {
        calendar::TCalendarPanel32 page;
        page.SetMainCalMonth(3);
        page.SetMainCalYear(2024);
        int filled = 0;
        QBENCHMARK
        {
            print::PageContent content = print::ContentOf(page);
            auto calendar = std::make_shared<exchange::IcsCalendar>();
            QVERIFY(calendar->Load(m_path));
            print::MonthFillSources sources;
            sources.events = calendar;
            sources.zone = QTimeZone("Europe/Berlin");
            print::FillMonth(page, content, sources);
            filled = int(std::count_if(content.cells.begin(), content.cells.end(),
                                       [](const QByteArray& cell) { return !cell.isEmpty(); }));
        }
        qInfo("%d of March 2024's days filled", filled);
    }

    /** The parts: reading alone, and expanding a month of a file already read. */
    void readOnly()
    {
        QBENCHMARK
        {
            exchange::IcsCalendar calendar;
            QVERIFY(calendar.Load(m_path));
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
