// One full paint of the page per layout family, at zoom 1.0 and 0.6, with the same work a paint event does:
// a fresh off-screen image of the page's size, everything drawn into it.
// Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen build/bin/bench_paint
#include "calendar/TCalendarPanel32.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "supertext/TQelSuperText.h"

#include <QLocale>
#include <QPainter>
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

    // A 72-point gradient SuperText with outline and shadow, painted as its paint event does, onto an image
    // of its size standing in for the window's back buffer. "repaint" draws the picture the object keeps;
    // "new text" changes the caption before every paint, so glyph outlines, fitting and every layer are made
    // afresh. On a busy machine run it with -perf -perfcounter taskclock to count the processor time alone.
    void superText_data()
    {
        QTest::addColumn<bool>("newText");
        QTest::addColumn<float>("zoom");
        QTest::addColumn<int>("outline");
        QTest::newRow("repaint zoom 1.0") << false << 1.0f << 1;
        QTest::newRow("new text zoom 1.0") << true << 1.0f << 1;
        QTest::newRow("new text zoom 1.0 outline 2") << true << 1.0f << 2;
        QTest::newRow("repaint zoom 0.6") << false << 0.6f << 1;
        QTest::newRow("new text zoom 0.6") << true << 0.6f << 1;
    }
    void superText()
    {
        QFETCH(bool, newText);
        QFETCH(float, zoom);
        QFETCH(int, outline);
        supertext::TQelSuperText text;
        text.SetCaption(QStringLiteral("Happy Holidays"));
        text.Font()->SetSize(72);
        text.SetSurfaceType(supertext::stGradientFill);
        text.SetOutlineWidth(outline);
        text.SetShadowDepth(5);
        text.SetControlTransparent(false);
        text.FitToText();
        text.SetZoom(zoom);
        QImage backBuffer(text.size(), QImage::Format_ARGB32_Premultiplied);
        {
            QPainter warm(&backBuffer);
            text.Paint(warm);
        }
        int n = 0;
        QBENCHMARK
        {
            if (newText)
                text.SetCaption(++n % 2 ? QStringLiteral("Happy Holidays!")
                                        : QStringLiteral("Happy Holidays"));
            QPainter painter(&backBuffer);
            text.Paint(painter);
        }
    }
};

QTEST_MAIN(BenchPaint)
#include "bench_paint.moc"
