#pragma once

#include "calendar/CalendarTypes.h"

#include <QDate>

namespace calendar {

inline constexpr int kMinYear = 1;
inline constexpr int kMaxYear = 9999;

bool IsLeapYear(int year);
/** Days of month 1..12 of a year; 0 for a month outside 1..12. */
int DaysInMonth(int year, int month);
/** Day of week of a date, 1 = Sunday .. 7 = Saturday. */
int DayOfWeek(const QDate& date);

struct MonthYear
{
    int month = 1;
    int year = 1;
    friend bool operator==(const MonthYear&, const MonthYear&) = default;
};

/** Moves (month, year) n months, forwards or backwards, across year ends. */
MonthYear StepMonth(int month, int year, int n);

/** Month clamped into 1..12 and year into the encodable years, so odd values read from a file still draw. */
MonthYear ClampMonthYear(int month, int year);

/** A real date from year, month and day, each clamped into its valid range. */
QDate ClampedDate(int year, int month, int day);

/**
 * Offset of day 1 in the grid: its weekday counted from 1 in the first column, where the week starts on
 * Sunday when startOfWeek is 1 and on Monday for every other value.
 */
int MonthOffset(int month, int year, int startOfWeek);

/** Day shown in cell n (1..42) of a month with the given offset and length; 0 for a blank cell. */
int DayInCell(int cell, int offset, int daysInMonth);

/** A time of day as a fraction of a day. */
double EncodeTime(int hour, int minute);
/** Hour (0..23) and minute of a time of day; whole days are ignored. */
void DecodeTime(double time, int& hour, int& minute);

/** Index 1..7 (Sunday = 1) of the day name shown in header column c (0..6). */
int HeaderDayIndex(int column, int startOfWeek);

} // namespace calendar
