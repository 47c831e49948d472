#include "calendar/TCalendarPanel32.h"

#include "calendar/CalendarPainter.h"
#include "calendar/TQelFlatCalendar.h"
#include "design/TQelBaseLabel.h"
#include "design/TQelHandle.h"
#include "design/TQelImage.h"
#include "design/TZubRichBaseLabel.h"
#include "persist/stream/StreamError.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/Screen.h"
#include "platform/TCanvas.h"
#include "supertext/TQelFont3DEffects.h"
#include "supertext/TQelSuperText.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace calendar {

using platform::TFont;
using platform::TRect;

namespace {

int Trunc(double x)
{
    return static_cast<int>(std::trunc(x));
}

PaintFont ZoomedFont(const TFont& font, float zoom)
{
    return {font.Name(), Trunc(font.Size() * double(zoom)), font.Style(), font.Color()};
}

TRect Zoomed(const TRect& r, float zoom)
{
    auto z = [zoom](int v) { return Trunc(v * double(zoom)); };
    return {z(r.left), z(r.top), z(r.right), z(r.bottom)};
}

} // namespace

TCalendarPanel32::TCalendarPanel32(QWidget* parent) : design::TQelBasePanel(parent)
{
    // A calendar file can hold these classes of placed objects, so the stream must know them by name.
    design::RegisterLabelClasses();
    supertext::TQelSuperText::Register();
    design::RegisterRichLabelClass();
    RegisterFlatCalendarClass();
    design::RegisterImageClasses();
    supertext::TQelFont3DEffects::Install();
    // The page paints every pixel of what it repaints, so nothing beneath it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_titleFont = makeFont(QStringLiteral("Times New Roman"), 26, platform::fsBold);
    m_headersFont = makeFont(QStringLiteral("Times New Roman"), 16, platform::fsBold);
    m_cellFont = makeFont(QStringLiteral("Times New Roman"), 16, platform::fsBold);
    m_miniTitleFont = makeFont(QStringLiteral("Times New Roman"), 6, platform::fsBold);
    m_miniHeadersFont = makeFont(QStringLiteral("Times New Roman"), 8, {});
    m_miniHeadersFont->SetColor(platform::clWhite);
    m_miniCellFont = makeFont(QStringLiteral("Times New Roman"), 6, {});
    loadLocaleNames();
    Relayout(true);
}

TCalendarPanel32::~TCalendarPanel32() = default;

TFont* TCalendarPanel32::makeFont(const QString& name, int size, platform::TFontStyles style)
{
    auto* font = new TFont(this);
    font->SetName(name);
    font->SetSize(size);
    font->SetStyle(style);
    connect(font, &TFont::changed, this, [this] { update(); });
    return font;
}

void TCalendarPanel32::loadLocaleNames()
{
    const QLocale locale;
    for (int i = 1; i <= 12; ++i)
        m_monthNames[static_cast<size_t>(i - 1)] = locale.monthName(i, QLocale::LongFormat);
    // QLocale counts Monday = 1 .. Sunday = 7; the page counts Sunday = 1 .. Saturday = 7.
    for (int i = 1; i <= 7; ++i)
        m_dayNames[static_cast<size_t>(i - 1)] = locale.dayName(i == 1 ? 7 : i - 1, QLocale::LongFormat);
}

template <typename T> void TCalendarPanel32::setAndRepaint(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    update();
}

template <typename T> void TCalendarPanel32::setAndRelayout(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Relayout(false);
}

void TCalendarPanel32::SetCalendarOrientation(TCalendarOrientation value)
{
    setAndRelayout(m_orientation, value);
}

void TCalendarPanel32::SetCalendarLayout(TCalendarLayout value)
{
    setAndRelayout(m_layout, value);
}

void TCalendarPanel32::SetCalendarLineLayout(TCalendarLineLayout value)
{
    if (value == m_lineLayout)
        return;
    m_lineLayout = value;
    switch (value) {
    case llFull:
        SetCalendarBorder(cbAll);
        SetHeadersBorder(cbAll);
        SetCellBorder(cbAll);
        break;
    case llHeadersAndCells:
        SetCalendarBorder(cbNone);
        SetHeadersBorder(cbAll);
        SetCellBorder(cbAll);
        break;
    case llCellsOnly:
        SetCalendarBorder(cbNone);
        SetHeadersBorder(cbNone);
        SetCellBorder(cbAll);
        break;
    }
    update();
}

