#include "recurring/RecurringFormula.h"

#include "calendar/DateRules.h"

#include <QLocale>

namespace recurring {

namespace {

std::optional<int> Field(const QString& formula, int first, int length)
{
    bool ok = false;
    const int value = formula.mid(first, length).trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString MonthText(int month)
{
    if (month == 0)
        return QStringLiteral("Each Month");
    return QLocale().monthName(std::clamp(month, 1, 12), QLocale::LongFormat);
}

/** Short weekday name of a weekday numbered 1 (Sunday) .. 7 (Saturday). */
QString ShortDay(int weekday)
{
    // QLocale numbers Monday 1 .. Sunday 7.
    return QLocale().dayName(weekday == 1 ? 7 : weekday - 1, QLocale::ShortFormat);
}

/** Stepping back from the day before Easter to the first day of the given weekday (1 Sunday .. 7 Saturday). */
QDate BeforeEaster(int year, int weekday)
{
    QDate day = EasterSunday(year).addDays(-1);
    while (calendar::DayOfWeek(day) != weekday)
        day = day.addDays(-1);
    return day;
}

} // namespace

std::optional<DayOfMonth> ParseDayOfMonth(const QString& formula)
{
    const auto month = Field(formula, 1, 2);
    const auto day = Field(formula, 3, 2);
    if (!month || !day)
        return std::nullopt;
    return DayOfMonth{*month, *day};
}

std::optional<Special> ParseSpecial(const QString& formula)
{
    const auto occurrence = Field(formula, 1, 2);
    const auto weekday = Field(formula, 3, 2);
    const auto month = Field(formula, 5, 2);
    if (!occurrence || !weekday || !month)
        return std::nullopt;
    return Special{*occurrence, *weekday, *month};
}

QString BuildDayOfMonth(int day, int month)
{
    return QStringLiteral("@%1%2").arg(month, 2, 10, QLatin1Char('0')).arg(day, 2, 10, QLatin1Char('0'));
}

QString BuildSpecial(int occurrence, int weekday, int month)
{
    auto field = [](int n) { return QString::number(n).leftJustified(2, u' '); };
    return u'$' + field(occurrence) + field(weekday) + field(month);
}

QString Ordinal(int n)
{
    static const char* const kSuffix[10] = {"th", "st", "nd", "rd", "th", "th", "th", "th", "th", "th"};
    const int last = ((n % 10) + 10) % 10;
    const char* suffix = (n >= 11 && n <= 19) ? "th" : kSuffix[last];
    return QString::number(n) + QLatin1String(suffix);
}

QString Describe(const QString& formula)
{
    if (formula.startsWith(u'@')) {
        const auto f = ParseDayOfMonth(formula);
        if (!f)
            return QString();
        return Ordinal(f->day) + QStringLiteral(" of ") + MonthText(f->month);
    }
    if (formula.startsWith(u'$')) {
        const auto f = ParseSpecial(formula);
        if (!f)
            return QString();
        QString text = f->occurrence == 5 ? QStringLiteral("Last ") : Ordinal(f->occurrence + 1) + u' ';
        text += f->weekday == 7 ? QStringLiteral("Day ") : ShortDay(f->weekday + 1) + QStringLiteral(" of ");
        return text + MonthText(f->month);
    }
    if (formula.startsWith(u'%')) {
        QStringList days;
        for (int w = 1; w <= 7; ++w) {
            if (formula.contains(QChar(u'0' + w)))
                days.append(ShortDay(w));
        }
        return days.join(u',');
    }
    return QString();
}

QDate EasterSunday(int year)
{
    // The Gregorian computus (anonymous algorithm, as published by Meeus): the golden number, the century's
    // solar and lunar corrections, the epact, then the Sunday after the Paschal full moon.
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

QDate GoodFriday(int year)
{
    return BeforeEaster(year, 6);
}

QDate PalmSunday(int year)
{
    return BeforeEaster(year, 1);
}

QList<int> Resolve(const QString& formula, int month, int year)
{
    QList<int> days;
    const int length = calendar::DaysInMonth(year, month);
    if (length == 0)
        return days;
    auto weekdayOf = [year, month](int day) { return calendar::DayOfWeek(QDate(year, month, day)); };

    if (formula.startsWith(u'@')) {
        const auto f = ParseDayOfMonth(formula);
        if (f && (f->month == 0 || f->month == month))
            days.append(f->day);
    } else if (formula.startsWith(u'$')) {
        const auto f = ParseSpecial(formula);
        if (!f || (f->month != 0 && f->month != month))
            return days;
        if (f->weekday >= 0 && f->weekday <= 6) {
            const int w = f->weekday + 1;
            if (f->occurrence == 5) {
                for (int d = length; d >= 1; --d) {
                    if (weekdayOf(d) == w) {
                        days.append(d);
                        break;
                    }
                }
            } else {
                int count = 0;
                for (int d = 1; d <= length; ++d) {
                    if (weekdayOf(d) == w && ++count == f->occurrence + 1) {
                        days.append(d);
                        break;
                    }
                }
            }
        } else if (f->weekday == 7) {
            if (f->occurrence == 5)
                days.append(length);
            else if (f->occurrence >= 0 && f->occurrence <= 4)
                days.append(f->occurrence + 1);
        }
    } else if (formula.startsWith(u'%')) {
        for (int d = 1; d <= length; ++d) {
            if (formula.contains(QChar(u'0' + weekdayOf(d))))
                days.append(d);
        }
    } else if (formula.startsWith(u'#')) {
        const QString word = formula.trimmed().toUpper();
        QDate date;
        if (word == QLatin1String("#EASTER"))
            date = EasterSunday(year);
        else if (word == QLatin1String("#GOODFRIDAY"))
            date = GoodFriday(year);
        else if (word == QLatin1String("#PALMSUNDAY"))
            date = PalmSunday(year);
        if (date.isValid() && date.month() == month && date.year() == year)
            days.append(date.day());
    }
    return days;
}

} // namespace recurring
