#pragma once

#include <QByteArray>
#include <QImage>

namespace platform {

/**
 * The picture as a bitmap file. A picture with any pixel that is not fully opaque becomes a 32-bit bitmap
 * with a BITMAPV5HEADER whose alpha mask names the fourth byte of each pixel (colours not multiplied by
 * alpha), so its transparency comes back when it is read; every reader of bitmaps takes it. Any other picture
 * is written as Qt writes bitmaps (24 bits, or 8 and fewer with the picture's own colour table).
 */
QByteArray BitmapFileData(const QImage& image);

/** True when some pixel of the picture is not fully opaque. */
bool HasTransparency(const QImage& image);

} // namespace platform