void TCalendarPanel32::SetMiniCalendarLineLayout(TMiniCalendarLineLayout value)
{
    if (value == m_miniLineLayout)
        return;
    m_miniLineLayout = value;
    switch (value) {
    case mllFull:
        SetMiniCalBorder(cbAll);
        SetMiniCellBorder(cbAll);
        SetMiniHeadersBorder(cbAll);
        break;
    case mllBoxed:
        SetMiniCalBorder(cbAll);
        SetMiniCellBorder(cbNone);
        SetMiniHeadersBorder(cbTopBottom);
        break;
    case mllMinimal:
        SetMiniCalBorder(cbNone);
        SetMiniCellBorder(cbNone);
        SetMiniHeadersBorder(cbTop);
        break;
    }
    update();
}

void TCalendarPanel32::SetTitleBGColor(platform::TColor value)
{
    setAndRepaint(m_titleBGColor, value);
}

void TCalendarPanel32::SetTitleFont(const TFont* font)
{
    if (font)
        m_titleFont->Assign(*font);
}

void TCalendarPanel32::SetHeadersFont(const TFont* font)
{
    if (font)
        m_headersFont->Assign(*font);
}

void TCalendarPanel32::SetCellFont(const TFont* font)
{
    if (font)
        m_cellFont->Assign(*font);
}

void TCalendarPanel32::SetLeftMarginInch(float value)
{
    setAndRelayout(m_leftMargin, value);
}

void TCalendarPanel32::SetTopMarginInch(float value)
{
    setAndRelayout(m_topMargin, value);
}

void TCalendarPanel32::SetRightMarginInch(float value)
{
    setAndRelayout(m_rightMargin, value);
}

void TCalendarPanel32::SetBottomMarginInch(float value)
{
    setAndRelayout(m_bottomMargin, value);
}

void TCalendarPanel32::SetMiniCalBorder(TCalBorderStyle value)
{
    setAndRepaint(m_miniCalBorder, value);
}

void TCalendarPanel32::SetMiniHeadersBorder(TCalBorderStyle value)
{
    setAndRepaint(m_miniHeadersBorder, value);
}

void TCalendarPanel32::SetMiniCellBorder(TCalBorderStyle value)
{
    setAndRepaint(m_miniCellBorder, value);
}

void TCalendarPanel32::SetMiniShowYear(bool value)
{
    setAndRepaint(m_miniShowYear, value);
}

void TCalendarPanel32::SetMiniHeadersBGColor(platform::TColor value)
{
    setAndRepaint(m_miniHeadersBGColor, value);
}

void TCalendarPanel32::SetMiniCalBGColor(platform::TColor value)
{
    setAndRepaint(m_miniCalBGColor, value);
}

void TCalendarPanel32::SetMiniTitleFont(const TFont* font)
{
    if (font)
        m_miniTitleFont->Assign(*font);
}

void TCalendarPanel32::SetMiniHeadersFont(const TFont* font)
{
    if (font)
        m_miniHeadersFont->Assign(*font);
}

void TCalendarPanel32::SetMiniCellFont(const TFont* font)
{
    if (font)
        m_miniCellFont->Assign(*font);
}

void TCalendarPanel32::SetMainCalDay(int value)
{
    setAndRelayout(m_day, value);
}

void TCalendarPanel32::SetMainCalMonth(int value)
{
    setAndRelayout(m_month, value);
}

void TCalendarPanel32::SetMainCalYear(int value)
{
    setAndRelayout(m_year, value);
}

void TCalendarPanel32::SetStartOfWeek(int value)
{
    setAndRepaint(m_startOfWeek, value);
}

void TCalendarPanel32::SetCalendarBorder(TCalBorderStyle value)
{
    setAndRepaint(m_calendarBorder, value);
}

void TCalendarPanel32::SetTitleShowYear(bool value)
{
    setAndRepaint(m_titleShowYear, value);
}

void TCalendarPanel32::SetHeadersBorder(TCalBorderStyle value)
{
    setAndRepaint(m_headersBorder, value);
}

void TCalendarPanel32::SetHeadersStyle(TCalHeadersStyle value)
{
    setAndRepaint(m_headersStyle, value);
}

void TCalendarPanel32::SetMiniHeadersStyle(TCalHeadersStyle value)
{
    setAndRepaint(m_miniHeadersStyle, value);
}

void TCalendarPanel32::SetHeadersBGColor(platform::TColor value)
{
    setAndRepaint(m_headersBGColor, value);
}

