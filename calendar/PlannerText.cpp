#include "calendar/PlannerText.h"

#include "calendar/DateRules.h"

#include <QLocale>

#include <cmath>

namespace calendar {

namespace {

const QString& MonthName(const MonthNames& months, const QDate& date)
{
    return months[static_cast<size_t>(date.month() - 1)];
}

// One minute as a fraction of a day, as the planner rows advance their time.
constexpr double kMinute = 0.000694445;

} // namespace

QString CutDayName(const QString& name, TCalHeadersStyle style)
{
    switch (style) {
    case dsFirstChar:
        return name.left(1);
    case dsThreeChars:
        return name.left(3);
    case dsWhole:
        break;
    }
    return name;
}

QString WeekPlannerTitle(const QDate& first, int days, const MonthNames& months)
{
    const QDate last = first.addDays(days - 1);
    const QString firstDay = QString::number(first.day());
    const QString lastDay = QString::number(last.day());
    if (first.year() == last.year() && first.month() == last.month())
        return MonthName(months, first) + u' ' + firstDay + u'-' + lastDay + QStringLiteral(", ") +
               QString::number(first.year());
    if (first.year() == last.year())
        return MonthName(months, first) + u' ' + firstDay + QStringLiteral(" - ") + MonthName(months, last) +
               u' ' + lastDay + QStringLiteral(", ") + QString::number(first.year());
    return MonthName(months, first) + u' ' + firstDay + QStringLiteral(", ") + QString::number(first.year()) +
           QStringLiteral(" - ") + MonthName(months, last) + u' ' + lastDay + QStringLiteral(", ") +
           QString::number(last.year());
}

QString DayPlannerTitle(const QDate& day, const MonthNames& months, const DayNames& days)
{
    return days[static_cast<size_t>(DayOfWeek(day) - 1)] + QStringLiteral(", ") + MonthName(months, day) +
           u' ' + QString::number(day.day()) + QStringLiteral(", ") + QString::number(day.year());
}

QList<PlannerRow> WeekPlannerRows(const QDate& first, int days, TCalHeadersStyle style,
                                  const MonthNames& months, const DayNames& dayNames)
{
    QList<PlannerRow> rows;
    for (int i = 0; i < days; ++i) {
        const QDate date = first.addDays(i);
        rows.append({CutDayName(dayNames[static_cast<size_t>(DayOfWeek(date) - 1)], style),
                     QString::number(date.day()) + u' ' + MonthName(months, date).left(3)});
    }
    rows.append({QStringLiteral("Notes"), QString()});
    return rows;
}

QString FormatPlannerTime(double time)
{
    int hour = 0, minute = 0;
    DecodeTime(time, hour, minute);
    const QLocale locale;
    int shown = hour % 12;
    if (shown == 0)
        shown = 12;
    return QString::number(shown) + u':' + QString::number(minute).rightJustified(2, u'0') + u' ' +
           (hour < 12 ? locale.amText() : locale.pmText());
}

QList<PlannerRow> DayPlannerRows(double startTime, int hours)
{
    QList<PlannerRow> rows;
    double time = startTime < 0 ? 0 : startTime;
    for (int i = 0; i < hours; ++i) {
        rows.append({FormatPlannerTime(time), QString()});
        time += 60 * kMinute;
        if (time < 0)
            time = 0;
    }
    rows.append({QStringLiteral("Notes"), QString()});
    return rows;
}

int PlannerRowDay(const QString& label)
{
    bool ok = false;
    const int day = label.left(2).trimmed().toInt(&ok);
    return ok ? day : 0;
}

} // namespace calendar
