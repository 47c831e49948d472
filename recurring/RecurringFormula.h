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

std::optional<DayOfMonth> ParseDayOfMonth(const QString& formula);
std::optional<Special> ParseSpecial(const QString& formula);
QString BuildDayOfMonth(int day, int month);
QString BuildSpecial(int occurrence, int weekday, int month);

/** 1st, 2nd, 3rd, 4th, ..., 11th .. 19th, 21st. */
QString Ordinal(int n);

/** The formula in words ("4th of July", "4th Thu of November", "Sun,Sat"); empty when it cannot be read. */
QString Describe(const QString& formula);

/** Easter Sunday of a year by the Gregorian computus (any year from 1583 on). */
QDate EasterSunday(int year);
QDate GoodFriday(int year);
QDate PalmSunday(int year);

/** The days of the month that the formula selects, in increasing order. */
QList<int> Resolve(const QString& formula, int month, int year);

} // namespace recurring
