#pragma once

#include "calendar/MonthPaintParams.h"
#include "platform/TCanvas.h"
#include "platform/TColor.h"
#include "platform/TRect.h"

#include <QString>

#include <array>

namespace calendar {

enum TFlatCalBorderStyle
{
    fcbNone,
    fcbAll,
    fcbTop,
    fcbBottom,
    fcbTopBottom,
};

enum TFlatCalHeadersStyle
{
    fdsFirstChar,
    fdsThreeChars,
    fdsWhole,
};

enum TFlatShadowPosition
{
    fcpLowerRight,
    fcpLowerLeft,
    fcpUpperRight,
    fcpUpperLeft,
};

enum TFlatCalLanguage
{
    fclEnglish,
    fclGerman,
    fclFrench,
    fclItalian,
    fclSpanish,
};
inline constexpr int kFlatLanguageCount = 5;

/** The floating calendar's own month names (January first) in one of its five languages. */
const std::array<QString, 12>& FlatMonthNames(TFlatCalLanguage language);
/** Its own weekday names (Sunday first); German Friday is "Freitag " with its trailing blank. */
const std::array<QString, 7>& FlatDayNames(TFlatCalLanguage language);

/** Where the month and its shadow go in an object of w x h pixels. */
struct FlatCalendarRects
{
    platform::TRect calendar;
    platform::TRect shadow; // empty when there is no shadow
    bool hasShadow = false;

    friend bool operator==(const FlatCalendarRects&, const FlatCalendarRects&) = default;
};

/**
 * The month's and the shadow's rectangles: with a depth of at least 1 and an opaque calendar, the month is
 * moved away from the shadow's side by trunc(depth x zoom) pixels and the shadow lies that far the other way;
 * otherwise the month fills the object and there is no shadow.
 */
FlatCalendarRects ComputeFlatCalendarRects(int w, int h, int shadowDepth, TFlatShadowPosition position,
                                           bool transparent, float zoom);

/** Everything a floating calendar is drawn from; font sizes are unzoomed points. */
struct FlatCalendarLook
{
    int startOfWeek = 1;
    int month = 1;
    int year = 1997;
    PaintFont titleFont;
    PaintFont dayNameFont;
    PaintFont cellFont;
    bool showYear = false;
    platform::TColor dayNameBGColor = platform::clWhite;
    TFlatCalBorderStyle calendarBorder = fcbAll;
    TFlatCalBorderStyle dayNameBorder = fcbAll;
    TFlatCalBorderStyle cellBorder = fcbNone;
    TFlatCalHeadersStyle dayNameStyle = fdsFirstChar;
    platform::TColor titleBGColor = platform::clWhite;
    platform::TColor backgroundColor = platform::clWhite;
    platform::TColor shadowColor = platform::clBlack;
    int shadowDepth = 0;
    TFlatShadowPosition shadowPosition = fcpLowerRight;
    TFlatCalLanguage language = fclEnglish;
    bool transparent = false;
    friend bool operator==(const FlatCalendarLook&, const FlatCalendarLook&) = default;
};

/**
 * Draws the floating calendar into (0, 0, w, h) at a zoom: the shadow, then the month with the page's
 * month-grid rules (title band at least as high as "Wy" in the title font, numbers centred in their cells),
 * in the calendar's own language. Returns the drawing's record: cells, title and header rectangles.
 */
MonthPaintParams DrawFlatCalendar(platform::TCanvas& canvas, const FlatCalendarLook& look, int w, int h,
                                  float zoom);

} // namespace calendar
