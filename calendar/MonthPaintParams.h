#pragma once

#include "calendar/CalendarTypes.h"
#include "platform/TColor.h"
#include "platform/TFont.h"

#include <QString>

#include <array>

namespace calendar {

/** A font as painting uses it: name, size in points (already zoomed), style set and colour. */
struct PaintFont
{
    QString name;
    int size = 0;
    platform::TFontStyles style;
    platform::TColor color = 0;
    friend bool operator==(const PaintFont&, const PaintFont&) = default;
};

/** Everything one month grid or planner is drawn from, and the geometry its drawing records. */
struct MonthPaintParams
{
    platform::TColor bodyColor = platform::clWhite;
    platform::TColor titleBGColor = platform::clWhite;
    int minTitleHeight = 0;
    int month = 1;
    int year = 1997;
    int day = 1;
    platform::TRect rect;
    TCalendarNumberPosition numberPosition = cnpUpperRight;
    int startOfWeek = 1;
    TCalBorderStyle calendarBorder = cbAll;
    PaintFont titleFont;
    bool showYear = true;
    PaintFont headersFont;
    TCalBorderStyle headersBorder = cbAll;
    TCalHeadersStyle headersStyle = dsThreeChars;
    platform::TColor headersBGColor = platform::clWhite;
    PaintFont cellFont;
    TCalBorderStyle cellBorder = cbAll;
    std::array<QString, 12> monthNames;
    std::array<QString, 7> dayNames;
    /**
     * The floating calendar's month: white under the bands (or nothing at all when transparent), the body
     * colour from the header row down, and each cell reaching down to the next row line.
     */
    bool floating = false;
    bool transparent = false;
    int plannerDays = 7;
    int plannerHours = 10;
    double plannerStartTime = 8.0 / 24.0;

    // Results of drawing.
    std::array<CellGeometry, kCellCount> cells{};
    platform::TRect titleRect;
    platform::TRect headersRect;
};

} // namespace calendar
