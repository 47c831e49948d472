#pragma once

#include "calendar/MonthPaintParams.h"

namespace print {

class TReportSystem;

// The calendar's drawing routines on a print engine's page: the screen's geometry applied to device
// rectangles, with fonts in points at the device's resolution. Sizes that the screen takes from a font's
// pixel height come from its line height in inches; every text is cut to fit its rectangle; cell borders are
// drawn cell by cell. params.rect is in device pixels and the recorded cell geometry is too.

/** The pen width that draws a line as wide as one screen pixel, in device pixels. */
double ScreenPixelWidth(const TReportSystem& report);

/** Draws the border style on the rectangle's edges with the report's pen. */
void PrintBorderLines(TReportSystem& report, const platform::TRect& rect, calendar::TCalBorderStyle style);

/** A month grid: title band, weekday headers, cell borders, day numbers and the border; records the cells. */
void PrintMonth(TReportSystem& report, calendar::MonthPaintParams& params, const QString& title);

/** A 7- or 14-day planner from params.day; records its rows as cells. */
void PrintWeekPlanner(TReportSystem& report, calendar::MonthPaintParams& params, const QString& title);

/** A 10- or 15-hour planner of params.day; records its rows as cells. */
void PrintDayPlanner(TReportSystem& report, calendar::MonthPaintParams& params, const QString& title);

} // namespace print
