#pragma once

#include "calendar/CalendarTypes.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>

namespace calendar {

using MonthNames = std::array<QString, 12>;
using DayNames = std::array<QString, 7>;

/** A day name cut by the headers style: its first character, its first three, or all of it. */
QString CutDayName(const QString& name, TCalHeadersStyle style);

/** "December 1-7, 1997", "December 25 - January 7, 1998" across months, with both years across a year end. */
QString WeekPlannerTitle(const QDate& first, int days, const MonthNames& months);

/** "Monday, December 1, 1997". */
QString DayPlannerTitle(const QDate& day, const MonthNames& months, const DayNames& days);

struct PlannerRow
{
    QString first;
    QString second;
};

/** One row per day (cut day name; "28 Dec") and a final "Notes" row. */
QList<PlannerRow> WeekPlannerRows(const QDate& first, int days, TCalHeadersStyle style,
                                  const MonthNames& months, const DayNames& dayNames);

/** One row per hour from the start time ("8:00 AM") and a final "Notes" row. */
QList<PlannerRow> DayPlannerRows(double startTime, int hours);

/** A time of day (fraction of a day) as "h:mm" with the locale's morning or afternoon marker. */
QString FormatPlannerTime(double time);

/** The day a planner row label names: its first two characters as a number, 0 when they are not one. */
int PlannerRowDay(const QString& label);

} // namespace calendar
