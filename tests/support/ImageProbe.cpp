#include "tests/support/ImageProbe.h"

namespace testsupport {

platform::TColor ColorAt(const QImage& image, int x, int y)
{
    return platform::FromQColor(image.pixelColor(x, y));
}

int CountColor(const QImage& image, const platform::TRect& rect, platform::TColor color)
{
    const QRgb wanted = platform::ToQColor(color).rgb();
    int count = 0;
    for (int y = std::max(0, rect.top); y < std::min(image.height(), rect.bottom); ++y)
        for (int x = std::max(0, rect.left); x < std::min(image.width(), rect.right); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF) ? 1 : 0;
    return count;
}

int CountInk(const QImage& image, const platform::TRect& rect)
{
    int total = std::max(0, std::min(image.height(), rect.bottom) - std::max(0, rect.top)) *
                std::max(0, std::min(image.width(), rect.right) - std::max(0, rect.left));
    return total - CountColor(image, rect, platform::clWhite);
}

QImage HalfClearPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int alpha = 1 + (y * width + x) * 37 % 254;
            image.setPixel(x, y, qRgba(255 - 3 * x, 144, 7 * y + 1, alpha));
        }
    }
    return image;
}

QString FirstDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return QStringLiteral("sizes differ");
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("%1,%2: %3 vs %4")
                    .arg(x)
                    .arg(y)
                    .arg(QString::number(a.pixel(x, y), 16), QString::number(b.pixel(x, y), 16));
    return {};
}

} // namespace testsupport
