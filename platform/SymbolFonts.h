#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace platform {

/**
 * The symbol fonts the program draws itself: their character codes 32 to 255 go through a code table onto
 * Unicode characters, drawn with the Symbola font, so "Wingdings", "Webdings" and "Symbol" look right without
 * the fonts being installed.
 */
QStringList TableSymbolFonts();
bool IsTableSymbolFont(const QString& family);
/** The Unicode character code 32..255 of the font stands for; other codes and fonts give the code itself. */
char32_t SymbolCharacter(const QString& family, int code);
/** The character code of a character of text: its Windows-1252 byte, -1 when it has none. */
int SymbolCode(QChar c);
/** The character of text that stands for a character code 0..255 (through Windows-1252). */
QString SymbolCodeText(int code);
/** The text to draw for text set in the font: mapped through its table, unchanged for other fonts. */
QString SymbolText(const QString& family, const QString& text);
/** The family that draws text set in the font: "Symbola" for the table fonts, the family itself otherwise. */
QString DrawingFamily(const QString& family);

} // namespace platform
