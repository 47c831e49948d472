#include "platform/TgaDecoder.h"

#include "platform/ByteReader.h"
#include "platform/PictureLimits.h"

#include <QCoreApplication>

#include <vector>

namespace platform {

namespace {

struct TgaHeader
{
    int idLength = 0;
    int colorMapType = 0;
    int imageType = 0;
    int mapFirst = 0;
    int mapLength = 0;
    int mapEntryBits = 0;
    int width = 0;
    int height = 0;
    int pixelBits = 0;
    int descriptor = 0;
};

TgaHeader ReadHeader(ByteReader& in)
{
    TgaHeader h;
    h.idLength = in.U8();
    h.colorMapType = in.U8();
    h.imageType = in.U8();
    h.mapFirst = in.U16();
    h.mapLength = in.U16();
    h.mapEntryBits = in.U8();
    in.Skip(4); // origin on the screen, not needed for the picture
    h.width = in.U16();
    h.height = in.U16();
    h.pixelBits = in.U8();
    h.descriptor = in.U8();
    return h;
}

bool ValidHeader(const TgaHeader& h)
{
    const int base = h.imageType & ~8;
    if (base < 1 || base > 3 || h.colorMapType > 1)
        return false;
    if (base == 1) {
        if (h.colorMapType != 1 || (h.pixelBits != 8 && h.pixelBits != 16))
            return false;
        if (h.mapEntryBits != 15 && h.mapEntryBits != 16 && h.mapEntryBits != 24 && h.mapEntryBits != 32)
            return false;
    } else if (base == 2) {
        if (h.pixelBits != 15 && h.pixelBits != 16 && h.pixelBits != 24 && h.pixelBits != 32)
            return false;
    } else if (h.pixelBits != 8 && h.pixelBits != 16) {
        return false;
    }
    return h.width > 0 && h.height > 0;
}

/** A 15- or 16-bit pixel: five bits each of blue, green and red, and an attribute bit used as alpha. */
QRgb From16(std::uint32_t v, bool alpha)
{
    auto expand = [](std::uint32_t c) { return int((c << 3) | (c >> 2)); };
    const int a = alpha ? ((v & 0x8000) ? 255 : 0) : 255;
    return qRgba(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31), a);
}

QString Tr(const char* text)
{
    return QCoreApplication::translate("TgaDecoder", text);
}

} // namespace

bool LooksLikeTga(QByteArrayView data)
{
    if (data.size() < 18)
        return false;
    ByteReader in(data);
    return ValidHeader(ReadHeader(in));
}

QImage DecodeTga(QByteArrayView data, QString& error)
{
    ByteReader in(data);
    const TgaHeader h = ReadHeader(in);
    if (in.Overrun() || !ValidHeader(h)) {
        error = Tr("not a Targa picture");
        return {};
    }
    if (const QString problem = PictureSizeProblem(QSize(h.width, h.height)); !problem.isEmpty()) {
        error = problem;
        return {};
    }
    in.Skip(h.idLength);

    // The colour map, converted to colours once.
    std::vector<QRgb> map;
    if (h.colorMapType == 1) {
        const int entryBytes = (h.mapEntryBits + 7) / 8;
        if (qint64(h.mapLength) * entryBytes > in.Remaining()) {
            error = Tr("the file ends early");
            return {};
        }
        map.resize(size_t(h.mapFirst) + size_t(h.mapLength), qRgb(0, 0, 0));
        for (int i = 0; i < h.mapLength; ++i) {
            QRgb c;
            if (entryBytes == 2) {
                c = From16(in.U16(), false);
            } else {
                const int b = in.U8(), g = in.U8(), r = in.U8();
                const int a = entryBytes == 4 ? in.U8() : 255;
                c = qRgba(r, g, b, entryBytes == 4 ? a : 255);
            }
            map[size_t(h.mapFirst + i)] = c;
        }
    }

    const int base = h.imageType & ~8;
    const bool rle = (h.imageType & 8) != 0;
    const int bytesPerPixel = (h.pixelBits + 7) / 8;
    const int alphaBits = h.descriptor & 15;
    const bool hasAlpha =
        alphaBits > 0 && ((base == 2 && (h.pixelBits == 32 || h.pixelBits == 16)) ||
                          (base == 3 && h.pixelBits == 16) || (base == 1 && h.mapEntryBits == 32));
    const qint64 pixels = qint64(h.width) * h.height;
    // Every pixel costs at least one byte of a run-length packet for every 128 pixels; refuse a file that
    // could not hold its own pixels before allocating them.
    if ((!rle && pixels * bytesPerPixel > in.Remaining()) || (rle && (pixels + 127) / 128 > in.Remaining())) {
        error = Tr("the file ends early");
        return {};
    }

    QImage image(h.width, h.height, hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        error = Tr("not enough memory for the picture");
        return {};
    }

    auto readPixel = [&](ByteReader& r) -> QRgb {
        switch (base) {
        case 1: {
            const std::uint32_t index = bytesPerPixel == 1 ? r.U8() : r.U16();
            return index < map.size() ? map[index] : qRgb(0, 0, 0);
        }
        case 3: {
            const int v = r.U8();
            if (bytesPerPixel == 2) {
                const int a = r.U8();
                return qRgba(v, v, v, hasAlpha ? a : 255);
            }
            return qRgb(v, v, v);
        }
        default:
            if (bytesPerPixel == 2)
                return From16(r.U16(), hasAlpha);
            const int b = r.U8(), g = r.U8(), rd = r.U8();
            if (bytesPerPixel == 4) {
                const int a = r.U8();
                return qRgba(rd, g, b, hasAlpha ? a : 255);
            }
            return qRgb(rd, g, b);
        }
    };

    const bool topFirst = (h.descriptor & 0x20) != 0;
    const bool rightToLeft = (h.descriptor & 0x10) != 0;
    int run = 0;         // pixels left in the current packet
    bool repeat = false; // the packet repeats one pixel
    QRgb repeated = 0;
    for (int row = 0; row < h.height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(topFirst ? row : h.height - 1 - row));
        for (int col = 0; col < h.width; ++col) {
            QRgb c;
            if (!rle) {
                c = readPixel(in);
            } else {
                if (run == 0) {
                    const int packet = in.U8();
                    run = (packet & 0x7F) + 1;
                    repeat = (packet & 0x80) != 0;
                    if (repeat)
                        repeated = readPixel(in);
                }
                c = repeat ? repeated : readPixel(in);
                --run;
            }
            if (in.Overrun()) {
                error = Tr("the file ends early");
                return {};
            }
            line[rightToLeft ? h.width - 1 - col : col] = hasAlpha ? c : (c | 0xFF000000u);
        }
    }
    return image;
}

} // namespace platform
