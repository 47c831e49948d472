// Feeds arbitrary bytes to the metafile reader and plays what it accepts onto a small picture: neither may
// crash or hang.
#include "platform/WmfMetafile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(application);
    platform::WmfMetafile metafile;
    QString error;
    if (!metafile.Load(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                       error))
        return 0;
    // A small target keeps each run short; the records are played whatever the size.
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    metafile.Play(painter, QRectF(0, 0, 64, 48));
    return 0;
}
