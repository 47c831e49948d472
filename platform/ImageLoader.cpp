#include "platform/ImageLoader.h"

#include "platform/IconLibrary.h"
#include "platform/PcxDecoder.h"
#include "platform/PictureLimits.h"
#include "platform/PngDecoder.h"
#include "platform/StraightAlpha.h"
#include "platform/TPicture.h"
#include "platform/TgaDecoder.h"
#include "platform/WmfMetafile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>

#include <mutex>

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

/** A decoded picture scaled down to fit inside the box, if it is larger. */
QImage Fit(const QImage& image, const QSize& box)
{
    if (image.isNull() || FitInside(image.size(), box) == image.size())
        return image;
    return image.scaled(FitInside(image.size(), box), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QLoggingCategory::CategoryFilter previousFilter = nullptr;

void SilenceImageReaders(QLoggingCategory* category)
{
    if (previousFilter)
        previousFilter(category);
    if (qstrncmp(category->categoryName(), "qt.gui.imageio", 14) == 0) {
        for (QtMsgType type : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
            category->setEnabled(type, false);
    }
}

/** Qt's reader, with the size checked before any pixel is decoded and scaling while reading. */
QImage ReadWithQt(QByteArrayView data, const QByteArray& format, const QSize& fitInside, QString& reason)
{
    QByteArray bytes = QByteArray::fromRawData(data.data(), data.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
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

void CatchImageReaderMessages()
{
    static std::once_flag once;
    std::call_once(once, [] { previousFilter = QLoggingCategory::installFilter(SilenceImageReaders); });
}

QImage DecodeImageData(QByteArrayView data, const QByteArray& format, QString& error, const QSize& fitInside)
{
    CatchImageReaderMessages();
    QString reason;
    QImage image;
    if ((format.isEmpty() || format.compare("png", Qt::CaseInsensitive) == 0) && LooksLikePng(data))
        image = Fit(DecodePng(data, reason), fitInside);
    else if (format.compare("png", Qt::CaseInsensitive) == 0)
        reason = Tr("not a PNG picture");
    else
        image = ReadWithQt(data, format, fitInside, reason);
    if (image.isNull()) {
        error =
            reason.isEmpty() || reason == QLatin1String("Unknown error") ? Tr("the file is damaged") : reason;
        return {};
    }
    return StraightAlpha(image);
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
    const QByteArray data = file.readAll();
    const int kind = PictureKindOf(fileName);
    const QString ext = QFileInfo(fileName).suffix().toUpper();
    QString reason;
    QImage image;
    if (kind == 7 || kind == 8) {
        image = Fit(kind == 7 ? DecodeTga(data, reason) : DecodePcx(data, reason), fitInside);
    } else if (kind == 0 && ext == QLatin1String("WMF")) {
        WmfMetafile metafile;
        if (!metafile.Load(data, reason))
            return fail(reason);
        return TPicture(metafile);
    } else if (kind == 0 && ext == QLatin1String("ICO")) {
        IconLibrary icon;
        if (!icon.OpenData(data))
            return fail(icon.ErrorString());
        image = icon.NearestImage(0, SystemIconSize(), &reason);
    } else if (kind == 0) {
        // The plain picture support reads bitmaps, icons and metafiles by their extension, nothing else.
        return fail(Tr("unknown picture file extension (.%1)").arg(QFileInfo(fileName).suffix()));
    } else {
        // JPEG, GIF and the bitmap variants are recognised by their content, whatever the extension says;
        // a .BMP file is read as a bitmap only.
        image = DecodeImageData(data, kind == 4 ? QByteArray("bmp") : QByteArray(), reason, fitInside);
    }
    if (image.isNull())
        return fail(reason.isEmpty() ? Tr("the file is damaged") : reason);
    return TPicture(StraightAlpha(image));
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
