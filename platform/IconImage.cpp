#include "platform/IconImage.h"

#include "platform/ByteReader.h"
#include "platform/PictureLimits.h"
#include "platform/PngDecoder.h"

#include <QCoreApplication>

#include <vector>

namespace platform {

namespace {

constexpr std::uint32_t BI_RGB = 0;

QString Tr(const char* text)
{
    return QCoreApplication::translate("IconImage", text);
}

qsizetype Stride(int width, int bits)
{
    return qsizetype((qint64(width) * bits + 31) / 32 * 4);
}

/** Where the parts of an icon's bitmap lie; the views are empty where the data ends early. */
struct Layout
{
    int width = 0;
    int height = 0;
    int bits = 0;
    qint64 colours = 0;
    qsizetype colourStride = 0;
    qsizetype maskStride = 0;
    QByteArrayView table;
    QByteArrayView pixels;
    QByteArrayView mask;
    QString problem;
};

Layout ReadLayout(QByteArrayView data)
{
    Layout l;
    ByteReader in(data);
    const std::uint32_t headerSize = in.U32();
    l.width = in.I32();
    const std::int32_t doubleHeight = in.I32();
    in.U16(); // planes
    l.bits = in.U16();
    const std::uint32_t compression = in.U32();
    in.Skip(12);
    const std::uint32_t used = in.U32();
    if (in.Overrun() || headerSize < 40 || headerSize > 124) {
        l.problem = Tr("the icon's image is damaged");
        return l;
    }
    // The height counts the colour rows and the mask rows.
    l.height = doubleHeight / 2;
    if (l.width <= 0 || l.height <= 0 || compression != BI_RGB ||
        (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32)) {
        l.problem = Tr("the icon's image is of a kind that cannot be read");
        return l;
    }
    if (const QString problem = PictureSizeProblem(QSize(l.width, l.height)); !problem.isEmpty()) {
        l.problem = problem;
        return l;
    }
    l.colours = l.bits <= 8 ? (used && used < (1u << l.bits) ? used : (1u << l.bits)) : 0;
    l.colourStride = Stride(l.width, l.bits);
    l.maskStride = Stride(l.width, 1);
    l.table = in.At(headerSize, l.colours * 4);
    const qint64 pixelsAt = headerSize + l.colours * 4;
    l.pixels = in.At(pixelsAt, qint64(l.colourStride) * l.height);
    l.mask = in.At(pixelsAt + qint64(l.colourStride) * l.height, qint64(l.maskStride) * l.height);
    // A 32-bit image may leave out its mask when its alpha says everything.
    if ((l.colours && l.table.isEmpty()) || l.pixels.isEmpty() || (l.mask.isEmpty() && l.bits != 32))
        l.problem = Tr("the icon's image ends early");
    return l;
}

} // namespace

bool IconImageComplete(QByteArrayView data)
{
    if (LooksLikePng(data))
        return PngComplete(data);
    return ReadLayout(data).problem.isEmpty();
}

QImage DecodeIconImage(QByteArrayView data, QString& error)
{
    if (LooksLikePng(data))
        return DecodePng(data, error);
    const Layout l = ReadLayout(data);
    if (!l.problem.isEmpty()) {
        error = l.problem;
        return {};
    }
    std::vector<QRgb> palette(size_t(l.colours));
    for (qint64 i = 0; i < l.colours; ++i) {
        const auto* c = reinterpret_cast<const std::uint8_t*>(l.table.data()) + 4 * i;
        palette[size_t(i)] = qRgb(c[2], c[1], c[0]);
    }
    QImage image(l.width, l.height, QImage::Format_ARGB32);
    if (image.isNull()) {
        error = Tr("not enough memory for the picture");
        return {};
    }
    bool anyAlpha = false;
    for (int y = 0; y < l.height; ++y) {
        // Rows are stored bottom first.
        const auto* row =
            reinterpret_cast<const std::uint8_t*>(l.pixels.data()) + l.colourStride * (l.height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < l.width; ++x) {
            switch (l.bits) {
            case 32:
                out[x] = qRgba(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]);
                anyAlpha = anyAlpha || row[4 * x + 3] != 0;
                break;
            case 24:
                out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            case 16: {
                // Five bits each of red, green and blue.
                const int v = row[2 * x] | row[2 * x + 1] << 8;
                auto expand = [](int c) { return (c << 3) | (c >> 2); };
                out[x] = qRgb(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
                break;
            }
            default: {
                const int bit = x * l.bits;
                const int index = (row[bit / 8] >> (8 - l.bits - bit % 8)) & ((1 << l.bits) - 1);
                out[x] = index < l.colours ? palette[size_t(index)] : qRgb(0, 0, 0);
                break;
            }
            }
        }
    }
    // Without alpha bytes the mask decides: clear where its bit is set, the stored colour kept.
    if (!anyAlpha) {
        for (int y = 0; y < l.height; ++y) {
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < l.width; ++x)
                out[x] |= 0xFF000000u;
            if (l.mask.isEmpty())
                continue;
            const auto* row =
                reinterpret_cast<const std::uint8_t*>(l.mask.data()) + l.maskStride * (l.height - 1 - y);
            for (int x = 0; x < l.width; ++x) {
                if ((row[x / 8] >> (7 - x % 8)) & 1)
                    out[x] &= 0x00FFFFFFu;
            }
        }
    }
    return image;
}

} // namespace platform
