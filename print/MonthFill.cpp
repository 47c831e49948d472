#include "print/MonthFill.h"

#include "calendar/DateRules.h"
#include "calendar/PlannerText.h"
#include "calendar/TCalendarPanel32.h"
#include "exchange/IcsMonth.h"
#include "recurring/RecurringStore.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <map>
#include <memory>

namespace print {

int CellOfDay(const calendar::TCalendarPanel32& page, const PageContent& content, int day)
{
    const int layout = page.CalendarLayout();
    if (layout == calendar::loWeek || layout == calendar::lo2Week) {
        const QDate first = calendar::ClampedDate(content.year, content.month, content.day);
        const auto rows = calendar::WeekPlannerRows(first, layout == calendar::lo2Week ? 14 : 7,
                                                    page.HeadersStyle(), page.MonthNames(), page.DayNames());
        for (int k = 0; k < rows.size() && k < calendar::kCellCount; ++k) {
            if (day != 0 && calendar::PlannerRowDay(rows[k].second) == day)
                return k + 1;
        }
        return 0;
    }
    // Day planners carry no days; pages of mini calendars have no cells.
    if (layout > calendar::loFC12AfterLS)
        return 0;
    const calendar::MonthYear my = calendar::ClampMonthYear(content.month, content.year);
    const int offset = calendar::MonthOffset(my.month, my.year, page.StartOfWeek());
    const int days = calendar::DaysInMonth(my.year, my.month);
    for (int n = 1; n <= calendar::kCellCount; ++n) {
        if (day != 0 && calendar::DayInCell(n, offset, days) == day)
            return n;
    }
    return 0;
}

std::pair<QDate, QDate> DaysShown(const calendar::TCalendarPanel32& page, const PageContent& content)
{
    const int layout = page.CalendarLayout();
    if (layout == calendar::loWeek || layout == calendar::lo2Week) {
        const QDate first = calendar::ClampedDate(content.year, content.month, content.day);
        return {first, first.addDays(layout == calendar::lo2Week ? 13 : 6)};
    }
    if (layout > calendar::loFC12AfterLS)
        return {};
    const calendar::MonthYear my = calendar::ClampMonthYear(content.month, content.year);
    return {QDate(my.year, my.month, 1), QDate(my.year, my.month, calendar::DaysInMonth(my.year, my.month))};
}

namespace {

void Append(QTextDocument& document, const QString& text, const richtext::CharAttributes& attributes)
{
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    if (!document.isEmpty())
        cursor.insertBlock();
    cursor.insertText(text, richtext::FormatOf(attributes));
    cursor.insertBlock();
}

bool HoldsParagraph(const QTextDocument& document, const QString& text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text() == text)
            return true;
    }
    return false;
}

} // namespace

QByteArray AppendParagraph(const QByteArray& rtf, const QString& text,
                           const richtext::CharAttributes& attributes)
{
    QTextDocument document;
    richtext::ReadRtf(rtf, document);
    Append(document, text, attributes);
    return richtext::WriteRtf(document);
}

QStringList FillMonth(const calendar::TCalendarPanel32& page, PageContent& content,
                      const MonthFillSources& sources)
{
    // Each cell is read once, takes all its texts, and is written once.
    std::map<int, std::unique_ptr<QTextDocument>> touched;
    auto documentOf = [&](int cell) -> QTextDocument& {
        std::unique_ptr<QTextDocument>& document = touched[cell];
        if (!document) {
            document = std::make_unique<QTextDocument>();
            richtext::ReadRtf(content.cells[size_t(cell - 1)], *document);
        }
        return *document;
    };
    for (const recurring::DayText& entry :
         recurring::FillPlan(recurring::LinesForMonth(sources.recurringLines, content.month, content.year),
                             content.month, content.year)) {
        const int cell = CellOfDay(page, content, entry.day);
        if (cell == 0)
            continue;
        QTextDocument& document = documentOf(cell);
        if (!HoldsParagraph(document, entry.text))
            Append(document, entry.text, sources.attributes);
    }
    for (const auto& [date, text] : sources.datedTexts) {
        if (date.year() != content.year || date.month() != content.month)
            continue;
        const int cell = CellOfDay(page, content, date.day());
        if (cell == 0)
            continue;
        QTextDocument& document = documentOf(cell);
        if (!HoldsParagraph(document, text))
            Append(document, text, sources.attributes);
    }
    QStringList warnings;
    const auto [first, last] = DaysShown(page, content);
    if (sources.events && first.isValid()) {
        const exchange::MonthImport shown = exchange::ImportDays(*sources.events, first, last, sources.zone);
        warnings = shown.warnings;
        for (const recurring::DayText& day : exchange::DayTexts(shown.entries)) {
            const int cell = CellOfDay(page, content, day.day);
            if (cell == 0)
                continue;
            QTextDocument& document = documentOf(cell);
            QStringList lines = day.text.split(u'\n');
            lines.removeIf([&document](const QString& line) { return HoldsParagraph(document, line); });
            if (!lines.isEmpty())
                Append(document, lines.join(u'\n'), sources.attributes);
        }
    }
    for (const auto& [cell, document] : touched)
        content.cells[size_t(cell - 1)] = richtext::WriteRtf(*document);
    return warnings;
}

} // namespace print
