// The Debian package as a user receives it: packed from this build tree by CPack (or the package named by
// DATORIA_PACKAGE), read with dpkg-deb, unpacked with dpkg -x, its programs run from the unpacked tree, and
// its files checked with Debian's own tools (each check skipped where its tool is not installed).
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/RunProgram.h"

using namespace Qt::StringLiterals;
using testsupport::ProgramRun;
using testsupport::RunProgram;

namespace {

const QString kMetainfo = u"usr/share/metainfo/io.github.datoria.Datoria.metainfo.xml"_s;

bool Matches(const QString& pattern, const QString& text)
{
    return QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text).hasMatch();
}

/** The licence a machine-readable copyright file gives a source file: the last Files paragraph whose pattern
 *  matches decides ('*' matches any characters, '/' too). Empty when that licence has no text paragraph. */
QString LicenseOf(const QString& copyright, const QString& file)
{
    QString license;
    const QStringList paragraphs = copyright.split(QRegularExpression(u"\n\\s*\n"_s));
    for (const QString& paragraph : paragraphs) {
        const QString files =
            QRegularExpression(u"^Files:(.*(\n[ \t].*)*)"_s, QRegularExpression::MultilineOption)
                .match(paragraph)
                .captured(1);
        for (const QString& pattern : files.simplified().split(u' ', Qt::SkipEmptyParts)) {
            const QString expression = QRegularExpression::escape(pattern).replace(u"\\*"_s, u".*"_s);
            if (QRegularExpression(QRegularExpression::anchoredPattern(expression)).match(file).hasMatch())
                license = QRegularExpression(u"^License: (\\S+)"_s, QRegularExpression::MultilineOption)
                              .match(paragraph)
                              .captured(1);
        }
    }
    const QString text = u"^License: %1\n [^.\n]"_s.arg(QRegularExpression::escape(license));
    return Matches(text, copyright) ? license : QString();
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_deb;
    QString m_contents;
    QString m_arch;

    QString unpacked(const QString& path) const { return m_work.filePath(u"root/"_s + path); }

    QString run(const QString& program, const QStringList& arguments) const
    {
        return QString::fromUtf8(RunProgram(program, arguments).output);
    }

    QString gunzipped(const QString& path) const { return run(u"gzip"_s, {u"-dc"_s, unpacked(path)}); }

    /** The unpacked programs see no display and nobody's personal settings. */
    QProcessEnvironment programEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"HOME"_s, m_work.filePath(u"home"_s));
        environment.insert(u"XDG_DATA_HOME"_s, m_work.filePath(u"home/data"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, m_work.filePath(u"home/config"_s));
        environment.insert(u"XDG_RUNTIME_DIR"_s, m_work.filePath(u"home/run"_s));
        environment.insert(u"TMPDIR"_s, m_work.filePath(u"home/run"_s));
        return environment;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QVERIFY(QDir().mkpath(m_work.filePath(u"home/run"_s)));
        m_arch = run(u"dpkg"_s, {u"--print-architecture"_s}).trimmed();
        m_deb = qEnvironmentVariable("DATORIA_PACKAGE");
        if (m_deb.isEmpty()) {
            const QString out = m_work.filePath(u"out"_s);
            const ProgramRun pack = RunProgram(
                QStringLiteral(DATORIA_CPACK),
                {u"--config"_s, QStringLiteral(DATORIA_BUILD_DIR "/CPackConfig.cmake"), u"-B"_s, out});
            QVERIFY2(pack.exitCode == 0, pack.all().constData());
            const QStringList debs = QDir(out).entryList({u"*.deb"_s}, QDir::Files);
            QCOMPARE(debs.size(), 1);
            m_deb = out + u'/' + debs.first();
        }
        const ProgramRun unpack = RunProgram(u"dpkg"_s, {u"-x"_s, m_deb, m_work.filePath(u"root"_s)});
        QVERIFY2(unpack.exitCode == 0, unpack.all().constData());
        m_contents = run(u"dpkg-deb"_s, {u"--contents"_s, m_deb});
    }

    void fileName()
    {
        QCOMPARE(QFileInfo(m_deb).fileName(), u"datoria_" DATORIA_VERSION "_%1.deb"_s.arg(m_arch));
    }

    void controlFields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("package") << "Package"
                                 << "datoria";
        QTest::newRow("version of the project") << "Version" << DATORIA_VERSION;
        QTest::newRow("architecture") << "Architecture" << m_arch;
        QTest::newRow("section") << "Section"
                                 << "graphics";
        QTest::newRow("maintainer with an address") << "Maintainer"
                                                    << ".+ <[^ @]+@[^ @]+>";
        QTest::newRow("home page") << "Homepage"
                                   << "https://datoria\\.app/";
        QTest::newRow("a synopsis") << "Description"
                                    << "design and print calendar pages\n .+";
        // Computed from the binaries: the libraries the programs link.
        for (const char* library : {"libqt6widgets6", "libqt6printsupport6", "libqt6network6", "libical3",
                                    "libpng16-16", "libstdc\\+\\+6", "libc6"})
            QTest::addRow("depends on %s", library)
                << "Depends" << u"(.+, )?%1 \\(>= [^)]+\\)(, .+)?"_s.arg(QLatin1String(library));
        // Named by hand: the fonts that stand for the page's "Times New Roman", "Arial" and symbol fonts.
        for (const char* package : {"fonts-liberation2", "fonts-symbola"})
            QTest::addRow("depends on %s", package)
                << "Depends" << u"(.+, )?%1(, .+)?"_s.arg(QLatin1String(package));
        QTest::newRow("recommends the SVG icon engine") << "Recommends"
                                                        << "(.+, )?libqt6svg6(, .+)?";
    }

    void controlFields()
    {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        const QString value = run(u"dpkg-deb"_s, {u"--field"_s, m_deb, name}).trimmed();
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                                    QRegularExpression::DotMatchesEverythingOption)
                     .match(value)
                     .hasMatch(),
                 qPrintable(name + u": "_s + value));
    }

    void contents_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("mode");
        QTest::newRow("program") << "usr/bin/datoria"
                                 << "-rwxr-xr-x";
        QTest::newRow("command-line tool") << "usr/bin/datoria-cli"
                                           << "-rwxr-xr-x";
        QTest::newRow("AppStream data") << kMetainfo << "-rw-r--r--";
        QTest::newRow("manual page") << "usr/share/man/man1/datoria-cli.1.gz"
                                     << "-rw-r--r--";
        QTest::newRow("changelog") << "usr/share/doc/datoria/changelog.gz"
                                   << "-rw-r--r--";
        QTest::newRow("shipped data") << "usr/share/datoria/help/index.html"
                                      << "-rw-r--r--";
        QTest::newRow("data folder") << "usr/share/datoria/"
                                     << "drwxr-xr-x";
    }

    void contents()
    {
        QFETCH(QString, path);
        QFETCH(QString, mode);
        QVERIFY2(Matches(u"^%1 root/root +\\d+ \\S+ \\S+ \\./%2$"_s.arg(QRegularExpression::escape(mode),
                                                                        QRegularExpression::escape(path)),
                         m_contents),
                 qPrintable(m_contents));
    }

    void versionsAgree()
    {
        const QString changelog = gunzipped(u"usr/share/doc/datoria/changelog.gz"_s);
        QCOMPARE(QRegularExpression(u"^datoria \\(([^)]+)\\) "_s).match(changelog).captured(1),
                 QStringLiteral(DATORIA_VERSION));
        // Releases are listed newest first.
        QFile metainfo(unpacked(kMetainfo));
        QVERIFY(metainfo.open(QIODevice::ReadOnly));
        QCOMPARE(QRegularExpression(u"<release version=\"([^\"]+)\""_s)
                     .match(QString::fromUtf8(metainfo.readAll()))
                     .captured(1),
                 QStringLiteral(DATORIA_VERSION));
    }

    void programsRun_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("usage");
        QTest::newRow("command-line tool") << "datoria-cli"
                                           << "usage: datoria-cli render ";
        QTest::newRow("program") << "datoria"
                                 << "Usage: ";
    }

    /** The unpacked programs start, find their libraries and plugins, and print their usage. */
    void programsRun()
    {
        QFETCH(QString, program);
        QFETCH(QString, usage);
        const ProgramRun help =
            RunProgram(unpacked(u"usr/bin/"_s + program), {u"--help"_s}, programEnvironment());
        QVERIFY2(help.exitCode == 0, help.all().constData());
        QVERIFY2(help.output.startsWith(usage.toUtf8()), help.all().constData());
    }

    void cliRendersAPage()
    {
        const QString out = m_work.filePath(u"page.png"_s);
        const ProgramRun render = RunProgram(
            unpacked(u"usr/bin/datoria-cli"_s),
            {u"render"_s, u"--layout"_s, u"0"_s, u"--month"_s, u"12"_s, u"--year"_s, u"2026"_s, u"-o"_s, out},
            programEnvironment());
        QVERIFY2(render.exitCode == 0, render.all().constData());
        const QImage page(out);
        QVERIFY(page.width() > 500 && page.height() > 500);
        QCOMPARE(page.pixelColor(page.width() / 2, 3), QColor(Qt::white));
    }

    /** The installed program, even when it may write into its own folder (run by root), keeps the user's
     *  preferences in the per-user data folder: nothing it writes lands among the package's files, where it
     * would be shared by every user and left behind when the package is removed. */
    void programKeepsUserFilesPerUser()
    {
        QProcess program;
        program.setProcessEnvironment(programEnvironment());
        program.start(unpacked(u"usr/bin/datoria"_s), QStringList());
        QVERIFY(program.waitForStarted());
        const QString preferences = m_work.filePath(u"home/data/Datoria/KV.ini"_s);
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(preferences) || QFileInfo::exists(unpacked(u"usr/bin/KV.ini"_s)), 30000);
        program.kill();
        program.waitForFinished();
        QVERIFY(QFileInfo::exists(preferences));
        QCOMPARE(QDir(unpacked(u"usr/bin"_s)).entryList(QDir::Files),
                 QStringList({u"datoria"_s, u"datoria-cli"_s}));
    }

    void manualPages_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("datoria") << "datoria";
        QTest::newRow("datoria-cli") << "datoria-cli";
    }

    /** The page names every option the program's usage lists, and man formats it without a warning. */
    void manualPages()
    {
        QFETCH(QString, program);
        const QString page = u"usr/share/man/man1/%1.1.gz"_s.arg(program);
        const QString source = gunzipped(page).replace(u"\\-"_s, u"-"_s);
        const ProgramRun usage =
            RunProgram(unpacked(u"usr/bin/"_s + program), {u"--help"_s}, programEnvironment());
        const QRegularExpression option(u"(?<![\\w-])--?[a-z][a-z-]*"_s);
        int options = 0;
        for (const QRegularExpressionMatch& match : option.globalMatch(QString::fromUtf8(usage.output))) {
            QVERIFY2(Matches(u"(?<![\\w-])%1(?![\\w-])"_s.arg(QRegularExpression::escape(match.captured())),
                             source),
                     qPrintable(match.captured()));
            ++options;
        }
        QVERIFY(options >= 3);

        if (QStandardPaths::findExecutable(u"man"_s).isEmpty())
            QSKIP("man is not installed (Debian man-db)");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"MANWIDTH"_s, u"80"_s);
        const ProgramRun man = RunProgram(u"man"_s, {u"--warnings"_s, u"-l"_s, unpacked(page)}, environment);
        QVERIFY2(man.exitCode == 0 && man.errors.isEmpty(), man.all().constData());
        QVERIFY2(Matches(u"^NAME\n +%1 +- \\w"_s.arg(program), QString::fromUtf8(man.output)),
                 man.output.constData());
    }

    void metainfoIsValid()
    {
        if (QStandardPaths::findExecutable(u"appstreamcli"_s).isEmpty())
            QSKIP("appstreamcli is not installed (Debian appstream)");
        const ProgramRun validate = RunProgram(
            u"appstreamcli"_s, {u"validate"_s, u"--no-net"_s, u"--no-color"_s, unpacked(kMetainfo)});
        QVERIFY2(validate.exitCode == 0, validate.all().constData());
        // Pedantic hints only: no error, no warning, not even an information.
        QVERIFY2(!Matches(u"^[EWI]: "_s, QString::fromUtf8(validate.all())), validate.all().constData());
    }

    /** The AppStream data launches the packaged desktop entry and opens the types that entry opens. */
    void metainfoMatchesDesktopEntry()
    {
        QFile metainfo(unpacked(kMetainfo));
        QVERIFY(metainfo.open(QIODevice::ReadOnly));
        const QString xml = QString::fromUtf8(metainfo.readAll());
        const QString launchable =
            QRegularExpression(u"<launchable type=\"desktop-id\">([^<]+)<"_s).match(xml).captured(1);
        QFile entry(unpacked(u"usr/share/applications/"_s + launchable));
        QVERIFY2(entry.open(QIODevice::ReadOnly), qPrintable(entry.fileName()));
        QStringList types;
        for (const QRegularExpressionMatch& match :
             QRegularExpression(u"<mediatype>([^<]+)<"_s).globalMatch(xml))
            types.append(match.captured(1) + u';');
        QVERIFY2(
            QString::fromUtf8(entry.readAll()).contains(u"\nMimeType="_s + types.join(QString()) + u'\n'),
            qPrintable(types.join(QString())));
    }

    void copyright_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("license");
        for (const char* library : {"activity.icl", "events.icl", "holiday.icl", "misc1.icl", "misc2.icl"})
            QTest::addRow("icon library %s", library) << u"data/"_s + QLatin1String(library) << "Expat";
        QTest::newRow("texture") << "data/Textures/Slate.pcx"
                                 << "LicenseRef-Datoria";
        QTest::newRow("brush") << "data/bmbrush/Brick.bmp"
                               << "LicenseRef-Datoria";
        QTest::newRow("help") << "data/help/index.html"
                              << "LicenseRef-Datoria";
        QTest::newRow("program") << "app/main.cpp"
                                 << "LicenseRef-Datoria";
    }

    /** The shipped copyright file gives each shipped piece the licence of its authors, with the licence's
     * text. */
    void copyright()
    {
        QFETCH(QString, file);
        QFETCH(QString, license);
        QFile copyright(unpacked(u"usr/share/doc/datoria/copyright"_s));
        QVERIFY(copyright.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(copyright.readAll());
        QVERIFY(text.startsWith(
            u"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"_s));
        QCOMPARE(LicenseOf(text, file), license);
    }

    void lintianFindsNothingWrong()
    {
        if (QStandardPaths::findExecutable(u"lintian"_s).isEmpty())
            QSKIP("lintian is not installed");
        // Hints of the kind "information" remain; packaging/CMakeLists.txt says why.
        const ProgramRun lintian = RunProgram(u"lintian"_s, {u"--fail-on"_s, u"error,warning"_s, m_deb});
        QVERIFY2(lintian.exitCode == 0 && !Matches(u"^[EW]: "_s, QString::fromUtf8(lintian.output)),
                 lintian.output.constData());
    }
};

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
