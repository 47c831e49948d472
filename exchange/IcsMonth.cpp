#include "exchange/IcsMonth.h"

#include <QLocale>

namespace exchange {

namespace {

QString Summary(QString summary)
{
    // Control characters of a damaged file are no text to show, nor to send to a terminal.
    for (QChar& c : summary) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    const QString text = summary.simplified();
    return text.isEmpty() ? QStringLiteral("(no title)") : text;
}

} // namespace

QString TimeText(const QTime& time)
{
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QString marker = time.hour() < 12 ? QLocale().amText() : QLocale().pmText();
    return QStringLiteral("%1:%2 %3")
        .arg(hour)
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(marker.toLower());
}

QList<MonthEntry> DayEntries(const QList<IcsOccurrence>& occurrences, const QDate& first, const QDate& last,
                             bool* cut)
{
    if (cut)
        *cut = false;
    if (!first.isValid() || !last.isValid())
        return {};
    QList<std::pair<MonthEntry, int>> entries; // with the occurrence's place, to sort by day then start
    bool full = false;
    for (qsizetype i = 0; i < occurrences.size() && !full; ++i) {
        const IcsOccurrence& o = occurrences[i];
        const QDate startDay = o.start.date();
        // The last day an event touches: the day before an end at midnight.
        QDate endDay = o.end > o.start ? o.end.addMSecs(-1).date() : startDay;
        for (QDate day = std::max(startDay, first); day <= std::min(endDay, last); day = day.addDays(1)) {
            // Long events each on every day count like as many events; the earliest starts are kept.
            full = entries.size() == IcsCalendar::kMaxOccurrences;
            if (full)
                break;
            const bool timed = !o.allDay && day == startDay;
            const QString text =
                timed ? TimeText(o.start.time()) + u' ' + Summary(o.summary) : Summary(o.summary);
            entries.append({{day, text}, int(i)});
        }
    }
    if (cut)
        *cut = full;
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.first.date != b.first.date ? a.first.date < b.first.date : a.second < b.second;
    });
    QList<MonthEntry> result;
    result.reserve(entries.size());
    for (const auto& entry : entries)
        result.append(entry.first);
    return result;
}

MonthImport ImportDays(const IcsCalendar& calendar, const QDate& first, const QDate& last,
                       const QTimeZone& zone)
{
    if (!first.isValid() || !last.isValid() || last < first)
        return {};
    IcsExpansion expansion = calendar.Occurrences(first, last, zone);
    bool cut = false;
    MonthImport result{DayEntries(expansion.occurrences, first, last, &cut), expansion.warnings};
    if (cut) {
        result.warnings.append(
            QStringLiteral("More than %1 events fall in these days; the rest are left out.")
                .arg(IcsCalendar::kMaxOccurrences));
        result.warnings.removeDuplicates();
    }
    return result;
}

MonthImport ImportMonth(const IcsCalendar& calendar, int month, int year, const QTimeZone& zone)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    return ImportDays(calendar, first, QDate(year, month, first.daysInMonth()), zone);
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

} // namespace exchange
