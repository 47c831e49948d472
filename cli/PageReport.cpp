#include "cli/PageReport.h"

#include "calendar/DateRules.h"
#include "calendar/TCalendarPanel32.h"
#include "persist/formats/CalendarFile.h"
#include "persist/stream/ClassRegistry.h"
#include "platform/Screen.h"
#include "richtext/RtfPlainText.h"

#include <QJsonArray>

#include <cmath>

namespace cli {

namespace {

QJsonArray Rect(const platform::TRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

QJsonObject Font(const platform::TFont& font)
{
    return {
        {QStringLiteral("name"), font.Name()},
        {QStringLiteral("size"), font.Size()},
        {QStringLiteral("bold"), font.Style().testFlag(platform::fsBold)},
        {QStringLiteral("italic"), font.Style().testFlag(platform::fsItalic)},
        {QStringLiteral("underline"), font.Style().testFlag(platform::fsUnderline)},
        {QStringLiteral("strikeout"), font.Style().testFlag(platform::fsStrikeOut)},
        {QStringLiteral("color"), font.Color()},
    };
}

template <size_t N> QJsonArray Names(const std::array<QString, N>& names)
{
    QJsonArray list;
    for (const QString& name : names)
        list.append(name);
    return list;
}

QString TimeText(double time)
{
    int hour = 0, minute = 0;
    calendar::DecodeTime(time, hour, minute);
    return QStringLiteral("%1:%2").arg(hour).arg(minute, 2, 10, QLatin1Char('0'));
}

} // namespace

QJsonObject InspectPage(const calendar::TCalendarPanel32& page)
{
    QJsonObject o;
    o[QStringLiteral("PixelsPerInch")] = platform::PixelsPerInch();
    o[QStringLiteral("Zoom")] = double(page.Zoom());
    o[QStringLiteral("PaperSize")] = page.PaperSize();
    o[QStringLiteral("CalendarLayout")] = page.CalendarLayout();
    o[QStringLiteral("CalendarOrientation")] = page.CalendarOrientation();
    o[QStringLiteral("Margins")] =
        QJsonArray{double(page.LeftMarginInch()), double(page.TopMarginInch()),
                   double(page.RightMarginInch()), double(page.BottomMarginInch())};
    o[QStringLiteral("MainCalDay")] = page.MainCalDay();
    o[QStringLiteral("MainCalMonth")] = page.MainCalMonth();
    o[QStringLiteral("MainCalYear")] = page.MainCalYear();
    o[QStringLiteral("StartOfWeek")] = page.StartOfWeek();
    o[QStringLiteral("PageWidth")] = page.PageWidth();
    o[QStringLiteral("PageHeight")] = page.PageHeight();
    o[QStringLiteral("ShowMainCalendar")] = page.ShowMainCalendar();
    o[QStringLiteral("ShowMiniCalendars")] = page.ShowMiniCalendars();
    o[QStringLiteral("PlannerMode")] = page.PlannerMode();
    o[QStringLiteral("MainRect")] = Rect(page.MainRect());
    o[QStringLiteral("MiniCount")] = page.MiniCount();
    QJsonArray slots;
    for (int i = 1; i <= page.MiniCount(); ++i) {
        const calendar::MiniSlot& slot = page.MiniSlots(i);
        slots.append(QJsonObject{{QStringLiteral("month"), slot.month},
                                 {QStringLiteral("year"), slot.year},
                                 {QStringLiteral("rect"), Rect(slot.rect)}});
    }
    o[QStringLiteral("MiniSlots")] = slots;
    o[QStringLiteral("TitleRect")] = Rect(page.TitleRect());
    o[QStringLiteral("HeadersRect")] = Rect(page.HeadersRect());
    QJsonArray cells;
    for (int i = 1; i <= calendar::kCellCount; ++i) {
        const calendar::CellGeometry& cell = page.Cell(i);
        cells.append(QJsonObject{{QStringLiteral("rTotal"), Rect(cell.rTotal)},
                                 {QStringLiteral("iDay"), cell.iDay},
                                 {QStringLiteral("rFree"), Rect(cell.rFree)}});
    }
    o[QStringLiteral("Cells")] = cells;
    o[QStringLiteral("Fonts")] = QJsonObject{
        {QStringLiteral("Title"), Font(*page.TitleFont())},
        {QStringLiteral("Headers"), Font(*page.HeadersFont())},
        {QStringLiteral("Cell"), Font(*page.CellFont())},
        {QStringLiteral("MiniTitle"), Font(*page.MiniTitleFont())},
        {QStringLiteral("MiniHeaders"), Font(*page.MiniHeadersFont())},
        {QStringLiteral("MiniCell"), Font(*page.MiniCellFont())},
    };
    o[QStringLiteral("UserTitle")] = page.UserTitle();
    o[QStringLiteral("CalendarLineLayout")] = page.CalendarLineLayout();
    o[QStringLiteral("MiniCalendarLineLayout")] = page.MiniCalendarLineLayout();
    o[QStringLiteral("TitleBGColor")] = page.TitleBGColor();
    o[QStringLiteral("MiniCalBorder")] = page.MiniCalBorder();
    o[QStringLiteral("MiniHeadersBorder")] = page.MiniHeadersBorder();
    o[QStringLiteral("MiniCellBorder")] = page.MiniCellBorder();
    o[QStringLiteral("MiniShowYear")] = page.MiniShowYear();
    o[QStringLiteral("MiniHeadersBGColor")] = page.MiniHeadersBGColor();
    o[QStringLiteral("MiniCalBGColor")] = page.MiniCalBGColor();
    o[QStringLiteral("CalendarBorder")] = page.CalendarBorder();
    o[QStringLiteral("TitleShowYear")] = page.TitleShowYear();
    o[QStringLiteral("HeadersBorder")] = page.HeadersBorder();
    o[QStringLiteral("HeadersStyle")] = page.HeadersStyle();
    o[QStringLiteral("MiniHeadersStyle")] = page.MiniHeadersStyle();
    o[QStringLiteral("HeadersBGColor")] = page.HeadersBGColor();
    o[QStringLiteral("NumberPosition")] = page.NumberPosition();
    o[QStringLiteral("CellBorder")] = page.CellBorder();
    o[QStringLiteral("PanelState")] = page.PanelState();
    o[QStringLiteral("MonthNames")] = Names(page.MonthNames());
    o[QStringLiteral("DayNames")] = Names(page.DayNames());
    o[QStringLiteral("DayStartTime")] = TimeText(page.DayStartTime());
    QJsonArray texts;
    for (int i = 1; i <= calendar::kCellCount; ++i)
        texts.append(richtext::RtfPlainText(page.CellStorage(i).RtfText()));
    o[QStringLiteral("CellText")] = texts;
    QJsonArray objects;
    for (QObject* object : persist::PlacedObjects(page)) {
        const auto* widget = qobject_cast<const QWidget*>(object);
        objects.append(QJsonObject{
            {QStringLiteral("class"), persist::ClassRegistry::Instance().RefOf(object).cls->name},
            {QStringLiteral("name"), object->objectName()},
            {QStringLiteral("Left"), widget ? widget->x() : 0},
            {QStringLiteral("Top"), widget ? widget->y() : 0},
            {QStringLiteral("Width"), widget ? widget->width() : 0},
            {QStringLiteral("Height"), widget ? widget->height() : 0},
        });
    }
    o[QStringLiteral("Objects")] = objects;
    return o;
}

} // namespace cli
