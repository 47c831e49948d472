#include "calendar/TCalendarPanel32.h"
#include "exchange/IcsCalendar.h"
#include "exchange/IcsMonth.h"
#include "richtext/CharAttributes.h"
#include "richtext/RtfPlainText.h"
#include "richtext/RtfReader.h"
#include "richtext/TVelRtfStorage.h"
#include "tests/support/TestEnvironment.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace exchange;

namespace {

QString CellText(const calendar::TCalendarPanel32& page, int day)
{
    QTextDocument document;
    richtext::ReadRtf(page.CellStorage(page.CellOfDay(day)).RtfText(), document);
    return document.toPlainText();
}

} // namespace

class TestPageFill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    // Texts go to their days' cells as paragraphs after what the cells hold, as the editor puts them.
    void textsOnTheirDays()
    {
        calendar::TCalendarPanel32 page;
        page.SetMainCalMonth(3);
        page.SetMainCalYear(2024);
        richtext::CharAttributes font;
        font.fontName = QStringLiteral("Times New Roman");
        font.pointSize = 14;
        font.bold = true;
        PutTextsOnPage(page, {{5, QStringLiteral("9:30 am Dentist\n12:00 pm Lunch")}}, font);
        QCOMPARE(CellText(page, 5), QStringLiteral("9:30 am Dentist\n12:00 pm Lunch\n"));
        PutTextsOnPage(
            page,
            {{5, QStringLiteral("Later")}, {31, QStringLiteral("Easter")}, {32, QStringLiteral("none")}},
            font);
        // A second text follows an empty paragraph, as two texts put on one day through the editor do.
        QCOMPARE(CellText(page, 5), QStringLiteral("9:30 am Dentist\n12:00 pm Lunch\n\nLater\n"));
        QCOMPARE(CellText(page, 31), QStringLiteral("Easter\n"));
        QVERIFY(page.CellStorage(page.CellOfDay(6)).IsEmpty());
        // In the font asked for.
        QTextDocument document;
        richtext::ReadRtf(page.CellStorage(page.CellOfDay(31)).RtfText(), document);
        const QTextCharFormat format = document.begin().begin().fragment().charFormat();
        QCOMPARE(format.fontFamilies().toStringList().value(0), QStringLiteral("Times New Roman"));
        QCOMPARE(format.fontPointSize(), 14.0);
        QCOMPARE(format.fontWeight(), int(QFont::Bold));
    }

    // The month the page shows, from a calendar file, on a page that was never painted.
    void monthFromACalendar()
    {
        IcsCalendar calendar;
        QVERIFY(calendar.Read(
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:a\r\n"
            "DTSTART:20241224T180000\r\nSUMMARY:Carols\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nUID:b\r\n"
            "DTSTART;VALUE=DATE:20241225\r\nSUMMARY:Christmas\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"));
        calendar::TCalendarPanel32 page;
        page.SetMainCalMonth(12);
        page.SetMainCalYear(2024);
        QVERIFY(FillMonthFromIcs(page, calendar, richtext::CharAttributes(), QTimeZone::utc()).isEmpty());
        QCOMPARE(CellText(page, 24), QStringLiteral("6:00 pm Carols\n"));
        QCOMPARE(CellText(page, 25), QStringLiteral("Christmas\n"));
        // Another month of the same page gets nothing from it.
        page.SetMainCalMonth(11);
        page.ClearAllCells();
        FillMonthFromIcs(page, calendar, richtext::CharAttributes(), QTimeZone::utc());
        QVERIFY(!page.HasCellContent());
    }
};

QTEST_MAIN(TestPageFill)
#include "tst_pagefill.moc"
