#include "holidays/ChineseCalendar.h"

#include "holidays/HolidayCalendars.h"

#include <array>
#include <cmath>

namespace holidays {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSynodicMonth = 29.530588861;

double SinDegrees(double degrees)
{
    return std::sin(degrees * kPi / 180.0);
}

} // namespace

double NewMoonJde(double k)
{
    // Jean Meeus, Astronomical Algorithms (2nd ed.), chapter 49: the mean phase and its periodic terms, good
    // to well under a minute from 1900 to 2100.
    const double t = k / 1236.85;
    const double t2 = t * t;
    double jde =
        2451550.09766 + kSynodicMonth * k + 0.00015437 * t2 - 0.000000150 * t2 * t + 0.00000000073 * t2 * t2;
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    const double m = 2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t2 * t;
    const double mp =
        201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t2 * t - 0.000000058 * t2 * t2;
    const double f =
        160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t2 * t + 0.000000011 * t2 * t2;
    const double omega = 124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t2 * t;
    jde += -0.40720 * SinDegrees(mp) + 0.17241 * e * SinDegrees(m) + 0.01608 * SinDegrees(2 * mp) +
           0.01039 * SinDegrees(2 * f) + 0.00739 * e * SinDegrees(mp - m) - 0.00514 * e * SinDegrees(mp + m) +
           0.00208 * e * e * SinDegrees(2 * m) - 0.00111 * SinDegrees(mp - 2 * f) -
           0.00057 * SinDegrees(mp + 2 * f) + 0.00056 * e * SinDegrees(2 * mp + m) -
           0.00042 * SinDegrees(3 * mp) + 0.00042 * e * SinDegrees(m + 2 * f) +
           0.00038 * e * SinDegrees(m - 2 * f) - 0.00024 * e * SinDegrees(2 * mp - m) -
           0.00017 * SinDegrees(omega) - 0.00007 * SinDegrees(mp + 2 * m) +
           0.00004 * SinDegrees(2 * mp - 2 * f) + 0.00004 * SinDegrees(3 * m) +
           0.00003 * SinDegrees(mp + m - 2 * f) + 0.00003 * SinDegrees(2 * mp + 2 * f) -
           0.00003 * SinDegrees(mp + m + 2 * f) + 0.00003 * SinDegrees(mp - m + 2 * f) -
           0.00002 * SinDegrees(mp - m - 2 * f) - 0.00002 * SinDegrees(3 * mp + m) +
           0.00002 * SinDegrees(4 * mp);
    // The planetary arguments.
    static constexpr std::array<std::array<double, 3>, 14> planetary = {{{299.77, 0.107408, 0.000325},
                                                                         {251.88, 0.016321, 0.000165},
                                                                         {251.83, 26.651886, 0.000164},
                                                                         {349.42, 36.412478, 0.000126},
                                                                         {84.66, 18.206239, 0.000110},
                                                                         {141.74, 53.303771, 0.000062},
                                                                         {207.14, 2.453732, 0.000060},
                                                                         {154.84, 7.306860, 0.000056},
                                                                         {34.52, 27.261239, 0.000047},
                                                                         {207.19, 0.121824, 0.000042},
                                                                         {291.34, 1.844379, 0.000040},
                                                                         {161.72, 24.198154, 0.000037},
                                                                         {239.56, 25.513099, 0.000035},
                                                                         {331.55, 3.592518, 0.000023}}};
    for (size_t i = 0; i < planetary.size(); ++i) {
        const double argument = planetary[i][0] + planetary[i][1] * k - (i == 0 ? 0.009173 * t2 : 0.0);
        jde += planetary[i][2] * SinDegrees(argument);
    }
    return jde;
}

qint64 ChineseCalendar::localDay(double julianDayUt) const
{
    return static_cast<qint64>(std::floor(julianDayUt + 0.5 + m_zoneHours / 24.0));
}

qint64 ChineseCalendar::newMoonOnOrAfter(qint64 day) const
{
    const double k0 = std::floor((static_cast<double>(day) - 2451550.1) / kSynodicMonth) - 1;
    for (double k = k0;; k += 1) {
        const double jde = NewMoonJde(k);
        const qint64 local = localDay(jde - DeltaTSeconds(2000 + k / 12.3685) / 86400.0);
        if (local >= day) {
            return local;
        }
    }
}

