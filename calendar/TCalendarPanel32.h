#pragma once

#include "calendar/CalendarTypes.h"
#include "calendar/MonthPaintParams.h"
#include "calendar/PageLayout.h"
#include "design/TQelBasePanel.h"
#include "platform/TCanvas.h"
#include "platform/TColor.h"
#include "platform/TFont.h"
#include "richtext/RichTextRenderer.h"
#include "richtext/TVelRtfStorage.h"

#include <QImage>
#include <QString>

#include <array>
#include <functional>
#include <memory>

namespace calendar {

/** Raised for a day cell: its rectangles, its index 1..42, its day (0 when blank) and its storage. */
using TClickedInCellEvent = std::function<void(const platform::TRect& rTotal, const platform::TRect& rFree,
                                               int iCell, int iDay, richtext::TVelRtfStorage& storage)>;
using TNotifyEvent = std::function<void(QObject* sender)>;

/**
 * The calendar page: the month and year shown, the layout of the page, its paper, margins and styling, the
 * month and day names, the rich text of the 42 day cells, and the geometry painting records for each cell. It
 * is also the design surface that placed objects live on.
 */
class TCalendarPanel32 : public design::TQelBasePanel
{
    Q_OBJECT

public:
    explicit TCalendarPanel32(QWidget* parent = nullptr);
    ~TCalendarPanel32() override;

    // Published properties, in declaration order.
    TCalendarOrientation CalendarOrientation() const { return m_orientation; }
    void SetCalendarOrientation(TCalendarOrientation value);
    TCalendarLayout CalendarLayout() const { return m_layout; }
    void SetCalendarLayout(TCalendarLayout value);
    TCalendarLineLayout CalendarLineLayout() const { return m_lineLayout; }
    void SetCalendarLineLayout(TCalendarLineLayout value);
    TMiniCalendarLineLayout MiniCalendarLineLayout() const { return m_miniLineLayout; }
    void SetMiniCalendarLineLayout(TMiniCalendarLineLayout value);
    const TClickedInCellEvent& ClickedInCellEvent() const { return m_clickedInCellEvent; }
    void SetClickedInCellEvent(TClickedInCellEvent handler) { m_clickedInCellEvent = std::move(handler); }
    platform::TColor TitleBGColor() const { return m_titleBGColor; }
    void SetTitleBGColor(platform::TColor value);
    platform::TFont* TitleFont() const { return m_titleFont; }
    void SetTitleFont(const platform::TFont* font);
    platform::TFont* HeadersFont() const { return m_headersFont; }
    void SetHeadersFont(const platform::TFont* font);
    platform::TFont* CellFont() const { return m_cellFont; }
    void SetCellFont(const platform::TFont* font);
    float LeftMarginInch() const { return m_leftMargin; }
    void SetLeftMarginInch(float value);
    float TopMarginInch() const { return m_topMargin; }
    void SetTopMarginInch(float value);
    float RightMarginInch() const { return m_rightMargin; }
    void SetRightMarginInch(float value);
    float BottomMarginInch() const { return m_bottomMargin; }
    void SetBottomMarginInch(float value);
    TCalBorderStyle MiniCalBorder() const { return m_miniCalBorder; }
    void SetMiniCalBorder(TCalBorderStyle value);
    TCalBorderStyle MiniHeadersBorder() const { return m_miniHeadersBorder; }
    void SetMiniHeadersBorder(TCalBorderStyle value);
    TCalBorderStyle MiniCellBorder() const { return m_miniCellBorder; }
    void SetMiniCellBorder(TCalBorderStyle value);
    bool MiniShowYear() const { return m_miniShowYear; }
    void SetMiniShowYear(bool value);
    platform::TColor MiniHeadersBGColor() const { return m_miniHeadersBGColor; }
    void SetMiniHeadersBGColor(platform::TColor value);
    platform::TColor MiniCalBGColor() const { return m_miniCalBGColor; }
    void SetMiniCalBGColor(platform::TColor value);
    platform::TFont* MiniTitleFont() const { return m_miniTitleFont; }
    void SetMiniTitleFont(const platform::TFont* font);
    platform::TFont* MiniHeadersFont() const { return m_miniHeadersFont; }
    void SetMiniHeadersFont(const platform::TFont* font);
    platform::TFont* MiniCellFont() const { return m_miniCellFont; }
    void SetMiniCellFont(const platform::TFont* font);
    int MainCalDay() const { return m_day; }
    void SetMainCalDay(int value);
    int MainCalMonth() const { return m_month; }
    void SetMainCalMonth(int value);
    int MainCalYear() const { return m_year; }
    void SetMainCalYear(int value);
    int StartOfWeek() const { return m_startOfWeek; }
    void SetStartOfWeek(int value);
    TCalBorderStyle CalendarBorder() const { return m_calendarBorder; }
    void SetCalendarBorder(TCalBorderStyle value);
    bool TitleShowYear() const { return m_titleShowYear; }
    void SetTitleShowYear(bool value);
    TCalBorderStyle HeadersBorder() const { return m_headersBorder; }
    void SetHeadersBorder(TCalBorderStyle value);
    TCalHeadersStyle HeadersStyle() const { return m_headersStyle; }
    void SetHeadersStyle(TCalHeadersStyle value);
    TCalHeadersStyle MiniHeadersStyle() const { return m_miniHeadersStyle; }
    void SetMiniHeadersStyle(TCalHeadersStyle value);
    platform::TColor HeadersBGColor() const { return m_headersBGColor; }
    void SetHeadersBGColor(platform::TColor value);
    TCalendarNumberPosition NumberPosition() const { return m_numberPosition; }
    void SetNumberPosition(TCalendarNumberPosition value);
    TCalBorderStyle CellBorder() const { return m_cellBorder; }
    void SetCellBorder(TCalBorderStyle value);
    QString UserTitle() const { return m_userTitle; }
    void SetUserTitle(const QString& value);
    const TNotifyEvent& OnDblClick() const { return m_onDblClick; }
    void SetOnDblClick(TNotifyEvent handler) { m_onDblClick = std::move(handler); }
    const TNotifyEvent& OnClick() const { return m_onClick; }
    void SetOnClick(TNotifyEvent handler) { m_onClick = std::move(handler); }
    const TNotifyEvent& OnClickedHeader() const { return m_onClickedHeader; }
    void SetOnClickedHeader(TNotifyEvent handler) { m_onClickedHeader = std::move(handler); }
    const TNotifyEvent& OnClickedDaysArea() const { return m_onClickedDaysArea; }
    void SetOnClickedDaysArea(TNotifyEvent handler) { m_onClickedDaysArea = std::move(handler); }
    TLPanelState PanelState() const { return m_panelState; }
    void SetPanelState(TLPanelState value);

