#include "calendar/TCalendarPanel32.h"
#include "design/TQelHandle.h"
#include "design/TQelImage.h"
#include "design/TQelImageBrowser.h"
#include "persist/formats/CalendarFile.h"
#include "platform/IconLibrary.h"
#include "platform/ImageLoader.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

using namespace design;
using platform::TPicture;

namespace {

QString Sample(const QString& name)
{
    return QStringLiteral(DATORIA_TEST_DATA "/images/") + name;
}

TPicture Solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return TPicture(image);
}

QImage Grab(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    widget.render(&image);
    return image;
}

/** The byte offset just after the last occurrence of the text in the data, or -1. */
qsizetype After(const QByteArray& data, const QByteArray& text)
{
    const qsizetype at = data.lastIndexOf(text);
    return at < 0 ? -1 : at + text.size();
}

} // namespace

class TestImageObject : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
        RegisterImageClasses();
    }

    void newObject()
    {
        TQelImage image;
        QCOMPARE(image.size(), QSize(105, 105));
        QVERIFY(image.Stretch());
        QVERIFY(!image.AutoSize());
        QVERIFY(image.Picture().IsEmpty());
    }

    void optionsAreOpposites()
    {
        TQelImage image;
        image.SetAutoSize(true);
        QVERIFY(!image.Stretch());
        image.SetStretch(true);
        QVERIFY(!image.AutoSize());
        image.SetStretch(false);
        QVERIFY(image.AutoSize());
    }

    void autoSizeFollowsPictureAndZoom()
    {
        QWidget owner;
        calendar::TCalendarPanel32 page(&owner);
        auto* image = new TQelImage(&page);
        image->AfterLoad();
        image->setGeometry(40, 60, 105, 105);
        image->SetPicture(Solid(32, 32, qRgb(255, 0, 0)));
        QCOMPARE(image->size(), QSize(105, 105)); // stretched: the object keeps its size
        image->SetAutoSize(true);
        QCOMPARE(image->size(), QSize(32, 32));
        page.SetZoom(0.5f);
        QCOMPARE(image->size(), QSize(16, 16));
        QCOMPARE(image->pos(), QPoint(20, 30));
        page.SetZoom(1.0f);
        QCOMPARE(image->size(), QSize(32, 32));
        // A picture as high as the object but narrower, and one as wide but lower.
        image->SetPicture(Solid(20, 32, qRgb(255, 0, 0)));
        QCOMPARE(image->size(), QSize(20, 32));
        image->SetPicture(Solid(20, 10, qRgb(255, 0, 0)));
        QCOMPARE(image->size(), QSize(20, 10));
        image->SetPicture(Solid(32, 32, qRgb(255, 0, 0)));
        // A picture of the object's exact size covers it.
        QVERIFY(image->Opaque());
        image->SetStretch(true);
        image->resize(50, 50);
        image->SetPicture(image->Picture());
        QVERIFY(!image->Opaque());
    }

    void paintsPictureOrEmptyFrame()
    {
        QWidget owner;
        calendar::TCalendarPanel32 page(&owner);
        page.resize(300, 300);
        auto* image = new TQelImage(&page);
        image->AfterLoad();
        image->setGeometry(10, 10, 40, 30);
        image->show();
        QImage shot = Grab(*image);
        QCOMPARE(testsupport::ColorAt(shot, 0, 0), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(shot, 39, 29), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(shot, 39, 15), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(shot, 20, 29), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(shot, 38, 15), platform::clWhite);
        QCOMPARE(testsupport::ColorAt(shot, 20, 15), platform::clWhite);
        // A 2 × 1 picture is stretched over the whole object, whatever Stretch says.
        QImage two(2, 1, QImage::Format_RGB32);
        two.setPixel(0, 0, qRgb(255, 0, 0));
        two.setPixel(1, 0, qRgb(0, 0, 255));
        image->SetPicture(TPicture(two));
        image->SetStretch(false);
        shot = Grab(*image);
        QCOMPARE(testsupport::ColorAt(shot, 2, 15), platform::clRed);
        QCOMPARE(testsupport::ColorAt(shot, 37, 15), platform::clBlue);
        image->SetBorderStyle(bsSingle);
        shot = Grab(*image);
        QCOMPARE(testsupport::ColorAt(shot, 39, 15), platform::clBlack);
        QCOMPARE(testsupport::ColorAt(shot, 20, 0), platform::clBlack);
    }

    void printsInInches()
    {
        TQelImage image;
        image.setGeometry(96, 48, 96, 96); // one inch square, one inch from the left, half an inch down
        image.SetBorderStyle(bsSingle);
        QImage paper(400, 400, QImage::Format_RGB32);
        paper.setDotsPerMeterX(int(200 / 0.0254 + 0.5));
        paper.setDotsPerMeterY(int(200 / 0.0254 + 0.5));
        // An empty picture prints only its border.
        paper.fill(Qt::white);
        {
            QPainter painter(&paper);
            image.PrintTo(painter, 0.25, 0.25);
        }
        QCOMPARE(testsupport::ColorAt(paper, 250, 150), platform::clBlack); // (0.25 + 1) × 200 = 250
        QCOMPARE(testsupport::CountInk(paper, platform::TRect{255, 155, 445, 345}), 0);
        image.SetPicture(Solid(8, 8, qRgb(0, 128, 0)));
        paper.fill(Qt::white);
        {
            QPainter painter(&paper);
            image.PrintTo(painter, 0.25, 0.25);
        }
        QCOMPARE(testsupport::ColorAt(paper, 350, 250), 0x008000);
        QCOMPARE(testsupport::ColorAt(paper, 240, 250), platform::clWhite);
    }

    void metafilePrintsAsVectors()
    {
        QString error;
        TQelImage image;
        image.SetPicture(platform::LoadPictureFile(Sample(QStringLiteral("drawing.wmf")), error));
        QCOMPARE(image.Picture().GraphicKind(), TPicture::pkMetafile);
        image.setGeometry(0, 0, 187, 137);
        QImage paper(1200, 900, QImage::Format_RGB32);
        paper.setDotsPerMeterX(int(600 / 0.0254 + 0.5));
        paper.setDotsPerMeterY(int(600 / 0.0254 + 0.5));
        paper.fill(Qt::white);
        QPainter painter(&paper);
        image.PrintTo(painter, 0, 0);
        painter.end();
        // Printed at 600 dpi, the circle's edge is as sharp as the printer: no blocks of screen pixels.
        QVERIFY(testsupport::CountInk(paper, platform::TRect{0, 0, 1160, 850}) > 100000);
    }

    void menuItems()
    {
        QWidget owner;
        calendar::TCalendarPanel32 page(&owner);
        auto* image = new TQelImage(&page);
        image->AfterLoad();
        QMenu* menu = image->Menu();
        QStringList captions;
        for (QAction* a : menu->actions())
            captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(captions.mid(captions.indexOf(QStringLiteral("Center Horizontally")) + 1),
                 (QStringList{QStringLiteral("-"), QStringLiteral("Load Image From Disk"),
                              QStringLiteral("-"), QStringLiteral("Border"), QStringLiteral("Stretch to Fit"),
                              QStringLiteral("AutoSize")}));
        auto item = [menu](const char* name) { return menu->findChild<QAction*>(QLatin1String(name)); };
        image->SetPicture(Solid(20, 10, qRgb(1, 2, 3)));
        // Open the menu as the panel does and click the items.
        auto click = [&](const char* name) {
            menu->popup(QPoint(10, 10));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item(name)).center());
        };
        click("mnuAutoSize");
        QVERIFY(image->AutoSize());
        QCOMPARE(image->size(), QSize(20, 10));
        click("mnuBorder");
        QCOMPARE(image->BorderStyle(), bsSingle);
        menu->popup(QPoint(10, 10));
        QVERIFY(item("mnuBorder")->isChecked());
        QVERIFY(item("mnuAutoSize")->isChecked());
        QVERIFY(!item("mnuStretch")->isChecked());
        menu->hide();
        click("mnuStretch");
        QVERIFY(image->Stretch());
        QVERIFY(!image->AutoSize());
    }

    void storedInTheCalendarFile()
    {
        QWidget owner;
        calendar::TCalendarPanel32 page(&owner);
        page.ResetToNew();
        auto* bitmap = new TQelImage(&page);
        bitmap->setObjectName(QStringLiteral("Special1"));
        bitmap->setGeometry(10, 20, 64, 48);
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(qRgb(200, 100, 50));
        picture.setPixel(2, 1, qRgb(1, 2, 3));
        bitmap->SetPicture(TPicture(picture));
        bitmap->SetBorderStyle(bsSingle);
        auto* metafile = new TQelImage(&page);
        metafile->setObjectName(QStringLiteral("Special2"));
        metafile->setGeometry(100, 200, 187, 137);
        QString error;
        metafile->SetPicture(platform::LoadPictureFile(Sample(QStringLiteral("drawing.wmf")), error));
        metafile->SetStoredStretch(false); // neither option: a file must read back as it was saved
        auto* empty = new TQelImage(&page);
        empty->setObjectName(QStringLiteral("Special3"));
        empty->setGeometry(1, 2, 3, 4);

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        persist::WriteCalendar(&buffer, page);
        const QByteArray bytes = buffer.data();
        // "Picture.Data", raw data, the class name and the graphic's own form (the first object is written
        // last).
        const qsizetype data = After(bytes, QByteArray("\x0cPicture.Data\x0a", 14));
        QVERIFY(data > 0);
        QCOMPARE(bytes.mid(data + 4, 8), QByteArray("\x07TBitmap"));
        QVERIFY(bytes.contains(QByteArray("\x09TMetafile")));
        // The empty picture writes nothing: three objects, two pictures.
        QCOMPARE(bytes.count(QByteArray("Picture.Data")), 2);
        // AutoSize off is the stream's default and is not written; Stretch off is written once.
        QVERIFY(!bytes.contains(QByteArray("AutoSize")));
        QCOMPARE(bytes.count(QByteArray("\x07Stretch")), 1);

        QWidget owner2;
        calendar::TCalendarPanel32 back(&owner2);
        buffer.close();
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(!persist::ReadCalendar(&buffer, back, &owner2));
        const QList<TQelGraphicControl*> objects = back.PlacedObjects();
        QCOMPARE(objects.size(), 3);
        // The objects come back in their stacking order.
        auto* readBitmap = qobject_cast<TQelImage*>(objects[0]);
        auto* readMetafile = qobject_cast<TQelImage*>(objects[1]);
        auto* readEmpty = qobject_cast<TQelImage*>(objects[2]);
        QVERIFY(readBitmap && readMetafile && readEmpty);
        QCOMPARE(readBitmap->Picture().Bitmap().convertToFormat(QImage::Format_RGB32), picture);
        QCOMPARE(readBitmap->BorderStyle(), bsSingle);
        QCOMPARE(readBitmap->geometry(), QRect(10, 20, 64, 48));
        QVERIFY(readMetafile->Picture() == metafile->Picture());
        QVERIFY(!readMetafile->Stretch());
        QVERIFY(!readMetafile->AutoSize());
        QVERIFY(readEmpty->Picture().IsEmpty());
        QVERIFY(readBitmap->Menu());

        // A picture that cannot be decoded reads as an empty one; the rest of the file still reads.
        QByteArray damaged = bytes;
        damaged[data + 4 + 8 + 4] = 'X'; // "BM" of the bitmap file
        QWidget owner3;
        calendar::TCalendarPanel32 again(&owner3);
        QBuffer damagedBuffer(&damaged);
        damagedBuffer.open(QIODevice::ReadOnly);
        QVERIFY(!persist::ReadCalendar(&damagedBuffer, again, &owner3));
        QCOMPARE(again.PlacedObjects().size(), 3);
        QVERIFY(qobject_cast<TQelImage*>(again.PlacedObjects()[0])->Picture().IsEmpty());
        QVERIFY(!qobject_cast<TQelImage*>(again.PlacedObjects()[1])->Picture().IsEmpty());
    }

    // The Clip Art tool: the gesture makes the object, then the browser; the frame keeps the chosen picture's
    // proportions: the largest inside a dragged box; at a click (or a drag too small to be a box) the
    // picture's size at the zoom, fitted to the page and moved onto it. AutoSize takes the icon's size.
    void clipArtToolCreatesAndChooses_data()
    {
        QTest::addColumn<QSize>(
            "picture"); // none: the 32 x 32 icon multi.ico, with AutoSize; 0 x 0: unreadable
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QRect>("gesture"); // from its top-left to its bottom-right point
        QTest::addColumn<QRect>("frame");
        const auto row = [](const char* name, QSize picture, float zoom, QRect gesture, QRect frame) {
            QTest::newRow(name) << picture << zoom << gesture << frame;
        };
        row("icon, AutoSize", {}, 1, {300, 400, 1, 1}, {300, 400, 32, 32});
        row("wide, box", {200, 100}, 1, {9, 9, 151, 151}, {9, 9, 150, 75});
        row("square, flat box", {64, 64}, 1, {9, 9, 301, 121}, {9, 9, 120, 120});
        row("3:2, rounded", {300, 200}, 1, {9, 9, 101, 101}, {9, 9, 100, 67});
        row("click at 50%", {300, 100}, 0.5f, {90, 9, 1, 1}, {90, 9, 150, 50});
        row("tiny at 20%", {2, 2}, 0.2f, {9, 9, 1, 1}, {9, 9, 1, 1});
        row("24 x 14 drag is a click", {40, 80}, 1, {50, 60, 25, 15}, {50, 60, 40, 80});
        row("25 x 10 drag is a box", {40, 80}, 1, {50, 60, 26, 11}, {50, 60, 8, 15});
        row("20 x 15 drag is a box", {40, 80}, 1, {50, 60, 21, 16}, {50, 60, 8, 15});
        row("click near the corner", {120, 360}, 1, {780, 999, 1, 1}, {696, 696, 120, 360});
        row("wider than the page", {1700, 340}, 1, {300, 400, 1, 1}, {0, 400, 816, 163});
        row("unreadable file", {0, 0}, 1, {9, 9, 151, 151}, {}); // nothing to show: no object
    }
    void clipArtToolCreatesAndChooses()
    {
        QFETCH(QSize, picture);
        QFETCH(float, zoom);
        QFETCH(QRect, gesture);
        QFETCH(QRect, frame);
        QTemporaryDir dir;
        QDir::setCurrent(picture.isValid() ? dir.path() : QStringLiteral(DATORIA_TEST_DATA "/images"));
        const QString file = picture.isValid() ? QStringLiteral("picture.jpg") : QStringLiteral("multi.ico");
        QFile written(file);
        if (picture.isValid() && picture.isEmpty())
            QVERIFY(written.open(QIODevice::WriteOnly) && written.write("not a picture") > 0);
        else if (picture.isValid())
            QVERIFY(Solid(picture.width(), picture.height(), 0xc0ffee).ToImage().save(file, "BMP"));
        QWidget window;
        window.resize(900, 1100);
        auto* page = new calendar::TCalendarPanel32(&window);
        page->SetZoom(zoom);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        page->SetPanelState(calendar::psImage);
        testsupport::WhenDialogOpens(this, [&](QWidget* modal) {
            auto* browser = qobject_cast<TQelImageBrowser*>(modal);
            QVERIFY(browser);
            QCOMPARE(browser->windowTitle(), QStringLiteral("Load Image File "));
            QVERIFY(browser->SelectFile(file));
            if (!picture.isValid())
                QTest::mouseClick(browser->findChild<QCheckBox*>(QStringLiteral("AutoSizeBox")),
                                  Qt::LeftButton);
            QTest::mouseClick(browser->findChild<QPushButton*>(QStringLiteral("OkButton")), Qt::LeftButton);
        });
        QTest::mousePress(page, Qt::LeftButton, {}, gesture.topLeft());
        QTest::mouseMove(page, gesture.bottomRight());
        QTest::mouseRelease(page, Qt::LeftButton, {}, gesture.bottomRight());
        QCOMPARE(page->PanelState(), calendar::psPointing);
        QCOMPARE(page->PlacedObjects().isEmpty(), frame.isNull());
        if (frame.isNull())
            return;
        auto* image = qobject_cast<TQelImage*>(page->PlacedObjects().first());
        QVERIFY(image);
        QCOMPARE(image->Picture().GraphicKind(), TPicture::pkBitmap);
        QCOMPARE(image->AutoSize(), !picture.isValid());
        QCOMPARE(image->geometry(), frame);
    }

    // A picture with clear parts placed with the Clip Art tool looks the same after the calendar is saved and
    // opened again: its clear parts stay clear and its colours stay exact.
    void transparencyKeptThroughSaveAndOpen_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("icon with soft edges") << QStringLiteral("party.ico");
        QTest::newRow("32-bit Targa with alpha") << QStringLiteral("photo32alpha_rle.tga");
    }
    void transparencyKeptThroughSaveAndOpen()
    {
        QFETCH(QString, file);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(Sample(QStringLiteral("photo32alpha_rle.tga")),
                            dir.filePath(QStringLiteral("photo32alpha_rle.tga"))));
        platform::IconLibrary icons;
        QVERIFY(icons.Open(QStringLiteral(DATORIA_TEST_DATA "/../../data/holiday.icl")));
        QFile ico(dir.filePath(QStringLiteral("party.ico")));
        QVERIFY(ico.open(QIODevice::WriteOnly) && ico.write(icons.IconFile(0)) > 0);
        ico.close();
        QWidget window;
        window.resize(900, 900);
        auto* page = new calendar::TCalendarPanel32(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QDir::setCurrent(dir.path());
        page->SetPanelState(calendar::psImage);
        testsupport::WhenDialogOpens(this, [&](QWidget* modal) {
            auto* browser = qobject_cast<TQelImageBrowser*>(modal);
            QVERIFY(browser && browser->SelectFile(file));
            QTest::mouseClick(browser->findChild<QCheckBox*>(QStringLiteral("AutoSizeBox")), Qt::LeftButton);
            QTest::mouseClick(browser->findChild<QPushButton*>(QStringLiteral("OkButton")), Qt::LeftButton);
        });
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(300, 400));
        auto* placed = qobject_cast<TQelImage*>(page->PlacedObjects().value(0));
        QVERIFY(placed && placed->Picture().Bitmap().hasAlphaChannel());
        page->Handle()->hide(); // the new object's selection marks
        const QImage shown = page->grab(placed->geometry()).toImage();

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        persist::WriteCalendar(&buffer, *page);
        buffer.close();
        buffer.open(QIODevice::ReadOnly);
        QWidget owner;
        auto* again = new calendar::TCalendarPanel32(&owner);
        QVERIFY(!persist::ReadCalendar(&buffer, *again, &owner));
        auto* read = qobject_cast<TQelImage*>(again->PlacedObjects().value(0));
        QVERIFY(read);
        QCOMPARE(testsupport::FirstDifference(read->Picture().Bitmap(), placed->Picture().Bitmap()),
                 QString());
        QCOMPARE(testsupport::FirstDifference(again->grab(read->geometry()).toImage(), shown), QString());
    }

    // "Load Image From Disk" takes the chosen file on OK; Cancel keeps the picture, whatever was chosen.
    void loadImageFromDisk_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QSize>("size");
        QTest::newRow("OK") << QStringLiteral("OkButton") << QSize(32, 32);
        QTest::newRow("Cancel") << QStringLiteral("CancelButton") << QSize(20, 10);
    }
    void loadImageFromDisk()
    {
        QFETCH(QString, button);
        QFETCH(QSize, size);
        QWidget owner;
        calendar::TCalendarPanel32 page(&owner);
        auto* image = new TQelImage(&page);
        image->AfterLoad();
        image->SetPicture(Solid(20, 10, qRgb(1, 2, 3)));
        QDir::setCurrent(QStringLiteral(DATORIA_TEST_DATA "/images"));
        bool asked = false;
        testsupport::WhenDialogOpens(this, [&](QWidget* modal) {
            auto* browser = qobject_cast<TQelImageBrowser*>(modal);
            QVERIFY(browser);
            asked = true;
            QVERIFY(browser->SelectFile(QStringLiteral("multi.ico")));
            QTest::mouseClick(browser->findChild<QPushButton*>(button), Qt::LeftButton);
        });
        QMenu* menu = image->Menu();
        menu->popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QAction* load = menu->findChild<QAction*>(QStringLiteral("mnuLoadImage"));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(load).center());
        QTRY_VERIFY(asked);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(image->Picture().Size(), size);
        QCOMPARE(image->Picture().GraphicKind(), TPicture::pkBitmap);
    }

    void browserListsPicturesAndPreviews()
    {
        testsupport::ScriptedPrompts prompts;
        QTemporaryDir dir;
        for (const char* name : {"photo.jpg", "photo24.tga", "drawing.wmf"})
            QVERIFY(QFile::copy(Sample(QString::fromLatin1(name)), dir.filePath(QString::fromLatin1(name))));
        QVERIFY(
            QFile::copy(Sample(QStringLiteral("photo256.pcx")), dir.filePath(QStringLiteral("UPPER.PCX"))));
        QFile(dir.filePath(QStringLiteral("notes.txt"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("photo.jpeg"))).open(QIODevice::WriteOnly);
        QFile broken(dir.filePath(QStringLiteral("broken.bmp")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("BM not really");
        broken.close();
        QFile cut(dir.filePath(QStringLiteral("cut.tga")));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        QFile whole(Sample(QStringLiteral("photo24.tga")));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        cut.write(whole.read(5000));
        cut.close();
        QDir(dir.path()).mkdir(QStringLiteral("sub"));

        TQelImageBrowser browser;
        browser.SetFolder(dir.path());
        QStringList files;
        for (int i = 0; i < browser.FileList()->count(); ++i)
            files.append(browser.FileList()->item(i)->text());
        QCOMPARE(files, (QStringList{QStringLiteral("broken.bmp"), QStringLiteral("cut.tga"),
                                     QStringLiteral("drawing.wmf"), QStringLiteral("photo.jpg"),
                                     QStringLiteral("photo24.tga"), QStringLiteral("UPPER.PCX")}));
        QCOMPARE(browser.FolderList()->item(1)->text(), QStringLiteral("sub"));

        QVERIFY(browser.SelectFile(QStringLiteral("UPPER.PCX")));
        QCOMPARE(browser.PreviewPicture().Size(), QSize(120, 90));
        QVERIFY(browser.Message().isEmpty());
        // A damaged Targa file: the message in the browser, no box, an empty preview.
        QVERIFY(browser.SelectFile(QStringLiteral("cut.tga")));
        QVERIFY(browser.PreviewPicture().IsEmpty());
        QVERIFY2(browser.Message().startsWith(QStringLiteral("Unable to load cut.tga")),
                 qPrintable(browser.Message()));
        QVERIFY(prompts.messages.isEmpty());
        // A damaged bitmap also gives the box.
        QVERIFY(browser.SelectFile(QStringLiteral("broken.bmp")));
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("Error loading file!")});
        QVERIFY(browser.PreviewPicture().IsEmpty());

        // The options exclude each other; AutoSize gives the preview the picture's size.
        QVERIFY(browser.SelectFile(QStringLiteral("drawing.wmf")));
        QCOMPARE(browser.PreviewPicture().GraphicKind(), TPicture::pkMetafile);
        browser.SetStretch(true);
        browser.SetAutoSize(true);
        QVERIFY(!browser.Stretch());
        auto* preview = browser.findChild<QWidget*>(QStringLiteral("Preview"));
        QCOMPARE(preview->size(), QSize(187, 137));
        browser.SetStretch(true);
        QVERIFY(!browser.AutoSize());
        // Without AutoSize the preview fills the box.
        QCOMPARE(preview->size(),
                 browser.findChild<QScrollArea*>(QStringLiteral("PreviewBox"))->maximumViewportSize());
    }

    void browserEntersFolders()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("inner"));
        QVERIFY(
            QFile::copy(Sample(QStringLiteral("photo.gif")), dir.filePath(QStringLiteral("inner/a.jpg"))));
        TQelImageBrowser browser;
        browser.SetFolder(dir.path());
        QListWidget* folders = browser.FolderList();
        const QList<QListWidgetItem*> inner = folders->findItems(QStringLiteral("inner"), Qt::MatchExactly);
        QCOMPARE(inner.size(), 1);
        Q_EMIT folders->itemActivated(inner.first());
        QCOMPARE(browser.FileList()->count(), 1);
        QVERIFY(browser.SelectFile(QStringLiteral("a.jpg")));
        QCOMPARE(browser.PreviewPicture().Size(), QSize(120, 90)); // a GIF named .jpg is read by its content
    }
};

QTEST_MAIN(TestImageObject)
#include "tst_imageobject.moc"
