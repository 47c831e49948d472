#pragma once

#include <QCommandLineParser>
#include <QTextStream>

namespace print {
struct MonthFillSources;
}

namespace cli {

/** Adds the options of the calendar-exchange commands: --ics, --from, --years. */
void AddExchangeOptions(QCommandLineParser& parser);

/** ics [--store FILE] -o OUT.ics [--from Y] [--years N]: a recurring-dates store as iCalendar. */
int ExportIcs(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);

/** dates --ics FILE --month M --year Y: what an iCalendar file puts on the days of a month. */
int IcsDates(const QCommandLineParser& parser, int month, int year, QTextStream& out, QTextStream& err);

/** With --ics, reads the file into the sources' events; false, after a message, when it cannot be read. */
bool ReadIcsSource(const QCommandLineParser& parser, print::MonthFillSources& sources, QTextStream& err);

} // namespace cli
