#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace recurring {

/** A country with a shipped holiday set: its ISO 3166 code and its English name. */
struct HolidayCountry
{
    QString code;
    QString name;
};

/** The countries with a holiday set, in the order of their names. */
QList<HolidayCountry> HolidayCountries();

/**
 * A country's public holidays (ISO 3166 code, in any letter case) as ordinary store lines, in the set's
 * order; no lines for a code without a set. "US" gives the built-in holiday table.
 */
QStringList HolidaySetLines(const QString& code);

/** A description on a date. */
struct DatedText
{
    QDate date;
    QString text;
};

/** The dates the store lines select in a year, in date order (lines of one day in the given order). */
QList<DatedText> DatesOfYear(const QStringList& lines, int year);

} // namespace recurring
