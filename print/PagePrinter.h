#pragma once

#include "calendar/CalendarTypes.h"
#include "richtext/RichTextRenderer.h"

#include <QByteArray>

class QPainter;

#include <array>

namespace calendar {
class TCalendarPanel32;
}

namespace print {

class TReportSystem;

/** What one printed page shows: a month and its day (planners start there), and the RTF of the 42 day cells.
 */
struct PageContent
{
    int month = 1;
    int year = 1997;
    int day = 1;
    std::array<QByteArray, calendar::kCellCount> cells;
};

/** The document's page as it stands: its own month, day and cell texts. */
PageContent ContentOf(const calendar::TCalendarPanel32& page);

/**
 * The calendar page's print routine: the month grid or planner, the mini calendars, the text of the day cells
 * and then every placed object, at full size and placed by the page's margins, at an offset in inches. The
 * page's style, layout and objects are printed with the content's month and cells; the page itself is left
 * as it is (its screen geometry included). Objects print at their current geometry, so the page is at zoom 1.
 * The paper shows what the window shows at zoom 1: a screen pixel prints as 1 / PixelsPerInch() of an inch.
 */
class PagePrinter
{
public:
    void Print(TReportSystem& report, calendar::TCalendarPanel32& page, const PageContent& content, double x,
               double y);

    /** The day cells of the last page printed, in page pixels at full size. */
    const std::array<calendar::CellGeometry, calendar::kCellCount>& PrintedCells() const { return m_cells; }

private:
    void printCellTexts(QPainter& painter, const PageContent& content);

    richtext::RichTextRenderer m_renderer;
    std::array<calendar::CellGeometry, calendar::kCellCount> m_cells{};
};

} // namespace print
