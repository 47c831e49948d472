#include "richtext/RichTextRenderer.h"
#include "richtext/RtfReader.h"
#include "richtext/TVelRichRenderer.h"
#include "richtext/TVelRtfStorage.h"
#include "tests/support/ImageProbe.h"

#include <QPainter>
#include <QTest>
#include <QTextDocument>

using testsupport::CountColor;
using testsupport::CountInk;

namespace {

const QByteArray kRed =
    "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}\\f0\\fs40\\cf1 "
    "Red words wrap here and there and everywhere\\par}";

QImage Render(const QByteArray& rtf, QSize size, int zoom)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    richtext::RichTextRenderer renderer;
    renderer.Render(painter, rtf, QRect(QPoint(10, 10), size - QSize(20, 20)), zoom);
    return image;
}

/** Bottom edge of the ink: one past the lowest row holding a non-white pixel. */
int InkBottom(const QImage& image)
{
    for (int y = image.height() - 1; y >= 0; --y) {
        if (CountInk(image, {0, y, image.width(), y + 1}) > 0)
            return y + 1;
    }
    return 0;
}

} // namespace

class TestRichTextRenderer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsInsideTheRectangle()
    {
        const QImage image = Render(kRed, QSize(200, 300), 100);
        QVERIFY(CountInk(image, {10, 10, 190, 290}) > 100);
        // Word-wrapped to the width, cut at the rectangle: nothing outside it.
        QCOMPARE(CountInk(image, {0, 0, 200, 10}), 0);
        QCOMPARE(CountInk(image, {190, 0, 200, 300}), 0);
        QCOMPARE(CountInk(image, {0, 0, 10, 300}), 0);
        QVERIFY(InkBottom(image) > 60); // several lines
    }

    void zoomScalesTheText()
    {
        const QImage full = Render(kRed, QSize(400, 400), 100);
        const QImage half = Render(kRed, QSize(220, 400), 50);
        // At half the zoom in half the width the text wraps the same and takes half the height.
        const int fullHeight = InkBottom(full) - 10;
        const int halfHeight = InkBottom(half) - 10;
        QVERIFY2(std::abs(halfHeight * 2 - fullHeight) <= 6,
                 qPrintable(QStringLiteral("%1 vs %2").arg(halfHeight).arg(fullHeight)));
    }

    void firstPageOnly()
    {
        QByteArray many = "{\\rtf1\\fs24 ";
        for (int i = 0; i < 100; ++i)
            many += "line\\par ";
        many += "}";
        const QImage image = Render(many, QSize(100, 80), 100);
        QCOMPARE(CountInk(image, {0, 70, 100, 80}), 0);
    }

    void backgroundFillsTheRectangle()
    {
        QImage image(50, 50, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QTextDocument doc;
        richtext::RenderDocument(painter, doc, QRect(5, 5, 40, 40), 100, QColor(Qt::yellow));
        painter.end();
        QCOMPARE(CountColor(image, {5, 5, 45, 45}, platform::clYellow), 1600);
        QCOMPARE(CountColor(image, {0, 0, 50, 5}, platform::clYellow), 0);
    }

    // The shared renderer component: the document copied in, painted at its zoom on its background colour.
    void rendererComponent()
    {
        richtext::TVelRtfStorage storage;
        storage.SetRtfText(kRed);
        richtext::TVelRichRenderer renderer;
        renderer.LoadFromStorage(storage);
        QCOMPARE(renderer.Rtf(), kRed);
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            renderer.SetBackgroundColor(QColor(Qt::yellow));
            renderer.SetZoomPercent(50);
            renderer.Paint(painter, QRect(0, 0, 100, 100));
            // No background colour: the text alone, over what is there.
            renderer.SetBackgroundColor(QColor());
            renderer.Paint(painter, QRect(100, 0, 100, 100));
        }
        QVERIFY(CountColor(image, {0, 0, 100, 100}, platform::clYellow) > 5000);
        QCOMPARE(CountColor(image, {100, 0, 200, 100}, platform::clYellow), 0);
        QVERIFY(CountInk(image, {100, 0, 200, 100}) > 50);
    }

    // An empty document paints its background and nothing else; a zoom of 0 paints nothing.
    void rendererEmptyAndZeroZoom()
    {
        richtext::TVelRichRenderer renderer;
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            renderer.SetBackgroundColor(QColor(Qt::red));
            renderer.Paint(painter, QRect(0, 0, 30, 40));
            renderer.LoadRtf(kRed);
            renderer.SetZoomPercent(0);
            renderer.Paint(painter, QRect(30, 0, 30, 40));
        }
        QCOMPARE(CountColor(image, {0, 0, 30, 40}, platform::clRed), 1200);
        QCOMPARE(CountInk(image, {30, 0, 60, 40}), 0);
    }
};

QTEST_MAIN(TestRichTextRenderer)
#include "tst_richtextrenderer.moc"
