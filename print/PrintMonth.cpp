#include "print/PrintMonth.h"

#include "calendar/CalendarPainter.h"
#include "calendar/DateRules.h"
#include "calendar/PlannerText.h"
#include "platform/Screen.h"
#include "print/TReportSystem.h"

#include <algorithm>
#include <cmath>

namespace print {

using calendar::CellGeometry;
using calendar::MonthPaintParams;
using calendar::PaintFont;
using platform::TRect;

namespace {

int Trunc(double x)
{
    return int(std::trunc(x));
}

void UseFont(TReportSystem& report, const PaintFont& font)
{
    report.SetFont(font.name, font.size, font.style.testFlag(platform::fsBold),
                   font.style.testFlag(platform::fsItalic), font.style.testFlag(platform::fsUnderline));
    report.SetFontColor(font.color);
}

/** Centred on the rectangle horizontally; its line box of 1.4 line heights centred vertically. */
void PrintCentred(TReportSystem& report, const TRect& r, const QString& text)
{
    const QString fitted = report.FitText(text, report.XD2I(r.width()));
    const double y = report.YD2I(r.top) + (report.YD2I(r.height()) - 1.4 * report.LineHeight()) / 2;
    report.PrintCenter(fitted, report.XD2I(r.left + r.width() / 2.0), y);
}

void SelectDrawingTools(TReportSystem& report)
{
    report.SetPen(platform::clBlack, Qt::SolidLine, ScreenPixelWidth(report));
}

void PrintPlannerRows(TReportSystem& report, MonthPaintParams& p, const QString& title,
                      const QList<calendar::PlannerRow>& rows)
{
    const int L = p.rect.left, T = p.rect.top, R1 = p.rect.right - 1, B1 = p.rect.bottom - 1;
    report.SetBrush(p.bodyColor);
    report.FillRect(p.rect);
    SelectDrawingTools(report);

    UseFont(report, p.titleFont);
    p.titleRect = {L + 5, T + 1, R1 - 5, T + 1 + Trunc(1.6 * report.LineHeight() * report.YDPI())};
    report.PrintCenter(report.FitText(title, report.XD2I(p.titleRect.width())),
                       report.XD2I(p.titleRect.left + p.titleRect.width() / 2.0),
                       report.YD2I(p.titleRect.top));

    const TRect body{L, p.titleRect.bottom + 1, R1, B1};
    report.SetBrush(p.bodyColor, Qt::NoBrush);
    report.Rectangle(body);
    const int count = int(rows.size());
    const int rh = (body.bottom - body.top) / count;
    const int xd = L + Trunc(0.15 * (R1 - L));
    // The label column is filled inside the body's outline, which is a screen pixel wide on paper too.
    const int line = int(std::ceil(ScreenPixelWidth(report)));
    report.SetBrush(p.headersBGColor);
    report.FillRect({L + line, body.top + line, xd, body.bottom - 1});

    UseFont(report, p.headersFont);
    const double labelWidth = report.XD2I(xd - (L + 1));
    const double labelCentre = report.XD2I((L + 1 + xd) / 2.0);
    for (int k = 0; k < count; ++k) {
        const double halfBottom = report.YD2I(body.top + k * rh + 1 + rh / 2);
        report.PrintCenter(report.FitText(rows[k].first, labelWidth), labelCentre,
                           halfBottom - report.LineHeight());
        report.PrintCenter(report.FitText(rows[k].second, labelWidth), labelCentre, halfBottom);
    }
    report.Line(xd, body.top, xd, body.bottom);
    for (int k = 1; k < count; ++k)
        report.Line(body.left, body.top + k * rh, body.right, body.top + k * rh);

    for (int k = 0; k < calendar::kCellCount; ++k) {
        CellGeometry& cell = p.cells[size_t(k)];
        if (k < count) {
            const int bottom = k == count - 1 ? body.bottom - 4 : body.top + (k + 1) * rh - 4;
            cell.rTotal = {xd + 4, body.top + k * rh + 4, R1 - 4, bottom};
            cell.rFree = cell.rTotal;
            cell.iDay = calendar::PlannerRowDay(rows[k].second);
        } else {
            cell = CellGeometry{};
        }
    }
}

} // namespace

double ScreenPixelWidth(const TReportSystem& report)
{
    return report.YDPI() / platform::PixelsPerInch();
}

void PrintBorderLines(TReportSystem& report, const TRect& r, calendar::TCalBorderStyle style)
{
    const bool top = style == calendar::cbAll || style == calendar::cbTop || style == calendar::cbTopBottom;
    const bool bottom =
        style == calendar::cbAll || style == calendar::cbBottom || style == calendar::cbTopBottom;
    if (style == calendar::cbAll) {
        // The closed outline a,b to c,b to c,d to a,d to a,b.
        report.Line(r.left, r.top, r.right, r.top);
        report.Line(r.right, r.top, r.right, r.bottom);
        report.Line(r.right, r.bottom, r.left, r.bottom);
        report.Line(r.left, r.bottom, r.left, r.top);
        return;
    }
    if (top)
        report.Line(r.left, r.top, r.right, r.top);
    if (bottom)
        report.Line(r.left, r.bottom, r.right, r.bottom);
}

void PrintMonth(TReportSystem& report, MonthPaintParams& p, const QString& title)
{
    const int L = p.rect.left, T = p.rect.top, R1 = p.rect.right - 1, B1 = p.rect.bottom - 1;
    report.SetBrush(p.bodyColor);
    report.FillRect(p.rect);
    SelectDrawingTools(report);

    // Title band.
    const int titleHeight = std::max(Trunc(0.17 * (B1 - T)), p.minTitleHeight);
    const int yt = T + 1 + titleHeight;
    p.titleRect = {L, T + 1, R1, yt};
    report.SetBrush(p.titleBGColor);
    report.FillRect({L, T + 1, R1, yt + 1});
    UseFont(report, p.titleFont);
    PrintCentred(report, p.titleRect, calendar::MonthTitle(p, title));

    const int cw = (R1 - L) / 7;

    // Weekday headers, as high as one and a half lines of their font.
    UseFont(report, p.headersFont);
    const int headerHeight = Trunc(1.5 * report.LineHeight() * report.YDPI());
    p.headersRect = {L, yt + 1, R1, yt + 1 + headerHeight};
    report.SetBrush(p.headersBGColor);
    report.FillRect({L, yt + 1, R1, p.headersRect.bottom + 1});
    PrintBorderLines(report, p.headersRect, p.headersBorder);
    for (int c = 0; c < 7; ++c) {
        const QString& name = p.dayNames[size_t(calendar::HeaderDayIndex(c, p.startOfWeek) - 1)];
        PrintCentred(report, {L + c * cw + 1, p.headersRect.top, L + c * cw + cw - 1, p.headersRect.bottom},
                     calendar::CutDayName(name, p.headersStyle));
    }

    // Each cell gets its own border; the last row and column reach the inner bottom and right.
    const int yc = p.headersRect.bottom;
    const int rh = (B1 - yc) / 6;
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            const TRect cell{L + c * cw, yc + r * rh, c == 6 ? R1 : L + (c + 1) * cw,
                             r == 5 ? B1 : yc + (r + 1) * rh};
            PrintBorderLines(report, cell, p.cellBorder);
        }
    }

    // Day numbers, and the cell geometry in device pixels.
    UseFont(report, p.cellFont);
    const double lineHeight = report.LineHeight();
    const calendar::MonthYear my = calendar::ClampMonthYear(p.month, p.year);
    const int offset = calendar::MonthOffset(my.month, my.year, p.startOfWeek);
    const int days = calendar::DaysInMonth(my.year, my.month);
    const bool upperRight = p.numberPosition == calendar::cnpUpperRight;
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            const int n = 7 * r + c + 1;
            CellGeometry& cell = p.cells[size_t(n - 1)];
            TRect box{L + c * cw + 1, yc + r * rh + 1, L + c * cw + cw - 1, yc + r * rh + rh - 1};
            if (upperRight)
                box = {box.left + 4, box.top, L + c * cw + cw - 6, box.bottom};
            cell.iDay = calendar::DayInCell(n, offset, days);
            cell.rTotal = box;
            cell.rFree = upperRight ? TRect{box.left, box.top + Trunc(lineHeight * report.YDPI()), box.right,
                                            box.bottom}
                                    : TRect{};
            if (cell.iDay == 0)
                continue;
            const QString number = report.FitText(QString::number(cell.iDay), report.XD2I(box.width()));
            if (upperRight)
                report.PrintRight(number, report.XD2I(box.right) - 0.05, report.YD2I(box.top));
            else
                report.PrintCenter(number, report.XD2I(box.left + box.width() / 2.0), report.YD2I(box.top));
        }
    }

    PrintBorderLines(report, {L, T, R1, B1}, p.calendarBorder);
}

void PrintWeekPlanner(TReportSystem& report, MonthPaintParams& p, const QString& title)
{
    const QDate first = calendar::ClampedDate(p.year, p.month, p.day);
    const QString text =
        title.isEmpty() ? calendar::WeekPlannerTitle(first, p.plannerDays, p.monthNames) : title;
    PrintPlannerRows(
        report, p, text,
        calendar::WeekPlannerRows(first, p.plannerDays, p.headersStyle, p.monthNames, p.dayNames));
}

void PrintDayPlanner(TReportSystem& report, MonthPaintParams& p, const QString& title)
{
    const QDate day = calendar::ClampedDate(p.year, p.month, p.day);
    const QString text = title.isEmpty() ? calendar::DayPlannerTitle(day, p.monthNames, p.dayNames) : title;
    PrintPlannerRows(report, p, text, calendar::DayPlannerRows(p.plannerStartTime, p.plannerHours));
}

} // namespace print
