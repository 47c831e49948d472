#include "calendar/TCalendarPanel32.h"
#include "exchange/IcsCalendar.h"
#include "print/MonthFill.h"
#include "print/PdfExport.h"
#include "recurring/RecurringStore.h"
#include "richtext/RtfPlainText.h"
#include "richtext/RtfReader.h"
#include "tests/support/TestEnvironment.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <memory>

using calendar::TCalendarPanel32;

namespace {

const char* const kFamily =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
    "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20241224T180000\r\nSUMMARY:Carols\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;VALUE=DATE:20241225\r\nSUMMARY:Christmas Day\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:3\r\nDTSTART:20241224T093000\r\nSUMMARY:Bakery\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:4\r\nDTSTART;VALUE=DATE:20241230\r\nDTEND;VALUE=DATE:20250103\r\n"
    "SUMMARY:Skiing\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:5\r\nDTSTART;VALUE=DATE:20241201\r\nSUMMARY:First of December\r\nEND:VEVENT\r\n"
    "END:VCALENDAR\r\n";

std::shared_ptr<const exchange::IcsCalendar> Family()
{
    auto calendar = std::make_shared<exchange::IcsCalendar>();
    if (!calendar->Read(kFamily))
        return nullptr;
    return calendar;
}

std::unique_ptr<TCalendarPanel32> NewPage(int layout)
{
    auto page = std::make_unique<TCalendarPanel32>();
    page->ResetToNew();
    page->SetCalendarLayout(calendar::TCalendarLayout(layout));
    page->Relayout(true);
    return page;
}

print::PageContent Content(int month, int year, int day = 1)
{
    print::PageContent content;
    content.month = month;
    content.year = year;
    content.day = day;
    return content;
}

QString CellText(const TCalendarPanel32& page, const print::PageContent& content, int day)
{
    const int cell = print::CellOfDay(page, content, day);
    return cell == 0 ? QString() : richtext::RtfPlainText(content.cells[size_t(cell - 1)]);
}

} // namespace

