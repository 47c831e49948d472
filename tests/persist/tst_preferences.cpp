#include "persist/formats/Preferences.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

using namespace persist;
using platform::IniFile;

namespace {

QString Write(const QTemporaryDir& dir, const QByteArray& text)
{
    const QString path = dir.filePath(QStringLiteral("KV.ini"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iniSemantics()
    {
        QTemporaryDir dir;
        IniFile ini(
            Write(dir, "[zooming]\r\nMAIN=70\r\nProp=0x1E\r\nBad=12x\r\n\r\n[Other]\r\nb=2\r\na=1\r\n"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("Zooming"), QStringLiteral("main"), 0), 70);
        QCOMPARE(ini.ReadInteger(QStringLiteral("Zooming"), QStringLiteral("Prop"), 0), 30); // hexadecimal
        QCOMPARE(ini.ReadInteger(QStringLiteral("Zooming"), QStringLiteral("Bad"), 5), 5);   // malformed
        QCOMPARE(ini.ReadInteger(QStringLiteral("Zooming"), QStringLiteral("Missing"), 9), 9);
        QCOMPARE(ini.SectionLines(QStringLiteral("other")),
                 (QStringList{QStringLiteral("b=2"), QStringLiteral("a=1")})); // file order
        ini.WriteInteger(QStringLiteral("OTHER"), QStringLiteral("A"), 3);
        ini.EraseSection(QStringLiteral("zooming"));
        QVERIFY(ini.Save());
        IniFile back(ini.Path());
        QVERIFY(!back.HasKey(QStringLiteral("Zooming"), QStringLiteral("Main")));
        QCOMPARE(back.ReadInteger(QStringLiteral("Other"), QStringLiteral("a"), 0), 3);
        QCOMPARE(back.SectionLines(QStringLiteral("Other")).size(), 2);
    }

    void missingFileGivesDefaults()
    {
        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("KV.ini")));
        const Preferences p = LoadPreferences(ini, QStringLiteral("/opt/datoria/"));
        QCOMPARE(p.mainZoomPercent, 60);
        QCOMPARE(p.propZoomPercent, 30);
        QCOMPARE(p.fontName, QStringLiteral("Arial"));
        QCOMPARE(p.fontSize, 10);
        QCOMPARE(p.iconFile, QStringLiteral("/opt/datoria/MISC1.ICL"));
        QVERIFY(p.iconsVisible && p.hintsOn);
        QVERIFY(!QFile::exists(ini.Path())); // created by the first write only
    }

    void editorFontSizeOfAFontDialog_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("size");
        QTest::newRow("12") << QStringLiteral("12") << 12;
        QTest::newRow("largest") << QStringLiteral("1638") << 1638;
        QTest::newRow("too large") << QStringLiteral("2000000000") << 10;
        QTest::newRow("zero") << QStringLiteral("0") << 10;
        QTest::newRow("negative") << QStringLiteral("-12") << 10;
    }
    void editorFontSizeOfAFontDialog()
    {
        QFETCH(QString, stored);
        QFETCH(int, size);
        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("KV.ini")));
        ini.WriteString(QStringLiteral("Default Font"), QStringLiteral("Size"), stored);
        QCOMPARE(LoadPreferences(ini, QString()).fontSize, size);
    }

    void preferencesRoundTrip()
    {
        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("KV.ini")));
        Preferences p;
        p.mainZoomPercent = 80;
        p.propZoomPercent = 50;
        p.fontName = QStringLiteral("Times New Roman");
        p.fontSize = 14;
        p.fontBold = true;
        p.fontUnderline = true;
        p.fontStrikeout = true;
        p.fontColor = 0x0000FF;
        p.iconFile = QStringLiteral("/home/\u0418\u0432\u0430\u043D/icons.icl");
        p.hintsOn = false;
        SavePreferences(ini, p);
        QVERIFY(ini.Save());
        IniFile back(ini.Path());
        const Preferences q = LoadPreferences(back, QString());
        QCOMPARE(q.mainZoomPercent, 80);
        QCOMPARE(q.propZoomPercent, 50);
        QCOMPARE(q.fontName, QStringLiteral("Times New Roman"));
        QCOMPARE(q.fontSize, 14);
        QVERIFY(q.fontBold && !q.fontItalic);
        QVERIFY(q.fontUnderline && q.fontStrikeout);
        QCOMPARE(q.fontColor, 0x0000FF);
        QCOMPARE(q.iconFile, p.iconFile); // a path Windows-1252 cannot hold survives
        QVERIFY(!q.hintsOn);
        QCOMPARE(back.ReadString(QStringLiteral("Default Font"), QStringLiteral("Bold"), QString()),
                 QStringLiteral("1"));
    }

    // A damaged file may hold any edges; only a rectangle a window can have is used.
    void storedRect_data()
    {
        QTest::addColumn<QList<int>>("edges");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("a window") << QList<int>{10, 20, 1010, 760} << QRect(10, 20, 1000, 740);
        QTest::newRow("off to the left") << QList<int>{-500, 0, -100, 300} << QRect(-500, 0, 400, 300);
        QTest::newRow("edges of a whole int") << QList<int>{INT_MIN, 0, INT_MAX, 100} << QRect();
        QTest::newRow("beyond 32767") << QList<int>{0, 0, 40000, 100} << QRect();
        QTest::newRow("32767 is still an edge")
            << QList<int>{-32767, -32767, 32767, 32767} << QRect(-32767, -32767, 65534, 65534);
        QTest::newRow("32768 is not") << QList<int>{0, 0, 32768, 100} << QRect();
        QTest::newRow("-32768 is not") << QList<int>{0, -32768, 100, 100} << QRect();
        QTest::newRow("no width") << QList<int>{100, 0, 100, 300} << QRect();
        QTest::newRow("right before left") << QList<int>{500, 0, 100, 300} << QRect();
        QTest::newRow("no height") << QList<int>{0, 300, 100, 300} << QRect();
    }
    void storedRect()
    {
        QFETCH(QList<int>, edges);
        QFETCH(QRect, rect);
        QCOMPARE(StoredRect(edges[0], edges[1], edges[2], edges[3]).value_or(QRect()), rect);
    }

    void placements()
    {
        QCOMPARE(PlacementSection(QStringLiteral("TCalendarMain"), 96),
                 QStringLiteral("TCalendarMain_Placement"));
        QCOMPARE(PlacementSection(QStringLiteral("TCalendarMain"), 120),
                 QStringLiteral("TCalendarMain_Placement120"));
        // Wider than the screen: shifted left so its right edge is the screen's, its width kept.
        QCOMPARE(FitToScreen(QRect(100, 50, 1200, 600), QSize(1024, 768)), QRect(-176, 50, 1200, 600));
        QCOMPARE(FitToScreen(QRect(0, 500, 400, 400), QSize(1024, 768)), QRect(0, 368, 400, 400));
        QCOMPARE(FitToScreen(QRect(10, 10, 400, 300), QSize(1024, 768)), QRect(10, 10, 400, 300));
        QCOMPARE(CentredOver(QSize(200, 101), QRect(0, 0, 1025, 768)), QRect(412, 333, 200, 101));
    }

    void recentFiles()
    {
        MruList mru;
        for (const char* f : {"/a.KVF", "/b.KVF", "/c.KVF"})
            mru.Add(QString::fromLatin1(f));
        mru.Add(QStringLiteral("/a.KVF")); // moved to the top
        QCOMPARE(mru.Files(),
                 (QStringList{QStringLiteral("/a.KVF"), QStringLiteral("/c.KVF"), QStringLiteral("/b.KVF")}));
        // On a file system that tells letter case apart, a name differing only in case is another file.
        mru.Add(QStringLiteral("/A.kvf"));
        QCOMPARE(mru.Files(), (QStringList{QStringLiteral("/A.kvf"), QStringLiteral("/a.KVF"),
                                           QStringLiteral("/c.KVF"), QStringLiteral("/b.KVF")}));
        mru.Remove(QStringLiteral("/A.KVF"));
        QCOMPARE(mru.Files().size(), 4);
        mru.Remove(QStringLiteral("/A.kvf"));
        QCOMPARE(mru.Files().first(), QStringLiteral("/a.KVF"));
        for (const char* f : {"/d.KVF", "/e.KVF", "/f.KVF"})
            mru.Add(QString::fromLatin1(f));
        QCOMPARE(mru.Files().size(), 5);
        QCOMPARE(mru.Files().first(), QStringLiteral("/f.KVF"));
        QVERIFY(!mru.Files().contains(QStringLiteral("/b.KVF")));

        QTemporaryDir dir;
        IniFile ini(Write(dir, "[MRU]\r\nF0=/1\r\nF1=/2\r\nF2=/3\r\nF3=/4\r\nF4=/5\r\nF5=/6\r\nF6=/7=x\r\n"));
        MruList seven;
        seven.Load(ini, QStringLiteral("MRU"));
        QCOMPARE(seven.Files().size(), 7); // all shown until the next addition
        QCOMPARE(seven.Files().last(), QStringLiteral("/7=x"));
        seven.Add(QStringLiteral("/new"));
        QCOMPARE(seven.Files().size(), 5);
        seven.Save(ini, QStringLiteral("MRU"));
        QCOMPARE(ini.SectionLines(QStringLiteral("MRU")),
                 (QStringList{QStringLiteral("F0=/new"), QStringLiteral("F1=/1"), QStringLiteral("F2=/2"),
                              QStringLiteral("F3=/3"), QStringLiteral("F4=/4")}));
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
