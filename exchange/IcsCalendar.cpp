#include "exchange/IcsCalendar.h"

#include <QFile>
#include <QHash>

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <tuple>

namespace exchange {

namespace {

// Steps of libical's recurrence iterator: each takes microseconds, so these bound the work of one expansion.
constexpr int kStepsPerRule = 10000;
constexpr int kStepsPerExpansion = 40000;
// Deeper nesting than any calendar needs; libical frees components recursively.
constexpr int kMaxNesting = 64;
constexpr qint64 kDaySeconds = 24 * 60 * 60;
// Events without a start named in the warnings; the rest are counted.
constexpr int kNamedLeftOut = 3;

void InitLibical()
{
    static std::once_flag once;
    std::call_once(once, [] { icalerror_set_errors_are_fatal(0); });
}

QString Text(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

/** Where the wall times of a property are: a zone libical knows, a zone only Qt knows, or written as is. */
struct ZoneInfo
{
    icaltimezone* ical = nullptr;
    QTimeZone qt;
    /** A TZID nobody knows: the times are taken as written. */
    QString unknown;
};

/** The zone named by the property's TZID, looked up in the calendar, in libical's and then in Qt's zones. */
ZoneInfo ResolveZone(icalproperty* property, icalcomponent* vcalendar)
{
    ZoneInfo zone;
    icalparameter* parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (!parameter)
        return zone;
    const char* tzid = icalparameter_get_tzid(parameter);
    if (!tzid || !*tzid)
        return zone;
    zone.ical = vcalendar ? icalcomponent_get_timezone(vcalendar, tzid) : nullptr;
    if (!zone.ical)
        zone.ical = icaltimezone_get_builtin_timezone_from_tzid(tzid);
    if (!zone.ical)
        zone.ical = icaltimezone_get_builtin_timezone(tzid);
    if (zone.ical)
        return zone;
    // Windows names ("W. Europe Standard Time") come from programs that did not write their VTIMEZONE.
    const QByteArray id(tzid);
    if (QTimeZone::isTimeZoneIdAvailable(id))
        zone.qt = QTimeZone(id);
    else if (const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(id); !iana.isEmpty())
        zone.qt = QTimeZone(iana);
    if (!zone.qt.isValid())
        zone.unknown = QString::fromUtf8(tzid);
    return zone;
}

/** A time of the file as a wall time (no libical zone) and the zone it is in; "Z" times are in UTC. */
std::pair<icaltimetype, ZoneInfo> WallTime(icaltimetype t, icalproperty* property, icalcomponent* vcalendar)
{
    ZoneInfo zone;
    if (icaltime_is_utc(t))
        zone.ical = icaltimezone_get_utc_timezone();
    else
        zone = ResolveZone(property, vcalendar);
    t.zone = nullptr;
    return {t, zone};
}

/** A wall time of the file in the target zone; invalid for a date that does not exist. */
QDateTime ToZone(const icaltimetype& t, const ZoneInfo& zone, const QTimeZone& target)
{
    const QDate date(t.year, t.month, t.day);
    if (!date.isValid())
        return QDateTime();
    if (t.is_date)
        return QDateTime(date, QTime(0, 0), target);
    const QTime time(std::clamp(t.hour, 0, 23), std::clamp(t.minute, 0, 59), std::clamp(t.second, 0, 59));
    if (zone.ical)
        return QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(t, zone.ical), target);
    if (zone.qt.isValid())
        return QDateTime(date, time, zone.qt).toTimeZone(target);
    return QDateTime(date, time, target);
}

QList<int> ByValues(const short* values, int size)
{
    QList<int> list;
    for (int i = 0; i < size && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        list.append(values[i]);
    return list;
}

int LongestMonth(int month)
{
    return month == 2 ? 29 : QDate(2001, month, 1).daysInMonth();
}

/**
 * False for rules whose parts exclude each other (the 30th of February, the first week in June): libical
 * looks for a match for centuries before it gives up.
 */
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

/** A start that a changed or cancelled occurrence replaces: a day, or an instant. */
struct InstanceKey
{
    bool isDate = false;
    QDate day;
    /** Seconds since the epoch; a time without a zone counts as written in UTC, on both sides alike. */
    qint64 utc = 0;

    /** A day on either side (calendar programs mix the value types) matches the occurrence's day. */
    bool Matches(const InstanceKey& start) const
    {
        return isDate || start.isDate ? day == start.day : utc == start.utc;
    }
};

struct Event
{
    QString summary;
    QString uid;
    icaltimetype start = icaltime_null_time();
    ZoneInfo zone;
    qint64 seconds = 0; // duration of a timed event
    int days = 0;       // duration of a whole-day event
    QList<icalrecurrencetype> rules;
    QList<std::pair<icaltimetype, ZoneInfo>> rdates;
    QList<InstanceKey> exdates;
    int index = 0;
};

InstanceKey KeyOf(const icaltimetype& t, const ZoneInfo& zone)
{
    InstanceKey key;
    key.isDate = t.is_date;
    key.day = QDate(t.year, t.month, t.day);
    if (!t.is_date)
        key.utc = ToZone(t, zone, QTimeZone::utc()).toSecsSinceEpoch();
    return key;
}

/** The greatest depth of BEGIN/END lines; reading stops counting once it is beyond the limit. */
int Nesting(const QByteArray& data)
{
    int depth = 0;
    int deepest = 0;
    qsizetype at = 0;
    while (at < data.size() && deepest <= kMaxNesting) {
        qsizetype end = data.indexOf('\n', at);
        if (end < 0)
            end = data.size();
        const QByteArrayView line = QByteArrayView(data).sliced(at, end - at);
        if (line.size() >= 6 && qstrnicmp(line.data(), "BEGIN:", 6) == 0)
            deepest = std::max(deepest, ++depth);
        else if (line.size() >= 4 && qstrnicmp(line.data(), "END:", 4) == 0)
            depth = std::max(0, depth - 1);
        at = end + 1;
    }
    return deepest;
}

/**
 * Hands the file to libical's parser line by line, leaving out what the program never reads: descriptions,
 * attendees, attachments, alarms and the like are most of a calendar application's export, and parsing them
 * would be most of the time. Time-zone definitions are handed over whole.
 */
class LineFeed
{
public:
    explicit LineFeed(const QByteArray& text) : m_at(text.constData()), m_end(text.constData() + text.size())
    {}

    /** libical's line source: the next piece of a line (pieces of at most size - 1 bytes), or null at the
     * end. */
    static char* Next(char* out, size_t size, void* self)
    {
        auto* feed = static_cast<LineFeed*>(self);
        if (size < 2)
            return nullptr;
        while (feed->m_at < feed->m_end) {
            const char* newline =
                static_cast<const char*>(std::memchr(feed->m_at, '\n', feed->m_end - feed->m_at));
            const char* lineEnd = newline ? newline + 1 : feed->m_end;
            if (!feed->m_midLine && !feed->keep(QByteArrayView(feed->m_at, lineEnd - feed->m_at))) {
                feed->m_at = lineEnd;
                continue;
            }
            const size_t n = std::min<size_t>(size - 1, size_t(lineEnd - feed->m_at));
            std::memcpy(out, feed->m_at, n);
            out[n] = 0;
            feed->m_at += n;
            feed->m_midLine = feed->m_at < lineEnd;
            return out;
        }
        return nullptr;
    }

private:
    static bool Named(QByteArrayView name, const char* what)
    {
        return name.size() == qsizetype(std::strlen(what)) && qstrnicmp(name.data(), what, name.size()) == 0;
    }

    /** Properties of events and of the calendar that nothing here reads. */
    static bool Unused(QByteArrayView name)
    {
        static const char* const kUnused[] = {
            "DESCRIPTION", "LOCATION",  "DTSTAMP",    "CREATED", "LAST-MODIFIED", "SEQUENCE",      "ATTENDEE",
            "ORGANIZER",   "ATTACH",    "CATEGORIES", "CLASS",   "COMMENT",       "CONTACT",       "GEO",
            "PRIORITY",    "RESOURCES", "TRANSP",     "URL",     "RELATED-TO",    "REQUEST-STATUS"};
        if (name.size() >= 2 && qstrnicmp(name.data(), "X-", 2) == 0)
            return true;
        return std::any_of(std::begin(kUnused), std::end(kUnused),
                           [name](const char* u) { return Named(name, u); });
    }

    /** Whether a whole line goes to the parser; a folded line's continuations follow their first line. */
    bool keep(QByteArrayView line)
    {
        if (line.startsWith(' ') || line.startsWith('\t'))
            return !m_skipping;
        qsizetype nameEnd = 0;
        while (nameEnd < line.size() && line[nameEnd] != ':' && line[nameEnd] != ';' &&
               line[nameEnd] != '\r' && line[nameEnd] != '\n')
            ++nameEnd;
        const QByteArrayView name = line.first(nameEnd);
        QByteArrayView value = nameEnd < line.size() ? line.sliced(nameEnd + 1) : QByteArrayView();
        while (!value.isEmpty() && (value.back() == '\n' || value.back() == '\r'))
            value.chop(1);
        const bool begin = Named(name, "BEGIN");
        const bool end = Named(name, "END");
        if (m_alarms > 0 || (begin && Named(value, "VALARM"))) {
            // Alarms are left out whole, with whatever they hold.
            m_alarms += begin ? 1 : end ? -1 : 0;
            m_skipping = true;
            return false;
        }
        if (begin && Named(value, "VTIMEZONE"))
            ++m_zones;
        else if (end && Named(value, "VTIMEZONE"))
            m_zones = std::max(0, m_zones - 1);
        m_skipping = m_zones == 0 && !begin && !end && Unused(name);
        return !m_skipping;
    }

    const char* m_at;
    const char* m_end;
    bool m_midLine = false;
    bool m_skipping = false;
    int m_alarms = 0;
    int m_zones = 0;
};

} // namespace

struct IcsCalendar::Impl
{
    icalcomponent* root = nullptr;
    QList<Event> events;
    QHash<QString, QList<InstanceKey>> replaced; // by UID: occurrences given by an event of their own
    QString error;
    QStringList readWarnings;
    int leftOut = 0; // events without a start