    // Attributes that are not published.
    int PaperSize() const { return m_paperSize; }
    void SetPaperSize(int value);
    /** Time of the first day-planner row, as a fraction of a day. */
    double DayStartTime() const { return m_dayStartTime; }
    void SetDayStartTime(double value);
    const std::array<QString, 12>& MonthNames() const { return m_monthNames; }
    const std::array<QString, 7>& DayNames() const { return m_dayNames; }
    /** Leaves name unchanged for an index outside 1..12. */
    void GetMonthName(int i, QString& name) const;
    void SetMonthName(int i, const QString& name);
    /** Leaves name unchanged for an index outside 1..7 (1 = Sunday). */
    void GetDayName(int i, QString& name) const;
    void SetDayName(int i, const QString& name);

    /** Storage of cell i, 1..42. */
    richtext::TVelRtfStorage& CellStorage(int i);
    const richtext::TVelRtfStorage& CellStorage(int i) const;
    const richtext::TVelRtfStorage& EmptyCellTemplate() const { return m_emptyCellTemplate; }
    /** Geometry of cell i, 1..42, as the last paint recorded it. */
    const CellGeometry& Cell(int i) const;
    const std::array<CellGeometry, kCellCount>& CellGeometries() const { return m_cells; }
    platform::TRect TitleRect() const { return m_titleRect; }
    platform::TRect HeadersRect() const { return m_headersRect; }
    platform::TRect MainRect() const { return m_layoutResult.mainRect; }
    /** Mini calendar slot i, 1..60. */
    const MiniSlot& MiniSlots(int i) const;
    int MiniCount() const { return m_layoutResult.miniCount; }
    int PageWidth() const { return m_layoutResult.pageWidth; }
    int PageHeight() const { return m_layoutResult.pageHeight; }
    bool ShowMainCalendar() const { return m_layoutResult.showMainCalendar; }
    bool ShowMiniCalendars() const { return m_layoutResult.showMiniCalendars; }
    bool PlannerMode() const { return m_layoutResult.plannerMode; }

