#include "richtext/RichTextRenderer.h"
#include "richtext/RtfReader.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"
#include "richtext/TVelRtfStorage.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QFontComboBox>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

using namespace richtext;

namespace {

int LineCount(const QTextDocument& document)
{
    int lines = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines += block.layout()->lineCount();
    return lines;
}

} // namespace

class TestRichEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    // A cell the user did not edit keeps its original bytes.
    void untouchedDocumentKeepsItsBytes()
    {
        TVelRtfStorage storage;
        const QByteArray original =
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\unknownthing kept}\\f0 Hello\\par}";
        storage.SetRtfText(original);
        TVelRichEdit editor;
        editor.LoadFromStorage(storage);
        QCOMPARE(editor.toPlainText(), QStringLiteral("Hello"));
        TVelRtfStorage back;
        editor.SaveToStorage(back);
        QCOMPARE(back.RtfText(), original);

        editor.CaretToEnd();
        QTest::keyClicks(&editor, QStringLiteral(" world"));
        editor.SaveToStorage(back);
        QVERIFY(back.RtfText().startsWith("{\\rtf1\\ansi\\ansicpg1252"));
        QTextDocument doc;
        ReadRtf(back.RtfText(), doc);
        QCOMPARE(PlainText(doc), QStringLiteral("Hello world"));
    }

    void emptyDocumentGivesAnEmptyStorage()
    {
        TVelRichEdit editor;
        editor.LoadRtf("{\\rtf1 x\\par}");
        QVERIFY(!editor.IsEmpty());
        editor.selectAll();
        QTest::keyClick(&editor, Qt::Key_Delete);
        QVERIFY(editor.IsEmpty());
        TVelRtfStorage storage;
        storage.SetRtfText("old");
        editor.SaveToStorage(storage);
        QVERIFY(storage.IsEmpty());
    }

    void insertTextWithAttributes()
    {
        TVelRichEdit editor;
        editor.InsertText(QStringLiteral("Birthday"),
                          {QStringLiteral("Times New Roman"), 14, true, false, true, false, 9});
        editor.InsertParagraphBreak();
        editor.InsertText(QStringLiteral("Dentist"), CharAttributes{});
        QCOMPARE(editor.document()->blockCount(), 2);
        QTextDocument doc;
        ReadRtf(editor.Rtf(), doc);
        const QTextCharFormat f = doc.begin().begin().fragment().charFormat();
        QCOMPARE(f.fontWeight(), int(QFont::Bold));
        QVERIFY(f.fontUnderline());
        QCOMPARE(f.fontPointSize(), 14.0);
        QCOMPARE(f.foreground().color(), QColor(255, 0, 0)); // colour 9 of the table is red
        QCOMPARE(doc.begin().next().text(), QStringLiteral("Dentist"));
    }

    void currentAttributes_data()
    {
        QTest::addColumn<CharAttributes>("wanted");
        QTest::newRow("Arial") << CharAttributes{QStringLiteral("Arial"), 12, false, true, false, true, 12};
        // Every field unlike the defaults, so none can be left at its default unnoticed.
        QTest::newRow("Courier New") << CharAttributes{
            QStringLiteral("Courier New"), 20, true, false, true, false, 4};
    }
    void currentAttributes()
    {
        QFETCH(CharAttributes, wanted);
        TVelRichEdit editor;
        editor.SetCurrentAttributes(wanted);
        QCOMPARE(editor.CurrentAttributes(), wanted);
        // Text typed now carries them, and the caret after it reports them.
        QTest::keyClicks(&editor, QStringLiteral("ab"));
        QCOMPARE(editor.CurrentAttributes(), wanted);
    }

    // Text without a font of its own reports the document's font.
    void currentAttributesOfPlainText()
    {
        TVelRichEdit editor;
        editor.document()->setDefaultFont(QFont(QStringLiteral("Times New Roman"), 15));
        editor.setPlainText(QStringLiteral("plain"));
        editor.moveCursor(QTextCursor::End);
        const CharAttributes a = editor.CurrentAttributes();
        QCOMPARE(a.fontName, QStringLiteral("Times New Roman"));
        QCOMPARE(a.pointSize, 15);
    }

    void bitmapAtTheCaret()
    {
        TVelRichEdit editor;
        editor.InsertText(QStringLiteral("a"), CharAttributes{});
        QImage icon(32, 32, QImage::Format_ARGB32);
        icon.fill(Qt::green);
        editor.InsertBitmap(icon);
        QTextDocument doc;
        ReadRtf(editor.Rtf(), doc);
        int images = 0;
        for (auto it = doc.begin().begin(); !it.atEnd(); ++it)
            images += it.fragment().charFormat().isImageFormat() ? 1 : 0;
        QCOMPARE(images, 1);
    }

    // The zoom lays the text out as at that fraction of its size: half the zoom, about half the height.
    void zoomAndPageWidth()
    {
        TVelRichEdit editor;
        editor.resize(600, 400);
        editor.LoadRtf("{\\rtf1\\fs40 Some words to wrap on a narrow page of text\\par}");
        editor.SetPageSizeTwips(1440 * 2, 1440); // two inches: 192 pixels
        QCOMPARE(editor.lineWrapColumnOrWidth(), 192);
        const qreal full = editor.document()->size().height();
        editor.SetZoomPercent(50);
        QCOMPARE(editor.lineWrapColumnOrWidth(), 96);
        const qreal half = editor.document()->size().height();
        QVERIFY2(std::abs(half * 2 - full) < full * 0.2,
                 qPrintable(QStringLiteral("%1 %2").arg(half).arg(full)));
    }

    void toolBarActsOnTheAttachedEditor()
    {
        QWidget window;
        auto* bar = new TVelRichToolBar(&window);
        auto* editor = new TVelRichEdit(&window);
        QVERIFY(!bar->BoldAction()->isEnabled());
        editor->AttachToolBar(bar);
        QVERIFY(bar->BoldAction()->isEnabled());
        editor->LoadRtf("{\\rtf1 plain words\\par}");
        editor->selectAll();
        bar->BoldAction()->trigger();
        bar->ColorBox()->setCurrentIndex(12);
        bar->SizeBox()->setCurrentText(QStringLiteral("20"));
        bar->AlignAction(Qt::AlignHCenter)->trigger();
        QTextDocument doc;
        ReadRtf(editor->Rtf(), doc);
        const QTextCharFormat f = doc.begin().begin().fragment().charFormat();
        QCOMPARE(f.fontWeight(), int(QFont::Bold));
        QCOMPARE(f.foreground().color(), QColor(0, 0, 255));
        QCOMPARE(f.fontPointSize(), 20.0);
        QCOMPARE(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

        // The bar follows the caret.
        editor->LoadRtf("{\\rtf1 {\\i slanted}\\par}");
        QTextCursor c = editor->textCursor();
        c.setPosition(2);
        editor->setTextCursor(c);
        QVERIFY(bar->ItalicAction()->isChecked());
        // Only the alignment of the caret's paragraph is checked.
        const auto checkedAlignments = [bar] {
            QList<int> checked;
            for (Qt::Alignment a : {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify}) {
                if (bar->AlignAction(a)->isChecked())
                    checked.append(int(a));
            }
            return checked;
        };
        QCOMPARE(checkedAlignments(), QList<int>{int(Qt::AlignLeft)});
        editor->LoadRtf("{\\rtf1 left\\par\\qr right\\par}");
        c = editor->textCursor();
        c.movePosition(QTextCursor::End);
        editor->setTextCursor(c);
        QCOMPARE(checkedAlignments(), QList<int>{int(Qt::AlignRight)});
        c.movePosition(QTextCursor::Start);
        editor->setTextCursor(c);
        QCOMPARE(checkedAlignments(), QList<int>{int(Qt::AlignLeft)});
        editor->DetachToolBar();
        QVERIFY(!bar->ItalicAction()->isEnabled());
        // Attached again, the bar serves the editor again.
        editor->AttachToolBar(bar);
        QVERIFY(bar->ItalicAction()->isEnabled());
    }

    // Loading is not an edit: undo right after it leaves the loaded text, and a typed word is undone alone.
    void loadingCannotBeUndone()
    {
        TVelRichEdit editor;
        editor.LoadRtf("{\\rtf1 loaded\\par}");
        QVERIFY(!editor.document()->isUndoAvailable());
        QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor.toPlainText(), QStringLiteral("loaded"));
        editor.moveCursor(QTextCursor::End);
        QTest::keyClicks(&editor, QStringLiteral(" more"));
        QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor.toPlainText(), QStringLiteral("loaded"));
    }

    // The bar showing the caret's format changes nothing: selecting text of mixed fonts and sizes keeps them.
    void showingTheFormatChangesNothing()
    {
        QWidget window;
        auto* bar = new TVelRichToolBar(&window);
        auto* editor = new TVelRichEdit(&window);
        editor->AttachToolBar(bar);
        editor->LoadRtf(
            "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}"
            "\\f0\\fs20 small {\\f1\\fs40\\cf1 big}\\par}");
        const QByteArray before = editor->Rtf();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(editor->textCursor().hasSelection());
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClick(editor, Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(editor->Rtf(), before);
        QVERIFY(!editor->document()->isModified());
    }

    // Normal takes bold, italic, underline and strike-out off the selection; only bars that ask show it.
    void normalMakesTextPlain()
    {
        QWidget window;
        auto* bar = new TVelRichToolBar(&window);
        auto* editor = new TVelRichEdit(&window);
        QVERIFY(!bar->NormalAction()->isVisible());
        bar->SetNormalVisible(true);
        QVERIFY(bar->NormalAction()->isVisible());
        editor->AttachToolBar(bar);
        editor->LoadRtf("{\\rtf1 {\\b\\i\\ul\\strike\\cf2 styled}\\par}");
        editor->selectAll();
        bar->NormalAction()->trigger();
        QVERIFY(!bar->BoldAction()->isChecked());
        QTextDocument doc;
        ReadRtf(editor->Rtf(), doc);
        const QTextCharFormat f = doc.begin().begin().fragment().charFormat();
        QVERIFY(f.fontWeight() < QFont::DemiBold);
        QVERIFY(!f.fontItalic());
        QVERIFY(!f.fontUnderline());
        QVERIFY(!f.fontStrikeOut());
        QCOMPARE(doc.toPlainText(), QStringLiteral("styled"));
    }

    void notifications()
    {
        TVelRichEdit editor;
        int keys = 0;
        connect(&editor, &TVelRichEdit::keyPressed, this, [&keys](int, Qt::KeyboardModifiers) { ++keys; });
        QTest::keyClick(&editor, Qt::Key_X);
        QCOMPARE(keys, 1);
        QTest::keyClick(&editor, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(editor.textCursor().hasSelection());
    }

    // A text wraps in the editor where the page's painting wraps it: same lines at every zoom.
    void wrapsAsThePageDraws_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("rtf");
        const QByteArray texts[] = {
            "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Dentist 9am\\par}",
            "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Birthday party at the Smiths with cake and "
            "presents\\par}",
            "{\\rtf1{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 Thanksgiving \\b dinner\\b0  with the "
            "whole family and \\fs16 friends\\par Second paragraph here\\par}"};
        for (int zoom : {50, 60, 100, 150}) {
            for (int width : {51, 85, 140}) {
                for (int i = 0; i < 3; ++i)
                    QTest::addRow("%d%% %dpx text %d", zoom, width, i) << zoom << width << texts[i];
            }
        }
    }

    void wrapsAsThePageDraws()
    {
        QFETCH(int, zoom);
        QFETCH(int, width);
        QFETCH(QByteArray, rtf);
        TVelRichEdit editor;
        editor.resize(width, 400);
        editor.LoadRtf(rtf);
        editor.SetZoomPercent(zoom);
        // The width on screen at the zoom, given as the unzoomed page in twips.
        editor.SetPageSizeTwips(int(std::nearbyint(width * 15.0 * 100.0 / zoom)), 1440);
        QCOMPARE(editor.lineWrapColumnOrWidth(), width);
        editor.document()->size();

        QTextDocument drawn;
        ReadRtf(rtf, drawn);
        QImage scratch(width, 400, QImage::Format_RGB32);
        QPainter painter(&scratch);
        RenderDocument(painter, drawn, scratch.rect(), zoom);
        QCOMPARE(LineCount(*editor.document()), LineCount(drawn));
    }

    // Without a page the text wraps at the editor's own width; with one at the page's width on screen.
    void wrapModeFollowsThePage_data()
    {
        QTest::addColumn<bool>("wordWrap");
        QTest::addColumn<int>("widthTwips");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("width");
        QTest::newRow("no page") << true << 0 << int(QTextEdit::WidgetWidth) << 0;
        QTest::newRow("one inch at 60%") << true << 1440 << int(QTextEdit::FixedPixelWidth) << 58;
        QTest::newRow("one pixel") << true << 15 << int(QTextEdit::FixedPixelWidth) << 1;
        QTest::newRow("no word wrap") << false << 1440 << int(QTextEdit::NoWrap) << -1;
    }

    void wrapModeFollowsThePage()
    {
        QFETCH(bool, wordWrap);
        QFETCH(int, widthTwips);
        QFETCH(int, mode);
        QFETCH(int, width);
        TVelRichEdit editor;
        editor.SetZoomPercent(60);
        editor.SetWordWrap(wordWrap);
        editor.SetPageSizeTwips(widthTwips, 1440);
        QCOMPARE(int(editor.lineWrapMode()), mode);
        if (mode == QTextEdit::FixedPixelWidth)
            QCOMPARE(editor.lineWrapColumnOrWidth(), width);
    }

    // Only data the editor can use reaches Qt's insertion, which reads past an empty clipboard.
    void pasteTakesOnlyUsableData_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing") << QString() << QStringLiteral("ab");
        QTest::newRow("unknown format") << QStringLiteral("application/x-unknown") << QStringLiteral("ab");
        QTest::newRow("plain text") << QStringLiteral("text/plain") << QStringLiteral("a-b");
        QTest::newRow("html") << QStringLiteral("text/html") << QStringLiteral("a-b");
        QTest::newRow("picture") << QStringLiteral("image") << (QStringLiteral("a") + QChar(0xFFFC) + u'b');
    }

    void pasteTakesOnlyUsableData()
    {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        TVelRichEdit editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.LoadRtf("{\\rtf1 ab\\par}");
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(1);
        editor.setTextCursor(cursor);
        auto* data = new QMimeData;
        if (format == QStringLiteral("image")) {
            QImage picture(4, 3, QImage::Format_RGB32);
            picture.fill(Qt::blue);
            data->setImageData(picture);
        } else if (format == QStringLiteral("text/html")) {
            data->setHtml(QStringLiteral("<b>-</b>"));
        } else if (!format.isEmpty()) {
            data->setData(format, "-");
        }
        QApplication::clipboard()->setMimeData(data);
        QCOMPARE(editor.canPaste(), !expected.startsWith(QStringLiteral("ab")));
        QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor.toPlainText(), expected);
        QApplication::clipboard()->clear();
    }

    // Text dragged onto the editor goes in where it is dropped, unless a handler of the drop takes it.
    void droppedTextGoesIn_data()
    {
        QTest::addColumn<bool>("taken");
        QTest::newRow("nobody takes the drop") << false;
        QTest::newRow("a handler takes the drop") << true;
    }
    void droppedTextGoesIn()
    {
        QFETCH(bool, taken);
        TVelRichEdit editor;
        editor.resize(300, 100);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.LoadRtf("{\\rtf1 Dentist\\par}");
        connect(&editor, &TVelRichEdit::dropped, &editor, [taken](QDropEvent* event, bool& handled) {
            if (taken) {
                event->acceptProposedAction();
                handled = true;
            }
        });
        QMimeData data;
        data.setText(QStringLiteral("Lunch "));
        // At the start of the text, where the cursor stands before the first letter.
        const QPoint at = editor.cursorRect(QTextCursor(editor.document())).center();
        QWidget* viewport = editor.viewport();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &drop);
        QCOMPARE(editor.toPlainText(), taken ? QStringLiteral("Dentist") : QStringLiteral("Lunch Dentist"));
    }
};

QTEST_MAIN(TestRichEdit)
#include "tst_richedit.moc"
