#include "calendar/TCalendarPanel32.h"
#include "design/TGraphicPanel.h"
#include "design/TQelHandle.h"
#include "design/TRichTextLabelEditor.h"
#include "design/TZubRichBaseLabel.h"
#include "persist/stream/ClassRegistry.h"
#include "persist/stream/StreamDump.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"
#include "platform/ProgramFolder.h"
#include "richtext/RtfReader.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichRenderer.h"
#include "richtext/TVelRichToolBar.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace design;
using calendar::TCalendarPanel32;
using testsupport::ColorAt;
using testsupport::CountColor;
using testsupport::CountInk;

namespace {

const QByteArray kRed =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}\\f0\\fs24\\cf1 "
    "Rich words wrap here and there and everywhere on the page\\par}";

/** A window with a page on it and the shared renderer, as the main window has them. */
struct Scene
{
    QWidget window;
    TCalendarPanel32* page;
    richtext::TVelRichRenderer* renderer;

    explicit Scene(bool withRenderer = true)
    {
        window.resize(900, 1100);
        page = new TCalendarPanel32(&window);
        renderer = withRenderer ? new richtext::TVelRichRenderer(&window) : nullptr;
        if (renderer)
            renderer->setObjectName(QStringLiteral("MasterVelRichText"));
        window.show();
    }

    TZubRichBaseLabel* Label(QRect geometry, const QByteArray& rtf = {})
    {
        auto* label = new TZubRichBaseLabel(page);
        label->AfterLoad();
        label->setGeometry(geometry);
        label->RTFText().SetRtfText(rtf);
        label->show();
        return label;
    }
};

