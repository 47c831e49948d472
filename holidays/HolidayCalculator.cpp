#include "holidays/HolidayCalculator.h"

#include "holidays/HolidayCalendars.h"

#include <algorithm>

namespace holidays {
namespace {

const QList<QPair<HolidayType, QString>>& TypeWords()
{
    static const QList<QPair<HolidayType, QString>> words = {
        {HolidayType::Public, QStringLiteral("public")},
        {HolidayType::Bank, QStringLiteral("bank")},
        {HolidayType::School, QStringLiteral("school")},
        {HolidayType::Optional, QStringLiteral("optional")},
        {HolidayType::Observance, QStringLiteral("observance")}};
    return words;
}

std::optional<HolidayType> TypeOf(const QString& word)
{
    for (const auto& [type, name] : TypeWords()) {
        if (name == word) {
            return type;
        }
    }
    return std::nullopt;
}

/** Where a type ranks when two rules name one day: a public holiday wins over a bank holiday, and so on. */
int TypeRank(HolidayType type)
{
    switch (type) {
    case HolidayType::Public:
        return 0;
    case HolidayType::Bank:
        return 1;
    case HolidayType::School:
        return 2;
    case HolidayType::Optional:
        return 3;
    case HolidayType::Observance:
        return 4;
    }
    return 5;
}

int Weekday(const QDate& date)
{
    return date.dayOfWeek() % 7; // 0 Sunday .. 6 Saturday
}

bool Contains(unsigned weekdays, int weekday)
{
    return weekday >= 0 && (weekdays & (1U << weekday)) != 0;
}

/** Days from `weekday` to the `count`-th `target` weekday in a direction (-1 target: any day but omitted
 * ones). */
int WeekdayOffset(const RuleStep& step, int weekday)
{
    const bool before =
        step.direction == RuleStep::Direction::Before || step.direction == RuleStep::Direction::Previous;
    int count = step.count - 1;
    if (step.direction == RuleStep::Direction::Next && weekday == step.weekday) {
        ++count; // "next monday" from a Monday is the Monday after
    }
    if (step.weekday < 0) {
        int offset = before ? -(count + 1) : count + 1;
        for (int i = 0; i < 7 && Contains(step.weekdays, ((offset + weekday) % 7 + 7) % 7); ++i) {
            offset += before ? -1 : 1;
        }
        return offset;
    }
    if (before) {
        if (weekday == step.weekday) {
            ++count;
        }
        return -((7 + weekday - step.weekday) % 7 + count * 7);
    }
    return (7 - weekday + step.weekday) % 7 + count * 7;
}

bool YearMatches(const RuleStep& step, int year)
{
    switch (step.years) {
    case RuleStep::Years::Even:
        return year % 2 == 0;
    case RuleStep::Years::Odd:
        return year % 2 != 0;
    case RuleStep::Years::Leap:
        return QDate::isLeapYear(year);
    case RuleStep::Years::NonLeap:
        return !QDate::isLeapYear(year);
    case RuleStep::Years::Every:
        return step.every > 0 && (year - step.since) % step.every == 0;
    }
    return false;
}

bool IsActive(const QDate& date, const QList<ActivePeriod>& periods)
{
    if (periods.isEmpty()) {
        return true;
    }
    return std::any_of(periods.begin(), periods.end(), [&](const ActivePeriod& period) {
        return (!period.from.isValid() || period.from <= date) && (!period.to.isValid() || date < period.to);
    });
}

/** "YYYY-MM-DD" as numbers; missing parts are 0. */
std::array<int, 3> DateParts(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('-'));
    std::array<int, 3> numbers{0, 0, 0};
    for (qsizetype i = 0; i < parts.size() && i < 3; ++i) {
        numbers[static_cast<size_t>(i)] = parts.at(i).toInt();
    }
    return numbers;
}

} // namespace

