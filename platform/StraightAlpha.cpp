#include "platform/StraightAlpha.h"

namespace platform {

QImage StraightAlpha(const QImage& image)
{
    if (image.isNull() || image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32)
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    if (image.pixelFormat().premultiplied() != QPixelFormat::Premultiplied)
        return image.convertToFormat(QImage::Format_ARGB32);
    // Between premultiplied formats Qt only moves the channels about.
    const QImage premultiplied = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(premultiplied.size(), QImage::Format_ARGB32);
    if (out.isNull())
        return out;
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    for (int y = 0; y < out.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = qUnpremultiply(in[x]);
    }
    return out;
}

} // namespace platform
