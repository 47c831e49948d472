#include "platform/IconLibrary.h"
#include "platform/ImageLoader.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/TestEnvironment.h"
#include "tools/NeIconLibraryWriter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using platform::IconLibrary;
using Problem = platform::IconLibrary::Problem;
Q_DECLARE_METATYPE(Problem)

namespace {

QString DataPath(const QString& name)
{
    return QStringLiteral(DATORIA_SOURCE_DIR "/data/") + name;
}

/** The names of the icon groups wrestool lists, in its order. */
QStringList WrestoolGroups(const QString& file)
{
    QProcess wrestool;
    wrestool.start(QStringLiteral("wrestool"), {QStringLiteral("-l"), QStringLiteral("--type=14"), file});
    wrestool.waitForFinished(30000);
    QStringList names;
    static const QRegularExpression name(QStringLiteral("--name=(\\S+)"));
    for (const QString& line : QString::fromLocal8Bit(wrestool.readAllStandardOutput()).split(u'\n')) {
        const QRegularExpressionMatch m = name.match(line);
        if (m.hasMatch())
            names.append(m.captured(1).remove(u'\''));
    }
    return names;
}

/** Icon group NAME of the file as wrestool extracts it and icotool decodes its image of that width. */
QImage ExtractedIcon(const QString& file, const QString& name, int width, const QString& work)
{
    const QString ico = work + QStringLiteral("/icon.ico");
    const QString png = work + QStringLiteral("/icon.png");
    QFile::remove(ico);
    QFile::remove(png);
    QProcess::execute(QStringLiteral("wrestool"),
                      {QStringLiteral("-x"), QStringLiteral("--type=14"), QStringLiteral("--name=") + name,
                       QStringLiteral("-o"), ico, file});
    QProcess icotool;
    icotool.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    icotool.start(QStringLiteral("icotool"), {QStringLiteral("-x"), QStringLiteral("-w"),
                                              QString::number(width), QStringLiteral("-o"), png, ico});
    icotool.waitForFinished(30000);
    return QImage(png).convertToFormat(QImage::Format_ARGB32);
}

bool HaveIcoutils()
{
    return !QStandardPaths::findExecutable(QStringLiteral("wrestool")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("icotool")).isEmpty();
}

/** Pixels equal, with fully clear pixels equal whatever colour they carry. */
bool SamePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (p != q && !(qAlpha(p) == 0 && qAlpha(q) == 0))
                return false;
        }
    }
    return true;
}

QList<QList<QImage>> TwoIcons()
{
    QList<QList<QImage>> icons;
    for (QRgb colour : {qRgb(200, 0, 0), qRgb(0, 0, 200)}) {
        QList<QImage> images;
        for (int size : {32, 16}) {
            QImage image(size, size, QImage::Format_ARGB32);
            image.fill(colour);
            image.setPixel(0, 0, qRgba(0, 0, 0, 0));
            images.append(image);
        }
        icons.append(images);
    }
    return icons;
}

} // namespace

class TestIconLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void shippedLibraries_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* name : {"activity.icl", "events.icl", "holiday.icl", "misc1.icl", "misc2.icl"})
            QTest::newRow(name) << DataPath(QString::fromLatin1(name));
    }
    void shippedLibraries()
    {
        QFETCH(QString, file);
        IconLibrary library;
        QVERIFY(library.Open(file));
        QVERIFY2(library.Count() >= 40 && library.Count() <= 70,
                 qPrintable(QString::number(library.Count())));
        for (int i = 0; i < library.Count(); ++i) {
            QCOMPARE(library.ImageSizes(i), (QList<QSize>{QSize(48, 48), QSize(32, 32), QSize(16, 16)}));
            QCOMPARE(library.Icon(i, 32).size(), QSize(32, 32));
        }
    }

    void sameAsWrestool_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("width");
        for (const char* name : {"activity.icl", "events.icl", "holiday.icl", "misc1.icl", "misc2.icl"})
            QTest::newRow(name) << DataPath(QString::fromLatin1(name)) << 32;
        QTest::newRow("holiday at 16") << DataPath(QStringLiteral("holiday.icl")) << 16;
        // Installer stubs of NSIS: programs with icons, 32-bit and 64-bit.
        for (const char* stub : {"zlib-x86-unicode", "lzma-amd64-unicode", "bzip2-x86-ansi"})
            QTest::newRow(stub) << QStringLiteral("/usr/share/nsis/Stubs/") + QLatin1String(stub) << 32;
    }
    void sameAsWrestool()
    {
        QFETCH(QString, file);
        QFETCH(int, width);
        if (!HaveIcoutils())
            QSKIP("wrestool and icotool (Debian icoutils) are not installed");
        if (!QFile::exists(file))
            QSKIP("the file comes with a Debian package that is not installed (nsis)");
        IconLibrary library;
        library.Open(file);
        const QStringList groups = WrestoolGroups(file);
        QCOMPARE(library.Count(), int(groups.size()));
        QVERIFY(library.Count() > 0);
        QTemporaryDir work;
        for (int i = 0; i < groups.size(); ++i) {
            const QImage theirs = ExtractedIcon(file, groups[i], width, work.path());
            if (theirs.isNull())
                QSKIP("icotool did not give an image of that size");
            const QImage ours = library.Icon(i, width);
            QVERIFY2(SamePixels(ours, theirs), qPrintable(QStringLiteral("icon %1").arg(i)));
        }
    }

    void iconFileHoldsOneIcon()
    {
        IconLibrary library;
        QVERIFY(library.Open(QStringLiteral(DATORIA_SOURCE_DIR "/tests/data/images/multi.ico")));
        QCOMPARE(library.Count(), 1);
        QCOMPARE(library.ImageSizes(0).size(), 3);
        QCOMPARE(library.Icon(0, 48).size(), QSize(48, 48));
        // 20 pixels come from the nearest image (16), scaled up.
        QCOMPARE(library.Icon(0, 20).size(), QSize(20, 20));
        // The icon as an icon file of its own holds all three images.
        const QByteArray ico = library.IconFile(0);
        IconLibrary again;
        QVERIFY(again.OpenData(ico));
        QCOMPARE(again.ImageSizes(0), library.ImageSizes(0));
        QVERIFY(library.IconFile(1).isEmpty());
        QVERIFY(library.IconFile(-1).isEmpty());
        if (HaveIcoutils()) {
            QTemporaryDir work;
            const QString png = work.filePath(QStringLiteral("i.png"));
            QProcess::execute(QStringLiteral("icotool"),
                              {QStringLiteral("-x"), QStringLiteral("-w"), QStringLiteral("32"),
                               QStringLiteral("-o"), png,
                               QStringLiteral(DATORIA_SOURCE_DIR "/tests/data/images/multi.ico")});
            QVERIFY(SamePixels(library.Icon(0, 32), QImage(png).convertToFormat(QImage::Format_ARGB32)));
        }
    }

    void nortonLibrary()
    {
        // The same icons with the NE header at 64, as Norton's icon editor writes them.
        IconLibrary icl, nil;
        QVERIFY(icl.OpenData(WriteNeIconLibrary(QStringLiteral("T"), TwoIcons())));
        QVERIFY(nil.OpenData(WriteNeIconLibrary(QStringLiteral("T"), TwoIcons(), 0x40)));
        QCOMPARE(nil.Count(), 2);
        QCOMPARE(nil.Icon(1, 16), icl.Icon(1, 16));
        QCOMPARE(nil.Icon(1, 16).pixel(5, 5), qRgb(0, 0, 200));
        QCOMPARE(qAlpha(nil.Icon(0, 32).pixel(0, 0)), 0);
    }

    // The resource table's alignment may go up to 16 bits: each resource then starts on a 64 KiB boundary.
    void largestAlignment()
    {
        const QByteArray written = WriteNeIconLibrary(QStringLiteral("T"), TwoIcons());
        QByteArray out = written;
        auto u16 = [&out](qsizetype at) {
            return int(std::uint8_t(out[at])) | int(std::uint8_t(out[at + 1])) << 8;
        };
        auto put16 = [&out](qsizetype at, int v) {
            out[at] = char(v & 0xFF);
            out[at + 1] = char((v >> 8) & 0xFF);
        };
        const qsizetype header = u16(0x3C) | qsizetype(u16(0x3E)) << 16;
        qsizetype at = header + u16(header + 0x24);
        const int shift = u16(at);
        put16(at, 16);
        at += 2;
        // Every resource moves to a 64 KiB boundary of its own, one unit long.
        while (u16(at) != 0) {
            const int count = u16(at + 2);
            at += 8;
            for (int i = 0; i < count; ++i, at += 12) {
                const QByteArray bytes =
                    written.mid(qsizetype(u16(at)) << shift, qsizetype(u16(at + 2)) << shift);
                out.append(QByteArray((0x10000 - out.size() % 0x10000) % 0x10000, '\0'));
                put16(at, int(out.size() >> 16));
                put16(at + 2, 1);
                out.append(bytes);
            }
        }
        out.append(QByteArray((0x10000 - out.size() % 0x10000) % 0x10000, '\0'));
        IconLibrary library;
        QVERIFY(library.OpenData(out));
        QCOMPARE(library.Count(), 2);
        QCOMPARE(library.Icon(1, 16).pixel(5, 5), qRgb(0, 0, 200));
        if (HaveIcoutils()) {
            // wrestool reads the same two groups from it.
            QTemporaryDir dir;
            QFile file(dir.filePath(QStringLiteral("aligned.icl")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(out);
            file.close();
            QCOMPARE(WrestoolGroups(file.fileName()).size(), 2);
        }
    }

    // A file without icons says why: a whole library without any, a file of another kind, a damaged one.
    void filesWithoutIcons_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Problem>("problem");
        QTest::newRow("empty") << QByteArray() << Problem::NotIconFile;
        QTest::newRow("text") << QByteArray("root:x:0:0:root:/root:/bin/bash\n") << Problem::NotIconFile;
        QTest::newRow("MZ only") << QByteArray("MZ") << Problem::Damaged;
        QTest::newRow("NE without resources")
            << WriteNeIconLibrary(QStringLiteral("T"), {}) << Problem::NoIcons;
        QByteArray self;
        QFile program(QCoreApplication::applicationFilePath());
        if (program.open(QIODevice::ReadOnly))
            self = program.read(65536);
        QTest::newRow("a program of this system") << self << Problem::NotIconFile;
    }
    void filesWithoutIcons()
    {
        QFETCH(QByteArray, data);
        QFETCH(Problem, problem);
        IconLibrary library;
        QVERIFY(!library.OpenData(data));
        QCOMPARE(library.GetProblem(), problem);
        QVERIFY(!library.ErrorString().isEmpty());
        QCOMPARE(library.Count(), 0);
        QVERIFY(library.Icon(0).isNull());
        QVERIFY(library.Icon(-1).isNull());
    }

    void truncatedLibraries_data()
    {
        QTest::addColumn<QByteArray>("whole");
        IconLibrary library;
        library.OpenData(WriteNeIconLibrary(QStringLiteral("T"), TwoIcons()));
        QTest::newRow("library") << WriteNeIconLibrary(QStringLiteral("T"), TwoIcons());
        QTest::newRow("icon file") << library.IconFile(0);
    }
    void truncatedLibraries()
    {
        // Cut at every offset: reported as damaged (or as no icon file at all when too little is left to
        // tell), unless the cut took only the padding after the last resource and every icon is still whole.
        QFETCH(QByteArray, whole);
        IconLibrary all;
        QVERIFY(all.OpenData(whole));
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            IconLibrary library;
            if (library.OpenData(whole.left(cut))) {
                QCOMPARE(library.Count(), all.Count());
                for (int i = 0; i < all.Count(); ++i)
                    QCOMPARE(library.Icon(i, 16), all.Icon(i, 16));
                continue;
            }
            // Both kinds show what they are in their first four bytes.
            QVERIFY(library.GetProblem() == Problem::Damaged ||
                    (cut < 4 && library.GetProblem() == Problem::NotIconFile));
            QVERIFY(library.Count() <= all.Count());
            for (int i = 0; i < library.Count(); ++i)
                QVERIFY(!library.Icon(i, 32).isNull());
        }
    }

    // Half-clear pixels come out as stored: never rounded through premultiplied alpha, whose rounding
    // differs between processors.
    void halfClearPixelsExact_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("extension");
        const QByteArray library =
            WriteNeIconLibrary(QStringLiteral("T"), {{testsupport::HalfClearPicture(32, 32)}});
        IconLibrary icons;
        icons.OpenData(library);
        QTest::newRow("library") << library << QStringLiteral("icl");
        QTest::newRow("icon file") << icons.IconFile(0) << QStringLiteral("ico");
        // An icon file whose one image is a PNG picture (as 256-pixel icons are stored).
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        testsupport::HalfClearPicture(32, 32).save(&buffer, "PNG");
        QByteArray ico("\0\0\x01\0\x01\0\x20\x20\0\0\x01\0\x20\0", 14);
        const quint32 sizeAndOffset[2] = {qToLittleEndian(quint32(png.size())), qToLittleEndian(22u)};
        ico.append(reinterpret_cast<const char*>(sizeAndOffset), 8);
        QTest::newRow("icon file holding a PNG image") << ico + png << QStringLiteral("ico");
    }
    void halfClearPixelsExact()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, extension);
        const QImage picture = testsupport::HalfClearPicture(32, 32);
        IconLibrary library;
        QVERIFY(library.OpenData(file));
        QCOMPARE(testsupport::FirstDifference(library.Icon(0, 32), picture), QString());
        // The picture browser reads an icon file at the system's icon size.
        if (extension == QLatin1String("ico")) {
            QTemporaryDir dir;
            QFile out(dir.filePath(QStringLiteral("i.ico")));
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
            out.close();
            QString error;
            QCOMPARE(testsupport::FirstDifference(platform::LoadImageFile(out.fileName(), error), picture),
                     QString());
        }
    }

    void corruptDirectories()
    {
        // Offsets and counts of the resource table changed to every value of a byte.
        const QByteArray whole = WriteNeIconLibrary(QStringLiteral("T"), TwoIcons());
        for (qsizetype at = 0x3C; at < 0xC0 + 64 && at < whole.size(); ++at) {
            for (int value : {0x00, 0x7F, 0x80, 0xFF}) {
                QByteArray damaged = whole;
                damaged[at] = char(value);
                IconLibrary library;
                library.OpenData(damaged);
                QVERIFY(library.Count() <= 2);
                for (int i = 0; i < library.Count(); ++i)
                    library.Icon(i, 16);
            }
        }
    }
};

QTEST_MAIN(TestIconLibrary)
#include "tst_iconlibrary.moc"