    ~Impl()
    {
        if (root)
            icalcomponent_free(root);
    }

    void addEvent(icalcomponent* component, icalcomponent* vcalendar);
    /** The days asked for, and their first and following midnight in the zone asked for. */
    struct Window
    {
        QDate first;
        QDate last;
        QTimeZone zone;
        QDateTime start;
        QDateTime end;
    };
    void expand(const Event& event, const Window& window, int& steps, IcsExpansion& result) const;
};

void IcsCalendar::Impl::addEvent(icalcomponent* component, icalcomponent* vcalendar)
{
    Event event;
    event.uid = Text(icalcomponent_get_uid(component));
    icalproperty* start = icalcomponent_get_first_property(component, ICAL_DTSTART_PROPERTY);
    const bool cancelled = icalcomponent_get_status(component) == ICAL_STATUS_CANCELLED;
    if (icalproperty* id = icalcomponent_get_first_property(component, ICAL_RECURRENCEID_PROPERTY)) {
        const auto [t, zone] = WallTime(icalproperty_get_recurrenceid(id), id, vcalendar);
        // Without a zone of its own it is a wall time of the zone the event's start is in.
        const bool zoned = zone.ical || zone.qt.isValid() || !zone.unknown.isEmpty();
        const ZoneInfo startZone =
            start ? WallTime(icalproperty_get_dtstart(start), start, vcalendar).second : zone;
        if (!icaltime_is_null_time(t) && !event.uid.isEmpty())
            replaced[event.uid].append(KeyOf(t, zoned ? zone : startZone));
    }
    if (cancelled)
        return;
    if (!start || icaltime_is_null_time(icalproperty_get_dtstart(start)) ||
        !QDate(icalproperty_get_dtstart(start).year, icalproperty_get_dtstart(start).month,
               icalproperty_get_dtstart(start).day)
             .isValid()) {
        if (++leftOut <= kNamedLeftOut) {
            readWarnings.append(QStringLiteral("An event without a valid start was left out: \u201C%1\u201D")
                                    .arg(Text(icalcomponent_get_summary(component)).left(64)));
        }
        return;
    }
    std::tie(event.start, event.zone) = WallTime(icalproperty_get_dtstart(start), start, vcalendar);
    event.summary = Text(icalcomponent_get_summary(component));
    event.index = int(events.size());

    // Duration: DTEND, else DURATION, else one day for a date and none for a time.
    if (icalproperty* end = icalcomponent_get_first_property(component, ICAL_DTEND_PROPERTY)) {
        const auto [e, endZone] = WallTime(icalproperty_get_dtend(end), end, vcalendar);
        if (event.start.is_date) {
            event.days = int(QDate(event.start.year, event.start.month, event.start.day)
                                 .daysTo(QDate(e.year, e.month, e.day)));
        } else {
            const QDateTime s = ToZone(event.start, event.zone, QTimeZone::utc());
            const QDateTime f = ToZone(e, endZone, QTimeZone::utc());
            event.seconds = s.isValid() && f.isValid() ? s.secsTo(f) : 0;
        }
    } else if (icalproperty* duration = icalcomponent_get_first_property(component, ICAL_DURATION_PROPERTY)) {
        const int seconds = icaldurationtype_as_int(icalproperty_get_duration(duration));
        if (event.start.is_date)
            event.days = int(seconds / kDaySeconds);
        else
            event.seconds = seconds;
    } else if (event.start.is_date) {
        event.days = 1;
    }
    // Ends before their start count as no duration; a whole-day event lasts at least its day.
    event.seconds = std::max<qint64>(event.seconds, 0);
    event.days = std::max(event.days, 1);

    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_RRULE_PROPERTY))
        event.rules.append(icalproperty_get_rrule(p));
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
        const auto rdate =
            WallTime(icaltime_is_null_time(value.time) ? value.period.start : value.time, p, vcalendar);
        if (!icaltime_is_null_time(rdate.first))
            event.rdates.append(rdate);
    }
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_EXDATE_PROPERTY)) {
        const auto [t, zone] = WallTime(icalproperty_get_exdate(p), p, vcalendar);
        // An EXDATE without a zone of its own is a wall time of the event's zone.
        event.exdates.append(
            KeyOf(t, zone.ical || zone.qt.isValid() || !zone.unknown.isEmpty() ? zone : event.zone));
    }
    events.append(event);
}

