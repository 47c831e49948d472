#pragma once

#include "calendar/FlatCalendarPainter.h"
#include "design/TQelGraphicControl.h"
#include "platform/CachedPicture.h"
#include "platform/TColor.h"
#include "platform/TextCache.h"

namespace platform {
class TFont;
}

namespace calendar {

/**
 * A small month calendar placed anywhere on the page, independent of the page's month, layout and names: its
 * own month and year, week start, fonts, colours and borders, a drop shadow on one of four sides, an optional
 * transparent background, and month and weekday names in one of five languages of its own.
 */
class TQelFlatCalendar : public design::TQelGraphicControl
{
    Q_OBJECT

public:
    explicit TQelFlatCalendar(QWidget* parent = nullptr);

    // Published properties, in declaration order.
    int StartOfWeek() const { return m_startOfWeek; }
    /** 1 (Sunday first) or 2 (Monday first); other values are ignored. */
    void SetStartOfWeek(int value);
    /** Kept as stored; a month outside 1..12 is drawn clamped. */
    int Month() const { return m_month; }
    void SetMonth(int value);
    int Year() const { return m_year; }
    void SetYear(int value);
    platform::TFont* TitleFont() const { return m_titleFont; }
    void SetTitleFont(const platform::TFont* font);
    platform::TFont* DayNameFont() const { return m_dayNameFont; }
    void SetDayNameFont(const platform::TFont* font);
    platform::TFont* CellFont() const { return m_cellFont; }
    void SetCellFont(const platform::TFont* font);
    bool ShowYear() const { return m_showYear; }
    void SetShowYear(bool value);
    platform::TColor DayNameBGColor() const { return m_dayNameBGColor; }
    void SetDayNameBGColor(platform::TColor value);
    TFlatCalBorderStyle CalendarBorderStyle() const { return m_calendarBorder; }
    void SetCalendarBorderStyle(TFlatCalBorderStyle value);
    TFlatCalBorderStyle DayNameBorderStyle() const { return m_dayNameBorder; }
    void SetDayNameBorderStyle(TFlatCalBorderStyle value);
    TFlatCalBorderStyle CellBorderStyle() const { return m_cellBorder; }
    void SetCellBorderStyle(TFlatCalBorderStyle value);
    TFlatCalHeadersStyle DayNameStyle() const { return m_dayNameStyle; }
    void SetDayNameStyle(TFlatCalHeadersStyle value);
    platform::TColor TitleBGColor() const { return m_titleBGColor; }
    void SetTitleBGColor(platform::TColor value);
    platform::TColor BackgroundColor() const { return m_backgroundColor; }
    void SetBackgroundColor(platform::TColor value);
    platform::TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(platform::TColor value);
    /** Pixels at 100%; values above 10 are ignored, 0 or less draws no shadow. */
    int ShadowDepth() const { return m_shadowDepth; }
    void SetShadowDepth(int value);
    TFlatShadowPosition ShadowPosition() const { return m_shadowPosition; }
    void SetShadowPosition(TFlatShadowPosition value);
    TFlatCalLanguage Language() const { return m_language; }
    void SetLanguage(TFlatCalLanguage value);
    bool CalTransparent() const { return m_transparent; }
    void SetCalTransparent(bool value);

    /** Takes every published property of another floating calendar through the setters. */
    void AssignProperties(const TQelFlatCalendar& other);
    FlatCalendarLook Look() const;

    /** Draws the calendar into (0, 0, width, height) of any painter at the zoom factor; its month's record.
     */
    MonthPaintParams DrawOn(QPainter& painter, platform::TextCache* cache = nullptr);

    /** Builds the menu with "Properties" at its end. */
    void AfterLoad() override;
    void PrintTo(QPainter& painter, double originX, double originY) override;
    /** The "Floating Calendar Properties" dialog on this calendar; true when it ended with OK. */
    bool EditProperties();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    platform::TFont* makeFont(int size);
    template <typename T> void setAndRepaint(T& field, const T& value);

    int m_startOfWeek = 1;
    int m_month = 1;
    int m_year = 1997;
    platform::TFont* m_titleFont = nullptr;
    platform::TFont* m_dayNameFont = nullptr;
    platform::TFont* m_cellFont = nullptr;
    bool m_showYear = false;
    platform::TColor m_dayNameBGColor = platform::clWhite;
    TFlatCalBorderStyle m_calendarBorder = fcbAll;
    TFlatCalBorderStyle m_dayNameBorder = fcbAll;
    TFlatCalBorderStyle m_cellBorder = fcbNone;
    TFlatCalHeadersStyle m_dayNameStyle = fdsFirstChar;
    platform::TColor m_titleBGColor = platform::clWhite;
    platform::TColor m_backgroundColor = platform::clWhite;
    platform::TColor m_shadowColor = platform::clBlack;
    int m_shadowDepth = 0;
    TFlatShadowPosition m_shadowPosition = fcpLowerRight;
    TFlatCalLanguage m_language = fclEnglish;
    bool m_transparent = false;
    platform::TextCache m_textCache;
    // The screen's picture is drawn from the calendar's look at a zoom.
    platform::CachedPicture<std::pair<FlatCalendarLook, float>> m_screen;
};

/** Registers the floating calendar with the object stream; registering twice is harmless. */
void RegisterFlatCalendarClass();

} // namespace calendar
