// One full paint of the page per layout family, at zoom 1.0 and 0.6, with the same work a paint event does:
// a fresh off-screen image of the page's size, everything drawn into it.
// Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen build/bin/bench_paint
#include "calendar/TCalendarPanel32.h"
#include "calendar/TQelFlatCalendar.h"
#include "design/TQelBaseLabel.h"
#include "design/TQelImage.h"
#include "design/TZubRichBaseLabel.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "richtext/TVelRichRenderer.h"
#include "supertext/TQelSuperText.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QPainter>
#include <QSet>
#include <QTest>

using namespace calendar;

namespace {

const QByteArray kLabelText =
    "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\\f0\\fs24 Happy \\b birthday\\b0 , "
    "\\cf1 Anna\\cf0 !\\par\\qc\\f1\\fs20\\cf2\\i Dinner at eight, bring the photographs\\par}";

/** The page with its placed objects as the window paints them: the page, then every object over it. */
void PaintWithObjects(TCalendarPanel32& page, QImage& image, const QRect& area = QRect())
{
    page.render(&image, QPoint(), QRegion(area.isNull() ? page.rect() : area), QWidget::DrawChildren);
}

void AddRichLabel(TCalendarPanel32& page, const platform::TRect& r, int n)
{
    auto* label = new design::TZubRichBaseLabel(&page);
    label->AfterLoad();
    page.AddObject(label, r);
    // Texts differ, as labels on a real page do.
    QByteArray text = kLabelText;
    text.replace("Anna", "Anna " + QByteArray::number(n));
    label->RTFText().SetRtfText(text);
    label->SetTransparent(n % 2 == 0);
}

void AddFlatCalendar(TCalendarPanel32& page, const platform::TRect& r, int n)
{
    auto* calendar = new TQelFlatCalendar;
    calendar->AfterLoad();
    page.AddObject(calendar, r);
    calendar->SetMonth(n % 12 + 1);
    calendar->SetShadowDepth(n % 4);
    calendar->SetLanguage(TFlatCalLanguage(n % 5));
}

void AddTextLabel(TCalendarPanel32& page, const platform::TRect& r, int n)
{
    auto* label = new design::TZubLabel;
    label->AfterLoad();
    page.AddObject(label, r);
    label->SetCaption(QStringLiteral("Label %1").arg(n));
    label->SetDepthShadow(2);
}

void AddPicture(TCalendarPanel32& page, const platform::TRect& r, int n)
{
    // A photograph-like bitmap of 160 x 120, drawn stretched into the object.
    QImage bitmap(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            bitmap.setPixel(x, y, qRgb((x * 3 + n) % 256, (y * 5) % 256, (x + y) % 256));
    auto* image = new design::TQelImage;
    image->AfterLoad();
    page.AddObject(image, r);
    image->SetAutoSize(false);
    image->SetStretch(true);
    image->SetPicture(platform::TPicture(bitmap));
}

void AddSuperText(TCalendarPanel32& page, const platform::TRect& r, int n)
{
    auto* text = new supertext::TQelSuperText;
    text->AfterLoad();
    page.AddObject(text, r);
    text->SetCaption(QStringLiteral("Holiday %1").arg(n));
    text->Font()->SetSize(28);
    text->SetSurfaceType(n % 2 ? supertext::stGradientFill : supertext::stNormal);
    text->SetShadowDepth(3);
}

} // namespace

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

    // Ten floating calendars and ten rich-text labels on a month page at 100%.
    void objects()
    {
        TCalendarPanel32 page;
        richtext::TVelRichRenderer renderer(&page);
        renderer.setObjectName(QStringLiteral("MasterVelRichText"));
        page.ResetToNew();
        page.SetCalendarLayout(loFullCalendar);
        for (int i = 0; i < 10; ++i) {
            const int x = 30 + (i % 4) * 190, y = 40 + (i / 4) * 330;
            AddFlatCalendar(page, {x, y, x + 170, y + 140}, i);
            AddRichLabel(page, {x, y + 160, x + 180, y + 230}, i);
        }
        QImage image(page.size(), QImage::Format_RGB32);
        PaintWithObjects(page, image); // warm the caches as a running program has them
        QBENCHMARK
        {
            PaintWithObjects(page, image);
        }
    }

    // A page at 200% with all 42 cells filled and 50 placed objects of every kind there is: the whole page,
    // and the part a window of 1000 x 700 pixels shows of it (what a repaint of the window draws).
    void fullPageAt200_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::newRow("whole page") << QRect();
        QTest::newRow("window view") << QRect(400, 300, 1000, 700);
    }
    void fullPageAt200()
    {
        QFETCH(QRect, area);
        TCalendarPanel32 page;
        richtext::TVelRichRenderer renderer(&page);
        renderer.setObjectName(QStringLiteral("MasterVelRichText"));
        page.ResetToNew();
        page.SetCalendarLayout(loFullCalendar);
        for (int i = 1; i <= kCellCount; ++i)
            page.CellStorage(i).SetRtfText(
                "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs16 Day note " + QByteArray::number(i) +
                "\\par\\b Meeting\\b0  at 10\\par}");
        for (int i = 0; i < 50; ++i) {
            const int x = 20 + (i % 5) * 150, y = 20 + (i / 5) * 100;
            const platform::TRect r{x, y, x + 140, y + 90};
            switch (i % 5) {
            case 0:
                AddTextLabel(page, r, i);
                break;
            case 1:
                AddRichLabel(page, r, i);
                break;
            case 2:
                AddFlatCalendar(page, r, i);
                break;
            case 3:
                AddPicture(page, r, i);
                break;
            default:
                AddSuperText(page, r, i);
                break;
            }
        }
        page.SetZoom(2.0f);
        if (area.isNull())
            area = page.rect();
        QImage image(area.size(), QImage::Format_RGB32);
        // The first paint lays out and draws every text and object; repaints copy what they kept. (QBENCHMARK
        // runs this function more than once; the first run's figure is the one without warm caches anywhere.)
        QElapsedTimer first;
        first.start();
        PaintWithObjects(page, image, area);
        static QSet<QString> reported;
        if (!reported.contains(QString::fromLatin1(QTest::currentDataTag()))) {
            reported.insert(QString::fromLatin1(QTest::currentDataTag()));
            qInfo("first paint: %.1f ms", double(first.nsecsElapsed()) / 1e6);
        }
        QBENCHMARK
        {
            PaintWithObjects(page, image, area);
        }
    }
};

QTEST_MAIN(BenchPaint)
#include "bench_paint.moc"
