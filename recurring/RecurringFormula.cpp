#include "recurring/RecurringFormula.h"

#include "calendar/DateRules.h"

#include <QCalendar>
#include <QLocale>

#include <algorithm>
#include <cmath>

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

/** Stepping back from the day before Easter to the first day of the given weekday (1 Sunday .. 7 Saturday).
 */
QDate BeforeEaster(int year, int weekday)
{
    QDate day = EasterSunday(year).addDays(-1);
    while (calendar::DayOfWeek(day) != weekday)
        day = day.addDays(-1);
    return day;
}

/** "N days after Easter", "1 day before Orthodox Easter", "Easter". */
QString DescribeEasterOffset(const EasterOffset& f)
{
    const QString feast = f.orthodox ? QStringLiteral("Orthodox Easter") : QStringLiteral("Easter");
    if (f.offset == 0)
        return feast;
    const int days = std::abs(f.offset);
    return QStringLiteral("%1 %2 %3 %4")
        .arg(days)
        .arg(days == 1 ? QStringLiteral("day") : QStringLiteral("days"))
        .arg(f.offset > 0 ? QStringLiteral("after") : QStringLiteral("before"))
        .arg(feast);
}

QDate EasterOf(bool orthodox, int year)
{
    return orthodox ? OrthodoxEaster(year) : EasterSunday(year);
}

/** The day a weekday-on-or-after rule gives when it starts in the month, or no date. */
QDate OnOrAfterIn(const OnOrAfter& f, int month, int year)
{
    if (f.month != 0 && f.month != month)
        return QDate();
    if (f.day > calendar::DaysInMonth(year, month))
        return QDate();
    const QDate start(year, month, f.day);
    return start.addDays((f.weekday + 1 - calendar::DayOfWeek(start) + 7) % 7);
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

std::optional<EasterOffset> ParseEasterOffset(const QString& formula)
{
    const QString word = formula.trimmed().toUpper();
    if (word == QLatin1String("#GOODFRIDAY"))
        return EasterOffset{false, -2};
    if (word == QLatin1String("#PALMSUNDAY"))
        return EasterOffset{false, -7};
    EasterOffset f;
    QStringView rest;
    if (word.startsWith(QLatin1String("#EASTER"))) {
        rest = QStringView(word).mid(7);
    } else if (word.startsWith(QLatin1String("#ORTHO"))) {
        f.orthodox = true;
        rest = QStringView(word).mid(6);
    } else {
        return std::nullopt;
    }
    if (rest.isEmpty())
        return f;
    if (rest.size() < 2 || rest.size() > 3 || (rest[0] != u'+' && rest[0] != u'-'))
        return std::nullopt;
    for (QChar c : rest.mid(1)) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    f.offset = rest.mid(1).toInt();
    if (rest[0] == u'-')
        f.offset = -f.offset;
    return f;
}

QString BuildEasterOffset(int offset, bool orthodox)
{
    offset = std::clamp(offset, -kMaxEasterOffset, kMaxEasterOffset);
    QString formula = orthodox ? QStringLiteral("#ORTHO") : QStringLiteral("#EASTER");
    if (offset != 0)
        formula += (offset > 0 ? u'+' : u'-') + QString::number(std::abs(offset));
    return formula;
}

std::optional<OnOrAfter> ParseOnOrAfter(const QString& formula)
{
    if (!formula.startsWith(u'>'))
        return std::nullopt;
    const auto weekday = Field(formula, 1, 1);
    const auto month = Field(formula, 2, 2);
    const auto day = Field(formula, 4, 2);
    if (!weekday || !month || !day || *weekday < 0 || *weekday > 6 || *month < 0 || *month > 12 || *day < 1 ||
        *day > 31)
        return std::nullopt;
    return OnOrAfter{*weekday, *month, *day};
}

QString BuildOnOrAfter(int weekday, int day, int month)
{
    return QStringLiteral(">%1%2%3")
        .arg(weekday)
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

bool IsOriginalBuiltIn(const QString& formula)
{
    const QString word = formula.trimmed().toUpper();
    return word == QLatin1String("#EASTER") || word == QLatin1String("#GOODFRIDAY") ||
           word == QLatin1String("#PALMSUNDAY");
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
    if (formula.startsWith(u'>')) {
        const auto f = ParseOnOrAfter(formula);
        if (!f)
            return QString();
        return ShortDay(f->weekday + 1) + QStringLiteral(" on or after ") + Ordinal(f->day) +
               QStringLiteral(" of ") + MonthText(f->month);
    }
    if (formula.startsWith(u'#') && !IsOriginalBuiltIn(formula)) {
        const QString word = formula.trimmed().toUpper();
        if (word == QLatin1String("#EQUINOX03"))
            return QStringLiteral("March equinox");
        if (word == QLatin1String("#EQUINOX09"))
            return QStringLiteral("September equinox");
        if (const auto f = ParseEasterOffset(formula))
            return DescribeEasterOffset(*f);
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

QDate OrthodoxEaster(int year)
{
    // The Julian computus gives a date of the Julian calendar, which QCalendar turns into the civil one.
    const int a = year % 4;
    const int b = year % 7;
    const int c = year % 19;
    const int d = (19 * c + 15) % 30;
    const int e = (2 * a + 4 * b - d + 34) % 7;
    const int month = (d + e + 114) / 31;
    const int day = (d + e + 114) % 31 + 1;
    return QDate(year, month, day, QCalendar(QCalendar::System::Julian));
}

QDate EquinoxDay(int year, int month)
{
    // The observatory's formula: a mean day that moves 0.242194 days a year, less one per leap year, each
    // part cut toward zero as published. It gives the published days from 1980 to 2099.
    const bool march = month == 3;
    double base = march ? 20.8431 : 23.2488;
    int from = 1980;
    if (year < 1980) {
        base = march ? 20.8357 : 23.2588;
        from = 1983;
    } else if (year > 2099) {
        base = march ? 21.8510 : 24.2488;
    }
    const int day = int(base + 0.242194 * (year - 1980) - double((year - from) / 4));
    return QDate(year, march ? 3 : 9, day);
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
    } else if (formula.startsWith(u'>')) {
        if (const auto f = ParseOnOrAfter(formula)) {
            // A rule that starts late in the month before may end in this one.
            const calendar::MonthYear before = calendar::StepMonth(month, year, -1);
            for (const QDate& date :
                 {OnOrAfterIn(*f, before.month, before.year), OnOrAfterIn(*f, month, year)}) {
                if (date.isValid() && date.month() == month && date.year() == year)
                    days.append(date.day());
            }
        }
    } else if (formula.startsWith(u'#')) {
        const QString word = formula.trimmed().toUpper();
        QList<QDate> dates;
        if (word == QLatin1String("#EASTER"))
            dates.append(EasterSunday(year));
        else if (word == QLatin1String("#GOODFRIDAY"))
            dates.append(GoodFriday(year));
        else if (word == QLatin1String("#PALMSUNDAY"))
            dates.append(PalmSunday(year));
        else if (word == QLatin1String("#EQUINOX03") || word == QLatin1String("#EQUINOX09"))
            dates.append(EquinoxDay(year, word.endsWith(u'3') ? 3 : 9));
        else if (const auto f = ParseEasterOffset(word)) {
            // Offsets of up to 99 days reach into the year before Easter.
            for (int y : {year, year + 1})
                dates.append(EasterOf(f->orthodox, y).addDays(f->offset));
        }
        for (const QDate& date : dates) {
            if (date.isValid() && date.month() == month && date.year() == year)
                days.append(date.day());
        }
    }
    return days;
}

} // namespace recurring
