#pragma once

#include "persist/stream/ClassInfo.h"

#include <QByteArray>
#include <QImage>

namespace supertext {

/** The stream table of TQelSuperText (the class is registered on first use). */
const persist::ClassInfo& SuperTextClass();

/** A bitmap's stream form: a 4-byte length and the bitmap file; nothing for an empty bitmap. */
QByteArray BitmapStreamData(const QImage& image);
/** The bitmap of a stream form; a null image when the data is not a readable bitmap of that length. */
QImage BitmapFromStreamData(const QByteArray& data);

} // namespace supertext
