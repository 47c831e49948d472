#include "print/PagePrinter.h"

#include "calendar/CalendarPainter.h"
#include "calendar/PageLayout.h"
#include "calendar/TCalendarPanel32.h"
#include "platform/Screen.h"
#include "platform/TCanvas.h"
#include "print/PrintMonth.h"
#include "print/TReportSystem.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <cmath>

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

/** A rectangle of page pixels at offset (x, y) inches, as device pixels. */
TRect ToDevice(const TReportSystem& report, const TRect& r, double x, double y)
{
    const double s = platform::PixelsPerInch();
    return {report.XI2D(x + r.left / s), report.YI2D(y + r.top / s), report.XI2D(x + r.right / s),
            report.YI2D(y + r.bottom / s)};
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

TRect CellTextFrame(const TCalendarPanel32& page, const PageContent& content)
{
    const calendar::PageLayoutResult layout = LayoutFor(page, content);
    MonthPaintParams p = MainParamsFor(page, content, layout);
    // The screen's drawing routines record the geometry; they draw into a one-pixel scratch image.
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    platform::TCanvas canvas(painter);
    const int kind = page.CalendarLayout();
    if (IsWeekPlanner(kind))
        calendar::DrawWeekPlanner(canvas, p, QString());
    else if (kind >= calendar::loDay10)
        calendar::DrawDayPlanner(canvas, p, QString());
    else if (layout.showMainCalendar)
        calendar::DrawMonth(canvas, p, page.UserTitle());
    TRect frame = p.cells[0].rFree;
    frame.right += 5;
    frame.bottom += 5;
    return frame;
}

void PagePrinter::Print(TReportSystem& report, TCalendarPanel32& page, const PageContent& content, double x,
                        double y)
{
    const TRect frame = CellTextFrame(page, content);
    const calendar::PageLayoutResult layout = LayoutFor(page, content);
    MonthPaintParams p = MainParamsFor(page, content, layout);
    p.rect = ToDevice(report, layout.mainRect, x, y);
    p.minTitleHeight = int(std::trunc(1.5 * report.XDPI()));
    report.SetPen(platform::clBlack, Qt::SolidLine, ScreenPixelWidth(report));
    report.SetBrush(platform::clWhite);

    const int kind = page.CalendarLayout();
    const bool cells = layout.showMainCalendar || layout.plannerMode;
    if (IsWeekPlanner(kind))
        PrintWeekPlanner(report, p, page.UserTitle());
    else if (kind >= calendar::loDay10)
        PrintDayPlanner(report, p, page.UserTitle());
    else if (layout.showMainCalendar)
        PrintMonth(report, p, page.UserTitle());
    m_cells = p.cells;
    if (cells)
        printCellTexts(report, p, content, frame);

    if (layout.showMiniCalendars) {
        MonthPaintParams mini = page.MiniPaintParams(1.0f);
        for (int i = 0; i < layout.miniCount; ++i) {
            const calendar::MiniSlot& slot = layout.miniSlots[size_t(i)];
            mini.month = slot.month;
            mini.year = slot.year;
            const TRect grown{slot.rect.left, slot.rect.top, slot.rect.right + 1, slot.rect.bottom + 1};
            mini.rect = ToDevice(report, grown, x, y);
            PrintMonth(report, mini, QString());
        }
    }

    page.PrintObjects(report.Painter(), x, y);
}

void PagePrinter::printCellTexts(TReportSystem& report, const MonthPaintParams& device,
                                 const PageContent& content, const TRect& frame)
{
    // The text is rendered at the frame's size in screen pixels, recorded in hundredths of a millimetre, and
    // that recording is stretched onto the cell's free area on the device.
    const int width = frame.right - frame.left + 1;
    const int height = frame.bottom - frame.top + 1;
    if (width <= 0 || height <= 0)
        return;
    const double s = platform::PixelsPerInch();
    const double himetricWidth = std::trunc(width / s * 25.4 * 100);
    const double himetricHeight = std::trunc(height / s * 25.4 * 100);
    const QSizeF recorded(himetricWidth / 2540.0 * s, himetricHeight / 2540.0 * s);
    for (int i = 0; i < calendar::kCellCount; ++i) {
        const QByteArray& rtf = content.cells[size_t(i)];
        const TRect& free = device.cells[size_t(i)].rFree;
        if (rtf.isEmpty() || free.isZero())
            continue;
        QTextDocument& document = m_renderer.Document(rtf);
        report.StretchPicture(free, recorded, [&](QPainter& painter) {
            richtext::RenderDocument(painter, document, QRect(0, 0, width, height), 100);
        });
    }
}

} // namespace print
