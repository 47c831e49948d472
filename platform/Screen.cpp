#include "platform/Screen.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <cmath>
#include <cstdint>

namespace platform {

namespace {
int g_override = 0;
}

int PixelsPerInch()
{
    if (g_override > 0)
        return g_override;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return static_cast<int>(std::lround(screen->logicalDotsPerInchY()));
    }
    return 96;
}

void SetPixelsPerInchOverride(int ppi)
{
    g_override = ppi;
}

const QPaintDevice* ScreenMetricsDevice()
{
    static QImage device;
    const int dotsPerMeter = int(std::lround(PixelsPerInch() / 0.0254));
    if (device.isNull())
        device = QImage(1, 1, QImage::Format_RGB32);
    if (device.dotsPerMeterX() != dotsPerMeter) {
        device.setDotsPerMeterX(dotsPerMeter);
        device.setDotsPerMeterY(dotsPerMeter);
    }
    return &device;
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t product = std::int64_t(a) * b;
    const std::int64_t half = (c < 0 ? -std::int64_t(c) : std::int64_t(c)) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude =
        ((product < 0 ? -product : product) + half) / (c < 0 ? -std::int64_t(c) : c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

} // namespace platform
