#pragma once

#include <QDate>
#include <QList>

#include <libical/ical.h>

#include <bitset>
#include <memory>

namespace exchange {

/** Seconds of wall time since 1970-01-01 00:00, which order the times of one zone. */
qint64 WallSeconds(const icaltimetype& t);

/** The values of one BYxxx part of a rule. */
QList<int> ByValues(const short* values, int size);

/**
 * False for rules whose parts exclude each other (the 30th of February, the first week in June): libical
 * looks for a match for centuries before it gives up.
 */
bool CanMatch(const icalrecurrencetype& rule);

/**
 * The rule as RFC 5545 reads it where libical 3.0 reads it otherwise: a yearly rule naming days of the month
 * (BYMONTHDAY) but no month repeats in every month, its weekdays (BYDAY) limiting those days; libical keeps
 * such a rule to the month of its start.
 */
icalrecurrencetype Corrected(const icalrecurrencetype& rule);

/**
 * A rule expanded here rather than by libical, in the wall time of its start as libical steps its rules, from
 * the earliest occurrence at or after a time on. UNTIL (taken as a wall time of the start's zone) ends it;
 * COUNT is the caller's to count. A start that is a date gives dates.
 */
class OwnRule
{
public:
    virtual ~OwnRule() = default;

    /**
     * The first occurrence at or after the wall time from, on a day up to last; a null time when there is
     * none. The search takes steps (days, hours or years looked at): when steps reaches limit it stops with a
     * null time and Exhausted().
     */
    virtual icaltimetype Next(const icaltimetype& from, const QDate& last, int& steps, int limit) = 0;
    bool Exhausted() const { return m_exhausted; }

    /** The rule expanded here, or null for one libical expands rightly. */
    static std::unique_ptr<OwnRule> For(const icalrecurrencetype& rule, const icaltimetype& start);

protected:
    OwnRule(const icalrecurrencetype& rule, const icaltimetype& start);
    /** Whether the search cannot go on, and is then Exhausted(); otherwise it takes one more step. */
    bool spent(int& steps, int limit);
    /** The times of one period that BYSETPOS keeps, of its times in order. */
    QList<qint64> picked(const QList<qint64>& times) const;

    qint64 m_interval;
    bool m_dates;
    /** The start and the end, in seconds of wall time since 1970-01-01 00:00. */
    qint64 m_start;
    qint64 m_until;
    QList<int> m_setPositions;
    QList<int> m_months;
    QList<int> m_monthDays;
    QList<int> m_yearDays;
    QList<int> m_weeks;
    int m_weekStart;

private:
    bool m_exhausted = false;
};

/**
 * An hourly, minutely or secondly rule. libical searches one second by second for a match without a bound,
 * and starts the middle of one out of step with its INTERVAL; here days that cannot match are passed over
 * whole. Every BYxxx part limits, but for BYMINUTE and BYSECOND of an hourly rule and BYSECOND of a minutely
 * one, which expand, and BYSETPOS, which picks from the times of one hour or minute. A numbered weekday (1MO)
 * matches no day, as with libical's daily rules. Each day looked at is a step, and so is each hour looked at
 * in vain.
 */
class FineRule : public OwnRule
{
public:
    FineRule(const icalrecurrencetype& rule, const icaltimetype& start);
    icaltimetype Next(const icaltimetype& from, const QDate& last, int& steps, int limit) override;

private:
    bool dayMatches(const QDate& day) const;
    /** The first time of the hour beginning at hourBase (wall seconds) at or after from, or -1. */
    qint64 inHour(qint64 hourBase, qint64 from) const;

    icalrecurrencetype_frequency m_freq;
    std::bitset<24> m_hours;
    std::bitset<60> m_minutes;
    std::bitset<60> m_seconds;
    /** Minutes and seconds an hourly rule expands to, seconds a minutely one does. */
    QList<int> m_minuteList;
    QList<int> m_secondList;
    /** Weekdays 1 (Monday) to 7; all when the rule names none. */
    std::bitset<8> m_weekdays;
};

/**
 * A yearly rule naming weeks (BYWEEKNO): libical 3.0 loses the days of weeks that reach into another year,
 * and whole years besides. A year's occurrences are its days in the weeks named (week 1 being the first with
 * four days in its year, weeks beginning on WKST, negative numbers counting from a year's last week), limited
 * by BYMONTH, BYMONTHDAY, BYYEARDAY and BYDAY (a numbered weekday counted in the year, or in the month where
 * the rule names months), every day of those weeks where BYDAY is not given, at the times BYHOUR, BYMINUTE
 * and BYSECOND name or the start's, picked by BYSETPOS. Each year looked at is a step.
 */
class WeekRule : public OwnRule
{
public:
    WeekRule(const icalrecurrencetype& rule, const icaltimetype& start);
    icaltimetype Next(const icaltimetype& from, const QDate& last, int& steps, int limit) override;

private:
    bool weekdayMatches(const QDate& day) const;
    /** The rule's days of a year, and the times BYSETPOS picks of them, found once for each year. */
    void findYear(int year);

    int m_startYear;
    QList<int> m_weekdays;
    /** The times of each day, in seconds since its midnight, in order. */
    QList<int> m_times;
    int m_year = 0;
    QList<QDate> m_days;
    QList<qint64> m_picked;
};

} // namespace exchange
