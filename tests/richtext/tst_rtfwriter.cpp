#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

using namespace richtext;

namespace {

QByteArray Rewrite(const QByteArray& rtf)
{
    QTextDocument doc;
    ReadRtf(rtf, doc);
    return WriteRtf(doc);
}

QByteArray WriteText(const QString& text)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(text);
    return WriteRtf(doc);
}

} // namespace

class TestRtfWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void richEditShape()
    {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("Arial")));
        QTextCursor cursor(&doc);
        cursor.insertText(QStringLiteral("one"));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("two"));
        const QByteArray rtf = WriteRtf(doc);
        QVERIFY2(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{"
                                "\\f0\\fnil\\fcharset0 Arial;}}\r\n"),
                 rtf.constData());
        QCOMPARE(rtf.count("\\uc1"), 1);
        QVERIFY(rtf.contains("\\viewkind4\\uc1 \\pard one\\par\r\n\\pard two\\par\r\n}\r\n"));
        // Read back, the final \par adds no paragraph.
        QTextDocument back;
        ReadRtf(rtf, back);
        QCOMPARE(back.blockCount(), 2);
    }

    void text_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("Windows-1252 as hex")
            << QStringLiteral("caf\u00E9 \u20AC") << QByteArray("caf\\'e9 \\'80");
        QTest::newRow("other characters as \\u") << QStringLiteral("\u03A9") << QByteArray("\\u937?");
        QTest::newRow("above 32767 negative") << QStringLiteral("\uF0B7") << QByteArray("\\u-3913?");
        QTest::newRow("surrogates one by one")
            << QStringLiteral("\U0001F600") << QByteArray("\\u-10179?\\u-8704?");
        QTest::newRow("braces and backslash") << QStringLiteral("{a}\\") << QByteArray("\\{a\\}\\\\");
        QTest::newRow("tab and line") << QStringLiteral("a\tb\u2028c") << QByteArray("a\\tab b\\line c");
        QTest::newRow("special spaces and hyphens")
            << QStringLiteral("a\u00A0b\u00ADc\u2011d") << QByteArray("a\\~b\\-c\\_d");
    }
    void text()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        const QByteArray rtf = WriteText(text);
        QVERIFY2(rtf.contains(written), rtf.constData());
        QTextDocument back;
        ReadRtf(rtf, back);
        QCOMPARE(PlainText(back), QString(text).replace(QChar(QChar::LineSeparator), u'\n'));
    }

    // A document built in code keeps its formats through writing and reading.
    void formatsSurvive()
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        centred.setLeftMargin(48);
        centred.setBottomMargin(10);
        cursor.setBlockFormat(centred);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        bold.setFontPointSize(14);
        bold.setFontFamilies({QStringLiteral("Times New Roman")});
        cursor.insertText(QStringLiteral("Bold"), bold);
        QTextCharFormat red;
        red.setForeground(QColor(255, 0, 0));
        red.setBackground(QColor(255, 255, 0));
        red.setFontItalic(true);
        red.setFontUnderline(true);
        red.setFontStrikeOut(true);
        red.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        cursor.insertText(QStringLiteral("Red"), red);
        QTextCharFormat link;
        link.setAnchor(true);
        link.setAnchorHref(QStringLiteral("https://example.org/a b"));
        cursor.insertText(QStringLiteral("Link"), link);
        cursor.insertBlock(QTextBlockFormat());
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::blue);
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("img")), image);
        QTextImageFormat picture;
        picture.setName(QStringLiteral("img"));
        picture.setWidth(40);
        picture.setHeight(30);
        cursor.insertImage(picture);

        const QByteArray rtf = WriteRtf(doc);
        QTextDocument back;
        ReadRtf(rtf, back);
        QCOMPARE(back.blockCount(), 2);
        const QTextBlock first = back.begin();
        QCOMPARE(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(first.blockFormat().leftMargin(), 48.0);
        QCOMPARE(first.blockFormat().bottomMargin(), 10.0);
        QList<QTextFragment> fragments;
        for (auto it = first.begin(); !it.atEnd(); ++it)
            fragments.append(it.fragment());
        QCOMPARE(fragments.size(), 3);
        QCOMPARE(fragments[0].text(), QStringLiteral("Bold"));
        QCOMPARE(fragments[0].charFormat().fontWeight(), int(QFont::Bold));
        QCOMPARE(fragments[0].charFormat().fontPointSize(), 14.0);
        QCOMPARE(fragments[0].charFormat().fontFamilies().toStringList().value(0),
                 QStringLiteral("Times New Roman"));
        const QTextCharFormat r = fragments[1].charFormat();
        QCOMPARE(r.foreground().color(), QColor(255, 0, 0));
        QCOMPARE(r.background().color(), QColor(255, 255, 0));
        QVERIFY(r.fontItalic() && r.fontUnderline() && r.fontStrikeOut());
        QCOMPARE(r.verticalAlignment(), QTextCharFormat::AlignSuperScript);
        QCOMPARE(fragments[2].charFormat().anchorHref(), QStringLiteral("https://example.org/a b"));
        QVERIFY(fragments[2].charFormat().fontWeight() != QFont::Bold);

        const QTextFragment img = back.lastBlock().begin().fragment();
        QVERIFY(img.charFormat().isImageFormat());
        QCOMPARE(img.charFormat().toImageFormat().width(), 40.0);
        const QImage pixels =
            back.resource(QTextDocument::ImageResource, QUrl(img.charFormat().toImageFormat().name()))
                .value<QImage>();
        QCOMPARE(pixels.size(), QSize(4, 3));
        QCOMPARE(pixels.pixelColor(1, 1), QColor(Qt::blue));

        // Writing what was read gives the same bytes.
        QCOMPARE(WriteRtf(back), rtf);
    }

    // Every corpus file: read, write, read, write is stable and keeps the text.
    void corpusRoundTrip_data()
    {
        QTest::addColumn<QString>("path");
        const QString root = QStringLiteral(DATORIA_TEST_DATA "/rtf");
        for (const QString& f : QDir(root).entryList({QStringLiteral("*.rtf")}, QDir::Files))
            QTest::newRow(qPrintable(f)) << root + u'/' + f;
        for (const QString& f :
             QDir(root + QStringLiteral("/edge")).entryList({QStringLiteral("*.rtf")}, QDir::Files))
            QTest::newRow(qPrintable(f)) << root + QStringLiteral("/edge/") + f;
    }
    void corpusRoundTrip()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTextDocument original;
        ReadRtf(file.readAll(), original);
        const QByteArray once = WriteRtf(original);
        QTextDocument back;
        ReadRtf(once, back);
        QCOMPARE(PlainText(back), PlainText(original));
        QCOMPARE(back.blockCount(), original.blockCount());
        QCOMPARE(Rewrite(once), once);
    }

    void unknownPictureIsWrittenBack()
    {
        const QByteArray rtf =
            Rewrite("{\\rtf1 a{\\pict\\emfblip\\picwgoal300\\pichgoal150 0102030405}b\\par}");
        QVERIFY2(rtf.contains("{\\pict\\emfblip"), rtf.constData());
        QVERIFY(rtf.contains("0102030405"));
    }
};

QTEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
