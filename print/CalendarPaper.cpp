#include "print/CalendarPaper.h"

#include "calendar/TCalendarPanel32.h"

#include <QPrinter>

namespace print {

void UseCalendarPaper(QPrinter& printer, const calendar::TCalendarPanel32& page)
{
    printer.setPageSize(QPageSize(page.PaperSize() == 1 ? QPageSize::A4 : QPageSize::Letter));
    printer.setPageOrientation(page.CalendarOrientation() == calendar::coPortrait ? QPageLayout::Portrait
                                                                                  : QPageLayout::Landscape);
}

} // namespace print
