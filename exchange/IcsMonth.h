#pragma once

#include "exchange/IcsCalendar.h"
#include "recurring/RecurringStore.h"

#include <QDate>
#include <QList>
#include <QString>

namespace calendar {
class TCalendarPanel32;
}
namespace richtext {
struct CharAttributes;
}

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
 * The entries the occurrences give in a month: each day of a multi-day event, by day, then by start, then by
 * the file's order. A summary's line breaks become blanks; an event without one is "(no title)".
 */
QList<MonthEntry> MonthEntries(const QList<IcsOccurrence>& occurrences, int month, int year);

/** The entries of a month and what the expansion could not do exactly. */
struct MonthImport
{
    QList<MonthEntry> entries;
    QStringList warnings;
};

/** The calendar's events in a month, in the given zone. */
MonthImport ImportMonth(const IcsCalendar& calendar, int month, int year, const QTimeZone& zone);

/** The entries of each day in one text, a line each, in day order: one insertion per day. */
QList<recurring::DayText> DayTexts(const QList<MonthEntry>& entries);

/**
 * Puts each text on the cell of the page that shows its day, as a paragraph in the font, as the main window's
 * PuttextOnDay does with its editor. The page is painted first when it has never been, so its cells know their
 * days. Texts for days no cell shows are left out.
 */
void PutTextsOnPage(calendar::TCalendarPanel32& page, const QList<recurring::DayText>& texts,
                    const richtext::CharAttributes& font);

/** Fills the month the page shows with the calendar's events; returns the warnings. */
QStringList FillMonthFromIcs(calendar::TCalendarPanel32& page, const IcsCalendar& calendar,
                             const richtext::CharAttributes& font, const QTimeZone& zone);

} // namespace exchange
