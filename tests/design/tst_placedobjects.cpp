#include "calendar/TCalendarPanel32.h"
#include "design/ColorBox.h"
#include "design/TQelBaseLabel.h"
#include "design/TQelBasePanel.h"
#include "design/TQelGraphicControl.h"
#include "design/TQelHandle.h"
#include "persist/formats/CalendarFile.h"
#include "persist/stream/StreamDump.h"
#include "supertext/TQelFont3DEffects.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QTest>

using namespace design;

namespace {

int CountNear(const QImage& image, const QColor& wanted)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) < 40 && std::abs(c.green() - wanted.green()) < 40 &&
                std::abs(c.blue() - wanted.blue()) < 40)
                ++count;
        }
    return count;
}

} // namespace

class TestPlacedObjects : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment(QDate(1997, 12, 1));
        RegisterLabelClasses();
    }

    // (33, 20) 100 x 41 at half size is (16, 10) 50 x 20, ties to even, and (32, 20) 100 x 40 back at full
    // size.
    void zoomRoundsHalfToEven()
    {
        TQelBasePanel panel;
        panel.resize(1056, 816);
        auto* object = new TQelGraphicControl(&panel);
        object->setGeometry(33, 20, 100, 41);
        panel.SetZoom(0.5f);
        QCOMPARE(panel.size(), QSize(528, 408));
        QCOMPARE(object->geometry(), QRect(16, 10, 50, 20));
        QCOMPARE(object->ZoomFactor(), 0.5f);
        panel.SetZoom(1.0f);
        QCOMPARE(panel.size(), QSize(1056, 816));
        QCOMPARE(object->geometry(), QRect(32, 20, 100, 40));
    }

    void addObjectNamesAndSizes()
    {
        QWidget owner;
        auto* panel = new TQelBasePanel(&owner);
        int changes = 0;
        panel->SetLabelChangedEvent([&changes](QObject*) { ++changes; });
        auto* a = new TQelGraphicControl;
        panel->AddObject(a, {10, 20, 15, 25});
        QCOMPARE(a->geometry(), QRect(10, 20, 10, 15)); // at least 10 x 15
        QCOMPARE(a->objectName(), QStringLiteral("Special1"));
        auto* b = new TQelGraphicControl;
        panel->AddObject(b, {0, 0, 80, 40});
        QCOMPARE(b->objectName(), QStringLiteral("Special2"));
        QCOMPARE(b->size(), QSize(80, 40));
        QVERIFY(changes >= 2);
        QVERIFY(panel->AnyObjectAt(12, 22));
        QVERIFY(!panel->AnyObjectAt(500, 500));
        QCOMPARE(panel->PlacedObjects().size(), 2);
        panel->ClearObjects();
        QVERIFY(panel->PlacedObjects().isEmpty());
    }

    void changesAreReported()
    {
        TQelBasePanel panel;
        int changes = 0;
        panel.SetLabelChangedEvent([&changes](QObject*) { ++changes; });
        auto* label = new TZubLabel(&panel);
        label->SetCaption(QStringLiteral("Hello"));
        QCOMPARE(changes, 1);
        label->SetLocked(true);
        label->SetUnselectable(true);
        label->SetBackColor(platform::clRed);
        QCOMPARE(changes, 4);
        panel.SetPrinting(true);
        label->SetCaption(QStringLiteral("quiet"));
        QCOMPARE(changes, 4); // nothing is reported while printing
        panel.SetPrinting(false);
        const int before = changes;
        panel.SetZoom(0.5f);
        QCOMPARE(changes, before); // nor while zooming
    }

    void angle()
    {
        TZubLabel label;
        QCOMPARE(label.size(), QSize(142, 33));
        label.SetAlignment(taCenter);
        label.SetAngle(45);
        QCOMPARE(label.Angle(), 0);
        label.SetAngle(90);
        QCOMPARE(label.Angle(), 90);
        QCOMPARE(label.size(), QSize(33, 142));
        QCOMPARE(label.Alignment(), taLeftJustify);
        label.SetAngle(270);
        QCOMPARE(label.size(), QSize(33, 142));
        label.SetAngle(0);
        QCOMPARE(label.size(), QSize(142, 33));
    }

    // 10 points at half size draw at 5; at 0.9, held just below 0.9, at 8.
    void zoomedFont_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<int>("pixels");
        QTest::newRow("1") << 1.0f << 13;
        QTest::newRow("0.5") << 0.5f << 7;
        QTest::newRow("0.9") << 0.9f << 11;
    }
    void zoomedFont()
    {
        QFETCH(float, zoom);
        QFETCH(int, pixels);
        TZubLabel label;
        label.SetZoomFactor(zoom);
        QCOMPARE(label.DrawingFont().pixelSize(), pixels);
    }

    void layoutCutsTheHeight()
    {
        TZubLabel label;
        label.resize(200, 100);
        label.SetDepthShadow(3);
        label.SetDepthHighlight(2);
        const LabelLayout& layout = label.Layout();
        QCOMPARE(layout.margin, QPoint(2, 2));
        QCOMPARE(layout.highlight.left, 0);
        QVERIFY(label.height() < 40);
        QCOMPARE(label.width(), 200);
    }

    void fitToTextOnlyGrows()
    {
        TZubLabel label;
        label.resize(20, 10);
        label.SetCaption(QStringLiteral("A long caption for the label"));
        label.FitToText();
        const QSize grown = label.size();
        QVERIFY(grown.width() > 150);
        label.SetCaption(QStringLiteral("x"));
        label.FitToText();
        QCOMPARE(label.width(), grown.width());
    }

    void cloneGoesBelow()
    {
        QWidget owner;
        auto* panel = new TQelBasePanel(&owner);
        auto* label = new TZubLabel(panel);
        label->setObjectName(QStringLiteral("Special1"));
        label->setGeometry(40, 60, 120, 30);
        label->SetCaption(QStringLiteral("Copy me"));
        label->SetDepthShadow(2);
        TQelGraphicControl* copy = label->Clone();
        QVERIFY(copy);
        QCOMPARE(copy->metaObject(), &TZubLabel::staticMetaObject);
        QCOMPARE(copy->pos(), QPoint(40, 85));
        QCOMPARE(copy->objectName(), QStringLiteral("Component0"));
        QCOMPARE(static_cast<TZubLabel*>(copy)->Caption(), QStringLiteral("Copy me"));
        QCOMPARE(static_cast<TZubLabel*>(copy)->DepthShadow(), 2);
        QCOMPARE(panel->PlacedObjects().last(), copy); // on top
    }

    void centring()
    {
        TQelBasePanel panel;
        panel.resize(400, 300);
        auto* object = new TQelGraphicControl(&panel);
        object->setGeometry(5, 5, 101, 51);
        object->CenterVertically();
        QCOMPARE(object->y(), 150 - 25);
        object->CenterHorizontally();
        QCOMPARE(object->x(), 200 - 50);
    }

    // Saved and read back, labels keep every property and their stacking.
    void labelsInACalendarFile()
    {
        QWidget owner;
        calendar::TCalendarPanel32 page(&owner);
        page.ResetToNew();
        auto* first = new TZubLabel(&page);
        first->setObjectName(QStringLiteral("Special1"));
        first->setGeometry(100, 120, 200, 40);
        first->SetCaption(QStringLiteral("Holidays \u2603"));
        first->SetDepthShadow(3);
        first->SetDirectionHighlight(hdUp);
        first->SetColorShadow(platform::clNavy);
        first->SetTransparent(false);
        first->SetBackColor(0x123456);
        first->SetBorderStyle(bsSingle);
        first->Font()->SetSize(20);
        first->Font()->SetStyle(platform::fsBold);
        first->SetLocked(true);
        auto* second = new TZubLabel(&page);
        second->setObjectName(QStringLiteral("Special2"));
        second->setGeometry(300, 400, 33, 142);
        second->SetAngle(90);
        second->SetCaption(QStringLiteral("Up"));

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        persist::WriteCalendar(&buffer, page);
        const QByteArray bytes = buffer.data();

        const QString reference = QStringLiteral(DATORIA_TEST_DATA "/persist/labels.kvf");
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
        calendar::TCalendarPanel32 back(&owner2);
        buffer.close();
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(!persist::ReadCalendar(&buffer, back, &owner2));
        const QList<TQelGraphicControl*> objects = back.PlacedObjects();
        QCOMPARE(objects.size(), 2);
        auto* readFirst = qobject_cast<TZubLabel*>(objects[0]);
        auto* readSecond = qobject_cast<TZubLabel*>(objects[1]); // still on top
        QVERIFY(readFirst && readSecond);
        QCOMPARE(readFirst->Caption(), first->Caption());
        QCOMPARE(readFirst->geometry(), first->geometry());
        QCOMPARE(readFirst->DepthShadow(), 3);
        QCOMPARE(readFirst->DirectionHighlight(), hdUp);
        QCOMPARE(readFirst->ColorShadow(), platform::clNavy);
        QVERIFY(!readFirst->Transparent());
        QCOMPARE(readFirst->BackColor(), 0x123456);
        QCOMPARE(readFirst->BorderStyle(), bsSingle);
        QCOMPARE(readFirst->Font()->Size(), 20);
        QCOMPARE(readFirst->Font()->Style(), platform::TFontStyles(platform::fsBold));
        QVERIFY(readFirst->Locked());
        QCOMPARE(readSecond->Angle(), 90);
        QCOMPARE(readSecond->size(), QSize(33, 142));
        QCOMPARE(readSecond->objectName(), QStringLiteral("Component0"));
    }

    // An emptied caption differs from the constructor's "Text": it is written, and reads back empty.
    void clearedCaptionStaysCleared()
    {
        QWidget owner;
        calendar::TCalendarPanel32 page(&owner);
        page.ResetToNew();
        auto* label = new TZubLabel(&page);
        label->setObjectName(QStringLiteral("Special1"));
        label->SetCaption(QString());
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        persist::WriteCalendar(&buffer, page);
        QVERIFY(buffer.data().contains(QByteArray("\x07"
                                                  "Caption"
                                                  "\x06\x00",
                                                  10)));
        buffer.close();
        buffer.open(QIODevice::ReadOnly);
        QWidget owner2;
        calendar::TCalendarPanel32 back(&owner2);
        QVERIFY(!persist::ReadCalendar(&buffer, back, &owner2));
        QCOMPARE(back.PlacedObjects().size(), 1);
        QCOMPARE(qobject_cast<TZubLabel*>(back.PlacedObjects().first())->Caption(), QString());
    }

    void paintsItsCopies()
    {
        TZubLabel label;
        label.resize(220, 60);
        label.SetCaption(QStringLiteral("Shadowed"));
        label.Font()->SetSize(28);
        label.Font()->SetStyle(platform::fsBold);
        label.SetDepthShadow(4);
        label.SetDepthHighlight(2);
        label.SetColorShadow(platform::clGray);
        label.SetColorHighlight(platform::clAqua);
        label.SetTransparent(false);
        label.SetBackColor(platform::clYellow);
        label.SetBorderStyle(bsSingle);
        const QImage image = label.grab().toImage();
        image.save(QStringLiteral("/tmp/datoria-label.png"));
        QVERIFY(CountNear(image, QColor(255, 255, 0)) > 1000);
        QVERIFY(CountNear(image, QColor(128, 128, 128)) > 50);
        QVERIFY(CountNear(image, QColor(0, 255, 255)) > 20);
        QVERIFY(CountNear(image, QColor(0, 0, 0)) > 50);
        QCOMPARE(image.pixelColor(0, 0), QColor(0, 0, 0)); // the frame
        QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), QColor(0, 0, 0));
    }

    // The dialog shows each choice on its sample at once; Cancel leaves the label, Ok gives it the sample's
    // settings.
    void effectsDialog()
    {
        TZubLabel label;
        label.SetDepthShadow(1);
        label.SetColorShadow(platform::clGray);
        supertext::TQelFont3DEffects dialog(&label);
        QCOMPARE(dialog.ShadowDepth()->currentIndex(), 1);
        QCOMPARE(dialog.ShadowDirection()->currentIndex(), int(sdDownRight));
        dialog.ShadowDirection()->setCurrentIndex(3); // "Lower Right"
        dialog.ShadowDepth()->setCurrentIndex(3);
        dialog.HighlightDirection()->setCurrentIndex(0);
        QCOMPARE(dialog.ShadowDirection()->currentText(), QStringLiteral("Lower Right"));
        const LabelLayout& sample = dialog.Sample()->Layout();
        QCOMPARE(sample.shadow.left - sample.text.left, 3);
        QCOMPARE(sample.shadow.top - sample.text.top, 3);
        QCOMPARE(label.DepthShadow(), 1); // not yet
        dialog.reject();
        QCOMPARE(label.DepthShadow(), 1);

        supertext::TQelFont3DEffects again(&label);
        again.ShadowDepth()->setCurrentIndex(5);
        again.FontColor()->SetColor(platform::clRed);
        Q_EMIT again.FontColor()->colorChosen(platform::clRed);
        again.findChild<QPushButton*>(QStringLiteral("Ok"))->click();
        QCOMPARE(again.result(), int(QDialog::Accepted));
        QCOMPARE(label.DepthShadow(), 5);
        QCOMPARE(label.Font()->Color(), platform::clRed);
    }

    // "Other..." at the end of a colour list asks for any colour; the sample and then the label take it.
    void effectsDialogOtherColour()
    {
        testsupport::ScriptedPrompts prompts;
        const platform::TColor chosen = 0x00345678;
        prompts.color = chosen;
        TZubLabel label;
        label.SetDepthShadow(2);
        label.SetColorShadow(platform::clGray);
        supertext::TQelFont3DEffects dialog(&label);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ColorBox* box = dialog.ShadowColor();
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End);
        QCOMPARE(box->currentText(), QStringLiteral("Other..."));
        QCOMPARE(dialog.Sample()->ColorShadow(), chosen);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Ok")), Qt::LeftButton);
        QCOMPARE(label.ColorShadow(), chosen);
    }

    void basePanelGrid()
    {
        TQelBasePanel panel;
        panel.resize(40, 40);
        panel.SetShape(TQelBasePanel::lsRectangle);
        panel.SetShowGrid(true);
        const QImage image = panel.grab().toImage();
        QCOMPARE(image.pixelColor(2, 2), QColor(0, 128, 0));
        QCOMPARE(image.pixelColor(6, 10), QColor(0, 128, 0));
        QCOMPARE(image.pixelColor(3, 2), QColor(255, 255, 255));
        panel.SetGridSize(TQelBasePanel::gs8x8);
        panel.SetSnapToGrid(true);
        QCOMPARE(panel.Handle()->GridX(), 8);
        QVERIFY(panel.Handle()->SnapToGrid());
        const QImage coarse = panel.grab().toImage();
        QCOMPARE(coarse.pixelColor(6, 10), QColor(255, 255, 255));
        QCOMPARE(coarse.pixelColor(10, 18), QColor(0, 128, 0));
        // Back to the fine grid while snapping: the handle snaps to the dots shown.
        panel.SetGridSize(TQelBasePanel::gs4x4);
        QCOMPARE(panel.Handle()->GridX(), 4);
        QCOMPARE(panel.Handle()->GridY(), 4);
        QCOMPARE(panel.grab().toImage().pixelColor(6, 10), QColor(0, 128, 0));
    }

    // Printed at its physical size: a label at panel pixel 96 prints one inch in.
    void printsInInches()
    {
        QImage page(600, 600, QImage::Format_RGB32); // 100 dots per inch
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        TZubLabel label;
        label.setGeometry(96, 96, 192, 48);
        label.SetCaption(QStringLiteral("Printed"));
        label.SetTransparent(false);
        label.SetBackColor(platform::clRed);
        QPainter painter(&page);
        label.PrintTo(painter, 0.5, 0.5);
        painter.end();
        // From (0.5 + 1) inch = 150 dots to about (0.5 + 3) inch = 350 dots.
        QCOMPARE(page.pixelColor(155, 155), QColor(255, 0, 0));
        QCOMPARE(page.pixelColor(145, 155), QColor(255, 255, 255));
        QCOMPARE(page.pixelColor(360, 155), QColor(255, 255, 255));
    }

    // The printout carries the shadow and the highlight the label shows, and no copy it does not.
    void printsShadowAndHighlight_data()
    {
        QTest::addColumn<int>("shadowDepth");
        QTest::addColumn<int>("highlightDepth");
        QTest::newRow("plain") << 0 << 0;
        QTest::newRow("shadow") << 3 << 0;
        QTest::newRow("highlight") << 0 << 3;
        QTest::newRow("both") << 3 << 3;
    }
    void printsShadowAndHighlight()
    {
        QFETCH(int, shadowDepth);
        QFETCH(int, highlightDepth);
        QImage page(600, 300, QImage::Format_RGB32); // 100 dots per inch
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        TZubLabel label;
        label.setGeometry(20, 20, 400, 80);
        label.SetCaption(QStringLiteral("Printed"));
        label.Font()->SetSize(36);
        label.Font()->SetStyle(platform::fsBold);
        label.SetDepthShadow(shadowDepth);
        label.SetDepthHighlight(highlightDepth);
        label.SetColorShadow(platform::clRed);
        label.SetColorHighlight(platform::clLime);
        QPainter painter(&page);
        label.PrintTo(painter, 0, 0);
        painter.end();
        QVERIFY(CountNear(page, QColor(0, 0, 0)) > 200);
        QCOMPARE(CountNear(page, QColor(255, 0, 0)) > 50, shadowDepth > 0);
        QCOMPARE(CountNear(page, QColor(0, 255, 0)) > 50, highlightDepth > 0);
    }

    // The outline follows the panel's shape: a dotted frame on the edges of a rectangle, none in the corners
    // of an ellipse.
    void basePanelOutline()
    {
        TQelBasePanel panel;
        panel.resize(60, 40);
        panel.SetDrawOutline(true);
        const auto dark = [](const QImage& image, QRect area) {
            int count = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    count += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
            return count;
        };
        panel.SetShape(TQelBasePanel::lsRectangle);
        QImage image = panel.grab().toImage();
        QVERIFY(dark(image, QRect(0, 0, 1, 40)) >= 10); // the left edge
        QVERIFY(dark(image, QRect(0, 0, 4, 4)) > 0);    // the corner
        QCOMPARE(dark(image, QRect(10, 10, 40, 20)), 0);
        panel.SetShape(TQelBasePanel::lsEllipse);
        image = panel.grab().toImage();
        QCOMPARE(dark(image, QRect(0, 0, 4, 4)), 0);
        QVERIFY(dark(image, QRect(0, 10, 2, 20)) > 0); // the ellipse touches the left edge
    }

    // The panel's two pictures are stretched over it, the second over the first, and clipped to its shape.
    void basePanelPictures()
    {
        TQelBasePanel panel;
        panel.resize(60, 40);
        panel.SetShape(TQelBasePanel::lsEllipse);
        QImage red(6, 4, QImage::Format_RGB32);
        red.fill(Qt::red);
        panel.SetPicture(red);
        const QImage first = panel.grab().toImage();
        QCOMPARE(first.pixelColor(30, 20), QColor(255, 0, 0));
        QCOMPARE(first.pixelColor(58, 20), QColor(255, 0, 0));
        QCOMPARE(first.pixelColor(1, 1), QColor(255, 255, 255)); // outside the ellipse
        QCOMPARE(first.pixelColor(3, 8),
                 QColor(255, 255, 255)); // inside a rounded corner, outside the ellipse
        panel.SetShape(TQelBasePanel::lsRoundRect);
        const QImage rounded = panel.grab().toImage();
        QCOMPARE(rounded.pixelColor(3, 8), QColor(255, 0, 0));
        QCOMPARE(rounded.pixelColor(1, 1), QColor(255, 255, 255));
        panel.SetShape(TQelBasePanel::lsEllipse);
        QImage half(2, 1, QImage::Format_ARGB32);
        half.setPixelColor(0, 0, QColor(0, 0, 255));
        half.setPixelColor(1, 0, QColor(0, 0, 0, 0));
        panel.SetColorPicture(half);
        const QImage both = panel.grab().toImage();
        QCOMPARE(both.pixelColor(10, 20), QColor(0, 0, 255));
        QCOMPARE(both.pixelColor(50, 20), QColor(255, 0, 0));
        QCOMPARE(both.pixelColor(1, 1), QColor(255, 255, 255));
    }
};

QTEST_MAIN(TestPlacedObjects)
#include "tst_placedobjects.moc"
