#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace platform {

/**
 * Decodes a Targa picture: colour-mapped, true-colour and grey, uncompressed or run-length, 8 to 32 bits per
 * pixel, either origin, with its alpha channel. Gives a null image and the reason when the data is no Targa
 * picture, is damaged or too large.
 */
QImage DecodeTga(QByteArrayView data, QString& error);

/** True when the bytes could start a Targa picture (the format has no signature; the header is checked). */
bool LooksLikeTga(QByteArrayView data);

} // namespace platform
