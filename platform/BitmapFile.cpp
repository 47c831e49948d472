#include "platform/BitmapFile.h"

#include "platform/StraightAlpha.h"

#include <QBuffer>
#include <QImageWriter>

namespace platform {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kV5HeaderSize = 124;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t LCS_sRGB = 0x73524742; // 'sRGB'
constexpr std::uint32_t LCS_GM_IMAGES = 4;

void Put16(QByteArray& out, std::uint32_t v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

QByteArray BitmapWithAlpha(const QImage& image)
{
    const std::uint32_t pixelBytes = std::uint32_t(image.width()) * std::uint32_t(image.height()) * 4;
    QByteArray out;
    out.reserve(qsizetype(kFileHeaderSize + kV5HeaderSize + pixelBytes));
    out.append("BM", 2);
    Put32(out, kFileHeaderSize + kV5HeaderSize + pixelBytes);
    Put32(out, 0);
    Put32(out, kFileHeaderSize + kV5HeaderSize);
    Put32(out, kV5HeaderSize);
    Put32(out, std::uint32_t(image.width()));
    Put32(out, std::uint32_t(image.height())); // positive: the bottom row first
    Put16(out, 1);                             // planes
    Put16(out, 32);                            // bits per pixel
    Put32(out, BI_BITFIELDS);
    Put32(out, pixelBytes);
    Put32(out, std::uint32_t(image.dotsPerMeterX()));
    Put32(out, std::uint32_t(image.dotsPerMeterY()));
    Put32(out, 0);           // colours used
    Put32(out, 0);           // colours important
    Put32(out, 0x00FF0000u); // red, green, blue and alpha masks
    Put32(out, 0x0000FF00u);
    Put32(out, 0x000000FFu);
    Put32(out, 0xFF000000u);
    Put32(out, LCS_sRGB);
    out.append(QByteArray(36 + 12, '\0')); // end points and gamma, unused with sRGB
    Put32(out, LCS_GM_IMAGES);
    Put32(out, 0); // profile data
    Put32(out, 0); // profile size
    Put32(out, 0); // reserved
    // A pixel 0xAARRGGBB written lowest byte first: blue, green, red, alpha, as the masks say.
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            Put32(out, line[x]);
    }
    return out;
}

} // namespace

bool HasTransparency(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return false;
    const QImage straight = StraightAlpha(image);
    for (int y = 0; y < straight.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        for (int x = 0; x < straight.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                return true;
        }
    }
    return false;
}

QByteArray BitmapFileData(const QImage& image)
{
    if (HasTransparency(image))
        return BitmapWithAlpha(StraightAlpha(image));
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    writer.write(image);
    return file;
}

} // namespace platform
