#include "platform/TFont.h"

#include "platform/Screen.h"

#include <algorithm>
#include <cmath>

namespace platform {

TFont::TFont(QObject* parent) : QObject(parent), m_pixelsPerInch(platform::PixelsPerInch()) {}

void TFont::SetName(const QString& name)
{
    if (name == m_name)
        return;
    m_name = name;
    notify();
}

void TFont::SetHeight(int height)
{
    if (height == m_height)
        return;
    m_height = height;
    notify();
}

int TFont::Size() const
{
    return -MulDiv(m_height, 72, m_pixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, m_pixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == m_style)
        return;
    m_style = style;
    notify();
}

void TFont::SetColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    notify();
}

void TFont::SetCharset(int charset)
{
    if (charset == m_charset)
        return;
    m_charset = charset;
    notify();
}

void TFont::SetPitch(TFontPitch pitch)
{
    if (pitch == m_pitch)
        return;
    m_pitch = pitch;
    notify();
}

void TFont::Assign(const TFont& other)
{
    if (&other == this)
        return;
    m_name = other.m_name;
    // A font made at another pixels per inch keeps its size in points.
    m_height = other.m_pixelsPerInch == m_pixelsPerInch ? other.m_height
                                                        : -MulDiv(other.Size(), m_pixelsPerInch, 72);
    m_style = other.m_style;
    m_color = other.m_color;
    m_charset = other.m_charset;
    m_pitch = other.m_pitch;
    notify();
}

bool TFont::SameLook(const TFont& other) const
{
    return m_name == other.m_name && m_style == other.m_style && m_color == other.m_color;
}

void TFont::notify()
{
    Q_EMIT changed();
}

int FontPixels(int points, float zoom)
{
    const double zoomed = std::trunc(points * double(zoom));
    const double limit = double(kMaxFontPixels) * 72 / PixelsPerInch();
    return MulDiv(static_cast<int>(std::clamp(zoomed, -limit, limit)), PixelsPerInch(), 72);
}

QFont MakeQFont(const QString& name, int pixelSize, TFontStyles style)
{
    QFont font(name);
    font.setPixelSize(std::clamp(pixelSize, 1, kMaxFontPixels));
    font.setBold(style.testFlag(fsBold));
    font.setItalic(style.testFlag(fsItalic));
    font.setUnderline(style.testFlag(fsUnderline));
    font.setStrikeOut(style.testFlag(fsStrikeOut));
    return font;
}

FontChoice FontForDialog(const TFont& font)
{
    QFont result(font.Name());
    result.setPointSize(std::max(1, font.Size()));
    result.setBold(font.Style().testFlag(fsBold));
    result.setItalic(font.Style().testFlag(fsItalic));
    result.setUnderline(font.Style().testFlag(fsUnderline));
    result.setStrikeOut(font.Style().testFlag(fsStrikeOut));
    return {result, font.Color()};
}

void TakeDialogFont(TFont& font, const FontChoice& chosen)
{
    TFont taken;
    taken.Assign(font);
    taken.SetName(chosen.font.family());
    if (chosen.font.pointSize() > 0 && chosen.font.pointSize() != font.Size())
        taken.SetSize(chosen.font.pointSize());
    TFontStyles style;
    if (chosen.font.bold())
        style |= fsBold;
    if (chosen.font.italic())
        style |= fsItalic;
    if (chosen.font.underline())
        style |= fsUnderline;
    if (chosen.font.strikeOut())
        style |= fsStrikeOut;
    taken.SetStyle(style);
    taken.SetColor(chosen.color);
    font.Assign(taken);
}

} // namespace platform
