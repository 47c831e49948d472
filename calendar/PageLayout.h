#pragma once

#include "calendar/CalendarTypes.h"

#include <array>

namespace calendar {

/** The style attributes that decide a page's layout. */
struct PageLayoutInput
{
    int layout = loFullCalendar;
    int paperSize = 0;
    float leftMargin = 0.25f;
    float topMargin = 0.25f;
    float rightMargin = 0.25f;
    float bottomMargin = 0.25f;
    int month = 1;
    int year = 1997;
    int pixelsPerInch = 96;
};

/**
 * What a relayout computes, all in unzoomed page pixels. A layout without mini calendars leaves the slots and
 * their count as they were, and a mini-calendar-only layout leaves the main rectangle as it was, so the
 * result is updated in place.
 */
struct PageLayoutResult
{
    TCalendarOrientation orientation = coPortrait;
    int pageWidth = 0;
    int pageHeight = 0;
    platform::TRect mainRect;
    bool showMainCalendar = true;
    bool showMiniCalendars = false;
    bool plannerMode = false;
    int miniCount = 0;
    std::array<MiniSlot, kMaxMiniSlots> miniSlots{};
    /** Mini title font size the layout asks for in points, 0 when it has no mini calendars of its own. */
    int miniFontSize = 0;
};

/** The orientation a layout implies: landscape for the odd layouts up to 17, portrait for all others. */
TCalendarOrientation OrientationOfLayout(int layout);

/** Runs the layout rules of a page over the previous result. */
void ComputePageLayout(const PageLayoutInput& in, PageLayoutResult& out);

/**
 * Fills a rectangle with rows by cols equal slots separated by gaps of one hundredth of its size; the last
 * row and column are aligned to the bottom and right edges. Writes slots first..last (0-based) of the array.
 */
void FillSlots(const platform::TRect& area, int rows, int cols, int first, int last,
               std::array<MiniSlot, kMaxMiniSlots>& slots);

} // namespace calendar
