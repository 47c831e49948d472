#pragma once

#include "platform/TColor.h"
#include "platform/TRect.h"

#include <QImage>

namespace testsupport {

/** The pixel's colour as a TColor value (red lowest). */
platform::TColor ColorAt(const QImage& image, int x, int y);

/** Pixels of exactly this colour inside the rectangle (right and bottom excluded). */
int CountColor(const QImage& image, const platform::TRect& rect, platform::TColor color);

/** Pixels inside the rectangle that are not white. */
int CountInk(const QImage& image, const platform::TRect& rect);

} // namespace testsupport
