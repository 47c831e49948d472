// Feeds arbitrary bytes to the icon resource reader (ICO, NE and PE files) and decodes every icon it finds:
// never a crash, a hang or an allocation the input did not pay for.
#include "platform/IconLibrary.h"

#include <QGuiApplication>

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
    platform::IconLibrary library;
    library.OpenData(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    for (int i = 0; i < library.Count() && i < 16; ++i)
        library.Icon(i, 32);
    return 0;
}