void TCalendarPanel32::SetNumberPosition(TCalendarNumberPosition value)
{
    setAndRepaint(m_numberPosition, value);
}

void TCalendarPanel32::SetCellBorder(TCalBorderStyle value)
{
    setAndRepaint(m_cellBorder, value);
}

void TCalendarPanel32::SetUserTitle(const QString& value)
{
    setAndRepaint(m_userTitle, value);
}

void TCalendarPanel32::SetPanelState(TLPanelState value)
{
    if (value == m_panelState)
        return;
    m_panelState = value;
    SetPointing(value == psPointing);
    if (value == psPointing)
        unsetCursor();
    else
        setCursor(Qt::DragMoveCursor);
    Q_EMIT panelStateChanged(value);
}

TRect TCalendarPanel32::CreationRect(const TRect& band)
{
    // A plain click makes a 50 x 15 object; a drag narrower than 25 pixels also gets width 50.
    TRect r = band;
    if (r.right - r.left < 25)
        r.right = r.left + 50;
    if (r.bottom - r.top < 15)
        r.bottom = r.top + 15;
    return r;
}

bool TCalendarPanel32::CreateObjectInRect(const TRect& band)
{
    if (m_creating)
        return false;
    m_creating = true;
    const TRect r = CreationRect(band);
    // The new object's changes are reported once it is kept; cancelling its first dialog removes it again.
    HeldChanges held(*this);
    design::TQelGraphicControl* placed = nullptr;
    bool kept = false;
    switch (m_panelState) {
    case psLabel: {
        auto* label = new design::TZubLabel;
        label->SetCaption(QStringLiteral("Enter text..."));
        label->Font()->SetSize(20);
        label->AfterLoad();
        AddObject(label, r);
        placed = label;
        label->SetTransparent(false);
        label->SetBorderStyle(design::bsSingle);
        unsetCursor();
        SetPanelState(psPointing);
        kept = label->EditAfterCreate();
        break;
    }
    case psSuperText: {
        auto* text = new supertext::TQelSuperText;
        text->AfterLoad();
        AddObject(text, r);
        placed = text;
        unsetCursor();
        SetPanelState(psPointing);
        text->SetBorderStyle(design::bsSingle);
        text->SetControlTransparent(false);
        text->SetBGColor(platform::clWhite);
        kept = text->EditAfterCreate();
        break;
    }
    case psRichLabel: {
        // Made on the page at once, so it finds the window's shared renderer.
        auto* label = new design::TZubRichBaseLabel(this);
        try {
            label->AfterLoad();
        } catch (const persist::StreamError& e) {
            delete label;
            SetPanelState(psPointing);
            platform::Prompts::Current().Information(this, e.message());
            break;
        }
        AddObject(label, r);
        placed = label;
        unsetCursor();
        label->SetTransparent(false);
        label->SetBorderStyle(design::bsSingle);
        SetPanelState(psPointing);
        kept = label->EditRichText();
        break;
    }
    case psFlatCalendar: {
        auto* calendar = new TQelFlatCalendar;
        calendar->AfterLoad();
        AddObject(calendar, r);
        placed = calendar;
        unsetCursor();
        SetPanelState(psPointing);
        kept = true;
        break;
    }
    case psImage: {
        auto* image = new design::TQelImage;
        image->AfterLoad();
        AddObject(image, r);
        placed = image;
        unsetCursor();
        SetPanelState(psPointing);
        kept = image->EditAfterCreate(IsClick(band));
        break;
    }
    default:
        // Tools whose object classes this program does not have yet create nothing.
        SetPanelState(psPointing);
        break;
    }
    if (placed && !kept) {
        delete placed;
        placed = nullptr;
    }
    if (placed) {
        held.Keep();
        // A new object is the selection, ready to be moved or sized.
        Handle()->UnselectAll();
        Handle()->Select(placed);
    }
    m_creating = false;
    return placed != nullptr;
}

bool TCalendarPanel32::IsClick(const TRect& band)
{
    return band.right - band.left < 25 && band.bottom - band.top < 15;
}

bool TCalendarPanel32::HasSuperText() const
{
    const QList<design::TQelGraphicControl*> objects = PlacedObjects();
    return std::any_of(objects.begin(), objects.end(), [](const QObject* o) {
        return qobject_cast<const supertext::TQelSuperText*>(o) != nullptr;
    });
}

void TCalendarPanel32::SetPaperSize(int value)
{
    setAndRelayout(m_paperSize, value);
}

