#pragma once

#include "print/MonthFill.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace cli {

/** --lang, --types and --holidays. */
void AddHolidayOptions(QCommandLineParser& parser);

/**
 * holidays --list [CC]: the countries, or a country's states and regions; holidays CC[-RR] --year Y [--lang
 * xx]
 * [--types public,bank,school,optional,observance]: the area's holidays of the year, a line each with date,
 * name and type.
 */
int Holidays(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);

/** Whether --holidays was given. */
bool FillsHolidays(const QCommandLineParser& parser);

/**
 * The holidays of --holidays for the years `first` to `last` as dated texts of the sources (a holiday of
 * several days on each of them); false with a message for an unknown area or a wrong option.
 */
bool ReadHolidaySource(const QCommandLineParser& parser, int first, int last,
                       print::MonthFillSources& sources, QTextStream& err);

} // namespace cli