    // Field-only stores: the value without the setter's side effects (no relayout, no border styles following
    // a line layout). Readers of stored documents use them and lay the page out once at the end.
    void StorePaperSize(int value) { m_paperSize = value; }
    void StoreCalendarOrientation(TCalendarOrientation value) { m_orientation = value; }
    void StoreMargins(float left, float top, float right, float bottom);
    void StoreCalendarLayout(TCalendarLayout value) { m_layout = value; }
    void StoreCalendarLineLayout(TCalendarLineLayout value) { m_lineLayout = value; }
    void StoreMiniCalendarLineLayout(TMiniCalendarLineLayout value) { m_miniLineLayout = value; }
    void StoreMainCalDate(int day, int month, int year);
    void StoreDayStartTime(double value) { m_dayStartTime = value; }

    // Day cells (they read the geometry of the last paint).
    bool PointInCell(int x, int y) const;
    /** The lowest cell whose rTotal contains the point, 0 if none. */
    int CellAtPoint(int x, int y) const;
    /** Raises ClickedInCellEvent for the lowest cell containing the point. */
    void ClickCellAt(int x, int y);
    void ClickCell(int i);
    /** The cell before i, when it has a text area; nothing for cell 1. */
    void ClickPreviousCell(int i);
    /** The cell after i, when it has a text area; nothing for cell 42. */
    void ClickNextCell(int i);
    /** The page's click: header, days area, a cell not covered by a placed object, or the page itself. */
    void PageClicked(QPoint point);

    // Operations.
    int DayOfCell(int i) const;
    int CellOfDay(int day) const;
    void ClearAllCells();
    bool HasCellContent() const;
    /** True when some placed object on the page is a SuperText. */
    bool HasSuperText() const;
    int LayoutFamily() const;
    bool UsesDayCells() const;
    void AssignStyle(const TCalendarPanel32& other);
    bool SameStyle(const TCalendarPanel32& other) const;
    void ResetToNew();

    void Relayout(bool resetMiniFonts);
    /** A gesture's rectangle as objects are created in it: at least 50 wide when under 25, at least 15 high.
     */
    static platform::TRect CreationRect(const platform::TRect& band);
    /** A gesture too small on both sides to be a box (CreationRect enlarges both): the user clicked. */
    static bool IsClick(const platform::TRect& band);
    /** The page at the current size as its rules draw it (as printed: long cell text cut at the cell's edge).
     */
    QImage RenderToBitmap();
    /** Lines of cell i that the screen left out at the last paint, because they do not fit the cell. */
    int HiddenLines(int i) const;
    /** What the main grid or planner is drawn from at a zoom: the page's style, month and main rectangle. */
    MonthPaintParams MainPaintParams(float zoom) const;
    /** What every mini calendar is drawn from at a zoom, less its month, year and rectangle. */
    MonthPaintParams MiniPaintParams(float zoom) const;

Q_SIGNALS:
    /** The tool state changed: a tool was chosen, or a gesture made its object and returned to pointing. */
    void panelStateChanged(calendar::TLPanelState state);

protected:
    void paintEvent(QPaintEvent* event) override;
    /** The hint over a cell with hidden lines names how many. */
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    /** The page wants every key while it has the focus: Tab and Shift+Tab reach its key handling too. */
    bool focusNextPrevChild(bool next) override;
    /**
     * Creates one object of the current tool in the gesture's rectangle, returns to pointing, runs the
     * object's first dialog and selects the object. Cancelling that dialog removes the object again and
     * reports no change (false).
     */
    bool CreateObjectInRect(const platform::TRect& rect) override;
    /** The page keeps exactly its zoomed page size, so steps of zoom never add up rounding. */
    void ZoomChanged() override;

private:
    /** Draws the page onto a white surface; cell texts outside area (the part being painted) are left out. */
    /**
     * On screen, a cell shows only the lines of its text that fit whole, with a mark in its lower right
     * corner when some are left out; otherwise the text is cut at the cell's edge, as the page is printed.
     */
    void renderPage(QPainter& painter, const QRect& area, bool onScreen);
    void paintCellTexts(platform::TCanvas& canvas, bool onlyStored, bool onlyPositive, const QRect& area,
                        bool onScreen);
    void drawOverflowMark(QPainter& painter, const platform::TRect& free) const;
    int zoomed(int value) const;
    platform::TRect zoomed(const platform::TRect& rect) const;
    void loadLocaleNames();
    void setMiniFontSizes(int size);
    platform::TFont* makeFont(const QString& name, int size, platform::TFontStyles style);
    template <typename T> void setAndRepaint(T& field, const T& value);
    template <typename T> void setAndRelayout(T& field, const T& value);