void TCalendarPanel32::SetDayStartTime(double value)
{
    setAndRelayout(m_dayStartTime, value);
}

void TCalendarPanel32::GetMonthName(int i, QString& name) const
{
    if (i >= 1 && i <= 12)
        name = m_monthNames[static_cast<size_t>(i - 1)];
}

void TCalendarPanel32::SetMonthName(int i, const QString& name)
{
    if (i >= 1 && i <= 12)
        setAndRepaint(m_monthNames[static_cast<size_t>(i - 1)], name);
}

void TCalendarPanel32::GetDayName(int i, QString& name) const
{
    if (i >= 1 && i <= 7)
        name = m_dayNames[static_cast<size_t>(i - 1)];
}

void TCalendarPanel32::SetDayName(int i, const QString& name)
{
    if (i >= 1 && i <= 7)
        setAndRepaint(m_dayNames[static_cast<size_t>(i - 1)], name);
}

void TCalendarPanel32::StoreMargins(float left, float top, float right, float bottom)
{
    m_leftMargin = left;
    m_topMargin = top;
    m_rightMargin = right;
    m_bottomMargin = bottom;
}

void TCalendarPanel32::StoreMainCalDate(int day, int month, int year)
{
    m_day = day;
    m_month = month;
    m_year = year;
}

richtext::TVelRtfStorage& TCalendarPanel32::CellStorage(int i)
{
    Q_ASSERT(i >= 1 && i <= kCellCount);
    return m_storages[static_cast<size_t>(i - 1)];
}

const richtext::TVelRtfStorage& TCalendarPanel32::CellStorage(int i) const
{
    Q_ASSERT(i >= 1 && i <= kCellCount);
    return m_storages[static_cast<size_t>(i - 1)];
}

const CellGeometry& TCalendarPanel32::Cell(int i) const
{
    Q_ASSERT(i >= 1 && i <= kCellCount);
    return m_cells[static_cast<size_t>(i - 1)];
}

const MiniSlot& TCalendarPanel32::MiniSlots(int i) const
{
    Q_ASSERT(i >= 1 && i <= kMaxMiniSlots);
    return m_layoutResult.miniSlots[static_cast<size_t>(i - 1)];
}

bool TCalendarPanel32::PointInCell(int x, int y) const
{
    return CellAtPoint(x, y) != 0;
}

int TCalendarPanel32::CellAtPoint(int x, int y) const
{
    for (int i = 0; i < kCellCount; ++i) {
        if (m_cells[static_cast<size_t>(i)].rTotal.contains(x, y))
            return i + 1;
    }
    return 0;
}

void TCalendarPanel32::ClickCell(int i)
{
    if (i < 1 || i > kCellCount || !m_clickedInCellEvent)
        return;
    const CellGeometry& cell = m_cells[static_cast<size_t>(i - 1)];
    m_clickedInCellEvent(cell.rTotal, cell.rFree, i, cell.iDay, m_storages[static_cast<size_t>(i - 1)]);
}

void TCalendarPanel32::ClickCellAt(int x, int y)
{
    if (const int cell = CellAtPoint(x, y))
        ClickCell(cell);
}

void TCalendarPanel32::ClickPreviousCell(int i)
{
    if (i > 1 && i <= kCellCount && !m_cells[static_cast<size_t>(i - 2)].rFree.isZero())
        ClickCell(i - 1);
}

void TCalendarPanel32::ClickNextCell(int i)
{
    if (i >= 1 && i < kCellCount && !m_cells[static_cast<size_t>(i)].rFree.isZero())
        ClickCell(i + 1);
}

void TCalendarPanel32::PageClicked(QPoint point)
{
    if (m_panelState != psPointing)
        return;
    const int cell = CellAtPoint(point.x(), point.y());
    if (m_titleRect.contains(point.x(), point.y()) && m_onClickedHeader)
        m_onClickedHeader(this);
    if (m_headersRect.contains(point.x(), point.y()) && m_onClickedDaysArea)
        m_onClickedDaysArea(this);
    if (cell != 0 && (m_layoutResult.showMainCalendar || m_layoutResult.plannerMode)) {
        // A cell under a placed object belongs to the object.
        if (!m_clickedInCellEvent || AnyObjectAt(point.x(), point.y()))
            return;
        ClickCell(cell);
        return;
    }
    if (m_onClick)
        m_onClick(this);
}

bool TCalendarPanel32::focusNextPrevChild(bool)
{
    return false;
}

