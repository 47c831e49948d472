#pragma once

class QPaintDevice;

namespace platform {

/** The screen's pixels per inch that all page geometry uses: the primary screen's logical DPI, 96 without
 * one. */
int PixelsPerInch();

/** Pins PixelsPerInch() to a value (tests, tools); 0 returns to the screen's own value. */
void SetPixelsPerInchOverride(int ppi);

/**
 * A raster device at PixelsPerInch(): text measured on it is measured as the screen measures it, whatever
 * device it is then drawn on (a printer's dots, a PDF's points), so paper places text where the screen does.
 */
const QPaintDevice* ScreenMetricsDevice();

/** a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0. */
int MulDiv(int a, int b, int c);

} // namespace platform