void IcsCalendar::Impl::expand(const Event& event, const Window& window, int& steps,
                               IcsExpansion& result) const
{
    const QDate& first = window.first;
    const QDate& last = window.last;
    const QTimeZone& zone = window.zone;
    const QDateTime& windowStart = window.start;
    const QDateTime& windowEnd = window.end;
    // Wall dates of the file within these bounds can touch the window in any zone.
    const qint64 spanDays = event.start.is_date ? event.days : event.seconds / kDaySeconds + 1;
    const QDate from = first.addDays(-2 - std::min<qint64>(spanDays, 100000));
    const QDate to = last.addDays(2);
    const QDate startDay(event.start.year, event.start.month, event.start.day);

    QList<std::pair<icaltimetype, ZoneInfo>> candidates;
    candidates.append({event.start, event.zone});
    bool tooFrequent = false;
    bool cut = false;
    for (const icalrecurrencetype& rule : event.rules) {
        if (rule.freq == ICAL_SECONDLY_RECURRENCE || rule.freq == ICAL_MINUTELY_RECURRENCE) {
            tooFrequent = true;
            continue;
        }
        if (rule.freq == ICAL_NO_RECURRENCE || !CanMatch(rule) || startDay > to)
            continue;
        // A rule without a count ends, for this expansion, with the window: libical then gives up a search
        // for a rare match (a Monday 29 February, hour by hour) at the window's end, not decades later.
        icalrecurrencetype bounded = rule;
        if (rule.count == 0) {
            const QDate end = to.addDays(1);
            const QDate until(rule.until.year, rule.until.month, rule.until.day);
            if (icaltime_is_null_time(rule.until) || !until.isValid() || until > end) {
                bounded.until = event.start;
                bounded.until.year = end.year();
                bounded.until.month = end.month();
                bounded.until.day = end.day();
                bounded.until.hour = bounded.until.minute = bounded.until.second = 0;
            }
        }
        icalrecur_iterator* it = icalrecur_iterator_new(bounded, event.start);
        if (!it)
            continue;
        if (rule.count == 0 && startDay < from) {
            icaltimetype skip = event.start;
            skip.year = from.year();
            skip.month = from.month();
            skip.day = from.day();
            icalrecur_iterator_set_start(it, skip);
        }
        int ruleSteps = 0;
        while (true) {
            if (ruleSteps >= kStepsPerRule || steps >= kStepsPerExpansion) {
                cut = true;
                break;
            }
            ++ruleSteps;
            ++steps;
            const icaltimetype t = icalrecur_iterator_next(it);
            if (icaltime_is_null_time(t))
                break;
            const QDate day(t.year, t.month, t.day);
            if (!day.isValid() || day > to)
                break;
            if (day >= from)
                candidates.append({t, event.zone});
        }
        icalrecur_iterator_free(it);
    }
    for (const auto& rdate : event.rdates) {
        const QDate day(rdate.first.year, rdate.first.month, rdate.first.day);
        if (day >= from && day <= to)
            candidates.append(rdate);
    }

    const QList<InstanceKey> noKeys;
    const QList<InstanceKey>& replacedHere = event.uid.isEmpty() ? noKeys : replaced.value(event.uid);
    const bool recurring = !event.rules.isEmpty() || !event.rdates.isEmpty();
    QList<qint64> seen;
    int taken = 0;
    for (const auto& [t, tz] : candidates) {
        const QDateTime s = ToZone(t, tz, zone);
        if (!s.isValid())
            continue;
        const QDateTime e =
            t.is_date ? QDateTime(s.date().addDays(event.days), QTime(0, 0), zone) : s.addSecs(event.seconds);
        const bool touches = e > s ? (e > windowStart && s < windowEnd) : (s >= windowStart && s < windowEnd);
        if (!touches)
            continue;
        const qint64 instant = s.toSecsSinceEpoch();
        if (seen.contains(instant))
            continue;
        seen.append(instant);
        if (!event.exdates.isEmpty() || (recurring && !replacedHere.isEmpty())) {
            const InstanceKey key = KeyOf(t, tz);
            auto matches = [&key](const InstanceKey& other) { return other.Matches(key); };
            if (std::any_of(event.exdates.begin(), event.exdates.end(), matches))
                continue;
            if (recurring && std::any_of(replacedHere.begin(), replacedHere.end(), matches))
                continue;
        }
        if (taken == IcsCalendar::kMaxPerEvent) {
            result.warnings.append(
                QStringLiteral("\u201C%1\u201D occurs more than %2 times in these days; the "
                               "rest are left out.")
                    .arg(event.summary.left(64))
                    .arg(IcsCalendar::kMaxPerEvent));
            break;
        }
        ++taken;
        result.occurrences.append({s, e, bool(t.is_date), event.summary, event.index});
    }
    if (tooFrequent)
        result.warnings.append(
            QStringLiteral("\u201C%1\u201D repeats every minute or second; only its first time is shown.")
                .arg(event.summary.left(64)));
    if (cut)
        result.warnings.append(QStringLiteral("The repetitions of \u201C%1\u201D took too long to work out; "
                                              "some may be missing.")
                                   .arg(event.summary.left(64)));
    if (!event.zone.unknown.isEmpty() && taken > 0)
        result.warnings.append(
            QStringLiteral("Unknown time zone \u201C%1\u201D: its times are shown as written.")
                .arg(event.zone.unknown.left(64)));
}