void TCalendarPanel32::mouseReleaseEvent(QMouseEvent* event)
{
    const bool pointing = m_panelState == psPointing;
    design::TQelBasePanel::mouseReleaseEvent(event);
    if (pointing && event->button() == Qt::LeftButton)
        PageClicked(event->position().toPoint());
}

int TCalendarPanel32::DayOfCell(int i) const
{
    return i >= 1 && i <= kCellCount ? m_cells[static_cast<size_t>(i - 1)].iDay : 0;
}

int TCalendarPanel32::CellOfDay(int day) const
{
    for (int i = 0; i < kCellCount; ++i) {
        if (m_cells[static_cast<size_t>(i)].iDay == day)
            return i + 1;
    }
    return -1;
}

void TCalendarPanel32::ClearAllCells()
{
    for (int i = 0; i < kCellCount; ++i) {
        m_storages[static_cast<size_t>(i)].Assign(m_emptyCellTemplate);
        m_cells[static_cast<size_t>(i)].rTotal = TRect{};
        m_cells[static_cast<size_t>(i)].rFree = TRect{};
    }
    update();
}

bool TCalendarPanel32::HasCellContent() const
{
    for (const auto& storage : m_storages) {
        if (!storage.IsEmpty())
            return true;
    }
    return false;
}

int TCalendarPanel32::LayoutFamily() const
{
    if (m_layout <= loFC12AfterLS)
        return 0;
    if (m_layout <= loMC60MonthLS)
        return 1;
    return m_layout - loWeek + 2;
}

bool TCalendarPanel32::UsesDayCells() const
{
    return !isHidden() && (m_layout <= loFC12AfterLS || m_layout >= loWeek);
}

void TCalendarPanel32::AssignStyle(const TCalendarPanel32& other)
{
    m_paperSize = other.m_paperSize;
    m_layout = other.m_layout;
    m_startOfWeek = other.m_startOfWeek;
    m_monthNames = other.m_monthNames;
    m_dayNames = other.m_dayNames;
    m_day = other.m_day;
    m_month = other.m_month;
    m_year = other.m_year;
    m_titleFont->Assign(*other.m_titleFont);
    m_titleBGColor = other.m_titleBGColor;
    m_headersFont->Assign(*other.m_headersFont);
    m_headersBGColor = other.m_headersBGColor;
    m_headersStyle = other.m_headersStyle;
    m_cellFont->Assign(*other.m_cellFont);
    m_miniCalBGColor = other.m_miniCalBGColor;
    m_miniTitleFont->Assign(*other.m_miniTitleFont);
    m_miniHeadersFont->Assign(*other.m_miniHeadersFont);
    m_miniHeadersBGColor = other.m_miniHeadersBGColor;
    m_miniHeadersStyle = other.m_miniHeadersStyle;
    m_miniCellFont->Assign(*other.m_miniCellFont);
    m_titleShowYear = other.m_titleShowYear;
    m_miniShowYear = other.m_miniShowYear;
    m_leftMargin = other.m_leftMargin;
    m_topMargin = other.m_topMargin;
    m_rightMargin = other.m_rightMargin;
    m_bottomMargin = other.m_bottomMargin;
    m_dayStartTime = other.m_dayStartTime;
    SetCalendarLineLayout(other.m_lineLayout);
    SetMiniCalendarLineLayout(other.m_miniLineLayout);
    SetUserTitle(other.m_userTitle);
    Relayout(false);
}

bool TCalendarPanel32::SameStyle(const TCalendarPanel32& o) const
{
    return m_paperSize == o.m_paperSize && m_layout == o.m_layout && m_startOfWeek == o.m_startOfWeek &&
           m_monthNames == o.m_monthNames && m_dayNames == o.m_dayNames && m_day == o.m_day &&
           m_month == o.m_month && m_year == o.m_year && m_titleFont->SameLook(*o.m_titleFont) &&
           m_titleBGColor == o.m_titleBGColor && m_headersFont->SameLook(*o.m_headersFont) &&
           m_headersBGColor == o.m_headersBGColor && m_headersStyle == o.m_headersStyle &&
           m_cellFont->SameLook(*o.m_cellFont) && m_miniCalBGColor == o.m_miniCalBGColor &&
           m_miniTitleFont->SameLook(*o.m_miniTitleFont) &&
           m_miniHeadersFont->SameLook(*o.m_miniHeadersFont) &&
           m_miniHeadersBGColor == o.m_miniHeadersBGColor && m_miniHeadersStyle == o.m_miniHeadersStyle &&
           m_miniCellFont->SameLook(*o.m_miniCellFont) && m_titleShowYear == o.m_titleShowYear &&
           m_miniShowYear == o.m_miniShowYear && m_leftMargin == o.m_leftMargin &&
           m_topMargin == o.m_topMargin && m_rightMargin == o.m_rightMargin &&
           m_bottomMargin == o.m_bottomMargin && m_dayStartTime == o.m_dayStartTime &&
           m_lineLayout == o.m_lineLayout && m_miniLineLayout == o.m_miniLineLayout &&
           m_userTitle == o.m_userTitle;
}

