#pragma once

#include <QIODevice>
#include <QList>
#include <QString>

#include <optional>

class QObject;

namespace calendar {
class TCalendarPanel32;
}

namespace persist {

/** The format version written; versions 1 (no user title) and 2 (no placed objects) are read too. */
inline constexpr int kCalendarFileVersion = 3;

/**
 * Writes a calendar document: the style block, the month, the day-planner start time, the 42 cell records,
 * the user title, and the placed objects (the page's children that have a component table), last child first.
 * Without objects the object list is written empty. Raises StreamError on failure.
 */
void WriteCalendar(QIODevice* device, const calendar::TCalendarPanel32& page, bool withObjects = true);

/** Where a calendar file's list of placed objects could not be read to its end. */
struct CalendarDamage
{
    /** Every byte before it was read; the damage lies after it. */
    qint64 offset = 0;
    /** The data ran out inside the list: what followed is gone and cannot be counted. */
    bool endedEarly = false;
    /** Placed objects read completely and kept. */
    int objectsRead = 0;
    /** Objects that could not be read: the damaged one and those whose records follow it. */
    int objectsLost = 0;

    bool operator==(const CalendarDamage&) const = default;
};

/** What the user is told about a damaged calendar file. */
QString DamageMessage(const CalendarDamage& damage);

/**
 * Reads a calendar document into the page. Failures before the object list raise StreamError and leave what
 * was read. A failure inside the object list keeps the objects read completely and is given back, so the file
 * never reads as whole when it is not. Placed objects are owned by owner and put on the page in the stacking
 * order they were saved in; each is named "Component" with the lowest free number.
 */
[[nodiscard]] std::optional<CalendarDamage> ReadCalendar(QIODevice* device, calendar::TCalendarPanel32& page,
                                                         QObject* owner);

/**
 * Saves to a temporary file beside path and renames it into place, so a failed save leaves the previous file
 * as it was. Raises StreamError ("Stream write error") on failure.
 */
void SaveCalendarFile(const calendar::TCalendarPanel32& page, const QString& path);
/**
 * Opens path and reads it; a file that cannot be opened is "Stream read error". The page is laid out anew.
 * Gives back where the placed objects were damaged, as ReadCalendar does.
 */
[[nodiscard]] std::optional<CalendarDamage> LoadCalendarFile(calendar::TCalendarPanel32& page,
                                                             const QString& path, QObject* owner);

/** The placed objects of a page as they are written: its component children, last child first. */
QList<QObject*> PlacedObjects(const calendar::TCalendarPanel32& page);

} // namespace persist
