#pragma once

#include "holidays/HolidayDatabase.h"
#include "holidays/HolidayRule.h"

#include <QDate>
#include <QFlags>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace holidays {

enum class HolidayType
{
    Public = 0x1,
    Bank = 0x2,
    School = 0x4,
    Optional = 0x8,
    Observance = 0x10,
};
Q_DECLARE_FLAGS(HolidayTypes, HolidayType)
Q_DECLARE_OPERATORS_FOR_FLAGS(HolidayTypes)

/** The type's word in the data and on the command line ("public", "bank", ...). */
QString HolidayTypeName(HolidayType type);
/** Reads a comma-separated list of type words; empty when a word is unknown. */
std::optional<HolidayTypes> ParseHolidayTypes(const QString& text);

/** A holiday on the calendar. */
struct Holiday
{
    QDate date;
    int days = 1; ///< how many days it lasts from `date`
    QString name;
    HolidayType type = HolidayType::Public;
    bool substitute = false; ///< a day that stands in for a holiday that fell on a day off
    QString rule;            ///< the database rule that gave it
};

/**
 * Computes the holidays of one country, state or region for any year from 1900 to 2100, from the rules of the
 * holiday database: every rule is evaluated for the year and its neighbours (so a day moved over the turn of
 * the year is found), steps move and filter the days, and a day named twice on one date is listed once, under
 * the rule of the highest type.
 */
class HolidayCalculator
{
public:
    explicit HolidayCalculator(const AreaRules& rules);

    /** The area's holidays of a year in date order, named in `language` where the data has it. */
    QList<Holiday> holidays(int year, const QString& language = {},
                            HolidayTypes types = HolidayType::Public) const;

    /** Rules the calculator could not read (they give no days). */
    QStringList unreadableRules() const;

private:
    struct Day
    {
        QDate date;
        int minutes = 0;
        int hours = 24;
        bool substitute = false;
        bool locked = false;
        bool dropped = false;
    };
    struct Event
    {
        QList<Day> days;
        QList<ActivePeriod> active;
    };
    struct Entry
    {
        AreaRule data;
        std::optional<ParsedRule> parsed;
    };

    const QList<Day>& daysOf(qsizetype rule, int year) const;
    QList<Day> evaluate(qsizetype rule, int year) const;
    void applyStep(Event& event, const RuleStep& step, const QString& modifier) const;
    void applyBridge(QList<Event>& events, const RuleStep& step, qsizetype rule, int year) const;
    void applyIfHoliday(QList<Event>& events, const RuleStep& step, qsizetype rule, int year) const;
    void applyDisable(QList<Event>& events, const AreaRule& rule, int year) const;
    bool sameDate(const QList<Day>& a, const QList<Day>& b) const;

    AreaRules m_area;
    QList<Entry> m_entries;
    mutable QHash<qint64, QList<Day>> m_cache; ///< (rule, year) -> days
    mutable QList<qsizetype> m_evaluating;     ///< guards rules that refer to each other
};

} // namespace holidays
