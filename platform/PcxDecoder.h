#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace platform {

/**
 * Decodes a PCX picture: 1 to 8 bits per pixel in 1 to 4 planes (the header's 16 colours, the default EGA
 * colours when the header has none, the 256-colour palette at the end of the file), and 24- and 32-bit
 * pictures in three or four planes. Gives a null image and the reason when the data is no PCX picture, is
 * damaged or too large.
 */
QImage DecodePcx(QByteArrayView data, QString& error);

bool LooksLikePcx(QByteArrayView data);

} // namespace platform