IcsCalendar::IcsCalendar() : d(std::make_unique<Impl>()) {}
IcsCalendar::~IcsCalendar() = default;
IcsCalendar::IcsCalendar(IcsCalendar&& other) noexcept = default;
IcsCalendar& IcsCalendar::operator=(IcsCalendar&& other) noexcept = default;

bool IcsCalendar::Read(const QByteArray& data)
{
    InitLibical();
    d = std::make_unique<Impl>();
    if (Nesting(data) > kMaxNesting) {
        d->error = QStringLiteral("The file is not an iCalendar file: its parts are nested too deeply.");
        return false;
    }
    // The parser reads up to the first NUL. Lines end with LF (or CR LF); a file of CR alone is made so.
    QByteArray text = data.startsWith("\xEF\xBB\xBF") ? data.mid(3) : data;
    if (const qsizetype nul = text.indexOf('\0'); nul >= 0)
        text.truncate(nul);
    if (!text.contains('\n'))
        text.replace('\r', '\n');
    LineFeed feed(text);
    icalparser* parser = icalparser_new();
    icalparser_set_gen_data(parser, &feed);
    d->root = icalparser_parse(parser, &LineFeed::Next);
    if (!d->root) {
        // A file that ends inside a component (cut off in a download) keeps what it holds: the parser closes
        // what is open. The parser owns that tree and frees it with itself, so a copy is kept.
        if (icalcomponent* partial = icalparser_clean(parser)) {
            d->root = icalcomponent_new_clone(partial);
            d->readWarnings.append(
                QStringLiteral("The file ends early; the events before the end were read."));
        }
    }
    icalparser_free(parser);
    QList<icalcomponent*> calendars;
    if (d->root && icalcomponent_isa(d->root) == ICAL_VCALENDAR_COMPONENT) {
        calendars.append(d->root);
    } else if (d->root && icalcomponent_isa(d->root) == ICAL_XROOT_COMPONENT) {
        for (icalcomponent* c = icalcomponent_get_first_component(d->root, ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(d->root, ICAL_VCALENDAR_COMPONENT))
            calendars.append(c);
    }
    if (calendars.isEmpty()) {
        d->error = QStringLiteral("The file is not an iCalendar file: it has no calendar (BEGIN:VCALENDAR).");
        return false;
    }
    for (icalcomponent* calendar : calendars) {
        for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c;
             c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            d->addEvent(c, calendar);
    }
    if (d->leftOut > kNamedLeftOut) {
        d->readWarnings.append(
            QStringLiteral("... and %1 more events without a valid start.").arg(d->leftOut - kNamedLeftOut));
    }
    return true;
}

bool IcsCalendar::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        d = std::make_unique<Impl>();
        d->error = QStringLiteral("Unable to read %1: %2").arg(path, file.errorString());
        return false;
    }
    return Read(file.readAll());
}

