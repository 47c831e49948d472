#pragma once

#include <QSize>
#include <QString>

namespace platform {

/** The largest picture the program decodes: 16,384 pixels on a side and 256 million pixels in all. */
constexpr int kMaxPictureSide = 16384;
constexpr qint64 kMaxPicturePixels = 256'000'000;

/** Empty when a picture of the size may be decoded, otherwise the reason it is refused. */
QString PictureSizeProblem(const QSize& size);

} // namespace platform