/** The label as it stands on its page: the page's pixels under it included. */
QImage Shot(TZubRichBaseLabel* label)
{
    return label->parentWidget()->grab(label->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
}

/** Bottom edge of the ink: one past the lowest row holding a non-white pixel, inside the frame. */
int InkBottom(const QImage& image)
{
    for (int y = image.height() - 2; y > 0; --y) {
        if (CountInk(image, {1, y, image.width() - 1, y + 1}) > 0)
            return y + 1;
    }
    return 0;
}

/** Clicks a menu item where it shows on the open menu. */
void ClickItem(QMenu* menu, const char* name)
{
    QTRY_VERIFY(menu->isVisible());
    QAction* item = menu->findChild<QAction*>(QLatin1String(name));
    QVERIFY(item);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

/** A right click on the label: it is selected and its menu opens. */
QMenu* OpenMenu(TZubRichBaseLabel* label)
{
    QTest::mousePress(label, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseRelease(label, Qt::RightButton, {}, QPoint(5, 5));
    return label->Menu();
}

QByteArray Written(TZubRichBaseLabel* label)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    persist::TWriter writer(&buffer);
    writer.PutRootRecord(persist::ClassRegistry::Instance().RefOf(label));
    writer.Flush();
    return buffer.data();
}

} // namespace

class TestRichLabel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment(QDate(1997, 12, 1));
        platform::SetProgramFolderOverride(m_folder.path());
        RegisterRichLabelClass();
    }

    void newLabel()
    {
        TZubRichBaseLabel label;
        QCOMPARE(label.size(), QSize(190, 33));
        QVERIFY(label.Transparent());
        QCOMPARE(label.BorderStyle(), bsSingle);
        QCOMPARE(label.BGColor(), platform::TColor(0xFFFFFF));
        QVERIFY(label.RTFText().IsEmpty());
        QVERIFY(!label.Renderer());
    }

    // The renderer is the component named MasterVelRichText, in any letter case, of the label's window.
    void findsTheWindowsRenderer()
    {
        QWidget window;
        auto* other = new richtext::TVelRichRenderer(&window);
        other->setObjectName(QStringLiteral("PaintEditor"));
        auto* inner = new QWidget(&window);
        auto* master = new richtext::TVelRichRenderer(inner);
        master->setObjectName(QStringLiteral("masterVelRichTEXT"));
        auto* page = new TCalendarPanel32(inner);
        auto* label = new TZubRichBaseLabel(page);
        label->AfterLoad();
        QCOMPARE(label->Renderer(), master);
        QCOMPARE(TZubRichBaseLabel::FindRenderer(page), master);
        // A dialog owned by that window is a window of its own: its labels use its renderer.
        QDialog dialog(&window);
        auto* own = new richtext::TVelRichRenderer(&dialog);
        own->setObjectName(QStringLiteral("MasterVelRichText"));
        auto* dialogPage = new TCalendarPanel32(&dialog);
        QCOMPARE(TZubRichBaseLabel::FindRenderer(dialogPage), own);
        // A window of its own has no renderer: the after-load step fails, the menu is built all the same.
        TCalendarPanel32 alone;
        auto* orphan = new TZubRichBaseLabel(&alone);
        try {
            orphan->AfterLoad();
            QFAIL("a label without a renderer must fail to load");
        } catch (const persist::StreamError& e) {
            QCOMPARE(e.message(), QStringLiteral("No master rich text object found"));
        }
        QVERIFY(orphan->Menu());
        QVERIFY(!orphan->Renderer());
    }

    void emptyDocumentPaintsBackgroundAndBorder()
    {
        Scene scene;
        TZubRichBaseLabel* label = scene.Label(QRect(50, 60, 120, 40));
        label->SetTransparent(false);
        label->SetBGColor(platform::clYellow);
        QImage image = Shot(label);
        QCOMPARE(CountColor(image, {1, 1, 119, 39}, platform::clYellow), 118 * 38);
        QCOMPARE(CountColor(image, {0, 0, 120, 40}, platform::clBlack), 2 * 120 + 2 * 38);
        // Transparent and without a frame: nothing of its own, the page shows through.
        label->SetTransparent(true);
        label->SetBorderStyle(bsNone);
        const QImage bare = Shot(label);
        QCOMPARE(bare, scene.page->RenderToBitmap().copy(label->geometry()));
        QCOMPARE(CountColor(bare, {0, 0, 120, 40}, platform::clYellow), 0);
    }

    // Word-wrapped to its width at every zoom: at half the zoom in half the size the text takes half the
    // height.
    void paintsAtEveryZoom()
    {
        Scene scene;
        TZubRichBaseLabel* full = scene.Label(QRect(20, 600, 240, 160), kRed);
        full->SetBorderStyle(bsNone);
        TZubRichBaseLabel* half = scene.Label(QRect(300, 600, 120, 80), kRed);
        half->SetBorderStyle(bsNone);
        half->SetZoomFactor(0.5f);
        const QImage a = Shot(full);
        const QImage b = Shot(half);
        QVERIFY(CountColor(a, {0, 0, 240, 160}, platform::clRed) > 200);
        QVERIFY(CountInk(b, {0, 0, 120, 80}) > 100);
        const int fullHeight = InkBottom(a);
        const int halfHeight = InkBottom(b);
        QVERIFY(fullHeight > 40); // several lines
        QVERIFY2(std::abs(2 * halfHeight - fullHeight) <= 6,
                 qPrintable(QStringLiteral("%1 vs %2").arg(halfHeight).arg(fullHeight)));
    }

    // Printed at its place: panel pixel 96 is one inch from the page origin.
    void printsWhereItStands()
    {
        Scene scene;
        TZubRichBaseLabel* label = scene.Label(QRect(96, 48, 192, 96), kRed);
        label->SetTransparent(false);
        label->SetBGColor(platform::clLime);
        QImage page(600, 600, QImage::Format_RGB32); // 100 dots per inch
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        QPainter painter(&page);
        label->PrintTo(painter, 0.5, 0.25);
        painter.end();
        // From 150 to 350 dots across, from 75 to 175 down; framed in black.
        QCOMPARE(ColorAt(page, 345, 170), platform::clLime);
        QCOMPARE(ColorAt(page, 146, 120), platform::clWhite);
        QCOMPARE(ColorAt(page, 354, 120), platform::clWhite);
        QCOMPARE(ColorAt(page, 250, 179), platform::clWhite);
        QCOMPARE(ColorAt(page, 150, 120), platform::clBlack);
        QVERIFY(CountColor(page, {150, 75, 350, 175}, platform::clRed) > 100);
        QCOMPARE(CountColor(page, {0, 0, 600, 75}, platform::clRed), 0);
    }

    void menuItems()
    {
        Scene scene;
        testsupport::ScriptedPrompts prompts;
        TZubRichBaseLabel* label = scene.Label(QRect(40, 60, 200, 60));
        int changes = 0;
        scene.page->SetLabelChangedEvent([&changes](QObject*) { ++changes; });
        QStringList captions;
        for (QAction* a : label->Menu()->actions())
            captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(captions.mid(12), (QStringList{QStringLiteral("-"), QStringLiteral("Transparent"),
                                                QStringLiteral("Background Color"), QStringLiteral("Border"),
                                                QStringLiteral("Edit")}));

        QMenu* menu = OpenMenu(label);
        QCOMPARE(scene.page->Handle()->Selected(0), label);
        QVERIFY(menu->findChild<QAction*>(QStringLiteral("mnuTransparent"))->isChecked());
        QVERIFY(menu->findChild<QAction*>(QStringLiteral("mnuBorder"))->isChecked());
        ClickItem(menu, "mnuBorder");
        QCOMPARE(label->BorderStyle(), bsNone);
        QCOMPARE(changes, 1);

        // The same colour chosen again still turns the background on.
        prompts.color = platform::clWhite;
        menu = OpenMenu(label);
        QVERIFY(!menu->findChild<QAction*>(QStringLiteral("mnuBorder"))->isChecked());
        ClickItem(menu, "mnuBackgroundColor");
        QVERIFY(!label->Transparent());
        QCOMPARE(label->BGColor(), platform::clWhite);
        QCOMPARE(changes, 2);

        // A user's toggle of transparency is a change of the document.
        menu = OpenMenu(label);
        QVERIFY(!menu->findChild<QAction*>(QStringLiteral("mnuTransparent"))->isChecked());
        ClickItem(menu, "mnuTransparent");
        QVERIFY(label->Transparent());
        QCOMPARE(changes, 3);
    }

    // The editor shows the label's unzoomed size plus a margin; Ok takes the edited text with its formats.
    void editorTakesTheText()
    {
        Scene scene;
        TZubRichBaseLabel* label = scene.Label(QRect(40, 60, 200, 50));
        label->SetZoomFactor(0.5f);
        label->SetTransparent(false);
        label->SetBGColor(platform::clAqua);
        int changes = 0;
        scene.page->SetLabelChangedEvent([&changes](QObject*) { ++changes; });
        bool checked = false;
        testsupport::WhenDialogOpens(label, [&](QWidget* dialog) {
            auto* form = qobject_cast<TRichTextLabelEditor*>(dialog);
            QVERIFY(form);
            QCOMPARE(form->windowTitle(), QStringLiteral("Rich Text Editor"));
            // round(200 / 0.5) + 25 across, round(50 / 0.5) + 25 down.
            QCOMPARE(form->Panel()->size(), QSize(425, 125));
            QCOMPARE(form->Panel()->palette().color(QPalette::Window), QColor(0, 255, 255));
            QTRY_VERIFY(form->Panel()->isVisible());
            richtext::TVelRichEdit* editor = form->Editor();
            QTest::keyClicks(editor, QStringLiteral("Plain "));
            QTest::mouseClick(form->ToolBar()->widgetForAction(form->ToolBar()->BoldAction()),
                              Qt::LeftButton);
            QTest::keyClicks(editor, QStringLiteral("bold"));
            QTest::mouseClick(form->ToolBar()->widgetForAction(form->ToolBar()->NormalAction()),
                              Qt::LeftButton);
            QTest::keyClicks(editor, QStringLiteral(" red"));
            QTest::keyClick(editor, Qt::Key_Left, Qt::ShiftModifier);
            QTest::keyClick(editor, Qt::Key_Left, Qt::ShiftModifier);
            QTest::keyClick(editor, Qt::Key_Left, Qt::ShiftModifier);
            QComboBox* colours = form->ToolBar()->ColorBox();
            QTest::keyClick(colours, Qt::Key_Down); // black to maroon
            QTest::mouseClick(
                form->ToolBar()->widgetForAction(form->ToolBar()->AlignAction(Qt::AlignHCenter)),
                Qt::LeftButton);
            checked = true;
            QTest::mouseClick(form->OkButton(), Qt::LeftButton);
        });
        QVERIFY(label->EditRichText());
        QVERIFY(checked);
        QCOMPARE(changes, 1);
        QTextDocument document;
        richtext::ReadRtf(label->RTFText().RtfText(), document);
        QCOMPARE(document.toPlainText(), QStringLiteral("Plain bold red"));
        const QTextBlock block = document.firstBlock();
        QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + 8);
        QVERIFY(cursor.charFormat().fontWeight() >= QFont::Bold);
        cursor.setPosition(block.position() + 12);
        QVERIFY(cursor.charFormat().fontWeight() < QFont::Bold);
        QCOMPARE(cursor.charFormat().foreground().color(), QColor(128, 0, 0));
        cursor.setPosition(block.position() + 3);
        QCOMPARE(cursor.charFormat().foreground().color(), QColor(0, 0, 0));

        // Cancel leaves the document as it was.
        const QByteArray before = label->RTFText().RtfText();
        testsupport::WhenDialogOpens(label, [](QWidget* dialog) {
            auto* form = qobject_cast<TRichTextLabelEditor*>(dialog);
            QTRY_VERIFY(form->Panel()->isVisible());
            QTest::keyClicks(form->Editor(), QStringLiteral("more"));
            QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
        });
        QVERIFY(!label->EditRichText());
        QCOMPARE(label->RTFText().RtfText(), before);
        QCOMPARE(changes, 1);
    }

    // A double click on the selected label opens its editor; "Edit" in its menu does too.
    void doubleClickAndMenuOpenTheEditor()
    {
        Scene scene;
        TZubRichBaseLabel* label = scene.Label(QRect(40, 60, 200, 50), kRed);
        int opened = 0;
        const auto cancel = [&opened](QWidget* dialog) {
            QVERIFY(qobject_cast<TRichTextLabelEditor*>(dialog));
            ++opened;
            qobject_cast<TRichTextLabelEditor*>(dialog)->reject();
        };
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(scene.page->Handle()->SelectedCount(), 1);
        testsupport::WhenDialogOpens(label, cancel);
        const QPoint onHandle = scene.page->Handle()->mapFrom(scene.page, QPoint(60, 70));
        QTest::mouseDClick(scene.page->Handle(), Qt::LeftButton, {}, onHandle);
        QTRY_COMPARE(opened, 1);
        testsupport::WhenDialogOpens(label, cancel);
        ClickItem(OpenMenu(label), "mnuEdit");
        QTRY_COMPARE(opened, 2);
        QCOMPARE(label->RTFText().RtfText(), kRed);
    }

    // The Rich Text tool: an opaque framed label, its editor open at once, then back to pointing.
    void richTextTool()
    {
        Scene scene;
        scene.page->SetPanelState(calendar::psRichLabel);
        bool opened = false;
        testsupport::WhenDialogOpens(scene.page, [&](QWidget* dialog) {
            auto* form = qobject_cast<TRichTextLabelEditor*>(dialog);
            QVERIFY(form);
            QCOMPARE(form->Panel()->size(), QSize(75, 40));
            opened = true;
            form->accept();
        });
        QTest::mouseClick(scene.page, Qt::LeftButton, {}, QPoint(120, 130));
        QTRY_VERIFY(opened);
        QCOMPARE(scene.page->PlacedObjects().size(), 1);
        auto* label = qobject_cast<TZubRichBaseLabel*>(scene.page->PlacedObjects().first());
        QVERIFY(label);
        QCOMPARE(label->geometry(), QRect(120, 130, 50, 15));
        QVERIFY(!label->Transparent());
        QCOMPARE(label->BorderStyle(), bsSingle);
        QCOMPARE(label->Renderer(), scene.renderer);
        QCOMPARE(scene.page->PanelState(), calendar::psPointing);
    }

    // Without the shared renderer the tool says why and leaves nothing behind.
    void richTextToolWithoutRenderer()
    {
        Scene scene(false);
        testsupport::ScriptedPrompts prompts;
        scene.page->SetPanelState(calendar::psRichLabel);
        QTest::mouseClick(scene.page, Qt::LeftButton, {}, QPoint(120, 130));
        QVERIFY(scene.page->PlacedObjects().isEmpty());
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("No master rich text object found")});
        QCOMPARE(scene.page->PanelState(), calendar::psPointing);
    }

    // Every property is written; the document as the raw data "RTFText.Data", only when there is one.
    void streamForm()
    {
        Scene scene;
        TZubRichBaseLabel* label = scene.Label(QRect(10, 20, 190, 33));
        label->setObjectName(QStringLiteral("Special1"));
        QBuffer empty;
        empty.setData(Written(label));
        empty.open(QIODevice::ReadOnly);
        const QString emptyDump = persist::DumpStream(&empty);
        QVERIFY(!emptyDump.contains(QStringLiteral("RTFText")));
        for (const char* name : {"BorderStyle", "bsSingle", "Transparent", "BGColor", "clWhite"})
            QVERIFY2(emptyDump.contains(QLatin1String(name)), name);

        label->RTFText().SetRtfText(kRed);
        const QByteArray bytes = Written(label);
        // The name, the raw-data tag, a four-byte length, then the document as it is stored.
        QByteArray raw;
        raw += char(12);
        raw += "RTFText.Data";
        raw += char(10);
        const qint32 length = qint32(kRed.size());
        raw.append(reinterpret_cast<const char*>(&length), 4);
        raw += kRed;
        QVERIFY(bytes.contains(raw));
        QVERIFY(bytes.indexOf(raw) < bytes.indexOf("BorderStyle"));

        // Read back into a new label on the same page, it has the same document and writes the same bytes.
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        delete label;
        auto* back = new TZubRichBaseLabel(scene.page);
        persist::TReader reader(&buffer);
        reader.TakeRootRecord(persist::ClassRegistry::Instance().RefOf(back));
        QCOMPARE(back->RTFText().RtfText(), kRed);
        QCOMPARE(back->Renderer(), scene.renderer);
        QCOMPARE(Written(back), bytes);
    }

    void cloneAndClipboardKeepTheDocument()
    {
        Scene scene;
        TZubRichBaseLabel* label = scene.Label(QRect(40, 60, 200, 50), kRed);
        label->SetTransparent(false);
        label->SetBGColor(platform::clYellow);
        TQelGraphicControl* copy = label->Clone();
        auto* clone = qobject_cast<TZubRichBaseLabel*>(copy);
        QVERIFY(clone);
        QCOMPARE(clone->pos(), QPoint(40, 85));
        QCOMPARE(clone->RTFText().RtfText(), kRed);
        QCOMPARE(clone->BGColor(), platform::clYellow);
        QVERIFY(!clone->Transparent());
        QCOMPARE(clone->Renderer(), scene.renderer);

        scene.page->Handle()->UnselectAll();
        scene.page->Handle()->Select(label);
        QTest::keyClick(scene.page, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(scene.page, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(scene.page->PlacedObjects().size(), 3);
        auto* pasted = qobject_cast<TZubRichBaseLabel*>(scene.page->PlacedObjects().last());
        QVERIFY(pasted);
        QCOMPARE(pasted->pos(), QPoint(55, 75));
        QCOMPARE(pasted->RTFText().RtfText(), kRed);
        QVERIFY(CountColor(Shot(pasted), {0, 0, 200, 50}, platform::clRed) > 50);
    }

    // The bevelled caption panel: frame, bevels and border inward from the edge, the colour inside, the
    // caption placed by its alignment.
    void graphicPanel()
    {
        QWidget parent;
        parent.resize(300, 200);
        auto* panel = new TGraphicPanel(&parent);
        parent.show();
        QCOMPARE(panel->size(), QSize(185, 41));
        QCOMPARE(panel->Alignment(), taCenter);
        QCOMPARE(panel->BevelOuter(), bvRaised);
        QCOMPARE(panel->BevelInner(), bvNone);
        QImage image = panel->grab().toImage();
        const platform::TColor light = 0xFFFFFF, dark = 0x808080, face = 0xC0C0C0;
        QCOMPARE(ColorAt(image, 0, 20), light);
        QCOMPARE(ColorAt(image, 90, 0), light);
        QCOMPARE(ColorAt(image, 184, 20), dark);
        QCOMPARE(ColorAt(image, 90, 40), dark);
        QCOMPARE(ColorAt(image, 184, 0), dark); // the corners belong to the lower right
        QCOMPARE(ColorAt(image, 1, 1), face);

        panel->SetBorderStyle(bsSingle);
        panel->SetBevelOuter(bvLowered);
        panel->SetBevelInner(bvRaised);
        panel->SetBevelWidth(2);
        panel->SetBorderWidth(1);
        panel->SetColor(platform::clYellow);
        image = panel->grab().toImage();
        QCOMPARE(ColorAt(image, 0, 20), platform::clBlack);
        QCOMPARE(ColorAt(image, 184, 20), platform::clBlack);
        QCOMPARE(ColorAt(image, 1, 20), dark);
        QCOMPARE(ColorAt(image, 2, 20), dark);
        QCOMPARE(ColorAt(image, 183, 20), light);
        QCOMPARE(ColorAt(image, 3, 20), platform::clYellow); // the border, in the panel's colour
        QCOMPARE(ColorAt(image, 4, 20), light);
        QCOMPARE(ColorAt(image, 5, 20), light);
        QCOMPARE(ColorAt(image, 180, 20), dark);
        QCOMPARE(ColorAt(image, 6, 20), platform::clYellow);

        // A bevel wider than half the panel stops where its two sides meet.
        panel->resize(6, 41);
        panel->SetBorderStyle(bsNone);
        panel->SetBevelInner(bvNone);
        panel->SetBevelWidth(10);
        image = panel->grab().toImage();
        for (int x = 0; x < 6; ++x)
            QCOMPARE(ColorAt(image, x, 20), x < 3 ? dark : light);
        panel->resize(41, 6);
        image = panel->grab().toImage();
        for (int y = 0; y < 6; ++y)
            QCOMPARE(ColorAt(image, 20, y), y < 3 ? dark : light);
        panel->resize(185, 41);

        // The caption: centred, or at the left, in a band centred vertically.
        panel->SetBorderStyle(bsNone);
        panel->SetBevelOuter(bvNone);
        panel->SetBevelInner(bvNone);
        panel->SetColor(platform::clWhite);
        panel->SetCaption(QStringLiteral("Sample\ttext"));
        image = panel->grab().toImage();
        int left = 185, right = 0, top = 41, bottom = 0;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 185; ++x)
                if (ColorAt(image, x, y) != platform::clWhite) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        QVERIFY(right > left);
        QVERIFY(std::abs((left + right) / 2 - 92) <= 2);
        QVERIFY(std::abs((top + bottom) / 2 - 20) <= 3);
        panel->SetAlignment(taLeftJustify);
        image = panel->grab().toImage();
        QVERIFY(CountInk(image, {0, 0, 8, 41}) > 0);
        QCOMPARE(CountInk(image, {120, 0, 185, 41}), 0);

        // Aligned to fill its parent, it follows the parent's size.
        panel->SetAlign(alClient);
        QCOMPARE(panel->geometry(), QRect(0, 0, 300, 200));
        parent.resize(250, 120);
        QCOMPARE(panel->geometry(), QRect(0, 0, 250, 120));
        panel->SetAlign(alBottom);
        panel->resize(250, 30);
        parent.resize(260, 140);
        QCOMPARE(panel->geometry(), QRect(0, 110, 260, 30));
    }
};

QTEST_MAIN(TestRichLabel)
#include "tst_richlabel.moc"
