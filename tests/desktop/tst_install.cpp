// The install into a prefix: executables, shipped data, the desktop entry, the MIME types and the icon,
// checked with the desktop's own tools (skipped where they are not installed).
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/RunProgram.h"

using testsupport::ProgramRun;
using testsupport::RunProgram;

class TestInstall : public QObject
{
    Q_OBJECT

    QTemporaryDir m_prefix;

    QString prefixed(const QString& path) const { return m_prefix.path() + u'/' + path; }

    /** The environment of a desktop that knows only this prefix's data (and nobody's personal settings). */
    QProcessEnvironment desktopEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), prefixed(QStringLiteral("share")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), prefixed(QStringLiteral("home/data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), prefixed(QStringLiteral("home/config")));
        environment.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
        environment.remove(QStringLiteral("KDE_FULL_SESSION"));
        environment.remove(QStringLiteral("GNOME_DESKTOP_SESSION_ID"));
        environment.remove(QStringLiteral("DISPLAY"));
        return environment;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid());
        const ProgramRun install = RunProgram(QStringLiteral(DATORIA_CMAKE),
                                              {QStringLiteral("--install"), QStringLiteral(DATORIA_BUILD_DIR),
                                               QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY2(install.exitCode == 0, install.all().constData());
    }

    void installedFiles_data()
    {
        QTest::addColumn<QString>("path");
        for (const char* path :
             {"bin/datoria", "bin/datoria-cli", "share/datoria/help/contents.txt",
              "share/datoria/help/index.html", "share/datoria/help/properties.html",
              "share/datoria/holiday.icl", "share/datoria/misc1.icl", "share/datoria/ICONS.md",
              "share/applications/datoria.desktop", "share/mime/packages/datoria.xml",
              "share/icons/hicolor/scalable/apps/datoria.svg",
              "share/metainfo/io.github.datoria.Datoria.metainfo.xml", "share/man/man1/datoria.1.gz",
              "share/man/man1/datoria-cli.1.gz", "share/doc/datoria/copyright"})
            QTest::newRow(path) << QString::fromLatin1(path);
    }

    void installedFiles()
    {
        QFETCH(QString, path);
        QVERIFY2(QFileInfo(prefixed(path)).isFile(), qPrintable(path));
        if (path.startsWith(QStringLiteral("bin/")))
            QVERIFY(QFileInfo(prefixed(path)).isExecutable());
        // Only the program and its command-line tool are installed, no build tools or tests.
        QCOMPARE(QDir(prefixed(QStringLiteral("bin"))).entryList(QDir::Files).size(), 2);
        QVERIFY(!QFileInfo::exists(prefixed(QStringLiteral("bin/data"))));
    }

    void iconSizes_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%dx%d", size, size) << size;
    }

    void iconSizes()
    {
        QFETCH(int, size);
        const QString path = prefixed(QStringLiteral("share/icons/hicolor/%1x%1/apps/datoria.png").arg(size));
        const QImage icon(path);
        QVERIFY2(!icon.isNull(), qPrintable(path));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.hasAlphaChannel());
        // The corners are clear, the page is drawn: a red month band above a light page.
        QCOMPARE(qAlpha(icon.pixel(0, size - 1)), 0);
        const QColor band = icon.pixelColor(size / 2, size * 18 / 100);
        QVERIFY2(band.red() > 150 && band.green() < 110 && band.blue() < 110, qPrintable(band.name()));
        const QColor paper = icon.pixelColor(size * 20 / 100, size * 92 / 100 - 1);
        QVERIFY2(paper.alpha() == 255 && paper.lightness() > 180, qPrintable(paper.name(QColor::HexArgb)));
    }

    void desktopEntryIsValid()
    {
        const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validate.isEmpty())
            QSKIP("desktop-file-validate is not installed (Debian desktop-file-utils)");
        const ProgramRun run =
            RunProgram(validate, {prefixed(QStringLiteral("share/applications/datoria.desktop"))});
        QVERIFY2(run.exitCode == 0, run.all().constData());
        QVERIFY2(run.all().trimmed().isEmpty(), run.all().constData());
    }

    void fileTypes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("calendar by its extension")
            << QStringLiteral("Dec2026.KVF") << QStringLiteral("application/x-datoria-calendar");
        QTest::newRow("extension in lower case")
            << QStringLiteral("dec2026.kvf") << QStringLiteral("application/x-datoria-calendar");
        QTest::newRow("calendar by its content")
            << QStringLiteral("a calendar") << QStringLiteral("application/x-datoria-calendar");
        QTest::newRow("style sheet") << QStringLiteral("MyStyle.KVS")
                                     << QStringLiteral("application/x-datoria-stylesheet");
        QTest::newRow("a list that is no calendar")
            << QStringLiteral("a list") << QStringLiteral("application/octet-stream");
    }

    void fileTypes()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        const QString update = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
        if (update.isEmpty() || query.isEmpty())
            QSKIP("update-mime-database or xdg-mime is not installed (Debian shared-mime-info, xdg-utils)");
        const ProgramRun updated = RunProgram(update, {prefixed(QStringLiteral("share/mime"))});
        QVERIFY2(updated.exitCode == 0, updated.all().constData());

        // A real calendar, written by the installed command-line tool.
        const QString calendar = prefixed(QStringLiteral("calendars/") + name);
        QVERIFY(QDir().mkpath(prefixed(QStringLiteral("calendars"))));
        QFile::remove(calendar);
        if (name == QStringLiteral("a list")) {
            // The calendar's first bytes, but no day cells after them.
            QFile file(calendar);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("\x01\x02\x03\x02\x01", 5) + QByteArray(400, 'x'));
        } else if (name.endsWith(QStringLiteral(".KVS"))) {
            // A style sheet's list opens with 1 and 2; the desktop knows it by its name.
            QFile file(calendar);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("\x01\x02\x01\x02\x02\x02\x00", 7));
        } else {
            // The tool names calendars .KVF; one known by its content alone loses the extension afterwards.
            const bool byContent = !name.contains(u'.');
            const QString target = byContent ? calendar + QStringLiteral(".KVF") : calendar;
            const ProgramRun made =
                RunProgram(prefixed(QStringLiteral("bin/datoria-cli")),
                           {QStringLiteral("new"), QStringLiteral("--month"), QStringLiteral("12"),
                            QStringLiteral("--year"), QStringLiteral("2026"), QStringLiteral("-o"), target});
            QVERIFY2(made.exitCode == 0, made.all().constData());
            if (byContent)
                QVERIFY(QFile::rename(target, calendar));
        }
        const ProgramRun answer = RunProgram(
            query, {QStringLiteral("query"), QStringLiteral("filetype"), calendar}, desktopEnvironment());
        QVERIFY2(answer.exitCode == 0, answer.all().constData());
        QCOMPARE(QString::fromUtf8(answer.output.trimmed()), type);
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
