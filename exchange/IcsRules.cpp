#include "exchange/IcsRules.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace exchange {

namespace {

constexpr qint64 kDaySeconds = 24 * 60 * 60;

int LongestMonth(int month)
{
    return month == 2 ? 29 : QDate(2001, month, 1).daysInMonth();
}

bool IsEmpty(const short* values)
{
    return values[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

/** Monday 1 to Sunday 7, as Qt counts, of libical's Sunday 1 to Saturday 7. */
int QtWeekday(int icalDay)
{
    return icalDay == ICAL_SUNDAY_WEEKDAY ? 7 : icalDay - 1;
}

int WeekStartOf(const icalrecurrencetype& rule)
{
    return rule.week_start == ICAL_NO_WEEKDAY ? 1 : QtWeekday(rule.week_start);
}

qint64 FloorDiv(qint64 a, qint64 b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

qint64 FloorMod(qint64 a, qint64 b)
{
    return a - FloorDiv(a, b) * b;
}

const QDate kEpoch(1970, 1, 1);

qint64 WallSeconds(const QDate& day, int second)
{
    return kEpoch.daysTo(day) * kDaySeconds + second;
}

icaltimetype TimeOf(qint64 seconds, bool date)
{
    const QDate day = kEpoch.addDays(FloorDiv(seconds, kDaySeconds));
    const int rest = int(FloorMod(seconds, kDaySeconds));
    icaltimetype t = icaltime_null_time();
    t.year = day.year();
    t.month = day.month();
    t.day = day.day();
    t.is_date = date ? 1 : 0;
    if (!date) {
        t.hour = rest / 3600;
        t.minute = rest / 60 % 60;
        t.second = rest % 60;
    }
    return t;
}

/** A week of a year: its number, and how many weeks that year has. */
struct Week
{
    int year;
    int number;
    int count;
};

/** The first day of week 1: the week that holds 4 January has four of its days in the year. */
QDate FirstWeekStart(int year, int weekStart)
{
    const QDate fourth(year, 1, 4);
    return fourth.addDays(-((fourth.dayOfWeek() - weekStart + 7) % 7));
}

Week WeekOf(const QDate& day, int weekStart)
{
    const QDate begins = day.addDays(-((day.dayOfWeek() - weekStart + 7) % 7));
    // A week belongs to the year that holds four of its days, so its fourth day.
    const int year = begins.addDays(3).year();
    const QDate first = FirstWeekStart(year, weekStart);
    return {year, int(first.daysTo(begins) / 7) + 1,
            int(first.daysTo(FirstWeekStart(year + 1, weekStart)) / 7)};
}

/** Whether value is one of values, negative ones counted back from count (-1 is the last). */
bool Counted(const QList<int>& values, int value, int count)
{
    return std::any_of(values.begin(), values.end(),
                       [value, count](int v) { return v > 0 ? v == value : count + v + 1 == value; });
}

/** The values of a BYxxx part within low..high, sorted, each once. */
QList<int> InRange(const QList<int>& values, int low, int high)
{
    QList<int> kept;
    for (int v : values) {
        if (v >= low && v <= high)
            kept.append(v);
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    return kept;
}

template <std::size_t N> std::bitset<N> Allowed(const QList<int>& values, bool limits)
{
    std::bitset<N> allowed;
    if (!limits || values.isEmpty()) {
        allowed.set();
        return allowed;
    }
    for (int v : InRange(values, 0, int(N) - 1))
        allowed.set(std::size_t(v));
    return allowed;
}

} // namespace

qint64 WallSeconds(const icaltimetype& t)
{
    if (t.is_date)
        return WallSeconds(QDate(t.year, t.month, t.day), 0);
    return WallSeconds(QDate(t.year, t.month, t.day), std::clamp(t.hour, 0, 23) * 3600 +
                                                          std::clamp(t.minute, 0, 59) * 60 +
                                                          std::clamp(t.second, 0, 59));
}

QList<int> ByValues(const short* values, int size)
{
    QList<int> list;
    for (int i = 0; i < size && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        list.append(values[i]);
    return list;
}

bool CanMatch(const icalrecurrencetype& rule)
{
    QList<int> months;
    for (int m : ByValues(rule.by_month, ICAL_BY_MONTH_SIZE))
        months.append(icalrecurrencetype_month_month(short(m)));
    // A numbered weekday counts within the month for a monthly rule or a yearly one naming months (a month
    // holds at most five of each weekday), otherwise within the year (at most 53). A daily or hourly rule has
    // no period to count in: libical matches no numbered weekday there, after scanning to its last year.
    const QList<int> weekdays = ByValues(rule.by_day, ICAL_BY_DAY_SIZE);
    const bool numbersCount = rule.freq != ICAL_DAILY_RECURRENCE && rule.freq != ICAL_HOURLY_RECURRENCE;
    const int mostPerPeriod = rule.freq == ICAL_MONTHLY_RECURRENCE || !months.isEmpty() ? 5 : 53;
    if (!weekdays.isEmpty() &&
        std::none_of(weekdays.begin(), weekdays.end(), [numbersCount, mostPerPeriod](int day) {
            const int position = icalrecurrencetype_day_position(short(day));
            return position == 0 || (numbersCount && std::abs(position) <= mostPerPeriod);
        }))
        return false;
    if (months.isEmpty())
        return true;
    auto inMonths = [&months](const QDate& d) { return d.isValid() && months.contains(d.month()); };
    const QList<int> monthDays = ByValues(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    if (!monthDays.isEmpty() && std::none_of(months.begin(), months.end(), [&monthDays](int m) {
            return m >= 1 && m <= 12 && std::any_of(monthDays.begin(), monthDays.end(), [m](int d) {
                       return d != 0 && std::abs(d) <= LongestMonth(m);
                   });
        }))
        return false;
    const QList<int> yearDays = ByValues(rule.by_year_day, ICAL_BY_YEARDAY_SIZE);
    if (!yearDays.isEmpty()) {
        bool any = false;
        for (int year : {2023, 2024}) {
            for (int yd : yearDays) {
                const QDate day =
                    yd > 0 ? QDate(year, 1, 1).addDays(yd - 1) : QDate(year, 12, 31).addDays(yd + 1);
                any = any || (day.year() == year && inMonths(day));
            }
        }
        if (!any)
            return false;
    }
    const QList<int> weeks = ByValues(rule.by_week_no, ICAL_BY_WEEKNO_SIZE);
    if (!weeks.isEmpty()) {
        bool any = false;
        for (int w : weeks) {
            // Week 1 holds 4 January, so week n lies within these days of the year, or of its end.
            const QDate first = w > 0 ? QDate(2024, 1, 1).addDays((w - 1) * 7 - 3)
                                      : QDate(2024, 12, 31).addDays((w + 1) * 7 - 9);
            for (int i = 0; i <= 12 && !any; ++i)
                any = inMonths(first.addDays(i));
        }
        if (!any)
            return false;
    }
    return true;
}

icalrecurrencetype Corrected(const icalrecurrencetype& rule)
{
    icalrecurrencetype corrected = rule;
    const QList<int> weekdays = ByValues(rule.by_day, ICAL_BY_DAY_SIZE);
    // A numbered weekday counts in the year here; naming the months would make it count in each month.
    const bool numbered = std::any_of(weekdays.begin(), weekdays.end(), [](int day) {
        return icalrecurrencetype_day_position(short(day)) != 0;
    });
    if (rule.freq == ICAL_YEARLY_RECURRENCE && IsEmpty(rule.by_month) && !IsEmpty(rule.by_month_day) &&
        IsEmpty(rule.by_week_no) && IsEmpty(rule.by_year_day) && !numbered) {
        for (int m = 0; m < 12; ++m)
            corrected.by_month[m] = short(m + 1);
        corrected.by_month[12] = ICAL_RECURRENCE_ARRAY_MAX;
    }
    return corrected;
}

OwnRule::OwnRule(const icalrecurrencetype& rule, const icaltimetype& start)
    : m_interval(std::max<qint64>(rule.interval, 1)), m_dates(start.is_date), m_start(WallSeconds(start)),
      m_until(std::numeric_limits<qint64>::max()), m_weekStart(WeekStartOf(rule))
{
    if (!icaltime_is_null_time(rule.until) &&
        QDate(rule.until.year, rule.until.month, rule.until.day).isValid())
        m_until = WallSeconds(rule.until) + (rule.until.is_date ? kDaySeconds - 1 : 0);
    m_setPositions = ByValues(rule.by_set_pos, ICAL_BY_SETPOS_SIZE);
    for (int m : ByValues(rule.by_month, ICAL_BY_MONTH_SIZE))
        m_months.append(icalrecurrencetype_month_month(short(m)));
    m_monthDays = ByValues(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    m_yearDays = ByValues(rule.by_year_day, ICAL_BY_YEARDAY_SIZE);
    m_weeks = ByValues(rule.by_week_no, ICAL_BY_WEEKNO_SIZE);
}

std::unique_ptr<OwnRule> OwnRule::For(const icalrecurrencetype& rule, const icaltimetype& start)
{
    if (rule.freq == ICAL_HOURLY_RECURRENCE || rule.freq == ICAL_MINUTELY_RECURRENCE ||
        rule.freq == ICAL_SECONDLY_RECURRENCE)
        return std::make_unique<FineRule>(rule, start);
    if (rule.freq == ICAL_YEARLY_RECURRENCE && !IsEmpty(rule.by_week_no))
        return std::make_unique<WeekRule>(rule, start);
    return nullptr;
}

bool OwnRule::spent(int& steps, int limit)
{
    if (steps >= limit) {
        m_exhausted = true;
        return true;
    }
    ++steps;
    return false;
}

QList<qint64> OwnRule::picked(const QList<qint64>& times) const
{
    if (m_setPositions.isEmpty())
        return times;
    QList<qint64> kept;
    for (int position : m_setPositions) {
        const qsizetype i = position > 0 ? position - 1 : times.size() + position;
        if (position != 0 && i >= 0 && i < times.size())
            kept.append(times[i]);
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    return kept;
}

FineRule::FineRule(const icalrecurrencetype& rule, const icaltimetype& start)
    : OwnRule(rule, start), m_freq(rule.freq)
{
    const QList<int> byHour = ByValues(rule.by_hour, ICAL_BY_HOUR_SIZE);
    const QList<int> byMinute = ByValues(rule.by_minute, ICAL_BY_MINUTE_SIZE);
    const QList<int> bySecond = ByValues(rule.by_second, ICAL_BY_SECOND_SIZE);
    const bool hourly = m_freq == ICAL_HOURLY_RECURRENCE;
    const bool secondly = m_freq == ICAL_SECONDLY_RECURRENCE;
    m_hours = Allowed<24>(byHour, true);
    m_minutes = Allowed<60>(byMinute, !hourly);
    m_seconds = Allowed<60>(bySecond, secondly);
    const int startMinute = start.is_date ? 0 : std::clamp(start.minute, 0, 59);
    const int startSecond = start.is_date ? 0 : std::clamp(start.second, 0, 59);
    m_minuteList = byMinute.isEmpty() ? QList<int>{startMinute} : InRange(byMinute, 0, 59);
    m_secondList = bySecond.isEmpty() ? QList<int>{startSecond} : InRange(bySecond, 0, 59);
    const QList<int> weekdays = ByValues(rule.by_day, ICAL_BY_DAY_SIZE);
    if (weekdays.isEmpty())
        m_weekdays.set();
    for (int day : weekdays) {
        const int weekday = icalrecurrencetype_day_day_of_week(short(day));
        if (icalrecurrencetype_day_position(short(day)) == 0 && weekday >= 1 && weekday <= 7)
            m_weekdays.set(std::size_t(QtWeekday(weekday)));
    }
}

bool FineRule::dayMatches(const QDate& day) const
{
    if (!m_weekdays[std::size_t(day.dayOfWeek())])
        return false;
    if (!m_months.isEmpty() && !m_months.contains(day.month()))
        return false;
    if (!m_monthDays.isEmpty() && !Counted(m_monthDays, day.day(), day.daysInMonth()))
        return false;
    if (!m_yearDays.isEmpty() && !Counted(m_yearDays, day.dayOfYear(), day.daysInYear()))
        return false;
    if (!m_weeks.isEmpty()) {
        const Week week = WeekOf(day, m_weekStart);
        if (!Counted(m_weeks, week.number, week.count))
            return false;
    }
    return true;
}

qint64 FineRule::inHour(qint64 hourBase, qint64 from) const
{
    auto firstFrom = [this, from](const QList<qint64>& times) -> qint64 {
        for (qint64 t : picked(times)) {
            if (t >= from)
                return t;
        }
        return -1;
    };
    if (m_freq == ICAL_HOURLY_RECURRENCE) {
        if (FloorMod(hourBase / 3600 - FloorDiv(m_start, 3600), m_interval) != 0)
            return -1;
        QList<qint64> times;
        for (int minute : m_minuteList) {
            for (int second : m_secondList)
                times.append(hourBase + minute * 60 + second);
        }
        return firstFrom(times);
    }
    if (m_freq == ICAL_MINUTELY_RECURRENCE) {
        const qint64 hourMinute = hourBase / 60;
        // The first minute of the hour in step with the start, then every INTERVAL minutes.
        for (qint64 minute = hourMinute + FloorMod(FloorDiv(m_start, 60) - hourMinute, m_interval);
             minute < hourMinute + 60; minute += m_interval) {
            if (!m_minutes[std::size_t(minute - hourMinute)] || minute * 60 + 59 < from)
                continue;
            QList<qint64> times;
            for (int second : m_secondList)
                times.append(minute * 60 + second);
            if (const qint64 t = firstFrom(times); t >= 0)
                return t;
        }
        return -1;
    }
    // Secondly: each second is a set of its own, which BYSETPOS keeps by 1 or -1.
    if (!m_setPositions.isEmpty() && !m_setPositions.contains(1) && !m_setPositions.contains(-1))
        return -1;
    for (int minute = 0; minute < 60; ++minute) {
        const qint64 minuteBase = hourBase + minute * 60;
        if (!m_minutes[std::size_t(minute)] || minuteBase + 59 < from)
            continue;
        for (qint64 t = minuteBase + FloorMod(m_start - minuteBase, m_interval); t < minuteBase + 60;
             t += m_interval) {
            if (m_seconds[std::size_t(t - minuteBase)] && t >= from)
                return t;
        }
    }
    return -1;
}

icaltimetype FineRule::Next(const icaltimetype& from, const QDate& last, int& steps, int limit)
{
    const qint64 at = std::max(WallSeconds(from), m_start);
    for (QDate day = kEpoch.addDays(FloorDiv(at, kDaySeconds)); day.isValid() && day <= last;
         day = day.addDays(1)) {
        const qint64 dayBase = WallSeconds(day, 0);
        if (dayBase > m_until || spent(steps, limit))
            break;
        if (!dayMatches(day))
            continue;
        for (int hour = 0; hour < 24; ++hour) {
            const qint64 hourBase = dayBase + hour * 3600;
            if (!m_hours[std::size_t(hour)] || hourBase + 3599 < at)
                continue;
            const qint64 t = inHour(hourBase, at);
            if (t > m_until)
                return icaltime_null_time();
            if (t >= 0)
                return TimeOf(t, m_dates);
            if (spent(steps, limit))
                return icaltime_null_time();
        }
    }
    return icaltime_null_time();
}

WeekRule::WeekRule(const icalrecurrencetype& rule, const icaltimetype& start)
    : OwnRule(rule, start), m_startYear(start.year), m_weekdays(ByValues(rule.by_day, ICAL_BY_DAY_SIZE))
{
    auto listOr = [&start](const QList<int>& values, int high, int fallback) {
        return values.isEmpty() || start.is_date ? QList<int>{start.is_date ? 0 : fallback}
                                                 : InRange(values, 0, high);
    };
    // Hours, minutes and seconds expand each day, so the times are up to 24 * 60 * 60 a day: never more than
    // one day's are kept, and a year's are found as they are asked for.
    for (int hour : listOr(ByValues(rule.by_hour, ICAL_BY_HOUR_SIZE), 23, start.hour)) {
        for (int minute : listOr(ByValues(rule.by_minute, ICAL_BY_MINUTE_SIZE), 59, start.minute)) {
            for (int second : listOr(ByValues(rule.by_second, ICAL_BY_SECOND_SIZE), 59, start.second))
                m_times.append(hour * 3600 + minute * 60 + second);
        }
    }
}

bool WeekRule::weekdayMatches(const QDate& day) const
{
    if (m_weekdays.isEmpty())
        return true;
    const bool inMonth = !m_months.isEmpty();
    const int index = inMonth ? day.day() : day.dayOfYear();
    const int length = inMonth ? day.daysInMonth() : day.daysInYear();
    return std::any_of(m_weekdays.begin(), m_weekdays.end(), [&](int entry) {
        if (QtWeekday(icalrecurrencetype_day_day_of_week(short(entry))) != day.dayOfWeek())
            return false;
        const int position = icalrecurrencetype_day_position(short(entry));
        return position == 0 || position == (index - 1) / 7 + 1 || position == -((length - index) / 7 + 1);
    });
}

void WeekRule::findYear(int year)
{
    m_year = year;
    m_days.clear();
    for (QDate day(year, 1, 1); day.isValid() && day.year() == year; day = day.addDays(1)) {
        if (!weekdayMatches(day) || (!m_months.isEmpty() && !m_months.contains(day.month())) ||
            (!m_monthDays.isEmpty() && !Counted(m_monthDays, day.day(), day.daysInMonth())) ||
            (!m_yearDays.isEmpty() && !Counted(m_yearDays, day.dayOfYear(), day.daysInYear())))
            continue;
        // The day's own week, of whichever year holds four of its days.
        const Week week = WeekOf(day, m_weekStart);
        if (Counted(m_weeks, week.number, week.count))
            m_days.append(day);
    }
    // BYSETPOS counts in the year's times, the days' times one after another.
    m_picked.clear();
    const qint64 size = qint64(m_days.size()) * m_times.size();
    for (int position : m_setPositions) {
        const qint64 i = position > 0 ? position - 1 : size + position;
        if (position != 0 && i >= 0 && i < size)
            m_picked.append(WallSeconds(m_days[i / m_times.size()], m_times[i % m_times.size()]));
    }
    std::sort(m_picked.begin(), m_picked.end());
    m_picked.erase(std::unique(m_picked.begin(), m_picked.end()), m_picked.end());
}

icaltimetype WeekRule::Next(const icaltimetype& from, const QDate& last, int& steps, int limit)
{
    const qint64 at = std::max(WallSeconds(from), m_start);
    const qint64 end = std::min(m_until, WallSeconds(last.addDays(1), 0) - 1);
    const QDate atDay = kEpoch.addDays(FloorDiv(at, kDaySeconds));
    for (int year = atDay.year(); year <= last.year(); ++year) {
        // The years of the rule are those its INTERVAL counts from the start's year.
        if (FloorMod(year - m_startYear, m_interval) != 0)
            continue;
        if (spent(steps, limit))
            break;
        if (year != m_year)
            findYear(year);
        qint64 t = -1;
        if (!m_setPositions.isEmpty()) {
            const auto it = std::lower_bound(m_picked.begin(), m_picked.end(), at);
            t = it == m_picked.end() ? -1 : *it;
        } else {
            for (auto day = std::lower_bound(m_days.begin(), m_days.end(), atDay);
                 day != m_days.end() && t < 0; ++day) {
                const qint64 midnight = WallSeconds(*day, 0);
                const auto time = std::lower_bound(m_times.begin(), m_times.end(), at - midnight);
                if (time != m_times.end())
                    t = midnight + *time;
            }
        }
        if (t > end)
            break;
        if (t >= 0)
            return TimeOf(t, m_dates);
    }
    return icaltime_null_time();
}

} // namespace exchange