QString HolidayTypeName(HolidayType type)
{
    for (const auto& [t, name] : TypeWords()) {
        if (t == type) {
            return name;
        }
    }
    return {};
}

std::optional<HolidayTypes> ParseHolidayTypes(const QString& text)
{
    HolidayTypes types;
    for (const QString& word : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const std::optional<HolidayType> type = TypeOf(word.trimmed().toLower());
        if (!type) {
            return std::nullopt;
        }
        types |= *type;
    }
    if (!types) {
        return std::nullopt;
    }
    return types;
}

HolidayCalculator::HolidayCalculator(const AreaRules& rules) : m_area(rules)
{
    for (const AreaRule& rule : rules.rules) {
        m_entries.append({rule, ParseHolidayRule(rule.rule)});
    }
}

QStringList HolidayCalculator::unreadableRules() const
{
    QStringList list;
    for (const Entry& entry : m_entries) {
        if (!entry.parsed) {
            list.append(entry.data.rule);
        }
    }
    return list;
}

const QList<HolidayCalculator::Day>& HolidayCalculator::daysOf(qsizetype rule, int year) const
{
    const qint64 key = static_cast<qint64>(rule) * 100000 + year;
    auto it = m_cache.constFind(key);
    if (it == m_cache.constEnd()) {
        QList<Day> days = evaluate(rule, year);
        it = m_cache.insert(key, days);
    }
    return it.value();
}

QList<HolidayCalculator::Day> HolidayCalculator::evaluate(qsizetype rule, int year) const
{
    const Entry& entry = m_entries.at(rule);
    if (!entry.parsed) {
        return {};
    }
    m_evaluating.append(rule);
    QList<Event> events;
    QString modifier;
    for (const ParsedRule::Item& item : entry.parsed->items) {
        if (item.isSource) {
            Event event;
            for (int y = year - 1; y <= year + 1; ++y) {
                for (const QDate& date : SourceDates(item.source, y)) {
                    if (date.isValid()) {
                        event.days.append({date});
                    }
                }
            }
            events.append(event);
            modifier.clear();
            continue;
        }
        const RuleStep& step = item.step;
        Event& event = events.last();
        switch (step.kind) {
        case RuleStep::Modifier:
            modifier = step.modifier;
            break;
        case RuleStep::ActiveFrom:
            event.active.append({QDate(step.year, 1, 1).addMonths(step.month - 1).addDays(step.day - 1), {}});
            break;
        case RuleStep::ActiveTo: {
            const QDate to = QDate(step.year, 1, 1).addMonths(step.month - 1).addDays(step.day - 1);
            // "since X and prior to Y" is one period
            if (!event.active.isEmpty() && event.active.last().from.isValid() &&
                !event.active.last().to.isValid()) {
                event.active.last().to = to;
            } else {
                event.active.append({{}, to});
            }
            break;
        }
        case RuleStep::Bridge:
            applyBridge(events, step, rule, year);
            break;
        case RuleStep::IfHoliday:
            applyIfHoliday(events, step, rule, year);
            break;
        default:
            applyStep(event, step, modifier);
            break;
        }
    }
    applyDisable(events, entry.data, year);
    m_evaluating.removeAll(rule);

    const Event& first = events.first();
    const QList<ActivePeriod>& active = entry.data.active.isEmpty() ? first.active : entry.data.active;
    QList<Day> days;
    for (const Day& day : first.days) {
        if (!day.dropped && day.date.year() == year && IsActive(day.date, active)) {
            days.append(day);
        }
    }
    return days;
}

