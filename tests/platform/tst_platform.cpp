#include "platform/Screen.h"
#include "platform/TColor.h"
#include "platform/TFont.h"
#include "tests/support/TestEnvironment.h"

#include <QSignalSpy>
#include <QTest>

using namespace platform;

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

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