void TCalendarPanel32::ResetToNew()
{
    m_paperSize = 0;
    SetUserTitle(QString());
    m_layout = loFCMinisInTitleLS;
    m_startOfWeek = 1;
    loadLocaleNames();
    const QDate today = platform::Today();
    m_day = today.day();
    m_month = today.month();
    m_year = today.year();
    m_titleBGColor = platform::clWhite;
    m_headersBGColor = platform::clWhite;
    m_miniCalBGColor = platform::clWhite;
    m_miniHeadersBGColor = platform::clWhite;
    m_miniHeadersFont->SetColor(platform::clBlack);
    m_miniHeadersStyle = dsFirstChar;
    m_titleShowYear = true;
    m_miniShowYear = true;
    m_leftMargin = m_topMargin = m_rightMargin = m_bottomMargin = 0.5f;
    m_dayStartTime = 8.0 / 24.0;
    SetCalendarLineLayout(llFull);
    SetMiniCalendarLineLayout(mllBoxed);
    Relayout(true);
}

void TCalendarPanel32::setMiniFontSizes(int size)
{
    m_miniTitleFont->SetSize(size);
    m_miniHeadersFont->SetSize(Trunc(0.8 * size));
    m_miniCellFont->SetSize(Trunc(0.8 * size));
}

void TCalendarPanel32::Relayout(bool resetMiniFonts)
{
    PageLayoutInput in;
    in.layout = m_layout;
    in.paperSize = m_paperSize;
    in.leftMargin = m_leftMargin;
    in.topMargin = m_topMargin;
    in.rightMargin = m_rightMargin;
    in.bottomMargin = m_bottomMargin;
    in.month = m_month;
    in.year = m_year;
    in.pixelsPerInch = platform::PixelsPerInch();
    ComputePageLayout(in, m_layoutResult);
    m_orientation = m_layoutResult.orientation;
    if (resetMiniFonts && m_layoutResult.miniFontSize > 0)
        setMiniFontSizes(m_layoutResult.miniFontSize);
    resize(zoomed(m_layoutResult.pageWidth), zoomed(m_layoutResult.pageHeight));
    update();
}

void TCalendarPanel32::ZoomChanged()
{
    resize(zoomed(m_layoutResult.pageWidth), zoomed(m_layoutResult.pageHeight));
}

int TCalendarPanel32::zoomed(int value) const
{
    return Trunc(value * double(Zoom()));
}

TRect TCalendarPanel32::zoomed(const TRect& r) const
{
    return Zoomed(r, Zoom());
}

MonthPaintParams TCalendarPanel32::MainPaintParams(float zoom) const
{
    auto zoomedFont = [zoom](const TFont& font) { return ZoomedFont(font, zoom); };
    MonthPaintParams p;
    p.bodyColor = platform::clWhite;
    p.titleBGColor = m_titleBGColor;
    p.minTitleHeight = Trunc(1.5 * platform::PixelsPerInch() * double(zoom));
    p.month = m_month;
    p.year = m_year;
    p.day = m_day;
    p.rect = Zoomed(m_layoutResult.mainRect, zoom);
    p.numberPosition = m_numberPosition;
    p.startOfWeek = m_startOfWeek;
    p.calendarBorder = m_calendarBorder;
    p.titleFont = zoomedFont(*m_titleFont);
    p.showYear = m_titleShowYear;
    p.headersFont = zoomedFont(*m_headersFont);
    p.headersBorder = m_headersBorder;
    p.headersStyle = m_headersStyle;
    p.headersBGColor = m_headersBGColor;
    p.cellFont = zoomedFont(*m_cellFont);
    p.cellBorder = m_cellBorder;
    p.monthNames = m_monthNames;
    p.dayNames = m_dayNames;
    p.plannerStartTime = m_dayStartTime;
    p.plannerDays = m_layout == lo2Week ? 14 : 7;
    p.plannerHours = m_layout == loDay15 ? 15 : 10;
    p.cells = m_cells;
    return p;
}

