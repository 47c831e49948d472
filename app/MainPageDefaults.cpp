#include "app/MainPageDefaults.h"

#include "calendar/TCalendarPanel32.h"
#include "platform/Screen.h"
#include "platform/TFont.h"

namespace app {

namespace {

/** A font of the form: its height in pixels at 96 pixels per inch, scaled to the screen as the form is. */
void SetFont(platform::TFont& font, int height96, platform::TFontStyles style)
{
    font.SetName(QStringLiteral("Times New Roman"));
    font.SetHeight(platform::MulDiv(height96, platform::PixelsPerInch(), 96));
    font.SetStyle(style);
}

} // namespace

void SetMainPageDefaults(calendar::TCalendarPanel32& page)
{
    page.SetCalendarLayout(calendar::loFCMinisInTitleLS);
    SetFont(*page.TitleFont(), -35, platform::fsBold);
    SetFont(*page.HeadersFont(), -21, platform::fsBold);
    SetFont(*page.CellFont(), -21, platform::fsBold);
    page.SetMiniHeadersBorder(calendar::cbBottom);
    page.SetMiniCellBorder(calendar::cbAll);
    page.SetMiniHeadersBGColor(platform::clBlack);
    SetFont(*page.MiniTitleFont(), -13, platform::fsBold);
    SetFont(*page.MiniHeadersFont(), -11, {});
    page.MiniHeadersFont()->SetColor(platform::clWhite);
    SetFont(*page.MiniCellFont(), -11, {});
    page.SetMainCalMonth(12);
    page.SetMainCalYear(1997);
    page.SetHeadersStyle(calendar::dsWhole);
    page.SetNumberPosition(calendar::cnpUpperRight);
}

} // namespace app
