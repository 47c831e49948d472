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

} // namespace testsupport
