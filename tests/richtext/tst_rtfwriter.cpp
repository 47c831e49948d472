#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
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

/** Every corpus file: its name without extension, and its path. */
QList<std::pair<QString, QString>> CorpusFiles()
{
    QList<std::pair<QString, QString>> files;
    const QString root = QStringLiteral(DATORIA_TEST_DATA "/rtf");
    for (const QString& folder : {root, root + QStringLiteral("/edge")}) {
        for (const QString& f : QDir(folder).entryList({QStringLiteral("*.rtf")}, QDir::Files))
            files.append({QFileInfo(f).completeBaseName(), folder + u'/' + f});
    }
    return files;
}

/** A paragraph ending in superscript then subscript, and one after it. */
void SuperAndSubAtParagraphEnd(QTextDocument& doc)
{
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("one "));
    QTextCharFormat sup;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    cursor.insertText(QStringLiteral("sup"), sup);
    QTextCharFormat sub;
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    cursor.insertText(QStringLiteral("sub"), sub);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("two "), QTextCharFormat());
    cursor.insertText(QStringLiteral("2"), sup);
}

/**
 * LibreOffice's plain text of each RTF (by name), from one batch conversion; empty when LibreOffice is not
 * installed. Names whose file LibreOffice could not load are missing from the result.
 */
std::optional<QHash<QString, QString>> LibreOfficeTexts(const QHash<QString, QByteArray>& rtfs)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return std::nullopt;
    QTemporaryDir dir;
    QStringList arguments = {
        // A profile of its own, so a running LibreOffice or a missing home folder does not matter.
        QStringLiteral("-env:UserInstallation=") +
            QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
        QStringLiteral("--headless"),
        QStringLiteral("--convert-to"),
        QStringLiteral("txt:Text (encoded):UTF8"),
        QStringLiteral("--outdir"),
        dir.filePath(QStringLiteral("txt"))};
    for (auto it = rtfs.cbegin(); it != rtfs.cend(); ++it) {
        QFile file(dir.filePath(it.key() + QStringLiteral(".rtf")));
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
            return std::nullopt;
        arguments.append(file.fileName());
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(soffice, arguments);
    if (!process.waitForFinished(240000))
        return std::nullopt;
    QHash<QString, QString> texts;
    for (auto it = rtfs.cbegin(); it != rtfs.cend(); ++it) {
        QFile text(dir.filePath(QStringLiteral("txt/") + it.key() + QStringLiteral(".txt")));
        if (text.open(QIODevice::ReadOnly))
            texts.insert(it.key(), QString::fromUtf8(text.readAll()));
    }
    return texts;
}

