#pragma once

#include "exchange/IcsMonth.h"
#include "recurring/RecurringDateLists.h"

namespace exchange {

/**
 * "Select Events To Import": the events an iCalendar file puts on the days the page shows, one row a day of
 * each, every row chosen when the dialog opens; what could not be read exactly is said below the list.
 */
class TImportEvents : public recurring::CheckListDialog
{
    Q_OBJECT

public:
    /** period names the days ("March 2024"), fileName the file. */
    TImportEvents(const QString& fileName, const QString& period, const QList<MonthEntry>& entries,
                  const QStringList& warnings, QWidget* parent = nullptr);

    /** The chosen entries, in the list's order. */
    QList<MonthEntry> ChosenEntries() const;

private:
    QList<MonthEntry> m_entries;
};

} // namespace exchange
