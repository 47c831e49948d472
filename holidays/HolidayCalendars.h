#pragma once

#include "holidays/HolidayRule.h"

#include <QDate>
#include <QList>

namespace holidays {

/** Easter Sunday by the Gregorian computus (years from 1583). */
QDate WesternEaster(int year);

/** Orthodox Easter Sunday (the Julian computus), as a Gregorian date. */
QDate OrthodoxEaster(int year);

/** The Gregorian date of a day of the Julian calendar. */
QDate FromJulianCalendar(int year, int month, int day);

/**
 * The moment the Sun's apparent longitude reaches `degrees` in the given Gregorian year, as a Julian Day in
 * Universal Time (the March equinox is 0, the December solstice 270).
 */
double SolarLongitudeMoment(int year, double degrees);

/** Terrestrial minus universal time in seconds in a (fractional) year, 1900-2150. */
double DeltaTSeconds(double year);

/** The Sun's apparent longitude in degrees at a Julian Ephemeris Day. */
double ApparentSolarLongitude(double jde);

/**
 * The dates a rule's source gives when it is evaluated for a Gregorian year, before the rule's steps: for
 * fixed, Easter, Julian, astronomical, Chinese and Bengali sources the one date counted from that year (which
 * may fall into a neighbouring year), for the Hebrew, Islamic and Persian calendars every day of that year
 * with the given month and day. Hebrew, Islamic and Persian dates come from ICU's calendars; the Chinese,
 * Korean and Vietnamese calendars are reckoned from the Moon and the Sun (ICU's Chinese calendar misses some
 * new moons near midnight, such as the new years of 2027 and 2030).
 */
QList<QDate> SourceDates(const DateSource& source, int year);

} // namespace holidays
