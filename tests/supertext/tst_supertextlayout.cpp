#include "platform/Screen.h"
#include "supertext/SuperTextLayout.h"
#include "tests/support/TestPrinters.h"

#include <QTest>

using namespace supertext;
using platform::TRect;

class TestSuperTextLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shadowOffset_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("none") << int(sdNone) << QPoint(0, 0);
        QTest::newRow("right") << int(sdRight) << QPoint(3, 0);
        QTest::newRow("left") << int(sdLeft) << QPoint(-3, 0);
        QTest::newRow("down right") << int(sdDownRight) << QPoint(3, 3);
        QTest::newRow("down left") << int(sdDownLeft) << QPoint(-3, 3);
        QTest::newRow("down") << int(sdDown) << QPoint(0, 3);
    }
    void shadowOffset()
    {
        QFETCH(int, orientation);
        QFETCH(QPoint, offset);
        QCOMPARE(ShadowOffset(TShadowOrientation(orientation), 3), offset);
    }

    void layout_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QPoint>("shadow");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<bool>("border");
        QTest::addColumn<QSize>("laidOut");
        QTest::addColumn<TRect>("text");
        QTest::addColumn<TRect>("shadowRect");
        // Text 30 high, 80 wide with its blank.
        QTest::newRow("left shadow keeps inside")
            << 1.0f << QPoint(-4, 0) << QSize(142, 33) << false << true << QSize(142, 33)
            << TRect{9, 0, 142, 30} << TRect{5, 0, 138, 30};
        QTest::newRow("up-left shadow shifts both ways")
            << 1.0f << QPoint(-4, -4) << QSize(142, 40) << false << false << QSize(142, 40)
            << TRect{9, 4, 142, 34} << TRect{5, 0, 138, 30};
        QTest::newRow("transparent borderless shrinks")
            << 1.0f << QPoint(0, 0) << QSize(142, 100) << true << false << QSize(142, 36)
            << TRect{5, 0, 142, 30} << TRect{5, 0, 142, 30};
        QTest::newRow("opaque keeps its height")
            << 1.0f << QPoint(0, 0) << QSize(142, 100) << false << false << QSize(142, 100)
            << TRect{5, 0, 142, 30} << TRect{5, 0, 142, 30};
        QTest::newRow("bordered keeps its height")
            << 1.0f << QPoint(0, 0) << QSize(142, 100) << true << true << QSize(142, 100)
            << TRect{5, 0, 142, 30} << TRect{5, 0, 142, 30};
        QTest::newRow("too low grows to the need")
            << 1.0f << QPoint(3, 3) << QSize(142, 20) << false << false << QSize(142, 33)
            << TRect{5, 0, 142, 30} << TRect{8, 3, 145, 33};
        QTest::newRow("narrow takes the text width")
            << 1.0f << QPoint(0, 0) << QSize(5, 40) << false << false << QSize(80, 40) << TRect{5, 0, 80, 30}
            << TRect{5, 0, 80, 30};
        QTest::newRow("six wide stays") << 1.0f << QPoint(0, 0) << QSize(6, 40) << false << false
                                        << QSize(6, 40) << TRect{5, 0, 6, 30} << TRect{5, 0, 6, 30};
        // At half size a shadow of 5 becomes 2 (truncated); the 5-pixel margin is not scaled.
        QTest::newRow("zoomed shadow truncates")
            << 0.5f << QPoint(-5, 5) << QSize(142, 40) << false << false << QSize(142, 40)
            << TRect{7, 0, 142, 30} << TRect{5, 2, 140, 32};
        QTest::newRow("shrinks with its shadow")
            << 1.0f << QPoint(0, 10) << QSize(142, 100) << true << false << QSize(142, 48)
            << TRect{5, 0, 142, 30} << TRect{5, 10, 142, 40};
    }
    void layout()
    {
        QFETCH(float, zoom);
        QFETCH(QPoint, shadow);
        QFETCH(QSize, size);
        QFETCH(bool, transparent);
        QFETCH(bool, border);
        QFETCH(QSize, laidOut);
        QFETCH(TRect, text);
        QFETCH(TRect, shadowRect);
        SuperTextLayoutInput in;
        in.zoom = zoom;
        in.shadow = shadow;
        in.textHeight = 30;
        in.textWidth = 80;
        in.width = size.width();
        in.height = size.height();
        in.transparent = transparent;
        in.border = border;
        const SuperTextLayout out = ComputeSuperTextLayout(in);
        QCOMPARE(QSize(out.width, out.height), laidOut);
        QCOMPARE(out.text, text);
        QCOMPARE(out.shadowRect, shadowRect);
        QCOMPARE(out.TextOrigin(), QPoint(text.left, text.top));
        QCOMPARE(out.X0(), std::max(text.left, shadowRect.left));
    }

    void fitSize_data()
    {
        QTest::addColumn<QPoint>("corner");
        QTest::addColumn<QSize>("extent");
        QTest::addColumn<QSize>("fitted");
        QTest::newRow("plain") << QPoint(5, 0) << QSize(100, 30) << QSize(125, 36);
        QTest::newRow("shadow below") << QPoint(9, 4) << QSize(100, 30) << QSize(129, 40);
        QTest::newRow("truncated") << QPoint(5, 0) << QSize(11, 11) << QSize(18, 13);
        QTest::newRow("empty") << QPoint(5, 0) << QSize(0, 30) << QSize(5, 36);
        // Text four pixels high: a fifth more truncates back to exactly its height, which is enough.
        QTest::newRow("tiny, exactly its height") << QPoint(5, 0) << QSize(3, 4) << QSize(8, 4);
    }
    void fitSize()
    {
        QFETCH(QPoint, corner);
        QFETCH(QSize, extent);
        QFETCH(QSize, fitted);
        QCOMPARE(FitSize(corner.x(), corner.y(), extent.width(), extent.height()), fitted);
    }

    void gradientBands()
    {
        const QRgb s = qRgb(0, 0, 255), e = qRgb(255, 255, 0);
        QCOMPARE(GradientBandColor(s, e, 0), s);
        QCOMPARE(GradientBandColor(s, e, 255), e);
        // MulDiv rounds halves away from zero: 128 * 255 / 255 = 128 and -128 for the falling channel.
        QCOMPARE(GradientBandColor(s, e, 128), qRgb(128, 128, 127));
        QCOMPARE(GradientBandColor(qRgb(10, 0, 0), qRgb(11, 0, 0), 127), qRgb(10, 0, 0));
        QCOMPARE(GradientBandColor(qRgb(10, 0, 0), qRgb(11, 0, 0), 128), qRgb(11, 0, 0));
    }

    void gradientStrip_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QSize>("stripSize");
        QTest::addColumn<platform::TColor>("first");
        QTest::addColumn<platform::TColor>("last");
        // From blue to yellow: the start colour always lies at the top or left edge.
        QTest::newRow("right") << int(gdRight) << QSize(300, 1) << platform::TColor(0xFF0000)
                               << platform::TColor(0x00FFFF);
        QTest::newRow("left") << int(gdLeft) << QSize(300, 1) << platform::TColor(0x00FFFF)
                              << platform::TColor(0xFF0000);
        QTest::newRow("down") << int(gdDown) << QSize(1, 300) << platform::TColor(0xFF0000)
                              << platform::TColor(0x00FFFF);
        QTest::newRow("up") << int(gdUp) << QSize(1, 300) << platform::TColor(0x00FFFF)
                            << platform::TColor(0xFF0000);
    }
    void gradientStrip()
    {
        QFETCH(int, direction);
        QFETCH(QSize, stripSize);
        QFETCH(platform::TColor, first);
        QFETCH(platform::TColor, last);
        const QImage strip =
            MakeGradientStrip(QSize(300, 300), TFillDirection(direction), 0xFF0000, 0x00FFFF);
        QCOMPARE(strip.size(), stripSize);
        const int n = std::max(stripSize.width(), stripSize.height());
        auto at = [&](int i) {
            return platform::FromQColor(
                QColor(stripSize.width() > 1 ? strip.pixel(i, 0) : strip.pixel(0, i)));
        };
        QCOMPARE(at(0), first);
        QCOMPARE(at(n - 1), last);
        // Every pixel belongs to a band: no pixel keeps the image's uninitialised content, and the colours
        // move one way only.
        const QRgb s = platform::ToQColor(first).rgb(), e = platform::ToQColor(last).rgb();
        for (int i = 0; i < n; ++i) {
            int band = 0;
            while (band < 255 && platform::MulDiv(band + 1, n, 256) <= i)
                ++band;
            QCOMPARE(platform::ToQColor(at(i)).rgb(), GradientBandColor(s, e, band));
        }
    }

    void gradientOfNothing()
    {
        QVERIFY(MakeGradientStrip(QSize(0, 10), gdRight, 0, 0xFFFFFF).isNull());
        QVERIFY(MakeGradientStrip(QSize(10, 0), gdUp, 0, 0xFFFFFF).isNull());
        // A one-pixel strip holds the band that covers it: band 127 (bands 0..126 round to nothing).
        QCOMPARE(MakeGradientStrip(QSize(1, 1), gdRight, 0xFF0000, 0x00FFFF).pixel(0, 0),
                 GradientBandColor(qRgb(0, 0, 255), qRgb(255, 255, 0), 127));
    }
};

QTEST_APPLESS_MAIN(TestSuperTextLayout)
#include "tst_supertextlayout.moc"
