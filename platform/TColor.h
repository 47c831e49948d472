#pragma once

#include <QColor>
#include <QtGlobal>

namespace platform {

/** A colour as a 32-bit value: red in the lowest byte, then green and blue; negative values name system
 * colours. */
using TColor = qint32;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

/** System colour number n (the classic Windows colour indices 0..30). */
constexpr TColor SystemColor(int n)
{
    return static_cast<TColor>(0x80000000u | static_cast<quint32>(n));
}
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowText = SystemColor(8);

/** The colour as RGB; system colours resolve to the classic Windows defaults. */
QColor ToQColor(TColor color);

/** The colour's value with red, green and blue in the TColor byte order (opaque colours only). */
TColor FromQColor(const QColor& color);

} // namespace platform
