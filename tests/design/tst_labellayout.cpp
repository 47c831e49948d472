#include "design/LabelLayout.h"
#include "tests/support/TestPrinters.h"

#include <QTest>

using namespace design;
using platform::TRect;

class TestLabelLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offsets()
    {
        QCOMPARE(ShadowOffset(3, 3), QPoint(3, 3));      // down right
        QCOMPARE(ShadowOffset(4, 2), QPoint(-2, 2));     // down left
        QCOMPARE(ShadowOffset(0, 5), QPoint(0, 0));      // none
        QCOMPARE(HighlightOffset(4, 2), QPoint(-2, -2)); // up left
        QCOMPARE(HighlightOffset(3, 2), QPoint(2, -2));  // up right
        QCOMPARE(HighlightOffset(5, 4), QPoint(0, -4));  // up
        QCOMPARE(ShadowOffset(9, 4), QPoint());
        QCOMPARE(ShadowOffset(6, 4), QPoint()); // one past the last direction
        QCOMPARE(HighlightOffset(6, 4), QPoint());
        QCOMPARE(ShadowOffset(-1, 4), QPoint());
    }

    // Line height 20 and text width 100 throughout.
    void layouts_data()
    {
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("shadow");
        QTest::addColumn<QPoint>("highlight");
        QTest::addColumn<QSize>("laidOut");
        QTest::addColumn<TRect>("text");
        QTest::addColumn<TRect>("shadowRect");
        QTest::addColumn<TRect>("highlightRect");
        QTest::addColumn<QPoint>("textOrigin");
        QTest::addColumn<QPoint>("shadowOrigin");
        QTest::addColumn<QPoint>("highlightOrigin");
        QTest::newRow("plain, cut to 1.2 lines")
            << 0 << int(taLeftJustify) << QSize(142, 33) << QPoint() << QPoint() << QSize(142, 24)
            << TRect{0, 0, 142, 20} << TRect{0, 0, 142, 20} << TRect{0, 0, 142, 20} << QPoint(0, 0)
            << QPoint(0, 0) << QPoint(0, 0);
        QTest::newRow("100 high is cut")
            << 0 << int(taLeftJustify) << QSize(142, 100) << QPoint() << QPoint() << QSize(142, 24)
            << TRect{0, 0, 142, 20} << TRect{0, 0, 142, 20} << TRect{0, 0, 142, 20} << QPoint(0, 0)
            << QPoint(0, 0) << QPoint(0, 0);
        QTest::newRow("right aligned")
            << 0 << int(taRightJustify) << QSize(142, 33) << QPoint() << QPoint() << QSize(142, 24)
            << TRect{0, 0, 142, 20} << TRect{0, 0, 142, 20} << TRect{0, 0, 142, 20} << QPoint(42, 0)
            << QPoint(42, 0) << QPoint(42, 0);
        QTest::newRow("centred") << 0 << int(taCenter) << QSize(142, 33) << QPoint() << QPoint()
                                 << QSize(142, 24) << TRect{0, 0, 142, 20} << TRect{0, 0, 142, 20}
                                 << TRect{0, 0, 142, 20} << QPoint(21, 0) << QPoint(21, 0) << QPoint(21, 0);
        // Shadow 3 down right, highlight 2 up left: the margin (2, 2) puts the highlight at the left edge.
        QTest::newRow("shadow and highlight")
            << 0 << int(taLeftJustify) << QSize(142, 33) << QPoint(3, 3) << QPoint(-2, -2) << QSize(142, 30)
            << TRect{2, 2, 142, 22} << TRect{5, 5, 145, 25} << TRect{0, 0, 140, 20} << QPoint(2, 2)
            << QPoint(5, 5) << QPoint(0, 0);
        // Centred text stays where the formula puts it when a shadow or highlight widens the left margin.
        QTest::newRow("centred, shadow down left")
            << 0 << int(taCenter) << QSize(142, 33) << QPoint(-3, 3) << QPoint() << QSize(142, 27)
            << TRect{3, 0, 142, 20} << TRect{0, 3, 139, 23} << TRect{3, 0, 142, 20} << QPoint(19, 0)
            << QPoint(16, 3) << QPoint(19, 0);
        QTest::newRow("centred, highlight up left")
            << 0 << int(taCenter) << QSize(142, 33) << QPoint() << QPoint(-2, -2) << QSize(142, 26)
            << TRect{2, 2, 142, 22} << TRect{2, 2, 142, 22} << TRect{0, 0, 140, 20} << QPoint(20, 2)
            << QPoint(20, 2) << QPoint(18, 0);
        QTest::newRow("90 degrees") << 90 << int(taLeftJustify) << QSize(33, 142) << QPoint(3, 3)
                                    << QPoint(-2, -2) << QSize(30, 120) << TRect{2, 3, 22, 119}
                                    << TRect{5, 0, 25, 116} << TRect{0, 5, 20, 121} << QPoint(2, 119)
                                    << QPoint(5, 116) << QPoint(0, 121);
        QTest::newRow("180 degrees") << 180 << int(taLeftJustify) << QSize(300, 33) << QPoint() << QPoint()
                                     << QSize(200, 24) << TRect{-1, 0, 199, 20} << TRect{-1, 0, 199, 20}
                                     << TRect{-1, 0, 199, 20} << QPoint(199, 20) << QPoint(199, 20)
                                     << QPoint(199, 20);
        QTest::newRow("270 degrees") << 270 << int(taLeftJustify) << QSize(33, 142) << QPoint(3, 0)
                                     << QPoint() << QSize(24, 120) << TRect{0, 0, 20, 120}
                                     << TRect{0, 3, 20, 123} << TRect{0, 0, 20, 120} << QPoint(20, 0)
                                     << QPoint(20, 3) << QPoint(20, 0);
        QTest::newRow("too narrow takes the text width")
            << 0 << int(taLeftJustify) << QSize(4, 20) << QPoint() << QPoint() << QSize(100, 20)
            << TRect{0, 0, 100, 20} << TRect{0, 0, 100, 20} << TRect{0, 0, 100, 20} << QPoint(0, 0)
            << QPoint(0, 0) << QPoint(0, 0);
    }
    void layouts()
    {
        QFETCH(int, angle);
        QFETCH(int, alignment);
        QFETCH(QSize, size);
        QFETCH(QPoint, shadow);
        QFETCH(QPoint, highlight);
        QFETCH(QSize, laidOut);
        QFETCH(TRect, text);
        QFETCH(TRect, shadowRect);
        QFETCH(TRect, highlightRect);
        QFETCH(QPoint, textOrigin);
        QFETCH(QPoint, shadowOrigin);
        QFETCH(QPoint, highlightOrigin);
        LabelLayoutInput in;
        in.angle = angle;
        in.alignment = TAlignment(alignment);
        in.width = size.width();
        in.height = size.height();
        in.shadow = shadow;
        in.highlight = highlight;
        in.lineHeight = 20;
        in.textWidth = 100;
        const LabelLayout out = ComputeLabelLayout(in);
        QCOMPARE(QSize(out.width, out.height), laidOut);
        QCOMPARE(out.text, text);
        QCOMPARE(out.shadow, shadowRect);
        QCOMPARE(out.highlight, highlightRect);
        QCOMPARE(out.textOrigin, textOrigin);
        QCOMPARE(out.shadowOrigin, shadowOrigin);
        QCOMPARE(out.highlightOrigin, highlightOrigin);
    }
};

QTEST_GUILESS_MAIN(TestLabelLayout)
#include "tst_labellayout.moc"
