// Feeds RTF with pictures (PNG, JPEG, DIB, metafiles, anything a \pict group may hold) to the RTF reader,
// paints the document as a day cell does and writes it back: no crash, hang or allocation the input did not
// pay for.
#include "fuzz/FuzzSupport.h"
#include "richtext/RichTextRenderer.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnsureApplication();
    QTextDocument document;
    richtext::ReadRtf(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                      document);
    QImage cell(160, 120, QImage::Format_RGB32);
    QPainter painter(&cell);
    richtext::RenderDocument(painter, document, cell.rect(), 60, Qt::white);
    painter.end();
    QTextDocument again;
    richtext::ReadRtf(richtext::WriteRtf(document), again);
    return 0;
}
