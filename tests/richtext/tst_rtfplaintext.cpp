#include "richtext/RtfPlainText.h"
#include "richtext/RtfTokenizer.h"

#include <QTest>

#include <memory>

using richtext::RtfPlainText;
using richtext::RtfToken;
using richtext::RtfTokenizer;

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

    // The tokenizer reads views of other programs' bytes, which need not end in a NUL: a cut-off token at the
    // very end yields what it holds and ends there (the sanitizer build sees any read past the last byte).
    void tokensEndWithTheBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("types");
        QTest::newRow("backslash") << QByteArray("ab\\") << QList<int>{RtfToken::Text};
        QTest::newRow("word") << QByteArray("\\par") << QList<int>{RtfToken::Word};
        QTest::newRow("word with a sign")
            << QByteArray("\\li-") << QList<int>{RtfToken::Word, RtfToken::Text};
        QTest::newRow("half a hex byte") << QByteArray("x\\'4") << QList<int>{RtfToken::Text};
        QTest::newRow("binary longer than the rest")
            << QByteArray("\\bin9 ab") << QList<int>{RtfToken::Binary};
        QTest::newRow("symbol") << QByteArray("\\~") << QList<int>{RtfToken::Symbol};
    }
    void tokensEndWithTheBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, types);
        const auto exact = std::make_unique<char[]>(size_t(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), exact.get());
        RtfTokenizer tokenizer(QByteArrayView(exact.get(), bytes.size()));
        QList<int> seen;
        for (RtfToken t = tokenizer.Next(); t.type != RtfToken::End && seen.size() < 10; t = tokenizer.Next())
            seen.append(t.type);
        QCOMPARE(seen, types);
        QCOMPARE(tokenizer.Position(), bytes.size());
    }
};

QTEST_GUILESS_MAIN(TestRtfPlainText)
#include "tst_rtfplaintext.moc"
