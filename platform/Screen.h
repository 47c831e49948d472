#pragma once

namespace platform {

/** The screen's pixels per inch that all page geometry uses: the primary screen's logical DPI, 96 without
 * one. */
int PixelsPerInch();

/** Pins PixelsPerInch() to a value (tests, tools); 0 returns to the screen's own value. */
void SetPixelsPerInchOverride(int ppi);

/** a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0. */
int MulDiv(int a, int b, int c);

} // namespace platform
