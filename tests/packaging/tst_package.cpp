// The Debian package as a user receives it: packed from this build tree by CPack (or the package named by
// DATORIA_PACKAGE), read with dpkg-deb, unpacked with dpkg -x, its programs run from the unpacked tree, and
// its files checked with Debian's own tools (each check skipped where its tool is not installed).
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "tests/support/RunProgram.h"

using testsupport::ProgramRun;
using testsupport::RunProgram;

namespace {

const QString kMetainfo = QStringLiteral("usr/share/metainfo/io.github.datoria.Datoria.metainfo.xml");

QString Tool(const char* name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

/** One paragraph of a machine-readable copyright file: its Files patterns (empty for a licence text) and the
 *  short name of its licence. */
struct CopyrightParagraph
{
    QStringList files;
    QString license;
    bool hasLicenseText = false;
};

QList<CopyrightParagraph> ParseCopyright(const QString& text)
{
    QList<CopyrightParagraph> paragraphs;
    for (const QString& block : text.split(QRegularExpression(QStringLiteral("\n\\s*\n")))) {
        CopyrightParagraph paragraph;
        QString field;
        for (const QString& line : block.split(u'\n')) {
            const bool continued = line.startsWith(u' ') || line.startsWith(u'\t');
            if (!continued)
                field = line.section(u':', 0, 0);
            const QString value = continued ? line.trimmed() : line.section(u':', 1).trimmed();
            if (field == QLatin1String("Files"))
                paragraph.files += value.split(u' ', Qt::SkipEmptyParts);
            else if (field == QLatin1String("License") && !continued)
                paragraph.license = value;
            else if (field == QLatin1String("License") && !value.isEmpty())
                paragraph.hasLicenseText = true;
        }
        if (!paragraph.license.isEmpty())
            paragraphs.append(paragraph);
    }
    return paragraphs;
}

/** A Files pattern as a regular expression: '*' matches any characters, '/' included, '?' one character. */
QRegularExpression FilesPattern(const QString& pattern)
{
    QString expression = QRegularExpression::escape(pattern);
    expression.replace(QStringLiteral("\\*"), QStringLiteral(".*"));
    expression.replace(QStringLiteral("\\?"), QStringLiteral("."));
    return QRegularExpression(QRegularExpression::anchoredPattern(expression));
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_deb;
    QString m_root;
    QString m_contents;
    QString m_arch;

    QString unpacked(const QString& path) const { return m_root + u'/' + path; }

    QString field(const QString& name) const
    {
        return QString::fromUtf8(
            RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_deb, name})
                .output.trimmed());
    }

    /** A compressed file of the unpacked package, decompressed. */
    QString gunzipped(const QString& path) const
    {
        return QString::fromUtf8(
            RunProgram(QStringLiteral("gzip"), {QStringLiteral("-dc"), unpacked(path)}).output);
    }

