#include "exchange/IcsMonth.h"

#include "calendar/TCalendarPanel32.h"
#include "richtext/CharAttributes.h"
#include "richtext/TVelRtfStorage.h"

#include <QLocale>

namespace exchange {

namespace {

QString Summary(const QString& summary)
{
    const QString text = summary.simplified();
    return text.isEmpty() ? QStringLiteral("(no title)") : text;
}

} // namespace

QString TimeText(const QTime& time)
{
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QString marker = time.hour() < 12 ? QLocale().amText() : QLocale().pmText();
    return QStringLiteral("%1:%2 %3").arg(hour).arg(time.minute(), 2, 10, QLatin1Char('0')).arg(marker.toLower());
}

QList<MonthEntry> MonthEntries(const QList<IcsOccurrence>& occurrences, int month, int year)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    const QDate last(year, month, first.daysInMonth());
    QList<std::pair<MonthEntry, int>> entries; // with the occurrence's place, to sort by day then start
    for (qsizetype i = 0; i < occurrences.size(); ++i) {
        const IcsOccurrence& o = occurrences[i];
        const QDate startDay = o.start.date();
        // The last day an event touches: the day before an end at midnight.
        QDate endDay = o.end > o.start ? o.end.addMSecs(-1).date() : startDay;
        for (QDate day = std::max(startDay, first); day <= std::min(endDay, last); day = day.addDays(1)) {
            const bool timed = !o.allDay && day == startDay;
            const QString text = timed ? TimeText(o.start.time()) + u' ' + Summary(o.summary) : Summary(o.summary);
            entries.append({{day, text}, int(i)});
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.first.date != b.first.date ? a.first.date < b.first.date : a.second < b.second;
    });
    QList<MonthEntry> result;
    result.reserve(entries.size());
    for (const auto& entry : entries)
        result.append(entry.first);
    return result;
}

MonthImport ImportMonth(const IcsCalendar& calendar, int month, int year, const QTimeZone& zone)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    const IcsExpansion expansion = calendar.Occurrences(first, QDate(year, month, first.daysInMonth()), zone);
    return {MonthEntries(expansion.occurrences, month, year), expansion.warnings};
}

QList<recurring::DayText> DayTexts(const QList<MonthEntry>& entries)
{
    QList<recurring::DayText> texts;
    for (const MonthEntry& entry : entries) {
        if (!texts.isEmpty() && texts.last().day == entry.date.day())
            texts.last().text += u'\n' + entry.text;
        else
            texts.append({entry.date.day(), entry.text});
    }
    return texts;
}

void PutTextsOnPage(calendar::TCalendarPanel32& page, const QList<recurring::DayText>& texts,
                    const richtext::CharAttributes& font)
{
    if (texts.isEmpty())
        return;
    if (page.CellOfDay(texts.first().day) < 0)
        page.RenderToBitmap();
    for (const recurring::DayText& text : texts) {
        const int cell = page.CellOfDay(text.day);
        if (cell >= 1)
            richtext::AppendParagraph(page.CellStorage(cell), text.text, font);
    }
    page.update();
}

QStringList FillMonthFromIcs(calendar::TCalendarPanel32& page, const IcsCalendar& calendar,
                             const richtext::CharAttributes& font, const QTimeZone& zone)
{
    const MonthImport month = ImportMonth(calendar, page.MainCalMonth(), page.MainCalYear(), zone);
    PutTextsOnPage(page, DayTexts(month.entries), font);
    return month.warnings;
}

} // namespace exchange
