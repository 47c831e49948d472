#pragma once

#include <QDate>

namespace holidays {

/**
 * The Chinese lunisolar calendar (and its Korean and Vietnamese forms, which reckon the same rules in their
 * own time zones), computed from the Moon's and the Sun's positions: a month begins on the day of a new moon,
 * the month holding the December solstice is the 11th, and in a year of 13 months the first month without a
 * principal solar term is the leap month.
 */
class ChineseCalendar
{
public:
    /** `zoneHours` east of UTC: 8 for China, 9 for Korea, 7 for Vietnam. */
    explicit ChineseCalendar(int zoneHours) : m_zoneHours(zoneHours) {}

    /** Day 1 of the new year that begins in the Gregorian year. */
    QDate newYear(int gregorianYear) const;
    /**
     * The Gregorian date of a day (day 0 is the month's eve) of a month (1..12, or its leap month) in the
     * lunar year that begins in the Gregorian year; invalid when that year has no such leap month.
     */
    QDate date(int gregorianYear, int month, bool leapMonth, int day) const;

private:
    qint64 newMoonOnOrAfter(qint64 day) const;
    qint64 newMoonBefore(qint64 day) const;
    qint64 solsticeOnOrBefore(qint64 day) const;
    int majorTerm(qint64 day) const;
    bool withoutMajorTerm(qint64 monthStart) const;
    bool priorLeapMonth(qint64 first, qint64 monthStart) const;
    qint64 localDay(double julianDayUt) const;

    int m_zoneHours;
};

/** The moment of the k-th new moon after that of 6 January 2000, as a Julian Ephemeris Day. */
double NewMoonJde(double k);

} // namespace holidays
