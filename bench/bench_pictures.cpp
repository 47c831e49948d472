// The icon palette and the picture preview: opening a library of 70 icons and showing the first nine, and
// the memory a 4000 × 3000 JPEG takes while the browser previews it.
// Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen build-bench/bin/bench_pictures
#include "app/TFloatingPalette.h"
#include "controls/TIconListBox.h"
#include "design/TQelImageBrowser.h"
#include "platform/IconLibrary.h"
#include "platform/ImageLoader.h"
#include "platform/ProgramFolder.h"
#include "tools/NeIconLibraryWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

/** The peak resident memory of this process in kilobytes since the last reset. */
long PeakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void ResetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

class BenchPictures : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;

private Q_SLOTS:
    void initTestCase() { platform::SetProgramFolderOverride(m_folder.path()); }

    void openSeventyIconsAndShowNine()
    {
        // Seventy icons of the shipped artwork: the 66 of activity.icl and four again.
        platform::IconLibrary shipped;
        QVERIFY(shipped.Open(app::TFloatingPalette::LibraryPath(QStringLiteral("activity.icl"))));
        QList<QList<QImage>> icons;
        for (int i = 0; i < 70; ++i) {
            QList<QImage> images;
            for (int size : {48, 32, 16})
                images.append(shipped.Icon(i % shipped.Count(), size));
            icons.append(images);
        }
        const QString path = m_folder.filePath(QStringLiteral("seventy.icl"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(WriteNeIconLibrary(QStringLiteral("SEVENTY"), icons));
        file.close();

        app::TFloatingPalette palette;
        palette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        QList<qint64> times;
        for (int run = 0; run < 15; ++run) {
            palette.Grid()->SetFileName(QString()); // forget the file and its icons
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            palette.Grid()->SetFileName(path);
            palette.Grid()->grab(); // lays the items out and draws them, as showing does
            times.append(timer.nsecsElapsed());
            QVERIFY(palette.Grid()->HasIcon(0));
        }
        std::sort(times.begin(), times.end());
        std::printf("open 70 icons and draw the first nine: median %.2f ms, best %.2f ms\n",
                    double(times[7]) / 1e6, double(times[0]) / 1e6);
    }

    void previewLargeJpeg()
    {
        const QString path = m_folder.filePath(QStringLiteral("large.jpg"));
        {
            QImage photo(4000, 3000, QImage::Format_RGB32);
            auto* random = QRandomGenerator::global();
            for (int y = 0; y < photo.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
                for (int x = 0; x < photo.width(); ++x)
                    line[x] = qRgb((x / 7) & 255, (y / 5) & 255, int(random->bounded(256)));
            }
            QVERIFY(photo.save(path, "JPG", 90));
        }
        QCoreApplication::processEvents();
        const long before = PeakKb();
        ResetPeak();
        const long base = PeakKb();
        QElapsedTimer timer;
        timer.start();
        QString error;
        const platform::TPicture preview = platform::LoadPictureFile(
            path, error,
            QSize(design::TQelImageBrowser::kMaxPictureSide, design::TQelImageBrowser::kMaxPictureSide));
        const qint64 ns = timer.nsecsElapsed();
        QVERIFY(!preview.IsEmpty());
        const long peak = PeakKb();
        std::printf("4000 x 3000 JPEG previewed at %d x %d: %.1f ms, peak memory of the process %.1f MB "
                    "(%.1f MB before the picture; %.1f MB while making it)\n",
                    preview.Width(), preview.Height(), double(ns) / 1e6, double(peak) / 1024,
                    double(base) / 1024, double(before) / 1024);
        QVERIFY(peak < 150 * 1024);
    }
};

QTEST_MAIN(BenchPictures)
#include "bench_pictures.moc"