MonthPaintParams TCalendarPanel32::MiniPaintParams(float zoom) const
{
    MonthPaintParams p;
    p.bodyColor = m_miniCalBGColor;
    p.titleBGColor = m_miniCalBGColor;
    p.minTitleHeight = 0;
    p.numberPosition = cnpCenter;
    p.startOfWeek = m_startOfWeek;
    p.calendarBorder = m_miniCalBorder;
    p.titleFont = ZoomedFont(*m_miniTitleFont, zoom);
    p.showYear = m_miniShowYear;
    p.headersFont = ZoomedFont(*m_miniHeadersFont, zoom);
    p.headersBorder = m_miniHeadersBorder;
    p.headersStyle = m_miniHeadersStyle;
    p.headersBGColor = m_miniHeadersBGColor;
    p.cellFont = ZoomedFont(*m_miniCellFont, zoom);
    p.cellBorder = m_miniCellBorder;
    p.monthNames = m_monthNames;
    p.dayNames = m_dayNames;
    return p;
}

void TCalendarPanel32::paintCellTexts(platform::TCanvas& canvas, bool onlyStored, bool onlyPositive,
                                      const QRect& area, bool onScreen)
{
    const int zoomPercent = Trunc(double(Zoom()) * 100);
    for (int i = 0; i < kCellCount; ++i) {
        const TRect& free = m_cells[static_cast<size_t>(i)].rFree;
        const richtext::TVelRtfStorage& storage = m_storages[static_cast<size_t>(i)];
        if (free.isZero() || (onlyStored && storage.IsEmpty()))
            continue;
        if (onlyPositive && (free.width() <= 0 || free.height() <= 0))
            continue;
        // A cell outside the part being painted costs nothing (a window shows a part of a zoomed page).
        if (!area.intersects(QRect(free.left, free.top, free.width() + 1, free.height() + 1)))
            continue;
        if (onScreen)
            m_hiddenLines[static_cast<size_t>(i)] = 0;
        // An empty cell is a white area, and the grid under it is white already.
        if (storage.IsEmpty())
            continue;
        const QSize size(free.width() + 1, free.height() + 1);
        if (size.width() <= 0 || size.height() <= 0)
            continue;
        // The window and a rendered bitmap show the same: the lines that fit whole.
        const CellPicture& cell = cellPicture(i, size, zoomPercent);
        const int hidden = onScreen ? cell.hiddenLines : 0;
        if (onScreen)
            m_hiddenLines[static_cast<size_t>(i)] = hidden;
        const QImage* picture = &cell.picture;
        // The text is laid out one pixel wider and higher than the cell's free area, as the cell editor lays
        // it out, so both wrap alike. Squeezing that picture into the area would drop a pixel column from the
        // middle of the text and cut glyphs in two; the picture is copied unscaled instead, losing only its
        // last column and row.
        canvas.Painter().drawImage(QPoint(free.left, free.top), *picture,
                                   QRect(0, 0, free.width(), free.height()));
        if (hidden > 0)
            drawOverflowMark(canvas.Painter(), free);
    }
}

const TCalendarPanel32::CellPicture& TCalendarPanel32::cellPicture(int index, const QSize& size,
                                                                   int zoomPercent)
{
    // A repaint draws the same cell texts again and again; laying out and drawing rich text is the costliest
    // part of a page, so each cell keeps its picture until its text, its size or the zoom changes.
    CellPicture& cell = m_cellPictures[static_cast<size_t>(index)];
    const QByteArray& rtf = m_storages[static_cast<size_t>(index)].RtfText();
    if (cell.size == size && cell.zoomPercent == zoomPercent && cell.rtf == rtf && !cell.picture.isNull())
        return cell;
    if (cell.picture.size() != size)
        cell.picture = QImage(size, QImage::Format_RGB32);
    cell.picture.fill(Qt::white);
    {
        // Laid out as wide as always, so it wraps as the editor and the printout do; only the lines that fit
        // the part of the picture copied to the page are drawn.
        QPainter painter(&cell.picture);
        cell.hiddenLines =
            m_cellRenderer
                .RenderWholeLines(painter, rtf, QRect(0, 0, size.width(), size.height() - 1), zoomPercent)
                .hiddenLines;
    }
    cell.rtf = rtf;
    cell.size = size;
    cell.zoomPercent = zoomPercent;
    return cell;
}