void HolidayCalculator::applyStep(Event& event, const RuleStep& step, const QString& modifier) const
{
    switch (step.kind) {
    case RuleStep::WeekdayFrom:
        for (Day& day : event.days) {
            day.date = day.date.addDays(WeekdayOffset(step, Weekday(day.date)));
        }
        break;
    case RuleStep::IfWeekdayThen: {
        // "and" keeps the day itself and adds the moved one; "substitutes" keeps only days that moved.
        QList<Day> kept;
        for (Day& day : event.days) {
            if (day.locked) {
                continue;
            }
            const int weekday = Weekday(day.date);
            if (!Contains(step.weekdays, weekday)) {
                if (modifier == QLatin1String("substitutes")) {
                    day.dropped = true;
                }
                continue;
            }
            if (modifier == QLatin1String("and")) {
                kept.append({day.date, day.minutes, day.hours});
                day.substitute = true;
            }
            day.dropped = false;
            if (step.hasTarget) {
                int offset = 0;
                if (step.direction == RuleStep::Direction::Previous) {
                    offset = -((7 + weekday - step.weekday) % 7);
                    offset = offset == 0 ? -7 : offset;
                } else {
                    offset = (7 - weekday + step.weekday) % 7;
                    offset = offset == 0 ? 7 : offset;
                }
                day.date = day.date.addDays(offset);
                day.locked = true;
                if (modifier == QLatin1String("substitutes")) {
                    day.substitute = true;
                }
            }
        }
        event.days = kept + event.days;
        break;
    }
    case RuleStep::OnWeekdays:
        event.days.removeIf(
            [&](const Day& day) { return Contains(step.weekdays, Weekday(day.date)) == step.negate; });
        break;
    case RuleStep::YearFilter:
        event.days.removeIf([&](const Day& day) { return !YearMatches(step, day.date.year()); });
        break;
    case RuleStep::Time:
        for (Day& day : event.days) {
            day.minutes = step.hours;
        }
        break;
    case RuleStep::Duration:
        for (Day& day : event.days) {
            day.hours = step.hours;
        }
        break;
    default:
        break;
    }
}

bool HolidayCalculator::sameDate(const QList<Day>& a, const QList<Day>& b) const
{
    for (const Day& x : a) {
        for (const Day& y : b) {
            if (x.date == y.date) {
                return true;
            }
        }
    }
    return false;
}

void HolidayCalculator::applyBridge(QList<Event>& events, const RuleStep& step, qsizetype rule,
                                    int year) const
{
    // The first date holds only when every other date of the rule is a holiday of the type named.
    const QString type = step.type.isEmpty() ? QStringLiteral("public") : step.type;
    QList<bool> found(events.size(), false);
    found[0] = true;
    for (qsizetype other = 0; other < m_entries.size(); ++other) {
        if (other == rule || m_evaluating.contains(other) || m_entries.at(other).data.type != type) {
            continue;
        }
        const QList<Day>& days = daysOf(other, year);
        for (qsizetype i = 1; i < events.size(); ++i) {
            found[i] = found[i] || sameDate(days, events.at(i).days);
        }
    }
    if (found.contains(false)) {
        events.first().days.clear();
    }
}

void HolidayCalculator::applyIfHoliday(QList<Event>& events, const RuleStep& step, qsizetype rule,
                                       int year) const
{
    // A day that falls on another holiday of the type named moves on, as far as the step says.
    const QString type = step.type.isEmpty() ? QStringLiteral("public") : step.type;
    for (qsizetype other = 0; other < m_entries.size(); ++other) {
        if (other == rule || m_evaluating.contains(other) || m_entries.at(other).data.type != type) {
            continue;
        }
        const QList<Day>& days = daysOf(other, year);
        for (Event& event : events) {
            if (sameDate(days, event.days)) {
                RuleStep move = step;
                move.kind = RuleStep::WeekdayFrom;
                applyStep(event, move, {});
                return;
            }
        }
    }
}

