#include "app/ZoomSteps.h"

#include <QTest>

using namespace app;

class TestZoomSteps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void zoomInStopsAtFullSize()
    {
        float z = PercentToZoom(20);
        for (int i = 0; i < 20; ++i)
            z = ZoomInStep(z);
        QCOMPARE(ZoomToPercent(z), 100);
        QVERIFY(std::abs(z - 1.0f) < 1e-5f);
        QCOMPARE(ZoomInStep(1.0f), 1.0f);
    }

    // 0.6 from the preferences lies just above 0.6 and steps once more; 0.6 reached from above lies just
    // below.
    void zoomOutLimitDependsOnTheStoredValue()
    {
        QCOMPARE(ZoomToPercent(ZoomOutStep(PercentToZoom(60))), 50);
        float z = PercentToZoom(70);
        z = ZoomOutStep(z);
        QVERIFY(double(z) < 0.6);
        QCOMPARE(ZoomOutStep(z), z);
    }

    void percentTables_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<float>("factor");
        QTest::addColumn<int>("back");
        QTest::newRow("below 30") << 5 << 0.2f << 20;
        QTest::newRow("35") << 35 << 0.3f << 30;
        QTest::newRow("60") << 60 << 0.6f << 60;
        QTest::newRow("70") << 70 << 0.7f << 70;
        QTest::newRow("99") << 99 << 0.9f << 90;
        QTest::newRow("250") << 250 << 1.0f << 100;
    }
    void percentTables()
    {
        QFETCH(int, percent);
        QFETCH(float, factor);
        QFETCH(int, back);
        QCOMPARE(PercentToZoom(percent), factor);
        QCOMPARE(ZoomToPercent(factor), back);
    }
};

QTEST_GUILESS_MAIN(TestZoomSteps)
#include "tst_zoomsteps.moc"