QString IcsCalendar::ErrorString() const
{
    return d->error;
}

int IcsCalendar::EventCount() const
{
    return int(d->events.size());
}

QStringList IcsCalendar::ReadWarnings() const
{
    return d->readWarnings;
}

IcsExpansion IcsCalendar::Occurrences(const QDate& first, const QDate& last, const QTimeZone& zone) const
{
    IcsExpansion result;
    if (!first.isValid() || !last.isValid())
        return result;
    const Impl::Window window{first, last, zone, QDateTime(first, QTime(0, 0), zone),
                              QDateTime(last.addDays(1), QTime(0, 0), zone)};
    int steps = 0;
    for (const Event& event : d->events) {
        // Single events far from the window need no time-zone arithmetic.
        const QDate day(event.start.year, event.start.month, event.start.day);
        const qint64 spanDays = event.start.is_date ? event.days : event.seconds / kDaySeconds + 1;
        if (event.rules.isEmpty() && event.rdates.isEmpty() &&
            (day > last.addDays(2) || day.addDays(spanDays + 2) < first))
            continue;
        d->expand(event, window, steps, result);
    }
    std::stable_sort(result.occurrences.begin(), result.occurrences.end(),
                     [](const IcsOccurrence& a, const IcsOccurrence& b) {
                         if (a.start != b.start)
                             return a.start < b.start;
                         return a.eventIndex < b.eventIndex;
                     });
    if (result.occurrences.size() > kMaxOccurrences) {
        result.occurrences.resize(kMaxOccurrences);
        result.warnings.append(
            QStringLiteral("More than %1 events fall in these days; the rest are left out.")
                .arg(kMaxOccurrences));
    }
    result.warnings.removeDuplicates();
    return result;
}

} // namespace exchange
