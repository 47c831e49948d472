// Cell texts, floating calendars, rich labels and pictures keep their screen drawing between repaints. A
// repaint after any change must show exactly what a page built with the change from the start shows.
#include "calendar/TCalendarPanel32.h"
#include "calendar/TQelFlatCalendar.h"
#include "design/TQelImage.h"
#include "design/TZubRichBaseLabel.h"
#include "platform/TFont.h"
#include "richtext/TVelRichRenderer.h"
#include "tests/support/TestEnvironment.h"

#include <QPainter>
#include <QTest>

using namespace calendar;
using platform::TRect;

namespace {

const QByteArray kCellText = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Dentist\\par}";
const QByteArray kLabelText = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Happy \\b birthday\\b0\\par}";

enum class Change
{
    CellText,
    CellCleared,
    FlatMonth,
    FlatLanguage,
    FlatShadow,
    FlatTransparent,
    FlatTitleFontInPlace,
    FlatResized,
    LabelText,
    LabelOpaque,
    LabelFrame,
    ImagePicture,
    ImageFrame,
    Zoom,
};

QImage Bitmap(QRgb colour)
{
    QImage bitmap(40, 30, QImage::Format_RGB32);
    bitmap.fill(colour);
    for (int x = 0; x < bitmap.width(); ++x)
        bitmap.setPixel(x, x * 3 / 4, qRgb(0, 0, 0));
    return bitmap;
}

/** A month page with a filled cell and one object of each kind that keeps a screen picture. */
struct Page
{
    Page()
    {
        renderer.setObjectName(QStringLiteral("MasterVelRichText"));
        page.ResetToNew();
        page.SetCalendarLayout(loFullCalendar);
        page.resize(800, 600);
        page.CellStorage(10).SetRtfText(kCellText);

        flat = new TQelFlatCalendar;
        flat->AfterLoad();
        page.AddObject(flat, TRect{20, 20, 220, 170});
        flat->SetMonth(3);
        flat->SetShadowDepth(3);

        label = new design::TZubRichBaseLabel(&page);
        label->AfterLoad();
        page.AddObject(label, TRect{240, 20, 420, 120});
        label->RTFText().SetRtfText(kLabelText);

        image = new design::TQelImage;
        image->AfterLoad();
        page.AddObject(image, TRect{240, 140, 400, 260});
        image->SetAutoSize(false);
        image->SetStretch(true);
        image->SetPicture(platform::TPicture(Bitmap(qRgb(200, 220, 40))));
    }

    void Apply(Change change)
    {
        switch (change) {
        case Change::CellText:
            page.CellStorage(10).SetRtfText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Holiday\\par}");
            break;
        case Change::CellCleared:
            page.CellStorage(10).SetRtfText(QByteArray());
            break;
        case Change::FlatMonth:
            flat->SetMonth(4);
            break;
        case Change::FlatLanguage:
            flat->SetLanguage(fclGerman);
            break;
        case Change::FlatShadow:
            flat->SetShadowPosition(fcpUpperLeft);
            break;
        case Change::FlatTransparent:
            flat->SetCalTransparent(true);
            break;
        case Change::FlatTitleFontInPlace:
            flat->TitleFont()->SetSize(flat->TitleFont()->Size() + 6);
            break;
        case Change::FlatResized:
            flat->setGeometry(flat->x(), flat->y(), flat->width() + 30, flat->height() + 20);
            break;
        case Change::LabelText:
            label->RTFText().SetRtfText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Good luck\\par}");
            break;
        case Change::LabelOpaque:
            label->SetTransparent(false);
            label->SetBGColor(platform::clYellow);
            break;
        case Change::LabelFrame:
            label->SetBorderStyle(design::bsNone);
            break;
        case Change::ImagePicture:
            image->SetPicture(platform::TPicture(Bitmap(qRgb(40, 90, 200))));
            break;
        case Change::ImageFrame:
            image->SetBorderStyle(design::bsSingle);
            break;
        case Change::Zoom:
            page.SetZoom(1.5f);
            break;
        }
    }

    QImage Render()
    {
        QImage out(page.size(), QImage::Format_RGB32);
        out.fill(Qt::white);
        page.render(&out, QPoint(), QRegion(page.rect()), QWidget::DrawChildren);
        return out;
    }

    TCalendarPanel32 page;
    richtext::TVelRichRenderer renderer{&page};
    TQelFlatCalendar* flat = nullptr;
    design::TZubRichBaseLabel* label = nullptr;
    design::TQelImage* image = nullptr;
};

} // namespace

class TestScreenPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        RegisterFlatCalendarClass();
    }

    void repaintShowsEveryChange_data()
    {
        QTest::addColumn<Change>("change");
        QTest::newRow("cell text") << Change::CellText;
        QTest::newRow("cell cleared") << Change::CellCleared;
        QTest::newRow("floating calendar month") << Change::FlatMonth;
        QTest::newRow("floating calendar language") << Change::FlatLanguage;
        QTest::newRow("floating calendar shadow side") << Change::FlatShadow;
        QTest::newRow("floating calendar transparent") << Change::FlatTransparent;
        QTest::newRow("floating calendar title font changed in place") << Change::FlatTitleFontInPlace;
        QTest::newRow("floating calendar resized") << Change::FlatResized;
        QTest::newRow("rich label text") << Change::LabelText;
        QTest::newRow("rich label opaque") << Change::LabelOpaque;
        QTest::newRow("rich label frame") << Change::LabelFrame;
        QTest::newRow("picture replaced") << Change::ImagePicture;
        QTest::newRow("picture frame") << Change::ImageFrame;
        QTest::newRow("zoom") << Change::Zoom;
    }
    void repaintShowsEveryChange()
    {
        QFETCH(Change, change);
        Page shown;
        const QImage before = shown.Render();
        QCOMPARE(shown.Render(), before); // a repaint without a change draws the same
        shown.Apply(change);
        const QImage after = shown.Render();
        QVERIFY(after != before);

        Page fresh;
        fresh.Apply(change);
        QCOMPARE(after, fresh.Render());
    }

    // The kept picture is the object's own drawing: on white paper it looks as the drawing done directly
    // does.
    void keptPictureIsTheDrawing_data()
    {
        QTest::addColumn<bool>("transparent");
        QTest::newRow("opaque") << false;
        QTest::newRow("transparent") << true;
    }
    void keptPictureIsTheDrawing()
    {
        QFETCH(bool, transparent);
        Page shown;
        shown.flat->SetCalTransparent(transparent);
        shown.label->SetTransparent(transparent);
        for (design::TQelGraphicControl* object : {static_cast<design::TQelGraphicControl*>(shown.flat),
                                                   static_cast<design::TQelGraphicControl*>(shown.label)}) {
            QImage kept(object->size(), QImage::Format_RGB32);
            kept.fill(Qt::white);
            // Without the window background, so the paper shows where the object draws nothing.
            object->render(&kept, QPoint(), QRegion(), QWidget::RenderFlags());
            kept.fill(Qt::white);
            object->render(&kept, QPoint(), QRegion(), QWidget::RenderFlags()); // a copy of the kept picture
            QImage direct(object->size(), QImage::Format_RGB32);
            direct.fill(Qt::white);
            {
                QPainter painter(&direct);
                if (object == shown.flat)
                    shown.flat->DrawOn(painter);
                else
                    shown.label->DrawOn(painter);
            }
            int largest = 0;
            for (int y = 0; y < kept.height(); ++y)
                for (int x = 0; x < kept.width(); ++x) {
                    const QRgb a = kept.pixel(x, y), b = direct.pixel(x, y);
                    largest = std::max({largest, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                        std::abs(qBlue(a) - qBlue(b))});
                }
            QCOMPARE_LE(largest, 1);
        }
    }

    void labelColourChangeWhileOpaque()
    {
        Page shown;
        shown.label->SetTransparent(false);
        const QImage white = shown.Render();
        shown.label->SetBGColor(platform::clYellow);
        const QImage yellow = shown.Render();
        const QPoint inside = shown.label->geometry().bottomRight() - QPoint(5, 5);
        QCOMPARE(white.pixel(inside), qRgb(255, 255, 255));
        QCOMPARE(yellow.pixel(inside), qRgb(255, 255, 0));
    }
};

QTEST_MAIN(TestScreenPictures)
#include "tst_screenpictures.moc"
