#include "exchange/IcsCalendar.h"

#include "exchange/IcsLineFeed.h"
#include "exchange/IcsRules.h"
#include "platform/PrintableText.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringConverter>

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
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

/** An instant as a wall time of the zone a rule is stepped in: what ToZone takes back to the instant. */
icaltimetype WallOf(const QDateTime& instant, const ZoneInfo& zone)
{
    if (zone.ical) {
        icaltimetype t = icaltime_from_timet_with_zone(instant.toSecsSinceEpoch(), 0, zone.ical);
        t.zone = nullptr;
        return t;
    }
    // A time without a zone is shown as written, so its wall time is the one shown.
    const QDateTime wall = zone.qt.isValid() ? instant.toTimeZone(zone.qt) : instant;
    icaltimetype t = icaltime_null_time();
    t.year = wall.date().year();
    t.month = wall.date().month();
    t.day = wall.date().day();
    t.hour = wall.time().hour();
    t.minute = wall.time().minute();
    t.second = wall.time().second();
    return t;
}

/** The rule with UNTIL a wall time of the zone it is stepped in: a time in UTC is that instant there. */
icalrecurrencetype InWallTime(const icalrecurrencetype& rule, const ZoneInfo& zone)
{
    icalrecurrencetype stepped = rule;
    if (!icaltime_is_null_time(rule.until) && !rule.until.is_date && icaltime_is_utc(rule.until)) {
        stepped.until =
            WallOf(QDateTime::fromSecsSinceEpoch(icaltime_as_timet(rule.until), QTimeZone::utc()), zone);
    }
    stepped.until.zone = nullptr;
    return stepped;
}

/** The wall time just after an occurrence: the next second, or the next day after a date. */
icaltimetype After(icaltimetype t)
{
    if (t.is_date) {
        t = icaltime_add(t, icaldurationtype_from_int(int(kDaySeconds)));
        t.is_date = 0;
        t.hour = t.minute = t.second = 0;
        return t;
    }
    return icaltime_add(t, icaldurationtype_from_int(1));
}

/**
 * The file's text as UTF-8. A byte-order mark tells UTF-8, UTF-16 or UTF-32, and so does the first character
 * of a file in UTF-16 or UTF-32 without one: the B of BEGIN. Other text is taken as UTF-8.
 */
QByteArray Utf8Text(const QByteArray& data)
{
    const std::optional<QStringConverter::Encoding> encoding = QStringConverter::encodingForData(data, u'B');
    if (!encoding || *encoding == QStringConverter::Utf8)
        return data.startsWith("\xEF\xBB\xBF") ? data.mid(3) : data;
    QStringDecoder decoder(*encoding);
    const QString text = decoder.decode(data);
    return text.toUtf8();
}

/** Whether the text is UTF-8 without a NUL, as iCalendar files are. */
bool IsUtf8Text(const QByteArray& text)
{
    if (text.contains('\0'))
        return false;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(text);
    return !decoder.hasError();
}

/** The occurrences of one rule kept on each day, and how many of them days show. */
class Shown
{
public:
    /** Counts an occurrence kept on a day (none for an invalid one): the number shown so far. */
    int Add(const QDate& day)
    {
        if (day.isValid() && ++m_perDay[day] <= IcsCalendar::kMaxPerDay)
            ++m_shown;
        return m_shown;
    }
    int On(const QDate& day) const { return m_perDay.value(day); }

private:
    QHash<QDate, int> m_perDay;
    int m_shown = 0;
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
    /** The wall days of the file to expand, and the window's zone, first and following midnight. */
    struct Bounds
    {
        QDate from;
        QDate to;
        QTimeZone zone;
        QDateTime start;
        QDateTime end;
        /** The most occurrences of an event the window shows. */
        int most;
    };
    /** Expands a rule of an event that is expanded here, not by libical; true when it took too long. */
    bool expandOwn(const Event& event, const icalrecurrencetype& rule, OwnRule& own, const Bounds& bounds,
                   int& steps, int limit,
                   const std::function<QDate(const icaltimetype&, const ZoneInfo&)>& take) const;
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
            readWarnings.append(
                QStringLiteral("An event without a valid start was left out: \u201C%1\u201D")
                    .arg(platform::PrintableName(Text(icalcomponent_get_summary(component)))));
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
        event.rules.append(Corrected(icalproperty_get_rrule(p)));
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
    const QTimeZone& zone = window.zone;
    // Wall dates of the file within these bounds can touch the window in any zone.
    const qint64 spanDays = event.start.is_date ? event.days : event.seconds / kDaySeconds + 1;
    const QDate from = window.first.addDays(-2 - std::min<qint64>(spanDays, 100000));
    const QDate to = window.last.addDays(2);
    const QDate startDay(event.start.year, event.start.month, event.start.day);

