#pragma once

#include "platform/TRect.h"

namespace calendar {

enum TCalendarLayout
{
    loFullCalendar,
    LOFullCalendarLS,
    loFCMinisInTitle,
    loFCMinisInTitleLS,
    loFC6Before6After,
    loFC6Before6AfterLS,
    loFC12After,
    loFC12AfterLS,
    lopMC6Month,
    lopMC6MonthLS,
    loMC12Month,
    loMC12MonthLS,
    loMC24Month,
    loMC24MonthLS,
    loMC48Month,
    loMC48MonthLS,
    loMC60Month,
    loMC60MonthLS,
    loWeek,
    lo2Week,
    loDay10,
    loDay15,
};
inline constexpr int kLayoutCount = 22;

enum TCalendarOrientation
{
    coPortrait,
    coLandscape,
};

enum TCalendarLineLayout
{
    llFull,
    llHeadersAndCells,
    llCellsOnly,
};

enum TMiniCalendarLineLayout
{
    mllFull,
    mllBoxed,
    mllMinimal,
};

enum TCalBorderStyle
{
    cbNone,
    cbAll,
    cbTop,
    cbBottom,
    cbTopBottom,
};

enum TCalHeadersStyle
{
    dsFirstChar,
    dsThreeChars,
    dsWhole,
};

enum TCalendarNumberPosition
{
    cnpCenter,
    cnpUpperRight,
};

enum TLPanelState
{
    psPointing,
    psLabel,
    psImage,
    psRichLabel,
    psSuperText,
    psFlatCalendar,
};

/** What painting records of one day cell: its whole rectangle, its day (0 when blank) and its text area. */
struct CellGeometry
{
    platform::TRect rTotal;
    int iDay = 0;
    platform::TRect rFree;

    friend bool operator==(const CellGeometry&, const CellGeometry&) = default;
};

/** One mini calendar of a layout: its month, year and rectangle in unzoomed page pixels. */
struct MiniSlot
{
    int month = 0;
    int year = 0;
    platform::TRect rect;

    friend bool operator==(const MiniSlot&, const MiniSlot&) = default;
};

inline constexpr int kCellCount = 42;
inline constexpr int kMaxMiniSlots = 60;

} // namespace calendar
