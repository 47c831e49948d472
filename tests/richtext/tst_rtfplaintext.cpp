#include "richtext/RtfPlainText.h"

#include <QTest>

using richtext::RtfPlainText;

class TestRtfPlainText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plainText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("tables are not text")
            << QByteArray(
                   "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
                   "\\f0\\fs20 Birthday\\par}")
            << QStringLiteral("Birthday");
        QTest::newRow("paragraphs and tabs") << QByteArray("{\\rtf1 one\\par two\\tab three\\line four\\par}")
                                             << QStringLiteral("one\ntwo\tthree\nfour");
        // Capitals belong to a control word, as the reader takes them: an unknown word leaves no text.
        QTest::newRow("control word with capitals")
            << QByteArray("{\\rtf1 x\\fooAbar y}") << QStringLiteral("xy");
        QTest::newRow("hex in Windows-1252")
            << QByteArray("{\\rtf1 caf\\'e9 \\'80}") << QStringLiteral("caf\u00E9 \u20AC");
        QTest::newRow("unicode with fallback")
            << QByteArray("{\\rtf1\\uc1 \\u937?\\u-3913?x}") << QStringLiteral("\u03A9\uF0B7x");
        QTest::newRow("uc2 skips two") << QByteArray("{\\rtf1\\uc2\\u8364 EUx}") << QStringLiteral("\u20ACx");
        QTest::newRow("ignorable destination")
            << QByteArray("{\\rtf1{\\*\\generator Msftedit;}Hi}") << QStringLiteral("Hi");
        QTest::newRow("ignorable destination of no known name")
            << QByteArray("{\\rtf1{\\*\\myannotation hidden}Hi}") << QStringLiteral("Hi");
        QTest::newRow("escaped braces") << QByteArray("{\\rtf1 a\\{b\\}c\\\\}") << QStringLiteral("a{b}c\\");
        QTest::newRow("picture skipped")
            << QByteArray("{\\rtf1 x{\\pict\\pngblip 89504e47}y}") << QStringLiteral("xy");
        QTest::newRow("unbalanced braces") << QByteArray("{\\rtf1 a}}}b{{") << QStringLiteral("ab");
    }
    void plainText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(RtfPlainText(rtf), text);
    }

    void hostileInputIsBounded()
    {
        QVERIFY(RtfPlainText(QByteArray(200000, '{')).isEmpty());
        QCOMPARE(RtfPlainText(QByteArray("{\\rtf1\\bin999999999 abc}")), QString());
        QCOMPARE(RtfPlainText(QByteArray("\\")), QString());
    }
};

QTEST_GUILESS_MAIN(TestRtfPlainText)
#include "tst_rtfplaintext.moc"