    const QList<InstanceKey> noKeys;
    const QList<InstanceKey>& replacedHere = event.uid.isEmpty() ? noKeys : replaced.value(event.uid);
    const bool recurring = !event.rules.isEmpty() || !event.rdates.isEmpty();
    struct Found
    {
        QDateTime start;
        QDateTime end;
        bool allDay;
    };
    QList<Found> found;
    QSet<qint64> seen;
    // Keeps a start of the file that touches the window, is not excluded and not yet kept: the day it begins
    // on where it is shown, or an invalid date.
    auto take = [&](const icaltimetype& t, const ZoneInfo& tz) -> QDate {
        const QDateTime s = ToZone(t, tz, zone);
        if (!s.isValid())
            return {};
        const QDateTime e =
            t.is_date ? QDateTime(s.date().addDays(event.days), QTime(0, 0), zone) : s.addSecs(event.seconds);
        const bool touches =
            e > s ? (e > window.start && s < window.end) : (s >= window.start && s < window.end);
        if (!touches)
            return {};
        const qint64 instant = s.toSecsSinceEpoch();
        if (seen.contains(instant))
            return {};
        seen.insert(instant);
        if (!event.exdates.isEmpty() || (recurring && !replacedHere.isEmpty())) {
            const InstanceKey key = KeyOf(t, tz);
            auto matches = [&key](const InstanceKey& other) { return other.Matches(key); };
            if (std::any_of(event.exdates.begin(), event.exdates.end(), matches))
                return {};
            if (recurring && std::any_of(replacedHere.begin(), replacedHere.end(), matches))
                return {};
        }
        found.append({s, e, bool(t.is_date)});
        return s.date();
    };

    // A day shows its first kMaxPerDay of an event, so the window at most this many (days before it count
    // for events that reach into it); beyond them a long event every day for centuries is work for nothing.
    const int most = IcsCalendar::kMaxPerDay * int(window.first.daysTo(window.last) + 3);
    take(event.start, event.zone);
    bool cut = false;
    for (const icalrecurrencetype& rule : event.rules) {
        if (rule.freq == ICAL_NO_RECURRENCE || startDay > to)
            continue;
        const int limit = std::min(steps + kStepsPerRule, kStepsPerExpansion);
        if (const std::unique_ptr<OwnRule> own = OwnRule::For(InWallTime(rule, event.zone), event.start)) {
            cut = expandOwn(event, rule, *own, {from, to, zone, window.start, window.end, most}, steps, limit,
                            take) ||
                  cut;
            continue;
        }
        if (!CanMatch(rule))
            continue;
        // A rule without a count ends, for this expansion, with the window: libical then gives up a search
        // for a rare match (a Monday 29 February, day by day) at the window's end, not decades later.
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
        Shown shows;
        if (rule.count == 0 && startDay < from) {
            icaltimetype skip = event.start;
            skip.year = from.year();
            skip.month = from.month();
            skip.day = from.day();
            icalrecur_iterator_set_start(it, skip);
        }
        while (true) {
            if (steps >= limit) {
                cut = true;
                break;
            }
            ++steps;
            const icaltimetype t = icalrecur_iterator_next(it);
            if (icaltime_is_null_time(t))
                break;
            const QDate day(t.year, t.month, t.day);
            if (!day.isValid())
                break;
            if (day > to)
                break;
            // The rule's later occurrences come after those that fill the window.
            if (day >= from && day <= to && shows.Add(take(t, event.zone)) > most)
                break;
        }
        icalrecur_iterator_free(it);
    }
    for (const auto& rdate : event.rdates) {
        const QDate day(rdate.first.year, rdate.first.month, rdate.first.day);
        if (day >= from && day <= to)
            take(rdate.first, rdate.second);
    }

    // The page shows a day's first few; a repetition every few minutes would crowd out the others.
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.start < b.start; });
    QDate day;
    int onDay = 0;
    int shown = 0;
    bool crowded = false;
    for (const Found& f : found) {
        if (f.start.date() != day) {
            day = f.start.date();
            onDay = 0;
        }
        if (++onDay > IcsCalendar::kMaxPerDay) {
            crowded = true;
            continue;
        }
        if (++shown > most)
            break;
        result.occurrences.append({f.start, f.end, f.allDay, event.summary, event.index});
    }
    const QString name = platform::PrintableName(event.summary);
    if (shown > most)
        result.warnings.append(
            QStringLiteral("\u201C%1\u201D occurs more than %2 times in these days; the rest are left out.")
                .arg(name)
                .arg(most));
    if (crowded)
        result.warnings.append(
            QStringLiteral("\u201C%1\u201D occurs more than %2 times on some days; the first "
                           "%2 of each day are shown.")
                .arg(name)
                .arg(IcsCalendar::kMaxPerDay));
    if (cut)
        result.warnings.append(QStringLiteral("The repetitions of \u201C%1\u201D took too long to work out; "
                                              "some may be missing.")
                                   .arg(name));
    if (!event.zone.unknown.isEmpty() && !found.isEmpty())
        result.warnings.append(
            QStringLiteral("Unknown time zone \u201C%1\u201D: its times are shown as written.")
                .arg(platform::PrintableName(event.zone.unknown)));
}

