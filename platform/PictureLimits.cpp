#include "platform/PictureLimits.h"

#include <QCoreApplication>

namespace platform {

QString PictureSizeProblem(const QSize& size)
{
    if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
        qint64(size.width()) * size.height() > kMaxPicturePixels)
        return QCoreApplication::translate("PictureLimits",
                                           "the picture is too large (%1 × %2 pixels; at most %3 pixels on a "
                                           "side and 256 million in all)")
            .arg(size.width())
            .arg(size.height())
            .arg(kMaxPictureSide);
    return {};
}

} // namespace platform
