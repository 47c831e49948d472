#pragma once

#include "exchange/IcsCalendar.h"
#include "print/PagePrinter.h"
#include "richtext/CharAttributes.h"

#include <QDate>
#include <QStringList>
#include <QTimeZone>

#include <memory>
#include <utility>

namespace calendar {
class TCalendarPanel32;
}

namespace print {

/** Where the texts of a month's day cells come from when a run of months is filled, and how they look. */
struct MonthFillSources
{
    /** Lines of the recurring-dates store; every line that falls in the month is used. */
    QStringList recurringLines;
    /** An iCalendar file: its events of the days the page shows follow the recurring dates. */
    std::shared_ptr<const exchange::IcsCalendar> events;
    /** Texts of given dates (the holidays of a country or region): each on its day after the recurring dates.
     */
    QList<std::pair<QDate, QString>> datedTexts;
    /** The zone the events' times are shown in. */
    QTimeZone zone = QTimeZone::systemTimeZone();
    /** The character attributes of the added texts: the default editor font. */
    richtext::CharAttributes attributes;
};

/** The cell (1..42) that shows a day of the content's month on the page's layout; 0 when none does. */
int CellOfDay(const calendar::TCalendarPanel32& page, const PageContent& content, int day);

/**
 * The first and last day the page shows with the content: its month, or the 7 or 14 days of a week planner;
 * an empty pair for layouts whose cells carry no days.
 */
std::pair<QDate, QDate> DaysShown(const calendar::TCalendarPanel32& page, const PageContent& content);

/** Appends a paragraph of text to a cell's RTF as putting text on a day does: a break before it when the cell
 * holds text already, and one after it. */
QByteArray AppendParagraph(const QByteArray& rtf, const QString& text,
                           const richtext::CharAttributes& attributes);

/**
 * Fills the content's day cells for its month from the sources: each recurring date as its own paragraph in
 * store order, then the events of each day shown in one insertion, a line each, as the import command puts
 * them. A text the cell already holds as a paragraph is not added again, so a month that was filled by hand
 * does not show its dates twice. Returns what the events' expansion could not do exactly.
 */
QStringList FillMonth(const calendar::TCalendarPanel32& page, PageContent& content,
                      const MonthFillSources& sources);

} // namespace print
