// Feeds arbitrary bytes to the RTF reader and writes the document back: neither may crash, hang or allocate
// what the input did not pay for.
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

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
    QTextDocument document;
    richtext::ReadRtf(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                      document);
    const QByteArray written = richtext::WriteRtf(document);
    return written.isEmpty() ? 1 : 0;
}