bool IcsCalendar::Impl::expandOwn(
    const Event& event, const icalrecurrencetype& rule, OwnRule& own, const Bounds& bounds, int& steps,
    int limit, const std::function<QDate(const icaltimetype&, const ZoneInfo&)>& take) const
{
    // Starts from this wall time on can touch the window, and those from its end on cannot.
    const QDateTime earliest =
        event.start.is_date ? bounds.start.addDays(-event.days) : bounds.start.addSecs(-event.seconds);
    const icaltimetype firstWall = WallOf(earliest, event.zone);
    const qint64 end = WallSeconds(WallOf(bounds.end, event.zone));
    const bool counted = rule.count > 0;
    // Without a count the search may begin there; with one, every occurrence from the start counts.
    icaltimetype cursor = event.start;
    if (!counted && WallSeconds(cursor) < WallSeconds(firstWall))
        cursor = firstWall;
    int taken = 0;
    Shown shows;
    for (bool first = true;; first = false) {
        const icaltimetype t = own.Next(cursor, bounds.to, steps, limit);
        if (icaltime_is_null_time(t) || WallSeconds(t) >= end)
            break;
        // The start counts as the first occurrence, whether or not the rule gives it.
        if (counted && first && WallSeconds(t) != WallSeconds(event.start))
            ++taken;
        if (counted && ++taken > rule.count)
            break;
        cursor = After(t);
        if (WallSeconds(t) < WallSeconds(firstWall))
            continue;
        const QDate shown = take(t, event.zone);
        if (shows.Add(shown) > bounds.most)
            break;
        if (shown.isValid() && shows.On(shown) > IcsCalendar::kMaxPerDay && !counted) {
            // No more of this rule can be shown on that day: go on where the next begins.
            const icaltimetype next =
                WallOf(QDateTime(shown.addDays(1), QTime(0, 0), bounds.zone), event.zone);
            if (WallSeconds(next) > WallSeconds(cursor))
                cursor = next;
        }
    }
    return own.Exhausted();
}

IcsCalendar::IcsCalendar() : d(std::make_unique<Impl>()) {}
IcsCalendar::~IcsCalendar() = default;
IcsCalendar::IcsCalendar(IcsCalendar&& other) noexcept = default;
IcsCalendar& IcsCalendar::operator=(IcsCalendar&& other) noexcept = default;

bool IcsCalendar::Read(const QByteArray& data)
{
    InitLibical();
    d = std::make_unique<Impl>();
    // The parser reads up to the first NUL. Lines end with LF (or CR LF); a file of CR alone is made so.
    const QByteArray utf8 = Utf8Text(data);
    QByteArray text = utf8;
    if (const qsizetype nul = text.indexOf('\0'); nul >= 0)
        text.truncate(nul);
    if (!text.contains('\n'))
        text.replace('\r', '\n');
    IcsLineFeed feed(text, kMaxNesting);
    icalparser* parser = icalparser_new();
    icalparser_set_gen_data(parser, &feed);
    d->root = icalparser_parse(parser, &IcsLineFeed::Next);
    // A file that ends inside a calendar, the first or a later one (cut off in a download), keeps what it
    // holds: the parser closes what is open. The parser owns that tree and frees it with itself, so a copy
    // is kept.
    icalcomponent* partial = icalparser_clean(parser);
    if (partial && !feed.TooDeep()) {
        icalcomponent* copy = icalcomponent_new_clone(partial);
        if (!d->root) {
            d->root = copy;
        } else {
            if (icalcomponent_isa(d->root) != ICAL_XROOT_COMPONENT) {
                icalcomponent* both = icalcomponent_new(ICAL_XROOT_COMPONENT);
                icalcomponent_add_component(both, d->root);
                d->root = both;
            }
            icalcomponent_add_component(d->root, copy);
        }
        d->readWarnings.append(QStringLiteral("The file ends early; the events before the end were read."));
    }
    icalparser_free(parser);
    if (feed.TooDeep()) {
        d = std::make_unique<Impl>();
        d->error = QStringLiteral("The file is not an iCalendar file: its parts are nested too deeply.");
        return false;
    }
    QList<icalcomponent*> calendars;
    if (d->root && icalcomponent_isa(d->root) == ICAL_VCALENDAR_COMPONENT) {
        calendars.append(d->root);
    } else if (d->root && icalcomponent_isa(d->root) == ICAL_XROOT_COMPONENT) {
        for (icalcomponent* c = icalcomponent_get_first_component(d->root, ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(d->root, ICAL_VCALENDAR_COMPONENT))
            calendars.append(c);
    }
    if (calendars.isEmpty()) {
        d->error =
            IsUtf8Text(utf8)
                ? QStringLiteral("The file is not an iCalendar file: it has no calendar (BEGIN:VCALENDAR).")
                : QStringLiteral("The file is not an iCalendar file: it is not UTF-8 text.");
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
        d->error = QStringLiteral("Unable to read %1: %2")
                       .arg(platform::PrintableName(path, platform::kShownPathLength), file.errorString());
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
