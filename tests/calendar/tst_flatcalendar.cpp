#include "calendar/CalendarPainter.h"
#include "calendar/FlatCalendarPainter.h"
#include "calendar/TCalendarPanel32.h"
#include "calendar/TFlatCalendarEditor.h"
#include "calendar/TQelFlatCalendar.h"
#include "controls/TColorButton.h"
#include "design/TQelHandle.h"
#include "persist/stream/ClassRegistry.h"
#include "persist/stream/StreamDump.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"
#include "platform/ProgramFolder.h"
#include "platform/TFont.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace calendar;
using platform::TRect;
using testsupport::ColorAt;
using testsupport::CountColor;
using testsupport::CountInk;

namespace {

/** The calendar drawn on white paper of its own size at its zoom, with the record of its month. */
QImage Paint(TQelFlatCalendar& calendar, MonthPaintParams* record = nullptr, QColor paper = Qt::white)
{
    QImage image(calendar.size(), QImage::Format_RGB32);
    image.fill(paper);
    QPainter painter(&image);
    const MonthPaintParams p = calendar.DrawOn(painter);
    if (record)
        *record = p;
    return image;
}

/** One line of text drawn as the month drawing draws it: same font rules, same placement in the rectangle. */
QImage Reference(QSize size, const TRect& rect, const PaintFont& font, const QString& text)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::TCanvas canvas(painter);
    SetCanvasFont(canvas, font);
    canvas.DrawTextLine(rect, text, platform::TCanvas::HAlign::Center, platform::TCanvas::VAlign::Center);
    return image;
}

bool SameInRect(const QImage& a, const QImage& b, const TRect& r)
{
    return a.copy(r.toQRect()) == b.copy(r.toQRect());
}

/** A calendar drawing only text: no lines, white everywhere, names written out whole. */
void PlainText(TQelFlatCalendar& calendar)
{
    calendar.SetCalendarBorderStyle(fcbNone);
    calendar.SetDayNameBorderStyle(fcbNone);
    calendar.SetCellBorderStyle(fcbNone);
    calendar.SetDayNameStyle(fdsWhole);
}

QByteArray Written(TQelFlatCalendar& calendar)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    persist::TWriter writer(&buffer);
    writer.PutRootRecord(persist::ClassRegistry::Instance().RefOf(&calendar));
    writer.Flush();
    return buffer.data();
}

} // namespace

class TestFlatCalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment(QDate(2026, 12, 7));
        RegisterFlatCalendarClass();
    }

    void constructorValuesAndSetterRules()
    {
        TQelFlatCalendar calendar;
        // A new calendar shows today's month, whatever month a page shows.
        QCOMPARE(calendar.Month(), 12);
        QCOMPARE(calendar.Year(), 2026);
        QCOMPARE(calendar.StartOfWeek(), 1);
        QCOMPARE(calendar.TitleFont()->Name(), QStringLiteral("Arial"));
        QCOMPARE(calendar.TitleFont()->Size(), 8);
        QCOMPARE(calendar.DayNameFont()->Size(), 8);
        QCOMPARE(calendar.CellFont()->Size(), 7);
        QVERIFY(!calendar.ShowYear());
        QCOMPARE(calendar.CalendarBorderStyle(), fcbAll);
        QCOMPARE(calendar.DayNameBorderStyle(), fcbAll);
        QCOMPARE(calendar.CellBorderStyle(), fcbNone);
        QCOMPARE(calendar.DayNameStyle(), fdsFirstChar);
        QCOMPARE(calendar.ShadowColor(), platform::clBlack);
        QCOMPARE(calendar.BackgroundColor(), platform::clWhite);
        QCOMPARE(calendar.ShadowDepth(), 0);
        QCOMPARE(calendar.Language(), fclEnglish);
        QVERIFY(!calendar.CalTransparent());

        calendar.SetStartOfWeek(2);
        calendar.SetStartOfWeek(3);
        calendar.SetStartOfWeek(0);
        QCOMPARE(calendar.StartOfWeek(), 2);
        calendar.SetShadowDepth(10);
        calendar.SetShadowDepth(11);
        QCOMPARE(calendar.ShadowDepth(), 10);
        calendar.SetShadowDepth(-1);
        QCOMPARE(calendar.ShadowDepth(), -1);
        calendar.SetTitleFont(nullptr);
        QCOMPARE(calendar.TitleFont()->Size(), 8);
    }

    void shadowRects_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<float>("zoom");
        QTest::addColumn<TRect>("calendar");
        QTest::addColumn<TRect>("shadow");
        QTest::newRow("lower right") << int(fcpLowerRight) << 5 << false << 1.0f << TRect{0, 0, 195, 145}
                                     << TRect{5, 5, 200, 150};
        QTest::newRow("lower left") << int(fcpLowerLeft) << 5 << false << 1.0f << TRect{5, 0, 200, 145}
                                    << TRect{0, 5, 195, 150};
        QTest::newRow("upper right") << int(fcpUpperRight) << 5 << false << 1.0f << TRect{0, 5, 195, 150}
                                     << TRect{5, 0, 200, 145};
        QTest::newRow("upper left") << int(fcpUpperLeft) << 5 << false << 1.0f << TRect{5, 5, 200, 150}
                                    << TRect{0, 0, 195, 145};
        // The depth follows the zoom, truncated: 5 at 70% is 3.
        QTest::newRow("zoomed") << int(fcpLowerRight) << 5 << false << 0.7f << TRect{0, 0, 197, 147}
                                << TRect{3, 3, 200, 150};
        QTest::newRow("depth 1") << int(fcpUpperRight) << 1 << false << 1.0f << TRect{0, 1, 199, 150}
                                 << TRect{1, 0, 200, 149};
        QTest::newRow("transparent") << int(fcpLowerRight) << 5 << true << 1.0f << TRect{0, 0, 200, 150}
                                     << TRect{};
        QTest::newRow("no depth") << int(fcpUpperLeft) << 0 << false << 1.0f << TRect{0, 0, 200, 150}
                                  << TRect{};
        QTest::newRow("negative depth")
            << int(fcpUpperLeft) << -1 << false << 1.0f << TRect{0, 0, 200, 150} << TRect{};
    }
    void shadowRects()
    {
        QFETCH(int, position);
        QFETCH(int, depth);
        QFETCH(bool, transparent);
        QFETCH(float, zoom);
        QFETCH(TRect, calendar);
        QFETCH(TRect, shadow);
        const FlatCalendarRects r =
            ComputeFlatCalendarRects(200, 150, depth, TFlatShadowPosition(position), transparent, zoom);
        QCOMPARE(r.calendar, calendar);
        QCOMPARE(r.shadow, shadow);
        QCOMPARE(r.hasShadow, !shadow.isZero());
    }

    // The shadow shows as a band of its colour on two sides, the calendar's white body on the others.
    void shadowIsDrawnOnItsSide_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QPoint>("shadowCorner");
        QTest::addColumn<QPoint>("emptyCorner");
        QTest::addColumn<int>("pixels");
        // The shadow reaches one pixel further right and down than its rectangle, where the calendar lets it.
        QTest::newRow("lower right") << int(fcpLowerRight) << QPoint(197, 147) << QPoint(2, 147)
                                     << 6 * 144 + 188 * 6;
        QTest::newRow("lower left") << int(fcpLowerLeft) << QPoint(2, 147) << QPoint(197, 147)
                                    << 6 * 144 + 189 * 6;
        QTest::newRow("upper right") << int(fcpUpperRight) << QPoint(197, 2) << QPoint(2, 2)
                                     << 6 * 145 + 188 * 6;
        QTest::newRow("upper left") << int(fcpUpperLeft) << QPoint(2, 2) << QPoint(197, 2)
                                    << 195 * 145 - 189 * 139;
    }
    void shadowIsDrawnOnItsSide()
    {
        QFETCH(int, position);
        QFETCH(QPoint, shadowCorner);
        QFETCH(QPoint, emptyCorner);
        QFETCH(int, pixels);
        TQelFlatCalendar calendar;
        calendar.resize(200, 150);
        calendar.SetShadowDepth(6);
        calendar.SetShadowColor(platform::clRed);
        calendar.SetShadowPosition(TFlatShadowPosition(position));
        MonthPaintParams record;
        const QImage image = Paint(calendar, &record, Qt::green);
        QCOMPARE(ColorAt(image, shadowCorner.x(), shadowCorner.y()), platform::clRed);
        // The corner the shadow leaves free shows the paper.
        QCOMPARE(ColorAt(image, emptyCorner.x(), emptyCorner.y()), platform::clLime);
        // The shadow is a full band beside the calendar on each of its two sides.
        const FlatCalendarRects r =
            ComputeFlatCalendarRects(200, 150, 6, TFlatShadowPosition(position), false, 1.0f);
        QCOMPARE(CountColor(image, {0, 0, 200, 150}, platform::clRed), pixels);
        QCOMPARE(record.rect, r.calendar);
        // The calendar's own outline lies on its rectangle's edges.
        QCOMPARE(ColorAt(image, r.calendar.left, r.calendar.top + 20), platform::clBlack);
        QCOMPARE(ColorAt(image, r.calendar.right - 1, r.calendar.top + 20), platform::clBlack);
    }

    void transparentDrawsNoBackgroundAndNoShadow()
    {
        TQelFlatCalendar calendar;
        calendar.resize(200, 150);
        calendar.SetShadowDepth(5);
        calendar.SetCalTransparent(true);
        calendar.SetTitleBGColor(platform::clRed);
        calendar.SetBackgroundColor(platform::clBlue);
        MonthPaintParams record;
        const QImage image = Paint(calendar, &record, Qt::yellow);
        QCOMPARE(record.rect, (TRect{0, 0, 200, 150}));
        QCOMPARE(CountColor(image, {0, 0, 200, 150}, platform::clRed), 0);
        QCOMPARE(CountColor(image, {0, 0, 200, 150}, platform::clBlue), 0);
        QCOMPARE(ColorAt(image, 100, 140), platform::clYellow);
        // Lines and numbers are drawn as usual; the outline reaches the object's edges.
        QCOMPARE(ColorAt(image, 0, 75), platform::clBlack);
        QCOMPARE(ColorAt(image, 199, 75), platform::clBlack);
        QCOMPARE(ColorAt(image, 100, 149), platform::clBlack);
    }

    void opaqueFillsItsBands()
    {
        TQelFlatCalendar calendar;
        calendar.resize(210, 160);
        calendar.SetCalendarBorderStyle(fcbNone);
        calendar.SetDayNameBorderStyle(fcbNone);
        calendar.SetTitleBGColor(platform::clRed);
        calendar.SetDayNameBGColor(platform::clLime);
        calendar.SetBackgroundColor(platform::clBlue);
        MonthPaintParams record;
        const QImage image = Paint(calendar, &record, Qt::yellow);
        // White first over the whole rectangle, then the title band, the header row and the body.
        QCOMPARE(ColorAt(image, 5, 0), platform::clWhite);
        QCOMPARE(ColorAt(image, 2, record.titleRect.top + 1), platform::clRed);
        QCOMPARE(ColorAt(image, 2, record.headersRect.top + 1), platform::clLime);
        QCOMPARE(ColorAt(image, 2, record.headersRect.bottom), platform::clBlue);
        QCOMPARE(ColorAt(image, 2, 159), platform::clBlue);
        QCOMPARE(ColorAt(image, 209, 100), platform::clWhite);
        // The title band is at least one line of the title font high.
        QImage probe(1, 1, QImage::Format_RGB32);
        QPainter painter(&probe);
        platform::TCanvas canvas(painter);
        SetCanvasFont(canvas, QStringLiteral("Arial"), 8, 0, {});
        QCOMPARE(record.titleRect.bottom - record.titleRect.top,
                 std::max(int(0.17 * 159), canvas.TextHeight()));
        calendar.resize(210, 30);
        Paint(calendar, &record);
        QCOMPARE(record.titleRect.bottom - record.titleRect.top, canvas.TextHeight());
    }

    // Every day of every month of 2024 and 2025 in the column of its weekday, for both week starts.
    void daysSitInTheirWeekdayColumns_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("startOfWeek");
        for (int year : {2024, 2025})
            for (int month = 1; month <= 12; ++month)
                for (int start : {1, 2})
                    QTest::addRow("%d-%02d %s", year, month, start == 1 ? "Sunday" : "Monday")
                        << year << month << start;
    }
    void daysSitInTheirWeekdayColumns()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, startOfWeek);
        TQelFlatCalendar calendar;
        calendar.resize(280, 220);
        calendar.SetYear(year);
        calendar.SetMonth(month);
        calendar.SetStartOfWeek(startOfWeek);
        MonthPaintParams record;
        const QImage image = Paint(calendar, &record);
        const int days = QDate(year, month, 1).daysInMonth();
        int seen = 0;
        for (int n = 1; n <= kCellCount; ++n) {
            const CellGeometry& cell = record.cells[size_t(n - 1)];
            // The inner part of the cell, clear of the cell lines.
            const TRect inner{cell.rTotal.left + 1, cell.rTotal.top + 1, cell.rTotal.right - 1,
                              cell.rTotal.bottom - 1};
            if (cell.iDay == 0) {
                QCOMPARE(CountInk(image, inner), 0);
                continue;
            }
            ++seen;
            const int dayOfWeek = QDate(year, month, cell.iDay).dayOfWeek(); // Monday 1 .. Sunday 7
            const int column = startOfWeek == 1 ? dayOfWeek % 7 : dayOfWeek - 1;
            QCOMPARE((n - 1) % 7, column);
            QVERIFY2(CountInk(image, inner) > 0, qPrintable(QStringLiteral("day %1").arg(cell.iDay)));
        }
        QCOMPARE(seen, days);
    }

    // Cells reach from one pixel below their row line down to the next row line.
    void cellsReachTheNextRowLine()
    {
        TQelFlatCalendar calendar;
        calendar.resize(280, 220);
        MonthPaintParams record;
        Paint(calendar, &record);
        const int top = record.headersRect.bottom;
        const int rh = (219 - top) / 6;
        const int cw = 279 / 7;
        QCOMPARE(record.cells[0].rTotal, (TRect{1, top + 1, cw - 1, top + rh}));
        QCOMPARE(record.cells[8].rTotal, (TRect{cw + 1, top + rh + 1, 2 * cw - 1, top + 2 * rh}));
    }

    // The cell border style draws the row lines it names across the body, and column lines only for all.
    void cellBorderLines_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("first");
        QTest::addColumn<bool>("middle");
        QTest::addColumn<bool>("last");
        QTest::addColumn<bool>("columns");
        QTest::newRow("none") << int(fcbNone) << false << false << false << false;
        QTest::newRow("all") << int(fcbAll) << true << true << true << true;
        QTest::newRow("top") << int(fcbTop) << true << true << false << false;
        QTest::newRow("bottom") << int(fcbBottom) << false << true << true << false;
        QTest::newRow("top and bottom") << int(fcbTopBottom) << true << true << true << false;
    }
    void cellBorderLines()
    {
        QFETCH(int, style);
        QFETCH(bool, first);
        QFETCH(bool, middle);
        QFETCH(bool, last);
        QFETCH(bool, columns);
        TQelFlatCalendar calendar;
        calendar.resize(280, 220);
        calendar.SetCalendarBorderStyle(fcbNone);
        calendar.SetDayNameBorderStyle(fcbNone);
        calendar.SetCellBorderStyle(TFlatCalBorderStyle(style));
        MonthPaintParams record;
        const QImage image = Paint(calendar, &record);
        const int top = record.headersRect.bottom;
        const int rh = (219 - top) / 6;
        const int cw = 279 / 7;
        const auto black = [&image](int x, int y) { return ColorAt(image, x, y) == platform::clBlack; };
        QCOMPARE(black(cw / 2, top), first);
        QCOMPARE(black(cw / 2, top + 3 * rh), middle);
        QCOMPARE(black(cw / 2, 219), last);
        QCOMPARE(black(cw, top + rh / 2), columns);
    }

    void names_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("monthName");
        QTest::addColumn<QString>("wednesday");
        QTest::newRow("English") << int(fclEnglish) << 12 << QStringLiteral("December")
                                 << QStringLiteral("Wednesday");
        QTest::newRow("German") << int(fclGerman) << 3 << QStringLiteral("M\u00E4rz")
                                << QStringLiteral("Mittwoch");
        QTest::newRow("French") << int(fclFrench) << 8 << QStringLiteral("Ao\u00FBt")
                                << QStringLiteral("Mercredi");
        QTest::newRow("Italian") << int(fclItalian) << 12 << QStringLiteral("Dicembre")
                                 << QStringLiteral("Mercoled\u00EC");
        QTest::newRow("Spanish") << int(fclSpanish) << 2 << QStringLiteral("Febrero")
                                 << QStringLiteral("Mi\u00E9rcoles");
        // A damaged file's language beyond the five is drawn in English, never read past the name tables.
        QTest::newRow("unknown language") << 7 << 6 << QStringLiteral("June") << QStringLiteral("Wednesday");
    }
    // The title and the weekday names are the calendar's own, in its language, not the page's.
    void names()
    {
        QFETCH(int, language);
        QFETCH(int, month);
        QFETCH(QString, monthName);
        QFETCH(QString, wednesday);
        QCOMPARE(FlatMonthNames(TFlatCalLanguage(language))[size_t(month - 1)], monthName);
        QCOMPARE(FlatDayNames(TFlatCalLanguage(language))[3], wednesday);
        TQelFlatCalendar calendar;
        calendar.resize(420, 240);
        PlainText(calendar);
        calendar.SetLanguage(TFlatCalLanguage(language));
        calendar.SetMonth(month);
        calendar.SetYear(2025);
        calendar.SetShowYear(true);
        MonthPaintParams record;
        const QImage image = Paint(calendar, &record);
        const QImage title =
            Reference(image.size(), record.titleRect, record.titleFont, monthName + QStringLiteral(" 2025"));
        QVERIFY(SameInRect(image, title, record.titleRect));
        calendar.SetShowYear(false);
        const QImage bare = Paint(calendar, &record);
        QVERIFY(SameInRect(bare, Reference(image.size(), record.titleRect, record.titleFont, monthName),
                           record.titleRect));
        const int cw = (record.rect.right - 1 - record.rect.left) / 7;
        const TRect column{3 * cw + 1, record.headersRect.top, 4 * cw - 1, record.headersRect.bottom};
        QVERIFY(CountInk(image, column) > 0);
        QVERIFY(SameInRect(image, Reference(image.size(), column, record.headersFont, wednesday), column));
    }

    // "Freitag " keeps its blank, so it stands half a blank to the left of where "Freitag" would.
    void germanFridayKeepsItsBlank()
    {
        TQelFlatCalendar calendar;
        calendar.resize(420, 240);
        PlainText(calendar);
        calendar.SetLanguage(fclGerman);
        calendar.SetStartOfWeek(2);
        MonthPaintParams record;
        const QImage image = Paint(calendar, &record);
        const int cw = (record.rect.right - 1 - record.rect.left) / 7;
        const TRect fifth{4 * cw + 1, record.headersRect.top, 5 * cw - 1, record.headersRect.bottom};
        QVERIFY(SameInRect(
            image, Reference(image.size(), fifth, record.headersFont, QStringLiteral("Freitag ")), fifth));
        QVERIFY(!SameInRect(
            image, Reference(image.size(), fifth, record.headersFont, QStringLiteral("Freitag")), fifth));
    }

    // A month or year a file could hold but no calendar has is drawn clamped and kept as it is.
    void outOfRangeDatesAreDrawnClampedAndKept_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("title");
        QTest::newRow("month 0") << 0 << 2024 << QStringLiteral("January 2024");
        QTest::newRow("month 13") << 13 << 2024 << QStringLiteral("December 2024");
        QTest::newRow("year 0") << 5 << 0 << QStringLiteral("May 1");
        QTest::newRow("year 10000") << 5 << 10000 << QStringLiteral("May 9999");
    }
    void outOfRangeDatesAreDrawnClampedAndKept()
    {
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(QString, title);
        TQelFlatCalendar calendar;
        calendar.resize(300, 200);
        PlainText(calendar);
        calendar.SetShowYear(true);
        calendar.SetMonth(month);
        calendar.SetYear(year);
        MonthPaintParams record;
        const QImage image = Paint(calendar, &record);
        QVERIFY(SameInRect(image, Reference(image.size(), record.titleRect, record.titleFont, title),
                           record.titleRect));
        QCOMPARE(calendar.Month(), month);
        QCOMPARE(calendar.Year(), year);
        // The stored values go back into the stream as they came.
        TQelFlatCalendar copy;
        QBuffer buffer;
        buffer.setData(Written(calendar));
        buffer.open(QIODevice::ReadOnly);
        persist::TReader reader(&buffer);
        reader.TakeRootRecord(persist::ClassRegistry::Instance().RefOf(&copy));
        QCOMPARE(copy.Month(), month);
        QCOMPARE(copy.Year(), year);
    }

    void zoomScalesFontsAndShadow()
    {
        TQelFlatCalendar calendar;
        calendar.resize(140, 100);
        calendar.SetZoomFactor(0.5f);
        calendar.SetShadowDepth(5);
        MonthPaintParams record;
        Paint(calendar, &record);
        QCOMPARE(record.titleFont.size, 4);
        QCOMPARE(record.headersFont.size, 4);
        QCOMPARE(record.cellFont.size, 3);
        QCOMPARE(record.rect, (TRect{0, 0, 138, 98}));
    }

    // Every property is written, defaults included, after the base's, in declaration order.
    void everyPropertyIsWritten()
    {
        TQelFlatCalendar calendar;
        calendar.setObjectName(QStringLiteral("Special1"));
        calendar.setGeometry(10, 20, 150, 120);
        QBuffer buffer;
        buffer.setData(Written(calendar));
        buffer.open(QIODevice::ReadOnly);
        const QString dump = persist::DumpStream(&buffer);
        const QStringList names = {QStringLiteral("Left"),
                                   QStringLiteral("StartOfWeek"),
                                   QStringLiteral("Month"),
                                   QStringLiteral("Year"),
                                   QStringLiteral("TitleFont.Height"),
                                   QStringLiteral("TitleFont.Name"),
                                   QStringLiteral("DayNameFont.Name"),
                                   QStringLiteral("CellFont.Height"),
                                   QStringLiteral("ShowYear"),
                                   QStringLiteral("DayNameBGColor"),
                                   QStringLiteral("CalendarBorderStyle"),
                                   QStringLiteral("DayNameBorderStyle"),
                                   QStringLiteral("CellBorderStyle"),
                                   QStringLiteral("DayNameStyle"),
                                   QStringLiteral("TitleBGcolor"),
                                   QStringLiteral("Backgroundcolor"),
                                   QStringLiteral("ShadowColor"),
                                   QStringLiteral("ShadowDepth"),
                                   QStringLiteral("ShadowPosition"),
                                   QStringLiteral("Language"),
                                   QStringLiteral("CalTransparent")};
        qsizetype at = 0;
        for (const QString& name : names) {
            const qsizetype found = dump.indexOf(name, at);
            QVERIFY2(found >= 0, qPrintable(name + QStringLiteral(" missing or out of order:\n") + dump));
            at = found;
        }
        QVERIFY(dump.contains(QStringLiteral("fcbNone")));
        QVERIFY(dump.contains(QStringLiteral("fdsFirstChar")));
        QVERIFY(dump.contains(QStringLiteral("fcpLowerRight")));
        QVERIFY(dump.contains(QStringLiteral("fclEnglish")));
        QVERIFY(dump.contains(QStringLiteral("clWhite")));

        // Read back into another calendar, it writes the same bytes.
        TQelFlatCalendar copy;
        copy.SetLanguage(fclSpanish);
        copy.SetShadowDepth(3);
        buffer.seek(0);
        persist::TReader reader(&buffer);
        reader.TakeRootRecord(persist::ClassRegistry::Instance().RefOf(&copy));
        QCOMPARE(Written(copy), buffer.data());
    }

    void menuEndsWithProperties()
    {
        TQelFlatCalendar calendar;
        calendar.AfterLoad();
        const QList<QAction*> items = calendar.Menu()->actions();
        QVERIFY(items.size() >= 2);
        QVERIFY(items[items.size() - 2]->isSeparator());
        QCOMPARE(items.last()->text(), QStringLiteral("Properties"));
    }

    // Printed at the place it occupies on the page: panel pixel 96 is one inch from the origin.
    void printsWhereItStands()
    {
        QImage page(600, 600, QImage::Format_RGB32); // 100 dots per inch
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        TQelFlatCalendar calendar;
        calendar.setGeometry(96, 96, 192, 144);
        calendar.SetBackgroundColor(platform::clRed);
        calendar.SetTitleBGColor(platform::clRed);
        calendar.SetDayNameBGColor(platform::clRed);
        calendar.SetCalendarBorderStyle(fcbNone);
        QPainter painter(&page);
        calendar.PrintTo(painter, 0.5, 0.25);
        painter.end();
        // From (0.5 + 1) inches = 150 dots across to (0.5 + 3) = 350; from 125 down to 125 + 150.
        QCOMPARE(ColorAt(page, 152, 130), platform::clRed);
        QCOMPARE(ColorAt(page, 152, 270), platform::clRed);
        QCOMPARE(ColorAt(page, 346, 270), platform::clRed);
        QCOMPARE(ColorAt(page, 147, 200), platform::clWhite);
        QCOMPARE(ColorAt(page, 353, 200), platform::clWhite);
        QCOMPARE(ColorAt(page, 200, 279), platform::clWhite);
    }

    // The Floating Calendar tool: one calendar per gesture, of the current month, then back to pointing.
    void floatingCalendarTool()
    {
        TCalendarPanel32 page;
        page.SetMainCalMonth(3);
        page.SetMainCalYear(1999);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.SetPanelState(psFlatCalendar);
        QTest::mousePress(&page, Qt::LeftButton, {}, QPoint(300, 250));
        QTest::mouseMove(&page, QPoint(200, 150));
        QTest::mouseRelease(&page, Qt::LeftButton, {}, QPoint(200, 150));
        QCOMPARE(page.PlacedObjects().size(), 1);
        auto* calendar = qobject_cast<TQelFlatCalendar*>(page.PlacedObjects().first());
        QVERIFY(calendar);
        QCOMPARE(calendar->geometry(), QRect(200, 150, 100, 100));
        QCOMPARE(calendar->Month(), 12);
        QCOMPARE(calendar->Year(), 2026);
        QCOMPARE(calendar->objectName(), QStringLiteral("Special1"));
        QCOMPARE(page.PanelState(), psPointing);
        QVERIFY(calendar->Menu());
    }

    // Copy and paste through the page's clipboard file keep every setting.
    void clipboardKeepsSettings()
    {
        QTemporaryDir folder;
        platform::SetProgramFolderOverride(folder.path());
        {
            TCalendarPanel32 page;
            page.show();
            QVERIFY(QTest::qWaitForWindowExposed(&page));
            auto* calendar = new TQelFlatCalendar;
            calendar->AfterLoad();
            page.AddObject(calendar, {40, 50, 240, 200});
            calendar->SetLanguage(fclItalian);
            calendar->SetShadowDepth(4);
            calendar->SetShadowPosition(fcpUpperLeft);
            calendar->SetMonth(13);
            calendar->CellFont()->SetSize(11);
            page.Handle()->Select(calendar);
            page.setFocus();
            QTest::keyClick(&page, Qt::Key_C, Qt::ControlModifier);
            QTest::keyClick(&page, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(page.PlacedObjects().size(), 2);
            auto* copy = qobject_cast<TQelFlatCalendar*>(page.PlacedObjects().last());
            QVERIFY(copy && copy != calendar);
            QCOMPARE(copy->geometry(), QRect(55, 65, 200, 150));
            QCOMPARE(copy->objectName(), QStringLiteral("Component0"));
            QCOMPARE(copy->Language(), fclItalian);
            QCOMPARE(copy->ShadowDepth(), 4);
            QCOMPARE(copy->ShadowPosition(), fcpUpperLeft);
            QCOMPARE(copy->Month(), 13);
            QCOMPARE(copy->CellFont()->Size(), 11);
            QVERIFY(copy->Menu());
        }
        platform::SetProgramFolderOverride(QString());
    }

    // The dialog shows the calendar's settings on a sample of its unzoomed size; each change shows at once on
    // the sample; Ok hands them to the calendar, Cancel does not.
    void propertiesDialog()
    {
        testsupport::ScriptedPrompts prompts;
        TFlatCalendarEditor editor;
        editor.MakeShared();
        QCOMPARE(TFlatCalendarEditor::Shared(), &editor);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Floating Calendar Properties"));
        QCOMPARE(editor.YearSpin()->value(), 2026);
        QCOMPARE(editor.YearSpin()->minimum(), 1950);
        QCOMPARE(editor.YearSpin()->maximum(), 2500);
        QCOMPARE(editor.DepthSpin()->maximum(), 10);
        const auto items = [](QComboBox* list) {
            QStringList texts;
            for (int i = 0; i < list->count(); ++i)
                texts.append(list->itemText(i));
            return texts;
        };
        QCOMPARE(items(editor.LanguageList()),
                 (QStringList{QStringLiteral("English"), QStringLiteral("Deutsch"),
                              QStringLiteral("Fran\u00E7ais"), QStringLiteral("L'italiano"),
                              QStringLiteral("Espa\u00F1ol")}));
        QCOMPARE(items(editor.CellBorderList()).last(), QStringLiteral("Top & Bottom"));
        QCOMPARE(items(editor.OrientationList()),
                 (QStringList{QStringLiteral("Lower Right"), QStringLiteral("Lower Left"),
                              QStringLiteral("UpperRight"), QStringLiteral("UpperLeft")}));
        QCOMPARE(items(editor.HeaderStyleList()).last(), QStringLiteral("Whole Word"));

        TQelFlatCalendar calendar;
        calendar.resize(100, 80);
        calendar.SetZoomFactor(0.5f);
        calendar.SetMonth(4);
        calendar.SetYear(2030);
        calendar.SetLanguage(fclFrench);
        calendar.SetShadowDepth(2);
        // Before the dialog first appears its controls change nothing.
        editor.EditObject(calendar);
        editor.MonthList()->setCurrentIndex(8);
        QCOMPARE(editor.Sample()->Month(), 4);

        bool checked = false;
        testsupport::WhenDialogOpens(&editor, [&](QWidget* dialog) {
            QCOMPARE(dialog, &editor);
            QCOMPARE(editor.Sample()->size(), QSize(200, 160));
            QCOMPARE(editor.MonthList()->currentIndex(), 3);
            QCOMPARE(editor.YearSpin()->value(), 2030);
            QCOMPARE(editor.LanguageList()->currentIndex(), int(fclFrench));
            QCOMPARE(editor.DepthSpin()->value(), 2);
            QTest::keyClick(editor.MonthList(), Qt::Key_Down);
            QCOMPARE(editor.Sample()->Month(), 5);
            QTest::keyClick(editor.YearSpin(), Qt::Key_Up);
            QCOMPARE(editor.Sample()->Year(), 2031);
            QTest::keyClick(editor.DepthSpin(), Qt::Key_Up);
            QCOMPARE(editor.Sample()->ShadowDepth(), 3);
            QTest::mouseClick(editor.ShowYearBox(), Qt::LeftButton);
            QVERIFY(editor.Sample()->ShowYear());
            QTest::keyClick(editor.WeekStartList(), Qt::Key_Down);
            QCOMPARE(editor.Sample()->StartOfWeek(), 2);
            prompts.color = platform::clYellow;
            QTest::mouseClick(editor.TitleBackground(), Qt::LeftButton);
            QCOMPARE(editor.Sample()->TitleBGColor(), platform::clYellow);
            // The font dialog opens on the font it edits, colour included, and gives both back.
            editor.Sample()->CellFont()->SetColor(platform::clNavy);
            prompts.font = QFont(QStringLiteral("Times New Roman"), 12);
            prompts.fontColor = platform::clRed;
            QTest::mouseClick(editor.FontButton(2), Qt::LeftButton);
            QCOMPARE(prompts.fontsAsked.last().font.family(), QStringLiteral("Arial"));
            QCOMPARE(prompts.fontsAsked.last().font.pointSize(), 7);
            QCOMPARE(prompts.fontsAsked.last().color, platform::clNavy);
            QCOMPARE(editor.Sample()->CellFont()->Size(), 12);
            QCOMPARE(editor.Sample()->CellFont()->Color(), platform::clRed);
            prompts.fontColor.reset();
            prompts.font = QFont(QStringLiteral("Arial"), 14);
            QTest::mouseClick(editor.FontButton(0), Qt::LeftButton);
            QCOMPARE(editor.Sample()->TitleFont()->Size(), 14);
            prompts.font = QFont(QStringLiteral("Arial"), 11);
            QTest::mouseClick(editor.FontButton(1), Qt::LeftButton);
            QCOMPARE(editor.Sample()->DayNameFont()->Size(), 11);
            QTest::mouseClick(editor.TransparentBox(), Qt::LeftButton);
            QVERIFY(editor.Sample()->CalTransparent());
            QCOMPARE(calendar.Month(), 4);
            checked = true;
            QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
        });
        QVERIFY(calendar.EditProperties());
        QVERIFY(checked);
        QCOMPARE(calendar.Month(), 5);
        QCOMPARE(calendar.Year(), 2031);
        QCOMPARE(calendar.ShadowDepth(), 3);
        QVERIFY(calendar.ShowYear());
        QCOMPARE(calendar.StartOfWeek(), 2);
        QCOMPARE(calendar.TitleBGColor(), platform::clYellow);
        QCOMPARE(calendar.CellFont()->Name(), QStringLiteral("Times New Roman"));
        QCOMPARE(calendar.CellFont()->Color(), platform::clRed);
        QCOMPARE(calendar.TitleFont()->Size(), 14);
        QCOMPARE(calendar.DayNameFont()->Size(), 11);
        QVERIFY(calendar.CalTransparent());
        QCOMPARE(calendar.Language(), fclFrench);
        QCOMPARE(calendar.size(), QSize(100, 80));

        testsupport::WhenDialogOpens(&editor, [&](QWidget*) {
            QCOMPARE(editor.MonthList()->currentIndex(), 4);
            QTest::keyClick(editor.LanguageList(), Qt::Key_Down);
            QCOMPARE(editor.Sample()->Language(), fclItalian);
            QTest::mouseClick(editor.CancelButton(), Qt::LeftButton);
        });
        QVERIFY(!calendar.EditProperties());
        QCOMPARE(calendar.Language(), fclFrench);
    }

    // Enter accepts the dialog wherever the focus is: the colour and font buttons never take the default.
    void enterAcceptsTheDialog_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("title colour") << 0;
        QTest::newRow("title font") << 1;
    }
    void enterAcceptsTheDialog()
    {
        QFETCH(int, button);
        testsupport::ScriptedPrompts prompts;
        TFlatCalendarEditor editor;
        TQelFlatCalendar calendar;
        calendar.resize(150, 120);
        editor.EditObject(calendar);
        testsupport::WhenDialogOpens(&editor, [&](QWidget*) {
            QWidget* focused =
                button == 0 ? static_cast<QWidget*>(editor.TitleBackground()) : editor.FontButton(0);
            focused->setFocus();
            QTest::keyClick(focused, Qt::Key_Return);
            if (editor.isVisible())
                QTest::mouseClick(editor.CancelButton(), Qt::LeftButton);
        });
        QCOMPARE(editor.exec(), int(QDialog::Accepted));
        QVERIFY(prompts.fontsAsked.isEmpty());
    }

    // A year outside the spin range is shown clamped but stays the calendar's unless the user changes it.
    void dialogKeepsAYearItCannotShow()
    {
        TFlatCalendarEditor editor;
        TQelFlatCalendar calendar;
        calendar.resize(150, 120);
        calendar.SetYear(1900);
        editor.EditObject(calendar);
        // The first time the dialog appears and every time after, also when the spin box showed another year.
        for (int year : {1900, 2030, 1900}) {
            calendar.SetYear(year);
            editor.EditObject(calendar);
            testsupport::WhenDialogOpens(&editor, [&](QWidget*) {
                QCOMPARE(editor.YearSpin()->value(), std::max(year, 1950));
                QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
            });
            QCOMPARE(editor.exec(), int(QDialog::Accepted));
            QCOMPARE(editor.Sample()->Year(), year);
        }
    }

    // Without the dialog made at start-up a calendar opens a dialog of its own.
    void propertiesWithoutTheSharedDialog()
    {
        QVERIFY(!TFlatCalendarEditor::Shared());
        TQelFlatCalendar calendar;
        calendar.resize(150, 120);
        bool opened = false;
        testsupport::WhenDialogOpens(&calendar, [&](QWidget* dialog) {
            auto* editor = qobject_cast<TFlatCalendarEditor*>(dialog);
            QVERIFY(editor);
            QCOMPARE(editor->Sample()->size(), QSize(150, 120));
            opened = editor->parentWidget() == nullptr; // a calendar alone is its own window
            QTest::keyClick(editor->LanguageList(), Qt::Key_Down);
            QTest::mouseClick(editor->OkButton(), Qt::LeftButton);
        });
        QVERIFY(calendar.EditProperties());
        QVERIFY(opened);
        QCOMPARE(calendar.Language(), fclGerman);

        // On a window the dialog belongs to that window, so it opens over it.
        QWidget window;
        auto* placed = new TQelFlatCalendar(&window);
        placed->resize(150, 120);
        QWidget* parent = &calendar;
        testsupport::WhenDialogOpens(placed, [&](QWidget* dialog) {
            parent = dialog->parentWidget();
            QTest::mouseClick(qobject_cast<TFlatCalendarEditor*>(dialog)->CancelButton(), Qt::LeftButton);
        });
        QVERIFY(!placed->EditProperties());
        QCOMPARE(parent, &window);
    }
};

QTEST_MAIN(TestFlatCalendar)
#include "tst_flatcalendar.moc"
