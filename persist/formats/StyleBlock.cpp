#include "persist/formats/StyleBlock.h"

#include "calendar/TCalendarPanel32.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"
#include "platform/TFont.h"

#include <cmath>
#include <limits>

namespace persist {

using calendar::TCalendarPanel32;
using platform::TFont;

namespace {

/**
 * The nearest hundredth, ties to even (0.125 gives 12). A margin read back as hundredths * 0.01 is a float a
 * little below or above its hundredth, so truncating would lose a hundredth on every open and save.
 */
qint32 MarginHundredths(float inches)
{
    const double hundredths = std::nearbyint(double(inches) * 100);
    if (!(hundredths >= std::numeric_limits<qint32>::min() &&
          hundredths <= std::numeric_limits<qint32>::max()))
        return 0;
    return static_cast<qint32>(hundredths);
}

float MarginInches(qint32 hundredths)
{
    return static_cast<float>(hundredths * 0.01);
}

/** An enumeration value in 0..last; anything else is not a value the page can hold. */
template <typename E> E TakeEnum(TReader& reader, int last)
{
    const qint32 value = reader.TakeInteger();
    if (value < 0 || value > last)
        throw StreamError(kInvalidPropertyValue);
    return static_cast<E>(value);
}

} // namespace

void WriteFontRecord(TWriter& writer, const TFont& font)
{
    writer.PutText(font.Name());
    writer.PutInteger(font.Size());
    writer.PutBoolean(font.Style().testFlag(platform::fsBold));
    writer.PutBoolean(font.Style().testFlag(platform::fsItalic));
    writer.PutBoolean(font.Style().testFlag(platform::fsUnderline));
    writer.PutBoolean(font.Style().testFlag(platform::fsStrikeOut));
    writer.PutInteger(font.Color());
}

void ReadFontRecord(TReader& reader, TFont& font)
{
    font.SetName(reader.TakeText().left(255));
    font.SetSize(reader.TakeInteger());
    platform::TFontStyles style;
    if (reader.TakeBoolean())
        style |= platform::fsBold;
    if (reader.TakeBoolean())
        style |= platform::fsItalic;
    if (reader.TakeBoolean())
        style |= platform::fsUnderline;
    if (reader.TakeBoolean())
        style |= platform::fsStrikeOut;
    font.SetStyle(style);
    font.SetColor(reader.TakeInteger());
}

void WriteStyleBlock(TWriter& w, const TCalendarPanel32& page)
{
    w.PutInteger(page.PaperSize());
    w.PutInteger(page.CalendarOrientation());
    w.PutInteger(MarginHundredths(page.LeftMarginInch()));
    w.PutInteger(MarginHundredths(page.TopMarginInch()));
    w.PutInteger(MarginHundredths(page.RightMarginInch()));
    w.PutInteger(MarginHundredths(page.BottomMarginInch()));
    w.PutInteger(page.CalendarLayout());
    w.PutInteger(page.CalendarBorder());
    w.PutInteger(page.CalendarLineLayout());
    for (const QString& name : page.MonthNames())
        w.PutText(name);
    for (const QString& name : page.DayNames())
        w.PutText(name);
    w.PutInteger(page.TitleBGColor());
    WriteFontRecord(w, *page.TitleFont());
    w.PutBoolean(page.TitleShowYear());
    WriteFontRecord(w, *page.HeadersFont());
    w.PutInteger(page.HeadersBorder());
    w.PutInteger(page.HeadersStyle());
    w.PutInteger(page.HeadersBGColor());
    WriteFontRecord(w, *page.CellFont());
    w.PutInteger(page.CellBorder());
    w.PutInteger(page.MiniCalendarLineLayout());
    w.PutInteger(page.MiniCalBorder());
    w.PutInteger(page.MiniCalBGColor());
    w.PutBoolean(page.MiniShowYear());
    WriteFontRecord(w, *page.MiniTitleFont());
    WriteFontRecord(w, *page.MiniHeadersFont());
    w.PutInteger(page.MiniHeadersBGColor());
    w.PutInteger(page.MiniHeadersStyle());
    w.PutInteger(page.MiniHeadersBorder());
    w.PutInteger(page.MiniCellBorder());
    WriteFontRecord(w, *page.MiniCellFont());
    w.PutInteger(page.NumberPosition());
}

void ReadStyleBlock(TReader& r, TCalendarPanel32& page)
{
    using namespace calendar;
    page.StorePaperSize(TakeEnum<int>(r, 1));
    page.StoreCalendarOrientation(TakeEnum<TCalendarOrientation>(r, coLandscape));
    const float left = MarginInches(r.TakeInteger());
    page.StoreMargins(left, page.TopMarginInch(), page.RightMarginInch(), page.BottomMarginInch());
    const float top = MarginInches(r.TakeInteger());
    page.StoreMargins(left, top, page.RightMarginInch(), page.BottomMarginInch());
    const float right = MarginInches(r.TakeInteger());
    page.StoreMargins(left, top, right, page.BottomMarginInch());
    page.StoreMargins(left, top, right, MarginInches(r.TakeInteger()));
    page.StoreCalendarLayout(TakeEnum<TCalendarLayout>(r, kLayoutCount - 1));
    page.SetCalendarBorder(TakeEnum<TCalBorderStyle>(r, cbTopBottom));
    page.StoreCalendarLineLayout(TakeEnum<TCalendarLineLayout>(r, llCellsOnly));
    for (int i = 1; i <= 12; ++i)
        page.SetMonthName(i, r.TakeText());
    for (int i = 1; i <= 7; ++i)
        page.SetDayName(i, r.TakeText());
    page.SetTitleBGColor(r.TakeInteger());
    ReadFontRecord(r, *page.TitleFont());
    page.SetTitleShowYear(r.TakeBoolean());
    ReadFontRecord(r, *page.HeadersFont());
    page.SetHeadersBorder(TakeEnum<TCalBorderStyle>(r, cbTopBottom));
    page.SetHeadersStyle(TakeEnum<TCalHeadersStyle>(r, dsWhole));
    page.SetHeadersBGColor(r.TakeInteger());
    ReadFontRecord(r, *page.CellFont());
    page.SetCellBorder(TakeEnum<TCalBorderStyle>(r, cbTopBottom));
    page.StoreMiniCalendarLineLayout(TakeEnum<TMiniCalendarLineLayout>(r, mllMinimal));
    page.SetMiniCalBorder(TakeEnum<TCalBorderStyle>(r, cbTopBottom));
    page.SetMiniCalBGColor(r.TakeInteger());
    page.SetMiniShowYear(r.TakeBoolean());
    ReadFontRecord(r, *page.MiniTitleFont());
    ReadFontRecord(r, *page.MiniHeadersFont());
    page.SetMiniHeadersBGColor(r.TakeInteger());
    page.SetMiniHeadersStyle(TakeEnum<TCalHeadersStyle>(r, dsWhole));
    page.SetMiniHeadersBorder(TakeEnum<TCalBorderStyle>(r, cbTopBottom));
    page.SetMiniCellBorder(TakeEnum<TCalBorderStyle>(r, cbTopBottom));
    ReadFontRecord(r, *page.MiniCellFont());
    page.SetNumberPosition(TakeEnum<TCalendarNumberPosition>(r, cnpUpperRight));
}

} // namespace persist
