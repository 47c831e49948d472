#pragma once

#include "platform/TColor.h"
#include "platform/TRect.h"

#include <QImage>
#include <QString>

namespace testsupport {

/** The pixel's colour as a TColor value (red lowest). */
platform::TColor ColorAt(const QImage& image, int x, int y);

/** Pixels of exactly this colour inside the rectangle (right and bottom excluded). */
int CountColor(const QImage& image, const platform::TRect& rect, platform::TColor color);

/** Pixels inside the rectangle that are not white. */
int CountInk(const QImage& image, const platform::TRect& rect);

/** Half-clear pixels whose colours a round trip through premultiplied alpha changes, on any processor. */
QImage HalfClearPicture(int width = 128, int height = 128);

/** The first pixel, as "x,y: 0xAARRGGBB vs 0xAARRGGBB", where two pictures of one size differ; empty if none.
 */
QString FirstDifference(const QImage& a, const QImage& b);

} // namespace testsupport
