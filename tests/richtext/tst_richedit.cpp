#include "richtext/RtfReader.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"
#include "richtext/TVelRtfStorage.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace richtext;

class TestRichEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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

    void currentAttributes()
    {
        TVelRichEdit editor;
        const CharAttributes wanted{QStringLiteral("Arial"), 12, false, true, false, true, 12};
        editor.SetCurrentAttributes(wanted);
        QCOMPARE(editor.CurrentAttributes(), wanted);
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
        editor->DetachToolBar();
        QVERIFY(!bar->ItalicAction()->isEnabled());
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
};

QTEST_MAIN(TestRichEdit)
#include "tst_richedit.moc"
