#pragma once

class QPrinter;

namespace calendar {
class TCalendarPanel32;
}

namespace print {

/** Gives the printer the paper the calendar is designed on: its paper size (Letter or A4) and orientation. */
void UseCalendarPaper(QPrinter& printer, const calendar::TCalendarPanel32& page);

} // namespace print
