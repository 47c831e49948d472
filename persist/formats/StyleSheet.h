#pragma once

#include <QIODevice>
#include <QString>

namespace calendar {
class TCalendarPanel32;
}

namespace persist {

/** A style sheet: one list holding 1, 2 and the page's style block. Raises StreamError on failure. */
void WriteStyleSheet(QIODevice* device, const calendar::TCalendarPanel32& page);
/**
 * Reads a style sheet's block into the page without laying it out (the caller does). The two leading integers
 * are not checked. Raises StreamError, leaving the values read before the failure.
 */
void ReadStyleSheet(QIODevice* device, calendar::TCalendarPanel32& page);

/** Written to a temporary file and renamed into place. */
void SaveStyleSheet(const calendar::TCalendarPanel32& page, const QString& path);
void LoadStyleSheet(calendar::TCalendarPanel32& page, const QString& path);

} // namespace persist