    /** An environment where the unpacked programs see no display and nobody's personal settings. */
    QProcessEnvironment programEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), m_work.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_work.filePath(QStringLiteral("home/data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_work.filePath(QStringLiteral("home/config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_work.filePath(QStringLiteral("home/run")));
        environment.insert(QStringLiteral("TMPDIR"), m_work.filePath(QStringLiteral("home/run")));
        return environment;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QVERIFY(QDir().mkpath(m_work.filePath(QStringLiteral("home/run"))));
        m_arch = QString::fromUtf8(
            RunProgram(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).output.trimmed());
        QVERIFY(!m_arch.isEmpty());
        m_deb = qEnvironmentVariable("DATORIA_PACKAGE");
        if (m_deb.isEmpty()) {
            const QString out = m_work.filePath(QStringLiteral("out"));
            const ProgramRun pack = RunProgram(QStringLiteral(DATORIA_CPACK),
                                               {QStringLiteral("--config"),
                                                QStringLiteral(DATORIA_BUILD_DIR "/CPackConfig.cmake"),
                                                QStringLiteral("-B"), out});
            QVERIFY2(pack.exitCode == 0, pack.all().constData());
            const QStringList debs = QDir(out).entryList({QStringLiteral("*.deb")}, QDir::Files);
            QCOMPARE(debs.size(), 1);
            m_deb = out + u'/' + debs.first();
        }
        m_root = m_work.filePath(QStringLiteral("root"));
        const ProgramRun unpack = RunProgram(QStringLiteral("dpkg"), {QStringLiteral("-x"), m_deb, m_root});
        QVERIFY2(unpack.exitCode == 0, unpack.all().constData());
        const ProgramRun contents =
            RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_deb});
        QVERIFY2(contents.exitCode == 0, contents.all().constData());
        m_contents = QString::fromUtf8(contents.output);
    }

    void fileName()
    {
        QCOMPARE(QFileInfo(m_deb).fileName(),
                 QStringLiteral("datoria_" DATORIA_VERSION "_%1.deb").arg(m_arch));
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
                << "Depends" << QStringLiteral("(.+, )?%1 \\(>= [^)]+\\)(, .+)?").arg(QLatin1String(library));
        // Named by hand: what the page's fonts stand for.
        for (const char* package : {"fonts-liberation2", "fonts-symbola"})
            QTest::addRow("depends on %s", package)
                << "Depends" << QStringLiteral("(.+, )?%1(, .+)?").arg(QLatin1String(package));
        QTest::newRow("recommends the SVG icon engine") << "Recommends"
                                                        << "(.+, )?libqt6svg6(, .+)?";
    }

    void controlFields()
    {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        const QString value = field(name);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                                    QRegularExpression::DotMatchesEverythingOption)
                     .match(value)
                     .hasMatch(),
                 qPrintable(name + QStringLiteral(": ") + value));
    }

    void contents_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("mode");
        QTest::newRow("program") << "usr/bin/datoria"
                                 << "-rwxr-xr-x";
        QTest::newRow("command-line tool") << "usr/bin/datoria-cli"
                                           << "-rwxr-xr-x";
        QTest::newRow("desktop entry") << "usr/share/applications/datoria.desktop"
                                       << "-rw-r--r--";
        QTest::newRow("MIME types") << "usr/share/mime/packages/datoria.xml"
                                    << "-rw-r--r--";
        QTest::newRow("AppStream data") << kMetainfo << "-rw-r--r--";
        QTest::newRow("scalable icon") << "usr/share/icons/hicolor/scalable/apps/datoria.svg"
                                       << "-rw-r--r--";
        QTest::newRow("48-pixel icon") << "usr/share/icons/hicolor/48x48/apps/datoria.png"
                                       << "-rw-r--r--";
        QTest::newRow("manual page") << "usr/share/man/man1/datoria.1.gz"
                                     << "-rw-r--r--";
        QTest::newRow("manual page of the tool") << "usr/share/man/man1/datoria-cli.1.gz"
                                                 << "-rw-r--r--";
        QTest::newRow("copyright") << "usr/share/doc/datoria/copyright"
                                   << "-rw-r--r--";
        QTest::newRow("changelog") << "usr/share/doc/datoria/changelog.gz"
                                   << "-rw-r--r--";
        QTest::newRow("help") << "usr/share/datoria/help/index.html"
                              << "-rw-r--r--";
        QTest::newRow("icon library") << "usr/share/datoria/holiday.icl"
                                      << "-rw-r--r--";
        QTest::newRow("texture") << "usr/share/datoria/Textures/Wood.bmp"
                                 << "-rw-r--r--";
        QTest::newRow("data folder") << "usr/share/datoria/"
                                     << "drwxr-xr-x";
    }

    void contents()
    {
        QFETCH(QString, path);
        QFETCH(QString, mode);
        const QRegularExpression line(
            QStringLiteral("^%1 root/root +\\d+ \\S+ \\S+ \\./%2$")
                .arg(QRegularExpression::escape(mode), QRegularExpression::escape(path)),
            QRegularExpression::MultilineOption);
        QVERIFY2(line.match(m_contents).hasMatch(), qPrintable(m_contents));
    }

    /** Everything lies under /usr and belongs to root; the programs are the only executables in bin. */
    void layout()
    {
        const QStringList lines = m_contents.split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            QVERIFY2(line.contains(QLatin1String(" root/root ")), qPrintable(line));
            QVERIFY2(line.endsWith(QLatin1String(" ./usr/")) || line.contains(QLatin1String(" ./usr/bin/")) ||
                         line.contains(QLatin1String(" ./usr/share/")),
                     qPrintable(line));
        }
        QCOMPARE(QDir(unpacked(QStringLiteral("usr/bin"))).entryList(QDir::Files),
                 QStringList({QStringLiteral("datoria"), QStringLiteral("datoria-cli")}));
    }

    /** Every file of the data folder is shipped, byte for byte. */
    void dataIsShippedWhole()
    {
        const QDir source(QStringLiteral(DATORIA_SOURCE_DIR "/data"));
        int files = 0;
        for (QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            QFile original(path);
            QFile shipped(unpacked(QStringLiteral("usr/share/datoria/") + source.relativeFilePath(path)));
            QVERIFY2(original.open(QIODevice::ReadOnly) && shipped.open(QIODevice::ReadOnly),
                     qPrintable(shipped.fileName()));
            QVERIFY2(original.readAll() == shipped.readAll(), qPrintable(shipped.fileName()));
            ++files;
        }
        QVERIFY(files > 40);
    }

    void versionsAgree_data()
    {
        QTest::addColumn<QString>("version");
        QTest::newRow("package") << field(QStringLiteral("Version"));
        const QString changelog = gunzipped(QStringLiteral("usr/share/doc/datoria/changelog.gz"));
        QTest::newRow("changelog")
            << QRegularExpression(QStringLiteral("^datoria \\(([^)]+)\\) ")).match(changelog).captured(1);
        QFile metainfo(unpacked(kMetainfo));
        QString release;
        if (metainfo.open(QIODevice::ReadOnly)) {
            QXmlStreamReader xml(&metainfo);
            // Releases are listed newest first.
            while (release.isEmpty() && !xml.atEnd()) {
                if (xml.readNext() == QXmlStreamReader::StartElement &&
                    xml.name() == QLatin1String("release"))
                    release = xml.attributes().value(QLatin1String("version")).toString();
            }
        }
        QTest::newRow("newest release of the AppStream data") << release;
        for (const char* page : {"datoria.1", "datoria-cli.1"}) {
            const QString text =
                gunzipped(QStringLiteral("usr/share/man/man1/%1.gz").arg(QLatin1String(page)));
            QTest::addRow("manual page %s", page)
                << QRegularExpression(QStringLiteral("^\\.TH .* \"Datoria ([^\"]+)\""),
                                      QRegularExpression::MultilineOption)
                       .match(text)
                       .captured(1);
        }
    }

    void versionsAgree()
    {
        QFETCH(QString, version);
        QCOMPARE(version, QStringLiteral(DATORIA_VERSION));
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
        const ProgramRun run = RunProgram(unpacked(QStringLiteral("usr/bin/") + program),
                                          {QStringLiteral("--help")}, programEnvironment());
        QVERIFY2(run.exitCode == 0, run.all().constData());
        QVERIFY2(run.output.startsWith(usage.toUtf8()), run.all().constData());
    }

    /** The unpacked tool draws a page exactly as the tool of the build tree does. */
    void cliRendersAPage()
    {
        QImage pages[2];
        const QString tools[2] = {unpacked(QStringLiteral("usr/bin/datoria-cli")),
                                  QStringLiteral(DATORIA_BUILD_DIR "/bin/datoria-cli")};
        for (int i = 0; i < 2; ++i) {
            const QString out = m_work.filePath(QStringLiteral("page%1.png").arg(i));
            const ProgramRun run =
                RunProgram(tools[i],
                           {QStringLiteral("render"), QStringLiteral("--layout"), QStringLiteral("0"),
                            QStringLiteral("--month"), QStringLiteral("12"), QStringLiteral("--year"),
                            QStringLiteral("2026"), QStringLiteral("-o"), out},
                           programEnvironment());
            QVERIFY2(run.exitCode == 0, run.all().constData());
            pages[i] = QImage(out);
        }
        QVERIFY(pages[0].width() > 500 && pages[0].height() > 500);
        QCOMPARE(pages[0], pages[1]);
    }

    /** The installed program, even when it may write into its own folder (run by root), keeps the user's
     *  preferences in the per-user data folder: nothing it writes lands among the package's files, where it
     * would be shared by every user and left behind when the package is removed. */
    void programKeepsUserFilesPerUser()
    {
        QProcess program;
        program.setProcessEnvironment(programEnvironment());
        program.start(unpacked(QStringLiteral("usr/bin/datoria")), QStringList());
        QVERIFY(program.waitForStarted());
        const QString preferences = m_work.filePath(QStringLiteral("home/data/Datoria/KV.ini"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(preferences) ||
                                     QFileInfo::exists(unpacked(QStringLiteral("usr/bin/KV.ini"))),
                                 30000);
        program.kill();
        program.waitForFinished();
        QVERIFY(QFileInfo::exists(preferences));
        QCOMPARE(QDir(unpacked(QStringLiteral("usr/bin"))).entryList(QDir::Files),
                 QStringList({QStringLiteral("datoria"), QStringLiteral("datoria-cli")}));
    }

    void manualPages_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("datoria") << "datoria";
        QTest::newRow("datoria-cli") << "datoria-cli";
    }

    /** man formats each page without a warning, and the page names every option the program's usage lists. */
    void manualPages()
    {
        QFETCH(QString, program);
        const QString page = QStringLiteral("usr/share/man/man1/%1.1.gz").arg(program);
        const QString source = gunzipped(page);
        QVERIFY(source.startsWith(QLatin1String(".TH ")));
        const ProgramRun usage = RunProgram(unpacked(QStringLiteral("usr/bin/") + program),
                                            {QStringLiteral("--help")}, programEnvironment());
        const QString plain = QString(source).replace(QLatin1String("\\-"), QLatin1String("-"));
        const QRegularExpression option(QStringLiteral("(?<![\\w-])--?[a-z][a-z-]*"));
        int options = 0;
        for (const QRegularExpressionMatch& match : option.globalMatch(QString::fromUtf8(usage.output))) {
            QVERIFY2(QRegularExpression(QStringLiteral("(?<![\\w-])%1(?![\\w-])")
                                            .arg(QRegularExpression::escape(match.captured())))
                         .match(plain)
                         .hasMatch(),
                     qPrintable(match.captured()));
            ++options;
        }
        QVERIFY(options >= 3);

        if (Tool("man").isEmpty())
            QSKIP("man is not installed (Debian man-db)");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
        const ProgramRun man =
            RunProgram(QStringLiteral("man"),
                       {QStringLiteral("--warnings"), QStringLiteral("-l"), unpacked(page)}, environment);
        QVERIFY2(man.exitCode == 0, man.all().constData());
        QVERIFY2(man.errors.isEmpty(), man.errors.constData());
        QVERIFY2(QRegularExpression(QStringLiteral("^NAME\n +%1 +- \\w").arg(program),
                                    QRegularExpression::MultilineOption)
                     .match(QString::fromUtf8(man.output))
                     .hasMatch(),
                 man.output.constData());
    }

    void metainfoIsValid()
    {
        if (Tool("appstreamcli").isEmpty())
            QSKIP("appstreamcli is not installed (Debian appstream)");
        const ProgramRun run = RunProgram(QStringLiteral("appstreamcli"),
                                          {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                           QStringLiteral("--no-color"), unpacked(kMetainfo)});
        QVERIFY2(run.exitCode == 0, run.all().constData());
        // Hints of the pedantic kind only: no warning, no error, not even an information.
        QVERIFY2(!QRegularExpression(QStringLiteral("^[EWI]: "), QRegularExpression::MultilineOption)
                      .match(QString::fromUtf8(run.all()))
                      .hasMatch(),
                 run.all().constData());
    }

    /** The AppStream data launches the packaged desktop entry and opens the types that entry opens. */
    void metainfoMatchesDesktopEntry()
    {
        QFile metainfo(unpacked(kMetainfo));
        QVERIFY(metainfo.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&metainfo);
        QStringList mediaTypes;
        QString launchable;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("mediatype"))
                mediaTypes.append(xml.readElementText());
            else if (xml.name() == QLatin1String("launchable"))
                launchable = xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QFile entry(unpacked(QStringLiteral("usr/share/applications/") + launchable));
        QVERIFY2(entry.open(QIODevice::ReadOnly), qPrintable(entry.fileName()));
        const QString mimeLine =
            QRegularExpression(QStringLiteral("^MimeType=(.*)$"), QRegularExpression::MultilineOption)
                .match(QString::fromUtf8(entry.readAll()))
                .captured(1);
        QCOMPARE(mediaTypes, mimeLine.split(u';', Qt::SkipEmptyParts));
    }

    void copyright_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("license");
        for (const char* library : {"activity.icl", "events.icl", "holiday.icl", "misc1.icl", "misc2.icl"})
            QTest::addRow("icon library %s", library) << QString::fromLatin1(library) << "Expat";
        QTest::newRow("texture") << "Textures/Slate.pcx"
                                 << "LicenseRef-Datoria";
        QTest::newRow("brush") << "bmbrush/Brick.bmp"
                               << "LicenseRef-Datoria";
        QTest::newRow("help") << "help/index.html"
                              << "LicenseRef-Datoria";
    }

    /** The shipped copyright file gives each shipped file the licence of its authors (the last matching Files
     *  paragraph decides), and holds the text of every licence it names. */
    void copyright()
    {
        QFETCH(QString, file);
        QFETCH(QString, license);
        QFile copyright(unpacked(QStringLiteral("usr/share/doc/datoria/copyright")));
        QVERIFY(copyright.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(copyright.readAll());
        QVERIFY(text.startsWith(
            QLatin1String("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")));
        const QList<CopyrightParagraph> paragraphs = ParseCopyright(text);
        QString found;
        for (const CopyrightParagraph& paragraph : paragraphs) {
            for (const QString& pattern : paragraph.files) {
                if (FilesPattern(pattern).match(QStringLiteral("data/") + file).hasMatch())
                    found = paragraph.license;
            }
        }
        QCOMPARE(found, license);
        const bool hasText =
            std::any_of(paragraphs.begin(), paragraphs.end(), [&](const CopyrightParagraph& p) {
                return p.files.isEmpty() && p.license == license && p.hasLicenseText;
            });
        QVERIFY2(hasText, qPrintable(license));
    }

    void lintianFindsNothingWrong()
    {
        if (Tool("lintian").isEmpty())
            QSKIP("lintian is not installed");
        // Hints of the kind "information" remain; packaging/CMakeLists.txt says why.
        const ProgramRun run = RunProgram(
            QStringLiteral("lintian"), {QStringLiteral("--fail-on"), QStringLiteral("error,warning"), m_deb});
        QVERIFY2(run.exitCode == 0, run.all().constData());
        QVERIFY2(!QRegularExpression(QStringLiteral("^[EW]: "), QRegularExpression::MultilineOption)
                      .match(QString::fromUtf8(run.output))
                      .hasMatch(),
                 run.output.constData());
    }
};

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
