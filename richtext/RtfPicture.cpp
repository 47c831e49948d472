#include "richtext/RtfPicture.h"

#include "platform/ImageLoader.h"

#include <QtEndian>

namespace richtext {

namespace {

quint16 U16(const QByteArray& d, qsizetype at)
{
    return qFromLittleEndian<quint16>(d.constData() + at);
}

quint32 U32(const QByteArray& d, qsizetype at)
{
    return qFromLittleEndian<quint32>(d.constData() + at);
}

QImage DecodeDib(const QByteArray& dib)
{
    if (dib.size() < 16)
        return QImage();
    const quint32 headerSize = U32(dib, 0);
    if (headerSize < 12 || headerSize > quint32(dib.size()))
        return QImage();
    quint32 paletteEntries = 0;
    quint32 paletteEntrySize = 4;
    if (headerSize == 12) {
        const quint16 bits = U16(dib, 10);
        paletteEntrySize = 3;
        paletteEntries = bits <= 8 ? (1u << bits) : 0;
    } else if (headerSize >= 40 && dib.size() >= 40) {
        const quint16 bits = U16(dib, 14);
        const quint32 compression = U32(dib, 16);
        const quint32 used = U32(dib, 32);
        paletteEntries = used != 0 ? used : (bits <= 8 ? (1u << bits) : 0);
        if (compression == 3 && headerSize == 40)
            paletteEntries += 3; // the three bit-field masks
        if (paletteEntries > 4096)
            return QImage();
    }
    const quint32 offset = 14 + headerSize + paletteEntries * paletteEntrySize;
    QByteArray file("BM");
    char field[4];
    qToLittleEndian<quint32>(quint32(14 + dib.size()), field);
    file.append(field, 4);
    file.append(4, '\0');
    qToLittleEndian<quint32>(offset, field);
    file.append(field, 4);
    file.append(dib);
    QString error;
    return platform::DecodeImageData(file, "bmp", error);
}

// The first bitmap record of a Windows metafile, with its DIB.
QImage DecodeWmf(const QByteArray& wmf)
{
    qsizetype pos = 0;
    if (wmf.size() >= 22 && U32(wmf, 0) == 0x9AC6CDD7u)
        pos = 22; // the placeable header
    if (wmf.size() < pos + 18)
        return QImage();
    pos += qsizetype(U16(wmf, pos + 2)) * 2; // the header, its size in words
    while (pos + 6 <= wmf.size()) {
        const quint32 words = U32(wmf, pos);
        const quint16 function = U16(wmf, pos + 4);
        if (words < 3 || qint64(words) * 2 > wmf.size() - pos)
            break;
        const qsizetype size = qsizetype(words) * 2;
        qsizetype dibAt = -1;
        if (function == 0x0B41 && size > 6 + 20)
            dibAt = pos + 6 + 20; // DIBSTRETCHBLT
        else if (function == 0x0F43 && size > 6 + 22)
            dibAt = pos + 6 + 22; // STRETCHDIB
        else if (function == 0x0940 && size > 6 + 16)
            dibAt = pos + 6 + 16; // DIBBITBLT
        if (dibAt >= 0) {
            const QImage image = DecodeDib(wmf.mid(dibAt, pos + size - dibAt));
            if (!image.isNull())
                return image;
        }
        if (function == 0x0000)
            break;
        pos += size;
    }
    return QImage();
}

} // namespace

QString PictureKindWord(PictureKind kind)
{
    switch (kind) {
    case PictureKind::Png:
        return QStringLiteral("pngblip");
    case PictureKind::Jpeg:
        return QStringLiteral("jpegblip");
    case PictureKind::Dib:
        return QStringLiteral("dibitmap0");
    case PictureKind::Wmf:
        return QStringLiteral("wmetafile8");
    case PictureKind::Emf:
        return QStringLiteral("emfblip");
    case PictureKind::MacPict:
        return QStringLiteral("macpict");
    case PictureKind::Unknown:
        break;
    }
    return QString();
}

QImage DecodePicture(PictureKind kind, const QByteArray& data)
{
    // A picture that cannot be decoded is shown as a grey box; the reason is not needed.
    QString error;
    switch (kind) {
    case PictureKind::Png:
        return platform::DecodeImageData(data, "png", error);
    case PictureKind::Jpeg:
        return platform::DecodeImageData(data, "jpeg", error);
    case PictureKind::Dib:
        return DecodeDib(data);
    case PictureKind::Wmf:
        return DecodeWmf(data);
    default:
        return QImage();
    }
}

} // namespace richtext
