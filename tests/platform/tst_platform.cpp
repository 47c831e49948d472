#include "platform/IniFile.h"
#include "platform/PrintableText.h"
#include "platform/SaveFile.h"
#include "platform/Screen.h"
#include "platform/SymbolFonts.h"
#include "platform/TColor.h"
#include "platform/TFont.h"
#include "platform/Windows1252.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <limits>

using namespace platform;

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    // Lines that are no entry of a section, a key before any section, a line without "=" or one without a
    // key, are passed over: they are neither read nor written back.
    void iniFileSkipsStrayLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KV.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("orphan=1\r\n[Main]\r\na note without equals\r\n=9\r\nzoom=70\r\n");
        file.close();
        platform::IniFile ini(path);
        QCOMPARE(ini.SectionLines(QStringLiteral("Main")), QStringList{QStringLiteral("zoom=70")});
        QVERIFY(!ini.HasKey(QStringLiteral("Main"), QStringLiteral("orphan")));
        QVERIFY(ini.Save());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Main]\r\nzoom=70\r\n\r\n"));
    }

    void printableName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QStringLiteral("TZubLabel") << QStringLiteral("TZubLabel");
        QTest::newRow("accents and emoji stay")
            << QStringLiteral("Caf\u00E9 \U0001F600") << QStringLiteral("Caf\u00E9 \U0001F600");
        QTest::newRow("control bytes")
            << QStringLiteral("TPF0\x0eT\t\n") << QStringLiteral("TPF0\\x0eT\\x09\\x0a");
        QTest::newRow("NUL, DEL and C1")
            << QString::fromUtf16(u"a\u0000b\u007Fc\u0081", 6) << QStringLiteral("a\\x00b\\x7fc\\x81");
        QTest::newRow("lone surrogate and private format")
            << QString::fromUtf16(u"x\xD800y\u200Ez") << QStringLiteral("x\\ud800y\\u200ez");
        QTest::newRow("tag character beyond the BMP")
            << QStringLiteral("x") + QString::fromUcs4(U"\U000E0001") << QStringLiteral("x\\U000e0001");
        QTest::newRow("64 characters stay whole") << QString(64, u'A') << QString(64, u'A');
        QTest::newRow("65 are cut at 64") << QString(65, u'A') << QString(64, u'A') + QStringLiteral("...");
        QTest::newRow("an escape is not cut in two")
            << QString(62, u'A') + QChar(1) << QString(62, u'A') + QStringLiteral("...");
        QTest::newRow("250 bytes of a damaged file")
            << QStringLiteral("TPF0\x0eTVelRtfStorage") + QString(230, QChar(0))
            << QStringLiteral("TPF0\\x0eTVelRtfStorage") + QStringLiteral("\\x00").repeated(10) +
                   QStringLiteral("...");
    }
    void printableName()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(PrintableName(text), shown);
    }

    // The save seam: each injected stage fails the save as the real failure would, and leaves the previous
    // file and no temporary file.
    void saveFileFaults()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Page.KVF"));
        {
            SaveFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write("previous"), qint64(8));
            QVERIFY(file.commit());
        }
        auto contents = [&dir] {
            QStringList files;
            for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden)) {
                QFile f(dir.filePath(name));
                f.open(QIODevice::ReadOnly);
                files.append(name + u'=' + QString::fromLatin1(f.readAll()));
            }
            return files;
        };
        const QStringList before = contents();

        SetSaveFault(SaveFault{QStringLiteral("page.kvf"), SaveStage::Open});
        {
            SaveFile file(path);
            QVERIFY(!file.open(QIODevice::WriteOnly));
            QVERIFY(!file.isOpen());
        }
        SetSaveFault(SaveFault{QStringLiteral("Page.KVF"), SaveStage::Write, 4});
        {
            SaveFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write("0123456789"), qint64(4)); // the disk fills up within the block
            QCOMPARE(file.write("more"), qint64(-1));
            QVERIFY(!file.commit());
        }
        SetSaveFault(SaveFault{QStringLiteral("Page.KVF"), SaveStage::Commit});
        {
            SaveFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write("complete"), qint64(8));
            QVERIFY(!file.commit());
        }
        QCOMPARE(contents(), before);

        // A disk that fills up only after more than is written takes the whole file.
        SetSaveFault(SaveFault{QStringLiteral("Page.KVF"), SaveStage::Write, 100});
        {
            SaveFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write("0123456789"), qint64(10));
            QVERIFY(file.commit());
        }
        QCOMPARE(contents(), QStringList{QStringLiteral("Page.KVF=0123456789")});

        // A fault for another name leaves this one alone.
        SetSaveFault(SaveFault{QStringLiteral("KV.ini"), SaveStage::Open});
        {
            SaveFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write("new"), qint64(3));
            QVERIFY(file.commit());
        }
        SetSaveFault(std::nullopt);
        QCOMPARE(contents(), QStringList{QStringLiteral("Page.KVF=new")});
    }

    // Text to Windows-1252: ASCII and Latin-1 as themselves, the 0x80 row by its table, the rest not at all.
    void windows1252()
    {
        QCOMPARE(EncodeWindows1252(QStringLiteral("Az~ \u00A0\u00E9\u00FF\u20AC\u2019")).value_or("none"),
                 QByteArray("Az~ \xA0\xE9\xFF\x80\x92"));
        QVERIFY(!EncodeWindows1252(QStringLiteral("\u0100")));
        QCOMPARE(DecodeWindows1252(QByteArray("Az\xE9\x80")), QStringLiteral("Az\u00E9\u20AC"));
    }

    // A symbol font's character codes are the Windows-1252 bytes of the text; text without one stays as it
    // is.
    void symbolCodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("ASCII") << QStringLiteral("J") << 0x4A;
        QTest::newRow("Latin-1") << QStringLiteral("\u00E9") << 0xE9;
        QTest::newRow("euro") << QStringLiteral("\u20AC") << 0x80;
        QTest::newRow("quote") << QStringLiteral("\u2019") << 0x92;
        QTest::newRow("no byte") << QStringLiteral("\u0100") << -1;
        QTest::newRow("ideograph") << QStringLiteral("\u4E2D") << -1;
    }

    // The tables run from code 32 to code 255, both ends included.
    void symbolTableEnds()
    {
        QCOMPARE(SymbolCharacter(QStringLiteral("Wingdings"), 255), char32_t(0x229E));
        QCOMPARE(SymbolCharacter(QStringLiteral("Wingdings"), 256), char32_t(256));
        QCOMPARE(SymbolCharacter(QStringLiteral("Wingdings"), 31), char32_t(31));
    }
    void symbolCodes()
    {
        QFETCH(QString, text);
        QFETCH(int, code);
        QCOMPARE(SymbolCode(text.at(0)), code);
        const QString drawn = SymbolText(QStringLiteral("Wingdings"), text);
        if (code < 0)
            QCOMPARE(drawn, text);
        else {
            const char32_t symbol = SymbolCharacter(QStringLiteral("Wingdings"), code);
            QCOMPARE(drawn, QString::fromUcs4(&symbol, 1));
        }
    }

    void mulDiv_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("expected");
        QTest::newRow("exact") << 12 << 96 << 72 << 16;
        QTest::newRow("half rounds up") << 3 << 1 << 2 << 2;
        QTest::newRow("negative half rounds away") << -3 << 1 << 2 << -2;
        QTest::newRow("26 points") << 26 << 96 << 72 << 35;
        QTest::newRow("height -35 to points") << -35 << 72 << 96 << -26;
        QTest::newRow("negative divisor") << 10 << 1 << -4 << -3;
        QTest::newRow("division by zero") << 5 << 5 << 0 << -1;
        QTest::newRow("no overflow") << 2000000000 << 3 << 4 << 1500000000;
    }
    void mulDiv()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(int, expected);
        QCOMPARE(MulDiv(a, b, c), expected);
    }

    // The main form stores its fonts as heights; their sizes in points must come out as the page shows them.
    void fontSizeFromHeight_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("size");
        QTest::newRow("-35") << -35 << 26;
        QTest::newRow("-21") << -21 << 16;
        QTest::newRow("-13") << -13 << 10;
        QTest::newRow("-11") << -11 << 8;
        QTest::newRow("-8") << -8 << 6;
    }
    void fontSizeFromHeight()
    {
        QFETCH(int, height);
        QFETCH(int, size);
        TFont font;
        font.SetHeight(height);
        QCOMPARE(font.Size(), size);
    }

    // Text is drawn at the font's size scaled by the zoom, up to 10000 pixels: the font dialog's largest size
    // at the largest zoom is drawn true, a damaged file's billions of points are drawn 10000 pixels high.
    void drawingFontPixels_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("pixels");
        QTest::newRow("12 pt") << 12 << 1.0 << 16;
        QTest::newRow("12 pt at 200%") << 12 << 2.0 << 32;
        QTest::newRow("11 pt at 50%, points cut first") << 11 << 0.5 << 7;
        QTest::newRow("character height -12 pt") << -12 << 1.0 << -16;
        QTest::newRow("1638 pt at 400%") << 1638 << 4.0 << 8736;
        QTest::newRow("7600 pt") << 7600 << 1.0 << 10000;
        QTest::newRow("largest int") << std::numeric_limits<int>::max() << 1.0 << 10000;
        QTest::newRow("largest int at 400%") << std::numeric_limits<int>::max() << 4.0 << 10000;
        QTest::newRow("smallest int at 200%") << std::numeric_limits<int>::min() << 2.0 << -10000;
    }
    void drawingFontPixels()
    {
        QFETCH(int, points);
        QFETCH(double, zoom);
        QFETCH(int, pixels);
        QCOMPARE(FontPixels(points, float(zoom)), pixels);
        if (pixels > 0) {
            QCOMPARE(MakeQFont(QStringLiteral("Arial"), pixels, fsBold).pixelSize(), pixels);
            QCOMPARE(MakeQFont(QStringLiteral("Arial"), points, fsBold).pixelSize(), std::min(points, 10000));
        }
    }

    void fontSetSizeAndNotify()
    {
        TFont font;
        QSignalSpy spy(&font, &TFont::changed);
        font.SetSize(26);
        QCOMPARE(font.Height(), -35);
        font.SetSize(26);
        font.SetName(QStringLiteral("Arial"));
        font.SetStyle(fsBold | fsItalic);
        font.SetColor(clRed);
        QCOMPARE(spy.count(), 4); // setting an equal value notifies nobody

        TFont copy;
        QSignalSpy copySpy(&copy, &TFont::changed);
        copy.Assign(font);
        QCOMPARE(copySpy.count(), 1);
        QCOMPARE(copy.Name(), QStringLiteral("Arial"));
        QCOMPARE(copy.Height(), -35);
        QVERIFY(copy.SameLook(font));
        copy.SetSize(8);
        QVERIFY(copy.SameLook(font)); // sizes are not compared
        copy.SetColor(clBlue);
        QVERIFY(!copy.SameLook(font));
    }

    // A font round trip through the dialog's description: the height stays when the size did not change
    // (-14 is 10.5 points, shown as 11, which would come back as -15), and every part the dialog sets is
    // taken.
    void fontThroughTheDialog()
    {
        TFont font;
        font.SetName(QStringLiteral("Times New Roman"));
        font.SetHeight(-14);
        font.SetStyle(platform::fsBold | platform::fsUnderline);
        font.SetColor(platform::clWindowText);
        font.SetCharset(2);
        const platform::FontChoice shown = platform::FontForDialog(font);
        QCOMPARE(shown.font.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(shown.font.pointSize(), 11);
        QVERIFY(shown.font.bold() && shown.font.underline() && !shown.font.italic() &&
                !shown.font.strikeOut());
        QCOMPARE(shown.color, platform::clWindowText);
        QSignalSpy spy(&font, &TFont::changed);
        platform::TakeDialogFont(font, shown);
        QCOMPARE(font.Height(), -14);
        QCOMPARE(font.Style(), platform::TFontStyles(platform::fsBold | platform::fsUnderline));
        QCOMPARE(font.Color(), platform::clWindowText);
        QFont chosen(QStringLiteral("Liberation Sans"));
        chosen.setPointSize(12);
        chosen.setItalic(true);
        chosen.setStrikeOut(true);
        platform::TakeDialogFont(font, {chosen, platform::clRed});
        QCOMPARE(font.Name(), QStringLiteral("Liberation Sans"));
        QCOMPARE(font.Height(), -16);
        QCOMPARE(font.Style(), platform::TFontStyles(platform::fsItalic | platform::fsStrikeOut));
        QCOMPARE(font.Color(), platform::clRed);
        QCOMPARE(font.Charset(), 2); // what the dialog does not edit stays
        QCOMPARE(spy.size(), 2);
    }

    void colors_data()
    {
        QTest::addColumn<TColor>("color");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("red is the lowest byte") << clRed << QColor(255, 0, 0);
        QTest::newRow("navy") << clNavy << QColor(0, 0, 128);
        QTest::newRow("window text") << clWindowText << QColor(0, 0, 0);
        QTest::newRow("button face") << clBtnFace << QColor(192, 192, 192);
        QTest::newRow("window") << clWindow << QColor(255, 255, 255);
        QTest::newRow("unknown system colour") << SystemColor(200) << QColor(0, 0, 0);
    }
    void colors()
    {
        QFETCH(TColor, color);
        QFETCH(QColor, expected);
        QCOMPARE(ToQColor(color), expected);
        if (color >= 0)
            QCOMPARE(FromQColor(expected), color);
    }

    void pixelsPerInchOverride()
    {
        SetPixelsPerInchOverride(120);
        QCOMPARE(PixelsPerInch(), 120);
        TFont font;
        font.SetSize(12);
        QCOMPARE(font.Height(), -20);
        SetPixelsPerInchOverride(96);
        TFont other;
        other.Assign(font); // a font of another resolution keeps its points
        QCOMPARE(other.Height(), -16);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
