#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <memory>

namespace exchange {

/** One occurrence of an event, in the time zone it was asked for. */
struct IcsOccurrence
{
    QDateTime start;
    /** Exclusive; equal to start for an event without duration. */
    QDateTime end;
    /** A whole-day event: start and end are midnights of its first and following day. */
    bool allDay = false;
    QString summary;
    /** The event's place in the file, so occurrences with equal starts keep the file's order. */
    int eventIndex = 0;
};

/** The occurrences of some days, and what could not be done exactly. */
struct IcsExpansion
{
    /** By start, then by the file's order. */
    QList<IcsOccurrence> occurrences;
    /** Messages for the user: unknown time zones, repetitions that were cut short. */
    QStringList warnings;
};

/**
 * An iCalendar file read with libical: its events (VEVENT) with their repetitions (RRULE, RDATE, EXDATE and
 * occurrences changed by RECURRENCE-ID), expanded on demand for a span of days. The expansion is bounded, so
 * a damaged or hostile file cannot stall the program: at most kMaxPerDay occurrences of one event on a day
 * and kMaxOccurrences in all are taken, and the work stops after a fixed number of steps.
 */
class IcsCalendar
{
public:
    /** As many as a day has hours: a repetition every 20 minutes from 9:00 to 16:40 shows whole. */
    static constexpr int kMaxPerDay = 24;
    static constexpr int kMaxOccurrences = 5000;

    IcsCalendar();
    ~IcsCalendar();
    IcsCalendar(IcsCalendar&& other) noexcept;
    IcsCalendar& operator=(IcsCalendar&& other) noexcept;

    /**
     * Reads iCalendar text, UTF-8 or, with a byte-order mark or beginning with BEGIN, UTF-16 or UTF-32;
     * false, with ErrorString(), when it is not an iCalendar file. A file cut off inside a calendar gives
     * what it holds, with a word in ReadWarnings().
     */
    bool Read(const QByteArray& data);
    /** Reads a file; false, with ErrorString(), when it cannot be read or is not an iCalendar file. */
    bool Load(const QString& path);
    QString ErrorString() const;
    /** Events found, cancelled ones and those without a start left out. */
    int EventCount() const;
    /** What reading left out (events without a start), for the user. */
    QStringList ReadWarnings() const;

    /** The occurrences that touch the days first..last (both included) in zone. */
    IcsExpansion Occurrences(const QDate& first, const QDate& last, const QTimeZone& zone) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace exchange
