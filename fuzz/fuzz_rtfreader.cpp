// Feeds arbitrary bytes to the RTF reader and writes the document back: neither may crash, hang or allocate
// what the input did not pay for.
#include "fuzz/FuzzSupport.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnsureApplication();
    QTextDocument document;
    richtext::ReadRtf(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                      document);
    const QByteArray written = richtext::WriteRtf(document);
    return written.isEmpty() ? 1 : 0;
}
