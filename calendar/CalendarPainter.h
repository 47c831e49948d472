#pragma once

#include "calendar/MonthPaintParams.h"
#include "platform/TCanvas.h"

namespace calendar {

/** Sets the canvas font: size in points becomes pixels at the screen's pixels per inch. */
void SetCanvasFont(platform::TCanvas& canvas, const QString& name, int size, platform::TColor color,
                   platform::TFontStyles style);
void SetCanvasFont(platform::TCanvas& canvas, const PaintFont& font);

/** The title of a month grid: the given title, or the month's name with the year when it is shown. */
QString MonthTitle(const MonthPaintParams& params, const QString& title);

/** Draws the border style onto the rectangle's edges: outline, top line, bottom line, both, or nothing. */
void DrawBorderLines(platform::TCanvas& canvas, const platform::TRect& rect, TCalBorderStyle style);

/** Draws a month grid: title band, weekday headers, cell lines, day numbers and border; records the geometry.
 */
void DrawMonth(platform::TCanvas& canvas, MonthPaintParams& params, const QString& title);

/** Draws a 7- or 14-day planner from params.day; records the geometry of its rows as cells. */
void DrawWeekPlanner(platform::TCanvas& canvas, MonthPaintParams& params, const QString& title);

/** Draws a 10- or 15-hour planner of params.day; records the geometry of its rows as cells. */
void DrawDayPlanner(platform::TCanvas& canvas, MonthPaintParams& params, const QString& title);

} // namespace calendar
