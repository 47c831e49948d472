#include "platform/BitmapFile.h"
#include "platform/ImageLoader.h"
#include "platform/PcxDecoder.h"
#include "platform/PictureLimits.h"
#include "platform/TPicture.h"
#include "platform/TgaDecoder.h"
#include "platform/WmfMetafile.h"
#include "tests/support/Bytes.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/PdfTools.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QFile>
#include <QLoggingCategory>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

namespace {

QString Sample(const QString& name)
{
    return QStringLiteral(DATORIA_TEST_DATA "/images/") + name;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

/** The picture over white, as the producers' expected pictures are. */
QImage OnWhite(const QImage& image)
{
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, image);
    return out;
}

/** The largest difference of one colour channel between the two pictures. */
int MaxDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

/** The mean colour of a block. */
QColor Mean(const QImage& image, const QRect& r)
{
    qint64 red = 0, green = 0, blue = 0, n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            red += qRed(p);
            green += qGreen(p);
            blue += qBlue(p);
            ++n;
        }
    }
    return n ? QColor(int(red / n), int(green / n), int(blue / n)) : QColor();
}

/** A 32-bit Targa file of the picture, rows top first, with 8 bits of alpha. */
QByteArray TargaOf(const QImage& picture)
{
    QByteArray tga("\0\0\x02\0\0\0\0\0\0\0\0\0", 12);
    for (int v : {picture.width(), picture.height()}) {
        tga.append(char(v & 0xFF));
        tga.append(char(v >> 8));
    }
    tga.append("\x20\x28", 2);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            for (int channel : {qBlue(p), qGreen(p), qRed(p), qAlpha(p)})
                tga.append(char(channel));
        }
    }
    return tga;
}

QByteArray PngOf(const QImage& picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return png;
}

/** Debian's Python with Pillow, an independent reader of bitmaps; empty when it is not installed. */
QString PythonWithPillow()
{
    for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        if (QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import PIL.BmpImagePlugin")}) ==
            0)
            return python;
    }
    return {};
}

/** Metafile records: each its function and its parameters. */
using Records = QList<std::pair<int, QByteArray>>;

