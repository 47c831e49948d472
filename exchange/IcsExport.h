#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

namespace exchange {

/** A store written as iCalendar, and the lines that could not be. */
struct IcsExport
{
    QByteArray ics;
    int events = 0;
    /** Lines without a formula iCalendar can hold (no formula, unknown words, values out of range). */
    QStringList skipped;
};

/**
 * Writes recurring-dates store lines as whole-day iCalendar events, one a line, starting in firstYear: a rule
 * becomes an RRULE where it has one (a date every year or month, the nth or last weekday, weekdays of every
 * week, a weekday on or after a date that stays within its month), and otherwise (Easter and the days that
 * follow it, the equinoxes) the dates of `years` years from firstYear, as RDATEs. stamp is the DTSTAMP.
 */
IcsExport ExportStore(const QStringList& lines, int firstYear, int years,
                      const QDateTime& stamp = QDateTime::currentDateTimeUtc());

} // namespace exchange
