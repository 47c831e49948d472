#include "richtext/RtfPicture.h"
#include "richtext/RtfReader.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

using richtext::PlainText;
using richtext::ReadRtf;

namespace {

const QString kRtf = QStringLiteral(DATORIA_TEST_DATA "/rtf");

QByteArray Load(const QString& relative)
{
    QFile file(kRtf + u'/' + relative);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

/** The text of a document read from the bytes; or, where reading the text alone gives another, both. */
QString Text(const QByteArray& rtf)
{
    QTextDocument document;
    ReadRtf(rtf, document);
    QString alone;
    richtext::ReadRtfText(rtf, alone);
    const QString text = PlainText(document);
    return alone == text ? text : QStringLiteral("document: \"%1\", text alone: \"%2\"").arg(text, alone);
}

/** The first fragment whose text contains needle. */
QTextFragment Fragment(const QTextDocument& document, const QString& needle)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(needle))
                return it.fragment();
        }
    }
    return QTextFragment();
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every corpus file is read, and its text is what LibreOffice reads, except where LibreOffice is wrong or
    // where we read differently on purpose.
    void corpusText_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("difference");
        const QHash<QString, QString> different = {
            {QStringLiteral("rpk_font_cpg65001_utf8"), QStringLiteral("we honour the font's \\cpg65001")},
            {QStringLiteral("strip_minimal_table"),
             QStringLiteral("table cells become tabs, rows paragraphs")},
            {QStringLiteral("11_symbol"), QStringLiteral("Symbol-font bytes become real characters")},
            {QStringLiteral("28_upr"), QStringLiteral("only the Unicode branch of \\upr is shown")},
            {QStringLiteral("37_fallback_crosses_group"),
             QStringLiteral("fallback skipping stops at a brace")},
            {QStringLiteral("tika_cocoa_invalid_unicode_surrogates"),
             QStringLiteral("a lone surrogate does not swallow the space after it")},
        };
        QDir dir(kRtf);
        QStringList files = dir.entryList({QStringLiteral("*.rtf")}, QDir::Files);
        for (const QString& f :
             QDir(kRtf + QStringLiteral("/edge")).entryList({QStringLiteral("*.rtf")}, QDir::Files))
            files.append(QStringLiteral("edge/") + f);
        QVERIFY(files.size() > 60);
        for (const QString& file : files) {
            const QString base = QFileInfo(file).completeBaseName();
            QFile expected(kRtf + QStringLiteral("/expected/soffice/") + base + QStringLiteral(".txt"));
            QString text;
            if (expected.open(QIODevice::ReadOnly))
                text = QString::fromUtf8(expected.readAll());
            else
                text = QStringLiteral("<none>"); // LibreOffice gave nothing: the file is only read
            QTest::newRow(qPrintable(base)) << file << text << different.value(base);
        }
    }
    void corpusText()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        QFETCH(QString, difference);
        const QByteArray bytes = Load(file);
        QVERIFY(!bytes.isEmpty());
        QString ours = Text(bytes);
        if (expected == QLatin1String("<none>"))
            return;
        auto normalise = [](QString s) {
            if (s.startsWith(QChar(0xFEFF)))
                s.remove(0, 1);
            s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            // LibreOffice's text drops em, en and quarter spaces and adds U+2006 before spaces of Cocoa text;
            // it writes lone surrogates as '?' where we write U+FFFD.
            for (QChar c : {QChar(0x2002), QChar(0x2003), QChar(0x2005), QChar(0x2006)})
                s.remove(c);
            s.replace(QChar(QChar::ReplacementCharacter), u'?');
            while (s.endsWith(u'\n'))
                s.chop(1);
            return s;
        };
        if (!difference.isEmpty())
            QEXPECT_FAIL("", qPrintable(difference), Continue);
        QCOMPARE(normalise(ours), normalise(expected));
    }

    // Every corpus file's text read alone is its document's text, whether or not that is LibreOffice's.
    void corpusTextAlone_data() { corpusText_data(); }
    void corpusTextAlone()
    {
        QFETCH(QString, file);
        const QByteArray bytes = Load(file);
        QVERIFY(!bytes.isEmpty());
        QTextDocument document;
        const richtext::RtfReadResult read = ReadRtf(bytes, document);
        QString alone;
        const richtext::RtfReadResult readAlone = richtext::ReadRtfText(bytes, alone);
        QCOMPARE(alone, PlainText(document));
        QCOMPARE(readAlone.openGroups, read.openGroups);
        QCOMPARE(readAlone.hasDocument, read.hasDocument);
    }

    void deliberateDifferences_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8 font code page")
            << QStringLiteral("rpk_font_cpg65001_utf8.rtf") << QStringLiteral("中國");
        QTest::newRow("table") << QStringLiteral("strip_minimal_table.rtf")
                               << QStringLiteral("cell 1\tcell 2\tcell 3\t");
        QTest::newRow("symbol font") << QStringLiteral("edge/11_symbol.rtf")
                                     << QStringLiteral("\u2022 \u03B1\u03B2 after");
        QTest::newRow("upr") << QStringLiteral("edge/28_upr.rtf") << QStringLiteral("\u03A9nicode");
        QTest::newRow("fallback and group")
            << QStringLiteral("edge/37_fallback_crosses_group.rtf") << QStringLiteral("A\u20ACxyzB");
        QTest::newRow("unclosed groups")
            << QStringLiteral("edge/07_unclosed.rtf") << QStringLiteral("Hello bold");
        QTest::newRow("over-long control word")
            << QStringLiteral("edge/31_longword.rtf") << QStringLiteral("AB");
        QTest::newRow("deep nesting") << QStringLiteral("edge/09_deep.rtf") << QStringLiteral("deep");
    }
    void deliberateDifferences()
    {
        QFETCH(QString, file);
        QFETCH(QString, text);
        QCOMPARE(Text(Load(file)), text);
    }

    void formats()
    {
        QTextDocument doc;
        ReadRtf(Load(QStringLiteral("rtfjs_riched20_colors_highlight.rtf")), doc);
        const QTextFragment colored = Fragment(doc, QStringLiteral("Colored Line"));
        QVERIFY(colored.isValid());
        QCOMPARE(colored.charFormat().foreground().color(), QColor(0, 255, 0));
        QCOMPARE(colored.charFormat().fontPointSize(), 8.5);
        QCOMPARE(colored.charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
        const QTextFragment highlighted = Fragment(doc, QStringLiteral("Highlighted Line"));
        QCOMPARE(highlighted.charFormat().background().color(), QColor(255, 0, 0));

        QTextDocument paragraphs;
        ReadRtf(Load(QStringLiteral("rtfjs_msftedit541_paragraph_props.rtf")), paragraphs);
        QCOMPARE(paragraphs.blockCount(), 5);
        QCOMPARE(paragraphs.findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        QCOMPARE(paragraphs.findBlockByNumber(3).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);

        QTextDocument styles;
        ReadRtf(QByteArray("{\\rtf1 plain {\\b bold} {\\i\\ul\\strike all}\\par}"), styles);
        QVERIFY(Fragment(styles, QStringLiteral("bold")).charFormat().fontWeight() == QFont::Bold);
        QVERIFY(Fragment(styles, QStringLiteral("plain")).charFormat().fontWeight() != QFont::Bold);
        const QTextCharFormat all = Fragment(styles, QStringLiteral("all")).charFormat();
        QVERIFY(all.fontItalic() && all.fontUnderline() && all.fontStrikeOut());

        // With a default font other than 0, text set in \f0 takes font 0: its family and its code page.
        QTextDocument fonts;
        ReadRtf(QByteArray("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fcharset204 Courier New;}{\\f1 Arial;}}"
                           "{\\f0 mono \\'e0}{ plain \\'e0}\\par}"),
                fonts);
        const QTextFragment mono = Fragment(fonts, QStringLiteral("mono"));
        QCOMPARE(mono.charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
        QCOMPARE(mono.text(), QStringLiteral("mono \u0430"));
        const QTextFragment plain = Fragment(fonts, QStringLiteral("plain"));
        QCOMPARE(plain.charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
        QCOMPARE(plain.text(), QStringLiteral(" plain \u00E0"));

        QTextDocument super;
        ReadRtf(Load(QStringLiteral("rtfjs_cocoa_super_sub.rtf")), super);
        bool sawSuper = false, sawSub = false;
        for (auto it = super.begin().begin(); !it.atEnd(); ++it) {
            sawSuper |= it.fragment().charFormat().verticalAlignment() == QTextCharFormat::AlignSuperScript;
            sawSub |= it.fragment().charFormat().verticalAlignment() == QTextCharFormat::AlignSubScript;
        }
        QVERIFY(sawSuper && sawSub);
    }

    // Font tables as different writers make them: the family and code page the text is read with.
    void fontTables_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("text");
        // The first paragraph is complete before any group after the font table closes.
        QTest::newRow("names closed by their group, no semicolons")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial}{\\f1 Courier New}}\\f1 mono\\par two\\par}")
            << QStringLiteral("Courier New") << QStringLiteral("mono\ntwo");
        QTest::newRow("names closed by their group, spaces around")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial}{\\f1  Courier New }}\\f1 mono\\par}")
            << QStringLiteral("Courier New") << QStringLiteral("mono");
        QTest::newRow("a number defined twice takes the later definition whole")
            << QByteArray(
                   "{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f0 Courier New;}}\\f0 mono \\'e0\\par}")
            << QStringLiteral("Courier New") << QStringLiteral("mono \u00E0");
        // Symbol fonts: the Symbol font's letters are Greek; Wingdings keeps the private-use code points of
        // its glyphs whatever character set the table gives it (Word writes \fcharset2).
        QTest::newRow("Wingdings of the symbol character set")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset2 Wingdings;}}\\f0 \\'4aJ\\par}")
            << QStringLiteral("Wingdings") << QStringLiteral("\uF04A\uF04A");
        QTest::newRow("Wingdings of the Western character set")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset0 Wingdings;}}\\f0 \\'4aJ\\par}")
            << QStringLiteral("Wingdings") << QStringLiteral("\uF04A\uF04A");
        QTest::newRow("Symbol of the symbol character set")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset2 Symbol;}}\\f0 \\'61b\\par}")
            << QStringLiteral("Symbol") << QStringLiteral("\u03B1\u03B2");
        QTest::newRow("hexadecimal bytes in capitals")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Stra\\'DFe \\'FC\\'C9\\'AF\\par}")
            << QStringLiteral("Arial") << QStringLiteral("Stra\u00DFe \u00FC\u00C9\u00AF");
        QTest::newRow("line breaks of the file inside words")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Hel\r\nlo wor\nld\rly\\par}")
            << QStringLiteral("Arial") << QStringLiteral("Hello worldly");
        QTest::newRow("entries without groups")
            << QByteArray("{\\rtf1{\\fonttbl\\f0 Arial;\\f1 Courier New;}\\f1 mono\\par}")
            << QStringLiteral("Courier New") << QStringLiteral("mono");
    }
    void fontTables()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, family);
        QFETCH(QString, text);
        QTextDocument doc;
        ReadRtf(rtf, doc);
        QCOMPARE(doc.toPlainText(), text);
        const QTextFragment run = Fragment(doc, text.section(u'\n', 0, 0));
        QVERIFY(run.isValid());
        QCOMPARE(run.charFormat().fontFamilies().toStringList().value(0), family);
    }

    // Raised and lowered text: \up and \dn raise or lower by their amount, and by none with a zero.
    void verticalPositions_data()
    {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<int>("alignment");
        QTest::newRow("super") << QByteArray("\\super") << int(QTextCharFormat::AlignSuperScript);
        QTest::newRow("sub") << QByteArray("\\sub") << int(QTextCharFormat::AlignSubScript);
        QTest::newRow("up 6") << QByteArray("\\up6") << int(QTextCharFormat::AlignSuperScript);
        QTest::newRow("up without amount") << QByteArray("\\up") << int(QTextCharFormat::AlignSuperScript);
        QTest::newRow("up 0") << QByteArray("\\super\\up0") << int(QTextCharFormat::AlignNormal);
        QTest::newRow("down 6") << QByteArray("\\dn6") << int(QTextCharFormat::AlignSubScript);
        QTest::newRow("down without amount") << QByteArray("\\dn") << int(QTextCharFormat::AlignSubScript);
        QTest::newRow("down 0") << QByteArray("\\sub\\dn0") << int(QTextCharFormat::AlignNormal);
        QTest::newRow("neither") << QByteArray("\\super\\nosupersub") << int(QTextCharFormat::AlignNormal);
    }
    void verticalPositions()
    {
        QFETCH(QByteArray, word);
        QFETCH(int, alignment);
        QTextDocument doc;
        ReadRtf("{\\rtf1 H{" + word + " 2}O\\par}", doc);
        QCOMPARE(doc.toPlainText(), QStringLiteral("H2O"));
        QCOMPARE(int(Fragment(doc, QStringLiteral("2")).charFormat().verticalAlignment()), alignment);
        QCOMPARE(int(Fragment(doc, QStringLiteral("O")).charFormat().verticalAlignment()),
                 int(QTextCharFormat::AlignNormal));
    }

    // Each paragraph-ending word of the file ends a paragraph (table rows and sections become paragraphs);
    // \line breaks the line inside one.
    void paragraphBreaks_data()
    {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<int>("paragraphs");
        for (const char* word : {"par", "row", "nestrow", "sect", "page"})
            QTest::newRow(word) << QByteArray(word) << 2;
        QTest::newRow("line") << QByteArray("line") << 1;
    }
    void paragraphBreaks()
    {
        QFETCH(QByteArray, word);
        QFETCH(int, paragraphs);
        QTextDocument doc;
        ReadRtf("{\\rtf1 one\\" + word + " two\\par}", doc);
        QCOMPARE(doc.toPlainText(), QStringLiteral("one\ntwo"));
        QCOMPARE(doc.blockCount(), paragraphs);
    }

    // Indents in twips become pixels at 96 dots per inch: 15 twips a pixel.
    void paragraphIndents()
    {
        QTextDocument doc;
        ReadRtf("{\\rtf1\\li720\\ri360\\fi-360 hanging\\par}", doc);
        const QTextBlockFormat f = doc.begin().blockFormat();
        QCOMPARE(f.leftMargin(), 48.0);
        QCOMPARE(f.rightMargin(), 24.0);
        QCOMPARE(f.textIndent(), -24.0);
    }

    // Read from a part of a larger buffer, the reader stops at the part's end, even inside a number.
    void readingStopsAtTheEndOfThePart()
    {
        const QByteArray buffer("{\\rtf1 x\\u65?\\u66"
                                "7");
        QTextDocument doc;
        ReadRtf(QByteArrayView(buffer).first(buffer.size() - 1), doc);
        QCOMPARE(doc.toPlainText(), QStringLiteral("xAB"));
    }

    void hyperlinks()
    {
        QTextDocument doc;
        ReadRtf(Load(QStringLiteral("rtfjs_msftedit541_hyperlink_field.rtf")), doc);
        bool found = false;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                found |= it.fragment().charFormat().anchorHref().startsWith(QLatin1String("http"));
        QVERIFY(found);
    }

    // A bare DIB: the pixels follow the header, after the three colour masks only when it declares them.
    void dibPictures_data()
    {
        QTest::addColumn<QByteArray>("dib");
        // 2 x 1 pixels, red then blue.
        QTest::newRow("24 bits") << QByteArray::fromHex(
            "28000000020000000100000001001800000000000000000000000000000000000000000000000000"
            "0000ff ff0000 0000");
        QTest::newRow("32 bits with masks") << QByteArray::fromHex(
            "28000000020000000100000001002000030000000000000000000000000000000000000000000000"
            "0000ff00 00ff0000 ff000000"
            "0000ff00 ff000000");
    }
    void dibPictures()
    {
        QFETCH(QByteArray, dib);
        const QImage image = richtext::DecodePicture(richtext::PictureKind::Dib, dib);
        QCOMPARE(image.size(), QSize(2, 1));
        QCOMPARE(QColor(image.pixel(0, 0)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(1, 0)), QColor(Qt::blue));
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("decoded");
        QTest::newRow("png as hex") << QStringLiteral("rtfjs_pict_pngblip_hex.rtf") << 1 << true;
        QTest::newRow("png as binary") << QStringLiteral("rtfjs_pict_pngblip_bin.rtf") << 1 << true;
        QTest::newRow("bitmaps inside metafiles")
            << QStringLiteral("rtfjs_msftedit541_wmetafile8_dib.rtf") << 3 << true;
        // Its PNG is only a signature: kept as it came, and the metafile fallback is not shown as well.
        QTest::newRow("shppict, not its fallback") << QStringLiteral("edge/22_shppict.rtf") << 1 << false;
    }
    void pictures()
    {
        QFETCH(QString, file);
        QFETCH(int, count);
        QFETCH(bool, decoded);
        QTextDocument doc;
        ReadRtf(Load(file), doc);
        int images = 0;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (!f.isImageFormat())
                    continue;
                ++images;
                const QTextImageFormat image = f.toImageFormat();
                QVERIFY(image.width() > 0 && image.height() > 0);
                const QImage pixels =
                    doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
                QVERIFY(!pixels.isNull());
                QCOMPARE(!image.hasProperty(richtext::kOriginalPictureData), decoded);
            }
        }
        QCOMPARE(images, count);
    }

    void pictureSizeFromGoalAndScale()
    {
        const QByteArray png = Load(QStringLiteral("rtfjs_pict_pngblip_hex.rtf"));
        QTextDocument doc;
        // 60 twips at 1000 percent: 600 twips, 40 pixels.
        QByteArray rtf = png;
        rtf.replace("\\pngblip", "\\pngblip\\picwgoal60\\pichgoal45\\picscalex1000\\picscaley1000");
        ReadRtf(rtf, doc);
        const QTextFragment image = Fragment(doc, QString(QChar::ObjectReplacementCharacter));
        QVERIFY(image.isValid());
        QCOMPARE(image.charFormat().toImageFormat().width(), 40.0);
        QCOMPARE(image.charFormat().toImageFormat().height(), 30.0);
    }

    // A picture the reader cannot show is kept as it came and shown as a grey box of its size; a box of the
    // largest size is a small grey picture stretched, not 20000 pixels square held in memory.
    void unknownPictureIsKept_data()
    {
        QTest::addColumn<QByteArray>("size");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("small") << QByteArray("\\picwgoal300\\pichgoal150") << 20.0 << 10.0 << QSize(20, 10);
        QTest::newRow("largest") << QByteArray("\\picwgoal3000000\\pichgoal1500000") << 20000.0 << 20000.0
                                 << QSize(64, 64);
        QTest::newRow("wide") << QByteArray("\\picwgoal150000\\pichgoal15000") << 10000.0 << 1000.0
                              << QSize(64, 6);
    }
    void unknownPictureIsKept()
    {
        QFETCH(QByteArray, size);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(QSize, pixels);
        QTextDocument doc;
        ReadRtf("{\\rtf1 a{\\pict\\emfblip" + size + " 0102030405}b\\par}", doc);
        const QTextFragment image = Fragment(doc, QString(QChar::ObjectReplacementCharacter));
        QVERIFY(image.isValid());
        const QTextImageFormat f = image.charFormat().toImageFormat();
        QCOMPARE(f.property(richtext::kOriginalPictureData).toByteArray(),
                 QByteArray("\x01\x02\x03\x04\x05"));
        QCOMPARE(f.width(), width);
        QCOMPARE(f.height(), height);
        const QImage box = doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
        QCOMPARE(box.size(), pixels);
        QCOMPARE(box.pixelColor(box.width() - 1, box.height() - 1), QColor(0xE0, 0xE0, 0xE0));
    }

    // The text read alone is the document's text, where a document makes paragraphs of characters and
    // leaves pictures out: the plain-text conversion relies on it.
    void textAloneIsTheDocumentsText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("openGroups");
        QTest::newRow("CR LF in one run is one line end")
            << QByteArray("{\\rtf1 a\\u13?\\u10?b}") << "a\nb" << 0;
        QTest::newRow("CR and LF in two runs are two")
            << QByteArray("{\\rtf1 a\\u13?{\\b\\u10?}b}") << "a\n\nb" << 0;
        QTest::newRow("LF CR is two") << QByteArray("{\\rtf1 a\\u10?\\u13?b}") << "a\n\nb" << 0;
        QTest::newRow("CR at the end") << QByteArray("{\\rtf1 a\\u13?}") << "a\n" << 0;
        QTest::newRow("separators and frame marks")
            << QByteArray("{\\rtf1 a\\u8232?b\\u8233?c\\u-560?d\\u-559?e}") << "a\nb\nc\nd\ne" << 0;
        QTest::newRow("object character left out") << QByteArray("{\\rtf1 a\\u-4?b}") << "ab" << 0;
        QTest::newRow("picture after the last paragraph mark")
            << QByteArray("{\\rtf1 a\\par{\\pict\\pngblip 0102}}") << "a\n"
            << 0;
        QTest::newRow("picture between words")
            << QByteArray("{\\rtf1 a{\\pict\\wmetafile8 0102}b\\par}") << "ab" << 0;
        QTest::newRow("empty picture") << QByteArray("{\\rtf1 a\\par{\\pict\\pngblip}}") << "a" << 0;
        QTest::newRow("hidden text") << QByteArray("{\\rtf1 a{\\v hidden}b\\par}") << "ab" << 0;
        QTest::newRow("hyperlink") << QByteArray(
                                          "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"http://x.org\"}"
                                          "{\\fldrslt x.org}} now\\par}")
                                   << "see x.org now" << 0;
        QTest::newRow("Windows-1252 bytes")
            << QByteArray("{\\rtf1\\ansi \\'80\\'81\\'9f\\'a0\\'ff \x80\x9f\xff\\par}")
            << QStringLiteral("\u20AC\u0081\u0178\u00A0\u00FF \u20AC\u0178\u00FF") << 0;
        QTest::newRow("symbol font") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0 ab\\'b7}")
                                     << QStringLiteral("\u03B1\u03B2\u2022") << 0;
        QTest::newRow("Wingdings") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Wingdings;}}\\f0 J\\'e8}")
                                   << QStringLiteral("\uF04A\uF0E8") << 0;
        QTest::newRow("cut short") << QByteArray("{\\rtf1 a{\\b b\\par c") << "ab\nc" << 2;
        QTest::newRow("no RTF") << QByteArray("plain") << "" << 0;
    }
    void textAloneIsTheDocumentsText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QFETCH(int, openGroups);
        QTextDocument document;
        const richtext::RtfReadResult read = ReadRtf(rtf, document);
        QString alone = QStringLiteral("left from before");
        const richtext::RtfReadResult readAlone = richtext::ReadRtfText(rtf, alone);
        QCOMPARE(PlainText(document), text);
        QCOMPARE(alone, text);
        QCOMPARE(read.openGroups, openGroups);
        QCOMPARE(readAlone.openGroups, openGroups);
        QCOMPARE(readAlone.hasDocument, read.hasDocument);
        QCOMPARE(read.hasDocument, rtf.startsWith('{'));
    }

    void lastParagraphMark()
    {
        QTextDocument one;
        ReadRtf(QByteArray("{\\rtf1 TestSomeText\\par}"), one);
        QCOMPARE(one.blockCount(), 1);
        QTextDocument two;
        ReadRtf(QByteArray("{\\rtf1 A\\par\\par}"), two);
        QCOMPARE(two.blockCount(), 2);
        QCOMPARE(PlainText(two), QStringLiteral("A\n"));
    }

    void hostileInput()
    {
        QCOMPARE(Text(QByteArray(300000, '{') + "x"), QStringLiteral("x"));
        QCOMPARE(Text("{\\rtf1 a\\bin2147483647 }"), QStringLiteral("a"));
        QCOMPARE(Text("{\\rtf1\\fs99999999999 big\\fs-5 neg}"), QStringLiteral("bigneg"));
        QCOMPARE(Text("{\\rtf1{\\pict\\pngblip 89504e470d0a1a0a0000}x}"), QStringLiteral("x"));
        QCOMPARE(Text("no rtf at all"), QString());
        QCOMPARE(Text("{\\rtf1 \\u55357?"), QStringLiteral("\uFFFD"));
    }
};

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
