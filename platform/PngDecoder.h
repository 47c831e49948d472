#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace platform {

/** True when the bytes start with the PNG signature. */
bool LooksLikePng(QByteArrayView data);

/** True when the bytes hold a PNG picture's chunks up to and with its end chunk, none of them cut. */
bool PngComplete(QByteArrayView data);

/**
 * Decodes a PNG picture with libpng into Format_ARGB32 (a picture with alpha or a transparent colour) or
 * Format_RGB32, its pixels exactly the file's (16-bit samples rounded to 8 bits, no gamma applied). libpng's
 * complaints never reach the terminal: a damaged or cut picture gives a null image and the reason.
 */
QImage DecodePng(QByteArrayView data, QString& error);

} // namespace platform
