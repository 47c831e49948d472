#include "calendar/DateRules.h"

#include <algorithm>
#include <cmath>

namespace calendar {

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

int DayOfWeek(const QDate& date)
{
    // QDate counts Monday = 1 .. Sunday = 7.
    return date.dayOfWeek() % 7 + 1;
}

MonthYear StepMonth(int month, int year, int n)
{
    // Whole years first, then the remaining months one at a time, which is the same as stepping month by
    // month.
    year += n / 12;
    n %= 12;
    month += n;
    if (month < 1) {
        month += 12;
        --year;
    } else if (month > 12) {
        month -= 12;
        ++year;
    }
    return {month, year};
}

MonthYear ClampMonthYear(int month, int year)
{
    return {std::clamp(month, 1, 12), std::clamp(year, kMinYear, kMaxYear)};
}

QDate ClampedDate(int year, int month, int day)
{
    const MonthYear my = ClampMonthYear(month, year);
    return QDate(my.year, my.month, std::clamp(day, 1, DaysInMonth(my.year, my.month)));
}

int MonthOffset(int month, int year, int startOfWeek)
{
    const MonthYear my = ClampMonthYear(month, year);
    const int w = DayOfWeek(QDate(my.year, my.month, 1));
    if (startOfWeek == 1)
        return w;
    return w == 1 ? 7 : w - 1;
}

int DayInCell(int cell, int offset, int daysInMonth)
{
    const int d = cell - offset + 1;
    return d >= 1 && d <= daysInMonth ? d : 0;
}

double EncodeTime(int hour, int minute)
{
    return (hour * 60 + minute) / 1440.0;
}

void DecodeTime(double time, int& hour, int& minute)
{
    const double fraction = time - std::floor(time);
    // The tiny allowance keeps a time computed in steps of a slightly short minute on its minute.
    const int minutes = static_cast<int>(std::floor(fraction * 1440.0 + 1e-6)) % 1440;
    hour = minutes / 60;
    minute = minutes % 60;
}

int HeaderDayIndex(int column, int startOfWeek)
{
    if (startOfWeek == 1)
        return column + 1;
    return column < 6 ? column + 2 : 1;
}

} // namespace calendar
