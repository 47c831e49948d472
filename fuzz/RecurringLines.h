#pragma once

// What the program does with the lines of a recurring-dates store: the rows of the dates dialog, and the fill
// command's filter and plan for a few months, so every formula reader sees the lines.

#include "recurring/RecurringDateLists.h"
#include "recurring/RecurringStore.h"

namespace fuzz {

inline void UseStoreLines(QStringList lines)
{
    for (const QString& line : lines) {
        recurring::RowText(line);
        recurring::LineKind(line);
    }
    for (const auto& [month, year] :
         {std::pair{1, 1}, std::pair{2, 2024}, std::pair{4, 2100}, std::pair{12, 9999}}) {
        recurring::LinesInMonth(lines, month, year);
        recurring::FillPlan(recurring::LinesForMonth(lines, month, year), month, year);
    }
    recurring::AddMissingLines(lines, recurring::HolidayLines());
}

} // namespace fuzz
