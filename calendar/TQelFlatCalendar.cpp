#include "calendar/TQelFlatCalendar.h"

#include "calendar/TFlatCalendarEditor.h"
#include "design/PlacedObjectClasses.h"
#include "design/TQelBasePanel.h"
#include "persist/stream/StandardClasses.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "platform/TCanvas.h"
#include "platform/TFont.h"

#include <QMenu>
#include <QPaintDevice>
#include <QPainter>

#include <memory>

namespace calendar {

using platform::TColor;
using platform::TFont;

TQelFlatCalendar::TQelFlatCalendar(QWidget* parent) : design::TQelGraphicControl(parent)
{
    const QDate today = platform::Today();
    m_month = today.month();
    m_year = today.year();
    m_titleFont = makeFont(8);
    m_dayNameFont = makeFont(8);
    m_cellFont = makeFont(7);
}

TFont* TQelFlatCalendar::makeFont(int size)
{
    auto* font = new TFont(this);
    font->SetName(QStringLiteral("Arial"));
    font->SetSize(size);
    connect(font, &TFont::changed, this, [this] { update(); });
    return font;
}

template <typename T> void TQelFlatCalendar::setAndRepaint(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    update();
}

void TQelFlatCalendar::SetStartOfWeek(int value)
{
    if (value == 1 || value == 2)
        setAndRepaint(m_startOfWeek, value);
}

void TQelFlatCalendar::SetMonth(int value)
{
    setAndRepaint(m_month, value);
}

void TQelFlatCalendar::SetYear(int value)
{
    setAndRepaint(m_year, value);
}

void TQelFlatCalendar::SetTitleFont(const TFont* font)
{
    if (font)
        m_titleFont->Assign(*font);
}

void TQelFlatCalendar::SetDayNameFont(const TFont* font)
{
    if (font)
        m_dayNameFont->Assign(*font);
}

void TQelFlatCalendar::SetCellFont(const TFont* font)
{
    if (font)
        m_cellFont->Assign(*font);
}

void TQelFlatCalendar::SetShowYear(bool value)
{
    setAndRepaint(m_showYear, value);
}

void TQelFlatCalendar::SetDayNameBGColor(TColor value)
{
    setAndRepaint(m_dayNameBGColor, value);
}

void TQelFlatCalendar::SetCalendarBorderStyle(TFlatCalBorderStyle value)
{
    setAndRepaint(m_calendarBorder, value);
}

void TQelFlatCalendar::SetDayNameBorderStyle(TFlatCalBorderStyle value)
{
    setAndRepaint(m_dayNameBorder, value);
}

void TQelFlatCalendar::SetCellBorderStyle(TFlatCalBorderStyle value)
{
    setAndRepaint(m_cellBorder, value);
}

void TQelFlatCalendar::SetDayNameStyle(TFlatCalHeadersStyle value)
{
    setAndRepaint(m_dayNameStyle, value);
}

void TQelFlatCalendar::SetTitleBGColor(TColor value)
{
    setAndRepaint(m_titleBGColor, value);
}

void TQelFlatCalendar::SetBackgroundColor(TColor value)
{
    setAndRepaint(m_backgroundColor, value);
}

void TQelFlatCalendar::SetShadowColor(TColor value)
{
    setAndRepaint(m_shadowColor, value);
}

void TQelFlatCalendar::SetShadowDepth(int value)
{
    if (value <= 10)
        setAndRepaint(m_shadowDepth, value);
}

void TQelFlatCalendar::SetShadowPosition(TFlatShadowPosition value)
{
    setAndRepaint(m_shadowPosition, value);
}

void TQelFlatCalendar::SetLanguage(TFlatCalLanguage value)
{
    setAndRepaint(m_language, value);
}

void TQelFlatCalendar::SetCalTransparent(bool value)
{
    setAndRepaint(m_transparent, value);
}

void TQelFlatCalendar::AssignProperties(const TQelFlatCalendar& o)
{
    SetStartOfWeek(o.m_startOfWeek);
    SetMonth(o.m_month);
    SetYear(o.m_year);
    SetTitleFont(o.m_titleFont);
    SetDayNameFont(o.m_dayNameFont);
    SetCellFont(o.m_cellFont);
    SetShowYear(o.m_showYear);
    SetDayNameBGColor(o.m_dayNameBGColor);
    SetCalendarBorderStyle(o.m_calendarBorder);
    SetDayNameBorderStyle(o.m_dayNameBorder);
    SetCellBorderStyle(o.m_cellBorder);
    SetDayNameStyle(o.m_dayNameStyle);
    SetTitleBGColor(o.m_titleBGColor);
    SetBackgroundColor(o.m_backgroundColor);
    SetShadowColor(o.m_shadowColor);
    SetShadowDepth(o.m_shadowDepth);
    SetShadowPosition(o.m_shadowPosition);
    SetLanguage(o.m_language);
    SetCalTransparent(o.m_transparent);
}

FlatCalendarLook TQelFlatCalendar::Look() const
{
    const auto paintFont = [](const TFont& f) { return PaintFont{f.Name(), f.Size(), f.Style(), f.Color()}; };
    FlatCalendarLook look;
    look.startOfWeek = m_startOfWeek;
    look.month = m_month;
    look.year = m_year;
    look.titleFont = paintFont(*m_titleFont);
    look.dayNameFont = paintFont(*m_dayNameFont);
    look.cellFont = paintFont(*m_cellFont);
    look.showYear = m_showYear;
    look.dayNameBGColor = m_dayNameBGColor;
    look.calendarBorder = m_calendarBorder;
    look.dayNameBorder = m_dayNameBorder;
    look.cellBorder = m_cellBorder;
    look.dayNameStyle = m_dayNameStyle;
    look.titleBGColor = m_titleBGColor;
    look.backgroundColor = m_backgroundColor;
    look.shadowColor = m_shadowColor;
    look.shadowDepth = m_shadowDepth;
    look.shadowPosition = m_shadowPosition;
    look.language = m_language;
    look.transparent = m_transparent;
    return look;
}

MonthPaintParams TQelFlatCalendar::DrawOn(QPainter& painter, platform::TextCache* cache)
{
    platform::TCanvas canvas(painter, cache);
    return DrawFlatCalendar(canvas, Look(), width(), height(), ZoomFactor());
}

void TQelFlatCalendar::paintEvent(QPaintEvent*)
{
    if (const design::TQelBasePanel* panel = Panel(); panel && panel->SuspendPaint())
        return;
    QPainter painter(this);
    m_screen.Paint(painter, size(), std::pair(Look(), ZoomFactor()),
                   [this](QPainter& p) { DrawOn(p, &m_textCache); });
}

void TQelFlatCalendar::PrintTo(QPainter& painter, double originX, double originY)
{
    // The calendar's drawing in screen pixels, placed and scaled onto the page, so it stays vectors and text.
    const double ppi = platform::PixelsPerInch();
    const double dpiX = painter.device()->logicalDpiX();
    const double dpiY = painter.device()->logicalDpiY();
    painter.save();
    painter.translate((originX + x() / ppi) * dpiX, (originY + y() / ppi) * dpiY);
    painter.scale(dpiX / ppi, dpiY / ppi);
    painter.setClipRect(rect(), Qt::IntersectClip);
    DrawOn(painter);
    painter.restore();
}

void TQelFlatCalendar::AfterLoad()
{
    const bool built = Menu() != nullptr;
    TQelGraphicControl::AfterLoad();
    if (built)
        return;
    Menu()->addSeparator();
    AddMenuItem(tr("Properties"), "mnuProperties", [this] { EditProperties(); });
}

bool TQelFlatCalendar::EditProperties()
{
    // The dialog made at start-up serves every calendar; without one (a page used alone) a dialog of its own.
    std::unique_ptr<TFlatCalendarEditor> own;
    TFlatCalendarEditor* editor = TFlatCalendarEditor::Shared();
    if (!editor) {
        own = std::make_unique<TFlatCalendarEditor>(window() != this ? window() : nullptr);
        editor = own.get();
    }
    editor->EditObject(*this);
    if (editor->exec() != QDialog::Accepted)
        return false;
    AssignProperties(*editor->Sample());
    // The setters only repaint (a file sets them too); an edit the user confirmed is a change to save.
    NotifyChange();
    return true;
}

namespace {

using F = TQelFlatCalendar;
using design::BooleanProperty;
using design::EnumProperty;
using design::ObjectOf;
using persist::IntegerProperty;

const persist::EnumNames& BorderNames()
{
    static const persist::EnumNames names{{QStringLiteral("fcbNone"), QStringLiteral("fcbAll"),
                                           QStringLiteral("fcbTop"), QStringLiteral("fcbBottom"),
                                           QStringLiteral("fcbTopBottom")}};
    return names;
}

const persist::EnumNames& HeadersStyleNames()
{
    static const persist::EnumNames names{
        {QStringLiteral("fdsFirstChar"), QStringLiteral("fdsThreeChars"), QStringLiteral("fdsWhole")}};
    return names;
}

const persist::EnumNames& ShadowPositionNames()
{
    static const persist::EnumNames names{{QStringLiteral("fcpLowerRight"), QStringLiteral("fcpLowerLeft"),
                                           QStringLiteral("fcpUpperRight"), QStringLiteral("fcpUpperLeft")}};
    return names;
}

const persist::EnumNames& LanguageNames()
{
    static const persist::EnumNames names{{QStringLiteral("fclEnglish"), QStringLiteral("fclGerman"),
                                           QStringLiteral("fclFrench"), QStringLiteral("fclItalian"),
                                           QStringLiteral("fclSpanish")}};
    return names;
}

persist::PropertyInfo FontProperty(const QString& name, TFont* (F::*get)() const)
{
    persist::PropertyInfo p;
    p.name = name;
    p.kind = persist::PropKind::Object;
    p.getObject = [get](void* o) { return persist::FontRef((ObjectOf<F>(o)->*get)()); };
    return p;
}

persist::PropertyInfo ColorProperty(const QString& name, TColor (F::*get)() const, void (F::*set)(TColor))
{
    return IntegerProperty(
        name, std::nullopt, &persist::ColorNames(), [get](const void* o) { return (ObjectOf<F>(o)->*get)(); },
        [set](void* o, qint64 v) { (ObjectOf<F>(o)->*set)(TColor(v)); });
}

template <typename E>
persist::PropertyInfo EnumOf(const QString& name, const persist::EnumNames& names, E (F::*get)() const,
                             void (F::*set)(E))
{
    return EnumProperty(
        name, names, std::nullopt, [get](const void* o) { return qint64((ObjectOf<F>(o)->*get)()); },
        [set](void* o, qint64 v) { (ObjectOf<F>(o)->*set)(E(v)); });
}

persist::PropertyInfo IntOf(const QString& name, int (F::*get)() const, void (F::*set)(int))
{
    return IntegerProperty(
        name, std::nullopt, nullptr, [get](const void* o) { return (ObjectOf<F>(o)->*get)(); },
        [set](void* o, qint64 v) { (ObjectOf<F>(o)->*set)(int(v)); });
}

persist::PropertyInfo BoolOf(const QString& name, bool (F::*get)() const, void (F::*set)(bool))
{
    return BooleanProperty(
        name, std::nullopt, [get](const void* o) { return (ObjectOf<F>(o)->*get)(); },
        [set](void* o, bool v) { (ObjectOf<F>(o)->*set)(v); });
}

persist::ClassInfo MakeFlatCalendarClass()
{
    persist::ClassInfo c;
    c.name = QStringLiteral("TQelFlatCalendar");
    c.base = &design::GraphicControlClass();
    // Every property is written, whatever its value: none has a stream default.
    c.properties = {
        IntOf(QStringLiteral("StartOfWeek"), &F::StartOfWeek, &F::SetStartOfWeek),
        IntOf(QStringLiteral("Month"), &F::Month, &F::SetMonth),
        IntOf(QStringLiteral("Year"), &F::Year, &F::SetYear),
        FontProperty(QStringLiteral("TitleFont"), &F::TitleFont),
        FontProperty(QStringLiteral("DayNameFont"), &F::DayNameFont),
        FontProperty(QStringLiteral("CellFont"), &F::CellFont),
        BoolOf(QStringLiteral("ShowYear"), &F::ShowYear, &F::SetShowYear),
        ColorProperty(QStringLiteral("DayNameBGColor"), &F::DayNameBGColor, &F::SetDayNameBGColor),
        EnumOf(QStringLiteral("CalendarBorderStyle"), BorderNames(), &F::CalendarBorderStyle,
               &F::SetCalendarBorderStyle),
        EnumOf(QStringLiteral("DayNameBorderStyle"), BorderNames(), &F::DayNameBorderStyle,
               &F::SetDayNameBorderStyle),
        EnumOf(QStringLiteral("CellBorderStyle"), BorderNames(), &F::CellBorderStyle, &F::SetCellBorderStyle),
        EnumOf(QStringLiteral("DayNameStyle"), HeadersStyleNames(), &F::DayNameStyle, &F::SetDayNameStyle),
        ColorProperty(QStringLiteral("TitleBGcolor"), &F::TitleBGColor, &F::SetTitleBGColor),
        ColorProperty(QStringLiteral("Backgroundcolor"), &F::BackgroundColor, &F::SetBackgroundColor),
        ColorProperty(QStringLiteral("ShadowColor"), &F::ShadowColor, &F::SetShadowColor),
        IntOf(QStringLiteral("ShadowDepth"), &F::ShadowDepth, &F::SetShadowDepth),
        EnumOf(QStringLiteral("ShadowPosition"), ShadowPositionNames(), &F::ShadowPosition,
               &F::SetShadowPosition),
        EnumOf(QStringLiteral("Language"), LanguageNames(), &F::Language, &F::SetLanguage),
        BoolOf(QStringLiteral("CalTransparent"), &F::CalTransparent, &F::SetCalTransparent),
    };
    return c;
}

} // namespace

void RegisterFlatCalendarClass()
{
    static persist::ClassInfo cls = MakeFlatCalendarClass();
    static const bool registered = [] {
        design::RegisterPlacedObjectClass(cls, &TQelFlatCalendar::staticMetaObject,
                                          [] { return new TQelFlatCalendar; });
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace calendar