void TCalendarPanel32::drawOverflowMark(QPainter& painter, const TRect& free) const
{
    // A small triangle filling the cell's lower right corner, scaled with the page but never too small to
    // see.
    const int size =
        std::clamp(Trunc(8 * double(Zoom())), 5, std::max(5, std::min(free.width(), free.height())));
    const int right = free.left + free.width() - 1;
    const int bottom = free.top + free.height() - 1;
    const QPoint corner[] = {QPoint(right + 1, bottom - size), QPoint(right + 1, bottom + 1),
                             QPoint(right - size, bottom + 1)};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(192, 0, 0));
    painter.drawPolygon(corner, 3);
    painter.restore();
}

int TCalendarPanel32::HiddenLines(int i) const
{
    Q_ASSERT(i >= 1 && i <= kCellCount);
    return m_hiddenLines[static_cast<size_t>(i - 1)];
}

bool TCalendarPanel32::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return TQelBasePanel::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const int cell = CellAtPoint(help->pos().x(), help->pos().y());
    const int hidden = cell != 0 ? m_hiddenLines[static_cast<size_t>(cell - 1)] : 0;
    if (hidden > 0) {
        const TRect& total = m_cells[static_cast<size_t>(cell - 1)].rTotal;
        const QString text =
            hidden == 1 ? tr("1 more line in this day: click it to see all of its text")
                        : tr("%1 more lines in this day: click it to see all of its text").arg(hidden);
        QToolTip::showText(help->globalPos(), text, this,
                           QRect(total.left, total.top, total.width(), total.height()));
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

void TCalendarPanel32::renderPage(QPainter& painter, const QRect& area, bool onScreen)
{
    // The page is white; the month grid and the planners fill their own rectangle white, so only the margins
    // around it are filled here (a zoomed page is millions of pixels).
    QRegion paper(area);
    if (m_layout >= loWeek || m_layoutResult.showMainCalendar)
        paper -= zoomed(m_layoutResult.mainRect).toQRect();
    for (const QRect& r : paper)
        painter.fillRect(r, Qt::white);
    platform::TCanvas canvas(painter, &m_textCache);

    if (m_layout >= loWeek) {
        MonthPaintParams p = MainPaintParams(Zoom());
        const bool week = m_layout == loWeek || m_layout == lo2Week;
        if (week) {
            DrawWeekPlanner(canvas, p, m_userTitle);
        } else {
            for (auto& cell : p.cells)
                cell.rFree = TRect{};
            DrawDayPlanner(canvas, p, m_userTitle);
        }
        m_cells = p.cells;
        m_titleRect = p.titleRect;
        paintCellTexts(canvas, week, !week, area, onScreen);
    } else if (m_layoutResult.showMainCalendar) {
        MonthPaintParams p = MainPaintParams(Zoom());
        for (auto& cell : p.cells)
            cell.rFree = TRect{};
        DrawMonth(canvas, p, m_userTitle);
        m_cells = p.cells;
        m_titleRect = p.titleRect;
        m_headersRect = p.headersRect;
        paintCellTexts(canvas, false, false, area, onScreen);
    }

    if (m_layoutResult.showMiniCalendars) {
        MonthPaintParams p = MiniPaintParams(Zoom());
        for (int i = 0; i < m_layoutResult.miniCount; ++i) {
            const MiniSlot& slot = m_layoutResult.miniSlots[static_cast<size_t>(i)];
            p.month = slot.month;
            p.year = slot.year;
            p.rect = zoomed(slot.rect);
            DrawMonth(canvas, p, QString());
        }
    }
}

QImage TCalendarPanel32::RenderToBitmap()
{
    QImage image(size(), QImage::Format_RGB32);
    if (!image.isNull()) {
        QPainter painter(&image);
        renderPage(painter, image.rect(), false);
    }
    update();
    return image;
}

void TCalendarPanel32::paintEvent(QPaintEvent* event)
{
    if (SuspendPaint() || m_painting)
        return;
    m_painting = true;
    // The window system's back buffer is the off-screen bitmap: the page is drawn into it whole and shown in
    // one transfer, so it never flickers. Only the part being repainted is drawn, which is what a window
    // shows of a zoomed page.
    QPainter painter(this);
    const QRect area = event->rect() & rect();
    painter.setClipRect(area);
    renderPage(painter, area, true);
    m_painting = false;
}

} // namespace calendar
