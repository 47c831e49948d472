#include "exchange/IcsExport.h"
#include "recurring/HolidaySets.h"
#include "recurring/RecurringStore.h"
#include "tests/support/TestEnvironment.h"

#include <QSet>
#include <QTest>
#include <QTimeZone>

#include <libical/ical.h>

#include <memory>

using namespace exchange;
using recurring::MakeLine;

namespace {

struct IcalFree
{
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, IcalFree>;

QList<icalcomponent*> Events(icalcomponent* calendar)
{
    QList<icalcomponent*> events;
    for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
        events.append(e);
    return events;
}

/** The days libical's own expansion gives an event from first to last (both included). */
QList<QDate> Expand(icalcomponent* event, int firstYear, int lastYear)
{
    QList<QDate> days;
    icaltimetype from = icaltime_null_date();
    from.year = firstYear;
    from.month = 1;
    from.day = 1;
    icaltimetype to = from;
    to.year = lastYear + 1;
    icalcomponent_foreach_recurrence(
        event, from, to,
        [](icalcomponent*, struct icaltime_span* span, void* data) {
            const QDateTime start = QDateTime::fromSecsSinceEpoch(span->start, QTimeZone::utc());
            static_cast<QList<QDate>*>(data)->append(start.date());
        },
        &days);
    return days;
}

QString Rule(icalcomponent* event)
{
    icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (!rrule)
        return QString();
    icalrecurrencetype recurrence = icalproperty_get_rrule(rrule);
    return QString::fromUtf8(icalrecurrencetype_as_string(&recurrence));
}

} // namespace

class TestIcsExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    // A rule becomes an RRULE where iCalendar has one, a list of dates where it has none.
    void rules_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("rdates");
        QTest::newRow("a date every year") << "@0704"
                                           << "FREQ=YEARLY;BYMONTHDAY=4;BYMONTH=7" << 0;
        QTest::newRow("a date every month") << "@0031"
                                            << "FREQ=MONTHLY;BYMONTHDAY=31" << 0;
        QTest::newRow("4th Thursday") << "$3 4 11"
                                      << "FREQ=YEARLY;BYDAY=4TH;BYMONTH=11" << 0;
        QTest::newRow("last Monday") << "$5 1 5"
                                     << "FREQ=YEARLY;BYDAY=-1MO;BYMONTH=5" << 0;
        QTest::newRow("5th Monday of every month") << "$4 1 0"
                                                   << "FREQ=MONTHLY;BYDAY=5MO" << 0;
        QTest::newRow("last day of every month") << "$5 7 0"
                                                 << "FREQ=MONTHLY;BYMONTHDAY=-1" << 0;
        QTest::newRow("3rd day of March") << "$2 7 3"
                                          << "FREQ=YEARLY;BYMONTHDAY=3;BYMONTH=3" << 0;
        QTest::newRow("weekends") << "%17"
                                  << "FREQ=WEEKLY;BYDAY=SA,SU" << 0; // as libical prints it
        QTest::newRow("Midsummer") << ">60620"
                                   << "FREQ=YEARLY;BYDAY=SA;BYMONTHDAY=20,21,22,23,24,25,26;BYMONTH=6" << 0;
        QTest::newRow("last Sunday of October")
            << ">01025"
            << "FREQ=YEARLY;BYDAY=SU;BYMONTHDAY=25,26,27,28,29,30,31;BYMONTH=10" << 0;
        QTest::newRow("Friday on or after the 22nd, every month")
            << ">50022"
            << "FREQ=MONTHLY;BYDAY=FR;BYMONTHDAY=22,23,24,25,26,27,28" << 0;
        QTest::newRow("into the next month") << ">61031"
                                             << "" << 9;
        QTest::newRow("Easter") << "#EASTER"
                                << "" << 9;
        QTest::newRow("Ascension") << "#EASTER+39"
                                   << "" << 9;
    }
    void rules()
    {
        QFETCH(QString, formula);
        QFETCH(QString, rule);
        QFETCH(int, rdates);
        const IcsExport result = ExportStore({MakeLine(QStringLiteral("Day"), formula)}, 2024, 10);
        QCOMPARE(result.events, 1);
        const Component calendar(icalparser_parse_string(result.ics.constData()));
        QVERIFY(calendar);
        const QList<icalcomponent*> events = Events(calendar.get());
        QCOMPARE(events.size(), 1);
        QCOMPARE(Rule(events[0]), rule);
        QCOMPARE(icalcomponent_count_properties(events[0], ICAL_RDATE_PROPERTY), rdates);
    }

    // Fields out of range, as a damaged store may hold them, make no rule of the calendar's.
    void damagedRulesWriteNoRule_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::newRow("occurrence 6") << "$6 1 0 ";
        QTest::newRow("occurrence -1") << "$-11 0 ";
        QTest::newRow("weekday 8") << "$3 8 0 ";
        QTest::newRow("weekday -1") << "$3 -10 ";
        QTest::newRow("month 13") << "$3 1 13";
        QTest::newRow("month -1") << "$3 1 -1";
        QTest::newRow("date in month 13") << "@1304";
        QTest::newRow("day 32") << "@0732";
    }
    void damagedRulesWriteNoRule()
    {
        QFETCH(QString, formula);
        const IcsExport result = ExportStore({MakeLine(QStringLiteral("Day"), formula)}, 2024, 10);
        QVERIFY2(!result.ics.contains("RRULE"), result.ics.constData());
    }

    void calendarAndEventFields()
    {
        const QStringList lines = {
            MakeLine(QStringLiteral("Mom's birthday \u2764"), QStringLiteral("@0512")),
            MakeLine(QStringLiteral("Mom's birthday \u2764"), QStringLiteral("@0512"))};
        const IcsExport result =
            ExportStore(lines, 2024, 50, QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), QTimeZone::utc()));
        QVERIFY(result.ics.startsWith("BEGIN:VCALENDAR\r\n"));
        QVERIFY(result.ics.contains("VERSION:2.0\r\n"));
        QVERIFY(result.ics.contains("PRODID:-//Datoria//Recurring Dates//EN\r\n"));
        QVERIFY(result.ics.contains("DTSTAMP:20240102T030405Z\r\n"));
        QVERIFY(result.ics.contains("DTSTART;VALUE=DATE:20240512\r\n"));
        QVERIFY(result.ics.contains("TRANSP:TRANSPARENT\r\n"));
        QVERIFY(result.ics.contains(QStringLiteral("SUMMARY:Mom's birthday \u2764\r\n").toUtf8()));
        // Equal lines get different UIDs, and the same UIDs in the next export.
        const Component calendar(icalparser_parse_string(result.ics.constData()));
        const QList<icalcomponent*> events = Events(calendar.get());
        QCOMPARE(events.size(), 2);
        const QString uid = QString::fromUtf8(icalcomponent_get_uid(events[0]));
        QVERIFY(uid != QString::fromUtf8(icalcomponent_get_uid(events[1])));
        QVERIFY(ExportStore(lines, 2030, 5).ics.contains(uid.toUtf8()));
    }

    void skippedLines()
    {
        const QStringList lines = {QStringLiteral("No formula"),
                                   MakeLine(QStringLiteral("Unknown word"), QStringLiteral("#XMAS")),
                                   MakeLine(QStringLiteral("30 February"), QStringLiteral("@0230")),
                                   MakeLine(QStringLiteral("10th Monday"), QStringLiteral("$9 1 1")),
                                   MakeLine(QStringLiteral("No days"), QStringLiteral("%")),
                                   MakeLine(QStringLiteral("Unreadable"), QStringLiteral(">9x620")),
                                   MakeLine(QStringLiteral("Fine"), QStringLiteral("@0101"))};
        const IcsExport result = ExportStore(lines, 2024, 50);
        QCOMPARE(result.events, 1);
        QCOMPARE(result.skipped, lines.mid(0, 6));
    }

    // Every formula the program ships, and a few more, read back with libical and expanded for 1990-2060,
    // gives the days the formulas give.
    void sameDatesAsTheFormulas()
    {
        QStringList lines = recurring::HolidayLines();
        for (const recurring::HolidayCountry& country : recurring::HolidayCountries()) {
            for (const QString& line : recurring::HolidaySetLines(country.code)) {
                if (!lines.contains(line))
                    lines.append(line);
            }
        }
        for (const char* formula : {"@0031", "@0229", "$4 1 0", "$5 7 2", "$0 7 0", "%17", "%2", ">10026",
                                    ">50001", "#ORTHO+50", "#EASTER-99"})
            lines.append(MakeLine(QLatin1String(formula), QLatin1String(formula)));
        constexpr int kFirst = 1990;
        constexpr int kLast = 2060;
        const IcsExport result = ExportStore(lines, kFirst, kLast - kFirst + 1);
        QVERIFY(result.skipped.isEmpty());
        const Component calendar(icalparser_parse_string(result.ics.constData()));
        QVERIFY(calendar);
        const QList<icalcomponent*> events = Events(calendar.get());
        QCOMPARE(events.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QList<QDate> expected;
            for (int year = kFirst; year <= kLast; ++year) {
                for (const recurring::DatedText& d : recurring::DatesOfYear({lines[i]}, year))
                    expected.append(d.date);
            }
            QCOMPARE(QString::fromUtf8(icalcomponent_get_summary(events[i])),
                     recurring::LineDescription(lines[i]));
            const QList<QDate> got = Expand(events[i], kFirst, kLast);
            QVERIFY2(got == expected,
                     qPrintable(QStringLiteral("%1: %2 dates from libical, %3 from the formula")
                                    .arg(lines[i].simplified())
                                    .arg(got.size())
                                    .arg(expected.size())));
        }
    }
};

QTEST_GUILESS_MAIN(TestIcsExport)
#include "tst_icsexport.moc"