qint64 ChineseCalendar::newMoonBefore(qint64 day) const
{
    // The last new moon whose day is before `day`.
    qint64 start = newMoonOnOrAfter(day - 31);
    for (;;) {
        const qint64 next = newMoonOnOrAfter(start + 1);
        if (next >= day) {
            return start;
        }
        start = next;
    }
}

qint64 ChineseCalendar::solsticeOnOrBefore(qint64 day) const
{
    const int year = QDate::fromJulianDay(day).year();
    for (int y = year; y >= year - 1; --y) {
        const qint64 solstice = localDay(SolarLongitudeMoment(y, 270.0));
        if (solstice <= day) {
            return solstice;
        }
    }
    return localDay(SolarLongitudeMoment(year - 2, 270.0));
}

int ChineseCalendar::majorTerm(qint64 day) const
{
    // The Sun's longitude at the start of the day, local time: the principal terms lie 30 degrees apart.
    const double moment = static_cast<double>(day) - 0.5 - m_zoneHours / 24.0;
    const double jde = moment + DeltaTSeconds(QDate::fromJulianDay(day).year()) / 86400.0;
    return static_cast<int>(std::floor(ApparentSolarLongitude(jde) / 30.0));
}

bool ChineseCalendar::withoutMajorTerm(qint64 monthStart) const
{
    return majorTerm(monthStart) == majorTerm(newMoonOnOrAfter(monthStart + 1));
}

bool ChineseCalendar::priorLeapMonth(qint64 first, qint64 monthStart) const
{
    for (qint64 m = monthStart; m >= first; m = newMoonBefore(m)) {
        if (withoutMajorTerm(m)) {
            return true;
        }
    }
    return false;
}

QDate ChineseCalendar::newYear(int gregorianYear) const
{
    const qint64 solstice1 = solsticeOnOrBefore(QDate(gregorianYear - 1, 12, 31).toJulianDay());
    const qint64 solstice2 = solsticeOnOrBefore(QDate(gregorianYear, 12, 31).toJulianDay());
    const qint64 month12 = newMoonOnOrAfter(solstice1 + 1);
    const qint64 month13 = newMoonOnOrAfter(month12 + 1);
    const qint64 nextMonth11 = newMoonBefore(solstice2 + 1);
    const bool leapYear = std::lround(static_cast<double>(nextMonth11 - month12) / kSynodicMonth) == 12;
    if (leapYear && (withoutMajorTerm(month12) || withoutMajorTerm(month13))) {
        return QDate::fromJulianDay(newMoonOnOrAfter(month13 + 1));
    }
    return QDate::fromJulianDay(month13);
}

QDate ChineseCalendar::date(int gregorianYear, int month, bool leapMonth, int day) const
{
    const qint64 first = newYear(gregorianYear).toJulianDay();
    qint64 start = first;
    for (int i = 0; i < 14; ++i, start = newMoonOnOrAfter(start + 1)) {
        // The month that begins at `start`, as the calendar numbers it.
        const qint64 solstice = solsticeOnOrBefore(start);
        const qint64 nextSolstice = solsticeOnOrBefore(solstice + 370);
        const qint64 month12 = newMoonOnOrAfter(solstice + 1);
        const qint64 nextMonth11 = newMoonBefore(nextSolstice + 1);
        const bool leapYear = std::lround(static_cast<double>(nextMonth11 - month12) / kSynodicMonth) == 12;
        const bool priorLeap = leapYear && priorLeapMonth(month12, start);
        int number = static_cast<int>(std::lround(static_cast<double>(start - month12) / kSynodicMonth)) -
                     (priorLeap ? 1 : 0);
        number = ((number - 1) % 12 + 12) % 12 + 1;
        const bool leap =
            leapYear && withoutMajorTerm(start) && !priorLeapMonth(month12, newMoonBefore(start));
        if (number == month && leap == leapMonth) {
            return QDate::fromJulianDay(start + day - 1);
        }
    }
    return {};
}

} // namespace holidays
