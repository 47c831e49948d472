#pragma once

#include <QDate>

namespace platform {

/** Today's date; a pinned date when one was set, so tests and tools can fix "today". */
QDate Today();

/** Pins Today() to a date; an invalid date returns to the system clock. */
void SetTodayOverride(const QDate& date);

} // namespace platform
