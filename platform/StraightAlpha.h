#pragma once

#include <QImage>

namespace platform {

/**
 * The image as Format_RGB32 when it has no alpha channel, otherwise as Format_ARGB32 with colours not
 * multiplied by alpha. A premultiplied image is turned back pixel by pixel in integer arithmetic, so the
 * result is the same on every processor (Qt's own conversion rounds differently with different vector
 * instructions). Other formats are converted by Qt, which does not go through premultiplied colours for them.
 */
QImage StraightAlpha(const QImage& image);

} // namespace platform