    TCalendarOrientation m_orientation = coPortrait;
    TCalendarLayout m_layout = loFullCalendar;
    TCalendarLineLayout m_lineLayout = llFull;
    TMiniCalendarLineLayout m_miniLineLayout = mllFull;
    TClickedInCellEvent m_clickedInCellEvent;
    platform::TColor m_titleBGColor = platform::clWhite;
    platform::TFont* m_titleFont = nullptr;
    platform::TFont* m_headersFont = nullptr;
    platform::TFont* m_cellFont = nullptr;
    float m_leftMargin = 0.25f;
    float m_topMargin = 0.25f;
    float m_rightMargin = 0.25f;
    float m_bottomMargin = 0.25f;
    TCalBorderStyle m_miniCalBorder = cbAll;
    TCalBorderStyle m_miniHeadersBorder = cbBottom;
    TCalBorderStyle m_miniCellBorder = cbNone;
    bool m_miniShowYear = true;
    platform::TColor m_miniHeadersBGColor = platform::clWhite;
    platform::TColor m_miniCalBGColor = platform::clWhite;
    platform::TFont* m_miniTitleFont = nullptr;
    platform::TFont* m_miniHeadersFont = nullptr;
    platform::TFont* m_miniCellFont = nullptr;
    int m_day = 0;
    int m_month = 1;
    int m_year = 1997;
    int m_startOfWeek = 1;
    TCalBorderStyle m_calendarBorder = cbAll;
    bool m_titleShowYear = true;
    TCalBorderStyle m_headersBorder = cbAll;
    TCalHeadersStyle m_headersStyle = dsThreeChars;
    TCalHeadersStyle m_miniHeadersStyle = dsFirstChar;
    platform::TColor m_headersBGColor = platform::clWhite;
    TCalendarNumberPosition m_numberPosition = cnpUpperRight;
    TCalBorderStyle m_cellBorder = cbAll;
    QString m_userTitle;
    TNotifyEvent m_onDblClick;
    TNotifyEvent m_onClick;
    TNotifyEvent m_onClickedHeader;
    TNotifyEvent m_onClickedDaysArea;
    TLPanelState m_panelState = psPointing;

    int m_paperSize = 0;
    double m_dayStartTime = 8.0 / 24.0;
    std::array<QString, 12> m_monthNames;
    std::array<QString, 7> m_dayNames;
    std::array<richtext::TVelRtfStorage, kCellCount> m_storages;
    richtext::TVelRtfStorage m_emptyCellTemplate;
    std::array<CellGeometry, kCellCount> m_cells{};
    platform::TRect m_titleRect;
    platform::TRect m_headersRect;
    PageLayoutResult m_layoutResult;
    bool m_painting = false;
    bool m_creating = false;
    platform::TextCache m_textCache;
    richtext::RichTextRenderer m_cellRenderer;
    std::array<int, kCellCount> m_hiddenLines{};

    /** A cell's text as last drawn on screen, with what it was drawn from: the same three draw the same. */
    struct CellPicture
    {
        QByteArray rtf;
        QSize size;
        int zoomPercent = 0;
        int hiddenLines = 0;
        QImage picture;
    };
    const CellPicture& cellPicture(int index, const QSize& size, int zoomPercent);
    std::array<CellPicture, kCellCount> m_cellPictures;
};

} // namespace calendar
