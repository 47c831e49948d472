#pragma once

#include <QIODevice>
#include <QList>
#include <QString>

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

/**
 * Reads a calendar document into the page. Failures before the object list raise StreamError and leave what
 * was read; a failure inside the object list ends it silently, keeping the objects read completely. Placed
 * objects are owned by owner and put on the page in the stacking order they were saved in; each is named
 * "Component" with the lowest free number.
 */
void ReadCalendar(QIODevice* device, calendar::TCalendarPanel32& page, QObject* owner);

/**
 * Saves to a temporary file beside path and renames it into place, so a failed save leaves the previous file
 * as it was. Raises StreamError ("Stream write error") on failure.
 */
void SaveCalendarFile(const calendar::TCalendarPanel32& page, const QString& path);
/** Opens path and reads it; a file that cannot be opened is "Stream read error". The page is laid out anew.
 */
void LoadCalendarFile(calendar::TCalendarPanel32& page, const QString& path, QObject* owner);

/** The placed objects of a page as they are written: its component children, last child first. */
QList<QObject*> PlacedObjects(const calendar::TCalendarPanel32& page);

} // namespace persist
