#include "calendar/TCalendarPanel32.h"
#include "platform/Screen.h"
#include "platform/TFont.h"
#include "richtext/RichTextRenderer.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPrinters.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTest>

#include <limits>

using namespace calendar;
using platform::TRect;
using testsupport::ColorAt;
using testsupport::CountColor;
using testsupport::CountInk;

namespace {

int TextHeight(int points, bool bold)
{
    const QFontMetrics metrics(platform::MakeQFont(QStringLiteral("Times New Roman"),
                                                   platform::MulDiv(points, 96, 72),
                                                   bold ? platform::fsBold : platform::TFontStyles()));
    return metrics.ascent() + metrics.descent();
}

// December 1997 on a Letter portrait month grid with quarter-inch margins: MainRect (26, 26, 790, 1030).
void SetUpDecember1997(TCalendarPanel32& page)
{
    page.SetMainCalMonth(12);
    page.SetMainCalYear(1997);
    page.SetMainCalDay(1);
}

} // namespace

class TestCalendarPaint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void monthGridGeometry()
    {
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        const QImage image = page.RenderToBitmap();
        QCOMPARE(image.size(), QSize(816, 1056));
        // Title band: 17% of the height, at least 1.5 inches.
        QCOMPARE(page.TitleRect(), (TRect{26, 27, 789, 197}));
        // Header row: 1.5 times the 21-pixel height of the 16-point headers font.
        QCOMPARE(page.HeadersRect(), (TRect{26, 198, 789, 229}));
        // Column width (789 - 26) div 7 = 109; row height (1029 - 229) div 6 = 133; the number sits upper
        // right.
        const int nine = TextHeight(16, true);
        QCOMPARE(page.Cell(1).rTotal, (TRect{31, 230, 129, 361}));
        QCOMPARE(page.Cell(1).iDay, 0);
        QCOMPARE(page.Cell(1).rFree, (TRect{31, 230 + nine, 129, 361}));
        QCOMPARE(page.Cell(2).iDay, 1);
        QCOMPARE(page.Cell(2).rTotal, (TRect{140, 230, 238, 361}));
        QCOMPARE(page.Cell(32).iDay, 31);
        QCOMPARE(page.Cell(33).iDay, 0);
        QCOMPARE(page.Cell(42).rTotal, (TRect{685, 895, 783, 1026}));
    }

    void gridLinesAndBands()
    {
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.SetTitleBGColor(platform::clRed);
        page.SetHeadersBGColor(platform::clYellow);
        const QImage image = page.RenderToBitmap();

        // The title band (26, 27)..(789, 198) is filled with its colour around the centred title.
        QCOMPARE(ColorAt(image, 30, 30), platform::clRed);
        QCOMPARE(ColorAt(image, 780, 190), platform::clRed);
        QVERIFY(CountColor(image, {26, 27, 789, 198}, platform::clRed) > 763 * 171 * 8 / 10);
        QVERIFY(CountInk(image, {300, 60, 500, 170}) >
                CountColor(image, {300, 60, 500, 170}, platform::clRed));
        // The header row's background and its outline.
        QCOMPARE(ColorAt(image, 30, 210), platform::clYellow);
        QCOMPARE(ColorAt(image, 30, 198), platform::clBlack);
        // Calendar border: the outline (26, 26)..(789, 1029).
        QCOMPARE(ColorAt(image, 400, 26), platform::clBlack);
        QCOMPARE(ColorAt(image, 789, 600), platform::clBlack);
        QCOMPARE(ColorAt(image, 400, 1029), platform::clBlack);
        QCOMPARE(ColorAt(image, 790, 600), platform::clWhite);
        // Cell lines: horizontal at 229 + k * 133, vertical at 26 + c * 109.
        for (int y : {362, 495, 628, 761, 894})
            QCOMPARE(ColorAt(image, 60, y), platform::clBlack);
        for (int x : {135, 244, 353, 462, 571, 680})
            QCOMPARE(ColorAt(image, x, 300), platform::clBlack);
        QCOMPARE(ColorAt(image, 60, 363), platform::clWhite);
        QCOMPARE(ColorAt(image, 136, 300), platform::clWhite);
        // Day 1 stands in the upper right of cell 2, nothing in its lower half.
        QVERIFY(CountInk(image, {200, 231, 238, 260}) > 0);
        QCOMPARE(CountInk(image, {137, 300, 243, 361}), 0);
    }

    void cellBorders_data()
    {
        QTest::addColumn<int>("cellBorder");
        QTest::addColumn<int>("headersBorder");
        QTest::addColumn<bool>("firstRowTop");
        QTest::addColumn<bool>("rowLine");
        QTest::addColumn<bool>("lastLine");
        QTest::addColumn<bool>("vertical");
        QTest::newRow("all") << int(cbAll) << int(cbNone) << true << true << true << true;
        QTest::newRow("none") << int(cbNone) << int(cbNone) << false << false << false << false;
        QTest::newRow("top") << int(cbTop) << int(cbNone) << true << true << false << false;
        QTest::newRow("bottom") << int(cbBottom) << int(cbNone) << false << true << true << false;
        // The header row's own border still closes the first row when the cells leave it open.
        QTest::newRow("bottom, headers outlined")
            << int(cbBottom) << int(cbAll) << true << true << true << false;
        QTest::newRow("top and bottom") << int(cbTopBottom) << int(cbNone) << true << true << true << false;
    }
    void cellBorders()
    {
        QFETCH(int, cellBorder);
        QFETCH(int, headersBorder);
        QFETCH(bool, firstRowTop);
        QFETCH(bool, rowLine);
        QFETCH(bool, lastLine);
        QFETCH(bool, vertical);
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.SetCalendarBorder(cbNone);
        page.SetCellBorder(TCalBorderStyle(cellBorder));
        page.SetHeadersBorder(TCalBorderStyle(headersBorder));
        const QImage image = page.RenderToBitmap();
        auto ink = [&](int x, int y) { return ColorAt(image, x, y) == platform::clBlack; };
        QCOMPARE(ink(60, 229), firstRowTop);
        QCOMPARE(ink(60, 362), rowLine);
        QCOMPARE(ink(60, 1029), lastLine);
        QCOMPARE(ink(135, 300), vertical);
        QCOMPARE(ink(789, 300), vertical);
    }

    void centredNumbersHaveNoTextArea()
    {
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.SetNumberPosition(cnpCenter);
        page.CellStorage(2).SetRtfText(QByteArrayLiteral("{\\rtf1 stored}"));
        const QImage image = page.RenderToBitmap();
        QCOMPARE(page.Cell(2).rTotal, (TRect{136, 230, 243, 361}));
        for (int i = 1; i <= 42; ++i)
            QVERIFY(page.Cell(i).rFree.isZero());
        // Day 1 is centred in its cell.
        QCOMPARE(CountInk(image, {137, 231, 242, 270}), 0);
        QVERIFY(CountInk(image, {170, 280, 210, 310}) > 0);
    }

    // A cell with text paints it inside its text area, scaled with the zoom.
    void cellTextIsPainted_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::newRow("100%") << 1.0f;
        QTest::newRow("60%") << 0.6f;
    }
    void cellTextIsPainted()
    {
        QFETCH(float, zoom);
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.SetZoom(zoom);
        const QImage empty = page.RenderToBitmap();
        page.CellStorage(10).SetRtfText(
            QByteArrayLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl "
                              ";\\red255\\green0\\blue0;}\\f0\\fs20\\cf1 Dentist at ten\\par}"));
        const QImage filled = page.RenderToBitmap();
        const TRect free = page.Cell(10).rFree;
        auto reddish = [&free](const QImage& image) {
            int count = 0;
            for (int y = free.top; y < free.bottom; ++y)
                for (int x = free.left; x < free.right; ++x) {
                    const QColor c = image.pixelColor(x, y);
                    count += c.red() > 150 && c.green() < 120 && c.blue() < 120 ? 1 : 0;
                }
            return count;
        };
        QVERIFY(reddish(filled) > 10);
        QCOMPARE(reddish(empty), 0);
        // Nothing outside the text area changed.
        QImage outside = filled;
        QImage before = empty;
        for (QImage* image : {&outside, &before}) {
            QPainter painter(image);
            painter.fillRect(free.toQRect(), Qt::white);
        }
        QVERIFY(outside == before);
    }

    // The text drawn in a cell is the renderer's own picture of it, pixel for pixel: squeezing it into the
    // area would drop a column of pixels in the middle of the words.
    void cellTextIsNotSqueezed_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::newRow("100%") << 1.0f;
        QTest::newRow("60%") << 0.6f;
        QTest::newRow("150%") << 1.5f;
    }
    void cellTextIsNotSqueezed()
    {
        QFETCH(float, zoom);
        const QByteArray rtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs16 Christmas Day mmm\\par}");
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.SetZoom(zoom);
        page.CellStorage(26).SetRtfText(rtf);
        const QImage filled = page.RenderToBitmap();
        const TRect free = page.Cell(26).rFree;
        QImage alone(free.width() + 1, free.height() + 1, QImage::Format_RGB32);
        alone.fill(Qt::white);
        {
            QPainter painter(&alone);
            richtext::RichTextRenderer renderer;
            renderer.Render(painter, rtf, alone.rect(), static_cast<int>(zoom * 100));
        }
        const QImage onPage = filled.copy(free.toQRect()).convertToFormat(QImage::Format_RGB32);
        QVERIFY(CountInk(filled, free) > 20);
        QCOMPARE(onPage, alone.copy(0, 0, free.width(), free.height()));
    }

    // The screen keeps a picture of each cell's text between paints; after a new text, a narrower cell or
    // another zoom it shows the cell as the page now is, as the bitmap of the page draws it afresh.
    void screenFollowsChangesOfACell_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("new text") << 0;
        QTest::newRow("narrower cell") << 1;
        QTest::newRow("another zoom") << 2;
    }
    void screenFollowsChangesOfACell()
    {
        QFETCH(int, change);
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.CellStorage(10).SetRtfText(QByteArrayLiteral(
            "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Dentist at ten, then lunch with Anna\\par}"));
        page.grab();
        const QRect before = page.Cell(10).rFree.toQRect();
        if (change == 0)
            page.CellStorage(10).SetRtfText(
                QByteArrayLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Party\\par}"));
        else if (change == 1)
            page.SetLeftMarginInch(2.0f);
        else
            page.SetZoom(0.8f);
        const QImage screen = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect cell = page.Cell(10).rTotal.toQRect();
        QCOMPARE(page.Cell(10).rFree.toQRect().size() == before.size(), change == 0);
        QVERIFY(CountInk(screen, page.Cell(10).rFree) > 20);
        QVERIFY(screen.copy(cell) == page.RenderToBitmap().convertToFormat(QImage::Format_RGB32).copy(cell));
    }

    void titleText()
    {
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        const QImage generated = page.RenderToBitmap();
        page.SetTitleShowYear(false);
        const QImage withoutYear = page.RenderToBitmap();
        page.SetUserTitle(QStringLiteral("Family"));
        const QImage user = page.RenderToBitmap();
        const TRect band{27, 28, 789, 197};
        // Each title is centred: its ink is balanced about the middle of the band.
        for (const QImage& image : {generated, withoutYear, user}) {
            const int left = CountInk(image, {band.left, band.top, 407, band.bottom});
            const int right = CountInk(image, {408, band.top, band.right, band.bottom});
            QVERIFY(left > 0 && right > 0);
            QVERIFY2(std::abs(left - right) < (left + right) / 4, qPrintable(QString::number(left - right)));
        }
        QVERIFY(CountInk(generated, band) > CountInk(withoutYear, band));
        QVERIFY(user != withoutYear);
        QVERIFY(generated.copy(0, 200, 816, 856) == user.copy(0, 200, 816, 856));
    }

    void minisInTheTitleCorners()
    {
        TCalendarPanel32 page;
        page.ResetToNew(); // layout 3, half-inch margins, December 2026
        page.SetCalendarLayout(loFCMinisInTitle);
        const QImage image = page.RenderToBitmap();
        // Slots (62, 62, 182, 182) and (634, 62, 754, 182), outlined and filled with their month.
        QCOMPARE(page.MiniSlots(1).rect, (TRect{62, 62, 182, 182}));
        QCOMPARE(ColorAt(image, 62, 120), platform::clBlack);
        QCOMPARE(ColorAt(image, 181, 120), platform::clBlack);
        QCOMPARE(ColorAt(image, 634, 120), platform::clBlack);
        QVERIFY(CountInk(image, {64, 64, 180, 180}) > 300);
        QVERIFY(CountInk(image, {636, 64, 752, 180}) > 300);
        // The main title stays clear of them, in the middle of the band.
        QVERIFY(CountInk(image, {300, 70, 516, 190}) > 0);
        QCOMPARE(CountInk(image, {183, 52, 300, 60}), 0);
    }

    void miniCalendarColours()
    {
        TCalendarPanel32 page;
        page.SetCalendarLayout(loMC12Month);
        page.SetMiniCalBGColor(platform::clLime);
        page.SetMiniHeadersBGColor(platform::clNavy);
        const QImage image = page.RenderToBitmap();
        const TRect slot = page.MiniSlots(1).rect;
        QVERIFY(CountColor(image, slot, platform::clLime) > slot.width() * slot.height() / 2);
        QVERIFY(CountColor(image, slot, platform::clNavy) > 0);
        QCOMPARE(page.Cell(1), CellGeometry{}); // minis keep no cell geometry
    }

    // The mini calendars' titles carry the year only while the page asks for it; nothing else changes.
    void miniTitleYear()
    {
        TCalendarPanel32 page;
        page.SetCalendarLayout(loMC12Month);
        page.Relayout(true);
        const QImage withYear = page.RenderToBitmap();
        page.SetMiniShowYear(false);
        const QImage withoutYear = page.RenderToBitmap();
        const TRect slot = page.MiniSlots(1).rect;
        QVERIFY(CountInk(withYear, slot) > CountInk(withoutYear, slot));
        const int titleBottom = slot.top + slot.height() / 6;
        const QRect body(slot.left, titleBottom, slot.width(), slot.bottom - titleBottom);
        QCOMPARE(withYear.copy(body), withoutYear.copy(body));
    }

    // A page of mini calendars is white between them, where the month grid of the layout before lay, on
    // screen as in the bitmap.
    void miniPagesAreWhiteBetweenTheMinis_data()
    {
        QTest::addColumn<int>("layout");
        QTest::newRow("6 months") << int(lopMC6Month);
        QTest::newRow("12 months") << int(loMC12Month);
        QTest::newRow("24 months, landscape") << int(loMC24MonthLS);
    }
    void miniPagesAreWhiteBetweenTheMinis()
    {
        QFETCH(int, layout);
        TCalendarPanel32 page;
        page.RenderToBitmap();
        page.SetCalendarLayout(TCalendarLayout(layout));
        QImage screen(page.size(), QImage::Format_RGB32);
        screen.fill(Qt::red);
        page.render(&screen, QPoint(), QRegion(), QWidget::DrawChildren);
        const QImage bitmap = page.RenderToBitmap();
        // Between the first two minis of the top row.
        const TRect first = page.MiniSlots(1).rect;
        const TRect second = page.MiniSlots(2).rect;
        QCOMPARE(second.top, first.top);
        const QPoint between((first.right + second.left) / 2, (first.top + first.bottom) / 2);
        for (const QImage* image : {&std::as_const(screen), &bitmap}) {
            QCOMPARE(ColorAt(*image, between.x(), between.y()), platform::clWhite);
            QCOMPARE(CountColor(*image, {0, 0, image->width(), image->height()}, platform::clRed), 0);
        }
    }

    void weekPlanner()
    {
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.SetCalendarLayout(loWeek);
        page.SetHeadersBGColor(platform::clSilver);
        const QImage image = page.RenderToBitmap();
        const int titleHeight = TextHeight(26, true);
        QCOMPARE(page.TitleRect(), (TRect{31, 27, 784, 27 + titleHeight}));
        // Body from the title's bottom + 1 to 1029, 8 rows; label column to 26 + trunc(0.15 * 763) = 140.
        const int top = 28 + titleHeight;
        const int rh = (1029 - top) / 8;
        QCOMPARE(page.Cell(1).rTotal, (TRect{144, top + 4, 785, top + rh - 4}));
        QCOMPARE(page.Cell(1).rFree, page.Cell(1).rTotal);
        QCOMPARE(page.Cell(8).rTotal.bottom, 1025);
        QCOMPARE(page.Cell(1).iDay, 1);
        QCOMPARE(page.Cell(7).iDay, 7);
        QCOMPARE(page.Cell(8).iDay, 0);
        QCOMPARE(page.Cell(9), CellGeometry{});
        QCOMPARE(ColorAt(image, 140, top + 10), platform::clBlack);
        QCOMPARE(ColorAt(image, 400, top + rh), platform::clBlack);
        QCOMPARE(ColorAt(image, 30, top + 10), platform::clSilver);
    }

    void twoWeekPlannerAcrossTheYearEnd()
    {
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.SetMainCalDay(25);
        page.SetCalendarLayout(lo2Week);
        page.RenderToBitmap();
        QCOMPARE(page.Cell(1).iDay, 25);
        QCOMPARE(page.Cell(8).iDay, 1);
        QCOMPARE(page.Cell(14).iDay, 7);
        QCOMPARE(page.Cell(15).iDay, 0);
        QVERIFY(!page.Cell(15).rTotal.isZero());
        QVERIFY(page.Cell(16).rTotal.isZero());
    }

    void dayPlanner_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("rows");
        QTest::newRow("10 hours") << int(loDay10) << 11;
        QTest::newRow("15 hours") << int(loDay15) << 16;
    }
    void dayPlanner()
    {
        QFETCH(int, layout);
        QFETCH(int, rows);
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.SetCalendarLayout(TCalendarLayout(layout));
        page.RenderToBitmap();
        for (int i = 1; i <= rows; ++i) {
            QVERIFY(page.Cell(i).rFree.width() > 0);
            QCOMPARE(page.Cell(i).iDay, 0);
        }
        QVERIFY(page.Cell(rows + 1).rFree.isZero());
        QCOMPARE(page.Cell(rows).rTotal.bottom, 1025);
    }

    // Fonts are drawn at trunc(points * zoom): 16 points at 0.9 (held just below 0.9) become 14.
    void zoomedGeometry_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<TRect>("headers");
        QTest::newRow("0.5") << 0.5f << TRect{13, 100, 394, 116}; // 8 pt: 11 px, row 16
        QTest::newRow("0.9") << 0.9f << TRect{23, 178, 709, 206}; // 14 pt: 19 px, row 28
    }
    void zoomedGeometry()
    {
        QFETCH(float, zoom);
        QFETCH(TRect, headers);
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.SetZoom(zoom);
        const QImage image = page.RenderToBitmap();
        QCOMPARE(image.size(), page.size());
        QCOMPARE(page.HeadersRect(), headers);
        // Cell geometry is in zoomed page pixels.
        QVERIFY(page.Cell(42).rTotal.right < image.width());
        QVERIFY(page.Cell(42).rTotal.bottom < image.height());
    }

    void suspendedPaintDrawsNothing()
    {
        TCalendarPanel32 page;
        SetUpDecember1997(page);
        page.SetSuspendPaint(true);
        page.grab();
        QCOMPARE(page.Cell(2).iDay, 0); // no paint ran, so no geometry was recorded
        page.SetSuspendPaint(false);
        page.grab();
        QCOMPARE(page.Cell(2).iDay, 1);
    }

    // Values a file may carry that the date type cannot hold must draw something sensible.
    void oddValuesStillDraw_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("day");
        QTest::newRow("month 13") << 0 << 13 << 1997 << 1;
        QTest::newRow("month 0") << 2 << 0 << 1997 << 1;
        QTest::newRow("month -5, minis") << 16 << -5 << 1997 << 1;
        QTest::newRow("year 0") << 4 << 1 << 0 << 1;
        QTest::newRow("year 10000") << 6 << 12 << 10000 << 1;
        QTest::newRow("planner day 0") << 18 << 12 << 1997 << 0;
        QTest::newRow("planner day 31 of February") << 19 << 2 << 1997 << 31;
        QTest::newRow("day planner, year 9999 end") << 21 << 12 << 9999 << 31;
        QTest::newRow("week planner past year 9999") << 19 << 12 << 9999 << 31;
    }
    void oddValuesStillDraw()
    {
        QFETCH(int, layout);
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(int, day);
        TCalendarPanel32 page;
        page.SetCalendarLayout(TCalendarLayout(layout));
        page.SetMainCalMonth(month);
        page.SetMainCalYear(year);
        page.SetMainCalDay(day);
        const QImage image = page.RenderToBitmap();
        QVERIFY(CountInk(image, {0, 0, image.width(), image.height()}) > 1000);
    }

    // A damaged style sheet may carry any font size; the page still draws (the sanitizer build checks the
    // arithmetic on the way).
    void absurdFontSizesStillDraw_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("largest int") << std::numeric_limits<int>::max();
        QTest::newRow("smallest int") << std::numeric_limits<int>::min();
        QTest::newRow("a billion") << 1000000000;
        QTest::newRow("minus a billion") << -1000000000;
        QTest::newRow("zero") << 0;
    }
    void absurdFontSizesStillDraw()
    {
        QFETCH(int, size);
        TCalendarPanel32 page;
        page.ResetToNew();
        for (platform::TFont* font : {page.TitleFont(), page.HeadersFont(), page.CellFont(),
                                      page.MiniTitleFont(), page.MiniHeadersFont(), page.MiniCellFont()})
            font->SetSize(size);
        for (int layout = 0; layout < kLayoutCount; ++layout) {
            page.SetCalendarLayout(TCalendarLayout(layout));
            page.Relayout(true);
            const QImage image = page.RenderToBitmap();
            QCOMPARE(image.size(), page.size());
            QVERIFY2(CountInk(image, {0, 0, image.width(), image.height()}) > 0,
                     qPrintable(QString::number(layout)));
        }
    }

    void everyLayoutAtEveryZoom()
    {
        TCalendarPanel32 page;
        page.ResetToNew();
        for (int paper = 0; paper <= 1; ++paper) {
            page.SetPaperSize(paper);
            for (int layout = 0; layout < kLayoutCount; ++layout) {
                page.SetCalendarLayout(TCalendarLayout(layout));
                page.Relayout(true);
                for (float zoom : {1.0f, 0.6f, 0.2f, 0.1f}) {
                    page.SetZoom(zoom);
                    const QImage image = page.RenderToBitmap();
                    QCOMPARE(image.size(), page.size());
                    QVERIFY2(CountInk(image, {0, 0, image.width(), image.height()}) > 0,
                             qPrintable(QStringLiteral("layout %1 zoom %2").arg(layout).arg(double(zoom))));
                }
                page.SetZoom(1.0f);
            }
        }
    }
};

QTEST_MAIN(TestCalendarPaint)
#include "tst_calendarpaint.moc"
