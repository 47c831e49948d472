#include "holidays/HolidayRule.h"

#include <QRegularExpression>

#include <array>

namespace holidays {
namespace {

// The building blocks of the rule language. Weekday names may be capitalised; "day" stands for any day.
const QString kWeekday =
    QStringLiteral("(?:[Ss]unday|[Mm]onday|[Tt]uesday|[Ww]ednesday|[Tt]hursday|[Ff]riday|"
                   "[Ss]aturday|day)");
const QString kWeekdayList = QStringLiteral("((?:%1(?:,\\s?)?)*)").arg(kWeekday);
const QString kDirection = QStringLiteral("(before|after|next|previous|in)");
const QString kType = QStringLiteral("(public|bank|school|observance|optional)");

const QStringList kMonths = {
    QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
    QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
    QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
    QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
const QStringList kIslamicMonths = {
    QStringLiteral("Muharram"),      QStringLiteral("Safar"),           QStringLiteral("Rabi al-awwal"),
    QStringLiteral("Rabi al-thani"), QStringLiteral("Jumada al-awwal"), QStringLiteral("Jumada al-thani"),
    QStringLiteral("Rajab"),         QStringLiteral("Shaban"),          QStringLiteral("Ramadan"),
    QStringLiteral("Shawwal"),       QStringLiteral("Dhu al-Qidah"),    QStringLiteral("Dhu al-Hijjah")};
// Months from Nisan, as the database counts them; Adar is the 12th, the leap year's second Adar the 13th.
const QStringList kHebrewMonths = {
    QStringLiteral("Nisan"),  QStringLiteral("Iyyar"), QStringLiteral("Sivan"),   QStringLiteral("Tamuz"),
    QStringLiteral("Av"),     QStringLiteral("Elul"),  QStringLiteral("Tishrei"), QStringLiteral("Cheshvan"),
    QStringLiteral("Kislev"), QStringLiteral("Tevet"), QStringLiteral("Shvat"),   QStringLiteral("Adar"),
    QStringLiteral("AdarII")};
const QStringList kPersianMonths = {
    QStringLiteral("Farvardin"), QStringLiteral("Ordibehesht"), QStringLiteral("Khordad"),
    QStringLiteral("Tir"),       QStringLiteral("Mordad"),      QStringLiteral("Shahrivar"),
    QStringLiteral("Mehr"),      QStringLiteral("Aban"),        QStringLiteral("Azar"),
    QStringLiteral("Dey"),       QStringLiteral("Bahman"),      QStringLiteral("Esfand")};

QString Alternatives(QStringList names)
{
    // Longer names first, so "AdarII" is not read as "Adar" followed by "II".
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (QString& name : names) {
        name = QRegularExpression::escape(name);
    }
    return QStringLiteral("(") + names.join(QLatin1Char('|')) + QStringLiteral(")");
}

enum Pattern
{
    kJulian,
    kDate,
    kEaster,
    kIslamic,
    kHebrew,
    kPersian,
    kEquinox,
    kSolarTerm,
    kLunar,
    kBengali,
    kMonthName,
    kIfThen,
    kOnWeekdays,
    kYears,
    kWeekdayFrom,
    kIfHoliday,
    kBridge,
    kTime,
    kDuration,
    kModifierWord,
    kSameDay,
    kSince,
    kPriorTo,
    kPatternCount
};

const std::array<QRegularExpression, kPatternCount>& Patterns()
{
    static const std::array<QRegularExpression, kPatternCount> patterns = [] {
        const QString date = QStringLiteral("(?:0*(\\d{1,4})-)?0?(\\d{1,2})-0?(\\d{1,2})");
        const QString otherDate = QStringLiteral("0?(\\d{1,2}) %1(?: 0*(\\d+))?");
        std::array<QString, kPatternCount> texts;
        texts[kJulian] = QStringLiteral("julian ") + date;
        texts[kDate] = date;
        texts[kEaster] = QStringLiteral("(easter|orthodox)(?: ([-+]?\\d{1,2}) ?(?:days?|d)?)?");
        texts[kIslamic] = otherDate.arg(Alternatives(kIslamicMonths));
        texts[kHebrew] = otherDate.arg(Alternatives(kHebrewMonths));
        texts[kPersian] = otherDate.arg(Alternatives(kPersianMonths));
        texts[kEquinox] = QStringLiteral("([Mm]arch|[Jj]une|[Ss]eptember|[Dd]ecember) (?:equinox|solstice)"
                                         "(?: in ([+-]\\d{2}:\\d{2}|\\S*))?");
        texts[kSolarTerm] = QStringLiteral("(chinese|korean|vietnamese) (?:(\\d+)-(\\d{1,2})-)?(\\d{1,2})-"
                                           "(\\d{1,2}) solarterm");
        texts[kLunar] = QStringLiteral("(chinese|korean|vietnamese) (?:(\\d+)-(\\d{1,2})-)?(\\d{1,2})-([01])-"
                                       "(\\d{1,2})");
        texts[kBengali] = QStringLiteral("bengali-revised (?:-?0*(\\d{1,4})-)?0?(\\d{1,2})-0?(\\d{1,2})");
        texts[kMonthName] = Alternatives(kMonths);
        texts[kIfThen] = QStringLiteral("if %1 then (?:%2 (%3)s?)?").arg(kWeekdayList, kDirection, kWeekday);
        texts[kOnWeekdays] = QStringLiteral("(not )?on %1").arg(kWeekdayList);
        texts[kYears] = QStringLiteral("(?:in (even|odd|leap|non-leap) years|every (\\d+) years? since "
                                       "0*(\\d{1,4}))");
        texts[kWeekdayFrom] =
            QStringLiteral("(?:(\\d+)(?:st|nd|rd|th)? )?(%1)s? %2").arg(kWeekday, kDirection);
        texts[kIfHoliday] = QStringLiteral("if is (?:%1 )?holiday then (?:(\\d+)(?:st|nd|rd|th)? )?"
                                           "(?:%2 (%3)s?)?(?: omit %4)?")
                                .arg(kType, kDirection, kWeekday, kWeekdayList);
        texts[kBridge] = QStringLiteral("is (?:%1 )?holiday").arg(kType);
        texts[kTime] = QStringLiteral("(?:T?0?(\\d{1,2}):0?(\\d{1,2})|T0?(\\d{1,2}))");
        texts[kDuration] = QStringLiteral("P(?:(\\d+)D)?(?:T(?:(\\d+)H)?(?:(\\d+)M)?)?");
        texts[kModifierWord] = QStringLiteral("(substitutes|and|if equal|then|if)\\b");
        texts[kSameDay] = QStringLiteral("#\\d+");
        texts[kSince] = QStringLiteral("since (0*\\d{1,4})(?:-0*(\\d{1,2})(?:-0*(\\d{1,2}))?)?(?: and)?");
        texts[kPriorTo] = QStringLiteral("prior to (0*\\d{1,4})(?:-0*(\\d{1,2})(?:-0*(\\d{1,2}))?)?");
        std::array<QRegularExpression, kPatternCount> compiled;
        for (int i = 0; i < kPatternCount; ++i) {
            compiled[static_cast<size_t>(i)] = QRegularExpression(texts[static_cast<size_t>(i)]);
        }
        return compiled;
    }();
    return patterns;
}

int Number(const QRegularExpressionMatch& m, int group, int fallback = 0)
{
    bool ok = false;
    const int value = m.captured(group).toInt(&ok);
    return ok ? value : fallback;
}

int WeekdayNumber(const QString& name)
{
    static const QStringList names = {QStringLiteral("sunday"),   QStringLiteral("monday"),
                                      QStringLiteral("tuesday"),  QStringLiteral("wednesday"),
                                      QStringLiteral("thursday"), QStringLiteral("friday"),
                                      QStringLiteral("saturday")};
    return static_cast<int>(names.indexOf(name.toLower()));
}

unsigned WeekdaySet(const QString& list)
{
    unsigned set = 0;
    for (const QString& part : list.split(QRegularExpression(QStringLiteral(",\\s?")), Qt::SkipEmptyParts)) {
        const int day = WeekdayNumber(part.trimmed());
        if (day >= 0) {
            set |= 1U << day;
        }
    }
    return set;
}

RuleStep::Direction DirectionOf(const QString& word)
{
    if (word == QLatin1String("before")) {
        return RuleStep::Direction::Before;
    }
    if (word == QLatin1String("previous")) {
        return RuleStep::Direction::Previous;
    }
    if (word == QLatin1String("next")) {
        return RuleStep::Direction::Next;
    }
    return RuleStep::Direction::After; // "after" and "in"
}

Calendar LunarCalendar(const QString& word)
{
    if (word == QLatin1String("korean")) {
        return Calendar::Korean;
    }
    return word == QLatin1String("vietnamese") ? Calendar::Vietnamese : Calendar::Chinese;
}

ParsedRule::Item Source(const DateSource& source)
{
    ParsedRule::Item item;
    item.isSource = true;
    item.source = source;
    return item;
}

ParsedRule::Item Step(const RuleStep& step)
{
    ParsedRule::Item item;
    item.step = step;
    return item;
}

/** Reads the token that pattern `which` found; false when it yields nothing to keep ("#1"). */
bool Token(int which, const QRegularExpressionMatch& m, ParsedRule::Item& item)
{
    DateSource source;
    RuleStep step;
    switch (which) {
    case kJulian:
    case kDate:
        source.calendar = which == kJulian ? Calendar::Julian : Calendar::Gregorian;
        source.year = Number(m, 1);
        source.month = Number(m, 2);
        source.day = Number(m, 3);
        item = Source(source);
        return true;
    case kEaster:
        source.calendar =
            m.captured(1) == QLatin1String("orthodox") ? Calendar::OrthodoxEaster : Calendar::Easter;
        source.offset = Number(m, 2);
        item = Source(source);
        return true;
    case kIslamic:
    case kHebrew:
    case kPersian: {
        const QStringList& months = which == kIslamic  ? kIslamicMonths
                                    : which == kHebrew ? kHebrewMonths
                                                       : kPersianMonths;
        source.calendar = which == kIslamic  ? Calendar::Islamic
                          : which == kHebrew ? Calendar::Hebrew
                                             : Calendar::Persian;
        source.day = Number(m, 1);
        source.month = static_cast<int>(months.indexOf(m.captured(2))) + 1;
        source.year = Number(m, 3);
        item = Source(source);
        return true;
    }
    case kEquinox:
        source.calendar = Calendar::Equinox;
        source.month =
            static_cast<int>(kMonths.indexOf(m.captured(1).at(0).toUpper() + m.captured(1).mid(1))) + 1;
        source.timeZone = m.captured(2);
        item = Source(source);
        return true;
    case kSolarTerm:
        source.calendar = Calendar::SolarTerm;
        source.cycle = Number(m, 2);
        source.year = Number(m, 3);
        source.month = Number(m, 4); // the term
        source.day = Number(m, 5);
        source.timeZone = m.captured(1);
        item = Source(source);
        return true;
    case kLunar:
        source.calendar = LunarCalendar(m.captured(1));
        source.cycle = Number(m, 2);
        source.year = Number(m, 3);
        source.month = Number(m, 4);
        source.leapMonth = Number(m, 5) != 0;
        source.day = Number(m, 6);
        item = Source(source);
        return true;
    case kBengali:
        source.calendar = Calendar::BengaliRevised;
        source.year = Number(m, 1);
        source.month = Number(m, 2);
        source.day = Number(m, 3);
        item = Source(source);
        return true;
    case kMonthName:
        source.month = static_cast<int>(kMonths.indexOf(m.captured(1))) + 1;
        source.day = 1;
        item = Source(source);
        return true;
    case kIfThen:
        step.kind = RuleStep::IfWeekdayThen;
        step.weekdays = WeekdaySet(m.captured(1));
        step.hasTarget = m.hasCaptured(3) && WeekdayNumber(m.captured(3)) >= 0;
        step.direction = DirectionOf(m.captured(2));
        step.weekday = WeekdayNumber(m.captured(3));
        break;
    case kOnWeekdays:
        step.kind = RuleStep::OnWeekdays;
        step.negate = m.hasCaptured(1);
        step.weekdays = WeekdaySet(m.captured(2));
        break;
    case kYears:
        step.kind = RuleStep::YearFilter;
        if (m.hasCaptured(1)) {
            const QString word = m.captured(1);
            step.years = word == QLatin1String("even")   ? RuleStep::Years::Even
                         : word == QLatin1String("odd")  ? RuleStep::Years::Odd
                         : word == QLatin1String("leap") ? RuleStep::Years::Leap
                                                         : RuleStep::Years::NonLeap;
        } else {
            step.years = RuleStep::Years::Every;
            step.every = Number(m, 2);
            step.since = Number(m, 3);
        }
        break;
    case kWeekdayFrom:
        step.kind = RuleStep::WeekdayFrom;
        step.count = Number(m, 1, 1);
        step.weekday = WeekdayNumber(m.captured(2));
        step.direction = DirectionOf(m.captured(3));
        break;
    case kIfHoliday:
        step.kind = RuleStep::IfHoliday;
        step.type = m.captured(1);
        step.count = Number(m, 2, 1);
        step.direction = DirectionOf(m.captured(3));
        step.weekday = WeekdayNumber(m.captured(4));
        step.weekdays = WeekdaySet(m.captured(5));
        break;
    case kBridge:
        step.kind = RuleStep::Bridge;
        step.type = m.captured(1);
        break;
    case kTime:
        step.kind = RuleStep::Time;
        step.hours = (m.hasCaptured(1) ? Number(m, 1) * 60 + Number(m, 2) : Number(m, 3) * 60);
        break;
    case kDuration:
        step.kind = RuleStep::Duration;
        step.hours = Number(m, 1) * 24 + Number(m, 2) + Number(m, 3) / 60;
        break;
    case kModifierWord:
        step.kind = RuleStep::Modifier;
        step.modifier = m.captured(1);
        break;
    case kSince:
    case kPriorTo:
        step.kind = which == kSince ? RuleStep::ActiveFrom : RuleStep::ActiveTo;
        step.year = Number(m, 1);
        step.month = Number(m, 2, 1);
        step.day = Number(m, 3, 1);
        break;
    default:
        return false;
    }
    item = Step(step);
    return true;
}

} // namespace

std::optional<ParsedRule> ParseHolidayRule(const QString& text)
{
    const auto& patterns = Patterns();
    QList<ParsedRule::Item> tokens;
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (text.at(pos).isSpace()) {
            ++pos;
            continue;
        }
        bool matched = false;
        for (int i = 0; i < kPatternCount && !matched; ++i) {
            const QRegularExpressionMatch m = patterns[static_cast<size_t>(i)].match(
                text, pos, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (!m.hasMatch() || m.capturedLength(0) == 0) {
                continue;
            }
            matched = true;
            pos += m.capturedLength(0);
            ParsedRule::Item item;
            if (Token(i, m, item)) {
                tokens.append(item);
            }
        }
        if (!matched) {
            return std::nullopt;
        }
    }

    // "2nd monday in June" names its steps before the date they start from: they apply after it, the one
    // nearest the date first. Modifiers written before the first date ("substitutes 12-25 ...") apply after
    // it.
    ParsedRule rule;
    QList<ParsedRule::Item> pending;
    QList<ParsedRule::Item> leadingModifiers;
    for (const ParsedRule::Item& token : tokens) {
        if (!token.isSource && token.step.kind == RuleStep::WeekdayFrom) {
            pending.append(token);
            continue;
        }
        if (!token.isSource && token.step.kind == RuleStep::Modifier && rule.items.isEmpty()) {
            leadingModifiers.append(token);
            continue;
        }
        rule.items.append(token);
        if (token.isSource && !leadingModifiers.isEmpty() && rule.items.size() == 1) {
            rule.items.append(leadingModifiers);
            leadingModifiers.clear();
        }
        while (!pending.isEmpty()) {
            rule.items.append(pending.takeLast());
        }
    }
    while (!pending.isEmpty()) {
        rule.items.append(pending.takeLast());
    }
    if (rule.items.isEmpty() || !rule.items.first().isSource) {
        return std::nullopt;
    }
    return rule;
}

} // namespace holidays
