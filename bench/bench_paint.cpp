// One full paint of the page per layout family, at zoom 1.0 and 0.6, with the same work a paint event does:
// a fresh off-screen image of the page's size, everything drawn into it.
// Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen build/bin/bench_paint
#include "calendar/TCalendarPanel32.h"
#include "platform/Clock.h"
#include "platform/Screen.h"

#include <QLocale>
#include <QTest>

using namespace calendar;

class BenchPaint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        platform::SetPixelsPerInchOverride(96);
        platform::SetTodayOverride(QDate(1997, 12, 1));
    }

    void paint_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<float>("zoom");
        const int layouts[] = {0, 3, 5, 7, 8, 11, 13, 15, 17, 18, 19, 20, 21};
        for (int layout : layouts) {
            for (float zoom : {1.0f, 0.6f})
                QTest::addRow("layout %d zoom %.1f", layout, double(zoom)) << layout << zoom;
        }
    }
    void paint()
    {
        QFETCH(int, layout);
        QFETCH(float, zoom);
        TCalendarPanel32 page;
        page.ResetToNew();
        page.SetCalendarLayout(TCalendarLayout(layout));
        page.Relayout(true);
        page.SetZoom(zoom);
        page.RenderToBitmap(); // warm the glyph caches as a running program has them
        QBENCHMARK
        {
            const QImage image = page.RenderToBitmap();
            Q_UNUSED(image);
        }
    }
};

QTEST_MAIN(BenchPaint)
#include "bench_paint.moc"
