// The help pages and their window, the folders of an installed program, and finding a web browser.
#include "platform/Help.h"
#include "platform/HelpContents.h"
#include "platform/ProgramFolder.h"
#include "platform/THelpWindow.h"
#include "platform/WebBrowser.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScriptedPrompts.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const QString kHelp = QStringLiteral(DATORIA_SOURCE_DIR "/data/help");

bool WriteFile(const QString& path, const QByteArray& bytes, bool executable = false)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return !executable || file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

/** The ids a page defines, which its anchors link to. */
QSet<QString> AnchorsOf(const QString& path)
{
    QFile file(path);
    QSet<QString> ids;
    if (!file.open(QIODevice::ReadOnly))
        return ids;
    const QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression id(QStringLiteral("\\bid=\"([^\"]+)\""));
    for (auto match = id.globalMatch(text); match.hasNext();)
        ids.insert(match.next().captured(1));
    return ids;
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void everyTopicAndLinkLeadsToAPage()
    {
        const QList<platform::HelpTopic> topics =
            platform::ReadHelpContents(kHelp + QStringLiteral("/contents.txt"));
        QVERIFY(topics.size() >= 30);
        QCOMPARE(topics.first().page, QStringLiteral("index.html"));
        QStringList pages;
        for (const platform::HelpTopic& topic : topics) {
            const QString file = topic.page.section(u'#', 0, 0);
            QVERIFY2(QFile::exists(kHelp + u'/' + file), qPrintable(topic.page));
            if (topic.page.contains(u'#'))
                QVERIFY2(AnchorsOf(kHelp + u'/' + file).contains(topic.page.section(u'#', 1)),
                         qPrintable(topic.page));
            pages.append(file);
        }
        // Every page is in the contents, and every link between pages lands on a page and anchor that exist.
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#:]*)(?:#([^\"]*))?\""));
        for (const QString& file : QDir(kHelp).entryList({QStringLiteral("*.html")})) {
            QVERIFY2(pages.contains(file), qPrintable(file));
            QFile page(kHelp + u'/' + file);
            QVERIFY(page.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(page.readAll());
            for (auto match = link.globalMatch(text); match.hasNext();) {
                const auto found = match.next();
                const QString target = found.captured(1).isEmpty() ? file : found.captured(1);
                QVERIFY2(QFile::exists(kHelp + u'/' + target), qPrintable(file + u' ' + target));
                if (!found.captured(2).isEmpty())
                    QVERIFY2(AnchorsOf(kHelp + u'/' + target).contains(found.captured(2)),
                             qPrintable(file + u' ' + found.captured(0)));
            }
        }
    }

    void contextNumbersOpenTheirTopics_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("page");
        QTest::newRow("contents") << 0 << QStringLiteral("index.html");
        for (int page = 0; page <= 8; ++page)
            QTest::addRow("properties page %d", page)
                << 2100 + page << QStringLiteral("properties.html#topic-%1").arg(2100 + page);
        QTest::newRow("pictures") << 40003 << QStringLiteral("pictures.html#topic-40003");
        QTest::newRow("label text") << 40004 << QStringLiteral("design.html#topic-40004");
        QTest::newRow("3D effects") << 40008 << QStringLiteral("design.html#topic-40008");
        QTest::newRow("textures") << 40012 << QStringLiteral("supertext.html#topic-40012");
        QTest::newRow("rich text labels") << 40013 << QStringLiteral("design.html#topic-40013");
        QTest::newRow("SuperText") << 40014 << QStringLiteral("supertext.html#topic-40014");
        QTest::newRow("floating calendars") << 40020 << QStringLiteral("design.html#topic-40020");
        QTest::newRow("unknown number: the contents") << 12345 << QStringLiteral("index.html");
    }

    void contextNumbersOpenTheirTopics()
    {
        QFETCH(int, context);
        QFETCH(QString, page);
        platform::THelpWindow help(kHelp);
        QVERIFY(help.ShowContext(context));
        QCOMPARE(help.CurrentPage(), page);
        // The topic's own heading is on the page shown, and the contents point at the topic.
        QVERIFY(!help.Browser()->toPlainText().isEmpty());
        QCOMPARE(help.Contents()->currentItem()->data(0, Qt::UserRole).toString(), page);
    }

    void contentsFileLines_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("lastContext");
        QTest::newRow("comments and blanks")
            << QByteArray("# c\n\n0|A|a.html|0\n") << QStringList{QStringLiteral("A")} << 0;
        QTest::newRow("several numbers") << QByteArray("0|A|a.html|\n1|B|a.html#b|7, 8\n")
                                         << QStringList{QStringLiteral("A"), QStringLiteral("B")} << 8;
        QTest::newRow("malformed left out")
            << QByteArray("x|A|a.html|\n0||a.html|\n0|B||\n-1|C|c.html|\n0|D|d.html\n0|E|e.html|1\n")
            << QStringList{QStringLiteral("E")} << 1;
    }

    void contentsFileLines()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, titles);
        QFETCH(int, lastContext);
        QTemporaryDir dir;
        QVERIFY(WriteFile(dir.filePath(QStringLiteral("contents.txt")), text));
        const auto topics = platform::ReadHelpContents(dir.filePath(QStringLiteral("contents.txt")));
        QStringList read;
        for (const auto& topic : topics)
            read.append(topic.title);
        QCOMPARE(read, titles);
        QCOMPARE(topics.last().contexts.value(topics.last().contexts.size() - 1, -1), lastContext);
        QCOMPARE(platform::HelpPageForContext(topics, 999), QString());
    }

    void missingHelpIsSaid()
    {
        QTemporaryDir empty;
        platform::THelpWindow help(empty.path());
        QVERIFY(!help.ShowContext(0));
        QVERIFY(!help.ShowPage(QStringLiteral("index.html")));
    }

    void webLinksGoToTheBrowserOrSayWhere()
    {
        QTemporaryDir dir;
        QVERIFY(WriteFile(dir.filePath(QStringLiteral("contents.txt")), "0|Start|index.html|0\n"));
        QVERIFY(WriteFile(dir.filePath(QStringLiteral("index.html")),
                          "<html><body><p><a href=\"https://example.org/x\">site</a></p></body></html>"));
        testsupport::ScriptedPrompts prompts;
        QTemporaryDir emptyPath;
        testsupport::ScopedEnvironment path("PATH", emptyPath.path().toLocal8Bit());
        testsupport::ScopedEnvironment browser("BROWSER", QByteArray());
        platform::THelpWindow help(dir.path());
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QVERIFY(help.ShowContext(0));
        help.Browser()->setFocus();
        QTest::keyClick(help.Browser(), Qt::Key_Tab);
        QTest::keyClick(help.Browser(), Qt::Key_Return);
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.first().contains(QStringLiteral("https://example.org/x")));
        // The help page stays: a web link is never loaded into the help window.
        QCOMPARE(help.CurrentPage(), QStringLiteral("index.html"));
    }

    void findingABrowser_data()
    {
        QTest::addColumn<QByteArray>("browserVariable");
        QTest::addColumn<QString>("programOnPath");
        QTest::addColumn<bool>("found");
        QTest::newRow("nothing") << QByteArray() << QString() << false;
        QTest::newRow("$BROWSER names a program on the path")
            << QByteArray("mybrowser %s") << QStringLiteral("mybrowser") << true;
        QTest::newRow("$BROWSER names no program") << QByteArray("nosuchbrowser") << QString() << false;
        QTest::newRow("second entry of $BROWSER")
            << QByteArray("nosuch:mybrowser") << QStringLiteral("mybrowser") << true;
        QTest::newRow("x-www-browser") << QByteArray() << QStringLiteral("x-www-browser") << true;
        QTest::newRow("firefox") << QByteArray() << QStringLiteral("firefox") << true;
        QTest::newRow("an unrelated program") << QByteArray() << QStringLiteral("editor") << false;
    }

    void findingABrowser()
    {
        QFETCH(QByteArray, browserVariable);
        QFETCH(QString, programOnPath);
        QFETCH(bool, found);
        QTemporaryDir bin;
        if (!programOnPath.isEmpty())
            QVERIFY(WriteFile(bin.filePath(programOnPath), "#!/bin/sh\nexit 0\n", true));
        testsupport::ScopedEnvironment path("PATH", bin.path().toLocal8Bit());
        testsupport::ScopedEnvironment browser("BROWSER", browserVariable);
        QCOMPARE(platform::WebBrowserAvailable(), found);
    }

    void desktopHandlerOfWebLinksCounts()
    {
        // A desktop that names a handler of https links through xdg-mime has a browser, whatever its name.
        QTemporaryDir bin;
        QVERIFY(WriteFile(
            bin.filePath(QStringLiteral("xdg-mime")),
            "#!/bin/sh\n[ \"$3\" = x-scheme-handler/https ] && echo some-browser.desktop\nexit 0\n", true));
        testsupport::ScopedEnvironment path("PATH", bin.path().toLocal8Bit());
        testsupport::ScopedEnvironment browser("BROWSER", QByteArray());
        QVERIFY(platform::WebBrowserAvailable());
        QVERIFY(WriteFile(bin.filePath(QStringLiteral("xdg-mime")), "#!/bin/sh\nexit 0\n", true));
        QVERIFY(!platform::WebBrowserAvailable());
    }

    void dataFolderOfAnExecutable()
    {
        QTemporaryDir root;
        const QString bin = root.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        // Installed: the share folder beside the executable's folder.
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("share/datoria/help"))));
        QCOMPARE(platform::DataFolderFor(bin),
                 QDir::cleanPath(root.filePath(QStringLiteral("share/datoria"))));
        // Portable or the build tree: a data folder beside the executable wins.
        QVERIFY(QDir().mkpath(bin + QStringLiteral("/data")));
        QCOMPARE(platform::DataFolderFor(bin), bin + QStringLiteral("/data"));
    }

    // Help asked for from a dialog opens wholly on the screen of its main window, over that window where
    // there is room; closed and asked for again, it comes back where it was left.
    void helpOpensOnTheMainWindowsScreen_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QRect>("window");
        QTest::addColumn<int>("edges"); // the screen's edges it is moved against, else centred
        QTest::newRow("middle of the monitor") << "Monitor" << QRect(560, 240, 800, 600) << 0;
        QTest::newRow("bottom of the monitor")
            << "Monitor" << QRect(100, 880, 700, 170) << int(Qt::LeftEdge | Qt::BottomEdge);
        QTest::newRow("laptop") << "Laptop" << QRect(2100, 500, 900, 500) << 0;
        QTest::newRow("partly off the laptop")
            << "Laptop" << QRect(3000, 700, 600, 400) << int(Qt::RightEdge | Qt::BottomEdge);
        QTest::newRow("netbook") << "Netbook" << QRect(10, 1100, 1000, 560) << 0;
    }
    void helpOpensOnTheMainWindowsScreen()
    {
        QFETCH(QString, screen);
        QFETCH(QRect, window);
        QFETCH(int, edges);
        if (QGuiApplication::screens().size() != 3)
            QSKIP("needs the offscreen platform's three screens that CTest configures");
        QWidget main;
        main.setGeometry(window);
        QDialog dialog(&main);
        QPushButton button(QStringLiteral("Help"), &dialog);
        connect(&button, &QPushButton::clicked, &dialog, [&dialog] { platform::ShowHelpTopic(&dialog, 0); });
        main.show();
        dialog.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        const QPointer<platform::THelpWindow> help = platform::THelpWindow::Shared();
        QVERIFY(QTest::qWaitForWindowExposed(help));
        const QRect available = help->screen()->availableGeometry();
        QCOMPARE(help->screen()->name(), screen);
        const QRect frame = help->frameGeometry();
        QVERIFY(available.contains(frame));
        QVERIFY(edges || (frame.center() - main.frameGeometry().center()).manhattanLength() <= 2);
        QCOMPARE(frame.left() == available.left(), bool(edges & Qt::LeftEdge));
        QCOMPARE(frame.right() == available.right(), bool(edges & Qt::RightEdge));
        QCOMPARE(frame.bottom() == available.bottom(), bool(edges & Qt::BottomEdge));
        help->move(available.topLeft());
        help->close();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(help->frameGeometry().topLeft(), available.topLeft());
        delete help;
    }

    void programFolderOfAnExecutable()
    {
        QTemporaryDir root;
        // An installed program, even one allowed to write into its folder, keeps the user's files per user.
        QCOMPARE(platform::ProgramFolderFor(root.path(), true),
                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u'/');
        // A portable copy, its data beside it, keeps them beside the program.
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral("data")));
        QCOMPARE(platform::ProgramFolderFor(root.path(), true), root.path() + u'/');
        // A folder that cannot be written sends the user's files to the per-user data folder, made on demand.
        const QString perUser = platform::ProgramFolderFor(root.path(), false);
        QCOMPARE(perUser, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u'/');
        QVERIFY(QFileInfo(perUser).isDir());
        QVERIFY(perUser != root.path() + u'/');
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
