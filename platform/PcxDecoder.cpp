#include "platform/PcxDecoder.h"

#include "platform/ByteReader.h"
#include "platform/PictureLimits.h"

#include <QCoreApplication>

#include <array>
#include <vector>

namespace platform {

namespace {

constexpr int kHeaderSize = 128;

// The colours of the EGA adapter, used when a 16-colour picture leaves its header palette empty.
constexpr std::array<QRgb, 16> kEgaColours = {
    0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA, 0xFFAA5500, 0xFFAAAAAA,
    0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF, 0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF,
};

QString Tr(const char* text)
{
    return QCoreApplication::translate("PcxDecoder", text);
}

} // namespace

bool LooksLikePcx(QByteArrayView data)
{
    if (data.size() < kHeaderSize || std::uint8_t(data[0]) != 0x0A || std::uint8_t(data[2]) > 1)
        return false;
    const int bits = std::uint8_t(data[3]);
    return bits == 1 || bits == 2 || bits == 4 || bits == 8;
}

QImage DecodePcx(QByteArrayView data, QString& error)
{
    if (!LooksLikePcx(data)) {
        error = Tr("not a PCX picture");
        return {};
    }
    ByteReader in(data);
    in.Seek(1);
    const int version = in.U8();
    const bool encoded = in.U8() == 1;
    const int bits = in.U8();
    const int xMin = in.U16(), yMin = in.U16(), xMax = in.U16(), yMax = in.U16();
    in.Seek(16);
    std::array<QRgb, 16> headerPalette{};
    bool paletteEmpty = true;
    for (QRgb& c : headerPalette) {
        const int r = in.U8(), g = in.U8(), b = in.U8();
        c = qRgb(r, g, b);
        paletteEmpty = paletteEmpty && r == 0 && g == 0 && b == 0;
    }
    in.Seek(65);
    const int planes = in.U8();
    const int bytesPerLine = in.U16();
    const int width = xMax - xMin + 1;
    const int height = yMax - yMin + 1;
    if (width <= 0 || height <= 0 || planes < 1 || planes > 4 || (bits == 8 && planes == 2) ||
        (bits != 1 && bits != 8 && planes > 1) || qint64(bytesPerLine) * 8 < qint64(width) * bits) {
        error = Tr("not a PCX picture");
        return {};
    }
    if (const QString problem = PictureSizeProblem(QSize(width, height)); !problem.isEmpty()) {
        error = problem;
        return {};
    }
    const qint64 lineBytes = qint64(bytesPerLine) * planes;
    const qint64 total = lineBytes * height;
    // A run-length byte pair yields at most 63 bytes; a file too short for its picture is refused before
    // anything is allocated.
    const qint64 body = data.size() - kHeaderSize;
    if ((encoded && total > body * 63) || (!encoded && total > body)) {
        error = Tr("the file ends early");
        return {};
    }

    // The 256-colour palette of version 5 follows a byte 12 at the end of the file, after the pixels; it is
    // read once they are (see below). Older versions had none: their 8-bit pictures are grey.
    std::vector<QRgb> palette;
    const bool paletteAtEnd = bits == 8 && planes == 1 && version >= 5;
    if (bits == 8 && planes == 1) {
        palette.resize(256);
        for (int i = 0; i < 256; ++i)
            palette[size_t(i)] = qRgb(i, i, i);
    } else if (bits * planes <= 4) {
        const int colours = 1 << (bits * planes);
        palette.resize(size_t(colours));
        for (int i = 0; i < colours; ++i) {
            if (colours == 2 && (paletteEmpty || version == 3))
                palette[size_t(i)] = i ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            else
                palette[size_t(i)] =
                    paletteEmpty || version == 3 ? kEgaColours[size_t(i)] : headerPalette[size_t(i)];
        }
    }

    QImage image(width, height, planes == 4 && bits == 8 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        error = Tr("not enough memory for the picture");
        return {};
    }
    in.Seek(kHeaderSize);
    std::vector<std::uint8_t> line(static_cast<size_t>(lineBytes));
    int count = 0; // bytes left of the current run
    std::uint8_t value = 0;
    for (int y = 0; y < height; ++y) {
        // Runs may carry over from one line to the next.
        for (std::uint8_t& b : line) {
            if (!encoded) {
                b = in.U8();
            } else {
                if (count == 0) {
                    value = in.U8();
                    count = 1;
                    if ((value & 0xC0) == 0xC0) {
                        count = value & 0x3F;
                        value = in.U8();
                    }
                    if (count == 0)
                        count = 1; // a zero-length run is taken as one byte, so decoding always advances
                }
                b = value;
                --count;
            }
        }
        if (in.Overrun()) {
            error = Tr("the file ends early");
            return {};
        }
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const std::uint8_t* plane = line.data();
        if (bits == 8 && planes >= 3) {
            for (int x = 0; x < width; ++x) {
                const int a = planes == 4 ? plane[3 * bytesPerLine + x] : 255;
                out[x] = qRgba(plane[x], plane[bytesPerLine + x], plane[2 * bytesPerLine + x], a);
            }
        } else if (paletteAtEnd) {
            // The colour index for now, its colour once the palette is read.
            for (int x = 0; x < width; ++x)
                out[x] = plane[x];
        } else if (bits == 8) {
            for (int x = 0; x < width; ++x)
                out[x] = palette[plane[x]];
        } else {
            for (int x = 0; x < width; ++x) {
                int index = 0;
                if (planes == 1) {
                    const int bit = x * bits;
                    index = (plane[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
                } else {
                    for (int p = 0; p < planes; ++p)
                        index |= ((plane[p * bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << p;
                }
                out[x] = palette[size_t(index)];
            }
        }
    }
    if (paletteAtEnd) {
        // A file cut inside the palette, or one without it, has no colours to show: made-up ones would
        // show a picture that is not the one stored.
        const qint64 paletteAt = data.size() - 769;
        if (paletteAt < in.Pos()) {
            error = Tr("the file ends early: its colour palette is cut off");
            return {};
        }
        if (std::uint8_t(data[paletteAt]) != 12) {
            error = Tr("the colour palette at the end of the file is missing");
            return {};
        }
        const auto* table = reinterpret_cast<const std::uint8_t*>(data.data()) + paletteAt + 1;
        for (int i = 0; i < 256; ++i)
            palette[size_t(i)] = qRgb(table[3 * i], table[3 * i + 1], table[3 * i + 2]);
        for (int y = 0; y < height; ++y) {
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                out[x] = palette[out[x]];
        }
    }
    return image;
}

} // namespace platform
