#include "controls/TColorDropButton.h"
#include "platform/Help.h"
#include "platform/ImageLoader.h"
#include "platform/ProgramFolder.h"
#include "platform/SymbolFonts.h"
#include "supertext/TQelSuperText.h"
#include "supertext/TSuperTextBrushImageBrowser.h"
#include "supertext/TSuperTextGetSymbol.h"
#include "supertext/TSuperTextProperties.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QSpinBox>
#include <QStorageInfo>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace supertext;

namespace {

template <typename T> T* Child(QWidget* parent, const char* name)
{
    T* child = parent->findChild<T*>(QLatin1String(name));
    if (!child)
        qWarning("no child %s", name);
    return child;
}

/** Chooses an item of a drop-down list by keyboard, as a user would. */
void ChooseByKeys(QComboBox* box, int index)
{
    box->setFocus();
    while (box->currentIndex() < index)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > index)
        QTest::keyClick(box, Qt::Key_Up);
}

QImage Picture(QColor color, int size = 8)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

/** The mean colour difference between column (or row) a and b of a picture. */
double LineStep(const QImage& image, bool columns, int a, int b)
{
    const int length = columns ? image.height() : image.width();
    double sum = 0;
    for (int i = 0; i < length; ++i) {
        const QRgb p = columns ? image.pixel(a, i) : image.pixel(i, a);
        const QRgb q = columns ? image.pixel(b, i) : image.pixel(i, b);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
    return sum / length;
}

/** The step from the last column (or row) back to the first, where tiles meet. */
double SeamStep(const QImage& image, bool columns)
{
    const int last = (columns ? image.width() : image.height()) - 1;
    return LineStep(image, columns, last, 0);
}

/** The sharpest step between neighbouring columns (or rows) inside the picture. */
double SharpestStep(const QImage& image, bool columns)
{
    double sharpest = 0;
    for (int i = 1; i < (columns ? image.width() : image.height()); ++i)
        sharpest = std::max(sharpest, LineStep(image, columns, i - 1, i));
    return sharpest;
}

void SaveShot(QWidget* widget, const QString& name)
{
    if (const QString folder = qEnvironmentVariable("DATORIA_SCREENSHOTS"); !folder.isEmpty())
        QVERIFY(widget->grab().save(QDir(folder).filePath(name)));
}

} // namespace

class TestSuperTextDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(QDate(1997, 12, 1)); }

    void propertiesShowTheObject()
    {
        TQelSuperText text;
        text.SetSurfaceType(stNormal);
        text.SetOutlineStyle(psDot);
        text.SetOutlineWidth(4);
        text.SetShadowOrientation(sdLeft);
        text.SetShadowDepth(7);
        text.SetCaption(QStringLiteral("Happy"));
        text.FitToText();
        TSuperTextProperties dialog;
        dialog.Example()->CopyFrom(text);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(Child<QComboBox>(&dialog, "SurfaceTypeCombo")->currentText(), QStringLiteral("Normal"));
        QCOMPARE(Child<QComboBox>(&dialog, "OutlineStyleCombo")->currentText(),
                 QStringLiteral("Dotted Line"));
        QCOMPARE(Child<QSpinBox>(&dialog, "OutLineWidthSpinner")->value(), 4);
        QCOMPARE(Child<QComboBox>(&dialog, "ShadowOrientationCombo")->currentText(), QStringLiteral("Left"));
        QCOMPARE(Child<QSpinBox>(&dialog, "ShadowDepthSpinner")->value(), 7);
        QCOMPARE(Child<QLineEdit>(&dialog, "CaptionText")->text(), QStringLiteral("Happy"));
        // Only the panel of the surface type shows.
        QVERIFY(Child<QFrame>(&dialog, "FontcolorPanel")->isVisible());
        QVERIFY(!Child<QFrame>(&dialog, "FillPanel")->isVisible());
        QVERIFY(!Child<QFrame>(&dialog, "ImagePanel")->isVisible());
        SaveShot(&dialog, QStringLiteral("supertext-properties.png"));
    }

    void controlsChangeTheExampleAtOnce()
    {
        testsupport::ScriptedPrompts prompts;
        TSuperTextProperties dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        TQelSuperText* example = dialog.Example();
        auto* surface = Child<QComboBox>(&dialog, "SurfaceTypeCombo");
        ChooseByKeys(surface, stNormal);
        QCOMPARE(example->SurfaceType(), stNormal);
        QVERIFY(Child<QFrame>(&dialog, "FontcolorPanel")->isVisible());
        ChooseByKeys(surface, stBrushTransparent);
        QCOMPARE(example->SurfaceType(), stBrushTransparent);
        QVERIFY(!Child<QFrame>(&dialog, "FontcolorPanel")->isVisible());
        QVERIFY(!Child<QFrame>(&dialog, "FillPanel")->isVisible());
        QVERIFY(!Child<QFrame>(&dialog, "ImagePanel")->isVisible());
        ChooseByKeys(surface, stGradientFill);
        QVERIFY(Child<QFrame>(&dialog, "FillPanel")->isVisible());

        ChooseByKeys(Child<QComboBox>(&dialog, "FillDirectionCombo"), gdUp);
        QCOMPARE(example->FillDirection(), gdUp);
        ChooseByKeys(Child<QComboBox>(&dialog, "OutlineStyleCombo"), psDashDotDot);
        QCOMPARE(example->OutlineStyle(), psDashDotDot);
        ChooseByKeys(Child<QComboBox>(&dialog, "ShadowOrientationCombo"), sdDown);
        QCOMPARE(example->ShadowOrientation(), sdDown);
        auto* depth = Child<QSpinBox>(&dialog, "ShadowDepthSpinner");
        depth->setFocus();
        QTest::keyClick(depth, Qt::Key_Up);
        QTest::keyClick(depth, Qt::Key_Up);
        QCOMPARE(example->ShadowDepth(), 2);
        auto* width = Child<QSpinBox>(&dialog, "OutLineWidthSpinner");
        width->setFocus();
        QTest::keyClick(width, Qt::Key_Up);
        QCOMPARE(example->OutlineWidth(), 2);
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(width, Qt::Key_Up);
        QCOMPARE(example->OutlineWidth(), 10); // the spinner stops at 10

        // A colour chosen from a drop-down button's grid.
        auto* from = Child<controls::TColorDropButton>(&dialog, "GradientFromcolorButton");
        QTest::mouseClick(from, Qt::LeftButton);
        QTRY_VERIFY(from->DropDown()->isVisible());
        QTest::mouseClick(Child<QToolButton>(from->DropDown(), "Palette_1_2"), Qt::LeftButton);
        QCOMPARE(example->GradientFromColor(), 0x0000FF);
        auto* shadowColor = Child<controls::TColorDropButton>(&dialog, "ShadowColorButton");
        QTest::mouseClick(shadowColor, Qt::LeftButton);
        prompts.color = 0x123456;
        QTest::mouseClick(Child<QPushButton>(shadowColor->DropDown(), "OtherColor"), Qt::LeftButton);
        QCOMPARE(example->Shadowcolor(), 0x123456);
        auto* outlineColor = Child<controls::TColorDropButton>(&dialog, "OutlineColorButton");
        QTest::mouseClick(outlineColor, Qt::LeftButton);
        QTest::mouseClick(Child<QToolButton>(outlineColor->DropDown(), "Palette_4_4"), Qt::LeftButton);
        QCOMPARE(example->OutlineColor(), 0x7F007F);
    }

    void okCopiesToTheObject()
    {
        testsupport::ScriptedPrompts prompts;
        QWidget window;
        auto* text = new TQelSuperText(&window);
        text->setGeometry(10, 10, 400, 200);
        text->SetControlTransparent(false);
        QWidget* parent = nullptr;
        testsupport::WhenDialogOpens(this, [&parent](QWidget* dialog) {
            parent = dialog->parentWidget();
            auto* caption = Child<QLineEdit>(dialog, "CaptionText");
            caption->setFocus();
            caption->selectAll();
            QTest::keyClicks(caption, QStringLiteral("Noel"));
            ChooseByKeys(Child<QComboBox>(dialog, "SurfaceTypeCombo"), stNormal);
            auto* fontColor = Child<controls::TColorDropButton>(dialog, "FontColorButton");
            QTest::mouseClick(fontColor, Qt::LeftButton);
            QTest::mouseClick(Child<QToolButton>(fontColor->DropDown(), "Palette_2_2"), Qt::LeftButton);
            ChooseByKeys(Child<QComboBox>(dialog, "ShadowOrientationCombo"), sdRight);
            auto* depth = Child<QSpinBox>(dialog, "ShadowDepthSpinner");
            depth->setFocus();
            QTest::keyClick(depth, Qt::Key_Up);
            QTest::keyClick(depth, Qt::Key_Up);
            QTest::keyClick(depth, Qt::Key_Up);
            // As after loading a texture (loadTextureThroughTheProperties): the object remembers where it
            // was.
            static_cast<TSuperTextProperties*>(dialog)->SetLastTexturePath(
                QStringLiteral("/textures/ivy.bmp"));
            QTest::mouseClick(Child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
        });
        QVERIFY(text->EditProperties());
        QCOMPARE(text->LastBitmapFileNameandPath(), QStringLiteral("/textures/ivy.bmp"));
        QCOMPARE(parent, &window); // the dialog belongs to the window the text stands on
        QCOMPARE(text->Caption(), QStringLiteral("Noel"));
        QCOMPARE(text->SurfaceType(), stNormal);
        QCOMPARE(text->Font()->Color(), 0x00007F);
        QCOMPARE(text->ShadowOrientation(), sdRight);
        QCOMPARE(text->ShadowDepth(), 3);
        // The example was fitted to its text, so the object took its smaller size.
        QVERIFY(text->width() < 400);
        QVERIFY(text->height() < 200);
        QVERIFY(!text->ControlTransparent()); // not edited in the dialog
    }

    void cancelLeavesTheObject()
    {
        TQelSuperText text;
        text.setGeometry(0, 0, 300, 100);
        QWidget* parent = &text;
        testsupport::WhenDialogOpens(this, [&parent](QWidget* dialog) {
            parent = dialog->parentWidget();
            ChooseByKeys(Child<QComboBox>(dialog, "SurfaceTypeCombo"), stNormal);
            auto* caption = Child<QLineEdit>(dialog, "CaptionText");
            caption->setFocus();
            QTest::keyClicks(caption, QStringLiteral("xyz"));
            QTest::mouseClick(Child<QPushButton>(dialog, "Cancelbutton"), Qt::LeftButton);
        });
        QVERIFY(!text.EditProperties());
        QCOMPARE(parent, nullptr); // a text alone is its own window
        QCOMPARE(text.Caption(), QStringLiteral("Text"));
        QCOMPARE(text.SurfaceType(), stGradientFill);
        QCOMPARE(text.size(), QSize(300, 100));
    }

    void emptyCaptionKeepsTheDialogOpen()
    {
        testsupport::ScriptedPrompts prompts;
        TSuperTextProperties dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* caption = Child<QLineEdit>(&dialog, "CaptionText");
        caption->setFocus();
        caption->selectAll();
        QTest::keyClick(caption, Qt::Key_Delete);
        QTest::mouseClick(Child<QPushButton>(&dialog, "OKButton"), Qt::LeftButton);
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("Please enter some text")});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QTRY_VERIFY(caption->hasFocus());
    }

    void fontSizeArrows()
    {
        TSuperTextProperties dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        platform::TFont* font = dialog.Example()->Font();
        auto* down = Child<QToolButton>(&dialog, "RapidChangeFontSizeDown");
        auto* up = Child<QToolButton>(&dialog, "RapidChangeFontSizeUp");
        font->SetSize(12);
        QTest::mouseClick(down, Qt::LeftButton);
        QCOMPARE(font->Size(), 7);
        QTest::mouseClick(down, Qt::LeftButton);
        QCOMPARE(font->Size(), 7);
        font->SetSize(145);
        const int narrow = dialog.Example()->width();
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(font->Size(), 150);
        QVERIFY(dialog.Example()->width() > narrow); // fitted to the larger text
        // The white panel under the example grows with it, so the whole example can be scrolled into view.
        const QWidget* area = Child<QScrollArea>(&dialog, "SamplePanel")->widget();
        const QRect example = dialog.Example()->geometry();
        QVERIFY2(area->width() > example.right() && area->height() > example.bottom(),
                 qPrintable(QStringLiteral("%1x%2").arg(area->width()).arg(area->height())));
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(font->Size(), 150);
    }

    void typingRefitsOnTheTimer()
    {
        TSuperTextProperties dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        TQelSuperText* example = dialog.Example();
        auto* caption = Child<QLineEdit>(&dialog, "CaptionText");
        caption->setFocus();
        const int before = example->width();
        QTest::keyClicks(caption, QStringLiteral(" and a much longer line"));
        // The caption shows at once; the size follows on the next tick of the timer, not on every key.
        QCOMPARE(example->Caption(), QStringLiteral("Text and a much longer line"));
        QVERIFY(dialog.CaptionChanged());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.CaptionChanged(), 1000);
        QVERIFY(example->width() > before);
    }

    void textureTypeShowsTheLastTexture()
    {
        TQelSuperText text;
        text.SetSurfaceType(stBrushImage);
        text.SetImage(Picture(Qt::red));
        TSuperTextProperties dialog;
        dialog.Example()->CopyFrom(text);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.LastUsedImage(), Picture(Qt::red));
        QVERIFY(Child<QFrame>(&dialog, "ImagePanel")->isVisible());
        auto* surface = Child<QComboBox>(&dialog, "SurfaceTypeCombo");
        ChooseByKeys(surface, stGradientFill);
        QVERIFY(dialog.Example()->Image().isNull()); // another type discards the texture...
        ChooseByKeys(surface, stBrushImage);
        QCOMPARE(dialog.Example()->Image(), Picture(Qt::red)); // ...and Texture gives it back at once
    }

    void hollowTurnsAClearOutlineSolid()
    {
        TQelSuperText text;
        text.SetOutlineStyle(psClear);
        TSuperTextProperties dialog;
        dialog.Example()->CopyFrom(text);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ChooseByKeys(Child<QComboBox>(&dialog, "SurfaceTypeCombo"), stBrushTransparent);
        QCOMPARE(dialog.Example()->OutlineStyle(), psSolid);
        QCOMPARE(Child<QComboBox>(&dialog, "OutlineStyleCombo")->currentIndex(), int(psSolid));
    }

    void fontButton()
    {
        testsupport::ScriptedPrompts prompts;
        TSuperTextProperties dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QFont chosen(QStringLiteral("Liberation Sans"));
        chosen.setPointSize(20);
        chosen.setItalic(true);
        prompts.font = chosen;
        QTest::mouseClick(Child<QPushButton>(&dialog, "Fontbutton"), Qt::LeftButton);
        QCOMPARE(dialog.Example()->Font()->Name(), QStringLiteral("Liberation Sans"));
        QCOMPARE(dialog.Example()->Font()->Size(), 20);
        QCOMPARE(Child<QLineEdit>(&dialog, "CaptionText")->font().family(),
                 QStringLiteral("Liberation Sans"));
        QCOMPARE(prompts.fontOptions, platform::FontDialogOptions(platform::FontDialogOption::ScalableOnly));
        QCOMPARE(prompts.fontsAsked.size(), 1);
        QCOMPARE(prompts.fontsAsked[0].font.family(), QStringLiteral("Times New Roman"));
    }

    void textureBrowserListsAndLoads()
    {
        testsupport::ScriptedPrompts prompts;
        QTemporaryDir dir;
        QDir folder(dir.path());
        QVERIFY(Picture(Qt::red).save(folder.filePath(QStringLiteral("red.bmp")), "BMP"));
        QVERIFY(Picture(Qt::green).save(folder.filePath(QStringLiteral("Green.JPG")), "JPG"));
        QVERIFY(Picture(Qt::blue).save(folder.filePath(QStringLiteral("skip.png")), "PNG"));
        QFile broken(folder.filePath(QStringLiteral("broken.BMP")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("BM not really a bitmap");
        broken.close();
        QFile note(folder.filePath(QStringLiteral("notes.txt")));
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.close();
        QVERIFY(folder.mkdir(QStringLiteral("Wood")));

        TSuperTextBrushImageBrowser browser;
        browser.OpenAt(dir.path());
        browser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&browser));
        QCOMPARE(browser.windowTitle(), QStringLiteral("Load Texture Image"));
        QStringList files;
        for (int i = 0; i < browser.Files()->count(); ++i)
            files.append(browser.Files()->item(i)->text());
        QCOMPARE(files, (QStringList{QStringLiteral("broken.BMP"), QStringLiteral("Green.JPG"),
                                     QStringLiteral("red.bmp")}));
        QVERIFY(!browser.Folders()->findItems(QStringLiteral("Wood"), Qt::MatchExactly).isEmpty());
        QVERIFY(!browser.Folders()->findItems(QStringLiteral(".."), Qt::MatchExactly).isEmpty());

        // Choosing a file shows it at once as the example's texture.
        browser.Files()->setCurrentRow(2);
        browser.Files()->setFocus();
        QCOMPARE(browser.SuperTextExample()->Image().pixelColor(0, 0), QColor(Qt::red));
        QVERIFY(browser.ChosenFile().endsWith(QStringLiteral("red.bmp")));
        QTest::keyClick(browser.Files(), Qt::Key_Up);
        QVERIFY(std::abs(browser.SuperTextExample()->Image().pixelColor(2, 2).green() - 255) < 8);
        // A file that cannot be read says so and the texture shown stays.
        QTest::keyClick(browser.Files(), Qt::Key_Up);
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages[0].startsWith(QStringLiteral("Error loading file!")));
        QVERIFY(std::abs(browser.SuperTextExample()->Image().pixelColor(2, 2).green() - 255) < 8);
        QVERIFY(browser.ChosenFile().endsWith(QStringLiteral("Green.JPG")));

        // Arrow keys move in the folder list without opening anything.
        browser.Folders()->setFocus();
        browser.Folders()->setCurrentRow(0);
        QTest::keyClick(browser.Folders(), Qt::Key_Down);
        QCOMPARE(browser.Folders()->currentRow(), 1);
        QTest::keyClick(browser.Folders(), Qt::Key_Up);
        QCOMPARE(browser.Folders()->currentRow(), 0);
        QCOMPARE(browser.Folder(), QDir::cleanPath(dir.path()));

        // Into a folder and back out.
        QListWidgetItem* wood =
            browser.Folders()->findItems(QStringLiteral("Wood"), Qt::MatchExactly).first();
        browser.Folders()->setCurrentItem(wood);
        browser.Folders()->setFocus();
        QTest::keyClick(browser.Folders(), Qt::Key_Return);
        QCOMPARE(browser.Folder(), QDir::cleanPath(folder.filePath(QStringLiteral("Wood"))));
        QVERIFY(browser.isVisible()); // Enter on a folder opens it; it does not close the browser
        QCOMPARE(browser.Files()->count(), 0);
        browser.Folders()->setCurrentRow(0);
        QTest::keyClick(browser.Folders(), Qt::Key_Return);
        QCOMPARE(browser.Folder(), QDir::cleanPath(dir.path()));

        // Enter on a file takes it, as the OK button does.
        browser.Files()->setFocus();
        browser.Files()->setCurrentRow(2);
        QTest::keyClick(browser.Files(), Qt::Key_Return);
        QVERIFY(!browser.isVisible());
        QCOMPARE(browser.result(), int(QDialog::Accepted));
        QVERIFY(browser.ChosenFile().endsWith(QStringLiteral("red.bmp")));
    }

    // The drive list shows the volume the folder shown lies on, whichever entry led there.
    void driveListFollowsTheFolder()
    {
        QTemporaryDir dir;
        TSuperTextBrushImageBrowser browser;
        browser.OpenAt(QDir::rootPath());
        browser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&browser));
        auto* drives = Child<QComboBox>(&browser, "DriveComboBox1");
        const int volume = drives->findData(QStorageInfo(dir.path()).rootPath());
        if (volume < 0)
            QSKIP("the temporary folder lies on a volume the list leaves out");
        // An entry that leads into the folder, as a volume mounted there would.
        drives->addItem(QStringLiteral("Z:"), dir.path());
        drives->setFocus();
        QTest::keyClick(drives, Qt::Key_End);
        QCOMPARE(browser.Folder(), QDir::cleanPath(dir.path()));
        QCOMPARE(drives->currentIndex(), volume);
    }

    void browserReadsEveryListedKind_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        for (const char* name : {"photo24rle.tga", "photo24.pcx", "photo256.pcx", "photo24.dib",
                                 "photo_rle8.rle", "photo.jif", "photo.jpg"})
            QTest::newRow(name) << QString::fromLatin1(name) << QSize(120, 90);
        QTest::newRow("icon") << QStringLiteral("multi.ico") << QSize(32, 32);
    }
    void browserReadsEveryListedKind()
    {
        // Each kind the file mask lists becomes the example's texture as the picture loader reads it.
        QFETCH(QString, file);
        QFETCH(QSize, size);
        testsupport::ScriptedPrompts prompts;
        const QString path = QStringLiteral(DATORIA_TEST_DATA "/images/") + file;
        TSuperTextBrushImageBrowser browser;
        browser.OpenAt(path);
        QCOMPARE(browser.Files()->currentItem()->text(), file);
        QCOMPARE(prompts.messages, QStringList());
        const QImage texture = browser.SuperTextExample()->Image();
        QCOMPARE(texture.size(), size);
        QVERIFY(!texture.hasAlphaChannel());
        QString error;
        QImage loaded = platform::LoadImageFile(path, error);
        if (loaded.hasAlphaChannel()) {
            // See-through parts of an icon show white in the texture.
            QImage opaque(loaded.size(), QImage::Format_RGB32);
            opaque.fill(Qt::white);
            QPainter painter(&opaque);
            painter.drawImage(0, 0, loaded);
            painter.end();
            loaded = opaque;
        }
        QCOMPARE(texture, loaded.convertToFormat(QImage::Format_RGB32));
    }

    void shippedTexturesTileWithoutSeams()
    {
        // At least sixteen pictures ship in the two texture folders; each loads without a message and its
        // opposite edges meet no more sharply than neighbouring pixels inside it do.
        testsupport::ScriptedPrompts prompts;
        TSuperTextBrushImageBrowser browser;
        int count = 0;
        QStringList kinds;
        for (const char* folder : {"bmbrush", "Textures"}) {
            browser.OpenAt(platform::DataFolder() + u'/' + QLatin1String(folder));
            for (int i = 0; i < browser.Files()->count(); ++i) {
                const QString name = browser.Files()->item(i)->text();
                QVERIFY2(browser.LoadTexture(QDir(browser.Folder()).filePath(name)), qPrintable(name));
                const QImage image = browser.SuperTextExample()->Image();
                QVERIFY2(image.width() >= 32 && image.height() >= 32, qPrintable(name));
                QVERIFY2(SeamStep(image, true) <= SharpestStep(image, true) + 2, qPrintable(name));
                QVERIFY2(SeamStep(image, false) <= SharpestStep(image, false) + 2, qPrintable(name));
                kinds.append(QFileInfo(name).suffix().toUpper());
                ++count;
            }
        }
        QVERIFY2(count >= 16, qPrintable(QString::number(count)));
        QCOMPARE(prompts.messages, QStringList());
        for (const char* kind : {"BMP", "TGA", "PCX"})
            QVERIFY(kinds.contains(QLatin1String(kind)));
    }

    void loadTextureThroughTheProperties()
    {
        testsupport::ScriptedPrompts prompts;
        QTemporaryDir dir;
        const QString red = QDir(dir.path()).filePath(QStringLiteral("red.bmp"));
        QVERIFY(Picture(Qt::red).save(red, "BMP"));
        TQelSuperText text;
        text.SetSurfaceType(stBrushImage);
        TSuperTextProperties dialog;
        dialog.Example()->CopyFrom(text);
        dialog.SetLastTexturePath(red);
        QCOMPARE(dialog.TextureStart(), red);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QString working = QDir::currentPath();
        bool opened = false;
        testsupport::WhenDialogOpens(this, [&opened](QWidget* browser) {
            opened = browser->windowTitle() == QStringLiteral("Load Texture Image");
            // It opened on the last texture, already shown.
            auto* files = Child<QListWidget>(browser, "FileListBox1");
            opened =
                opened && files->currentItem() && files->currentItem()->text() == QStringLiteral("red.bmp");
            QTest::mouseClick(Child<QPushButton>(browser, "OKButton"), Qt::LeftButton);
        });
        QTest::mouseClick(Child<QPushButton>(&dialog, "LoadImageButton"), Qt::LeftButton);
        QVERIFY(opened);
        QCOMPARE(dialog.Example()->Image().pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(dialog.LastUsedImage().pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(dialog.LastTexturePath(), QFileInfo(red).absoluteFilePath());
        QCOMPARE(QDir::currentPath(), working);

        // Another texture looked at in the browser and then cancelled changes nothing.
        QVERIFY(Picture(Qt::green).save(QDir(dir.path()).filePath(QStringLiteral("green.bmp")), "BMP"));
        bool looked = false;
        testsupport::WhenDialogOpens(this, [&looked](QWidget* browser) {
            auto* files = Child<QListWidget>(browser, "FileListBox1");
            const QList<QListWidgetItem*> green =
                files->findItems(QStringLiteral("green.bmp"), Qt::MatchExactly);
            looked = !green.isEmpty();
            if (looked) {
                QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                                  files->visualItemRect(green.first()).center());
                looked = files->currentItem() == green.first();
            }
            QTest::mouseClick(Child<QPushButton>(browser, "CancelButton"), Qt::LeftButton);
        });
        QTest::mouseClick(Child<QPushButton>(&dialog, "LoadImageButton"), Qt::LeftButton);
        QVERIFY(looked);
        QCOMPARE(dialog.Example()->Image().pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(dialog.LastTexturePath(), QFileInfo(red).absoluteFilePath());
    }

    void textureStartsInTheTextureFolders()
    {
        QTemporaryDir program;
        platform::SetProgramFolderOverride(program.path());
        TSuperTextProperties dialog;
        dialog.SetLastTexturePath(QDir(program.path()).filePath(QStringLiteral("gone.bmp")));
        // Without the program's own folders the shipped textures are offered.
        QVERIFY(dialog.TextureStart().endsWith(QStringLiteral("/bmbrush")) ||
                dialog.TextureStart() == QDir::cleanPath(program.path()));
        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("Textures")));
        QCOMPARE(dialog.TextureStart(), QDir(program.path()).filePath(QStringLiteral("Textures")));
        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("bmbrush")));
        QCOMPARE(dialog.TextureStart(), QDir(program.path()).filePath(QStringLiteral("bmbrush")));
        platform::SetProgramFolderOverride(QString());
    }

    // Enter in the symbol grid takes the symbol chosen, as the dialog's default button does.
    void enterChoosesTheSymbol()
    {
        TSuperTextGetSymbol selector;
        selector.show();
        QVERIFY(QTest::qWaitForWindowExposed(&selector));
        selector.SymbolList()->setFocus();
        QTest::keyClick(selector.SymbolList(), Qt::Key_Right);
        QTest::keyClick(selector.SymbolList(), Qt::Key_Return);
        QCOMPARE(selector.result(), int(QDialog::Accepted));
        QVERIFY(!selector.isVisible());
        QCOMPARE(selector.Code(), 33);
    }

    void symbolSelector()
    {
        TSuperTextGetSymbol selector;
        selector.show();
        QVERIFY(QTest::qWaitForWindowExposed(&selector));
        QCOMPARE(selector.windowTitle(), QStringLiteral("Symbol Selector"));
        QStringList fonts;
        for (int i = 0; i < selector.SymbolSets()->count(); ++i)
            fonts.append(selector.SymbolSets()->item(i)->text());
        for (const char* name : {"Symbol", "Webdings", "Wingdings"})
            QVERIFY2(fonts.contains(QLatin1String(name)), name);
        QStringList sorted = fonts;
        sorted.sort(Qt::CaseInsensitive);
        QCOMPARE(fonts, sorted);
        // Each family once, by its name alone, whatever foundries installed it.
        QCOMPARE(fonts.count(), QSet<QString>(fonts.begin(), fonts.end()).count());
        for (const QString& name : fonts)
            QVERIFY2(!name.contains(u'['), qPrintable(name));
        QCOMPARE(selector.FontName(), QStringLiteral("Wingdings"));
        QTableWidget* grid = selector.SymbolList();
        QCOMPARE(grid->columnCount(), 15);
        int characters = 0;
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                characters += grid->item(r, c) ? 1 : 0;
        QCOMPARE(characters, 224); // 32 to 255
        // Code 74 ("J") in Wingdings is the smiling face.
        QTableWidgetItem* smile = grid->item((74 - 32) / 15, (74 - 32) % 15);
        QCOMPARE(smile->text(), QStringLiteral("\u263A"));
        QCOMPARE(selector.Code(), 32); // the first character counts as chosen
        SaveShot(&selector, QStringLiteral("supertext-symbols.png"));

        // Another font shows its own characters.
        QListWidgetItem* symbol =
            selector.SymbolSets()->findItems(QStringLiteral("Symbol"), Qt::MatchExactly).first();
        QTest::mouseClick(selector.SymbolSets()->viewport(), Qt::LeftButton, {},
                          selector.SymbolSets()->visualItemRect(symbol).center());
        QCOMPARE(selector.FontName(), QStringLiteral("Symbol"));
        QCOMPARE(selector.Code(), 32); // a new font starts at its first character
        QCOMPARE(grid->item((97 - 32) / 15, (97 - 32) % 15)->text(), QStringLiteral("\u03B1"));

        // A double click takes the character and closes.
        QTableWidgetItem* alpha = grid->item((97 - 32) / 15, (97 - 32) % 15);
        const QPoint at = grid->visualItemRect(alpha).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(selector.result(), int(QDialog::Accepted));
        QCOMPARE(selector.Character(), QStringLiteral("a"));
        QCOMPARE(selector.Code(), 97);
    }

    // Besides the three built-in tables, the fonts this machine has for symbols are offered by their names.
    void installedSymbolFontsOffered()
    {
        QStringList installed;
        for (const QString& family : QFontDatabase::families(QFontDatabase::Symbol))
            if (QFontDatabase::isSmoothlyScalable(family) && !QFontDatabase::isPrivateFamily(family))
                installed.append(family.section(QStringLiteral(" ["), 0, 0));
        if (installed.isEmpty())
            QSKIP("no font of the symbol writing system is installed");
        TSuperTextGetSymbol selector;
        QStringList offered;
        for (int i = 0; i < selector.SymbolSets()->count(); ++i)
            offered.append(selector.SymbolSets()->item(i)->text());
        for (const QString& name : installed)
            QVERIFY2(offered.contains(name, Qt::CaseInsensitive), qPrintable(name));
    }

    void symbolIntoTheCaption()
    {
        TSuperTextProperties dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        testsupport::WhenDialogOpens(this, [](QWidget* selector) {
            QTableWidget* grid = Child<QTableWidget>(selector, "SymbolList");
            grid->setCurrentCell((74 - 32) / 15, (74 - 32) % 15);
            QTest::mouseClick(Child<QPushButton>(selector, "CopyCharButton"), Qt::LeftButton);
        });
        QTest::mouseClick(Child<QPushButton>(&dialog, "SelectSymbolbutton"), Qt::LeftButton);
        QCOMPARE(Child<QLineEdit>(&dialog, "CaptionText")->text(), QStringLiteral("J"));
        QCOMPARE(dialog.Example()->Caption(), QStringLiteral("J"));
        QCOMPARE(dialog.Example()->Font()->Name(), QStringLiteral("Wingdings"));
        QVERIFY(QApplication::overrideCursor() == nullptr); // the normal pointer is back

        // A pointer the caller set stays; Enter takes the character.
        QApplication::setOverrideCursor(Qt::CrossCursor);
        {
            TSuperTextGetSymbol selector;
            selector.show();
            QVERIFY(QTest::qWaitForWindowExposed(&selector));
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
            QTest::keyClick(&selector, Qt::Key_Return);
            QCOMPARE(selector.result(), int(QDialog::Accepted));
        }
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();
    }

    // Hidden and shown again (its window minimised and restored), the dialog stays where the user put it.
    void reshownWhereItWasLeft()
    {
        QWidget main;
        main.resize(900, 700);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        TSuperTextProperties dialog(&main);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint moved = dialog.pos() + QPoint(40, 30);
        dialog.move(moved);
        dialog.hide();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.pos(), moved);
    }

    // With no symbol font on the machine the selector says so instead of opening, and gives back the pointer
    // it took, leaving the caller's own.
    void noSymbolFonts()
    {
        // The wait pointer is gone before the message shows.
        struct PointerAtMessage : testsupport::ScriptedPrompts
        {
            void Information(QWidget* parent, const QString& text) override
            {
                ScriptedPrompts::Information(parent, text);
                shape = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                       : Qt::ArrowCursor;
            }
            Qt::CursorShape shape = Qt::BlankCursor;
        } prompts;
        QApplication::setOverrideCursor(Qt::CrossCursor);
        {
            TSuperTextGetSymbol selector;
            selector.SymbolSets()->clear();
            QCOMPARE(selector.exec(), int(QDialog::Rejected));
            QVERIFY(!selector.isVisible());
        }
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("No Symbol fonts installed")});
        QCOMPARE(prompts.shape, Qt::CrossCursor);
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void insideFrameShowsAsSolid()
    {
        TQelSuperText text;
        text.SetOutlineStyle(psInsideFrame);
        TSuperTextProperties dialog;
        dialog.Example()->CopyFrom(text);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(Child<QComboBox>(&dialog, "OutlineStyleCombo")->currentText(), QStringLiteral("Solid Line"));
        QCOMPARE(dialog.Example()->OutlineStyle(), psInsideFrame); // kept unless the user chooses
    }

    void browserScreenshot()
    {
        QTemporaryDir program;
        platform::SetProgramFolderOverride(program.path());
        TSuperTextProperties properties;
        TSuperTextBrushImageBrowser browser;
        browser.SuperTextExample()->CopyFrom(*properties.Example());
        browser.SuperTextExample()->SetSurfaceType(stBrushImage);
        browser.SuperTextExample()->FitToText();
        browser.OpenAt(properties.TextureStart());
        browser.resize(640, 520);
        browser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&browser));
        if (browser.Files()->count() > 0)
            browser.Files()->setCurrentRow(0);
        SaveShot(&browser, QStringLiteral("supertext-texture-browser.png"));
        platform::SetProgramFolderOverride(QString());
    }
};

QTEST_MAIN(TestSuperTextDialogs)
#include "tst_supertextdialogs.moc"
