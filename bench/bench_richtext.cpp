// Reading and rendering the rich text of 42 day cells; reading 1 MB of WordPad-style RTF into a document, its
// text alone, and the document's HTML.
// Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen build-bench/bin/bench_richtext
// (with an argument OUT.rtf it writes the 1 MB file, to time other readers on the same input).
#include "bench/RtfSample.h"
#include "richtext/RichTextRenderer.h"
#include "richtext/RtfReader.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTextDocument>

namespace {

QByteArray CellText(int i)
{
    return QByteArray(
               "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
               "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
               "\\viewkind4\\uc1\\pard\\f0\\fs16 \\b Day ") +
           QByteArray::number(i) +
           "\\b0 : \\cf1 dentist at 10\\cf0\\par\r\n\\i call mother\\i0 , buy caf\\'e9 beans\\par\r\n"
           "\\cf2\\ul Piano 17:30\\ulnone\\cf0\\par\r\n}\r\n";
}

} // namespace

class BenchRichText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readAndRender42Cells()
    {
        QList<QByteArray> cells;
        for (int i = 1; i <= 42; ++i)
            cells.append(CellText(i));
        QImage scratch(98, 100, QImage::Format_RGB32);
        QBENCHMARK
        {
            richtext::RichTextRenderer renderer; // a new one: every cell is read, not taken from the cache
            for (const QByteArray& cell : cells) {
                scratch.fill(Qt::white);
                QPainter painter(&scratch);
                renderer.Render(painter, cell, scratch.rect(), 100);
            }
        }
    }

    void render42CachedCells()
    {
        QList<QByteArray> cells;
        for (int i = 1; i <= 42; ++i)
            cells.append(CellText(i));
        QImage scratch(98, 100, QImage::Format_RGB32);
        richtext::RichTextRenderer renderer;
        QBENCHMARK
        {
            for (const QByteArray& cell : cells) {
                scratch.fill(Qt::white);
                QPainter painter(&scratch);
                renderer.Render(painter, cell, scratch.rect(), 100);
            }
        }
    }

    void readOneMegabyte()
    {
        const QByteArray rtf = bench::OneMegabyteOfRtf();
        QBENCHMARK
        {
            QTextDocument document;
            richtext::ReadRtf(rtf, document);
        }
    }

    void readTextOfOneMegabyte()
    {
        const QByteArray rtf = bench::OneMegabyteOfRtf();
        QBENCHMARK
        {
            QString text;
            richtext::ReadRtfText(rtf, text);
        }
    }

    void htmlOfOneMegabyte()
    {
        QTextDocument document;
        richtext::ReadRtf(bench::OneMegabyteOfRtf(), document);
        QBENCHMARK
        {
            const QString html = document.toHtml();
            Q_UNUSED(html);
        }
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc == 2 && QByteArray(argv[1]).endsWith(".rtf")) {
        QFile out(QString::fromLocal8Bit(argv[1]));
        return out.open(QIODevice::WriteOnly) && out.write(bench::OneMegabyteOfRtf()) > 0 ? 0 : 1;
    }
    BenchRichText bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_richtext.moc"
