#pragma once

#include "exchange/IcsCalendar.h"
#include "recurring/RecurringStore.h"

#include <QDate>
#include <QList>
#include <QString>

namespace exchange {

/** One event on one day: the start time and summary on its first day, the summary on the days it goes on. */
struct MonthEntry
{
    QDate date;
    QString text;
};

/** "9:30 am", "12:05 pm": the hour without a leading zero, the locale's marker in lower case. */
QString TimeText(const QTime& time);

/**
 * The entries the occurrences give on the days first..last: each day of a multi-day event, by day, then by
 * start, then by the file's order. A summary's line breaks and other control characters become blanks; an
 * event without a title is "(no title)". At most IcsCalendar::kMaxOccurrences entries, those of the earliest
 * starts; cut tells whether some were left out.
 */
QList<MonthEntry> DayEntries(const QList<IcsOccurrence>& occurrences, const QDate& first, const QDate& last,
                             bool* cut = nullptr);

/** The entries of a month and what the expansion could not do exactly. */
struct MonthImport
{
    QList<MonthEntry> entries;
    QStringList warnings;
};

/** The calendar's events on the days first..last (a week planner's), in the given zone. */
MonthImport ImportDays(const IcsCalendar& calendar, const QDate& first, const QDate& last,
                       const QTimeZone& zone);

/** The calendar's events in a month, in the given zone. */
MonthImport ImportMonth(const IcsCalendar& calendar, int month, int year, const QTimeZone& zone);

/** The entries of each day in one text, a line each, in day order: one insertion per day. */
QList<recurring::DayText> DayTexts(const QList<MonthEntry>& entries);

} // namespace exchange
