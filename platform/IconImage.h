#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace platform {

/**
 * Decodes one image of an icon as an icon file or a library holds it: a PNG picture, or a device-independent
 * bitmap of 1, 4, 8, 16, 24 or 32 bits per pixel followed by its transparency mask. The result is
 * Format_ARGB32 with the stored colours and alpha exactly: from the alpha bytes of a 32-bit image that has
 * any, otherwise from the mask (clear where a mask bit is set). A null image and the reason when the data is
 * damaged.
 */
QImage DecodeIconImage(QByteArrayView data, QString& error);

/**
 * True when the data holds every byte its header promises (a bitmap's colours and mask, a PNG picture's
 * chunks), so an icon file cut inside an image is found without decoding it.
 */
bool IconImageComplete(QByteArrayView data);

} // namespace platform
