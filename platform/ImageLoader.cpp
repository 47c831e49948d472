#include "platform/ImageLoader.h"

#include "platform/PcxDecoder.h"
#include "platform/PictureLimits.h"
#include "platform/TPicture.h"
#include "platform/TgaDecoder.h"
#include "platform/WmfMetafile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace platform {

namespace {

// Files larger than this are no pictures the program would place on a page.
constexpr qint64 kMaxFileSize = 512LL * 1024 * 1024;

QString Tr(const char* text)
{
    return QCoreApplication::translate("ImageLoader", text);
}

QSize FitInside(const QSize& size, const QSize& box)
{
    if (!box.isValid() || (size.width() <= box.width() && size.height() <= box.height()))
        return size;
    return size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

/** Qt's reader, with the size checked before any pixel is decoded and scaling while reading. */
QImage ReadWithQt(QIODevice& device, const QByteArray& format, const QSize& fitInside, QString& reason)
{
    QImageReader reader(&device, format);
    if (format.isEmpty())
        reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid()) {
        if (const QString problem = PictureSizeProblem(size); !problem.isEmpty()) {
            reason = problem;
            return {};
        }
        if (fitInside.isValid() && FitInside(size, fitInside) != size)
            reader.setScaledSize(FitInside(size, fitInside));
    }
    QImage image = reader.read();
    if (image.isNull())
        reason = reader.errorString();
    return image;
}

/** The image of an icon file nearest the size, preferring the larger one and more colours. */
QImage ReadIcon(QIODevice& device, int wanted, QString& reason)
{
    QImageReader reader(&device, "ico");
    QImage best;
    int bestScore = std::numeric_limits<int>::max();
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count && i < 64; ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (image.isNull())
            continue;
        const int side = std::max(image.width(), image.height());
        const int score = (side >= wanted ? side - wanted : 2 * (wanted - side)) * 64 - image.depth();
        if (score < bestScore) {
            bestScore = score;
            best = image;
        }
    }
    if (best.isNull())
        reason = reader.errorString();
    return best;
}

} // namespace

int SystemIconSize()
{
    return 32;
}

int PictureKindOf(const QString& fileName)
{
    const int dot = fileName.lastIndexOf(u'.');
    const QString ext = dot < 0 ? QString() : fileName.mid(dot + 1).toUpper();
    static const QStringList kinds = {QStringLiteral("JPG"), QStringLiteral("GIF"), QStringLiteral("JIF"),
                                      QStringLiteral("BMP"), QStringLiteral("DIB"), QStringLiteral("RLE"),
                                      QStringLiteral("TGA"), QStringLiteral("PCX")};
    return int(kinds.indexOf(ext)) + 1;
}

QString PictureFileMask()
{
    return QStringLiteral("*.BMP;*.DIB;*.JPG;*.JIF;*.PCX;*.RLE;*.TGA;*.WMF;*.ICO");
}

TPicture LoadPictureFile(const QString& fileName, QString& error, const QSize& fitInside)
{
    const QString shown = QFileInfo(fileName).fileName();
    auto fail = [&](const QString& reason) {
        error = Tr("Unable to load %1: %2").arg(shown, reason);
        return TPicture();
    };
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() > kMaxFileSize)
        return fail(Tr("the file is too large"));
    const int kind = PictureKindOf(fileName);
    const QString ext = QFileInfo(fileName).suffix().toUpper();
    QString reason;
    QImage image;
    if (kind == 7 || kind == 8) {
        const QByteArray data = file.readAll();
        image = kind == 7 ? DecodeTga(data, reason) : DecodePcx(data, reason);
        if (!image.isNull() && fitInside.isValid() && FitInside(image.size(), fitInside) != image.size())
            image = image.scaled(FitInside(image.size(), fitInside), Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
    } else if (kind == 0 && ext == QLatin1String("WMF")) {
        WmfMetafile metafile;
        if (!metafile.Load(file.readAll(), reason))
            return fail(reason);
        return TPicture(metafile);
    } else if (kind == 0 && ext == QLatin1String("ICO")) {
        image = ReadIcon(file, SystemIconSize(), reason);
    } else if (kind == 4 || kind == 0) {
        // The plain picture support reads bitmaps, icons and metafiles by their extension, nothing else.
        if (kind == 0)
            return fail(Tr("unknown picture file extension (.%1)").arg(QFileInfo(fileName).suffix()));
        image = ReadWithQt(file, "bmp", fitInside, reason);
    } else {
        // JPEG, GIF and the bitmap variants are recognised by their content, whatever the extension says.
        image = ReadWithQt(file, QByteArray(), fitInside, reason);
    }
    if (image.isNull())
        return fail(reason.isEmpty() ? Tr("the file is damaged") : reason);
    if (image.hasAlphaChannel())
        image = image.convertToFormat(QImage::Format_ARGB32);
    else if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return TPicture(image);
}

QImage LoadImageFile(const QString& fileName, QString& error, const QSize& fitInside)
{
    const TPicture picture = LoadPictureFile(fileName, error, fitInside);
    if (picture.GraphicKind() == TPicture::pkMetafile) {
        const QSize size = FitInside(picture.Size(), fitInside);
        return picture.MetafileData()->Render(size);
    }
    return picture.Bitmap();
}

} // namespace platform
