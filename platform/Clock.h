#pragma once

#include <QDate>

#include <functional>

namespace platform {

/** Today's date; a pinned date when one was set, so tests and tools can fix "today". */
QDate Today();

/** Pins Today() to a date; an invalid date returns to the system clock. */
void SetTodayOverride(const QDate& date);

/** Milliseconds on a steady clock, for the time between two user actions (a quick click, a double paste). */
qint64 TickCount();

/** Replaces the steady clock, so a test can say how much time passes between events; empty to return. */
void SetTickCountOverride(std::function<qint64()> ticks);

} // namespace platform
