#include "platform/TCanvas.h"
#include "platform/TFont.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPrinters.h"

#include <QTest>

using namespace platform;
using testsupport::ColorAt;
using testsupport::CountColor;
using testsupport::CountInk;

class TestCanvas : public QObject
{
    Q_OBJECT

    static QImage blank()
    {
        QImage image(40, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void lineLeavesOutItsEndPoint_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<TRect>("covered");
        QTest::newRow("right") << QPoint(5, 5) << QPoint(15, 5) << TRect{5, 5, 15, 6};
        QTest::newRow("left") << QPoint(15, 5) << QPoint(5, 5) << TRect{6, 5, 16, 6};
        QTest::newRow("down") << QPoint(5, 5) << QPoint(5, 15) << TRect{5, 5, 6, 15};
        QTest::newRow("up") << QPoint(5, 15) << QPoint(5, 5) << TRect{5, 6, 6, 16};
    }
    void lineLeavesOutItsEndPoint()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(TRect, covered);
        QImage image = blank();
        {
            QPainter painter(&image);
            TCanvas canvas(painter);
            canvas.MoveTo(from.x(), from.y());
            canvas.LineTo(to.x(), to.y());
        }
        QCOMPARE(CountColor(image, covered, clBlack), covered.width() * covered.height());
        QCOMPARE(CountInk(image, {0, 0, 40, 40}), covered.width() * covered.height());
    }

    void outlineCoversAllFourSides()
    {
        QImage image = blank();
        {
            QPainter painter(&image);
            TCanvas canvas(painter);
            canvas.Outline({10, 10, 20, 30});
        }
        for (QPoint corner : {QPoint(10, 10), QPoint(20, 10), QPoint(20, 30), QPoint(10, 30)})
            QCOMPARE(ColorAt(image, corner.x(), corner.y()), clBlack);
        QCOMPARE(CountInk(image, {0, 0, 40, 40}), 2 * 11 + 2 * 19);
        QCOMPARE(ColorAt(image, 15, 20), clWhite);
    }

    // A filled rectangle is its outline with the fill inside; one without width or height draws nothing.
    void rectangleFillsInsideItsOutline_data()
    {
        QTest::addColumn<TRect>("rect");
        QTest::addColumn<int>("ink");
        QTest::addColumn<int>("filled");
        QTest::newRow("10 x 20") << TRect{10, 10, 20, 30} << 2 * 10 + 2 * 18 + 8 * 18 << 8 * 18;
        QTest::newRow("no width") << TRect{10, 10, 10, 30} << 0 << 0;
        QTest::newRow("no height") << TRect{10, 10, 20, 10} << 0 << 0;
        QTest::newRow("upside down") << TRect{10, 30, 20, 10} << 0 << 0;
    }
    void rectangleFillsInsideItsOutline()
    {
        QFETCH(TRect, rect);
        QFETCH(int, ink);
        QFETCH(int, filled);
        QImage image = blank();
        {
            QPainter painter(&image);
            TCanvas canvas(painter);
            canvas.Rectangle(rect, clRed);
        }
        QCOMPARE(CountInk(image, {0, 0, 40, 40}), ink);
        QCOMPARE(CountColor(image, {0, 0, 40, 40}, clRed), filled);
        if (filled) {
            QCOMPARE(ColorAt(image, rect.left, rect.top), clBlack);
            QCOMPARE(ColorAt(image, rect.right - 1, rect.bottom - 1), clBlack);
            QCOMPARE(ColorAt(image, rect.right, rect.bottom), clWhite);
        }
    }

    void fillExcludesRightAndBottom()
    {
        QImage image = blank();
        {
            QPainter painter(&image);
            TCanvas canvas(painter);
            canvas.FillRect({2, 3, 12, 8}, clRed);
            canvas.FillRect({30, 30, 30, 35}, clRed); // empty: nothing
        }
        QCOMPARE(CountColor(image, {0, 0, 40, 40}, clRed), 10 * 5);
        QCOMPARE(ColorAt(image, 11, 7), clRed);
        QCOMPARE(ColorAt(image, 12, 7), clWhite);
    }

    void textIsClippedToItsRectangle()
    {
        QImage image(200, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            TCanvas canvas(painter);
            canvas.SetFont(MakeQFont(QStringLiteral("Times New Roman"), 30, fsBold), clBlack);
            canvas.DrawTextLine({10, 10, 40, 50}, QStringLiteral("WWWWWW"), TCanvas::HAlign::Left,
                                TCanvas::VAlign::Top);
        }
        QVERIFY(CountInk(image, {10, 10, 40, 50}) > 0);
        QCOMPARE(CountInk(image, {40, 0, 200, 60}), 0);
        QCOMPARE(CountInk(image, {0, 50, 200, 60}), 0);
    }

    void textAlignment()
    {
        QImage image(300, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        TCanvas canvas(painter);
        canvas.SetFont(MakeQFont(QStringLiteral("Arial"), 20, {}), clBlue);
        const int width = canvas.TextWidth(QStringLiteral("12"));
        canvas.DrawTextLine({0, 0, 300, 100}, QStringLiteral("12"), TCanvas::HAlign::Right,
                            TCanvas::VAlign::Top);
        painter.end();
        QVERIFY(CountColor(image, {300 - width, 0, 300, canvas.TextHeight()}, clBlue) > 0);
        QCOMPARE(CountInk(image, {0, 0, 300 - width - 1, 100}), 0);
        QCOMPARE(CountInk(image, {0, canvas.TextHeight() + 1, 300, 100}), 0);
    }
};

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
