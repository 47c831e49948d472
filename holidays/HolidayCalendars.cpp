#include "holidays/HolidayCalendars.h"

#include "holidays/ChineseCalendar.h"

#include <QRegularExpression>

#include <unicode/calendar.h>
#include <unicode/timezone.h>

#include <cmath>
#include <map>
#include <memory>

namespace holidays {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr qint64 kUnixEpochJulianDay = 2440588;
constexpr double kMillisPerDay = 86400000.0;

double Radians(double degrees)
{
    return degrees * kPi / 180.0;
}

double Normalized(double degrees)
{
    const double value = std::fmod(degrees, 360.0);
    return value < 0 ? value + 360.0 : value;
}

UDate NoonOf(const QDate& date)
{
    return (static_cast<double>(date.toJulianDay() - kUnixEpochJulianDay) + 0.5) * kMillisPerDay;
}

QDate DateOf(UDate time)
{
    return QDate::fromJulianDay(static_cast<qint64>(std::floor(time / kMillisPerDay)) + kUnixEpochJulianDay);
}

/** One ICU calendar per kind and thread, in UTC, kept for reuse: creating one costs more than using it. */
icu::Calendar* IcuCalendar(const char* locale)
{
    thread_local std::map<std::string, std::unique_ptr<icu::Calendar>> calendars;
    std::unique_ptr<icu::Calendar>& calendar = calendars[locale];
    if (!calendar) {
        UErrorCode status = U_ZERO_ERROR;
        calendar.reset(
            icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), icu::Locale(locale), status));
        if (U_FAILURE(status)) {
            calendar.reset();
        }
    }
    return calendar.get();
}

/** The Gregorian date of day 1 of `month` (ICU's 0-based month) in `year` of an ICU calendar. */
QDate FirstOfMonth(icu::Calendar* calendar, int year, int month, bool leapMonth = false)
{
    UErrorCode status = U_ZERO_ERROR;
    calendar->clear();
    calendar->set(UCAL_EXTENDED_YEAR, year);
    calendar->set(UCAL_MONTH, month);
    if (leapMonth) {
        calendar->set(UCAL_IS_LEAP_MONTH, 1);
    }
    calendar->set(UCAL_DATE, 1);
    calendar->set(UCAL_HOUR_OF_DAY, 12);
    const UDate time = calendar->getTime(status);
    return U_FAILURE(status) ? QDate() : DateOf(time);
}

int ExtendedYearAt(icu::Calendar* calendar, const QDate& date)
{
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(NoonOf(date), status);
    const int year = calendar->get(UCAL_EXTENDED_YEAR, status);
    return U_FAILURE(status) ? 0 : year;
}

bool HebrewLeapYear(int year)
{
    return (7 * year + 1) % 19 < 7;
}

/** ICU numbers Hebrew months from Tishri (0) with Adar I at 5 and Adar at 6; the data counts from Nisan. */
int IcuHebrewMonth(int month, int year)
{
    if (month <= 6) {
        return month + 6; // Nisan .. Elul
    }
    if (month <= 11) {
        return month - 7; // Tishrei .. Shvat
    }
    if (month == 12) {
        return HebrewLeapYear(year) ? 5 : 6; // Adar is Adar I in a leap year
    }
    return 6; // Adar II, or Adar in a common year
}

/** Every day `day` of `month` (1-based) of an ICU calendar that falls in the Gregorian year. */
QList<QDate> DaysInGregorianYear(const char* locale, const DateSource& source, int gregorianYear)
{
    QList<QDate> dates;
    icu::Calendar* calendar = IcuCalendar(locale);
    if (!calendar || source.month < 1) {
        return dates;
    }
    const bool hebrew = source.calendar == Calendar::Hebrew;
    const int first = ExtendedYearAt(calendar, QDate(gregorianYear, 1, 1));
    for (int year = first - 1; year <= first + 1; ++year) {
        if (source.year != 0 && source.year != year) {
            continue;
        }
        const int month = hebrew ? IcuHebrewMonth(source.month, year) : source.month - 1;
        const QDate date = FirstOfMonth(calendar, year, month).addDays(source.day - 1);
        if (date.isValid() && date.year() == gregorianYear) {
            dates.append(date);
        }
    }
    return dates;
}

