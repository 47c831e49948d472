#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace holidays {

/** The calendars a holiday rule can count its date in. */
enum class Calendar
{
    Gregorian,
    Julian,
    Easter,
    OrthodoxEaster,
    Equinox, ///< month 3, 6, 9 or 12: the equinox or solstice of that month
    Hebrew,
    Islamic,
    Persian,
    Chinese,
    Korean,
    Vietnamese,
    SolarTerm, ///< the n-th of the 24 solar terms (1 = start of spring, 315 degrees), in China's time
    BengaliRevised,
};

/** Where a rule's date comes from: a day of some calendar, counted in the year that is asked for. */
struct DateSource
{
    Calendar calendar = Calendar::Gregorian;
    int year = 0; ///< 0: every year; otherwise only that year of the source's own calendar
    int month = 0;
    int day = 0;
    int offset = 0; ///< days added afterwards (Easter offsets)
    bool leapMonth = false;
    int cycle = 0;    ///< Chinese sexagenary cycle, 0 when not given
    QString timeZone; ///< equinoxes: an IANA zone or "+hh:mm", empty for UTC; solar terms: the calendar
};

/** A step that follows a date source and moves, filters or qualifies its days. */
struct RuleStep
{
    enum Kind
    {
        WeekdayFrom,   ///< "2nd monday after", "day before": count, weekday (-1 = any day), before/after
        IfWeekdayThen, ///< "if saturday,sunday then next monday"
        OnWeekdays,    ///< "(not) on monday, friday"
        YearFilter,    ///< "in even|odd|leap|non-leap years", "every N years since Y"
        Modifier,      ///< "substitutes", "and", "if", "then"
        Time,          ///< "14:00"
        Duration,      ///< "P3D", in hours
        ActiveFrom,    ///< "since 2024-05-01"
        ActiveTo,      ///< "prior to 2025"
        Bridge,        ///< "is public holiday": the day counts only when the other dates are holidays
        IfHoliday,     ///< "if is public holiday then next monday"
    };
    enum class Direction
    {
        Before,
        After,
        Next,
        Previous,
    };
    enum class Years
    {
        Even,
        Odd,
        Leap,
        NonLeap,
        Every,
    };

    Kind kind = Modifier;
    int count = 1;
    int weekday = -1;      ///< 0 Sunday .. 6 Saturday; -1 "day"
    unsigned weekdays = 0; ///< bit set of weekdays (bit 0 Sunday) for conditions and omitted days
    bool negate = false;
    Direction direction = Direction::After;
    bool hasTarget = false; ///< IfWeekdayThen: whether a "then" weekday was given
    Years years = Years::Even;
    int every = 0;
    int since = 0;
    int year = 0, month = 1, day = 1; ///< ActiveFrom / ActiveTo
    int hours = 0;                    ///< Duration; Time: minutes of the day
    QString modifier;
    QString type; ///< Bridge / IfHoliday: the holiday type compared, empty for public
};

/** One rule text split into its date sources and steps, in the order they apply. */
struct ParsedRule
{
    struct Item
    {
        bool isSource = false;
        DateSource source;
        RuleStep step;
    };
    QList<Item> items;
};

/**
 * Parses a rule of the holiday database ("12-25 and if sunday then next monday", "easter -2",
 * "1st monday in September", "10 Dhu al-Hijjah P3D", "chinese 01-0-01", ...). Empty when the text holds
 * something the grammar does not know or no date source to start from.
 */
std::optional<ParsedRule> ParseHolidayRule(const QString& text);

} // namespace holidays
