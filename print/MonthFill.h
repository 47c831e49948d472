#pragma once

#include "print/PagePrinter.h"
#include "richtext/CharAttributes.h"

#include <QStringList>

namespace calendar {
class TCalendarPanel32;
}

namespace print {

/** Where the texts of a month's day cells come from when a run of months is filled, and how they look. */
struct MonthFillSources
{
    /** Lines of the recurring-dates store; every line that falls in the month is used. */
    QStringList recurringLines;
    /** The character attributes of the added texts: the default editor font. */
    richtext::CharAttributes attributes;
};

/** The cell (1..42) that shows a day of the content's month on the page's layout; 0 when none does. */
int CellOfDay(const calendar::TCalendarPanel32& page, const PageContent& content, int day);

/** Appends a paragraph of text to a cell's RTF as putting text on a day does: a break before it when the cell
 * holds text already, and one after it. */
QByteArray AppendParagraph(const QByteArray& rtf, const QString& text,
                           const richtext::CharAttributes& attributes);

/**
 * Fills the content's day cells for its month from the sources, each text as its own paragraph in store
 * order. A text the cell already holds as a paragraph is not added again, so a month that was filled by hand
 * does not show its dates twice.
 */
void FillMonth(const calendar::TCalendarPanel32& page, PageContent& content, const MonthFillSources& sources);

} // namespace print