/** The time zone the lunisolar calendar is reckoned in: China's, Korea's or Vietnam's standard time. */
int LunarZoneHours(const DateSource& source)
{
    if (source.calendar == Calendar::Korean || source.timeZone == QLatin1String("korean")) {
        return 9;
    }
    if (source.calendar == Calendar::Vietnamese || source.timeZone == QLatin1String("vietnamese")) {
        return 7;
    }
    return 8;
}

/** Minutes east of UTC of a zone ("+09:00" or an IANA name) at a moment; 0 for an unknown zone. */
int ZoneOffsetMinutes(const QString& zone, double julianDayUt)
{
    static const QRegularExpression fixed(QStringLiteral("^([+-])(\\d{2}):(\\d{2})$"));
    if (zone.isEmpty()) {
        return 0;
    }
    if (const QRegularExpressionMatch m = fixed.match(zone); m.hasMatch()) {
        const int minutes = m.captured(2).toInt() * 60 + m.captured(3).toInt();
        return m.captured(1) == QLatin1String("-") ? -minutes : minutes;
    }
    std::unique_ptr<icu::TimeZone> timeZone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone.toStdString())));
    UErrorCode status = U_ZERO_ERROR;
    int32_t raw = 0;
    int32_t dst = 0;
    timeZone->getOffset((julianDayUt - static_cast<double>(kUnixEpochJulianDay)) * kMillisPerDay, false, raw,
                        dst, status);
    return U_FAILURE(status) ? 0 : (raw + dst) / 60000;
}

QDate LocalDate(double julianDayUt, int offsetMinutes)
{
    return QDate::fromJulianDay(static_cast<qint64>(std::floor(julianDayUt + 0.5 + offsetMinutes / 1440.0)));
}

int BengaliMonthLength(int month, int gregorianYear)
{
    if (month <= 5) {
        return 31;
    }
    if (month == 11) { // Falgun ends in the next Gregorian year's February and March
        return QDate::isLeapYear(gregorianYear + 1) ? 31 : 30;
    }
    return 30;
}

} // namespace

