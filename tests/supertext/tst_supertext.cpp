#include "calendar/TCalendarPanel32.h"
#include "design/TQelHandle.h"
#include "persist/formats/CalendarFile.h"
#include "persist/stream/StreamDump.h"
#include "persist/stream/StreamError.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "supertext/SuperTextClass.h"
#include "supertext/TQelSuperText.h"
#include "supertext/TSuperTextProperties.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/Tpf0Tools.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace supertext;
using calendar::TCalendarPanel32;
using platform::TColor;

namespace {

/** The object painted as the screen shows it, over white. */
QImage Render(TQelSuperText& text)
{
    text.Layout();
    QImage image(text.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    text.Paint(painter);
    painter.end();
    return image;
}

/** The text printed at its place on a white page of 96 dots per inch: one dot per pixel. */
QImage PrintedAt96Dpi(TQelSuperText& text)
{
    QImage page(1300, 400, QImage::Format_RGB32);
    page.setDotsPerMeterX(3780);
    page.setDotsPerMeterY(3780);
    page.fill(Qt::white);
    QPainter painter(&page);
    text.PrintTo(painter, 0, 0);
    painter.end();
    return page;
}

/** Pixels whose colour and every neighbour within two pixels match: the inside of glyphs, clear of edges. */
QList<QPoint> Inside(const QImage& image, const std::function<bool(QRgb)>& ink)
{
    QList<QPoint> points;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x) {
            bool all = true;
            for (int dy = -2; dy <= 2 && all; ++dy)
                for (int dx = -2; dx <= 2 && all; ++dx)
                    all = ink(image.pixel(x + dx, y + dy));
            if (all)
                points.append(QPoint(x, y));
        }
    return points;
}

bool IsBlack(QRgb c)
{
    return (c & 0xFFFFFF) == 0;
}

/** Pixels of about this colour (edges drawn smooth blend it with the white around). */
int CountNear(const QImage& image, TColor color)
{
    const QColor wanted = platform::ToQColor(color);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) < 90 && std::abs(c.green() - wanted.green()) < 90 &&
                std::abs(c.blue() - wanted.blue()) < 90)
                ++count;
        }
    return count;
}

/** A big, plain SuperText whose glyphs have room inside. */
void MakeBig(TQelSuperText& text, const QString& caption);

/**
 * The pixels well inside the glyphs of a SuperText set up as given: painted solid black without outline or
 * visible shadow, those whose whole neighbourhood is fully covered.
 */
QList<QPoint> GlyphInterior(const std::function<void(TQelSuperText&)>& setup)
{
    TQelSuperText solid;
    setup(solid);
    solid.SetSurfaceType(stNormal);
    solid.Font()->SetColor(platform::clBlack);
    solid.SetOutlineStyle(psClear);
    solid.SetShadowcolor(platform::clWhite);
    return Inside(Render(solid), IsBlack);
}

void MakeBig(TQelSuperText& text, const QString& caption = QStringLiteral("HWM"))
{
    text.SetCaption(caption);
    text.Font()->SetName(QStringLiteral("Liberation Sans"));
    text.Font()->SetStyle(platform::fsBold);
    text.Font()->SetSize(72);
    text.SetOutlineStyle(psClear);
    text.SetControlTransparent(false);
    text.resize(400, 120);
}

/** A texture of 4 x 4 pixels: red, green, blue and yellow quarters of 2 x 2. */
QImage Checker()
{
    QImage image(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y,
                           y < 2 ? (x < 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                 : (x < 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 0)));
    return image;
}

/** A SuperText with every published property away from its initial value. */
TQelSuperText* MakeEverythingChanged(QWidget* parent)
{
    auto* text = new TQelSuperText(parent);
    // Objects read from a file are named "Component" with the first free number, so this one keeps its name.
    text->setObjectName(QStringLiteral("Component0"));
    text->setGeometry(40, 60, 300, 90);
    text->SetTag(7);
    text->SetShadowDepth(6);
    text->SetShadowOrientation(sdDownLeft);
    text->SetShadowcolor(0x102030);
    text->SetBorderStyle(design::bsSingle);
    text->SetControlTransparent(false);
    text->SetBGColor(0xEEDDCC);
    text->SetCaption(QStringLiteral("Happy Holidays \u00e9"));
    text->Font()->SetName(QStringLiteral("Liberation Serif"));
    text->Font()->SetSize(36);
    text->Font()->SetStyle(platform::fsItalic);
    text->Font()->SetColor(0x0000FF);
    text->SetFillDirection(gdUp);
    text->SetGradientToColor(0x00FF00);
    text->SetGradientFromColor(0x800080);
    text->SetImage(Checker());
    text->SetOutlineColor(0x336699);
    text->SetOutlineStyle(psDashDot);
    text->SetOutlineWidth(3);
    text->SetSurfaceType(stBrushImage);
    text->SetLastBitmapFileNameandPath(QStringLiteral("/usr/share/datoria/bmbrush/Wood.bmp"));
    return text;
}

QByteArray CalendarBytes(TCalendarPanel32& page)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    persist::WriteCalendar(&buffer, page);
    return buffer.data();
}

void ReadCalendarBytes(const QByteArray& bytes, TCalendarPanel32& page, QObject* owner)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QVERIFY(!persist::ReadCalendar(&buffer, page, owner));
}

} // namespace

