#include "exchange/IcsExport.h"

#include "recurring/HolidaySets.h"
#include "recurring/RecurringFormula.h"
#include "recurring/RecurringStore.h"

#include <QCryptographicHash>
#include <QSet>

#include <libical/ical.h>

namespace exchange {

namespace {

const char* const kDays[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

int LongestMonth(int month)
{
    return month == 2 ? 28 : QDate(2001, month, 1).daysInMonth();
}

/** The RRULE of a formula that has one; empty for formulas that need a list of dates. */
QString RuleOf(const QString& formula)
{
    const QChar kind = formula.isEmpty() ? QChar() : formula.at(0);
    if (kind == u'@') {
        const auto f = recurring::ParseDayOfMonth(formula);
        if (!f || f->month < 0 || f->month > 12 || f->day < 1 || f->day > 31)
            return QString();
        if (f->month == 0)
            return QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=%1").arg(f->day);
        return QStringLiteral("FREQ=YEARLY;BYMONTH=%1;BYMONTHDAY=%2").arg(f->month).arg(f->day);
    }
    if (kind == u'$') {
        const auto f = recurring::ParseSpecial(formula);
        if (!f || f->occurrence < 0 || f->occurrence > 5 || f->weekday < 0 || f->weekday > 7 ||
            f->month < 0 || f->month > 12)
            return QString();
        const int nth = f->occurrence == 5 ? -1 : f->occurrence + 1;
        const QString frequency = f->month == 0 ? QStringLiteral("FREQ=MONTHLY")
                                                : QStringLiteral("FREQ=YEARLY;BYMONTH=%1").arg(f->month);
        if (f->weekday == 7)
            return frequency + QStringLiteral(";BYMONTHDAY=%1").arg(nth);
        return frequency + QStringLiteral(";BYDAY=%1%2").arg(nth).arg(QLatin1String(kDays[f->weekday]));
    }
    if (kind == u'%') {
        QStringList days;
        for (int w = 1; w <= 7; ++w) {
            if (formula.contains(QChar(u'0' + w)))
                days.append(QLatin1String(kDays[w - 1]));
        }
        return days.isEmpty() ? QString() : QStringLiteral("FREQ=WEEKLY;BYDAY=") + days.join(u',');
    }
    if (kind == u'>') {
        // The seven days from the date hold the weekday once; they must stay within the month in every year.
        const auto f = recurring::ParseOnOrAfter(formula);
        if (!f || f->day + 6 > (f->month == 0 ? 28 : LongestMonth(f->month)))
            return QString();
        QStringList monthDays;
        for (int d = f->day; d <= f->day + 6; ++d)
            monthDays.append(QString::number(d));
        const QString frequency = f->month == 0 ? QStringLiteral("FREQ=MONTHLY")
                                                : QStringLiteral("FREQ=YEARLY;BYMONTH=%1").arg(f->month);
        return frequency + QStringLiteral(";BYDAY=%1;BYMONTHDAY=%2")
                               .arg(QLatin1String(kDays[f->weekday]), monthDays.join(u','));
    }
    return QString();
}

icaltimetype DateValue(const QDate& date)
{
    icaltimetype t = icaltime_null_date();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    return t;
}

QString Uid(const QString& line, QSet<QString>& used)
{
    const QByteArray hash =
        QCryptographicHash::hash(line.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString uid = QStringLiteral("%1@datoria").arg(QLatin1String(hash));
    for (int n = 2; used.contains(uid); ++n)
        uid = QStringLiteral("%1-%2@datoria").arg(QLatin1String(hash)).arg(n);
    used.insert(uid);
    return uid;
}

} // namespace

IcsExport ExportStore(const QStringList& lines, int firstYear, int years, const QDateTime& stamp)
{
    IcsExport result;
    icalcomponent* calendar = icalcomponent_vanew(ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"),
                                                  icalproperty_new_prodid("-//Datoria//Recurring Dates//EN"),
                                                  icalproperty_new_calscale("GREGORIAN"), nullptr);
    const QDateTime utc = stamp.toUTC();
    icaltimetype dtstamp =
        icaltime_from_timet_with_zone(utc.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
    QSet<QString> uids;
    for (const QString& line : lines) {
        const QString formula = recurring::LineFormula(line).trimmed();
        QList<recurring::DatedText> dates;
        for (int year = firstYear; year < firstYear + years; ++year) {
            for (const recurring::DatedText& d : recurring::DatesOfYear({line}, year))
                dates.append(d);
        }
        const QString rule = RuleOf(formula);
        // Easter and the days it moves, and on-or-after dates that run into the next month, have no rule.
        const bool listed = formula.startsWith(u'#') || formula.startsWith(u'>');
        if (dates.isEmpty() || (rule.isEmpty() && !listed)) {
            result.skipped.append(line);
            continue;
        }
        icalcomponent* event = icalcomponent_new_vevent();
        icalcomponent_add_property(event, icalproperty_new_uid(Uid(line, uids).toUtf8().constData()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(dtstamp));
        icalcomponent_add_property(
            event, icalproperty_new_summary(recurring::LineDescription(line).toUtf8().constData()));
        icalcomponent_add_property(event, icalproperty_new_dtstart(DateValue(dates.first().date)));
        icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        if (!rule.isEmpty()) {
            icalcomponent_add_property(
                event, icalproperty_new_rrule(icalrecurrencetype_from_string(rule.toLatin1().constData())));
        } else {
            for (qsizetype i = 1; i < dates.size(); ++i) {
                icaldatetimeperiodtype value;
                value.time = DateValue(dates[i].date);
                value.period = icalperiodtype_null_period();
                icalproperty* rdate = icalproperty_new_rdate(value);
                icalproperty_add_parameter(rdate, icalparameter_new_value(ICAL_VALUE_DATE));
                icalcomponent_add_property(event, rdate);
            }
        }
        icalcomponent_add_component(calendar, event);
        ++result.events;
    }
    char* text = icalcomponent_as_ical_string_r(calendar);
    result.ics = QByteArray(text);
    icalmemory_free_buffer(text);
    icalcomponent_free(calendar);
    return result;
}

} // namespace exchange