void HolidayCalculator::applyDisable(QList<Event>& events, const AreaRule& rule, int year) const
{
    // A disabled day of this year removes the day (and an enabled day of the year takes its place); a
    // disabled year or month removes the rule's days in it.
    for (const QString& text : rule.disable) {
        const auto [y, m, d] = DateParts(text);
        if (y != year || m == 0 || d == 0) {
            continue;
        }
        Event& first = events.first();
        const QDate disabled(y, m, d);
        if (sameDate(first.days, {Day{disabled}})) {
            first.days.clear();
            for (const QString& enabled : rule.enable) {
                const auto [ey, em, ed] = DateParts(enabled);
                if (ey == year && em != 0 && ed != 0 && QDate(ey, em, ed).isValid()) {
                    first = Event{{Day{QDate(ey, em, ed)}}, {}};
                    break;
                }
            }
        }
        return;
    }
    for (const QString& text : rule.disable) {
        const std::array<int, 3> parts = DateParts(text);
        const int month = parts[1];
        if (parts[0] == year) {
            events.first().days.removeIf([&](const Day& day) {
                return day.date.year() == year && (month == 0 || day.date.month() == month);
            });
            return;
        }
    }
}

QList<Holiday> HolidayCalculator::holidays(int year, const QString& language, HolidayTypes types) const
{
    QStringList languages;
    for (const QString& lang : QStringList{language} + m_area.languages + QStringList{QStringLiteral("en")}) {
        if (!lang.isEmpty() && !languages.contains(lang)) {
            languages.append(lang);
        }
    }
    struct Candidate
    {
        Holiday holiday;
        int minutes;
        int rank;
        int ruleClass;
    };
    QList<Candidate> candidates;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries.at(i);
        const std::optional<HolidayType> type = TypeOf(entry.data.type);
        if (!entry.parsed || !type || !types.testFlag(*type)) {
            continue;
        }
        QString name;
        QString nameLanguage;
        for (const QString& lang : std::as_const(languages)) {
            if (entry.data.names.contains(lang)) {
                name = entry.data.names.value(lang);
                nameLanguage = lang;
                break;
            }
        }
        if (name.isEmpty() && !entry.data.names.isEmpty()) {
            // A plain name (stored under no language), else the name of the first language in code order.
            QStringList keys = entry.data.names.keys();
            std::sort(keys.begin(), keys.end());
            name = entry.data.names.value(keys.first());
        }
        for (const Day& day : daysOf(i, year)) {
            Holiday holiday;
            holiday.date = day.date;
            holiday.days = std::max(1, (day.hours + 23) / 24);
            holiday.name = name;
            holiday.type = *type;
            holiday.substitute = entry.data.substitute && day.substitute;
            holiday.rule = entry.data.rule;
            if (holiday.substitute) {
                for (const QString& lang : std::as_const(languages)) {
                    if (m_area.substituteNames.contains(lang)) {
                        holiday.name += QStringLiteral(" (%1)").arg(m_area.substituteNames.value(lang));
                        break;
                    }
                }
            }
            const bool later = entry.data.rule.contains(QLatin1String("substitutes")) ||
                               entry.data.rule.contains(QLatin1String("and if "));
            candidates.append({holiday, day.minutes, TypeRank(*type), later ? 1 : 0});
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.holiday.date != b.holiday.date) {
            return a.holiday.date < b.holiday.date;
        }
        if (a.minutes != b.minutes) {
            return a.minutes < b.minutes;
        }
        if (a.rank != b.rank) {
            return a.rank < b.rank;
        }
        if (a.ruleClass != b.ruleClass) {
            return a.ruleClass < b.ruleClass;
        }
        return a.holiday.rule.size() < b.holiday.rule.size();
    });
    QList<Holiday> list;
    QSet<QString> seen;
    for (const Candidate& candidate : std::as_const(candidates)) {
        const QString key = candidate.holiday.name + QLatin1Char('|') +
                            candidate.holiday.date.toString(Qt::ISODate) + QLatin1Char('|') +
                            QString::number(candidate.minutes);
        if (!seen.contains(key)) {
            seen.insert(key);
            list.append(candidate.holiday);
        }
    }
    return list;
}

} // namespace holidays