/** A metafile of the given records, with a window of 200 x 100. */
QByteArray Metafile(const Records& records, int objects)
{
    auto word = [](QByteArray& out, int v) {
        out.append(char(v & 0xFF));
        out.append(char((v >> 8) & 0xFF));
    };
    QByteArray body;
    Records all = {{0x020B, QByteArray(4, '\0')},              // window origin 0, 0
                   {0x020C, QByteArray::fromHex("6400c800")}}; // 100 high, 200 wide
    all += records;
    all.append({0x0000, QByteArray()});
    for (const auto& [function, parameters] : all) {
        const int words = 3 + int(parameters.size() + 1) / 2;
        word(body, words & 0xFFFF);
        word(body, words >> 16);
        word(body, function);
        body.append(parameters);
        if (parameters.size() % 2)
            body.append('\0');
    }
    QByteArray header;
    word(header, 1);
    word(header, 9);
    word(header, 0x0300);
    const int size = int(18 + body.size()) / 2;
    word(header, size & 0xFFFF);
    word(header, size >> 16);
    word(header, objects);
    word(header, 0);
    word(header, 0);
    word(header, 0);
    return header + body;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        // Qt's decoders report every damaged file they are given here.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    }

    void rasterFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("tolerance");
        for (const char* name : {"photo24.pcx", "photo256.pcx", "photo16.pcx", "mono.pcx", "photo24.tga",
                                 "photo24rle.tga", "photo_palette.tga", "gray_rle.tga", "photo24_topleft.tga",
                                 "photo_rle8.rle", "photo16_rle8.bmp", "photo24.dib", "photo.gif"})
            QTest::newRow(name) << QString::fromLatin1(name) << 0;
        // Two JPEG decoders may round the colour conversion differently.
        QTest::newRow("photo.jpg") << QStringLiteral("photo.jpg") << 6;
        // Pillow rounds the blend over white one way, we the other.
        QTest::newRow("photo32alpha_rle.tga") << QStringLiteral("photo32alpha_rle.tga") << 1;
        QTest::newRow("photo.jif") << QStringLiteral("photo.jif") << 6;
    }
    void rasterFiles()
    {
        QFETCH(QString, file);
        QFETCH(int, tolerance);
        QString error;
        const QImage image = LoadImageFile(Sample(file), error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        const QImage expected = QImage(Sample(QStringLiteral("expected/") + file + QStringLiteral(".png")))
                                    .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), expected.size());
        const int difference = MaxDifference(OnWhite(image), expected);
        QVERIFY2(difference <= tolerance, qPrintable(QStringLiteral("differs by %1").arg(difference)));
    }

    void targaAlphaIsKept()
    {
        QString error;
        const QImage image = LoadImageFile(Sample(QStringLiteral("photo32alpha_rle.tga")), error);
        QVERIFY(image.hasAlphaChannel());
        // The ramp runs from the left edge to the right one.
        QVERIFY(qAlpha(image.pixel(0, 45)) < 8);
        QVERIFY(qAlpha(image.pixel(119, 45)) > 247);
    }

    void iconFileAtSystemSize()
    {
        QString error;
        const QImage icon = LoadImageFile(Sample(QStringLiteral("multi.ico")), error);
        QCOMPARE(icon.size(), QSize(32, 32));
    }

    void metafiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::newRow("drawing") << QStringLiteral("drawing.wmf") << QSize(187, 137);
        QTest::newRow("text") << QStringLiteral("text.wmf") << QSize(226, 106);
        QTest::newRow("withbitmap") << QStringLiteral("withbitmap.wmf") << QSize(149, 109);
    }
    void metafiles()
    {
        // LibreOffice draws the metafile at its own size centred on an A4 page; blocks of 8 × 8 pixels of
        // both drawings must agree in colour, except where an edge or a letter crosses a block or the two
        // renderers place a stretched bitmap a pixel or two apart.
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QString error;
        const QImage ours = LoadImageFile(Sample(file), error);
        QVERIFY2(!ours.isNull(), qPrintable(error));
        QCOMPARE(ours.size(), size);
        const QImage page = QImage(Sample(QStringLiteral("expected/") + file + QStringLiteral(".png")))
                                .convertToFormat(QImage::Format_RGB32);
        const QPoint origin((page.width() - size.width()) / 2, (page.height() - size.height()) / 2);
        const QImage theirs = OnWhite(page.copy(QRect(origin, size)));
        int blocks = 0, agreeing = 0;
        for (int y = 0; y + 8 <= size.height(); y += 8) {
            for (int x = 0; x + 8 <= size.width(); x += 8) {
                const QColor a = Mean(ours, QRect(x, y, 8, 8));
                const QColor b = Mean(theirs, QRect(x, y, 8, 8));
                ++blocks;
                if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                        std::abs(a.blue() - b.blue()) <
                    48)
                    ++agreeing;
            }
        }
        QVERIFY2(agreeing * 100 >= blocks * 80,
                 qPrintable(QStringLiteral("%1 of %2 blocks").arg(agreeing).arg(blocks)));
    }

    void metafileStaysVectorInPdf()
    {
        QString error;
        const TPicture picture = LoadPictureFile(Sample(QStringLiteral("drawing.wmf")), error);
        QCOMPARE(picture.GraphicKind(), TPicture::pkMetafile);
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            QPainter painter(&writer);
            picture.Draw(painter, QRectF(0, 0, 2000, 1500));
        }
        // The shapes go in as paths: the page holds no picture.
        QVERIFY(pdf.startsWith("%PDF"));
        QVERIFY(!pdf.contains("/Subtype /Image"));
    }

    // A metafile picture draws its shapes into any rectangle; an empty picture draws nothing.
    void picturesDrawIntoARectangle()
    {
        QString error;
        const TPicture picture = LoadPictureFile(Sample(QStringLiteral("drawing.wmf")), error);
        const QImage natural = OnWhite(picture.ToImage());
        QImage drawn(natural.size(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        picture.Draw(painter, QRectF(QPointF(0, 0), natural.size()));
        TPicture().Draw(painter, QRectF(0, 0, 50, 50));
        painter.end();
        int differing = 0, ink = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                differing += drawn.pixel(x, y) != natural.pixel(x, y);
                ink += qGray(drawn.pixel(x, y)) < 200;
            }
        QVERIFY(ink > 500);
        QVERIFY2(differing * 100 < drawn.width() * drawn.height(), qPrintable(QString::number(differing)));
    }

    void streamForm()
    {
        QImage bitmap(3, 2, QImage::Format_RGB32);
        bitmap.fill(qRgb(10, 20, 30));
        const QByteArray data = TPicture(bitmap).StreamData();
        QVERIFY(data.startsWith(QByteArray("\x07TBitmap", 8)));
        const std::uint32_t length = std::uint8_t(data[8]) | (std::uint8_t(data[9]) << 8);
        QCOMPARE(qsizetype(length), data.size() - 12);
        QCOMPARE(data.mid(12, 2), QByteArray("BM"));
        QCOMPARE(TPicture::FromStreamData(data).Bitmap().convertToFormat(QImage::Format_RGB32), bitmap);

        QString error;
        const TPicture metafile = LoadPictureFile(Sample(QStringLiteral("drawing.wmf")), error);
        const QByteArray stored = metafile.StreamData();
        QVERIFY(stored.startsWith(QByteArray("\x09TMetafile", 10)));
        const QByteArray file = ReadAll(Sample(QStringLiteral("drawing.wmf")));
        QCOMPARE(stored.mid(14), file);
        const std::uint32_t counted =
            std::uint8_t(stored[10]) | (std::uint8_t(stored[11]) << 8) | (std::uint8_t(stored[12]) << 16);
        QCOMPARE(qsizetype(counted), file.size() + 4);
        QVERIFY(TPicture::FromStreamData(stored) == metafile);
    }

    // Pictures are equal by what they hold: the same kind and the same pixels or metafile records.
    void picturesCompareByContent()
    {
        QImage grey(3, 2, QImage::Format_RGB32);
        grey.fill(qRgb(10, 20, 30));
        QImage red = grey;
        red.setPixel(1, 1, qRgb(255, 0, 0));
        QVERIFY(TPicture(grey) == TPicture(grey));
        QVERIFY(!(TPicture(grey) == TPicture(red)));
        QVERIFY(!(TPicture(grey) == TPicture()));
        QVERIFY(TPicture() == TPicture());

        WmfMetafile empty, line;
        QString error;
        QVERIFY(empty.Load(Metafile({}, 0), error));
        QVERIFY(line.Load(Metafile({{0x0213, QByteArray::fromHex("5a003200")}}, 0), error));
        QVERIFY(TPicture(line) == TPicture(line));
        QVERIFY(!(TPicture(empty) == TPicture(line)));
        QVERIFY(!(TPicture(empty) == TPicture(grey)));
    }

    void brokenStreamFormGivesEmptyPicture_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("unknown class") << QByteArray("\x07TIconXX\x00\x00\x00\x00", 12);
        QTest::newRow("length past the end") << QByteArray("\x07TBitmap\xff\x00\x00\x00"
                                                           "BM",
                                                           14);
        QTest::newRow("not a bitmap") << QByteArray("\x07TBitmap\x04\x00\x00\x00xxxx", 16);
        QTest::newRow("not a metafile") << QByteArray("\x09TMetafile\x08\x00\x00\x00xxxx", 18);
        QTest::newRow("a metafile of no bytes") << QByteArray("\x09TMetafile\x04\x00\x00\x00", 14);
    }
    void brokenStreamFormGivesEmptyPicture()
    {
        QFETCH(QByteArray, data);
        QString error;
        QVERIFY(TPicture::FromStreamData(data, &error).IsEmpty());
        QVERIFY(!error.isEmpty());
    }

    void kinds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::newRow("jpg") << QStringLiteral("a.jpg") << 1;
        QTest::newRow("GIF") << QStringLiteral("a.GIF") << 2;
        QTest::newRow("jif") << QStringLiteral("x.y.jif") << 3;
        QTest::newRow("bmp") << QStringLiteral("a.bmp") << 4;
        QTest::newRow("dib") << QStringLiteral("a.dib") << 5;
        QTest::newRow("rle") << QStringLiteral("a.rle") << 6;
        QTest::newRow("tga") << QStringLiteral("a.tga") << 7;
        QTest::newRow("pcx") << QStringLiteral("a.pcx") << 8;
        QTest::newRow("jpeg") << QStringLiteral("a.jpeg") << 0;
        QTest::newRow("none") << QStringLiteral("noext") << 0;
    }
    void kinds()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QCOMPARE(PictureKindOf(name), kind);
    }

    void jpegExtensionIsRefused()
    {
        // A four-letter extension is no kind the image library reads; the plain picture support refuses it.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("photo.jpeg"));
        QVERIFY(QFile::copy(Sample(QStringLiteral("photo.jpg")), path));
        QString error;
        QVERIFY(LoadImageFile(path, error).isNull());
        QVERIFY(error.startsWith(QStringLiteral("Unable to load photo.jpeg")));
    }

    void misnamedFileReadByContent()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("really_a_gif.jpg"));
        QVERIFY(QFile::copy(Sample(QStringLiteral("photo.gif")), path));
        QString error;
        QCOMPARE(LoadImageFile(path, error).size(), QSize(120, 90));
    }

    void truncatedFilesGiveMessages_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* name :
             {"photo24.pcx", "photo256.pcx", "photo24.tga", "photo24rle.tga", "photo_palette.tga",
              "drawing.wmf", "photo.jpg", "photo24.dib", "photo.gif", "multi.ico"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void truncatedFilesGiveMessages()
    {
        // Every cut of the file either decodes (a picture whose last rows are missing may still be read by
        // Qt) or gives a message; none may crash.
        QFETCH(QString, file);
        const QByteArray whole = ReadAll(Sample(file));
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        const int step = std::max<int>(1, int(whole.size() / 97));
        int refused = 0;
        for (qsizetype cut = 0; cut < whole.size(); cut += step) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(whole.left(cut));
            out.close();
            QString error;
            const QImage image = LoadImageFile(path, error);
            if (image.isNull()) {
                ++refused;
                QVERIFY2(error.startsWith(QStringLiteral("Unable to load ")), qPrintable(error));
            }
        }
        QVERIFY(refused > 0);
    }

    // Pictures with half-clear pixels come out of the decoders with their stored colours, never rounded
    // through premultiplied alpha (whose rounding differs between processors' vector instructions).
    void halfClearPixelsDecodedExactly_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("data");
        const QImage picture = testsupport::HalfClearPicture();
        QTest::newRow("png") << QStringLiteral("png") << PngOf(picture);
        QTest::newRow("32-bit Targa") << QStringLiteral("tga") << TargaOf(picture);
        QTest::newRow("stored bitmap") << QStringLiteral("stream") << TPicture(picture).StreamData();
    }
    void halfClearPixelsDecodedExactly()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, data);
        const QImage picture = testsupport::HalfClearPicture();
        QVERIFY(picture != picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                               .convertToFormat(QImage::Format_ARGB32));
        QImage decoded;
        QString error;
        if (kind == QLatin1String("stream"))
            decoded = TPicture::FromStreamData(data, &error).Bitmap();
        else if (kind == QLatin1String("png"))
            decoded = DecodeImageData(data, QByteArray(), error);
        else
            decoded = DecodeTga(data, error);
        QVERIFY2(!decoded.isNull(), qPrintable(error));
        QCOMPARE(testsupport::FirstDifference(decoded, picture), QString());
    }

    // A picture with transparency is stored as a 32-bit bitmap whose header names the alpha byte.
    void bitmapWithAlphaBytes()
    {
        QImage picture(2, 1, QImage::Format_ARGB32);
        picture.setPixel(0, 0, qRgba(1, 2, 3, 4));
        picture.setPixel(1, 0, qRgba(250, 251, 252, 255));
        picture.setDotsPerMeterX(2835);
        picture.setDotsPerMeterY(2835);
        QCOMPARE(
            testsupport::HexOf(BitmapFileData(picture)),
            testsupport::HexOf(testsupport::Hex(
                "42 4D 92 00 00 00 00 00 00 00 8A 00 00 00 7C 00 00 00 02 00 00 00 01 00 00 00 01 00 20 00 "
                "03 00 00 00 08 00 00 00 13 0B 00 00 13 0B 00 00 00 00 00 00 00 00 00 00 00 00 FF 00 "
                "00 FF 00 00 FF 00 00 00 00 00 00 FF 42 47 52 73 00 00 00 00 00 00 00 00 00 00 00 00 "
                "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                "00 00 00 00 00 00 00 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                "03 02 01 04 FC FB FA FF")));
        // An opaque picture is written as before: 24 bits, whatever its format.
        picture.setPixel(0, 0, qRgb(1, 2, 3));
        QByteArray qt;
        QBuffer buffer(&qt);
        buffer.open(QIODevice::WriteOnly);
        picture.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
        QCOMPARE(BitmapFileData(picture), qt);
        QCOMPARE(int(qt[28]), 24);
    }

    // Another program reads the stored bitmap with the same colours and alpha.
    void bitmapWithAlphaReadByAnotherProgram()
    {
        const QString python = PythonWithPillow();
        if (python.isEmpty())
            QSKIP("Python's Pillow (Debian python3-pil) is not installed");
        const QImage picture = testsupport::HalfClearPicture(5, 3);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("clear.bmp")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(BitmapFileData(picture)) > 0);
        file.close();
        QProcess pillow;
        pillow.start(python,
                     {QStringLiteral("-c"),
                      QStringLiteral("import sys; from PIL import Image; im = Image.open(sys.argv[1]); "
                                     "print(im.format, im.mode, *im.size, im.tobytes('raw', 'BGRA').hex())"),
                      file.fileName()});
        QVERIFY(pillow.waitForFinished(30000));
        // Rows of five pixels need no padding: the picture's memory is its pixels, blue first.
        const QByteArray pixels(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
        QCOMPARE(pillow.readAllStandardOutput().trimmed(), "BMP RGBA 5 3 " + pixels.toHex());
    }

    // A 256-colour PCX picture without its whole palette is refused, not drawn with made-up colours.
    void pcxPaletteCutOrMissing_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("message");
        const QByteArray whole = ReadAll(Sample(QStringLiteral("photo256.pcx")));
        const QString cut = QStringLiteral("the file ends early: its colour palette is cut off");
        QTest::newRow("cut inside the palette") << whole.left(whole.size() - 100) << cut;
        QTest::newRow("cut before the palette") << whole.left(whole.size() - 769) << cut;
        QByteArray unmarked = whole;
        unmarked[whole.size() - 769] = '\0';
        QTest::newRow("palette marker lost")
            << unmarked << QStringLiteral("the colour palette at the end of the file is missing");
    }
    void pcxPaletteCutOrMissing()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, message);
        QString error;
        QVERIFY(DecodePcx(data, error).isNull());
        QCOMPARE(error, message);
    }

    void ownDecodersRefuseShortData()
    {
        // The decoders themselves never accept a picture the data cannot hold, nor one cut in its palette.
        for (const char* name : {"photo24.pcx", "photo256.pcx", "photo16.pcx", "mono.pcx"}) {
            const QByteArray whole = ReadAll(Sample(QString::fromLatin1(name)));
            for (qsizetype cut = 0; cut < whole.size(); cut += 37) {
                QString error;
                QVERIFY(DecodePcx(whole.left(cut), error).isNull());
                QVERIFY(!error.isEmpty());
            }
        }
        for (const char* name : {"photo24.tga", "photo24rle.tga", "photo32alpha_rle.tga", "gray_rle.tga"}) {
            const QByteArray whole = ReadAll(Sample(QString::fromLatin1(name)));
            // The last 26 bytes are the optional footer, which the decoder does not need.
            for (qsizetype cut = 0; cut < whole.size() - 26; cut += 37) {
                QString error;
                QVERIFY(DecodeTga(whole.left(cut), error).isNull());
                QVERIFY(!error.isEmpty());
            }
        }
    }

    void oversizedPicturesRefused_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("name");
        // A Targa header of 20000 × 10 pixels, a PCX header of 16000 × 16500, a bitmap of 17000 × 1.
        QByteArray tga(18, '\0');
        tga[2] = 2;
        tga[12] = char(20000 & 0xFF);
        tga[13] = char(20000 >> 8);
        tga[14] = 10;
        tga[16] = 24;
        tga.append(QByteArray(600000, '\0'));
        QTest::newRow("tga") << tga << QStringLiteral("big.tga");
        QByteArray pcx(128, '\0');
        pcx[0] = 0x0A;
        pcx[1] = 5;
        pcx[2] = 1;
        pcx[3] = 8;
        pcx[8] = char(15999 & 0xFF);
        pcx[9] = char(15999 >> 8);
        pcx[10] = char(16499 & 0xFF);
        pcx[11] = char(16499 >> 8);
        pcx[65] = 3;
        pcx[66] = char(16000 & 0xFF);
        pcx[67] = char(16000 >> 8);
        pcx.append(QByteArray(4000, char(0xFF)));
        QTest::newRow("pcx 264 megapixels") << pcx << QStringLiteral("big.pcx");
        QImage wide(17000, 1, QImage::Format_RGB32);
        wide.fill(Qt::red);
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        wide.save(&buffer, "BMP");
        QTest::newRow("bmp") << bmp << QStringLiteral("wide.bmp");
    }
    void oversizedPicturesRefused()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, name);
        QTemporaryDir dir;
        QFile out(dir.filePath(name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(data);
        out.close();
        QString error;
        QVERIFY(LoadImageFile(out.fileName(), error).isNull());
        QVERIFY2(error.contains(QStringLiteral("too large")), qPrintable(error));
    }

    void previewScaledWhileReading()
    {
        QString error;
        const QImage small = LoadImageFile(Sample(QStringLiteral("photo.jpg")), error, QSize(60, 60));
        QCOMPARE(small.size(), QSize(60, 45));
        const QImage tga = LoadImageFile(Sample(QStringLiteral("photo24.tga")), error, QSize(30, 100));
        QCOMPARE(tga.size(), QSize(30, 22));
        const QImage wmf = LoadImageFile(Sample(QStringLiteral("drawing.wmf")), error, QSize(100, 100));
        QCOMPARE(wmf.size(), QSize(100, 73));
    }

    void pcxPalettes()
    {
        // 16 colours in 4 planes of one bit, with an empty header palette: the EGA colours.
        QByteArray pcx(128, '\0');
        pcx[0] = 0x0A;
        pcx[1] = 5;
        pcx[2] = 0;
        pcx[3] = 1;
        pcx[8] = 7; // 8 × 1 pixels
        pcx[65] = 4;
        pcx[66] = 1;
        // Pixel x has colour index x: plane p holds bit p of each index.
        const std::uint8_t planes[4] = {0x55, 0x33, 0x0F, 0x00};
        for (std::uint8_t b : planes)
            pcx.append(char(b));
        QString error;
        const QImage image = DecodePcx(pcx, error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.pixel(0, 0), 0xFF000000u);
        QCOMPARE(image.pixel(1, 0), 0xFF0000AAu);
        QCOMPARE(image.pixel(6, 0), 0xFFAA5500u);
        QCOMPARE(image.pixel(7, 0), 0xFFAAAAAAu);
        // The same picture with colours in its header: those colours, except in version 3, which has none.
        QByteArray own = pcx;
        for (int i = 0; i < 48; ++i)
            own[16 + i] = char(i * 5 + 1);
        QCOMPARE(DecodePcx(own, error).pixel(1, 0), qRgb(16, 21, 26));
        QCOMPARE(DecodePcx(own, error).pixel(7, 0), qRgb(106, 111, 116));
        own[1] = 3;
        QCOMPARE(DecodePcx(own, error).pixel(1, 0), 0xFF0000AAu);
        // One plane of one bit with no palette: black and white.
        QByteArray mono(128, '\0');
        mono[0] = 0x0A;
        mono[1] = 5;
        mono[3] = 1;
        mono[8] = 7;
        mono[65] = 1;
        mono[66] = 1;
        mono.append(char(0xF0));
        const QImage bw = DecodePcx(mono, error);
        QCOMPARE(bw.pixel(0, 0), 0xFFFFFFFFu);
        QCOMPARE(bw.pixel(7, 0), 0xFF000000u);
    }

    // A PCX picture of four 8-bit planes keeps its fourth plane as alpha; one of three planes is opaque.
    void pcxAlphaOnlyWithFourPlanes()
    {
        auto pcx = [](int planes) {
            QByteArray data(128, '\0');
            data[0] = 0x0A;
            data[1] = 5;
            data[2] = 0; // not run-length encoded
            data[3] = 8;
            data[8] = 1; // 2 × 1 pixels
            data[65] = char(planes);
            data[66] = 2; // bytes per line of a plane
            const char values[4][2] = {{char(255), 0}, {0, 0}, {0, char(255)}, {char(128), char(255)}};
            for (int p = 0; p < planes; ++p)
                data.append(values[p], 2);
            return data;
        };
        QString error;
        const QImage withAlpha = DecodePcx(pcx(4), error);
        QVERIFY2(!withAlpha.isNull(), qPrintable(error));
        QVERIFY(withAlpha.hasAlphaChannel());
        QCOMPARE(withAlpha.pixel(0, 0), qRgba(255, 0, 0, 128));
        QCOMPARE(withAlpha.pixel(1, 0), qRgba(0, 0, 255, 255));
        const QImage opaque = DecodePcx(pcx(3), error);
        QVERIFY2(!opaque.isNull(), qPrintable(error));
        QVERIFY(!opaque.hasAlphaChannel());
        QCOMPARE(opaque.pixel(0, 0), qRgb(255, 0, 0));
    }

    // The header decides which Targa pictures are read: the three kinds, raw or run-length, with the pixel
    // and colour-map sizes each kind can have; anything else is not taken for a Targa picture.
    void targaHeaders_data()
    {
        QTest::addColumn<int>("imageType");
        QTest::addColumn<int>("mapType");
        QTest::addColumn<int>("mapBits");
        QTest::addColumn<int>("pixelBits");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("read");
        QTest::newRow("true colour 24") << 2 << 0 << 0 << 24 << 3 << true;
        QTest::newRow("true colour 32") << 2 << 0 << 0 << 32 << 3 << true;
        QTest::newRow("true colour 15") << 2 << 0 << 0 << 15 << 3 << true;
        QTest::newRow("true colour 16") << 2 << 0 << 0 << 16 << 3 << true;
        QTest::newRow("true colour 8") << 2 << 0 << 0 << 8 << 3 << false;
        QTest::newRow("true colour 24, run-length") << 10 << 0 << 0 << 24 << 3 << true;
        QTest::newRow("grey 8") << 3 << 0 << 0 << 8 << 3 << true;
        QTest::newRow("grey 16") << 3 << 0 << 0 << 16 << 3 << true;
        QTest::newRow("grey 24") << 3 << 0 << 0 << 24 << 3 << false;
        QTest::newRow("grey 8, run-length") << 11 << 0 << 0 << 8 << 3 << true;
        QTest::newRow("grey with an unused map") << 3 << 1 << 24 << 8 << 3 << true;
        QTest::newRow("mapped 8, map 24") << 1 << 1 << 24 << 8 << 3 << true;
        QTest::newRow("mapped 8, map 15") << 1 << 1 << 15 << 8 << 3 << true;
        QTest::newRow("mapped 8, map 16") << 1 << 1 << 16 << 8 << 3 << true;
        QTest::newRow("mapped 8, map 32") << 1 << 1 << 32 << 8 << 3 << true;
        QTest::newRow("mapped 16, map 24") << 1 << 1 << 24 << 16 << 3 << true;
        QTest::newRow("mapped 8, run-length") << 9 << 1 << 24 << 8 << 3 << true;
        QTest::newRow("mapped 8, map 8") << 1 << 1 << 8 << 8 << 3 << false;
        QTest::newRow("mapped 24") << 1 << 1 << 24 << 24 << 3 << false;
        QTest::newRow("mapped without a map") << 1 << 0 << 24 << 8 << 3 << false;
        QTest::newRow("map type 2") << 2 << 2 << 0 << 24 << 3 << false;
        QTest::newRow("no picture") << 0 << 0 << 0 << 24 << 3 << false;
        QTest::newRow("type 4") << 4 << 0 << 0 << 24 << 3 << false;
        QTest::newRow("type 12") << 12 << 0 << 0 << 24 << 3 << false;
        QTest::newRow("no width") << 2 << 0 << 0 << 24 << 0 << false;
    }
    void targaHeaders()
    {
        QFETCH(int, imageType);
        QFETCH(int, mapType);
        QFETCH(int, mapBits);
        QFETCH(int, pixelBits);
        QFETCH(int, width);
        QFETCH(bool, read);
        QByteArray tga(18, '\0');
        tga[1] = char(mapType);
        tga[2] = char(imageType);
        tga[5] = 2; // two map entries
        tga[7] = char(mapBits);
        tga[12] = char(width);
        tga[14] = 2;
        tga[16] = char(pixelBits);
        // Zeros are a valid map, valid pixels and valid one-pixel run-length packets.
        tga.append(QByteArray(2 * 4 + 2 * 3 * 5, '\0'));
        QCOMPARE(LooksLikeTga(tga), read);
        QString error;
        const QImage image = DecodeTga(tga, error);
        QCOMPARE(!image.isNull(), read);
        QCOMPARE(error.isEmpty(), read);
        if (read)
            QCOMPARE(image.size(), QSize(3, 2));
    }

    // Alpha is taken only where the header declares alpha bits: many writers leave the fourth byte (or the
    // attribute bit) zero in opaque pictures, which must not come out invisible.
    void targaAlphaOnlyWhenDeclared_data()
    {
        QTest::addColumn<int>("imageType");
        QTest::addColumn<int>("pixelBits");
        QTest::addColumn<int>("alphaBits");
        QTest::addColumn<int>("alpha");
        QTest::newRow("32 bits, none declared") << 2 << 32 << 0 << 255;
        QTest::newRow("32 bits, 8 declared") << 2 << 32 << 8 << 0;
        QTest::newRow("16 bits, none declared") << 2 << 16 << 0 << 255;
        QTest::newRow("16 bits, 1 declared") << 2 << 16 << 1 << 0;
        QTest::newRow("grey 16, none declared") << 3 << 16 << 0 << 255;
        QTest::newRow("grey 16, 8 declared") << 3 << 16 << 8 << 0;
        QTest::newRow("24 bits, 8 declared") << 2 << 24 << 8 << 255;
    }
    void targaAlphaOnlyWhenDeclared()
    {
        QFETCH(int, imageType);
        QFETCH(int, pixelBits);
        QFETCH(int, alphaBits);
        QFETCH(int, alpha);
        QByteArray tga(18, '\0');
        tga[2] = char(imageType);
        tga[12] = 1;
        tga[14] = 1;
        tga[16] = char(pixelBits);
        tga[17] = char(alphaBits);
        tga.append(QByteArray(pixelBits / 8, '\0')); // black, alpha or attribute zero
        QString error;
        const QImage image = DecodeTga(tga, error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(qAlpha(image.pixel(0, 0)), alpha);
    }

    // A metafile's font draws underlined and struck out only when its record says so.
    void metafileFontLines_data()
    {
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("strike");
        QTest::newRow("plain") << false << false;
        QTest::newRow("struck out") << false << true;
        QTest::newRow("underlined") << true << false;
        QTest::newRow("both") << true << true;
    }
    void metafileFontLines()
    {
        QFETCH(bool, underline);
        QFETCH(bool, strike);
        auto render = [](bool under, bool struck) {
            QByteArray font = QByteArray::fromHex("d8ff0000000000009001"); // 40 high, weight 400
            font.append(char(0));                                          // italic
            font.append(char(under));                                      // underline
            font.append(char(struck));                                     // strike-out
            font.append(QByteArray(5, '\0'));
            font.append("Liberation Sans");
            font.append('\0');
            const QByteArray text("I      I");
            QByteArray out =
                QByteArray::fromHex("0800") + text + QByteArray::fromHex("14001400"); // at 20, 20
            QString error;
            WmfMetafile wmf;
            const bool loaded = wmf.Load(Metafile({{0x0102, QByteArray::fromHex("0100")},
                                                   {0x02FB, font},
                                                   {0x012D, QByteArray::fromHex("0000")},
                                                   {0x0521, out}},
                                                  1),
                                         error);
            return loaded ? wmf.Render() : QImage();
        };
        const QImage plain = render(false, false);
        const QImage image = render(underline, strike);
        QVERIFY(!plain.isNull() && !image.isNull());
        auto dark = [](const QImage& picture, int x, int y) { return qGray(picture.pixel(x, y)) < 128; };
        // The letters' extent in the plain drawing: the gap between the two I's, the baseline.
        int left = -1, right = -1, baseline = -1;
        for (int x = 0; x < plain.width(); ++x) {
            for (int y = 0; y < plain.height(); ++y) {
                if (dark(plain, x, y)) {
                    left = left < 0 ? x : left;
                    right = x;
                    baseline = std::max(baseline, y);
                }
            }
        }
        QVERIFY(right - left > 40);
        const int gap = (left + right) / 2;
        bool above = false, below = false;
        for (int y = 0; y < image.height(); ++y) {
            if (dark(image, gap, y)) {
                above = above || y < baseline - 4;
                below = below || y > baseline;
            }
        }
        QCOMPARE(above, strike);
        QCOMPARE(below, underline);
    }

    // With the alignment that follows the current position, text goes where the last move left it, and the
    // next text goes on after it.
    void metafileTextAtTheCurrentPosition()
    {
        QByteArray font = QByteArray::fromHex("d8ff0000000000009001"); // 40 high, weight 400
        font.append(QByteArray(8, '\0'));
        font.append("Liberation Sans");
        font.append('\0');
        const QByteArray out =
            QByteArray::fromHex("0100") + QByteArray("I\0", 2) + QByteArray::fromHex("14001400");
        const Records records{{0x0102, QByteArray::fromHex("0100")}, // transparent background
                              {0x02FB, font},
                              {0x012D, QByteArray::fromHex("0000")},
                              {0x012E, QByteArray::fromHex("0100")},     // TA_UPDATECP
                              {0x0214, QByteArray::fromHex("28009600")}, // move to 150, 40
                              {0x0521, out},                             // "I" at 20, 20: not used
                              {0x0521, out}};
        WmfMetafile wmf;
        QString error;
        QVERIFY2(wmf.Load(Metafile(records, 1), error), qPrintable(error));
        const QImage image = wmf.Render(QSize(400, 200)); // two pixels a unit
        // The dark columns: two I's side by side from x = 150 on, none where the records put them.
        int runs = 0, left = -1;
        bool previous = false;
        for (int x = 0; x < image.width(); ++x) {
            bool dark = false;
            for (int y = 0; y < image.height() && !dark; ++y)
                dark = qGray(image.pixel(x, y)) < 128;
            if (dark && !previous) {
                ++runs;
                left = left < 0 ? x : left;
            }
            previous = dark;
        }
        QCOMPARE(runs, 2);
        QVERIFY2(left >= 295 && left < 320, qPrintable(QString::number(left)));
    }

    // A five-pointed star drawn as one crossing polygon: the winding mode fills its middle, the alternate
    // mode leaves it empty; its points are filled either way.
    void metafilePolygonFillModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("middleFilled");
        QTest::newRow("alternate") << 1 << false;
        QTest::newRow("winding") << 2 << true;
    }
    void metafilePolygonFillModes()
    {
        QFETCH(int, mode);
        QFETCH(bool, middleFilled);
        QByteArray star = QByteArray::fromHex("0500");
        for (const QPoint& p :
             {QPoint(100, 5), QPoint(160, 95), QPoint(10, 35), QPoint(190, 35), QPoint(40, 95)}) {
            star.append(char(p.x())).append('\0');
            star.append(char(p.y())).append('\0');
        }
        const Records records{{0x02FC, QByteArray::fromHex("00000000000000")}, // solid black brush
                              {0x012D, QByteArray::fromHex("0000")},
                              {0x0106, QByteArray(1, char(mode)) + QByteArray(1, '\0')},
                              {0x0324, star}};
        WmfMetafile wmf;
        QString error;
        QVERIFY2(wmf.Load(Metafile(records, 1), error), qPrintable(error));
        const QImage image = wmf.Render(QSize(400, 200));
        QCOMPARE(qGray(image.pixel(200, 110)) < 128, middleFilled);
        QVERIFY(qGray(image.pixel(200, 30)) < 128); // the top point
    }

    // A mask ORed in and a picture ANDed over it at the same place draw as one picture with clear parts, so
    // what lies below shows through them on paper too, where raster operations do not exist.
    void metafileMaskedBitmapOnPaper()
    {
        if (!testsupport::PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        // A DIB of 2 × 1 pixels at 24 bits: left and right colours as blue, green, red bytes.
        auto dib = [](QByteArray left, QByteArray right) {
            QByteArray d = QByteArray::fromHex("28000000"
                                               "02000000"
                                               "01000000"
                                               "0100"
                                               "1800") +
                           QByteArray(24, '\0');
            return d + left + right + QByteArray(2, '\0');
        };
        auto stretch = [](std::uint32_t rop, const QByteArray& bitmap) {
            QByteArray p;
            for (int i = 0; i < 4; ++i)
                p.append(char((rop >> (8 * i)) & 0xFF));
            // usage; source 1 high, 2 wide at 0, 0; destination 100 high, 200 wide at 0, 0
            p += QByteArray::fromHex("0000"
                                     "0100"
                                     "0200"
                                     "0000"
                                     "0000"
                                     "6400"
                                     "c800"
                                     "0000"
                                     "0000");
            return p + bitmap;
        };
        const QByteArray white = QByteArray::fromHex("ffffff"), black = QByteArray::fromHex("000000"),
                         blue = QByteArray::fromHex("ff0000");
        const Records records{{0x02FC, QByteArray::fromHex("0000ff000000000000")}, // solid red brush
                              {0x012D, QByteArray::fromHex("0000")},
                              {0x041B, QByteArray::fromHex("6400c80000000000")}, // the whole window
                              {0x0F43, stretch(0x00EE0086, dib(white, black))},  // the mask, SRCPAINT
                              {0x0F43, stretch(0x008800C6, dib(blue, white))}};  // the picture, SRCAND
        WmfMetafile wmf;
        QString error;
        QVERIFY2(wmf.Load(Metafile(records, 1), error), qPrintable(error));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("masked.pdf"));
        {
            QPdfWriter writer(path);
            writer.setResolution(96);
            QPainter painter(&writer);
            wmf.Play(painter, QRectF(0, 0, 400, 200));
        }
        const QImage page = testsupport::PdfTools::Render(path);
        const QColor left = page.pixelColor(100, 100), right = page.pixelColor(300, 100);
        QVERIFY2(left.blue() > left.red() + 80 && left.blue() > left.green() + 80, qPrintable(left.name()));
        QVERIFY2(right.red() > 200 && right.green() < 60 && right.blue() < 60, qPrintable(right.name()));
    }

    // Text aligned by its bottom stands on the point given: its lowest ink lies a descent higher than that of
    // text aligned by its baseline.
    void metafileTextAlignedByItsBottom()
    {
        auto lowestInk = [](int align) {
            QByteArray font = QByteArray::fromHex("d8ff0000000000009001"); // 40 high, weight 400
            font.append(QByteArray(8, '\0'));
            font.append("Liberation Sans");
            font.append('\0');
            const Records records{{0x0102, QByteArray::fromHex("0100")},
                                  {0x02FB, font},
                                  {0x012D, QByteArray::fromHex("0000")},
                                  {0x012E, QByteArray(1, char(align)) + QByteArray(1, '\0')},
                                  {0x0521, QByteArray::fromHex("0100") + QByteArray("I\0", 2) +
                                               QByteArray::fromHex("3c001400")}}; // at 20, 60
            WmfMetafile wmf;
            QString error;
            if (!wmf.Load(Metafile(records, 1), error))
                return -1;
            const QImage image = wmf.Render(QSize(400, 200)); // two pixels a unit
            int lowest = -1;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        lowest = y;
            return lowest;
        };
        const int onBaseline = lowestInk(24), onBottom = lowestInk(8);
        QVERIFY2(onBaseline > 100 && onBaseline <= 121,
                 qPrintable(QStringLiteral("%1 %2").arg(onBaseline).arg(onBottom)));
        QVERIFY2(onBaseline - onBottom >= 10,
                 qPrintable(QStringLiteral("%1 %2").arg(onBaseline).arg(onBottom)));
    }

    // PATBLT with the pattern copy fills with the brush; whiteness and blackness with their colours.
    void metafilePatternBlocks()
    {
        const Records records{{0x02FC, QByteArray::fromHex("0000"
                                                           "ff000000"
                                                           "0000")}, // solid red brush
                              {0x012D, QByteArray::fromHex("0000")},
                              {0x061D, QByteArray::fromHex("2100f000"
                                                           "3200"
                                                           "3200"
                                                           "0000"
                                                           "0000")}, // PATCOPY
                              {0x061D, QByteArray::fromHex("42000000"
                                                           "3200"
                                                           "3200"
                                                           "0000"
                                                           "6400")}}; // BLACKNESS
        WmfMetafile wmf;
        QString error;
        QVERIFY2(wmf.Load(Metafile(records, 1), error), qPrintable(error));
        const QImage image = wmf.Render(QSize(400, 200));
        QCOMPARE(image.pixelColor(50, 50), QColor(Qt::red));
        QCOMPARE(image.pixelColor(250, 50), QColor(Qt::black));
        QCOMPARE(image.pixelColor(150, 150), QColor(Qt::white));
    }

    // RESTOREDC goes back to a saved state: a positive count names a level from the oldest, a negative one
    // counts back from the newest; a level that does not exist changes nothing.
    void metafileRestoresSavedStates_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QColor>("fill");
        QTest::newRow("the oldest") << 1 << QColor(Qt::red);
        QTest::newRow("the second") << 2 << QColor(Qt::blue);
        QTest::newRow("one back") << -1 << QColor(Qt::blue);
        QTest::newRow("two back") << -2 << QColor(Qt::red);
        QTest::newRow("no such level") << 3 << QColor(Qt::green);
    }
    void metafileRestoresSavedStates()
    {
        QFETCH(int, level);
        QFETCH(QColor, fill);
        const Records records{
            {0x02FC, QByteArray::fromHex("0000"
                                         "ff000000"
                                         "0000")}, // 0: red brush
            {0x012D, QByteArray::fromHex("0000")},
            {0x001E, QByteArray()}, // save: red
            {0x02FC, QByteArray::fromHex("0000"
                                         "0000ff00"
                                         "0000")}, // 1: blue brush
            {0x012D, QByteArray::fromHex("0100")},
            {0x001E, QByteArray()}, // save: blue
            {0x02FC, QByteArray::fromHex("0000"
                                         "00ff0000"
                                         "0000")}, // 2: green brush
            {0x012D, QByteArray::fromHex("0200")},
            {0x0127, QByteArray(1, char(level)) + QByteArray(1, char(level < 0 ? 0xFF : 0))},
            {0x061D, QByteArray::fromHex("2100f000"
                                         "6400"
                                         "c800"
                                         "0000"
                                         "0000")}}; // PATCOPY
        WmfMetafile wmf;
        QString error;
        QVERIFY2(wmf.Load(Metafile(records, 3), error), qPrintable(error));
        QCOMPARE(wmf.Render(QSize(400, 200)).pixelColor(200, 100), fill);
    }

    // A record that runs past the end of the file is reported, not played.
    void metafileRecordPastTheEnd()
    {
        QByteArray data = Metafile({{0x0102, QByteArray::fromHex("0100")}}, 0);
        data[18 + 10 + 10] = char(0x40); // the third record claims 64 words
        QString error;
        WmfMetafile wmf;
        QVERIFY(!wmf.Load(data, error));
        QCOMPARE(error, QStringLiteral("the metafile is damaged"));
        QVERIFY(wmf.Load(Metafile({}, 0), error));
        QCOMPARE(wmf.Size(), QSize(200, 100));
    }

    void metafileHeaderTypes_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("loads");
        QTest::newRow("in memory") << 1 << true;
        QTest::newRow("on disk") << 2 << true;
        QTest::newRow("unknown") << 3 << false;
    }
    void metafileHeaderTypes()
    {
        QFETCH(int, type);
        QFETCH(bool, loads);
        QByteArray data = Metafile({}, 0);
        data[0] = char(type);
        QString error;
        WmfMetafile wmf;
        QCOMPARE(wmf.Load(data, error), loads);
        QCOMPARE(error.isEmpty(), loads);
    }

    // A metafile without a placeable header gets one whose last word is the checksum of the ten before.
    void placeableHeaderChecksum()
    {
        WmfMetafile wmf;
        QString error;
        QVERIFY(wmf.Load(Metafile({}, 0), error));
        const QByteArray data = wmf.PlaceableData();
        QVERIFY(data.startsWith(QByteArray::fromHex("d7cdc69a")));
        auto word = [&data](int i) { return std::uint8_t(data[i]) | (std::uint8_t(data[i + 1]) << 8); };
        int checksum = 0;
        for (int i = 0; i < 20; i += 2)
            checksum ^= word(i);
        QCOMPARE(word(20), checksum);
        QCOMPARE(data.mid(22), wmf.Data());
    }

    // A pen 10 units wide drawn at twice the size is 20 pixels wide; records that name no object or scale
    // by zero change nothing.
    void metafilePenAndOddRecords_data()
    {
        QTest::addColumn<Records>("before");
        QTest::newRow("plain") << Records{};
        QTest::newRow("an object that does not exist")
            << Records{{0x012D, QByteArray::fromHex("0700")}, {0x012D, QByteArray::fromHex("ffff")}};
        QTest::newRow("clip cut beside the line")
            << Records{{0x0416, QByteArray::fromHex("6400c80000000000")},
                       {0x0415, QByteArray::fromHex("6400140000000000")}};
        QTest::newRow("scaled by zero") << Records{{0x0410, QByteArray::fromHex("0100010000000200")},
                                                   {0x0410, QByteArray::fromHex("0000020001000100")}};
    }
    void metafilePenAndOddRecords()
    {
        QFETCH(Records, before);
        Records records = before;
        records += {{0x02FA, QByteArray::fromHex("00000a000000"
                                                 "00000000")}, // solid, 10 wide, black
                    {0x012D, QByteArray::fromHex("0000")},
                    {0x0214, QByteArray::fromHex("0a003200")},  // move to 50, 10
                    {0x0213, QByteArray::fromHex("5a003200")}}; // line to 50, 90
        WmfMetafile wmf;
        QString error;
        QVERIFY2(wmf.Load(Metafile(records, 1), error), qPrintable(error));
        const QImage image = wmf.Render(QSize(400, 200));
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, 100)) < 128) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        QVERIFY2(first >= 88 && last <= 111 && last - first + 1 >= 18,
                 qPrintable(QStringLiteral("%1..%2").arg(first).arg(last)));
    }

    // Each line of a path starts where the one before it ended.
    void metafileLinesJoin()
    {
        const Records records{{0x02FA, QByteArray::fromHex("00000a00000000000000")}, // solid, 10 wide, black
                              {0x012D, QByteArray::fromHex("0000")},
                              {0x0214, QByteArray::fromHex("5a009600")},  // move to 150, 90
                              {0x0213, QByteArray::fromHex("5a003200")},  // line to 50, 90
                              {0x0213, QByteArray::fromHex("0a003200")}}; // line to 50, 10
        WmfMetafile wmf;
        QString error;
        QVERIFY2(wmf.Load(Metafile(records, 1), error), qPrintable(error));
        const QImage image = wmf.Render(QSize(400, 200));
        QCOMPARE(qGray(image.pixel(100, 100)) < 128, true); // the upright line at x = 50
        QCOMPARE(qGray(image.pixel(200, 100)) < 128, false);
        QCOMPARE(qGray(image.pixel(200, 180)) < 128, true); // the level line at y = 90
    }

    void targaKinds()
    {
        // A 2 × 2 picture of 16-bit pixels with the top-left origin, stored right to left.
        QByteArray tga(18, '\0');
        tga[2] = 2;
        tga[12] = 2;
        tga[14] = 2;
        tga[16] = 16;
        tga[17] = char(0x20 | 0x10 | 1);
        auto px = [&tga](int r, int g, int b, int a) {
            const int v = (a << 15) | (r << 10) | (g << 5) | b;
            tga.append(char(v & 0xFF));
            tga.append(char(v >> 8));
        };
        px(31, 0, 0, 1); // top right
        px(0, 31, 0, 1); // top left
        px(0, 0, 31, 0); // bottom right, transparent
        px(31, 31, 31, 1);
        QString error;
        const QImage image = DecodeTga(tga, error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.pixel(1, 0), 0xFFFF0000u);
        QCOMPARE(image.pixel(0, 0), 0xFF00FF00u);
        QCOMPARE(qAlpha(image.pixel(1, 1)), 0);
        QCOMPARE(image.pixel(0, 1), 0xFFFFFFFFu);
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
