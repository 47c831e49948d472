#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace recurring {

/**
 * Recurring-date formulas: "@MMDD" a day of the month (month 00 every month), "$OOWWMM" the nth weekday
 * (occurrence 0..4 or 5 last, weekday 0..6 or 7 any day, month 0 every month; fields left-justified in two
 * characters), "%" with the digits 1 (Sunday) .. 7 (Saturday) of chosen weekdays, and "#EASTER",
 * "#GOODFRIDAY", "#PALMSUNDAY".
 *
 * Later kinds, which older readers of the store keep but resolve to nothing: "#EASTER+39" / "#EASTER-47" days
 * from Easter, "#ORTHO" / "#ORTHO+50" the same from Orthodox Easter, ">WMMDD" the weekday W (0 Sunday .. 6
 * Saturday) on or after day DD of month MM (00 every month), and "#EQUINOX03" / "#EQUINOX09" the days of the
 * March and September equinoxes in Japan's reckoning.
 */
struct DayOfMonth
{
    int month = 0;
    int day = 0;
};

struct Special
{
    int occurrence = 0;
    int weekday = 0;
    int month = 0;
};

/** Days from Easter Sunday, of the Western or the Orthodox (Julian) reckoning. */
struct EasterOffset
{
    bool orthodox = false;
    int offset = 0;
};

/** A weekday (0 Sunday .. 6 Saturday) on or after a day of a month (0 every month). */
struct OnOrAfter
{
    int weekday = 0;
    int month = 0;
    int day = 1;
};

/** Offsets from Easter that a formula holds: "-99" .. "+99". */
inline constexpr int kMaxEasterOffset = 99;

std::optional<DayOfMonth> ParseDayOfMonth(const QString& formula);
std::optional<Special> ParseSpecial(const QString& formula);
QString BuildDayOfMonth(int day, int month);
QString BuildSpecial(int occurrence, int weekday, int month);
/**
 * Reads the Easter words: "#EASTER" and "#ORTHO" with an optional signed offset of one or two digits, and the
 * older "#GOODFRIDAY" (-2) and "#PALMSUNDAY" (-7); blanks around the word and letter case do not matter.
 */
std::optional<EasterOffset> ParseEasterOffset(const QString& formula);
/** "#EASTER", "#EASTER+39", "#ORTHO-2"; the offset is clamped to -99..99. */
QString BuildEasterOffset(int offset, bool orthodox);
std::optional<OnOrAfter> ParseOnOrAfter(const QString& formula);
QString BuildOnOrAfter(int weekday, int day, int month);
/** True for the three words of the oldest stores, which stay as they are in lists and the formula dialog. */
bool IsOriginalBuiltIn(const QString& formula);

/** 1st, 2nd, 3rd, 4th, ..., 11th .. 19th, 21st. */
QString Ordinal(int n);

/** The formula in words ("4th of July", "4th Thu of November", "Sun,Sat"); empty when it cannot be read. */
QString Describe(const QString& formula);

/** Easter Sunday of a year by the Gregorian computus (any year from 1583 on). */
QDate EasterSunday(int year);
QDate GoodFriday(int year);
QDate PalmSunday(int year);
/** Easter Sunday of the Orthodox churches (the Julian computus), as a date of the Gregorian calendar. */
QDate OrthodoxEaster(int year);
/**
 * The days of the March (month 3) and September (month 9) equinoxes as Japan's public holidays reckon them
 * (the observatory's approximation, which gives the published days from 1980 to 2099).
 */
QDate EquinoxDay(int year, int month);

/** The days of the month that the formula selects, in increasing order. */
QList<int> Resolve(const QString& formula, int month, int year);

} // namespace recurring
