#include "calendar/CalendarPainter.h"

#include "calendar/DateRules.h"
#include "calendar/PlannerText.h"
#include "platform/Screen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace calendar {

using platform::TCanvas;
using platform::TRect;
using HAlign = TCanvas::HAlign;
using VAlign = TCanvas::VAlign;

namespace {

/** Draws the rows of a planner and records them as cells 1..rows; the remaining cells get no geometry. */
void DrawPlannerRows(TCanvas& canvas, MonthPaintParams& p, const QString& title,
                     const QList<PlannerRow>& rows)
{
    const int L = p.rect.left, T = p.rect.top, R1 = p.rect.right - 1, B1 = p.rect.bottom - 1;
    canvas.FillRect(p.rect, p.bodyColor);
    canvas.SetPenColor(platform::clBlack);

    SetCanvasFont(canvas, p.titleFont);
    p.titleRect = {L + 5, T + 1, R1 - 5, T + 1 + canvas.TextHeight()};
    canvas.DrawTextLine(p.titleRect, title, HAlign::Center, VAlign::Center);

    const TRect body{L, p.titleRect.bottom + 1, R1, B1};
    canvas.Rectangle(body, p.bodyColor);
    const int count = static_cast<int>(rows.size());
    const int rh = (body.bottom - body.top) / count;
    const int xd = L + static_cast<int>(std::trunc(0.15 * (R1 - L)));
    canvas.FillRect({L + 1, body.top + 1, xd, body.bottom - 1}, p.headersBGColor);

    SetCanvasFont(canvas, p.headersFont);
    for (int k = 0; k < count; ++k) {
        const int upperTop = body.top + k * rh + 1;
        const int upperBottom = upperTop + rh / 2;
        canvas.DrawTextLine({L + 1, upperTop, xd, upperBottom}, rows[k].first, HAlign::Center,
                            VAlign::Bottom);
        canvas.DrawTextLine({L + 1, upperBottom, xd, upperBottom + rh / 2}, rows[k].second, HAlign::Center,
                            VAlign::Top);
    }
    canvas.MoveTo(xd, body.top);
    canvas.LineTo(xd, body.bottom);
    for (int k = 1; k < count; ++k) {
        canvas.MoveTo(body.left, body.top + k * rh);
        canvas.LineTo(body.right, body.top + k * rh);
    }

    for (int k = 0; k < kCellCount; ++k) {
        CellGeometry& cell = p.cells[static_cast<size_t>(k)];
        if (k < count) {
            const int bottom = k == count - 1 ? body.bottom - 4 : body.top + (k + 1) * rh - 4;
            cell.rTotal = {xd + 4, body.top + k * rh + 4, R1 - 4, bottom};
            cell.rFree = cell.rTotal;
            cell.iDay = PlannerRowDay(rows[k].second);
        } else {
            cell = CellGeometry{};
        }
    }
}

} // namespace

QString MonthTitle(const MonthPaintParams& p, const QString& title)
{
    if (!title.isEmpty())
        return title;
    const MonthYear my = ClampMonthYear(p.month, p.year);
    const QString& name = p.monthNames[static_cast<size_t>(my.month - 1)];
    return p.showYear ? name + u' ' + QString::number(my.year) : name;
}

void SetCanvasFont(TCanvas& canvas, const QString& name, int size, platform::TColor color,
                   platform::TFontStyles style)
{
    canvas.SetFont(platform::MakeQFont(name, platform::FontPixels(size), style), color);
}

void SetCanvasFont(TCanvas& canvas, const PaintFont& font)
{
    SetCanvasFont(canvas, font.name, font.size, font.color, font.style);
}

void DrawBorderLines(TCanvas& canvas, const TRect& r, TCalBorderStyle style)
{
    switch (style) {
    case cbNone:
        break;
    case cbAll:
        canvas.Outline(r);
        break;
    case cbTop:
        canvas.MoveTo(r.left, r.top);
        canvas.LineTo(r.right, r.top);
        break;
    case cbBottom:
        canvas.MoveTo(r.left, r.bottom);
        canvas.LineTo(r.right, r.bottom);
        break;
    case cbTopBottom:
        canvas.MoveTo(r.left, r.top);
        canvas.LineTo(r.right, r.top);
        canvas.MoveTo(r.left, r.bottom);
        canvas.LineTo(r.right, r.bottom);
        break;
    }
}

