#pragma once

namespace calendar {
class TCalendarPanel32;
}

namespace app {

/**
 * Gives the main window's page the values its form starts it with where they differ from a bare page's: a
 * month grid with two minis in landscape, whole weekday names, the larger fonts and the boxed mini calendars
 * of December 1997. A new document keeps those that the new-document defaults leave alone.
 */
void SetMainPageDefaults(calendar::TCalendarPanel32& page);

} // namespace app