/** The words of a text, as a reader sees them: spaces of every kind separate words. */
QStringList Words(QString text)
{
    text.remove(QChar(0xFEFF));
    // LibreOffice gives a space in a symbol font as the symbol font's private-use code of a space.
    text.replace(QChar(0xF020), u' ');
    // It gives a lone surrogate as '?', where the document holds U+FFFD.
    text.replace(QChar(QChar::ReplacementCharacter), u'?');
    static const QRegularExpression spaces(QStringLiteral("\\s+"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    return text.split(spaces, Qt::SkipEmptyParts);
}

} // namespace

class TestRtfWriter : public QObject
{
    Q_OBJECT

    std::optional<QHash<QString, QString>> m_libreOffice;

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

    // Control characters and object marks without a picture have no place in the text and are left out.
    void controlCharactersAreLeftOut()
    {
        const QByteArray rtf = WriteText(QStringLiteral("a\u0001b\u001Fc\uFFFCd"));
        QVERIFY2(rtf.contains(" abcd\\par"), rtf.constData());
        QTextDocument back;
        ReadRtf(rtf, back);
        QCOMPARE(back.toPlainText(), QStringLiteral("abcd"));
    }

    // Font names and link targets go in Windows-1252 where it has the character, as the text does.
    void fontNamesAndLinksInWindows1252()
    {
        QTextDocument doc;
        QTextCharFormat format;
        format.setFontFamilies({QStringLiteral("Caf\u00E9 Sans")});
        QTextCursor cursor(&doc);
        cursor.insertText(QStringLiteral("menu "), format);
        QTextCharFormat link;
        link.setAnchor(true);
        link.setAnchorHref(QStringLiteral("https://example.org/caf\u00E9"));
        cursor.insertText(QStringLiteral("here"), link);
        const QByteArray rtf = WriteRtf(doc);
        QVERIFY2(rtf.contains("Caf\\'e9 Sans;}"), rtf.constData());
        QVERIFY2(rtf.contains("HYPERLINK \"https://example.org/caf\\'e9\""), rtf.constData());
    }

    // A named anchor without a target (a bookmark brought in with pasted HTML) is plain text, not a link.
    void anchorWithoutTargetIsNoLink()
    {
        QTextDocument doc;
        QTextCharFormat bookmark;
        bookmark.setAnchor(true);
        bookmark.setAnchorNames({QStringLiteral("top")});
        QTextCursor(&doc).insertText(QStringLiteral("Top"), bookmark);
        const QByteArray rtf = WriteRtf(doc);
        QVERIFY2(!rtf.contains("HYPERLINK") && !rtf.contains("\\field"), rtf.constData());
        QVERIFY2(rtf.contains("Top"), rtf.constData());
    }

    // A run whose colour brush is empty has the automatic colour: no colour table, no colour switch.
    void emptyColourBrushIsTheAutomaticColour()
    {
        QTextDocument doc;
        QTextCharFormat format;
        format.setForeground(QBrush());
        format.setBackground(QBrush());
        QTextCursor(&doc).insertText(QStringLiteral("plain"), format);
        const QByteArray rtf = WriteRtf(doc);
        QVERIFY2(!rtf.contains("\\colortbl") && !rtf.contains("\\cf") && !rtf.contains("\\highlight"),
                 rtf.constData());
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

    // LibreOffice drops a sub- or superscript run that reaches the paragraph mark, and the mark with it.
    void superAndSubscriptEndBeforeTheParagraph()
    {
        QTextDocument doc;
        SuperAndSubAtParagraphEnd(doc);
        const QByteArray rtf = WriteRtf(doc);
        QVERIFY2(rtf.contains("\\super sup\\sub sub\\nosupersub\\par\r\n"), rtf.constData());
        QVERIFY2(rtf.contains("\\pard two \\super 2\\nosupersub\\par\r\n"), rtf.constData());
        QTextDocument back;
        ReadRtf(rtf, back);
        QCOMPARE(PlainText(back), QStringLiteral("one supsub\ntwo 2"));
        QCOMPARE(back.begin().begin().fragment().charFormat().verticalAlignment(),
                 QTextCharFormat::AlignNormal);
        QCOMPARE(back.lastBlock().begin().fragment().text(), QStringLiteral("two "));
        QCOMPARE(WriteRtf(back), rtf);
    }

    // What we write, LibreOffice reads to the same words: every corpus file and documents built here.
    void libreOfficeReadsTheSameWords_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ours");
        QHash<QString, QByteArray> written;
        QHash<QString, QString> ourText;
        for (const auto& [name, path] : CorpusFiles()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTextDocument doc;
            ReadRtf(file.readAll(), doc);
            written.insert(name, WriteRtf(doc));
            ourText.insert(name, PlainText(doc));
        }
        QTextDocument built;
        SuperAndSubAtParagraphEnd(built);
        written.insert(QStringLiteral("built_super_sub_at_paragraph_end"), WriteRtf(built));
        ourText.insert(QStringLiteral("built_super_sub_at_paragraph_end"), PlainText(built));
        QVERIFY(written.size() > 60);

        m_libreOffice = LibreOfficeTexts(written);
        if (!m_libreOffice)
            QSKIP("LibreOffice (soffice) is not installed");
        QStringList names = written.keys();
        names.sort();
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << name << ourText.value(name);
    }
    void libreOfficeReadsTheSameWords()
    {
        QFETCH(QString, name);
        QFETCH(QString, ours);
        QVERIFY2(m_libreOffice->contains(name), "LibreOffice could not load the file we wrote");
        QCOMPARE(Words(m_libreOffice->value(name)).join(u' '), Words(ours).join(u' '));
    }

    void unknownPictureIsWrittenBack()
    {
        const QByteArray rtf =
            Rewrite("{\\rtf1 a{\\pict\\emfblip\\picwgoal300\\pichgoal150 0102030405}b\\par}");
        QVERIFY2(rtf.contains("{\\pict\\emfblip"), rtf.constData());
        QVERIFY(rtf.contains("0102030405"));
    }

    // Other readers refuse a whole document for a PNG they cannot decode; it goes as the grey box we show.
    void damagedPngIsWrittenAsWhatIsShown()
    {
        const QByteArray rtf =
            Rewrite("{\\rtf1 a{\\pict\\pngblip\\picwgoal300\\pichgoal150 897b7d5c}b\\par}");
        QVERIFY2(!rtf.contains("897b7d5c"), rtf.constData());
        QVERIFY(rtf.contains("\\pngblip\\picw20\\pich10\\picwgoal300\\pichgoal150\r\n89504e47"));
        QTextDocument back;
        ReadRtf(rtf, back);
        QCOMPARE(PlainText(back), QStringLiteral("ab"));
    }
};

QTEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