void DrawMonth(TCanvas& canvas, MonthPaintParams& p, const QString& title)
{
    const int L = p.rect.left, T = p.rect.top, R = p.rect.right, B = p.rect.bottom;
    const int R1 = R - 1, B1 = B - 1;
    const bool fill = !(p.floating && p.transparent);
    if (!p.floating) {
        canvas.FillRect(p.rect, p.bodyColor);
    } else if (fill) {
        // White first: the bands and the body cover all of it but the top row and the right column.
        canvas.FillRect({L, T, R, T + 1}, platform::clWhite);
        canvas.FillRect({R1, T, R, B}, platform::clWhite);
    }
    canvas.SetPenColor(platform::clBlack);

    // Title band.
    const int titleHeight = std::max(static_cast<int>(std::trunc(0.17 * (B1 - T))), p.minTitleHeight);
    const int yt = T + 1 + titleHeight;
    p.titleRect = {L, T + 1, R1, yt};
    if (fill)
        canvas.FillRect({L, T + 1, R1, yt + 1}, p.titleBGColor);
    SetCanvasFont(canvas, p.titleFont);
    canvas.DrawTextLine(p.titleRect, MonthTitle(p, title), HAlign::Center, VAlign::Center);

    const int cw = (R1 - L) / 7;

    // Weekday headers.
    SetCanvasFont(canvas, p.headersFont);
    const int headerHeight =
        static_cast<int>(std::trunc(1.5 * std::abs(platform::FontPixels(p.headersFont.size))));
    p.headersRect = {L, yt + 1, R1, yt + 1 + headerHeight};
    if (fill)
        canvas.FillRect({L, yt + 1, R1, p.headersRect.bottom + 1}, p.headersBGColor);
    if (p.floating && fill)
        canvas.FillRect({L, p.headersRect.bottom, R1, B}, p.bodyColor);
    DrawBorderLines(canvas, p.headersRect, p.headersBorder);
    for (int c = 0; c < 7; ++c) {
        const QString& name = p.dayNames[static_cast<size_t>(HeaderDayIndex(c, p.startOfWeek) - 1)];
        canvas.DrawTextLine({L + c * cw + 1, p.headersRect.top, L + c * cw + cw - 1, p.headersRect.bottom},
                            CutDayName(name, p.headersStyle), HAlign::Center, VAlign::Center);
    }

    // Cell lines.
    const int yc = p.headersRect.bottom;
    const int rh = (B1 - yc) / 6;
    int firstLine = 0, lastLine = -1;
    switch (p.cellBorder) {
    case cbNone:
        break;
    case cbAll:
    case cbTopBottom:
        firstLine = 0;
        lastLine = 6;
        break;
    case cbTop:
        firstLine = 0;
        lastLine = 5;
        break;
    case cbBottom:
        firstLine = 1;
        lastLine = 6;
        break;
    }
    for (int k = firstLine; k <= lastLine; ++k) {
        const int y = k == 6 ? B1 : yc + k * rh;
        canvas.MoveTo(L, y);
        canvas.LineTo(R1, y);
    }
    if (p.cellBorder == cbAll) {
        for (int c = 0; c <= 6; ++c) {
            canvas.MoveTo(L + c * cw, yc);
            canvas.LineTo(L + c * cw, B1);
        }
        canvas.MoveTo(R1, yc);
        canvas.LineTo(R1, B1);
    }

    // Day numbers.
    SetCanvasFont(canvas, p.cellFont);
    const MonthYear my = ClampMonthYear(p.month, p.year);
    const int offset = MonthOffset(my.month, my.year, p.startOfWeek);
    const int days = DaysInMonth(my.year, my.month);
    const int numberHeight = p.numberPosition == cnpUpperRight ? canvas.TextHeight() : 0;
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            const int n = 7 * r + c + 1;
            CellGeometry& cell = p.cells[static_cast<size_t>(n - 1)];
            TRect box{L + c * cw + 1, yc + r * rh + 1, L + c * cw + cw - 1,
                      yc + r * rh + rh - (p.floating ? 0 : 1)};
            if (p.numberPosition == cnpUpperRight)
                box = {box.left + 4, box.top, L + c * cw + cw - 6, box.bottom};
            cell.iDay = DayInCell(n, offset, days);
            cell.rTotal = box;
            if (p.numberPosition == cnpUpperRight)
                cell.rFree = {box.left, box.top + numberHeight, box.right, box.bottom};
            else
                cell.rFree = TRect{};
            if (cell.iDay == 0)
                continue;
            if (p.numberPosition == cnpUpperRight)
                canvas.DrawTextLine(box, QString::number(cell.iDay), HAlign::Right, VAlign::Top);
            else
                canvas.DrawTextLine(box, QString::number(cell.iDay), HAlign::Center, VAlign::Center);
        }
    }

    DrawBorderLines(canvas, {L, T, R1, B1}, p.calendarBorder);
}

void DrawWeekPlanner(TCanvas& canvas, MonthPaintParams& p, const QString& title)
{
    const QDate first = ClampedDate(p.year, p.month, p.day);
    const int days = p.plannerDays;
    const QString text = title.isEmpty() ? WeekPlannerTitle(first, days, p.monthNames) : title;
    DrawPlannerRows(canvas, p, text, WeekPlannerRows(first, days, p.headersStyle, p.monthNames, p.dayNames));
}

void DrawDayPlanner(TCanvas& canvas, MonthPaintParams& p, const QString& title)
{
    const QDate day = ClampedDate(p.year, p.month, p.day);
    const QString text = title.isEmpty() ? DayPlannerTitle(day, p.monthNames, p.dayNames) : title;
    DrawPlannerRows(canvas, p, text, DayPlannerRows(p.plannerStartTime, p.plannerHours));
}

} // namespace calendar
