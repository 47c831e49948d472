#include "platform/PngDecoder.h"

#include "platform/PictureLimits.h"

#include <QCoreApplication>
#include <QtEndian>

#include <png.h>

#include <cstring>
#include <vector>

namespace platform {

namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
// Deflate packs at most about 1032 bytes into one; a picture whose image data could not hold its pixels is
// refused before they are allocated.
constexpr qint64 kMaxDeflateRatio = 1032;

QString Tr(const char* text)
{
    return QCoreApplication::translate("PngDecoder", text);
}

/** Where libpng reads from, and what went wrong. */
struct Source
{
    QByteArrayView data;
    qsizetype pos = 0;
    bool endedEarly = false;
};

void ReadBytes(png_structp png, png_bytep out, size_t length)
{
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (length > size_t(source->data.size() - source->pos)) {
        source->endedEarly = true;
        png_error(png, "read past the end");
    }
    std::memcpy(out, source->data.data() + source->pos, length);
    source->pos += qsizetype(length);
}

// libpng prints its errors and warnings unless the program takes them: an error jumps straight back to the
// reader (were it to return, libpng would print it), a warning is of no use to the user.
[[noreturn]] void OnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

/** The bytes of image data the chunks hold, up to the end chunk or the end of the data. */
qint64 ImageDataBytes(QByteArrayView data)
{
    qint64 total = 0;
    qsizetype at = 8;
    while (data.size() - at >= 8) {
        const qint64 length = qFromBigEndian<quint32>(data.data() + at);
        const QByteArrayView type = data.sliced(at + 4, 4);
        if (type == "IEND")
            break;
        if (type == "IDAT")
            total += std::min<qint64>(length, data.size() - at - 8);
        if (length > data.size() - at - 12)
            break;
        at += qsizetype(length) + 12;
    }
    return total;
}

/** libpng's part: kept apart, so its jump back on an error leaves no C++ object of this frame behind. */
bool ReadInto(png_structp png, png_infop info, QImage* image, std::vector<png_bytep>* rows, QString* error)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    // The program's own limits apply, not libpng's.
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_benign_errors(png, 1);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    const QSize size{int(width), int(height)};
    if (const QString problem = PictureSizeProblem(size); !problem.isEmpty()) {
        *error = problem;
        return false;
    }
    const qint64 rawBytes =
        qint64(height) * (1 + (qint64(width) * png_get_channels(png, info) * bitDepth + 7) / 8);
    if (rawBytes >
        ImageDataBytes(static_cast<Source*>(png_get_io_ptr(png))->data) * kMaxDeflateRatio + 4096) {
        *error = Tr("the picture ends early");
        return false;
    }
    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    // Samples in the order of a QRgb in memory.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    if (!alpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
#else
    if (alpha)
        png_set_swap_alpha(png);
    else
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
#endif
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4) {
        *error = Tr("the picture is damaged");
        return false;
    }
    *image = QImage(size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image->isNull()) {
        *error = Tr("not enough memory for the picture");
        return false;
    }
    rows->resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        (*rows)[y] = image->scanLine(int(y));
    // The chunks after the image data are not read: the picture is whole once its pixels are.
    png_read_image(png, rows->data());
    return true;
}

} // namespace

bool LooksLikePng(QByteArrayView data)
{
    return data.startsWith(QByteArrayView(kSignature, 8));
}

bool PngComplete(QByteArrayView data)
{
    if (!LooksLikePng(data))
        return false;
    qsizetype at = 8;
    while (data.size() - at >= 12) {
        const qint64 length = qFromBigEndian<quint32>(data.data() + at);
        if (length > data.size() - at - 12)
            return false;
        if (data.sliced(at + 4, 4) == "IEND")
            return true;
        at += qsizetype(length) + 12;
    }
    return false;
}

QImage DecodePng(QByteArrayView data, QString& error)
{
    if (!LooksLikePng(data)) {
        error = Tr("not a PNG picture");
        return {};
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        error = Tr("not enough memory for the picture");
        return {};
    }
    Source source{data};
    png_set_read_fn(png, &source, ReadBytes);
    QImage image;
    std::vector<png_bytep> rows;
    QString problem;
    const bool read = ReadInto(png, info, &image, &rows, &problem);
    png_destroy_read_struct(&png, &info, nullptr);
    if (read)
        return image;
    if (!problem.isEmpty())
        error = problem;
    else if (source.endedEarly)
        error = Tr("the picture ends early");
    else
        error = Tr("the picture is damaged");
    return {};
}

} // namespace platform