class TestEventFill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    // A day's events go on it in one insertion, a line each in start order, after the recurring dates; a
    // multi-day event goes on each of its days in the month.
    void eventsOnTheirDays()
    {
        auto page = NewPage(calendar::LOFullCalendarLS);
        print::PageContent content = Content(12, 2024);
        print::MonthFillSources sources;
        sources.recurringLines = {
            recurring::MakeLine(QStringLiteral("Christmas Eve"), QStringLiteral("@1224"))};
        sources.events = Family();
        QVERIFY(sources.events);
        sources.zone = QTimeZone::utc();
        sources.attributes.fontName = QStringLiteral("Times New Roman");
        sources.attributes.pointSize = 14;
        sources.attributes.bold = true;
        QVERIFY(print::FillMonth(*page, content, sources).isEmpty());
        QCOMPARE(CellText(*page, content, 24),
                 QStringLiteral("Christmas Eve\n\n9:30 am Bakery\n6:00 pm Carols"));
        QCOMPARE(CellText(*page, content, 25), QStringLiteral("Christmas Day"));
        QCOMPARE(CellText(*page, content, 30), QStringLiteral("Skiing"));
        QCOMPARE(CellText(*page, content, 31), QStringLiteral("Skiing"));
        QCOMPARE(CellText(*page, content, 1), QStringLiteral("First of December"));
        QCOMPARE(CellText(*page, content, 2), QString());

        // In the font asked for.
        QTextDocument document;
        richtext::ReadRtf(content.cells[size_t(print::CellOfDay(*page, content, 25) - 1)], document);
        const QTextCharFormat format = document.begin().begin().fragment().charFormat();
        QCOMPARE(format.fontFamilies().toStringList().value(0), QStringLiteral("Times New Roman"));
        QCOMPARE(format.fontPointSize(), 14.0);
        QCOMPARE(format.fontWeight(), int(QFont::Bold));

        // Filled again, the cells hold what they held: only lines not there yet are added.
        const auto before = content.cells;
        print::FillMonth(*page, content, sources);
        QVERIFY(before == content.cells);
    }

    // The next month gets the rest of a multi-day event and nothing else.
    void anotherMonth()
    {
        auto page = NewPage(calendar::LOFullCalendarLS);
        print::PageContent content = Content(1, 2025);
        print::MonthFillSources sources;
        sources.events = Family();
        sources.zone = QTimeZone::utc();
        print::FillMonth(*page, content, sources);
        QCOMPARE(CellText(*page, content, 1), QStringLiteral("Skiing"));
        QCOMPARE(CellText(*page, content, 2), QStringLiteral("Skiing"));
        int filled = 0;
        for (const QByteArray& cell : content.cells)
            filled += cell.isEmpty() ? 0 : 1;
        QCOMPARE(filled, 2);
    }

    // A week planner shows the events of its own days, also those of the next month; a day planner, whose
    // rows carry no days, and a page of mini calendars take none.
    void daysShown_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("day");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::newRow("month grid") << int(calendar::loFullCalendar) << 24 << QDate(2024, 12, 1)
                                    << QDate(2024, 12, 31);
        QTest::newRow("month grid, twelve after, landscape")
            << int(calendar::loFC12AfterLS) << 24 << QDate(2024, 12, 1) << QDate(2024, 12, 31);
        QTest::newRow("week") << int(calendar::loWeek) << 24 << QDate(2024, 12, 24) << QDate(2024, 12, 30);
        QTest::newRow("two weeks") << int(calendar::lo2Week) << 24 << QDate(2024, 12, 24)
                                   << QDate(2025, 1, 6);
        QTest::newRow("day planner") << int(calendar::loDay10) << 24 << QDate() << QDate();
        QTest::newRow("twelve minis") << int(calendar::loMC12Month) << 24 << QDate() << QDate();
    }
    void daysShown()
    {
        QFETCH(int, layout);
        QFETCH(int, day);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        auto page = NewPage(layout);
        const auto shown = print::DaysShown(*page, Content(12, 2024, day));
        QCOMPARE(shown.first, first);
        QCOMPARE(shown.second, last);
    }

    void weekPlannerAcrossTheMonthsEnd()
    {
        auto page = NewPage(calendar::lo2Week);
        print::PageContent content = Content(12, 2024, 24);
        print::MonthFillSources sources;
        sources.events = Family();
        sources.zone = QTimeZone::utc();
        print::FillMonth(*page, content, sources);
        QCOMPARE(CellText(*page, content, 24), QStringLiteral("9:30 am Bakery\n6:00 pm Carols"));
        QCOMPARE(CellText(*page, content, 2), QStringLiteral("Skiing")); // 2 January
        // 1 December is not shown; its event does not land on the row of 1 January.
        QCOMPARE(CellText(*page, content, 1), QStringLiteral("Skiing"));
    }

    // The pages of a PDF run each take their own month's events; what the expansion could not do exactly is
    // gathered.
    void runPagesTakeTheirMonths()
    {
        auto page = NewPage(calendar::LOFullCalendarLS);
        page->SetMainCalMonth(11);
        page->SetMainCalYear(2024);
        QStringList warnings;
        print::PdfExportOptions options;
        options.months = 3;
        options.fill = true;
        auto calendar = std::make_shared<exchange::IcsCalendar>();
        QVERIFY(calendar->Read("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:z\r\nDTSTART;TZID=Mars/Olympus:"
                               "20241205T100000\r\nSUMMARY:Launch\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"));
        options.sources.events = calendar;
        options.sources.zone = QTimeZone::utc();
        options.warnings = &warnings;
        const print::PageContent november = print::RunPageContent(*page, options, 0);
        QVERIFY(warnings.isEmpty());
        for (const QByteArray& cell : november.cells)
            QVERIFY(cell.isEmpty());
        const print::PageContent december = print::RunPageContent(*page, options, 1);
        QCOMPARE(CellText(*page, december, 5), QStringLiteral("10:00 am Launch"));
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings[0].contains(QStringLiteral("Mars/Olympus")), qPrintable(warnings[0]));
    }
};

QTEST_MAIN(TestEventFill)
#include "tst_eventfill.moc"
