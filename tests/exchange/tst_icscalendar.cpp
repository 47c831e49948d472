#include "exchange/IcsCalendar.h"
#include "exchange/IcsMonth.h"
#include "tests/support/TestEnvironment.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringConverter>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace exchange;

namespace {

const QTimeZone kBerlin("Europe/Berlin");

/** A calendar of the given lines, one event or zone a group, lines ended by CR LF as the standard asks. */
QByteArray Calendar(const QStringList& lines)
{
    QStringList all = {QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("VERSION:2.0"),
                       QStringLiteral("PRODID:-//test//EN")};
    all += lines;
    all.append(QStringLiteral("END:VCALENDAR"));
    return (all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QStringList Event(const QString& summary, const QStringList& properties)
{
    static int uid = 0;
    return QStringList{QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:test-%1").arg(++uid),
                       QStringLiteral("DTSTAMP:20240101T000000Z"), QStringLiteral("SUMMARY:") + summary} +
           properties + QStringList{QStringLiteral("END:VEVENT")};
}

/** "2024-03-05 9:30 am Dentist" lines of a month. */
QStringList MonthLines(const QByteArray& ics, int month, int year, const QTimeZone& zone = kBerlin)
{
    IcsCalendar calendar;
    if (!calendar.Read(ics))
        return {QStringLiteral("error: ") + calendar.ErrorString()};
    QStringList lines;
    for (const MonthEntry& entry : ImportMonth(calendar, month, year, zone).entries)
        lines.append(entry.date.toString(Qt::ISODate) + u' ' + entry.text);
    return lines;
}

/**
 * The starts of a rule's occurrences in the given months ("2024-03"), a day's first IcsCalendar::kMaxPerDay,
 * as python-dateutil reckons them ("2024-03-05T09:30:00"), each month ended by "-"; nothing when python3 with
 * dateutil is not installed.
 */
std::optional<QStringList> DateutilStarts(const QString& start, const QString& rule,
                                          const QStringList& months)
{
    static const QString script = QStringLiteral(R"(
import sys
from datetime import datetime, timedelta
from dateutil.rrule import rrulestr
start, rule, most = sys.argv[1], sys.argv[2], int(sys.argv[3])
r = rrulestr(rule, dtstart=datetime.strptime(start, '%Y%m%dT%H%M%S' if 'T' in start else '%Y%m%d'))
for month in sys.argv[4:]:
    first = datetime.strptime(month, '%Y-%m')
    end = (first + timedelta(days=32)).replace(day=1)
    days = {}
    for d in r.xafter(first, inc=True):
        if d >= end:
            break
        days[d.date()] = days.get(d.date(), 0) + 1
        if days[d.date()] <= most:
            print(d.strftime('%Y-%m-%dT%H:%M:%S'))
    print('-')
)");
    QProcess python;
    python.start(QStringLiteral("python3"), QStringList{QStringLiteral("-c"), script, start, rule,
                                                        QString::number(IcsCalendar::kMaxPerDay)} +
                                                months);
    if (!python.waitForFinished(60000) || python.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    if (python.exitCode() != 0) {
        if (python.readAllStandardError().contains("No module named"))
            return std::nullopt;
        return QStringList{QStringLiteral("python3 failed")};
    }
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

const QStringList kBerlinZone = {
    QStringLiteral("BEGIN:VTIMEZONE"),
    QStringLiteral("TZID:Custom/Berlin"),
    QStringLiteral("BEGIN:STANDARD"),
    QStringLiteral("DTSTART:19701025T030000"),
    QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU"),
    QStringLiteral("TZOFFSETFROM:+0200"),
    QStringLiteral("TZOFFSETTO:+0100"),
    QStringLiteral("END:STANDARD"),
    QStringLiteral("BEGIN:DAYLIGHT"),
    QStringLiteral("DTSTART:19700329T020000"),
    QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"),
    QStringLiteral("TZOFFSETFROM:+0100"),
    QStringLiteral("TZOFFSETTO:+0200"),
    QStringLiteral("END:DAYLIGHT"),
    QStringLiteral("END:VTIMEZONE"),
};

} // namespace

class TestIcsCalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void timeTexts_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("morning") << QTime(9, 30) << QStringLiteral("9:30 am");
        QTest::newRow("midnight") << QTime(0, 5) << QStringLiteral("12:05 am");
        QTest::newRow("noon") << QTime(12, 0) << QStringLiteral("12:00 pm");
        QTest::newRow("evening") << QTime(23, 59) << QStringLiteral("11:59 pm");
    }
    void timeTexts()
    {
        QFETCH(QTime, time);
        QFETCH(QString, text);
        QCOMPARE(TimeText(time), text);
    }

    // Times come to the page's zone from wherever the file puts them.
    void timesAndZones_data()
    {
        QTest::addColumn<QStringList>("properties");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("entry");
        QTest::newRow("floating time, as written") << QStringList{QStringLiteral("DTSTART:20240305T093000")}
                                                   << QStringList{} << QStringLiteral("2024-03-05 9:30 am x");
        QTest::newRow("UTC") << QStringList{QStringLiteral("DTSTART:20240305T083000Z")} << QStringList{}
                             << QStringLiteral("2024-03-05 9:30 am x");
        QTest::newRow("UTC in summer time") << QStringList{QStringLiteral("DTSTART:20240705T083000Z")}
                                            << QStringList{} << QStringLiteral("2024-07-05 10:30 am x");
        QTest::newRow("zone of the file")
            << QStringList{QStringLiteral("DTSTART;TZID=Custom/Berlin:20240705T103000")} << kBerlinZone
            << QStringLiteral("2024-07-05 10:30 am x");
        QTest::newRow("zone libical knows")
            << QStringList{QStringLiteral("DTSTART;TZID=America/New_York:20240305T093000")} << QStringList{}
            << QStringLiteral("2024-03-05 3:30 pm x");
        QTest::newRow("Windows zone name")
            << QStringList{QStringLiteral("DTSTART;TZID=Eastern Standard Time:20240305T093000")}
            << QStringList{} << QStringLiteral("2024-03-05 3:30 pm x");
        QTest::newRow("into the next day")
            << QStringList{QStringLiteral("DTSTART;TZID=America/New_York:20240305T203000")} << QStringList{}
            << QStringLiteral("2024-03-06 2:30 am x");
        QTest::newRow("whole day") << QStringList{QStringLiteral("DTSTART;VALUE=DATE:20240305")}
                                   << QStringList{} << QStringLiteral("2024-03-05 x");
    }
    void timesAndZones()
    {
        QFETCH(QStringList, properties);
        QFETCH(QStringList, extra);
        QFETCH(QString, entry);
        const int month = entry.mid(5, 2).toInt();
        QCOMPARE(MonthLines(Calendar(extra + Event(QStringLiteral("x"), properties)), month, 2024),
                 QStringList{entry});
    }

    // Multi-day events show on each of their days, the time only on the first; an end at midnight is
    // exclusive.
    void spans()
    {
        const QByteArray ics = Calendar(
            Event(QStringLiteral("Holiday"), {QStringLiteral("DTSTART;VALUE=DATE:20240330"),
                                              QStringLiteral("DTEND;VALUE=DATE:20240403")}) +
            Event(QStringLiteral("Night shift"),
                  {QStringLiteral("DTSTART:20240310T220000"), QStringLiteral("DTEND:20240311T060000")}) +
            Event(QStringLiteral("Until midnight"),
                  {QStringLiteral("DTSTART:20240312T200000"), QStringLiteral("DTEND:20240313T000000")}) +
            Event(QStringLiteral("Two hours"),
                  {QStringLiteral("DTSTART:20240314T230000"), QStringLiteral("DURATION:PT2H")}) +
            Event(QStringLiteral("Conference"),
                  {QStringLiteral("DTSTART;VALUE=DATE:20240228"), QStringLiteral("DURATION:P3D")}));
        QCOMPARE(
            MonthLines(ics, 3, 2024),
            (QStringList{
                QStringLiteral("2024-03-01 Conference"), QStringLiteral("2024-03-10 10:00 pm Night shift"),
                QStringLiteral("2024-03-11 Night shift"), QStringLiteral("2024-03-12 8:00 pm Until midnight"),
                QStringLiteral("2024-03-14 11:00 pm Two hours"), QStringLiteral("2024-03-15 Two hours"),
                QStringLiteral("2024-03-30 Holiday"), QStringLiteral("2024-03-31 Holiday")}));
        QCOMPARE(MonthLines(ics, 4, 2024).size(), 2); // 1 and 2 April
        QCOMPARE(MonthLines(ics, 2, 2024), (QStringList{QStringLiteral("2024-02-28 Conference"),
                                                        QStringLiteral("2024-02-29 Conference")}));
    }

    // Within a day: by start (whole days first), equal starts in the file's order; titles made one line.
    void order()
    {
        const QByteArray ics =
            Calendar(Event(QStringLiteral("Lunch"), {QStringLiteral("DTSTART:20240305T120000")}) +
                     Event(QStringLiteral("Dentist"), {QStringLiteral("DTSTART:20240305T093000")}) +
                     Event(QStringLiteral("Birthday"), {QStringLiteral("DTSTART;VALUE=DATE:20240305")}) +
                     Event(QStringLiteral("Also at noon"), {QStringLiteral("DTSTART:20240305T120000")}) +
                     Event(QString(), {QStringLiteral("DTSTART:20240306T120000")}) +
                     Event(QStringLiteral("Two\\nlines"), {QStringLiteral("DTSTART;VALUE=DATE:20240307")}));
        QCOMPARE(MonthLines(ics, 3, 2024), (QStringList{QStringLiteral("2024-03-05 Birthday"),
                                                        QStringLiteral("2024-03-05 9:30 am Dentist"),
                                                        QStringLiteral("2024-03-05 12:00 pm Lunch"),
                                                        QStringLiteral("2024-03-05 12:00 pm Also at noon"),
                                                        QStringLiteral("2024-03-06 12:00 pm (no title)"),
                                                        QStringLiteral("2024-03-07 Two lines")}));
    }

    // RRULE, EXDATE, RDATE, a changed and a cancelled occurrence, a cancelled event.
    void repetitions()
    {
        const QByteArray ics = Calendar(
            Event(QStringLiteral("Yoga"),
                  {QStringLiteral("DTSTART:20240101T180000"), QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO"),
                   QStringLiteral("EXDATE:20240311T180000"), QStringLiteral("RDATE:20240313T180000")}) +
            QStringList{QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:moved"),
                        QStringLiteral("DTSTART:20240101T080000"),
                        QStringLiteral("RRULE:FREQ=MONTHLY;BYMONTHDAY=1"), QStringLiteral("SUMMARY:Rent"),
                        QStringLiteral("END:VEVENT"), QStringLiteral("BEGIN:VEVENT"),
                        QStringLiteral("UID:moved"), QStringLiteral("RECURRENCE-ID:20240301T080000"),
                        QStringLiteral("DTSTART:20240302T090000"), QStringLiteral("SUMMARY:Rent (late)"),
                        QStringLiteral("END:VEVENT"), QStringLiteral("BEGIN:VEVENT"),
                        QStringLiteral("UID:moved"), QStringLiteral("RECURRENCE-ID:20240401T080000"),
                        QStringLiteral("STATUS:CANCELLED"), QStringLiteral("DTSTART:20240401T080000"),
                        QStringLiteral("SUMMARY:Rent"), QStringLiteral("END:VEVENT")} +
            Event(QStringLiteral("Called off"),
                  {QStringLiteral("DTSTART:20240320T100000"), QStringLiteral("STATUS:CANCELLED")}) +
            Event(QStringLiteral("Quarterly"),
                  {QStringLiteral("DTSTART;VALUE=DATE:20231231"),
                   QStringLiteral("RRULE:FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=-1;COUNT=3")}));
        QCOMPARE(
            MonthLines(ics, 3, 2024),
            (QStringList{QStringLiteral("2024-03-02 9:00 am Rent (late)"),
                         QStringLiteral("2024-03-04 6:00 pm Yoga"), QStringLiteral("2024-03-13 6:00 pm Yoga"),
                         QStringLiteral("2024-03-18 6:00 pm Yoga"), QStringLiteral("2024-03-25 6:00 pm Yoga"),
                         QStringLiteral("2024-03-31 Quarterly")}));
        QCOMPARE(MonthLines(ics, 4, 2024).filter(QStringLiteral("Rent")), QStringList{}); // cancelled
        QCOMPARE(MonthLines(ics, 5, 2024).filter(QStringLiteral("Rent")),
                 QStringList{QStringLiteral("2024-05-01 8:00 am Rent")});
        QVERIFY(MonthLines(ics, 9, 2024).filter(QStringLiteral("Quarterly")).isEmpty()); // COUNT=3 ended
    }

    // A changed occurrence without a UID names no series: it is an event of its own, and the series that
    // happens to share its missing UID keeps all its occurrences.
    void changeWithoutUidKeepsTheSeries()
    {
        const QByteArray ics = Calendar(
            {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("DTSTART:20240305T120000"),
             QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=2"), QStringLiteral("SUMMARY:Lunch"),
             QStringLiteral("END:VEVENT"), QStringLiteral("BEGIN:VEVENT"),
             QStringLiteral("RECURRENCE-ID:20240305T120000"), QStringLiteral("DTSTART:20240306T120000"),
             QStringLiteral("SUMMARY:Lunch moved"), QStringLiteral("END:VEVENT")});
        QCOMPARE(MonthLines(ics, 3, 2024), (QStringList{QStringLiteral("2024-03-05 12:00 pm Lunch"),
                                                        QStringLiteral("2024-03-06 12:00 pm Lunch moved"),
                                                        QStringLiteral("2024-03-12 12:00 pm Lunch")}));
    }

    // Rules begun long before the month shown: a December date every year, and a weekly event that began on
    // a 31st, shown in a month of 30 days.
    void rulesBegunLongBefore()
    {
        const QByteArray ics =
            Calendar(Event(QStringLiteral("Christmas"),
                           {QStringLiteral("DTSTART;VALUE=DATE:20001225"),
                            QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=25")}) +
                     Event(QStringLiteral("Choir"),
                           {QStringLiteral("DTSTART:20240131T190000"), QStringLiteral("RRULE:FREQ=WEEKLY")}) +
                     Event(QStringLiteral("Walk"),
                           {QStringLiteral("DTSTART:19000131T070000"), QStringLiteral("RRULE:FREQ=DAILY")}));
        // An evening that ends as the month begins belongs to the month before only.
        const QByteArray evening =
            Calendar(Event(QStringLiteral("Late"), {QStringLiteral("DTSTART:20240229T220000"),
                                                    QStringLiteral("DTEND:20240301T000000")}));
        QCOMPARE(MonthLines(evening, 3, 2024), QStringList{});
        IcsCalendar late;
        QVERIFY(late.Read(evening));
        QCOMPARE(late.Occurrences(QDate(2024, 3, 1), QDate(2024, 3, 31), kBerlin).occurrences.size(), 0);
        QCOMPARE(MonthLines(evening, 2, 2024), QStringList{QStringLiteral("2024-02-29 10:00 pm Late")});
        QCOMPARE(MonthLines(ics, 12, 2024).filter(QStringLiteral("Christmas")),
                 QStringList{QStringLiteral("2024-12-25 Christmas")});
        QCOMPARE(MonthLines(ics, 11, 2024).filter(QStringLiteral("Walk")).size(), 30);
        QCOMPARE(MonthLines(ics, 11, 2024).filter(QStringLiteral("Choir")),
                 (QStringList{QStringLiteral("2024-11-06 7:00 pm Choir"),
                              QStringLiteral("2024-11-13 7:00 pm Choir"),
                              QStringLiteral("2024-11-20 7:00 pm Choir"),
                              QStringLiteral("2024-11-27 7:00 pm Choir")}));
    }

    // Between zones 25 hours apart, a repetition two days after the month, as the file writes it, still falls
    // on the month's last evening where the calendar is shown.
    void repetitionsFromAZoneFarAhead()
    {
        const QByteArray ics =
            Calendar(Event(QStringLiteral("Line Islands"),
                           {QStringLiteral("DTSTART;TZID=Pacific/Kiritimati:20261101T003000"),
                            QStringLiteral("RRULE:FREQ=DAILY")}));
        const QStringList lines = MonthLines(ics, 12, 2026, QTimeZone("Pacific/Pago_Pago"));
        QCOMPARE(lines.size(), 31);
        QCOMPARE(lines.first(), QStringLiteral("2026-12-01 11:30 pm Line Islands"));
        QCOMPARE(lines.last(), QStringLiteral("2026-12-31 11:30 pm Line Islands"));
    }

    // A moved occurrence whose RECURRENCE-ID names another zone than the series' start replaces the
    // occurrence at that instant.
    void movedOccurrenceNamedInAnotherZone_data()
    {
        QTest::addColumn<QString>("recurrenceId");
        // 9:00 in New York on 11 March 2024 (summer time there, not yet in Europe) is 14:00 in Berlin.
        QTest::newRow("zone libical knows")
            << QStringLiteral("RECURRENCE-ID;TZID=Europe/Berlin:20240311T140000");
        QTest::newRow("Windows zone name")
            << QStringLiteral("RECURRENCE-ID;TZID=W. Europe Standard Time:20240311T140000");
        QTest::newRow("UTC") << QStringLiteral("RECURRENCE-ID:20240311T130000Z");
    }
    void movedOccurrenceNamedInAnotherZone()
    {
        QFETCH(QString, recurrenceId);
        const QByteArray ics = Calendar(
            {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:standup"),
             QStringLiteral("DTSTART;TZID=America/New_York:20240304T090000"),
             QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=2"), QStringLiteral("SUMMARY:Standup"),
             QStringLiteral("END:VEVENT"), QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:standup"),
             recurrenceId, QStringLiteral("DTSTART;TZID=America/New_York:20240312T090000"),
             QStringLiteral("SUMMARY:Standup moved"), QStringLiteral("END:VEVENT")});
        QCOMPARE(MonthLines(ics, 3, 2024, QTimeZone("America/New_York")),
                 (QStringList{QStringLiteral("2024-03-04 9:00 am Standup"),
                              QStringLiteral("2024-03-12 9:00 am Standup moved")}));
    }

    // Events that begin as the window ends, the midnight after its last day, are not in it.
    void startAtTheWindowsEnd_data()
    {
        QTest::addColumn<QStringList>("properties");
        QTest::newRow("an hour long")
            << QStringList{QStringLiteral("DTSTART:20240401T000000"), QStringLiteral("DURATION:PT1H")};
        QTest::newRow("without duration") << QStringList{QStringLiteral("DTSTART:20240401T000000")};
    }
    void startAtTheWindowsEnd()
    {
        QFETCH(QStringList, properties);
        IcsCalendar calendar;
        QVERIFY(calendar.Read(Calendar(Event(QStringLiteral("April"), properties))));
        QCOMPARE(calendar.Occurrences(QDate(2024, 3, 1), QDate(2024, 3, 31), kBerlin).occurrences.size(), 0);
        QCOMPARE(calendar.Occurrences(QDate(2024, 4, 1), QDate(2024, 4, 30), kBerlin).occurrences.size(), 1);
    }

    // A file holding two calendars, one after the other, gives the events of both.
    void twoCalendarsInOneFile()
    {
        const QByteArray ics =
            Calendar(Event(QStringLiteral("Work"), {QStringLiteral("DTSTART:20240305T093000")})) +
            Calendar(Event(QStringLiteral("Home"), {QStringLiteral("DTSTART:20240306T193000")}));
        QCOMPARE(MonthLines(ics, 3, 2024), (QStringList{QStringLiteral("2024-03-05 9:30 am Work"),
                                                        QStringLiteral("2024-03-06 7:30 pm Home")}));
    }

    // A series that begins within the month repeats from its own start, in the month and in the counted
    // one alike.
    void seriesBegunWithinTheMonth()
    {
        const QByteArray ics =
            Calendar(Event(QStringLiteral("Class"),
                           {QStringLiteral("DTSTART:20240313T100000"), QStringLiteral("RRULE:FREQ=WEEKLY")}) +
                     Event(QStringLiteral("Course"), {QStringLiteral("DTSTART:20240314T100000"),
                                                      QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=2")}));
        QCOMPARE(MonthLines(ics, 3, 2024), (QStringList{QStringLiteral("2024-03-13 10:00 am Class"),
                                                        QStringLiteral("2024-03-14 10:00 am Course"),
                                                        QStringLiteral("2024-03-20 10:00 am Class"),
                                                        QStringLiteral("2024-03-21 10:00 am Course"),
                                                        QStringLiteral("2024-03-27 10:00 am Class")}));
    }

    // A daily series begun on the 15th long ago gives each day of a week that starts before the 15th.
    void dailySeriesInAWeek()
    {
        IcsCalendar calendar;
        QVERIFY(
            calendar.Read(Calendar(Event(QStringLiteral("Walk"), {QStringLiteral("DTSTART:20230115T090000"),
                                                                  QStringLiteral("RRULE:FREQ=DAILY")}))));
        const IcsExpansion week = calendar.Occurrences(QDate(2024, 3, 11), QDate(2024, 3, 17), kBerlin);
        QCOMPARE(week.occurrences.size(), 7);
        QCOMPARE(week.occurrences.first().start.date(), QDate(2024, 3, 11));
    }

    // A weekly event of almost four days, written in a zone 25 hours behind the one shown, still reaches
    // into the month from the week before.
    void longRepetitionsFromAZoneFarBehind()
    {
        const QByteArray ics = Calendar(Event(
            QStringLiteral("Retreat"), {QStringLiteral("DTSTART;TZID=Pacific/Pago_Pago:20240218T003000"),
                                        QStringLiteral("DTEND;TZID=Pacific/Pago_Pago:20240221T233000"),
                                        QStringLiteral("RRULE:FREQ=WEEKLY")}));
        const QStringList lines = MonthLines(ics, 3, 2024, QTimeZone("Pacific/Kiritimati"));
        QVERIFY2(!lines.isEmpty() && lines.first().startsWith(QStringLiteral("2024-03-01 ")),
                 qPrintable(lines.join(u'|')));
    }

    // A moved occurrence names its series by UID; without one it replaces nothing.
    void movedOccurrenceWithoutUid()
    {
        const QByteArray ics = Calendar(
            {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("DTSTAMP:20240101T000000Z"),
             QStringLiteral("DTSTART:20240304T180000"), QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=2"),
             QStringLiteral("SUMMARY:Yoga"), QStringLiteral("END:VEVENT"), QStringLiteral("BEGIN:VEVENT"),
             QStringLiteral("DTSTAMP:20240101T000000Z"), QStringLiteral("RECURRENCE-ID:20240311T180000"),
             QStringLiteral("DTSTART:20240312T180000"), QStringLiteral("SUMMARY:Yoga moved"),
             QStringLiteral("END:VEVENT")});
        QCOMPARE(MonthLines(ics, 3, 2024), (QStringList{QStringLiteral("2024-03-04 6:00 pm Yoga"),
                                                        QStringLiteral("2024-03-11 6:00 pm Yoga"),
                                                        QStringLiteral("2024-03-12 6:00 pm Yoga moved")}));
    }

    // Calendar programs do not always give an exclusion the start's value type: a time excludes the day of a
    // whole-day event, and a day excludes the timed occurrence that starts on it.
    void exclusionsOfTheOtherValueType()
    {
        const QByteArray ics =
            Calendar(Event(QStringLiteral("Trip"), {QStringLiteral("DTSTART;VALUE=DATE:20240305"),
                                                    QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=3"),
                                                    QStringLiteral("EXDATE:20240312T000000")}) +
                     Event(QStringLiteral("Piano"), {QStringLiteral("DTSTART:20240306T170000"),
                                                     QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=3"),
                                                     QStringLiteral("EXDATE;VALUE=DATE:20240313")}));
        QCOMPARE(
            MonthLines(ics, 3, 2024),
            (QStringList{QStringLiteral("2024-03-05 Trip"), QStringLiteral("2024-03-06 5:00 pm Piano"),
                         QStringLiteral("2024-03-19 Trip"), QStringLiteral("2024-03-20 5:00 pm Piano")}));
    }

    // A weekly event in a zone with summer time keeps its wall time across the change.
    void repetitionsKeepWallTimeAcrossSummerTime()
    {
        const QByteArray ics =
            Calendar(kBerlinZone + Event(QStringLiteral("Choir"),
                                         {QStringLiteral("DTSTART;TZID=Custom/Berlin:20240307T190000"),
                                          QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=4")}));
        QCOMPARE(MonthLines(ics, 3, 2024), (QStringList{QStringLiteral("2024-03-07 7:00 pm Choir"),
                                                        QStringLiteral("2024-03-14 7:00 pm Choir"),
                                                        QStringLiteral("2024-03-21 7:00 pm Choir"),
                                                        QStringLiteral("2024-03-28 7:00 pm Choir")}));
        // Seen from New York, the zones change a fortnight apart.
        QCOMPARE(MonthLines(ics, 3, 2024, QTimeZone("America/New_York")).value(1),
                 QStringLiteral("2024-03-14 2:00 pm Choir"));
        QCOMPARE(MonthLines(ics, 3, 2024, QTimeZone("America/New_York")).value(0),
                 QStringLiteral("2024-03-07 1:00 pm Choir"));
    }

    // What the program never reads is left out before parsing: alarms whole with their folded lines (their
    // times are not events), long folded descriptions, attendees, extensions. Titles folded over lines stay
    // whole, and a zone's own lines stay, also those a calendar application adds.
    void unreadPartsLeftOut()
    {
        QStringList zone = kBerlinZone;
        zone.insert(2, QStringLiteral("X-LIC-LOCATION:Europe/Berlin"));
        const QByteArray ics = Calendar(
            zone +
            QStringList{QStringLiteral("X-WR-CALNAME:Family"),
                        QStringLiteral("BEGIN:VEVENT"),
                        QStringLiteral("UID:folded"),
                        QStringLiteral("description:Bring the long list"),
                        QStringLiteral("  of things\\, folded"),
                        QStringLiteral("\tover three lines"),
                        QStringLiteral("DTSTART;TZID=Custom/Berlin:20240305T093000"),
                        QStringLiteral("SUMMARY:Dentist with a title "),
                        QStringLiteral(" folded"),
                        QStringLiteral("ATTENDEE;CN=Someone:mailto:someone@example.org"),
                        QStringLiteral("X-MOZ-GENERATION:3"),
                        QStringLiteral("BEGIN:VALARM"),
                        QStringLiteral("ACTION:DISPLAY"),
                        QStringLiteral("TRIGGER:-PT15M"),
                        QStringLiteral("DTSTART:20240306T093000"),
                        QStringLiteral("SUMMARY:Alarm"),
                        QStringLiteral("DESCRIPTION:Fifteen minutes"),
                        QStringLiteral("  to go"),
                        QStringLiteral("END:VALARM"),
                        QStringLiteral("LOCATION:Main Street"),
                        QStringLiteral("END:VEVENT")} +
            Event(QStringLiteral("After the alarm"), {QStringLiteral("DTSTART;VALUE=DATE:20240307")}));
        IcsCalendar calendar;
        QVERIFY(calendar.Read(ics));
        QVERIFY2(calendar.ReadWarnings().isEmpty(), qPrintable(calendar.ReadWarnings().join(u'\n')));
        QCOMPARE(calendar.EventCount(), 2);
        QCOMPARE(MonthLines(ics, 3, 2024, QTimeZone("America/New_York")),
                 (QStringList{QStringLiteral("2024-03-05 3:30 am Dentist with a title folded"),
                              QStringLiteral("2024-03-07 After the alarm")}));
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("error");
        const QString notIcs =
            QStringLiteral("The file is not an iCalendar file: it has no calendar (BEGIN:VCALENDAR).");
        QTest::newRow("empty") << QByteArray() << notIcs;
        QTest::newRow("text") << QByteArray("Dear diary,\nnothing happened.\n") << notIcs;
        const QString notText = QStringLiteral("The file is not an iCalendar file: it is not UTF-8 text.");
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << notText;
        QTest::newRow("Latin-1") << QByteArray("Liebes Tageb\xFC"
                                               "ch\n")
                                 << notText;
        QTest::newRow("UTF-16 beginning with a blank line, without byte-order mark")
            << QByteArray("\r\0\n\0B\0E\0G\0I\0N\0:\0V\0", 18) << notText;
        QTest::newRow("an event alone")
            << QByteArray("BEGIN:VEVENT\r\nDTSTART:20240101\r\nSUMMARY:x\r\nEND:VEVENT\r\n") << notIcs;
        QTest::newRow("nested too deeply")
            << QByteArray("BEGIN:VCALENDAR\r\n") + QByteArray("BEGIN:X\r\n").repeated(100000)
            << QStringLiteral("The file is not an iCalendar file: its parts are nested too deeply.");
        QTest::newRow("nested too deeply, with parameters and folds")
            << QByteArray("BEGIN:VCALENDAR\r\n") +
                   QByteArray("BEGIN;X=1:X\r\nBEG\r\n IN:Y\r\n").repeated(50000)
            << QStringLiteral("The file is not an iCalendar file: its parts are nested too deeply.");
        QTest::newRow("nested too deeply, with properties between")
            << QByteArray("BEGIN:VCALENDAR\r\n") + QByteArray("BEGIN:X\r\nX-A:1\r\n").repeated(100000)
            << QStringLiteral("The file is not an iCalendar file: its parts are nested too deeply.");
    }
    void badFiles()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, error);
        IcsCalendar calendar;
        QVERIFY(!calendar.Read(data));
        QCOMPARE(calendar.ErrorString(), error);
        QCOMPARE(calendar.EventCount(), 0);
        QVERIFY(calendar.Occurrences(QDate(2024, 1, 1), QDate(2024, 12, 31), kBerlin).occurrences.isEmpty());
    }

    // Damage inside a calendar costs the damaged event only, with a word about it.
    void damagedEvents()
    {
        IcsCalendar calendar;
        const QByteArray ics =
            Calendar(Event(QStringLiteral("No start"), {}) +
                     Event(QStringLiteral("Bad start"), {QStringLiteral("DTSTART:2024X305")}) +
                     Event(QStringLiteral("Good"),
                           {QStringLiteral("DTSTART:20240305T100000"), QStringLiteral("X-BROKEN;;;:::")}) +
                     QStringList{QStringLiteral("BEGIN:VEVENT"), QStringLiteral("SUMMARY:never ended")});
        QVERIFY(calendar.Read(ics));
        QCOMPARE(calendar.EventCount(), 1);
        QCOMPARE(calendar.ReadWarnings().size(), 4);
        QCOMPARE(calendar.ReadWarnings()[0],
                 QStringLiteral("The file ends early; the events before the end were read."));
        QVERIFY(calendar.ReadWarnings()[1].contains(QStringLiteral("No start")));
        QVERIFY(calendar.ReadWarnings()[2].contains(QStringLiteral("Bad start")));
        QVERIFY(calendar.ReadWarnings()[3].contains(QStringLiteral("never ended")));
        QCOMPARE(MonthLines(ics, 3, 2024), QStringList{QStringLiteral("2024-03-05 10:00 am Good")});
        QVERIFY(!calendar.Load(QStringLiteral("/no/such/file.ics")));
        QVERIFY(calendar.ErrorString().startsWith(QLatin1String("Unable to read /no/such/file.ics")));
    }

    void unknownZone()
    {
        IcsCalendar calendar;
        QVERIFY(calendar.Read(Calendar(Event(
            QStringLiteral("Landing"), {QStringLiteral("DTSTART;TZID=Mars/Olympus:20240305T093000")}))));
        const MonthImport march = ImportMonth(calendar, 3, 2024, kBerlin);
        QCOMPARE(march.entries.size(), 1);
        QCOMPARE(march.entries[0].text, QStringLiteral("9:30 am Landing"));
        QCOMPARE(march.warnings,
                 QStringList{QStringLiteral(
                     "Unknown time zone \u201CMars/Olympus\u201D: its times are shown as written.")});
        QVERIFY(ImportMonth(calendar, 4, 2024, kBerlin).warnings.isEmpty()); // nothing of it in April
    }

    // Rules that would keep libical busy for minutes give a bounded result with a word about it.
    void boundedExpansion_data()
    {
        QTest::addColumn<QStringList>("properties");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("warning");
        QTest::newRow("every second, of December")
            << QStringList{QStringLiteral("DTSTART:20240301T000000"),
                           QStringLiteral("RRULE:FREQ=SECONDLY;BYMONTH=12")}
            << 1 << QString();
        QTest::newRow("every minute, no end")
            << QStringList{QStringLiteral("DTSTART:19700101T000000"), QStringLiteral("RRULE:FREQ=MINUTELY")}
            << 31 * IcsCalendar::kMaxPerDay << QStringLiteral("occurs more than 24 times on some days");
        QTest::newRow("every second, no end")
            << QStringList{QStringLiteral("DTSTART:19700101T000000"), QStringLiteral("RRULE:FREQ=SECONDLY")}
            << 31 * IcsCalendar::kMaxPerDay << QStringLiteral("occurs more than 24 times on some days");
        QTest::newRow("30 February") << QStringList{QStringLiteral("DTSTART:19700101T000000"),
                                                    QStringLiteral(
                                                        "RRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30")}
                                     << 0 << QString();
        QTest::newRow("30 February, counted")
            << QStringList{QStringLiteral("DTSTART:19700101T000000"),
                           QStringLiteral("RRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30;COUNT=3")}
            << 0 << QString();
        QTest::newRow("the Monday of week 10, in March")
            << QStringList{QStringLiteral("DTSTART;VALUE=DATE:20230306"),
                           QStringLiteral("RRULE:FREQ=YEARLY;BYWEEKNO=10;BYDAY=MO;BYMONTH=3")}
            << 1 << QString();
        QTest::newRow("a week no June has")
            << QStringList{QStringLiteral("DTSTART:19700101T000000"),
                           QStringLiteral("RRULE:FREQ=DAILY;BYWEEKNO=1;BYMONTH=6")}
            << 0 << QString();
        QTest::newRow("a year day no March has")
            << QStringList{QStringLiteral("DTSTART:19700101T000000"),
                           QStringLiteral("RRULE:FREQ=DAILY;BYYEARDAY=1;BYMONTH=3")}
            << 0 << QString();
        // Day 70 is 10 March in 2024 and 11 March in other years; day -298 is 9 March in 2024.
        QTest::newRow("year days counted from either end")
            << QStringList{QStringLiteral("DTSTART;VALUE=DATE:20230101"),
                           QStringLiteral("RRULE:FREQ=YEARLY;BYYEARDAY=70,-298")}
            << 2 << QString();
        QTest::newRow("a sixth Monday of January")
            << QStringList{QStringLiteral("DTSTART;VALUE=DATE:19700105"),
                           QStringLiteral("RRULE:FREQ=YEARLY;BYDAY=6MO;BYMONTH=1")}
            << 0 << QString();
        QTest::newRow("a sixth-last Friday of every month")
            << QStringList{QStringLiteral("DTSTART;VALUE=DATE:19700102"),
                           QStringLiteral("RRULE:FREQ=MONTHLY;BYDAY=-6FR")}
            << 0 << QString();
        QTest::newRow("a fifth Friday, which March 2024 has")
            << QStringList{QStringLiteral("DTSTART;VALUE=DATE:19700130"),
                           QStringLiteral("RRULE:FREQ=MONTHLY;BYDAY=5FR,6MO")}
            << 1 << QString();
        QTest::newRow("the tenth Sunday of the year")
            << QStringList{QStringLiteral("DTSTART;VALUE=DATE:19700308"),
                           QStringLiteral("RRULE:FREQ=YEARLY;BYDAY=10SU")}
            << 1 << QString();
        QTest::newRow("a first Monday, hour by hour")
            << QStringList{QStringLiteral("DTSTART;VALUE=DATE:20240902"),
                           QStringLiteral("RRULE:FREQ=HOURLY;BYDAY=1MO;BYMONTH=9")}
            << 0 << QString();
        QTest::newRow("Mondays, day by day") << QStringList{QStringLiteral("DTSTART:20240101T080000"),
                                                            QStringLiteral("RRULE:FREQ=DAILY;BYDAY=MO")}
                                             << 4 << QString();
        QTest::newRow("a last Monday, day by day")
            << QStringList{QStringLiteral("DTSTART:20240101T000000"),
                           QStringLiteral("RRULE:FREQ=DAILY;BYDAY=-1MO")}
            << 0 << QString();
        QTest::newRow("Mondays of March, hour by hour")
            << QStringList{QStringLiteral("DTSTART:20240101T000000"),
                           QStringLiteral("RRULE:FREQ=HOURLY;BYDAY=MO,2TU;BYMONTH=3")}
            << 4 * 24 << QString();
        QTest::newRow("a Monday 29 February, hour by hour")
            << QStringList{QStringLiteral("DTSTART:19700101T000000"),
                           QStringLiteral("RRULE:FREQ=HOURLY;BYDAY=MO;BYMONTHDAY=29;BYMONTH=2")}
            << 0 << QString();
        QTest::newRow("daily, no end")
            << QStringList{QStringLiteral("DTSTART:19000101T090000"), QStringLiteral("RRULE:FREQ=DAILY")}
            << 31 << QString();
        // Every 20 minutes from 9:00 to 16:40: 24 a day, each day of the month, written either way.
        QTest::newRow("every 20 minutes of the day, day by day")
            << QStringList{QStringLiteral("DTSTART:20240101T090000"),
                           QStringLiteral("RRULE:FREQ=DAILY;BYHOUR=9,10,11,12,13,14,15,16;BYMINUTE=0,20,40")}
            << 31 * 24 << QString();
        QTest::newRow("every 20 minutes of the day, minute by minute")
            << QStringList{QStringLiteral("DTSTART:20240101T090000"),
                           QStringLiteral("RRULE:FREQ=MINUTELY;INTERVAL=20;BYHOUR=9,10,11,12,13,14,15,16")}
            << 31 * 24 << QString();
        QTest::newRow("every 15 minutes of the day, more than a day shows")
            << QStringList{QStringLiteral("DTSTART:20240101T090000"),
                           QStringLiteral("RRULE:FREQ=MINUTELY;INTERVAL=15;BYHOUR=9,10,11,12,13,14,15,16")}
            << 31 * IcsCalendar::kMaxPerDay << QStringLiteral("occurs more than 24 times on some days");
        // Repetitions each lasting years all reach into the month: a day shows at most kMaxPerDay, the month
        // as many as its days and those around it can.
        const int most = IcsCalendar::kMaxPerDay * (31 + 2);
        QTest::newRow("daily, each lasting ten years")
            << QStringList{QStringLiteral("DTSTART:20150101T090000"), QStringLiteral("DURATION:P3650D"),
                           QStringLiteral("RRULE:FREQ=DAILY")}
            << most << QStringLiteral("occurs more than 792 times in these days");
        QTest::newRow("hourly, each lasting a year")
            << QStringList{QStringLiteral("DTSTART:20230301T000000"), QStringLiteral("DURATION:P365D"),
                           QStringLiteral("RRULE:FREQ=HOURLY")}
            << most << QStringLiteral("occurs more than 792 times in these days");
        QStringList numbers;
        for (int i = 0; i < 60; ++i)
            numbers.append(QString::number(i));
        QTest::newRow("every second of week 10")
            << QStringList{QStringLiteral("DTSTART:20240101T000000"),
                           QStringLiteral("RRULE:FREQ=YEARLY;BYWEEKNO=10;BYHOUR=%1;BYMINUTE=%2;BYSECOND=%2")
                               .arg(numbers.mid(0, 24).join(u','), numbers.join(u','))}
            << 7 * IcsCalendar::kMaxPerDay << QStringLiteral("occurs more than 24 times on some days");
        // 2:00 on 31 March is 3:00 in Berlin, which the rule gives anyway.
        QTest::newRow("hourly, each hour of the month")
            << QStringList{QStringLiteral("DTSTART:20240101T000000"), QStringLiteral("RRULE:FREQ=HOURLY")}
            << 31 * 24 - 1 << QString();
        QTest::newRow("counted from long ago")
            << QStringList{QStringLiteral("DTSTART:18000101T090000"),
                           QStringLiteral("RRULE:FREQ=DAILY;COUNT=1000000")}
            << 0 << QStringLiteral("took too long");
    }
    void boundedExpansion()
    {
        QFETCH(QStringList, properties);
        QFETCH(int, count);
        QFETCH(QString, warning);
        IcsCalendar calendar;
        QVERIFY(calendar.Read(Calendar(Event(QStringLiteral("Busy"), properties))));
        const IcsExpansion march = calendar.Occurrences(QDate(2024, 3, 1), QDate(2024, 3, 31), kBerlin);
        QCOMPARE(march.occurrences.size(), count);
        QCOMPARE(march.warnings.size(), warning.isEmpty() ? 0 : 1);
        if (!warning.isEmpty())
            QVERIFY2(march.warnings.first().contains(warning), qPrintable(march.warnings.first()));
    }

    // A hundred thousand events: the month holds at most kMaxOccurrences of them, with a word about the rest.
    void manyEvents()
    {
        QStringList lines;
        for (int i = 0; i < 100000; ++i) {
            lines += QStringList{QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:%1").arg(i),
                                 QStringLiteral("DTSTART:202403%1T%2")
                                     .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                                     .arg(QStringLiteral("100000")),
                                 QStringLiteral("SUMMARY:Event %1").arg(i), QStringLiteral("END:VEVENT")};
        }
        IcsCalendar calendar;
        QVERIFY(calendar.Read(Calendar(lines)));
        QCOMPARE(calendar.EventCount(), 100000);
        const MonthImport march = ImportMonth(calendar, 3, 2024, kBerlin);
        QCOMPARE(march.entries.size(), IcsCalendar::kMaxOccurrences);
        QCOMPARE(march.warnings, QStringList{QStringLiteral(
                                     "More than 5000 events fall in these days; the rest are left out.")});
        QVERIFY(ImportMonth(calendar, 4, 2024, kBerlin).entries.isEmpty());
    }

    // Exactly as many events as a window may hold: all of them, and no word about any left out.
    void asManyEventsAsAllowed()
    {
        QStringList lines;
        for (int i = 0; i < IcsCalendar::kMaxOccurrences; ++i)
            lines +=
                Event(QStringLiteral("Event %1").arg(i),
                      {QStringLiteral("DTSTART:202403%1T100000").arg(1 + i % 28, 2, 10, QLatin1Char('0'))});
        IcsCalendar calendar;
        QVERIFY(calendar.Read(Calendar(lines)));
        const IcsExpansion march = calendar.Occurrences(QDate(2024, 3, 1), QDate(2024, 3, 31), kBerlin);
        QCOMPARE(march.occurrences.size(), IcsCalendar::kMaxOccurrences);
        QCOMPARE(march.warnings, QStringList());
    }

    // Events lasting the whole month count once on each of its days: the earliest starts are kept, up to the
    // same bound, with a word about the rest.
    void manyLongEvents()
    {
        QStringList lines;
        for (int i = 0; i < 200; ++i) {
            lines += Event(QStringLiteral("Long %1").arg(i), {QStringLiteral("DTSTART;VALUE=DATE:20240301"),
                                                              QStringLiteral("DTEND;VALUE=DATE:20240401")});
        }
        IcsCalendar calendar;
        QVERIFY(calendar.Read(Calendar(lines)));
        const MonthImport march = ImportMonth(calendar, 3, 2024, kBerlin);
        QCOMPARE(march.entries.size(), IcsCalendar::kMaxOccurrences);
        QCOMPARE(march.warnings, QStringList{QStringLiteral(
                                     "More than 5000 events fall in these days; the rest are left out.")});
        // 161 events fit: each on every day, in the file's order.
        QCOMPARE(march.entries.first().text, QStringLiteral("Long 0"));
        QCOMPARE(march.entries.last().date, QDate(2024, 3, 31));
        QCOMPARE(march.entries.last().text, QStringLiteral("Long 160"));
        // Exactly at the bound nothing is left out.
        lines.clear();
        for (int i = 0; i < 50; ++i) {
            lines += Event(QStringLiteral("Ten days"),
                           {QStringLiteral("DTSTART;VALUE=DATE:20240301"), QStringLiteral("DURATION:P10D")});
        }
        QVERIFY(calendar.Read(Calendar(lines)));
        bool cut = true;
        const QList<MonthEntry> entries =
            DayEntries(calendar.Occurrences(QDate(2024, 3, 1), QDate(2024, 3, 31), kBerlin).occurrences,
                       QDate(2024, 3, 1), QDate(2024, 3, 31), &cut);
        QCOMPARE(entries.size(), 500);
        QVERIFY(!cut);
    }

    // Yearly rules as RFC 5545 reads them, where libical 3.0 loses days: weeks that reach into another year,
    // and days of the month that repeat in every month when the rule names none.
    void daysOfYearlyRules_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QDate>("month");
        QTest::addColumn<QStringList>("days");
        const QString week1 = QStringLiteral("FREQ=YEARLY;BYWEEKNO=1;BYDAY=MO,TU,WE,TH,FR,SA,SU");
        QTest::newRow("week 1 in its January")
            << QStringLiteral("20150101") << week1 << QDate(2015, 1, 1)
            << QStringList{QStringLiteral("2015-01-01"), QStringLiteral("2015-01-02"),
                           QStringLiteral("2015-01-03"), QStringLiteral("2015-01-04")};
        QTest::newRow("no week 1 in a December before one on 4 January")
            << QStringLiteral("20150101") << week1 << QDate(2015, 12, 1) << QStringList{};
        QTest::newRow("week 1 in the December before")
            << QStringLiteral("20150101") << week1 << QDate(2019, 12, 1)
            << QStringList{QStringLiteral("2019-12-30"), QStringLiteral("2019-12-31")};
        QTest::newRow("the last week in the January after")
            << QStringLiteral("19971228") << QStringLiteral("FREQ=YEARLY;BYWEEKNO=-1;BYDAY=SU")
            << QDate(2000, 1, 1) << QStringList{QStringLiteral("2000-01-02")};
        QTest::newRow("week 52 of a year of 52")
            << QStringLiteral("19971228") << QStringLiteral("FREQ=YEARLY;BYWEEKNO=52;BYDAY=SU")
            << QDate(2000, 12, 1) << QStringList{QStringLiteral("2000-12-31")};
        const QString friday13 = QStringLiteral("FREQ=YEARLY;BYMONTHDAY=13;BYDAY=FR");
        QTest::newRow("Friday the 13th in a later month")
            << QStringLiteral("20240913") << friday13 << QDate(2024, 12, 1)
            << QStringList{QStringLiteral("2024-12-13")};
        QTest::newRow("no Friday the 13th")
            << QStringLiteral("20240913") << friday13 << QDate(2024, 10, 1) << QStringList{};
        QTest::newRow("the last day of every month")
            << QStringLiteral("20240131") << QStringLiteral("FREQ=YEARLY;BYMONTHDAY=-1") << QDate(2024, 2, 1)
            << QStringList{QStringLiteral("2024-02-29")};
        QTest::newRow("picked by position, none past the year's last")
            << QStringLiteral("20150101") << week1 + QStringLiteral(";BYSETPOS=1,-1,9") << QDate(2019, 12, 1)
            << QStringList{QStringLiteral("2019-12-31")};
        const QString firstAndLastMonday = QStringLiteral("FREQ=YEARLY;BYWEEKNO=1,2;BYDAY=1MO,-1MO");
        QTest::newRow("the year's last Monday, in week 1 of the next")
            << QStringLiteral("20240101") << firstAndLastMonday << QDate(2024, 12, 1)
            << QStringList{QStringLiteral("2024-12-30")};
        QTest::newRow("the year's first Monday, in week 2")
            << QStringLiteral("20240101") << firstAndLastMonday << QDate(2025, 1, 1)
            << QStringList{QStringLiteral("2025-01-06")};
        QTest::newRow("a numbered weekday counts in the month named")
            << QStringLiteral("20230110") << QStringLiteral("FREQ=YEARLY;BYWEEKNO=1,2;BYMONTH=1;BYDAY=2TU")
            << QDate(2024, 1, 1) << QStringList{QStringLiteral("2024-01-09")};
        QTest::newRow("a rule naming its month keeps to it")
            << QStringLiteral("20240913") << QStringLiteral("FREQ=YEARLY;BYMONTH=9;BYMONTHDAY=13;BYDAY=FR")
            << QDate(2024, 12, 1) << QStringList{};
    }
    void daysOfYearlyRules()
    {
        QFETCH(QString, start);
        QFETCH(QString, rule);
        QFETCH(QDate, month);
        QFETCH(QStringList, days);
        const QStringList lines =
            MonthLines(Calendar(Event(QStringLiteral("x"), {QStringLiteral("DTSTART;VALUE=DATE:") + start,
                                                            QStringLiteral("RRULE:") + rule})),
                       month.month(), month.year());
        QCOMPARE(lines, days.replaceInStrings(QRegularExpression(QStringLiteral("$")), QStringLiteral(" x")));
    }

    // An independent reckoning: python-dateutil's rrule gives the same starts in each month (a day's first
    // kMaxPerDay), for the rules the program expands itself and some libical expands.
    void agreesWithDateutil_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("months");
        auto row = [](const char* start, const char* rule, const char* months) {
            QTest::newRow(rule) << QString::fromLatin1(start) << QString::fromLatin1(rule)
                                << QString::fromLatin1(months).split(u',');
        };
        row("20231202T090000", "FREQ=DAILY;BYHOUR=9,10,11,12,13,14,15,16;BYMINUTE=0,20,40",
            "2023-12,2024-03");
        row("20231202T090000", "FREQ=MINUTELY;INTERVAL=20;BYHOUR=9,10,11,12,13,14,15,16", "2023-12,2024-03");
        row("20240301T090000", "FREQ=MINUTELY;INTERVAL=7;BYHOUR=9", "2024-03,2024-04");
        row("20240301T090000", "FREQ=HOURLY;INTERVAL=5", "2024-03,2024-05");
        row("20240101T091500", "FREQ=HOURLY;INTERVAL=3;BYMINUTE=15,45;BYDAY=MO,WE", "2024-02");
        row("20240101T090000", "FREQ=HOURLY;BYMINUTE=0,15,30,45;BYSETPOS=-1;BYHOUR=9,10", "2024-02");
        row("20240101T080000", "FREQ=MINUTELY;BYSECOND=0,30;BYHOUR=8;BYMINUTE=0,1", "2024-02");
        row("20240101T120000", "FREQ=SECONDLY;INTERVAL=90;BYHOUR=12;BYMINUTE=0,1,2,3,4,5,6,7,8,9,10",
            "2024-01");
        row("20240105T100000", "FREQ=MINUTELY;INTERVAL=90;COUNT=40", "2024-01");
        row("20240101T000000", "FREQ=MINUTELY;BYHOUR=9;BYMINUTE=0,10,20,30,40,50", "2024-03");
        row("20150101", "FREQ=YEARLY;BYWEEKNO=1;BYDAY=MO,TU,WE,TH,FR,SA,SU",
            "2015-01,2015-12,2019-12,2020-01,2024-12,2025-01,2026-12");
        row("19971228", "FREQ=YEARLY;BYWEEKNO=-1;BYDAY=SU", "1997-12,1999-12,2000-01,2025-12,2026-01");
        row("19981228", "FREQ=YEARLY;BYWEEKNO=53;BYDAY=MO", "1998-12,2004-12,2009-12,2020-12");
        row("20150108", "FREQ=YEARLY;BYWEEKNO=1,52;BYDAY=MO,TH;WKST=SU", "2015-12,2016-01,2020-12,2021-01");
        row("20150101", "FREQ=YEARLY;INTERVAL=2;BYWEEKNO=1;BYDAY=MO,TU,WE,TH,FR,SA,SU;COUNT=12",
            "2015-01,2016-12,2017-01,2018-12,2019-01");
        row("20150101T100000", "FREQ=YEARLY;BYWEEKNO=1;BYDAY=TU,TH;BYHOUR=10,15", "2014-12,2015-01,2020-01");
        row("20240101", "FREQ=YEARLY;BYWEEKNO=1,2;BYDAY=1MO,-1MO", "2024-01,2024-12,2025-01,2025-12");
        row("20240109", "FREQ=YEARLY;BYWEEKNO=1,2;BYMONTH=1;BYDAY=2TU", "2024-01,2025-01");
        row("20240913", "FREQ=YEARLY;BYMONTHDAY=13;BYDAY=FR", "2024-09,2024-12,2025-06,2026-02,2026-03");
        row("20241213", "FREQ=YEARLY;BYMONTHDAY=13;BYDAY=FR;BYSETPOS=-1", "2024-12,2025-06");
        row("20240101", "FREQ=YEARLY;BYMONTHDAY=1,15;BYDAY=MO", "2024-04,2025-09,2025-12");
        row("20240126", "FREQ=MONTHLY;BYDAY=-1FR", "2024-03");
        row("20240102T180000", "FREQ=WEEKLY;INTERVAL=2;BYDAY=TU,TH", "2024-03");
    }
    void agreesWithDateutil()
    {
        QFETCH(QString, start);
        QFETCH(QString, rule);
        QFETCH(QStringList, months);
        const std::optional<QStringList> reckoned = DateutilStarts(start, rule, months);
        if (!reckoned)
            QSKIP("python3 with dateutil is not installed");
        IcsCalendar calendar;
        QVERIFY(calendar.Read(Calendar(Event(
            QStringLiteral("x"),
            {(start.contains(u'T') ? QStringLiteral("DTSTART:") : QStringLiteral("DTSTART;VALUE=DATE:")) +
                 start,
             QStringLiteral("RRULE:") + rule}))));
        QStringList starts;
        for (const QString& month : months) {
            const QDate first = QDate::fromString(month + QStringLiteral("-01"), Qt::ISODate);
            for (const IcsOccurrence& o :
                 calendar.Occurrences(first, first.addMonths(1).addDays(-1), QTimeZone::utc()).occurrences)
                starts.append(o.start.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
            starts.append(QStringLiteral("-"));
        }
        QCOMPARE(starts, *reckoned);
    }

    // Files in UTF-16 or UTF-32, or with a byte-order mark, are read as the text they are.
    void encodings_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QString text = QString::fromUtf8(
            Calendar(Event(QStringLiteral("Caf\u00E9 \u2713"), {QStringLiteral("DTSTART:20240305T100000")})));
        auto encoded = [&text](QStringConverter::Encoding encoding, bool mark) {
            QStringEncoder encoder(encoding,
                                   mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
            return QByteArray(encoder.encode(text));
        };
        QTest::newRow("UTF-8 with byte-order mark") << encoded(QStringConverter::Utf8, true);
        QTest::newRow("UTF-16LE with byte-order mark") << encoded(QStringConverter::Utf16LE, true);
        QTest::newRow("UTF-16BE with byte-order mark") << encoded(QStringConverter::Utf16BE, true);
        QTest::newRow("UTF-16LE without") << encoded(QStringConverter::Utf16LE, false);
        QTest::newRow("UTF-16BE without") << encoded(QStringConverter::Utf16BE, false);
        QTest::newRow("UTF-32LE with byte-order mark") << encoded(QStringConverter::Utf32LE, true);
    }
    void encodings()
    {
        QFETCH(QByteArray, data);
        QCOMPARE(MonthLines(data, 3, 2024),
                 QStringList{QStringLiteral("2024-03-05 10:00 am Caf\u00E9 \u2713")});
    }

    // A file cut off inside a calendar, the first or a later one, gives what it holds with a word about it.
    void cutInsideACalendar_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("lines");
        const QByteArray work =
            Calendar(Event(QStringLiteral("Work"), {QStringLiteral("DTSTART:20240305T093000")}));
        const QByteArray home =
            Calendar(Event(QStringLiteral("Home"), {QStringLiteral("DTSTART:20240306T193000")}) +
                     Event(QStringLiteral("Gym"), {QStringLiteral("DTSTART:20240307T193000")}));
        const QString workLine = QStringLiteral("2024-03-05 9:30 am Work");
        const QString homeLine = QStringLiteral("2024-03-06 7:30 pm Home");
        QTest::newRow("in the first") << home.left(home.indexOf("BEGIN:VEVENT", 60)) << QStringList{homeLine};
        QTest::newRow("in an event of the second")
            << work + home.left(home.indexOf("SUMMARY:Gym")) << QStringList{workLine, homeLine};
        QTest::newRow("after the events of the second")
            << work + home.left(home.indexOf("END:VCALENDAR"))
            << QStringList{workLine, homeLine, QStringLiteral("2024-03-07 7:30 pm Gym")};
        QTest::newRow("in the third")
            << work + work + home.left(home.indexOf("DTSTART")) << QStringList{workLine, workLine};
    }
    void cutInsideACalendar()
    {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, lines);
        IcsCalendar calendar;
        QVERIFY(calendar.Read(data));
        QCOMPARE(calendar.ReadWarnings().value(0),
                 QStringLiteral("The file ends early; the events before the end were read."));
        QCOMPARE(MonthLines(data, 3, 2024), lines);
    }

    // Control characters of a damaged file reach no entry, and messages show them escaped.
    void controlCharacters()
    {
        const QByteArray ics = Calendar(Event(QStringLiteral("Bell\a and \x1b[31mred"),
                                              {QStringLiteral("DTSTART;TZID=Mars\x01:20240305T093000")}) +
                                        Event(QStringLiteral("No\x1b[2J start"), {}));
        IcsCalendar calendar;
        QVERIFY(calendar.Read(ics));
        QCOMPARE(calendar.ReadWarnings(),
                 QStringList{QStringLiteral(
                     "An event without a valid start was left out: \u201CNo\\x1b[2J start\u201D")});
        const MonthImport march = ImportMonth(calendar, 3, 2024, kBerlin);
        QCOMPARE(march.entries.value(0).text, QStringLiteral("9:30 am Bell and [31mred"));
        QCOMPARE(march.warnings,
                 QStringList{QStringLiteral(
                     "Unknown time zone \u201CMars\\x01\u201D: its times are shown as written.")});
    }

    void dayTexts()
    {
        const QList<MonthEntry> entries = {{QDate(2024, 3, 5), QStringLiteral("a")},
                                           {QDate(2024, 3, 5), QStringLiteral("b")},
                                           {QDate(2024, 3, 7), QStringLiteral("c")}};
        const QList<recurring::DayText> texts = DayTexts(entries);
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts[0].day, 5);
        QCOMPARE(texts[0].text, QStringLiteral("a\nb"));
        QCOMPARE(texts[1].day, 7);
        QCOMPARE(texts[1].text, QStringLiteral("c"));
    }
};

QTEST_GUILESS_MAIN(TestIcsCalendar)
#include "tst_icscalendar.moc"
