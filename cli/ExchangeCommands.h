#pragma once

#include <QCommandLineParser>
#include <QTextStream>

namespace calendar {
class TCalendarPanel32;
}

namespace cli {

/** Adds the options of the calendar-exchange commands: --ics, --list, --from, --years. */
void AddExchangeOptions(QCommandLineParser& parser);

/** holidays --list, or holidays CC --year Y: the shipped countries, or a country's dates of a year. */
int Holidays(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);

/** ics [--store FILE] -o OUT.ics [--from Y] [--years N]: a recurring-dates store as iCalendar. */
int ExportIcs(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);

/** dates --ics FILE --month M --year Y: what an iCalendar file puts on the days of a month. */
int IcsDates(const QCommandLineParser& parser, int month, int year, QTextStream& out, QTextStream& err);

/**
 * With --ics, puts the file's events of the page's month on their days in the default editor font; false,
 * after a message, when the file cannot be read. Call it once for each month a command draws.
 */
bool FillFromIcsOption(calendar::TCalendarPanel32& page, const QCommandLineParser& parser, QTextStream& err);

} // namespace cli
