#include "calendar/FlatCalendarPainter.h"

#include "calendar/CalendarPainter.h"

#include <algorithm>
#include <cmath>

namespace calendar {

using platform::TRect;

namespace {

using Names12 = std::array<QString, 12>;
using Names7 = std::array<QString, 7>;

const std::array<Names12, kFlatLanguageCount>& MonthTable()
{
    static const std::array<Names12, kFlatLanguageCount> table = {{
        {QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
         QStringLiteral("April"), QStringLiteral("May"), QStringLiteral("June"), QStringLiteral("July"),
         QStringLiteral("August"), QStringLiteral("September"), QStringLiteral("October"),
         QStringLiteral("November"), QStringLiteral("December")},
        {QStringLiteral("Januar"), QStringLiteral("Februar"), QStringLiteral("M\u00E4rz"),
         QStringLiteral("April"), QStringLiteral("Mai"), QStringLiteral("Juni"), QStringLiteral("Juli"),
         QStringLiteral("August"), QStringLiteral("September"), QStringLiteral("Oktober"),
         QStringLiteral("November"), QStringLiteral("Dezember")},
        {QStringLiteral("Janvier"), QStringLiteral("F\u00E9vrier"), QStringLiteral("Mars"),
         QStringLiteral("Avril"), QStringLiteral("Mai"), QStringLiteral("Juin"), QStringLiteral("Juillet"),
         QStringLiteral("Ao\u00FBt"), QStringLiteral("Septembre"), QStringLiteral("Octobre"),
         QStringLiteral("Novembre"), QStringLiteral("D\u00E9cembre")},
        {QStringLiteral("Gennaio"), QStringLiteral("Febbraio"), QStringLiteral("Marzo"),
         QStringLiteral("Aprile"), QStringLiteral("Maggio"), QStringLiteral("Giugno"),
         QStringLiteral("Luglio"), QStringLiteral("Agosto"), QStringLiteral("Settembre"),
         QStringLiteral("Ottobre"), QStringLiteral("Novembre"), QStringLiteral("Dicembre")},
        {QStringLiteral("Enero"), QStringLiteral("Febrero"), QStringLiteral("Marzo"), QStringLiteral("Abril"),
         QStringLiteral("Mayo"), QStringLiteral("Junio"), QStringLiteral("Julio"), QStringLiteral("Agosto"),
         QStringLiteral("Septiembre"), QStringLiteral("Octubre"), QStringLiteral("Noviembre"),
         QStringLiteral("Diciembre")},
    }};
    return table;
}

const std::array<Names7, kFlatLanguageCount>& DayTable()
{
    static const std::array<Names7, kFlatLanguageCount> table = {{
        {QStringLiteral("Sunday"), QStringLiteral("Monday"), QStringLiteral("Tuesday"),
         QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
         QStringLiteral("Saturday")},
        {QStringLiteral("Sonntag"), QStringLiteral("Montag"), QStringLiteral("Dienstag"),
         QStringLiteral("Mittwoch"), QStringLiteral("Donnerstag"), QStringLiteral("Freitag "),
         QStringLiteral("Samstag")},
        {QStringLiteral("Dimanche"), QStringLiteral("Lundi"), QStringLiteral("Mardi"),
         QStringLiteral("Mercredi"), QStringLiteral("Jeudi"), QStringLiteral("Vendredi"),
         QStringLiteral("Samedi")},
        {QStringLiteral("Domenica"), QStringLiteral("Luned\u00EC"), QStringLiteral("Marted\u00EC"),
         QStringLiteral("Mercoled\u00EC"), QStringLiteral("Gioved\u00EC"), QStringLiteral("Venerd\u00EC"),
         QStringLiteral("Sabato")},
        {QStringLiteral("Domingo"), QStringLiteral("Lunes"), QStringLiteral("Martes"),
         QStringLiteral("Mi\u00E9rcoles"), QStringLiteral("Jueves"), QStringLiteral("Viernes"),
         QStringLiteral("S\u00E1bado")},
    }};
    return table;
}

size_t LanguageIndex(TFlatCalLanguage language)
{
    // A value read from a damaged file falls back to English rather than reading past the table.
    return language >= fclEnglish && language <= fclSpanish ? size_t(language) : size_t(fclEnglish);
}

PaintFont Zoomed(const PaintFont& font, float zoom)
{
    PaintFont f = font;
    f.size = static_cast<int>(std::trunc(font.size * double(zoom)));
    return f;
}

} // namespace

const std::array<QString, 12>& FlatMonthNames(TFlatCalLanguage language)
{
    return MonthTable()[LanguageIndex(language)];
}

const std::array<QString, 7>& FlatDayNames(TFlatCalLanguage language)
{
    return DayTable()[LanguageIndex(language)];
}

FlatCalendarRects ComputeFlatCalendarRects(int w, int h, int shadowDepth, TFlatShadowPosition position,
                                           bool transparent, float zoom)
{
    FlatCalendarRects r;
    r.calendar = {0, 0, w, h};
    if (shadowDepth < 1 || transparent)
        return r;
    const int a = static_cast<int>(std::trunc(shadowDepth * double(zoom)));
    r.hasShadow = true;
    switch (position) {
    case fcpLowerLeft:
        r.calendar = {a, 0, w, h - a};
        r.shadow = {0, a, w - a, h};
        break;
    case fcpUpperRight:
        r.calendar = {0, a, w - a, h};
        r.shadow = {a, 0, w, h - a};
        break;
    case fcpUpperLeft:
        r.calendar = {a, a, w, h};
        r.shadow = {0, 0, w - a, h - a};
        break;
    case fcpLowerRight:
    default:
        r.calendar = {0, 0, w - a, h - a};
        r.shadow = {a, a, w, h};
        break;
    }
    return r;
}

MonthPaintParams DrawFlatCalendar(platform::TCanvas& canvas, const FlatCalendarLook& look, int w, int h,
                                  float zoom)
{
    const FlatCalendarRects rects =
        ComputeFlatCalendarRects(w, h, look.shadowDepth, look.shadowPosition, look.transparent, zoom);
    if (rects.hasShadow) {
        // Kept to the object's own area: the window cuts what lies beyond it, and paper must not show it
        // either (a printer or a PDF viewer may round a clipped edge outwards).
        const TRect& s = rects.shadow;
        canvas.FillRect({s.left, s.top, std::min(s.right + 1, w), std::min(s.bottom + 1, h)},
                        look.shadowColor);
    }

    MonthPaintParams p;
    p.floating = true;
    p.transparent = look.transparent;
    p.bodyColor = look.backgroundColor;
    p.titleBGColor = look.titleBGColor;
    p.month = look.month;
    p.year = look.year;
    p.rect = rects.calendar;
    p.numberPosition = cnpCenter;
    p.startOfWeek = look.startOfWeek;
    p.calendarBorder = TCalBorderStyle(look.calendarBorder);
    p.titleFont = Zoomed(look.titleFont, zoom);
    p.showYear = look.showYear;
    p.headersFont = Zoomed(look.dayNameFont, zoom);
    p.headersBorder = TCalBorderStyle(look.dayNameBorder);
    p.headersStyle = TCalHeadersStyle(look.dayNameStyle);
    p.headersBGColor = look.dayNameBGColor;
    p.cellFont = Zoomed(look.cellFont, zoom);
    p.cellBorder = TCalBorderStyle(look.cellBorder);
    p.monthNames = FlatMonthNames(look.language);
    p.dayNames = FlatDayNames(look.language);
    // The title band is at least one line of the title font high.
    SetCanvasFont(canvas, p.titleFont);
    p.minTitleHeight = canvas.TextHeight();
    DrawMonth(canvas, p, QString());
    return p;
}

} // namespace calendar
