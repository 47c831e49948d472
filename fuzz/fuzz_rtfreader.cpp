// Feeds arbitrary bytes to the RTF reader and writes the document back: neither may crash, hang or allocate
// what the input did not pay for. Reading the text alone must give the document's text and the same result.
#include "fuzz/FuzzSupport.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnsureApplication();
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    const richtext::RtfReadResult read = richtext::ReadRtf(bytes, document);
    QString text;
    const richtext::RtfReadResult readText = richtext::ReadRtfText(bytes, text);
    if (text != richtext::PlainText(document) || readText.hasDocument != read.hasDocument ||
        readText.openGroups != read.openGroups) {
        std::fprintf(stderr, "the text read alone differs from the document's text\n");
        std::abort();
    }
    const QByteArray written = richtext::WriteRtf(document);
    return written.isEmpty() ? 1 : 0;
}