class TestSuperText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment(QDate(1997, 12, 1));
        TQelSuperText::Register();
    }

    void newObject()
    {
        TQelSuperText text;
        QCOMPARE(text.size(), QSize(142, 33));
        QCOMPARE(text.Caption(), QStringLiteral("Text"));
        QCOMPARE(text.Font()->Name(), QStringLiteral("Times New Roman"));
        QCOMPARE(text.Font()->Size(), 48);
        QCOMPARE(text.Font()->Color(), platform::clBlack);
        QCOMPARE(text.SurfaceType(), stGradientFill);
        QCOMPARE(text.FillDirection(), gdRight);
        QCOMPARE(text.GradientFromColor(), 0xFF0000);
        QCOMPARE(text.GradientToColor(), 0x00FFFF);
        QCOMPARE(text.OutlineStyle(), psSolid);
        QCOMPARE(text.OutlineWidth(), 1);
        QCOMPARE(text.OutlineColor(), platform::clBlack);
        QCOMPARE(text.ShadowDepth(), 0);
        QCOMPARE(text.ShadowOrientation(), sdDownRight);
        QCOMPARE(text.Shadowcolor(), 0x808080);
        QVERIFY(text.ControlTransparent());
        QCOMPARE(text.BGColor(), platform::clWhite);
        QCOMPARE(text.BorderStyle(), design::bsNone);
        QVERIFY(text.Image().isNull());
        QVERIFY(text.LastBitmapFileNameandPath().isEmpty());
        // Painted: blue at the left of the glyphs, yellow at the right, and the black outline.
        const QImage image = Render(text);
        QVERIFY(testsupport::CountColor(image, {0, 0, image.width(), image.height()}, platform::clBlack) >
                20);
    }

    void leftShadowMovesTheText()
    {
        TQelSuperText text;
        text.SetShadowOrientation(sdLeft);
        text.SetShadowDepth(4);
        QCOMPARE(text.ShadowOffsetAtZoom1(), QPoint(-4, 0));
        const SuperTextLayout& layout = text.Layout();
        QCOMPARE(layout.TextOrigin(), QPoint(9, 0));
        QCOMPARE(layout.ShadowOrigin(), QPoint(5, 0));
    }

    void layoutFollowsLaterChanges()
    {
        TQelSuperText text;
        QCOMPARE(text.Layout().TextOrigin(), QPoint(5, 0));
        text.SetShadowOrientation(sdLeft);
        text.SetShadowDepth(4);
        QCOMPARE(text.Layout().TextOrigin(), QPoint(9, 0));
        text.SetShadowOrientation(sdDownLeft);
        QCOMPARE(text.Layout().ShadowOrigin(), QPoint(5, 4));
        // A size of nothing becomes one pixel (on a shown page, where size changes take effect at once).
        QWidget page;
        auto* placed = new TQelSuperText(&page);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        placed->resize(0, 10);
        QCOMPARE(placed->width(), 1);
        placed->resize(10, 0);
        QCOMPARE(placed->height(), 1);
        // Five pixels wide or less, the object takes the width of its caption.
        placed->SetCaption(QStringLiteral("A caption of some width"));
        placed->resize(4, 60);
        const int captionWidth = placed->Layout().width;
        QVERIFY2(captionWidth > 60, qPrintable(QString::number(captionWidth)));
        QCOMPARE(placed->width(), captionWidth);
    }

    // A caption emptied after a paint (a file may hold an empty one) leaves no glyphs of the old one behind.
    void emptiedCaptionDrawsNoGlyphs()
    {
        TQelSuperText text;
        MakeBig(text);
        text.SetSurfaceType(stNormal);
        text.SetOutlineStyle(psClear);
        text.Font()->SetColor(0x00FF00);
        const QImage before = Render(text);
        QVERIFY(testsupport::CountColor(before, {0, 0, before.width(), before.height()}, 0x00FF00) > 100);
        text.SetCaption(QString());
        const QImage after = Render(text);
        QCOMPARE(testsupport::CountColor(after, {0, 0, after.width(), after.height()}, 0x00FF00), 0);
    }

    void gradientFollowsItsColours()
    {
        TQelSuperText text;
        MakeBig(text);
        const QList<QPoint> inside = GlyphInterior([](TQelSuperText& t) { MakeBig(t); });
        QVERIFY(!inside.isEmpty());
        const QPoint p = inside.first();
        Render(text);
        text.SetGradientFromColor(0x00FF00);
        text.SetGradientToColor(0x00FF00);
        QCOMPARE(testsupport::ColorAt(Render(text), p.x(), p.y()), 0x00FF00);
        text.SetFillDirection(gdDown);
        text.SetGradientFromColor(0x0000FF);
        text.SetGradientToColor(0x0000FF);
        QCOMPARE(testsupport::ColorAt(Render(text), p.x(), p.y()), 0x0000FF);
    }

    // Each input of the gradient, changed alone after a paint, shows in the next one as on a new object.
    void gradientRedrawsAfterOneChange_data()
    {
        QTest::addColumn<std::function<void(TQelSuperText&)>>("change");
        QTest::newRow("start colour") << std::function<void(TQelSuperText&)>(
            [](TQelSuperText& t) { t.SetGradientFromColor(0x00FF00); });
        QTest::newRow("end colour") << std::function<void(TQelSuperText&)>(
            [](TQelSuperText& t) { t.SetGradientToColor(0x00FF00); });
        QTest::newRow("direction") << std::function<void(TQelSuperText&)>(
            [](TQelSuperText& t) { t.SetFillDirection(gdLeft); });
        QTest::newRow("width") << std::function<void(TQelSuperText&)>(
            [](TQelSuperText& t) { t.resize(t.width() + 120, t.height()); });
    }
    void gradientRedrawsAfterOneChange()
    {
        QFETCH(std::function<void(TQelSuperText&)>, change);
        TQelSuperText text;
        MakeBig(text);
        const QImage before = Render(text);
        change(text);
        TQelSuperText fresh;
        MakeBig(fresh);
        change(fresh);
        const QImage after = Render(fresh);
        QVERIFY(after != before);
        QCOMPARE(Render(text), after);
    }

    void repaintsShowChanges()
    {
        // Painted as the window paints it, twice: the second picture shows the change.
        TQelSuperText text;
        MakeBig(text);
        text.SetSurfaceType(stNormal);
        text.Font()->SetColor(0x0000FF);
        const QImage red = text.grab().toImage();
        text.Font()->SetColor(0x00FF00);
        const QImage green = text.grab().toImage();
        QVERIFY(CountNear(red, 0x0000FF) > 500);
        QVERIFY(CountNear(green, 0x00FF00) > 500);
        QCOMPARE(CountNear(green, 0x0000FF), 0);
    }

    void transparentObjectShrinksToItsText()
    {
        TQelSuperText text;
        text.resize(300, 300);
        text.Layout();
        const QFontMetrics metrics(text.DrawingFont());
        const int need = metrics.ascent() + metrics.descent();
        QCOMPARE(text.height(), int(1.2 * need));
        TQelSuperText opaque;
        opaque.SetControlTransparent(false);
        opaque.resize(300, 300);
        opaque.Layout();
        QCOMPARE(opaque.height(), 300);
    }

    // A zoom that leaves the object's size alone still redraws it at the new zoom, not from the kept picture.
    void zoomAloneRedraws()
    {
        TQelSuperText text;
        text.SetControlTransparent(false);
        text.resize(300, 120);
        const QImage full = Render(text);
        text.SetZoomFactor(0.5f);
        text.resize(300, 120);
        const QImage half = Render(text);
        TQelSuperText fresh;
        fresh.SetControlTransparent(false);
        fresh.SetZoomFactor(0.5f);
        fresh.resize(300, 120);
        QCOMPARE(half.size(), full.size());
        QVERIFY(half != full);
        QCOMPARE(half, Render(fresh));

        // With a shadow thrown left, the text's place follows the zoom too, there and back.
        TQelSuperText shadowed;
        shadowed.SetShadowOrientation(sdLeft);
        shadowed.SetShadowDepth(8);
        QCOMPARE(shadowed.Layout().TextOrigin(), QPoint(13, 0));
        shadowed.SetZoomFactor(0.5f);
        QCOMPARE(shadowed.Layout().TextOrigin(), QPoint(9, 0));
        QCOMPARE(shadowed.Layout().ShadowOrigin(), QPoint(5, 0));
        shadowed.SetZoomFactor(1.0f);
        QCOMPARE(shadowed.Layout().TextOrigin(), QPoint(13, 0));
        QCOMPARE(shadowed.Layout().ShadowOrigin(), QPoint(5, 0));
    }

    void zoomedFont()
    {
        TQelSuperText text;
        QCOMPARE(text.DrawingFont().pixelSize(), 64);
        text.SetZoomFactor(0.5f);
        QCOMPARE(text.DrawingFont().pixelSize(), 32); // trunc(48 * 0.5) = 24 points
        text.SetZoomFactor(0.7f);
        QCOMPARE(text.DrawingFont().pixelSize(), platform::MulDiv(33, 96, 72));
        // The shadow's offset shrinks with the zoom: depth 8 to the left at 50% shifts the text by 4.
        text.SetShadowOrientation(sdLeft);
        text.SetShadowDepth(8);
        text.SetZoomFactor(0.5f);
        QCOMPARE(text.Layout().TextOrigin(), QPoint(9, 0));
        QCOMPARE(text.Layout().ShadowOrigin(), QPoint(5, 0));
    }

    void setterEffects()
    {
        TCalendarPanel32 page;
        int changes = 0;
        page.SetLabelChangedEvent([&changes](QObject*) { ++changes; });
        auto* text = new TQelSuperText(&page);
        text->AfterLoad();
        const int start = changes;
        // These change what the document holds and say so.
        text->SetBGColor(0x123456);
        text->SetBorderStyle(design::bsSingle);
        text->SetGradientFromColor(0x00FF00);
        text->SetCaption(QStringLiteral("Other"));
        QCOMPARE(changes, start + 4);
        // Setting a value it already has changes nothing.
        text->SetBGColor(0x123456);
        text->SetCaption(QStringLiteral("Other"));
        QCOMPARE(changes, start + 4);

        // Switching away from the texture loses it.
        text->SetSurfaceType(stBrushImage);
        text->SetImage(Checker());
        QCOMPARE(text->Image().size(), QSize(4, 4));
        text->SetSurfaceType(stNormal);
        QVERIFY(text->Image().isNull());
        text->SetSurfaceType(stBrushImage);
        QVERIFY(text->Image().isNull());

        // Hollow text always shows its outline.
        text->SetOutlineStyle(psClear);
        text->SetSurfaceType(stBrushTransparent);
        QCOMPARE(text->OutlineStyle(), psSolid);
        text->SetOutlineStyle(psClear);
        QCOMPARE(text->OutlineStyle(), psClear); // only the switch turns it solid

        // An empty texture is empty whichever way it is given.
        text->SetImage(Checker());
        text->SetImage(QImage());
        QVERIFY(text->Image().isNull());
        text->SetImage(Checker());
        text->SetImage(QImage(0, 5, QImage::Format_RGB32));
        QVERIFY(text->Image().isNull());

        // A texture is opaque: see-through parts of a picture become white, opaque parts stay.
        QImage seeThrough(2, 1, QImage::Format_ARGB32);
        seeThrough.setPixelColor(0, 0, Qt::transparent);
        seeThrough.setPixelColor(1, 0, Qt::red);
        text->SetImage(seeThrough);
        QVERIFY(!text->Image().hasAlphaChannel());
        QCOMPARE(text->Image().pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(text->Image().pixelColor(1, 0), QColor(Qt::red));
    }

    void gradientRunsInItsDirection_data()
    {
        QTest::addColumn<int>("direction");
        QTest::newRow("right") << int(gdRight);
        QTest::newRow("left") << int(gdLeft);
        QTest::newRow("down") << int(gdDown);
        QTest::newRow("up") << int(gdUp);
    }
    void gradientRunsInItsDirection()
    {
        QFETCH(int, direction);
        auto setup = [direction](TQelSuperText& t) {
            MakeBig(t);
            t.SetFillDirection(TFillDirection(direction));
        };
        TQelSuperText text;
        setup(text);
        const QImage image = Render(text);
        const QList<QPoint> inside = GlyphInterior(setup);
        QVERIFY(inside.size() > 200);
        // Every pixel inside a glyph has the colour of its band: from blue at the start edge to yellow at
        // the end edge, the start edge being the left or top one for Right and Down.
        const bool across = direction == gdLeft || direction == gdRight;
        const QImage& strip = text.GradientBitmap();
        QCOMPARE(strip.size(), across ? QSize(text.width(), 1) : QSize(1, text.height()));
        int checked = 0;
        for (const QPoint& p : inside) {
            const QRgb expected = across ? strip.pixel(p.x(), 0) : strip.pixel(0, p.y());
            QCOMPARE(image.pixel(p) & 0xFFFFFF, expected & 0xFFFFFF);
            ++checked;
        }
        QVERIFY(checked > 200);
        // The blue share falls along the direction.
        auto first = std::min_element(inside.begin(), inside.end(), [across](QPoint a, QPoint b) {
            return across ? a.x() < b.x() : a.y() < b.y();
        });
        auto last = std::max_element(inside.begin(), inside.end(), [across](QPoint a, QPoint b) {
            return across ? a.x() < b.x() : a.y() < b.y();
        });
        const bool forward = direction == gdRight || direction == gdDown;
        const int blueFirst = qBlue(image.pixel(*first)), blueLast = qBlue(image.pixel(*last));
        QVERIFY2(forward ? blueFirst > blueLast + 60 : blueLast > blueFirst + 60,
                 qPrintable(QStringLiteral("%1 -> %2").arg(blueFirst).arg(blueLast)));
    }

    void textureFillsTheGlyphs()
    {
        TQelSuperText text;
        MakeBig(text);
        text.SetSurfaceType(stBrushImage);
        text.SetImage(Checker());
        const QImage image = Render(text);
        const QImage checker = Checker();
        const QList<QPoint> inside = GlyphInterior([](TQelSuperText& t) { MakeBig(t); });
        QVERIFY(inside.size() > 200);
        for (const QPoint& p : inside)
            QCOMPARE(image.pixel(p) & 0xFFFFFF, checker.pixel(p.x() % 4, p.y() % 4) & 0xFFFFFF);
        // Outside the glyphs lies the background.
        QCOMPARE(testsupport::ColorAt(image, 2, image.height() - 3), platform::clWhite);
        QCOMPARE(testsupport::ColorAt(image, image.width() - 3, 2), platform::clWhite);

        // At half size the tiles are half as big.
        auto halfSize = [](TQelSuperText& t) {
            MakeBig(t);
            t.SetZoomFactor(0.5f);
            t.resize(200, 60);
        };
        text.SetZoomFactor(0.5f);
        text.resize(200, 60);
        const QImage half = Render(text);
        const QList<QPoint> halfInside = GlyphInterior(halfSize);
        QVERIFY(halfInside.size() > 20);
        for (const QPoint& p : halfInside)
            QCOMPARE(half.pixel(p) & 0xFFFFFF, checker.pixel((p.x() % 2) * 2, (p.y() % 2) * 2) & 0xFFFFFF);
    }

    void emptyTextureDrawsNothingInside()
    {
        TQelSuperText text;
        MakeBig(text);
        text.SetSurfaceType(stBrushImage);
        const QImage image = Render(text);
        QCOMPARE(testsupport::CountInk(image, {0, 0, image.width(), image.height()}), 0);
    }

    void hollowTextHasAnOutlineOnly()
    {
        const QList<QPoint> inside = GlyphInterior([](TQelSuperText& t) { MakeBig(t); });
        QVERIFY(inside.size() > 200);

        TQelSuperText hollow;
        MakeBig(hollow);
        hollow.SetSurfaceType(stBrushTransparent);
        QCOMPARE(hollow.OutlineStyle(), psSolid); // the switch gave the clear outline a solid pen
        hollow.SetOutlineColor(0x0000FF);
        hollow.SetOutlineWidth(1);
        const QImage outlined = Render(hollow);
        int cleared = 0;
        for (const QPoint& p : inside) {
            // Deep inside a glyph (away from its outline) hollow text shows the background.
            bool deep = true;
            for (int d = -4; d <= 4 && deep; ++d)
                deep = inside.contains(p + QPoint(d, 0)) && inside.contains(p + QPoint(0, d));
            if (deep) {
                QCOMPARE(testsupport::ColorAt(outlined, p.x(), p.y()), platform::clWhite);
                ++cleared;
            }
        }
        QVERIFY(cleared > 50);
        QVERIFY(CountNear(outlined, 0x0000FF) > 100);
    }

    void outlineStylesAndWidths_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("solid 1") << int(psSolid) << 1 << true;
        QTest::newRow("dash 1") << int(psDash) << 1 << true;
        QTest::newRow("dot 2") << int(psDot) << 2 << true;
        QTest::newRow("dash dot 3") << int(psDashDot) << 3 << true;
        QTest::newRow("dash dot dot 1") << int(psDashDotDot) << 1 << true;
        QTest::newRow("inside frame 2") << int(psInsideFrame) << 2 << true;
        QTest::newRow("clear") << int(psClear) << 3 << false;
        QTest::newRow("width 0") << int(psSolid) << 0 << false;
        QTest::newRow("negative width") << int(psSolid) << -2 << false;
    }
    void outlineStylesAndWidths()
    {
        QFETCH(int, style);
        QFETCH(int, width);
        QFETCH(bool, drawn);
        TQelSuperText text;
        MakeBig(text);
        text.SetSurfaceType(stBrushTransparent);
        text.SetOutlineStyle(TPenStyle(style));
        text.SetOutlineWidth(width);
        text.SetOutlineColor(0x00FF00);
        const QImage image = Render(text);
        const int green = CountNear(image, 0x00FF00);
        QCOMPARE(green > 0, drawn);
        if (!drawn)
            return;
        // Dashes leave gaps that a solid line of the same width does not.
        TQelSuperText solidText;
        MakeBig(solidText);
        solidText.SetSurfaceType(stBrushTransparent);
        solidText.SetOutlineWidth(width);
        solidText.SetOutlineColor(0x00FF00);
        const QImage solid = Render(solidText);
        const int solidGreen = CountNear(solid, 0x00FF00);
        if (style == psSolid || style == psInsideFrame)
            QCOMPARE(green, solidGreen);
        else
            QVERIFY2(green < solidGreen * 9 / 10,
                     qPrintable(QStringLiteral("%1 of %2").arg(green).arg(solidGreen)));
    }

    void shadowLiesAtItsDepthAndDirection_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("depth");
        QTest::newRow("down right 4") << int(sdDownRight) << 4;
        QTest::newRow("right 3") << int(sdRight) << 3;
        QTest::newRow("left 4") << int(sdLeft) << 4;
        QTest::newRow("down left 5") << int(sdDownLeft) << 5;
        QTest::newRow("down 2") << int(sdDown) << 2;
        QTest::newRow("down right 1") << int(sdDownRight) << 1;
    }
    void shadowLiesAtItsDepthAndDirection()
    {
        QFETCH(int, orientation);
        QFETCH(int, depth);
        const QPoint offset = ShadowOffset(TShadowOrientation(orientation), depth);
        // The shadow alone, then the text alone: the shadow is the text moved by the offset.
        TQelSuperText shadowOnly;
        MakeBig(shadowOnly);
        shadowOnly.SetSurfaceType(stBrushTransparent);
        shadowOnly.SetOutlineStyle(psClear);
        shadowOnly.SetShadowOrientation(TShadowOrientation(orientation));
        shadowOnly.SetShadowDepth(depth);
        shadowOnly.SetShadowcolor(0x00FF00);
        const QImage shadow = Render(shadowOnly);
        TQelSuperText textOnly;
        MakeBig(textOnly);
        textOnly.SetSurfaceType(stNormal);
        textOnly.SetShadowOrientation(TShadowOrientation(orientation));
        textOnly.SetShadowDepth(depth);
        textOnly.SetShadowcolor(0xFFFFFF); // the same layout, an invisible shadow
        const QList<QPoint> inside = Inside(Render(textOnly), IsBlack);
        QVERIFY(inside.size() > 200);
        for (const QPoint& p : inside)
            QCOMPARE(testsupport::ColorAt(shadow, p.x() + offset.x(), p.y() + offset.y()), 0x00FF00);
        // Whatever its direction, the shadow stays inside the object: nothing of it at the left edge.
        QCOMPARE(testsupport::CountColor(shadow, {0, 0, 3, shadow.height()}, 0x00FF00), 0);
        QCOMPARE(testsupport::CountColor(shadow, {0, 0, shadow.width(), 1}, 0x00FF00), 0);
    }

    void noShadowWhenDepthOrDirectionSaySo()
    {
        for (const auto& [orientation, depth] : {std::pair{sdNone, 5}, std::pair{sdDownRight, 0}}) {
            TQelSuperText text;
            MakeBig(text);
            text.SetSurfaceType(stBrushTransparent);
            text.SetOutlineStyle(psClear);
            text.SetShadowOrientation(orientation);
            text.SetShadowDepth(depth);
            text.SetShadowcolor(0x00FF00);
            const QImage image = Render(text);
            QCOMPARE(testsupport::CountInk(image, {0, 0, image.width(), image.height()}), 0);
        }
    }

    void captionShortensToFit()
    {
        TQelSuperText text;
        MakeBig(text, QStringLiteral("WWWWWWWWWW"));
        text.SetSurfaceType(stNormal);
        const QImage image = Render(text);
        // Only whole characters that fit are drawn: nothing touches the right edge.
        QCOMPARE(testsupport::CountInk(image, {image.width() - 2, 0, image.width(), image.height()}), 0);
        QVERIFY(testsupport::CountInk(image, {0, 0, image.width(), image.height()}) > 1000);

        // Made narrower after a paint, the object shortens the caption again and draws as a new one would.
        text.resize(250, text.height());
        TQelSuperText fresh;
        MakeBig(fresh, QStringLiteral("WWWWWWWWWW"));
        fresh.SetSurfaceType(stNormal);
        fresh.resize(250, text.height());
        const QImage narrower = Render(text);
        QCOMPARE(narrower, Render(fresh));
        QCOMPARE(testsupport::CountInk(narrower, {248, 0, 250, narrower.height()}), 0);
    }

    // A caption that just fits (or just does not) shows the same letters at every zoom as at full size, where
    // it prints: fitted at each zoom, rounded font sizes dropped a letter at one zoom and kept it at another.
    void captionShowsTheSameLettersAtEveryZoom()
    {
        for (const float zoom : {0.6f, 0.75f, 1.5f, 2.0f}) {
            TQelSuperText sizing;
            sizing.SetCaption(QStringLiteral("Greetings"));
            const int advance = QFontMetrics(sizing.DrawingFont()).horizontalAdvance(sizing.Caption());
            for (int extra = -3; extra <= 3; ++extra) {
                TQelSuperText text;
                text.SetCaption(QStringLiteral("Greetings"));
                text.resize(text.Layout().X0() + advance + extra, 120);
                text.SetZoom(zoom);
                const QString zoomed = text.ShownCaption();
                text.SetZoom(1.0f);
                QVERIFY2(zoomed == text.ShownCaption(), qPrintable(QStringLiteral("%1 at %2, %3 at 100%")
                                                                       .arg(zoomed)
                                                                       .arg(double(zoom))
                                                                       .arg(text.ShownCaption())));
            }
        }
    }

    // A caption exactly as wide as the room right of the text's start is drawn whole.
    void captionExactlyAsWideAsItsRoom()
    {
        TQelSuperText text;
        MakeBig(text);
        text.SetSurfaceType(stNormal);
        const int advance = QFontMetrics(text.DrawingFont()).horizontalAdvance(text.Caption());
        text.resize(text.Layout().X0() + advance, text.height());
        TQelSuperText wider;
        MakeBig(wider);
        wider.SetSurfaceType(stNormal);
        wider.resize(text.width() + 60, text.height());
        QCOMPARE(Render(text), Render(wider).copy(0, 0, text.width(), text.height()));
    }

    void emptyCaptionDrawsACrossedBox()
    {
        TQelSuperText text;
        text.SetCaption(QString());
        text.resize(81, 81);
        text.SetControlTransparent(false);
        const QImage image = Render(text);
        QCOMPARE(image.size(), QSize(81, 81));
        for (int i = 0; i < 81; ++i) {
            QCOMPARE(testsupport::ColorAt(image, i, i), platform::clBlack);
            QCOMPARE(testsupport::ColorAt(image, 80 - i, i), platform::clBlack);
        }
        QCOMPARE(testsupport::ColorAt(image, 40, 5), platform::clWhite);
        QCOMPARE(testsupport::ColorAt(image, 80, 40), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(image, 40, 80), platform::clBlack);
        // So does a caption too wide for even one character.
        TQelSuperText narrow;
        narrow.SetControlTransparent(false);
        narrow.resize(12, 80);
        const QImage crossed = Render(narrow);
        QCOMPARE(testsupport::ColorAt(crossed, 0, 0), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(crossed, 11, crossed.height() - 1), platform::clBlack);
    }

    void backgroundAndBorder()
    {
        TQelSuperText text;
        text.SetCaption(QStringLiteral("."));
        text.resize(100, 80);
        text.SetBGColor(0x00FFFF);
        text.SetControlTransparent(false);
        text.SetBorderStyle(design::bsSingle);
        const QImage image = Render(text);
        QCOMPARE(testsupport::ColorAt(image, 0, 40), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(image, 99, 40), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(image, 1, 40), 0x00FFFF);
        QCOMPARE(testsupport::ColorAt(image, 90, 0), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(image, 90, 79), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(image, 90, 78), 0x00FFFF);
        text.SetBorderStyle(design::bsNone);
        text.SetControlTransparent(true);
        const QImage bare = Render(text);
        QCOMPARE(testsupport::ColorAt(bare, 0, 10), platform::clWhite);
        QCOMPARE(testsupport::ColorAt(bare, 1, 10), platform::clWhite);
    }

    void symbolFontsDrawTheirSymbols()
    {
        // "J" in Wingdings is a smiling face: drawn through the code table it is not the letter J.
        TQelSuperText letter;
        MakeBig(letter, QStringLiteral("J"));
        letter.SetSurfaceType(stNormal);
        TQelSuperText symbol;
        MakeBig(symbol, QStringLiteral("J"));
        symbol.SetSurfaceType(stNormal);
        symbol.Font()->SetName(QStringLiteral("Wingdings"));
        QCOMPARE(symbol.DrawingFont().family(), QStringLiteral("Symbola"));
        const QImage a = Render(letter), b = Render(symbol);
        QVERIFY(testsupport::CountInk(b, {0, 0, b.width(), b.height()}) > 500);
        QVERIFY(a != b);
    }

    void longCaptionFitsWithoutHanging()
    {
        TQelSuperText text;
        text.SetCaption(QString(10000, u'W'));
        QVERIFY(!text.FitToText() || text.width() > 10000);
        QVERIFY(text.width() > 10000);
        text.SetZoomFactor(1.0f);
        text.resize(300, text.height());
        const QImage image = Render(text);
        QVERIFY(testsupport::CountInk(image, {0, 0, image.width(), image.height()}) > 100);
    }

    void hugeSizeFromADamagedFile()
    {
        // A size no page has: the bands are made at a bounded size and the paint draws only what it shows.
        TQelSuperText text;
        text.SetControlTransparent(false);
        text.resize(16000000, 100);
        QImage image(300, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        text.Paint(painter);
        painter.end();
        QCOMPARE(text.GradientBitmap().size(), QSize(65536, 1));
        QVERIFY(testsupport::CountInk(image, {0, 0, 300, 100}) > 100);
        // As large both ways, the object is drawn without a picture of its size.
        text.resize(16000000, 16000000);
        image.fill(Qt::white);
        painter.begin(&image);
        text.Paint(painter);
        painter.end();
        QVERIFY(testsupport::CountInk(image, {0, 0, 300, 100}) > 100);
        // Hostile depths and widths are drawn within bounds too.
        text.resize(300, 100);
        text.SetShadowDepth(2000000000);
        text.SetOutlineWidth(2000000000);
        QCOMPARE(text.ShadowDepth(), 2000000000); // kept as read
        Render(text);
    }

    // A downward gradient in an object taller than the bands are made for is stretched over its height, not
    // repeated: the top of a glyph taller than one band still lies in the first band.
    void gradientStretchedOverAHugeHeight()
    {
        TQelSuperText text;
        MakeBig(text, QStringLiteral("I"));
        text.Font()->SetSize(900);
        text.SetFillDirection(gdDown);
        text.SetGradientFromColor(platform::clBlack);
        text.SetGradientToColor(platform::clWhite);
        text.resize(1000, 16000000);
        QImage image(1000, 1300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        text.Paint(painter);
        painter.end();
        QCOMPARE(text.GradientBitmap().size(), QSize(1, 65536));
        // The stem of the I, between a third of the band height and four band heights down.
        int black = 0;
        for (int y = 400; y < 1000; ++y)
            for (int x = 0; x < image.width(); ++x)
                black += (image.pixel(x, y) & 0xFFFFFF) == 0 ? 1 : 0;
        QVERIFY2(black > 600 * 50, qPrintable(QString::number(black)));
    }

    void fitToText()
    {
        TQelSuperText text;
        text.SetShadowOrientation(sdDownRight);
        text.SetShadowDepth(4);
        QVERIFY(text.FitToText());
        const QFontMetrics metrics(text.DrawingFont());
        const int cx = metrics.horizontalAdvance(QStringLiteral("Text"));
        const int cy = metrics.ascent() + metrics.descent();
        QCOMPARE(text.size(), FitSize(9, 4, cx, cy));
    }

    void copyTakesEverything()
    {
        QWidget owner;
        TQelSuperText* original = MakeEverythingChanged(&owner);
        TQelSuperText copy;
        copy.CopyFrom(*original);
        QCOMPARE(copy.Caption(), original->Caption());
        QVERIFY(copy.Font()->SameLook(*original->Font()));
        QCOMPARE(copy.Font()->Size(), 36);
        QCOMPARE(copy.ControlTransparent(), false);
        QCOMPARE(copy.BGColor(), 0xEEDDCC);
        QCOMPARE(copy.BorderStyle(), design::bsSingle);
        QCOMPARE(copy.GradientFromColor(), 0x800080);
        QCOMPARE(copy.FillDirection(), gdUp);
        QCOMPARE(copy.GradientToColor(), 0x00FF00);
        QCOMPARE(copy.Image(), original->Image());
        QCOMPARE(copy.OutlineColor(), 0x336699);
        QCOMPARE(copy.OutlineStyle(), psDashDot);
        QCOMPARE(copy.OutlineWidth(), 3);
        QCOMPARE(copy.Shadowcolor(), 0x102030);
        QCOMPARE(copy.ShadowDepth(), 6);
        QCOMPARE(copy.ShadowOrientation(), sdDownLeft);
        QCOMPARE(copy.SurfaceType(), stBrushImage);
        QCOMPARE(copy.size(), original->size());
    }

    void savedAndOpenedByteForByte()
    {
        QWidget owner;
        TCalendarPanel32 page(&owner);
        TQelSuperText* original = MakeEverythingChanged(&page);
        original->AfterLoad();
        const QByteArray bytes = CalendarBytes(page);

        const QString reference = QStringLiteral(DATORIA_TEST_DATA "/persist/supertext.kvf");
        if (qEnvironmentVariableIntValue("DATORIA_REGENERATE") == 1) {
            QFile out(reference);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        }
        QFile stored(reference);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        const QByteArray expected = stored.readAll();
        if (bytes != expected) {
            QBuffer a(const_cast<QByteArray*>(&bytes)), b(const_cast<QByteArray*>(&expected));
            a.open(QIODevice::ReadOnly);
            b.open(QIODevice::ReadOnly);
            QCOMPARE(persist::DumpStream(&a), persist::DumpStream(&b));
            QFAIL("the bytes differ");
        }

        QWidget owner2;
        TCalendarPanel32 back(&owner2);
        ReadCalendarBytes(bytes, back, &owner2);
        QVERIFY(back.HasSuperText());
        const QList<design::TQelGraphicControl*> objects = back.PlacedObjects();
        QCOMPARE(objects.size(), 1);
        auto* read = qobject_cast<TQelSuperText*>(objects[0]);
        QVERIFY(read);
        QCOMPARE(read->objectName(), QStringLiteral("Component0"));
        QCOMPARE(read->geometry(), QRect(40, 60, 300, 90));
        QCOMPARE(read->Tag(), 7);
        QCOMPARE(read->ShadowDepth(), 6);
        QCOMPARE(read->ShadowOrientation(), sdDownLeft);
        QCOMPARE(read->Shadowcolor(), 0x102030);
        QCOMPARE(read->BorderStyle(), design::bsSingle);
        QVERIFY(!read->ControlTransparent());
        QCOMPARE(read->BGColor(), 0xEEDDCC);
        QCOMPARE(read->Caption(), QStringLiteral("Happy Holidays \u00e9"));
        QCOMPARE(read->Font()->Name(), QStringLiteral("Liberation Serif"));
        QCOMPARE(read->Font()->Size(), 36);
        QCOMPARE(read->Font()->Style(), platform::TFontStyles(platform::fsItalic));
        QCOMPARE(read->Font()->Color(), 0x0000FF);
        QCOMPARE(read->FillDirection(), gdUp);
        QCOMPARE(read->GradientToColor(), 0x00FF00);
        QCOMPARE(read->GradientFromColor(), 0x800080);
        QCOMPARE(read->Image(), Checker());
        QCOMPARE(read->OutlineColor(), 0x336699);
        QCOMPARE(read->OutlineStyle(), psDashDot);
        QCOMPARE(read->OutlineWidth(), 3);
        QCOMPARE(read->SurfaceType(), stBrushImage);
        QCOMPARE(read->LastBitmapFileNameandPath(), QStringLiteral("/usr/share/datoria/bmbrush/Wood.bmp"));
        // The menu is built once the object is read.
        QVERIFY(read->Menu() && read->Menu()->findChild<QAction*>(QStringLiteral("mnuProperties")));
        QCOMPARE(CalendarBytes(back), bytes);
    }

    void defaultsAreNotWritten()
    {
        QWidget owner;
        TCalendarPanel32 page(&owner);
        auto* text = new TQelSuperText(&page);
        text->setObjectName(QStringLiteral("Plain"));
        const QByteArray bytes = CalendarBytes(page);
        QBuffer buffer(const_cast<QByteArray*>(&bytes));
        buffer.open(QIODevice::ReadOnly);
        const QString dump = persist::DumpStream(&buffer);
        for (const char* absent :
             {"ShadowDepth", "ShadowOrientation", "Shadowcolor", "Image.Data", "LastBitmapFileNameandPath"})
            QVERIFY2(!dump.contains(QLatin1String(absent)), absent);
        // Without stream defaults the rest is always written, in this order.
        qsizetype at = 0;
        for (const char* present : {"BorderStyle", "ControlTransparent", "BGColor", "Caption", "Font.Height",
                                    "FillDirection", "GradientToColor", "GradientFromColor", "OutlineColor",
                                    "OutlineStyle", "OutlineWidth", "SurfaceType"}) {
            const qsizetype found = dump.indexOf(QLatin1String(present), at);
            QVERIFY2(found > at, present);
            at = found;
        }
    }

    void brokenPictureLoadsEmpty()
    {
        QWidget owner;
        TCalendarPanel32 page(&owner);
        TQelSuperText* original = MakeEverythingChanged(&page);
        QByteArray bytes = CalendarBytes(page);
        // Spoil the bitmap file inside "Image.Data": its signature "BM" and its header.
        const qsizetype data = bytes.indexOf("Image.Data");
        QVERIFY(data > 0);
        const qsizetype bitmap = bytes.indexOf("BM", data);
        QVERIFY(bitmap > data);
        for (int i = 0; i < 20; ++i)
            bytes[bitmap + i] = char(0x5A);
        QWidget owner2;
        TCalendarPanel32 back(&owner2);
        ReadCalendarBytes(bytes, back, &owner2);
        const QList<design::TQelGraphicControl*> objects = back.PlacedObjects();
        QCOMPARE(objects.size(), 1);
        auto* read = qobject_cast<TQelSuperText*>(objects[0]);
        QVERIFY(read);
        QVERIFY(read->Image().isNull());
        QCOMPARE(read->Caption(), original->Caption());
        QCOMPARE(read->OutlineWidth(), 3); // what follows the picture is read too
        QCOMPARE(read->SurfaceType(), stBrushImage);
    }

    void bitmapData_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = BitmapStreamData(Checker());
        QTest::newRow("too short") << QByteArray("\x01\x00", 2);
        QTest::newRow("length beyond the data") << QByteArray(good).replace(0, 1, "\xFF");
        QTest::newRow("length short of the data") << QByteArray(good).append('x');
        QTest::newRow("not a bitmap") << QByteArray("\x04\x00\x00\x00"
                                                    "GIF8",
                                                    8);
        QTest::newRow("bitmap cut short") << [&] {
            QByteArray cut = good.left(40);
            cut.replace(0, 4, QByteArray("\x24\x00\x00\x00", 4));
            return cut;
        }();
    }
    void bitmapData()
    {
        QFETCH(QByteArray, data);
        QVERIFY(BitmapFromStreamData(data).isNull());
    }

    void bitmapDataRoundTrip()
    {
        const QByteArray data = BitmapStreamData(Checker());
        QCOMPARE(quint8(data[0]) | quint8(data[1]) << 8, data.size() - 4);
        QCOMPARE(data.mid(4, 2), QByteArray("BM"));
        QCOMPARE(BitmapFromStreamData(data).convertToFormat(QImage::Format_RGB32), Checker());
        QVERIFY(BitmapStreamData(QImage()).isEmpty());
    }

    void independentReaderAcceptsTheFile()
    {
        const QString tools = testsupport::Tpf0Tools();
        if (tools.isEmpty())
            QSKIP("fpc or the tpf0 tools are not available");
        QTemporaryDir dir;
        QWidget owner;
        TCalendarPanel32 page(&owner);
        MakeEverythingChanged(&page);
        new TQelSuperText(&page);
        const QString kvf = dir.filePath(QStringLiteral("supertext.KVF"));
        persist::SaveCalendarFile(page, kvf);
        QProcess check;
        check.start(tools + QStringLiteral("/tpf0check"), {QStringLiteral("--strict"), kvf});
        QVERIFY(check.waitForFinished(30000));
        QVERIFY2(check.exitCode() == 0, check.readAllStandardError().constData());
    }

    void copiedAndPastedThroughTheClipboard()
    {
        QTemporaryDir folder;
        platform::SetProgramFolderOverride(folder.path());
        QWidget owner;
        auto* page = new TCalendarPanel32(&owner);
        TQelSuperText* original = MakeEverythingChanged(page);
        original->AfterLoad();
        page->Handle()->Select(original);
        page->ClipboardAction(design::TQelBasePanel::Copy);
        page->ClipboardAction(design::TQelBasePanel::Paste);
        QList<TQelSuperText*> texts = page->findChildren<TQelSuperText*>();
        QCOMPARE(texts.size(), 2);
        TQelSuperText* pasted = texts[0] == original ? texts[1] : texts[0];
        QCOMPARE(pasted->pos(), original->pos() + QPoint(15, 15));
        QCOMPARE(pasted->Image(), original->Image());
        QCOMPARE(pasted->Caption(), original->Caption());
        QCOMPARE(pasted->OutlineStyle(), psDashDot);
        delete page;
        platform::SetProgramFolderOverride(QString());
    }

    void objectMenu()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarPanel32 page;
        int changes = 0;
        page.SetLabelChangedEvent([&changes](QObject*) { ++changes; });
        auto* text = new TQelSuperText(&page);
        text->AfterLoad();
        QMenu* menu = text->Menu();
        QStringList captions;
        for (QAction* action : menu->actions())
            captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(captions.mid(captions.size() - 6),
                 (QStringList{QStringLiteral("-"), QStringLiteral("Font"), QStringLiteral("Transparent"),
                              QStringLiteral("Background Color"), QStringLiteral("Border"),
                              QStringLiteral("Properties")}));
        auto item = [menu](const char* name) { return menu->findChild<QAction*>(QLatin1String(name)); };
        text->UpdateMenuChecks();
        QVERIFY(item("mnuTransparent")->isChecked());
        QVERIFY(!item("mnuBorder")->isChecked());

        int before = changes;
        item("mnuTransparent")->trigger();
        QVERIFY(!text->ControlTransparent());
        QVERIFY(changes > before); // the document knows it changed
        item("mnuBorder")->trigger();
        QCOMPARE(text->BorderStyle(), design::bsSingle);
        text->UpdateMenuChecks();
        QVERIFY(!item("mnuTransparent")->isChecked());
        QVERIFY(item("mnuBorder")->isChecked());

        text->SetControlTransparent(true);
        prompts.color = 0x445566;
        item("mnuBackgroundColor")->trigger();
        QCOMPARE(text->BGColor(), 0x445566);
        QVERIFY(!text->ControlTransparent());
        prompts.color.reset();
        item("mnuBackgroundColor")->trigger();
        QCOMPARE(text->BGColor(), 0x445566);

        QFont chosen(QStringLiteral("Liberation Sans"));
        chosen.setPointSize(30);
        chosen.setBold(true);
        prompts.font = chosen;
        text->Font()->SetColor(0x0000FF);
        before = changes;
        item("mnuFont")->trigger();
        QCOMPARE(text->Font()->Name(), QStringLiteral("Liberation Sans"));
        QCOMPARE(text->Font()->Size(), 30);
        QCOMPARE(text->Font()->Style(), platform::TFontStyles(platform::fsBold));
        QCOMPARE(text->Font()->Color(), 0x0000FF); // the colour stays
        QVERIFY(changes > before);
        // The dialog opened on the object's font and offered outline fonts only (they yield glyph paths).
        QCOMPARE(prompts.fontsAsked.size(), 1);
        QCOMPARE(prompts.fontsAsked[0].color, 0x0000FF);
        QCOMPARE(prompts.fontOptions, platform::FontDialogOptions(platform::FontDialogOption::ScalableOnly));
        // The colour chosen in the dialog is the solid fill's colour.
        prompts.fontColor = 0x00FF00;
        item("mnuFont")->trigger();
        QCOMPARE(text->Font()->Color(), 0x00FF00);
    }

    void menuByRightClick()
    {
        // The menu as a user reaches it: a right click on the object, a click on the item.
        testsupport::ScriptedPrompts prompts;
        QWidget window;
        window.resize(900, 1100);
        auto* page = new TCalendarPanel32(&window);
        auto* text = new TQelSuperText(page);
        text->AfterLoad();
        text->setGeometry(100, 100, 300, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto choose = [text](const char* name) {
            QTest::mouseClick(text, Qt::RightButton, {}, QPoint(20, 20));
            QMenu* menu = text->Menu();
            QTRY_VERIFY(menu->isVisible());
            QAction* item = menu->findChild<QAction*>(QLatin1String(name));
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            QTRY_VERIFY(!menu->isVisible());
        };
        choose("mnuBorder");
        QCOMPARE(text->BorderStyle(), design::bsSingle);
        choose("mnuTransparent");
        QVERIFY(!text->ControlTransparent());
        bool opened = false;
        testsupport::WhenDialogOpens(this, [&opened](QWidget* dialog) {
            opened = dialog->windowTitle() == QStringLiteral("SuperText Properties");
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Cancelbutton")),
                              Qt::LeftButton);
        });
        choose("mnuProperties");
        QTRY_VERIFY(opened);
        QVERIFY(text->Menu()->findChild<QAction*>(QStringLiteral("mnuBorder"))->isChecked());
    }

    void printedAtPrinterResolution()
    {
        TQelSuperText text;
        MakeBig(text);
        text.move(96, 48); // one inch across, half an inch down
        text.SetOutlineStyle(psSolid);
        text.SetOutlineWidth(2);
        text.SetOutlineColor(0x00FF00);
        text.SetSurfaceType(stGradientFill);
        text.SetImage(Checker());                     // a texture kept beside the gradient is not what prints
        QImage page(1800, 900, QImage::Format_RGB32); // 300 dots per inch
        page.setDotsPerMeterX(11811);
        page.setDotsPerMeterY(11811);
        page.fill(Qt::white);
        QPainter painter(&page);
        text.PrintTo(painter, 0.5, 0.25);
        painter.end();
        // The object spans 1.5 .. 1.5 + 400/96 inches across and 0.75 .. 0.75 + 120/96 inches down.
        const int left = 450, top = 225, right = 450 + 1250, bottom = 225 + 375;
        QCOMPARE(testsupport::CountInk(page, {0, 0, left - 2, 900}), 0);
        QCOMPARE(testsupport::CountInk(page, {0, 0, 1800, top - 2}), 0);
        QVERIFY(testsupport::CountInk(page, {left, top, right, bottom}) > 10000); // background and glyphs
        QVERIFY(CountNear(page.copy(left, top, right - left, bottom - top), 0x00FF00) > 100);
        // The gradient runs from blue at the left to yellow at the right of the glyphs.
        const QList<QPoint> inside = Inside(page.copy(left, top, right - left, bottom - top), [](QRgb c) {
            return (c & 0xFFFFFF) != 0xFFFFFF && qGreen(c) != 255;
        });
        QVERIFY(inside.size() > 1000);
        // Along the row holding the most of the glyphs the blue share falls from left to right: the bands
        // stand upright, one colour from top to bottom.
        QHash<int, QList<int>> rows;
        for (const QPoint& p : inside)
            rows[p.y()].append(p.x());
        int row = rows.begin().key();
        for (auto it = rows.cbegin(); it != rows.cend(); ++it)
            if (it.value().size() > rows.value(row).size())
                row = it.key();
        const QList<int> xs = rows.value(row);
        const auto [first, last] = std::minmax_element(xs.begin(), xs.end());
        QVERIFY2(*last - *first > 400, qPrintable(QString::number(*last - *first)));
        QVERIFY(qBlue(page.pixel(left + *first, top + row)) >
                qBlue(page.pixel(left + *last, top + row)) + 100);
    }

    // An outline 0 wide is no outline, on paper as on screen; 1 wide prints.
    void outlineWidthOnPaper_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("0") << 0;
        QTest::newRow("1") << 1;
    }
    void outlineWidthOnPaper()
    {
        QFETCH(int, width);
        TQelSuperText text;
        MakeBig(text);
        text.SetSurfaceType(stNormal);
        text.Font()->SetColor(platform::clBlack);
        text.SetOutlineStyle(psSolid);
        text.SetOutlineWidth(width);
        text.SetOutlineColor(0x00FF00);
        const QImage page = PrintedAt96Dpi(text);
        QVERIFY(testsupport::CountInk(page, {0, 0, 400, 120}) > 100);
        QCOMPARE(CountNear(page, 0x00FF00) > 0, width > 0);
    }

    void printedTextureAndShadow_data()
    {
        QTest::addColumn<int>("depth");
        QTest::newRow("three") << 3;
        QTest::newRow("one, the least") << 1;
    }
    void printedTextureAndShadow()
    {
        QFETCH(int, depth);
        TQelSuperText text;
        MakeBig(text);
        text.SetSurfaceType(stBrushImage);
        text.SetImage(Checker());
        text.SetShadowDepth(depth);
        text.SetShadowcolor(0x808080);
        const QImage page = PrintedAt96Dpi(text);
        const int shadow = testsupport::CountColor(page, {0, 0, 400, 120}, 0x808080);
        QVERIFY2(shadow > 10, qPrintable(QString::number(shadow)));
        QVERIFY(testsupport::CountColor(page, {0, 0, 400, 120}, 0x0000FF) > 100);
        QVERIFY(testsupport::CountColor(page, {0, 0, 400, 120}, 0x00FF00) > 100);
        QCOMPARE(testsupport::CountInk(page, {401, 0, 1300, 400}), 0);
    }

    void createdByTheTool()
    {
        testsupport::ScriptedPrompts prompts;
        QWidget window;
        window.resize(900, 1100);
        auto* page = new TCalendarPanel32(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!page->HasSuperText());
        int dropped = 0;
        page->SetDroppedObjectEvent([&dropped](const platform::TRect&) { ++dropped; });
        page->SetPanelState(calendar::psSuperText);
        bool dialogSeen = false;
        testsupport::WhenDialogOpens(this, [&dialogSeen](QWidget* dialog) {
            dialogSeen = dialog->windowTitle() == QStringLiteral("SuperText Properties");
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
        });
        QTest::mousePress(page, Qt::LeftButton, {}, QPoint(100, 200));
        QTest::mouseMove(page, QPoint(250, 230));
        QTest::mouseRelease(page, Qt::LeftButton, {}, QPoint(300, 260));
        QTRY_VERIFY(dialogSeen);
        QVERIFY(page->HasSuperText());
        QCOMPARE(dropped, 1);
        QCOMPARE(page->PanelState(), calendar::psPointing);
        auto* text = page->findChild<TQelSuperText*>();
        QVERIFY(text);
        QCOMPARE(text->pos(), QPoint(100, 200));
        QCOMPARE(text->BorderStyle(), design::bsSingle);
        QVERIFY(!text->ControlTransparent());
        QCOMPARE(text->BGColor(), platform::clWhite);
        QCOMPARE(text->objectName(), QStringLiteral("Special1"));
    }

    void pageWithFourSuperTexts()
    {
        // A page a person can look at: solid, gradient, texture and hollow.
        QWidget owner;
        TCalendarPanel32 page(&owner);
        QImage wood(32, 32, QImage::Format_RGB32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const int grain = int(40 * std::sin((x + 3 * std::sin(y / 5.0)) / 2.0));
                wood.setPixel(x, y, qRgb(150 + grain, 90 + grain / 2, 40));
            }
        const struct
        {
            TSurfaceType type;
            const char* caption;
            int y;
        } rows[] = {{stNormal, "Solid", 500},
                    {stGradientFill, "Gradient", 610},
                    {stBrushImage, "Texture", 720},
                    {stBrushTransparent, "Hollow", 830}};
        for (const auto& row : rows) {
            auto* text = new TQelSuperText(&page);
            text->setGeometry(180, row.y, 460, 100);
            text->SetCaption(QLatin1String(row.caption));
            text->Font()->SetSize(60);
            text->Font()->SetStyle(platform::fsBold);
            text->Font()->SetColor(0x2020C0);
            text->SetSurfaceType(row.type);
            text->SetShadowDepth(4);
            text->SetShadowcolor(0xA0A0A0);
            text->SetOutlineWidth(row.type == stBrushTransparent ? 2 : 1);
            if (row.type == stBrushImage)
                text->SetImage(wood);
            text->show();
        }
        const QImage shot = page.grab().toImage();
        QVERIFY(!shot.isNull());
        if (const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS"); !folder.isEmpty())
            QVERIFY(shot.save(QDir(folder).filePath(QStringLiteral("supertext-page.png"))));
        QVERIFY(page.HasSuperText());
    }
};

QTEST_MAIN(TestSuperText)
#include "tst_supertext.moc"
