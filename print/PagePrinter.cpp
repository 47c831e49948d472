#include "print/PagePrinter.h"

#include "calendar/CalendarPainter.h"
#include "calendar/PageLayout.h"
#include "calendar/TCalendarPanel32.h"
#include "platform/Screen.h"
#include "platform/TCanvas.h"
#include "print/TReportSystem.h"

#include <QPainter>

namespace print {

using calendar::MonthPaintParams;
using calendar::TCalendarPanel32;
using platform::TRect;

namespace {

/** The page's layout for the content's month: the main rectangle and the mini calendars' months and places.
 */
calendar::PageLayoutResult LayoutFor(const TCalendarPanel32& page, const PageContent& content)
{
    calendar::PageLayoutInput in;
    in.layout = page.CalendarLayout();
    in.paperSize = page.PaperSize();
    in.leftMargin = page.LeftMarginInch();
    in.topMargin = page.TopMarginInch();
    in.rightMargin = page.RightMarginInch();
    in.bottomMargin = page.BottomMarginInch();
    in.month = content.month;
    in.year = content.year;
    in.pixelsPerInch = platform::PixelsPerInch();
    calendar::PageLayoutResult out;
    calendar::ComputePageLayout(in, out);
    return out;
}

/** The content's month on the page's style at full size, its rectangle in page pixels, no cell geometry. */
MonthPaintParams MainParamsFor(const TCalendarPanel32& page, const PageContent& content,
                               const calendar::PageLayoutResult& layout)
{
    MonthPaintParams p = page.MainPaintParams(1.0f);
    p.month = content.month;
    p.year = content.year;
    p.day = content.day;
    p.rect = layout.mainRect;
    p.cells = {};
    return p;
}

bool IsWeekPlanner(int layout)
{
    return layout == calendar::loWeek || layout == calendar::lo2Week;
}

/** The painter's page pixels become inches on paper at offset (x, y): one screen pixel at full size is
 * 1 / PixelsPerInch() of an inch at any printer resolution. */
void UsePageUnits(QPainter& painter, const TReportSystem& report, double x, double y)
{
    const double s = platform::PixelsPerInch();
    painter.translate(x * report.XDPI(), y * report.YDPI());
    painter.scale(report.XDPI() / s, report.YDPI() / s);
}

} // namespace

PageContent ContentOf(const TCalendarPanel32& page)
{
    PageContent content;
    content.month = page.MainCalMonth();
    content.year = page.MainCalYear();
    content.day = page.MainCalDay();
    for (int i = 1; i <= calendar::kCellCount; ++i)
        content.cells[size_t(i - 1)] = page.CellStorage(i).RtfText();
    return content;
}

void PagePrinter::Print(TReportSystem& report, TCalendarPanel32& page, const PageContent& content, double x,
                        double y)
{
    // The page is drawn by the screen's own routines at full size, in page pixels, under one transform to the
    // paper: every length, inset, font size and line break is the screen's, whatever the printer's
    // resolution.
    const calendar::PageLayoutResult layout = LayoutFor(page, content);
    QPainter& painter = report.Painter();
    painter.save();
    UsePageUnits(painter, report, x, y);
    platform::TCanvas canvas(painter);

    MonthPaintParams p = MainParamsFor(page, content, layout);
    const int kind = page.CalendarLayout();
    if (IsWeekPlanner(kind))
        calendar::DrawWeekPlanner(canvas, p, page.UserTitle());
    else if (kind >= calendar::loDay10)
        calendar::DrawDayPlanner(canvas, p, page.UserTitle());
    else if (layout.showMainCalendar)
        calendar::DrawMonth(canvas, p, page.UserTitle());
    m_cells = p.cells;
    if (layout.showMainCalendar || layout.plannerMode)
        printCellTexts(painter, content);

    if (layout.showMiniCalendars) {
        MonthPaintParams mini = page.MiniPaintParams(1.0f);
        for (int i = 0; i < layout.miniCount; ++i) {
            const calendar::MiniSlot& slot = layout.miniSlots[size_t(i)];
            mini.month = slot.month;
            mini.year = slot.year;
            mini.rect = slot.rect;
            calendar::DrawMonth(canvas, mini, QString());
        }
    }
    painter.restore();

    page.PrintObjects(painter, x, y);
}

void PagePrinter::printCellTexts(QPainter& painter, const PageContent& content)
{
    // As the window shows a cell: laid out one pixel wider than its free area (as the cell editor lays it
    // out, so the lines break alike), only the lines that fit whole, cut at the area's right edge.
    for (int i = 0; i < calendar::kCellCount; ++i) {
        const QByteArray& rtf = content.cells[size_t(i)];
        const TRect& free = m_cells[size_t(i)].rFree;
        if (rtf.isEmpty() || free.isZero() || free.width() <= 0 || free.height() <= 0)
            continue;
        painter.save();
        painter.setClipRect(QRect(free.left, free.top, free.width(), free.height()), Qt::IntersectClip);
        richtext::RenderWholeLines(painter, m_renderer.Document(rtf),
                                   QRect(free.left, free.top, free.width() + 1, free.height()), 100);
        painter.restore();
    }
}

} // namespace print
