#pragma once

#include <QJsonObject>

namespace calendar {
class TCalendarPanel32;
}

namespace cli {

/** The page's style, layout and recorded geometry as a JSON object (rectangles as [left, top, right,
 * bottom]). */
QJsonObject InspectPage(const calendar::TCalendarPanel32& page);

} // namespace cli