/** Terrestrial minus universal time in seconds: Espenak and Meeus' polynomials (NASA, 2006), 1900-2150. */
double DeltaTSeconds(double year)
{
    if (year < 1920) {
        const double t = year - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t - 0.000197 * t * t * t * t;
    }
    if (year < 1941) {
        const double t = year - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (year < 1961) {
        const double t = year - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (year < 1986) {
        const double t = year - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (year < 2005) {
        const double t = year - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t + 0.000651814 * t * t * t * t +
               0.00002373599 * t * t * t * t * t;
    }
    if (year < 2050) {
        const double t = year - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (year - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - year);
}

/**
 * The Sun's apparent longitude in degrees at a Julian Ephemeris Day: the low-accuracy solar theory of Jean
 * Meeus, Astronomical Algorithms (2nd ed.), chapter 25 (about 0.01 degrees, a quarter of an hour).
 */
double ApparentSolarLongitude(double jde)
{
    const double t = (jde - 2451545.0) / 36525.0;
    const double meanLongitude = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
    const double anomaly = Radians(357.52911 + 35999.05029 * t - 0.0001537 * t * t);
    const double center = (1.914602 - 0.004817 * t - 0.000014 * t * t) * std::sin(anomaly) +
                          (0.019993 - 0.000101 * t) * std::sin(2 * anomaly) +
                          0.000289 * std::sin(3 * anomaly);
    const double node = Radians(125.04 - 1934.136 * t);
    return Normalized(meanLongitude + center - 0.00569 - 0.00478 * std::sin(node));
}

QDate WesternEaster(int year)
{
    // The anonymous Gregorian algorithm (Meeus/Jones/Butcher).
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

QDate OrthodoxEaster(int year)
{
    // Meeus' Julian computus.
    const int a = year % 4;
    const int b = year % 7;
    const int c = year % 19;
    const int d = (19 * c + 15) % 30;
    const int e = (2 * a + 4 * b - d + 34) % 7;
    const int month = (d + e + 114) / 31;
    const int day = (d + e + 114) % 31 + 1;
    return FromJulianCalendar(year, month, day);
}

QDate FromJulianCalendar(int year, int month, int day)
{
    const int a = (14 - month) / 12;
    const qint64 y = year + 4800 - a;
    const qint64 m = month + 12 * a - 3;
    return QDate::fromJulianDay(day + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083);
}

double SolarLongitudeMoment(int year, double degrees)
{
    // Start from the mean motion after the March equinox, then correct as Meeus' chapter 27 does.
    double days = Normalized(degrees) * 365.2422 / 360.0;
    if (days > 286) {
        days -= 365.2422; // January to mid-March belong to the same calendar year
    }
    double jde = static_cast<double>(QDate(year, 3, 20).toJulianDay()) + days;
    for (int i = 0; i < 20; ++i) {
        const double correction = 58.0 * std::sin(Radians(degrees - ApparentSolarLongitude(jde)));
        jde += correction;
        if (std::abs(correction) < 1e-6) {
            break;
        }
    }
    return jde - DeltaTSeconds(year + 0.5) / 86400.0;
}

QList<QDate> SourceDates(const DateSource& source, int year)
{
    switch (source.calendar) {
    case Calendar::Gregorian:
        if (source.year != 0 && source.year != year) {
            return {};
        }
        // Days past the month's end run on into the next month, as in "02-29" of a common year.
        return {QDate(year, source.month, 1).addDays(source.day - 1)};
    case Calendar::Julian:
        if (source.year != 0 && source.year != year) {
            return {};
        }
        return {FromJulianCalendar(year, source.month, source.day)};
    case Calendar::Easter:
        return {WesternEaster(year).addDays(source.offset)};
    case Calendar::OrthodoxEaster:
        return {OrthodoxEaster(year).addDays(source.offset)};
    case Calendar::Equinox: {
        const double moment = SolarLongitudeMoment(year, (source.month / 3 - 1) * 90.0);
        const QDate date = LocalDate(moment, ZoneOffsetMinutes(source.timeZone, moment));
        return {QDate(year, date.month(), date.day()).addDays(source.offset)};
    }
    case Calendar::SolarTerm: {
        const double moment = SolarLongitudeMoment(year, Normalized(315.0 + (source.month - 1) * 15.0));
        return {LocalDate(moment, LunarZoneHours(source) * 60).addDays(source.day - 1)};
    }
    case Calendar::Hebrew:
        return DaysInGregorianYear("he@calendar=hebrew", source, year);
    case Calendar::Islamic:
        return DaysInGregorianYear("ar@calendar=islamic", source, year);
    case Calendar::Persian:
        return DaysInGregorianYear("fa@calendar=persian", source, year);
    case Calendar::Chinese:
    case Calendar::Korean:
    case Calendar::Vietnamese:
        if (const QDate date = ChineseCalendar(LunarZoneHours(source))
                                   .date(year, source.month, source.leapMonth, source.day);
            date.isValid()) {
            return {date};
        }
        return {};
    case Calendar::BengaliRevised: {
        // The revised Bengali calendar of Bangladesh begins each year on 14 April.
        if (source.month < 1 || source.month > 12) {
            return {};
        }
        int days = source.day - 1;
        for (int month = 1; month < source.month; ++month) {
            days += BengaliMonthLength(month, year);
        }
        return {QDate(year, 4, 14).addDays(days)};
    }
    }
    return {};
}

} // namespace holidays
