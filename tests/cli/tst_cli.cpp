#include "cli/CliCommand.h"
#include "recurring/RecurringStore.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int code = 0;
    QString out;
    QString err;
};

Result Run(const QStringList& arguments)
{
    Result r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = cli::RunCommand(arguments, out, err);
    out.flush();
    err.flush();
    return r;
}

/**
 * The tool run as a program of its own, so that what libraries print to standard error shows too; with a
 * platform, on that graphics platform instead of the off-screen one.
 */
Result RunProgram(const QStringList& arguments, const QString& runtimeFolder, const QString& platform = {})
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(DATORIA_CLI), arguments);
    Result r;
    r.code = tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    r.out = QString::fromUtf8(tool.readAllStandardOutput());
    r.err = QString::fromUtf8(tool.readAllStandardError());
    return r;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject Inspect(const QStringList& options)
{
    const Result r = Run(QStringList{QStringLiteral("inspect"), QStringLiteral("--json")} + options);
    if (r.code != 0)
        qWarning() << r.err;
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void inspectHasExactlyTheDocumentedKeys()
    {
        const QJsonObject o = Inspect({QStringLiteral("--today"), QStringLiteral("1997-12-01")});
        QStringList expected = {
            QStringLiteral("PixelsPerInch"),
            QStringLiteral("Zoom"),
            QStringLiteral("PaperSize"),
            QStringLiteral("CalendarLayout"),
            QStringLiteral("CalendarOrientation"),
            QStringLiteral("Margins"),
            QStringLiteral("MainCalDay"),
            QStringLiteral("MainCalMonth"),
            QStringLiteral("MainCalYear"),
            QStringLiteral("StartOfWeek"),
            QStringLiteral("PageWidth"),
            QStringLiteral("PageHeight"),
            QStringLiteral("ShowMainCalendar"),
            QStringLiteral("ShowMiniCalendars"),
            QStringLiteral("PlannerMode"),
            QStringLiteral("MainRect"),
            QStringLiteral("MiniCount"),
            QStringLiteral("MiniSlots"),
            QStringLiteral("TitleRect"),
            QStringLiteral("HeadersRect"),
            QStringLiteral("Cells"),
            QStringLiteral("Fonts"),
            QStringLiteral("UserTitle"),
            QStringLiteral("CalendarLineLayout"),
            QStringLiteral("MiniCalendarLineLayout"),
            QStringLiteral("TitleBGColor"),
            QStringLiteral("MiniCalBorder"),
            QStringLiteral("MiniHeadersBorder"),
            QStringLiteral("MiniCellBorder"),
            QStringLiteral("MiniShowYear"),
            QStringLiteral("MiniHeadersBGColor"),
            QStringLiteral("MiniCalBGColor"),
            QStringLiteral("CalendarBorder"),
            QStringLiteral("TitleShowYear"),
            QStringLiteral("HeadersBorder"),
            QStringLiteral("HeadersStyle"),
            QStringLiteral("MiniHeadersStyle"),
            QStringLiteral("HeadersBGColor"),
            QStringLiteral("NumberPosition"),
            QStringLiteral("CellBorder"),
            QStringLiteral("PanelState"),
            QStringLiteral("MonthNames"),
            QStringLiteral("DayNames"),
            QStringLiteral("DayStartTime"),
            QStringLiteral("CellText"),
            QStringLiteral("Objects"),
        };
        QStringList keys = o.keys();
        expected.sort();
        keys.sort();
        QCOMPARE(keys, expected);

        QCOMPARE(o[QStringLiteral("PixelsPerInch")].toInt(), 96);
        QCOMPARE(o[QStringLiteral("CalendarLayout")].toInt(), 3);
        QCOMPARE(o[QStringLiteral("MainCalMonth")].toInt(), 12);
        QCOMPARE(o[QStringLiteral("MainCalYear")].toInt(), 1997);
        QCOMPARE(o[QStringLiteral("PageWidth")].toInt(), 1056);
        QCOMPARE(o[QStringLiteral("MainRect")].toArray(), (QJsonArray{50, 50, 1006, 766}));
        QCOMPARE(o[QStringLiteral("MiniSlots")].toArray().size(), 2);
        QCOMPARE(o[QStringLiteral("MiniSlots")][0][QStringLiteral("month")].toInt(), 11);
        QCOMPARE(o[QStringLiteral("Cells")].toArray().size(), 42);
        QCOMPARE(o[QStringLiteral("Cells")][1][QStringLiteral("iDay")].toInt(), 1);
        QCOMPARE(o[QStringLiteral("Fonts")][QStringLiteral("Title")][QStringLiteral("size")].toInt(), 26);
        QCOMPARE(o[QStringLiteral("Fonts")][QStringLiteral("MiniHeaders")][QStringLiteral("color")].toInt(),
                 0);
        QCOMPARE(o[QStringLiteral("DayStartTime")].toString(), QStringLiteral("8:00"));
        QCOMPARE(o[QStringLiteral("MonthNames")].toArray().size(), 12);
        QCOMPARE(o[QStringLiteral("DayNames")][0].toString(), QStringLiteral("Sunday"));
    }

    void inspectOptions()
    {
        const QJsonObject o = Inspect({QStringLiteral("--layout"),
                                       QStringLiteral("12"),
                                       QStringLiteral("--paper"),
                                       QStringLiteral("a4"),
                                       QStringLiteral("--margins"),
                                       QStringLiteral("0.25,0.25,0.25,0.25"),
                                       QStringLiteral("--month"),
                                       QStringLiteral("1"),
                                       QStringLiteral("--year"),
                                       QStringLiteral("1998"),
                                       QStringLiteral("--week-start"),
                                       QStringLiteral("monday"),
                                       QStringLiteral("--zoom"),
                                       QStringLiteral("0.5"),
                                       QStringLiteral("--headers-style"),
                                       QStringLiteral("whole"),
                                       QStringLiteral("--number-position"),
                                       QStringLiteral("center"),
                                       QStringLiteral("--title"),
                                       QStringLiteral("Two years")});
        QCOMPARE(o[QStringLiteral("PageWidth")].toInt(), 793);
        QCOMPARE(o[QStringLiteral("CalendarOrientation")].toInt(), 0);
        QCOMPARE(o[QStringLiteral("MiniCount")].toInt(), 24);
        QCOMPARE(o[QStringLiteral("MiniSlots")][23][QStringLiteral("month")].toInt(), 12);
        QCOMPARE(o[QStringLiteral("MiniSlots")][23][QStringLiteral("year")].toInt(), 1999);
        QCOMPARE(o[QStringLiteral("StartOfWeek")].toInt(), 2);
        QCOMPARE(o[QStringLiteral("Zoom")].toDouble(), 0.5);
        QCOMPARE(o[QStringLiteral("HeadersStyle")].toInt(), 2);
        QCOMPARE(o[QStringLiteral("NumberPosition")].toInt(), 0);
        QCOMPARE(o[QStringLiteral("UserTitle")].toString(), QStringLiteral("Two years"));
        // The mini fonts suit the layout, as the properties dialog would set them.
        QCOMPARE(o[QStringLiteral("Fonts")][QStringLiteral("MiniTitle")][QStringLiteral("size")].toInt(), 12);
    }

    // The bounds of the margins and of the zoom are themselves allowed.
    void optionsAtTheirBounds()
    {
        const Result r =
            Run({QStringLiteral("inspect"), QStringLiteral("--json"), QStringLiteral("--margins"),
                 QStringLiteral("0,4,0,0"), QStringLiteral("--zoom"), QStringLiteral("0.1")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(QJsonDocument::fromJson(r.out.toUtf8()).isObject());
    }

    void renderWritesTheImage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("zoom");
        QTest::addColumn<QSize>("size");
        QTest::newRow("png") << QStringLiteral("page.png") << QStringLiteral("1") << QSize(1056, 816);
        QTest::newRow("bmp at 60%") << QStringLiteral("page.bmp") << QStringLiteral("0.6") << QSize(633, 489);
    }
    void renderWritesTheImage()
    {
        QFETCH(QString, name);
        QFETCH(QString, zoom);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const Result r =
            Run({QStringLiteral("render"), QStringLiteral("--zoom"), zoom, QStringLiteral("-o"), path});
        QCOMPARE(r.code, 0);
        QImageReader reader(path);
        QCOMPARE(reader.size(), size);
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList{} << QStringLiteral("expected one command");
        QTest::newRow("dump without file")
            << QStringList{QStringLiteral("dump")} << QStringLiteral("one file");
        QTest::newRow("missing file")
            << QStringList{QStringLiteral("inspect"), QStringLiteral("--json"), QStringLiteral("--file"),
                           QStringLiteral("/nonexistent.KVF")}
            << QStringLiteral("Stream read error");
        QTest::newRow("file of another kind")
            << QStringList{QStringLiteral("inspect"), QStringLiteral("--json"), QStringLiteral("--file"),
                           QStringLiteral("page.png")}
            << QStringLiteral(".KVF");
        QTest::newRow("new to a png")
            << QStringList{QStringLiteral("new"), QStringLiteral("-o"), QStringLiteral("x.png")}
            << QStringLiteral(".KVF");
        QTest::newRow("unknown command")
            << QStringList{QStringLiteral("print")} << QStringLiteral("expected one command");
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("render"), QStringLiteral("--colour")} << QStringLiteral("colour");
        QTest::newRow("layout 22") << QStringList{QStringLiteral("inspect"), QStringLiteral("--json"),
                                                  QStringLiteral("--layout"), QStringLiteral("22")}
                                   << QStringLiteral("--layout");
        QTest::newRow("paper b5") << QStringList{QStringLiteral("inspect"), QStringLiteral("--json"),
                                                 QStringLiteral("--paper"), QStringLiteral("b5")}
                                  << QStringLiteral("--paper");
        QTest::newRow("three margins") << QStringList{QStringLiteral("inspect"), QStringLiteral("--json"),
                                                      QStringLiteral("--margins"), QStringLiteral("1,1,1")}
                                       << QStringLiteral("--margins");
        QTest::newRow("margin over 4 inches")
            << QStringList{QStringLiteral("inspect"), QStringLiteral("--json"), QStringLiteral("--margins"),
                           QStringLiteral("0,4.5,0,0")}
            << QStringLiteral("--margins");
        QTest::newRow("image without input")
            << QStringList{QStringLiteral("image"), QStringLiteral("--to"), QStringLiteral("png"),
                           QStringLiteral("-o"), QStringLiteral("out.png")}
            << QStringLiteral("needs an input file");
        QTest::newRow("image without --to") << QStringList{QStringLiteral("image"), QStringLiteral("in.png"),
                                                           QStringLiteral("-o"), QStringLiteral("out.png")}
                                            << QStringLiteral("--to");
        QTest::newRow("month 13") << QStringList{QStringLiteral("inspect"), QStringLiteral("--json"),
                                                 QStringLiteral("--month"), QStringLiteral("13")}
                                  << QStringLiteral("--month");
        QTest::newRow("day 30 of February")
            << QStringList{QStringLiteral("inspect"), QStringLiteral("--json"), QStringLiteral("--month"),
                           QStringLiteral("2"),       QStringLiteral("--year"), QStringLiteral("1997"),
                           QStringLiteral("--day"),   QStringLiteral("30")}
            << QStringLiteral("not a day");
        QTest::newRow("zoom zero") << QStringList{QStringLiteral("inspect"), QStringLiteral("--json"),
                                                  QStringLiteral("--zoom"), QStringLiteral("0")}
                                   << QStringLiteral("--zoom");
        QTest::newRow("render without output")
            << QStringList{QStringLiteral("render")} << QStringLiteral("output file");
        QTest::newRow("render to jpeg")
            << QStringList{QStringLiteral("render"), QStringLiteral("-o"), QStringLiteral("page.jpg")}
            << QStringLiteral(".png or .bmp");
        QTest::newRow("inspect without json")
            << QStringList{QStringLiteral("inspect")} << QStringLiteral("--json");
    }
    void badArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Result r = Run(arguments);
        QVERIFY(r.code != 0);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    // A calendar whose placed objects are cut off is no calendar to draw or describe: every command that
    // reads one fails with where the file is damaged, and writes nothing.
    void damagedCalendarFails_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::newRow("inspect") << QStringList{QStringLiteral("inspect"), QStringLiteral("--json")};
        QTest::newRow("render") << QStringList{QStringLiteral("render"), QStringLiteral("-o")};
        QTest::newRow("pdf") << QStringList{QStringLiteral("pdf"), QStringLiteral("-o")};
    }
    void damagedCalendarFails()
    {
        QFETCH(QStringList, command);
        QTemporaryDir dir;
        QFile sample(QStringLiteral(DATORIA_TEST_DATA "/persist/labels.kvf"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray whole = sample.readAll();
        const QByteArray cut = whole.left(whole.lastIndexOf("TPF0") + 7);
        const QString path = dir.filePath(QStringLiteral("cut.KVF"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(cut) == cut.size());
        file.close();
        const QString output =
            dir.filePath(command[0] == u"pdf" ? QStringLiteral("out.pdf") : QStringLiteral("out.png"));
        if (command.last() == u"-o")
            command.append(output);
        const Result r = Run(command + QStringList{QStringLiteral("--file"), path});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(
                     QStringLiteral("The file is damaged after byte %1: it ends early").arg(cut.size())),
                 qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QVERIFY(!QFile::exists(output));
    }

    void helpPrintsTheUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("--help") << QStringList{QStringLiteral("--help")};
        QTest::newRow("-h") << QStringList{QStringLiteral("-h")};
        QTest::newRow("after a command") << QStringList{QStringLiteral("render"), QStringLiteral("--help")};
        QTest::newRow("with other options")
            << QStringList{QStringLiteral("-h"), QStringLiteral("--layout"), QStringLiteral("99")};
    }
    void helpPrintsTheUsage()
    {
        QFETCH(QStringList, arguments);
        const Result r = Run(arguments);
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.startsWith(QStringLiteral("usage: datoria-cli render")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("--headers-style")));
        QVERIFY(r.err.isEmpty());
    }

    void unknownOptionPrintsTheUsageToStandardError_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("long") << QStringList{QStringLiteral("render"), QStringLiteral("--colour")};
        QTest::newRow("short") << QStringList{QStringLiteral("-x")};
        QTest::newRow("misspelt help") << QStringList{QStringLiteral("--hepl")};
    }
    void unknownOptionPrintsTheUsageToStandardError()
    {
        QFETCH(QStringList, arguments);
        const Result r = Run(arguments);
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains(QStringLiteral("Unknown option")), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("usage: datoria-cli render")));
    }

    void newWritesACalendarThatRenderAndInspectRead()
    {
        QTemporaryDir dir;
        const QString kvf = dir.filePath(QStringLiteral("Dec1997.KVF"));
        const Result made = Run({QStringLiteral("new"), QStringLiteral("--layout"), QStringLiteral("19"),
                                 QStringLiteral("--month"), QStringLiteral("12"), QStringLiteral("--year"),
                                 QStringLiteral("1997"), QStringLiteral("--day"), QStringLiteral("25"),
                                 QStringLiteral("--title"), QStringLiteral("Holidays"),
                                 QStringLiteral("--zoom"), QStringLiteral("0.5"), QStringLiteral("-o"), kvf});
        QCOMPARE(made.code, 0);
        const QJsonObject o = Inspect({QStringLiteral("--file"), kvf});
        QCOMPARE(o[QStringLiteral("CalendarLayout")].toInt(), 19);
        QCOMPARE(o[QStringLiteral("MainCalDay")].toInt(), 25);
        QCOMPARE(o[QStringLiteral("UserTitle")].toString(), QStringLiteral("Holidays"));
        QCOMPARE(o[QStringLiteral("CellText")].toArray().size(), 42);
        QCOMPARE(o[QStringLiteral("CellText")][0].toString(), QString());
        QCOMPARE(o[QStringLiteral("Objects")].toArray().size(), 0);
        // Options given with --file change the document.
        const QJsonObject zoomed =
            Inspect({QStringLiteral("--file"), kvf, QStringLiteral("--zoom"), QStringLiteral("0.5"),
                     QStringLiteral("--week-start"), QStringLiteral("monday")});
        QCOMPARE(zoomed[QStringLiteral("Zoom")].toDouble(), 0.5);
        QCOMPARE(zoomed[QStringLiteral("StartOfWeek")].toInt(), 2);
        QCOMPARE(zoomed[QStringLiteral("UserTitle")].toString(), QStringLiteral("Holidays"));

        const QString png = dir.filePath(QStringLiteral("page.png"));
        QCOMPARE(
            Run({QStringLiteral("render"), QStringLiteral("--file"), kvf, QStringLiteral("-o"), png}).code,
            0);
        QCOMPARE(QImageReader(png).size(), QSize(816, 1056));

        const Result dump = Run({QStringLiteral("dump"), kvf});
        QCOMPARE(dump.code, 0);
        QVERIFY(dump.out.startsWith(QStringLiteral("list\n  int8 3\n  int8 1\n")));
        QVERIFY(dump.out.contains(QStringLiteral("record TVelRtfStorage \"\"")));
        QVERIFY(dump.out.contains(QStringLiteral("text \"Holidays\"")));
    }

    void styleSheetOnANewPage()
    {
        const QString kvs = QStringLiteral(DATORIA_TEST_DATA "/persist/months.kvs");
        const QJsonObject o =
            Inspect({QStringLiteral("--file"), kvs, QStringLiteral("--today"), QStringLiteral("2001-05-09")});
        QCOMPARE(o[QStringLiteral("CalendarLayout")].toInt(), 11);
        QCOMPARE(o[QStringLiteral("MiniCalBGColor")].toInt(), 0xFFFF00);
        QCOMPARE(o[QStringLiteral("MainCalYear")].toInt(), 2001); // the date is not part of a style
        QCOMPARE(o[QStringLiteral("Fonts")][QStringLiteral("MiniTitle")][QStringLiteral("size")].toInt(), 18);
    }

    // The stored object's class is unknown to the program: the file does not read whole and the tool says so;
    // without the object the document reads.
    void documentContents()
    {
        const QString sample = QStringLiteral(DATORIA_TEST_DATA "/persist/december1997.kvf");
        const Result damaged =
            Run({QStringLiteral("inspect"), QStringLiteral("--json"), QStringLiteral("--file"), sample});
        QCOMPARE(damaged.code, 1);
        QVERIFY2(damaged.err.contains(QStringLiteral(
                     "The file is damaged after byte 1462: 1 of the placed objects could not be read.")),
                 qPrintable(damaged.err));
        QFile file(sample);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTemporaryDir dir;
        const QString withoutObjects = dir.filePath(QStringLiteral("december.KVF"));
        QFile copy(withoutObjects);
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(file.readAll().left(1461) + QByteArray("\x01\x00", 2)); // an empty object list
        copy.close();
        const QJsonObject o = Inspect({QStringLiteral("--file"), withoutObjects});
        QCOMPARE(o[QStringLiteral("CellText")][1].toString(), QStringLiteral("Birthday"));
        QCOMPARE(o[QStringLiteral("CellText")][25].toString(), QStringLiteral("Christmas"));
        QCOMPARE(o[QStringLiteral("UserTitle")].toString(), QStringLiteral("Family \u2014 1997"));
        QCOMPARE(o[QStringLiteral("Objects")].toArray().size(), 0);
    }

    void rtfConversions()
    {
        QTemporaryDir dir;
        const QString in = QStringLiteral(DATORIA_TEST_DATA "/rtf/rtfjs_riched20_colors_highlight.rtf");
        const QString text = dir.filePath(QStringLiteral("out.txt"));
        QCOMPARE(Run({QStringLiteral("rtf"), in, QStringLiteral("--to"), QStringLiteral("text"),
                      QStringLiteral("-o"), text})
                     .code,
                 0);
        QFile file(text);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("Colored & Highlighted Line"));
        const QString rtf = dir.filePath(QStringLiteral("out.rtf"));
        QCOMPARE(Run({QStringLiteral("rtf"), in, QStringLiteral("--to"), QStringLiteral("rtf"),
                      QStringLiteral("-o"), rtf})
                     .code,
                 0);
        const QString png = dir.filePath(QStringLiteral("out.png"));
        QCOMPARE(Run({QStringLiteral("rtf"), in, QStringLiteral("--to"), QStringLiteral("png"),
                      QStringLiteral("--width"), QStringLiteral("300"), QStringLiteral("-o"), png})
                     .code,
                 0);
        QCOMPARE(QImageReader(png).size().width(), 300);
        const Result bad = Run({QStringLiteral("rtf"), in, QStringLiteral("--to"), QStringLiteral("doc"),
                                QStringLiteral("-o"), rtf});
        QCOMPARE(bad.code, 2);
        QVERIFY(bad.err.contains(QStringLiteral("--to")));
        // A picture 16 to 10000 pixels wide; any other width is refused before anything is written.
        for (const char* width : {"15", "10001", "-300", "wide"}) {
            const Result narrow = Run({QStringLiteral("rtf"), in, QStringLiteral("--to"),
                                       QStringLiteral("png"), QStringLiteral("--width"), QLatin1String(width),
                                       QStringLiteral("-o"), dir.filePath(QStringLiteral("refused.png"))});
            QCOMPARE(narrow.code, 2);
            QVERIFY2(
                narrow.err.contains(QStringLiteral("--width must be a number of pixels from 16 to 10000")),
                width);
            QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("refused.png"))));
        }
        QCOMPARE(Run({QStringLiteral("rtf"), in, QStringLiteral("--to"), QStringLiteral("png"),
                      QStringLiteral("--width"), QStringLiteral("16"), QStringLiteral("-o"), png})
                     .code,
                 0);
        QCOMPARE(QImageReader(png).size().width(), 16);
    }

    // An RTF file cut short, even by its last brace alone, is converted as far as it goes, says so in one
    // line and fails the run; cut to nothing it is no RTF.
    void rtfCutShort_data()
    {
        QTest::addColumn<QString>("file");
        const QString rtf = QStringLiteral(DATORIA_TEST_DATA "/rtf/");
        for (const QString& f :
             QDir(rtf).entryList({u"*.rtf"_s}) + QDir(rtf + u"edge"_s).entryList({u"*.rtf"_s}))
            QTest::newRow(qPrintable(f)) << (QFile::exists(rtf + f) ? rtf + f : rtf + u"edge/"_s + f);
    }
    void rtfCutShort()
    {
        QFETCH(QString, file);
        QFile whole(file);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        // The unclosed edge case is cut itself; the one with extra closing braces ends at its first.
        qsizetype end = file.contains(u"extra"_s) ? bytes.indexOf('}') : bytes.lastIndexOf('}');
        if (end < 0)
            end = bytes.size();
        QTemporaryDir dir;
        const QString in = dir.filePath(u"in.rtf"_s);
        QStringList texts;
        for (const qsizetype length : {bytes.size(), end, end / 2, qsizetype(0)}) {
            QFile cut(in);
            QVERIFY(cut.open(QIODevice::WriteOnly) && cut.write(bytes.left(length)) == length);
            cut.close();
            const QString out = dir.filePath(QString::number(length));
            const Result r = Run({u"rtf"_s, in, u"--to"_s, u"text"_s, u"-o"_s, out});
            QString message;
            if (length == 0)
                message = u"datoria-cli: %1 is not an RTF file\n"_s.arg(in);
            else if (length <= end)
                message =
                    u"datoria-cli: %1: the text ended early, the file is cut short after byte %2; the output "
                    "holds what was read\n"_s.arg(in)
                        .arg(length);
            QCOMPARE(r.err, message);
            QCOMPARE(r.code, message.isEmpty() ? 0 : 1);
            QFile written(out);
            texts.append(written.open(QIODevice::ReadOnly) ? QString::fromUtf8(written.readAll())
                                                           : QString());
        }
        // What was read is written: the closing brace alone holds no text.
        QCOMPARE(texts[1], texts[0]);
    }

    void placedObjectsOnlyWhenAsked()
    {
        QTemporaryDir dir;
        const QString file = QStringLiteral(DATORIA_TEST_DATA "/persist/labels.kvf");
        const QString bare = dir.filePath(QStringLiteral("bare.png"));
        const QString withObjects = dir.filePath(QStringLiteral("objects.png"));
        QCOMPARE(
            Run({QStringLiteral("render"), QStringLiteral("--file"), file, QStringLiteral("-o"), bare}).code,
            0);
        QCOMPARE(Run({QStringLiteral("render"), QStringLiteral("--file"), file, QStringLiteral("--objects"),
                      QStringLiteral("-o"), withObjects})
                     .code,
                 0);
        const QImage a(bare), b(withObjects);
        QCOMPARE(a.size(), b.size());
        // The first label (100, 120) 200 x 40 has a background of 0x123456 (blue 0x12 lowest in the image).
        QCOMPARE(b.pixelColor(150, 150), QColor(0x56, 0x34, 0x12));
        QVERIFY(a.pixelColor(150, 150) != b.pixelColor(150, 150));
        const QJsonObject o = Inspect({QStringLiteral("--file"), file});
        QCOMPARE(o[QStringLiteral("Objects")].toArray().size(), 2);
        QCOMPARE(o[QStringLiteral("Objects")][1][QStringLiteral("class")].toString(),
                 QStringLiteral("TZubLabel"));
        // Topmost first: the label placed last stays on top after the file is read.
        QCOMPARE(o[QStringLiteral("Objects")][0][QStringLiteral("Left")].toInt(), 300);
    }

    // Rich-text labels and floating calendars are read and drawn too: the labels through the renderer the
    // tool provides.
    void richObjectsAreDrawn()
    {
        QTemporaryDir dir;
        const QString file = QStringLiteral(DATORIA_TEST_DATA "/persist/richobjects.kvf");
        const QString png = dir.filePath(QStringLiteral("objects.png"));
        QCOMPARE(Run({QStringLiteral("render"), QStringLiteral("--file"), file, QStringLiteral("--objects"),
                      QStringLiteral("-o"), png})
                     .code,
                 0);
        const QImage image(png);
        // The rich label (250, 60) 200 x 80 on yellow; the calendar's title band (500, 40) in 0x123456.
        QCOMPARE(image.pixelColor(440, 130), QColor(Qt::yellow));
        QCOMPARE(image.pixelColor(690, 50), QColor(0x56, 0x34, 0x12));
        const QJsonArray objects =
            Inspect({QStringLiteral("--file"), file})[QStringLiteral("Objects")].toArray();
        QStringList classes;
        for (const QJsonValue& o : objects)
            classes.append(o[QStringLiteral("class")].toString());
        QCOMPARE(classes, (QStringList{QStringLiteral("TQelFlatCalendar"),
                                       QStringLiteral("TZubRichBaseLabel"), QStringLiteral("TZubLabel")}));
    }

    void recurringDates()
    {
        const Result may = Run({QStringLiteral("dates"), QStringLiteral("--month"), QStringLiteral("5"),
                                QStringLiteral("--year"), QStringLiteral("2024")});
        QCOMPARE(may.code, 0);
        QVERIFY(may.out.contains(QStringLiteral("2024-05-18\tArmed Forces Day\n")));
        QVERIFY(may.out.contains(QStringLiteral("2024-05-27\tMemorial Day\n")));
        const Result thanksgiving =
            Run({QStringLiteral("dates"), QStringLiteral("--formula"), QStringLiteral("$3 4 11"),
                 QStringLiteral("--year"), QStringLiteral("2024")});
        QCOMPARE(thanksgiving.out, QStringLiteral("2024-11-28\t4th Thu of November\n"));
        const Result weekends =
            Run({QStringLiteral("dates"), QStringLiteral("--formula"), QStringLiteral("%17"),
                 QStringLiteral("--year"), QStringLiteral("2024")});
        QCOMPARE(weekends.out.count(u'\n'), 104);
        QCOMPARE(Run({QStringLiteral("dates"), QStringLiteral("--year"), QStringLiteral("2024")}).code, 2);
        // December is a month like the others; there is no thirteenth.
        const Result december = Run({QStringLiteral("dates"), QStringLiteral("--month"), QStringLiteral("12"),
                                     QStringLiteral("--year"), QStringLiteral("2024")});
        QCOMPARE(december.code, 0);
        QVERIFY2(december.out.contains(QStringLiteral("2024-12-25\t")), qPrintable(december.out));
        QCOMPARE(Run({QStringLiteral("dates"), QStringLiteral("--month"), QStringLiteral("13"),
                      QStringLiteral("--year"), QStringLiteral("2024")})
                     .code,
                 2);
        // A store of its own replaces the built-in holidays.
        QTemporaryDir dir;
        const QString store = dir.filePath(QStringLiteral("KVRECUR.DAX"));
        QVERIFY(recurring::WriteStore(
            store, {recurring::MakeLine(QStringLiteral("Our day"), QStringLiteral("@0514"))}));
        const Result own =
            Run({QStringLiteral("dates"), QStringLiteral("--store"), store, QStringLiteral("--month"),
                 QStringLiteral("5"), QStringLiteral("--year"), QStringLiteral("2024")});
        QCOMPARE(own.out, QStringLiteral("2024-05-14\tOur day\n"));
        QCOMPARE(Run({QStringLiteral("dates"), QStringLiteral("--store"), QStringLiteral("/nonexistent"),
                      QStringLiteral("--month"), QStringLiteral("1"), QStringLiteral("--year"),
                      QStringLiteral("2024")})
                     .code,
                 1);
    }

    void unwritableOutputFails()
    {
        const Result r = Run(
            {QStringLiteral("render"), QStringLiteral("-o"), QStringLiteral("/nonexistent-folder/page.png")});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("cannot write")));
    }

    void imageDecodesEveryBrowserKind_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::newRow("pcx") << QStringLiteral("photo256.pcx") << QSize(120, 90);
        QTest::newRow("tga") << QStringLiteral("photo24rle.tga") << QSize(120, 90);
        QTest::newRow("rle") << QStringLiteral("photo_rle8.rle") << QSize(120, 90);
        QTest::newRow("jif") << QStringLiteral("photo.jif") << QSize(120, 90);
        QTest::newRow("ico at the icon size") << QStringLiteral("multi.ico") << QSize(32, 32);
        QTest::newRow("wmf at its own size") << QStringLiteral("drawing.wmf") << QSize(187, 137);
    }
    void imageDecodesEveryBrowserKind()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.png"));
        const Result r = Run({QStringLiteral("image"), QStringLiteral(DATORIA_TEST_DATA "/images/") + file,
                              QStringLiteral("--to"), QStringLiteral("png"), QStringLiteral("-o"), out});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(QImage(out).size(), size);
    }

    void imageOfADamagedFile()
    {
        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("bad.tga"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\0\0\x02\0\0\0\0\0\0\0\0\0\x10\0\x10\0\x18\0", 18));
        file.close();
        const Result r = Run({QStringLiteral("image"), bad, QStringLiteral("--to"), QStringLiteral("png"),
                              QStringLiteral("-o"), dir.filePath(QStringLiteral("o.png"))});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Unable to load bad.tga")), qPrintable(r.err));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("o.png"))));
    }

    void iconsCountsAndWrites()
    {
        const QString library = QStringLiteral(DATORIA_TEST_DATA "/../../data/holiday.icl");
        Result r = Run({QStringLiteral("icons"), library});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed().toInt(), 57);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("i.png"));
        r = Run({QStringLiteral("icons"), library, QStringLiteral("--index"), QStringLiteral("56"),
                 QStringLiteral("-o"), out});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(QImage(out).size(), QSize(32, 32));
        r = Run({QStringLiteral("icons"), library, QStringLiteral("--index"), QStringLiteral("57"),
                 QStringLiteral("-o"), out});
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QStringLiteral("from 0 to 56")));
    }

    // Only a whole library gives a count; a cut one or a file of another kind is an error.
    void iconsOfDamagedOrForeignFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        const QByteArray library = ReadAll(QStringLiteral(DATORIA_TEST_DATA "/../../data/holiday.icl"));
        QTest::newRow("cut")
            << library.left(library.size() * 2 / 3)
            << QStringLiteral("the file is damaged or cut short (0 of the 57 icons it lists can be read)");
        QTest::newRow("folder") << QByteArray() << QStringLiteral("file to open is a directory");
        QTest::newRow("text")
            << ReadAll(QStringLiteral("/etc/passwd"))
            << QStringLiteral("it is not an icon file (an icon, an icon library or a program with icons)");
    }
    void iconsOfDamagedOrForeignFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("file.icl")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        const QString path = content.isNull() ? dir.path() : file.fileName();
        const Result r = Run({QStringLiteral("icons"), path});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err, QStringLiteral("datoria-cli: cannot read icons from %1: %2\n").arg(path, reason));
    }

    // Damaged pictures leave only the tool's own lines on standard error, never the decoding libraries'.
    // Commands that draw nothing start without graphics, so they run where no graphics platform can be
    // loaded; their output is the one the tool gives inside a graphical application.
    void commandsThatDrawNothingNeedNoGraphics_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output"); // a file the command writes, or none for standard output
        const QString rtf = QStringLiteral(DATORIA_TEST_DATA "/rtf/rtfjs_riched20_colors_highlight.rtf");
        QTest::newRow("--help") << QStringList{u"--help"_s} << QString();
        QTest::newRow("rtf to text") << QStringList{u"rtf"_s, rtf, u"--to"_s, u"text"_s, u"-o"_s}
                                     << u"out.txt"_s;
        QTest::newRow("holidays") << QStringList{u"holidays"_s, u"--list"_s} << QString();
        QTest::newRow("dates") << QStringList{u"dates"_s, u"--formula"_s, u"$3 4 11"_s, u"--year"_s,
                                              u"2027"_s}
                               << QString();
        QTest::newRow("ics") << QStringList{u"ics"_s, u"--from"_s, u"2027"_s, u"--years"_s, u"1"_s, u"-o"_s}
                             << u"out.ics"_s;
    }
    void commandsThatDrawNothingNeedNoGraphics()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QTemporaryDir dir;
        const QString program = dir.filePath(u"program"_s);
        const QString inside = dir.filePath(u"inside"_s);
        const Result tool = RunProgram(output.isEmpty() ? arguments : arguments + QStringList{program},
                                       dir.path(), u"no-such-platform"_s);
        const Result expected = Run(output.isEmpty() ? arguments : arguments + QStringList{inside});
        QCOMPARE(expected.code, 0);
        QVERIFY(!expected.out.isEmpty() || !output.isEmpty());
        QVERIFY2(tool.err.isEmpty(), qPrintable(tool.err));
        QCOMPARE(tool.code, 0);
        QCOMPARE(tool.out, expected.out);
        if (!output.isEmpty()) {
            QVERIFY(!ReadAll(inside).isEmpty());
            QCOMPARE(ReadAll(program), ReadAll(inside));
        }
    }

    // Commands that draw off screen start a graphical application (fonts and pictures as inside one).
    void commandsThatDrawGiveWhatTheyGiveInsideTheProgram_data()
    {
        QTest::addColumn<QStringList>("arguments");
        const QString rtf = QStringLiteral(DATORIA_TEST_DATA "/rtf/rtfjs_pict_pngblip_hex.rtf");
        QTest::newRow("rtf to html") << QStringList{u"rtf"_s, rtf, u"--to"_s, u"html"_s, u"-o"_s};
        QTest::newRow("rtf to rtf") << QStringList{u"rtf"_s, rtf, u"--to"_s, u"rtf"_s, u"-o"_s};
        QTest::newRow("rtf to png") << QStringList{u"rtf"_s, rtf, u"--to"_s, u"png"_s, u"-o"_s};
        QTest::newRow("render") << QStringList{u"render"_s, u"--month"_s, u"2"_s,          u"--year"_s,
                                               u"2027"_s,   u"--today"_s, u"2027-02-10"_s, u"-o"_s};
    }
    void commandsThatDrawGiveWhatTheyGiveInsideTheProgram()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        const QString suffix = arguments.contains(u"render"_s) ? u"png"_s : arguments[3];
        const QString program = dir.filePath(u"program."_s + suffix);
        const QString inside = dir.filePath(u"inside."_s + suffix);
        const Result tool = RunProgram(arguments + QStringList{program}, dir.path());
        QCOMPARE(Run(arguments + QStringList{inside}).code, 0);
        QVERIFY2(tool.err.isEmpty(), qPrintable(tool.err));
        QCOMPARE(tool.code, 0);
        QVERIFY(!ReadAll(inside).isEmpty());
        QCOMPARE(ReadAll(program), ReadAll(inside));
    }

    void pictureLibrariesStayQuiet_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message"); // for a picture file: the one line expected; none for RTF
        const QByteArray hex = ReadAll(QStringLiteral(DATORIA_TEST_DATA "/rtf/rtfjs_pict_pngblip_hex.rtf"));
        const QByteArray binary =
            ReadAll(QStringLiteral(DATORIA_TEST_DATA "/rtf/rtfjs_pict_pngblip_bin.rtf"));
        const QByteArray jpeg = "{\\rtf1{\\pict\\jpegblip\\picw120\\pich90 " +
                                ReadAll(QStringLiteral(DATORIA_TEST_DATA "/images/photo.jpg")).toHex() + "}}";
        for (int percent : {40, 75, 95}) {
            const QByteArray tag = QByteArray::number(percent) + "%";
            QTest::newRow("PNG in RTF cut at " + tag) << hex.left(hex.size() * percent / 100) << "cut.rtf"
                                                      << "";
            QTest::newRow("binary PNG in RTF cut at " + tag)
                << binary.left(binary.size() * percent / 100) << "cut.rtf"
                << "";
            QTest::newRow("JPEG in RTF cut at " + tag) << jpeg.left(jpeg.size() * percent / 100) << "cut.rtf"
                                                       << "";
        }
        QByteArray png =
            QByteArray::fromHex(hex.mid(hex.indexOf("89504e47")).replace("\n", "").replace("}", ""));
        QTest::newRow("cut PNG named .jpg")
            << png.left(png.size() / 2) << "cut.jpg"
            << "datoria-cli: Unable to load cut.jpg: the picture ends early\n";
        png[40] = char(png[40] ^ 0x55);
        QTest::newRow("damaged PNG named .jpg")
            << png << "damaged.jpg"
            << "datoria-cli: Unable to load damaged.jpg: the picture is damaged\n";
    }
    void pictureLibrariesStayQuiet()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        // HTML, not plain text: the text alone is read without decoding the pictures.
        const QString to = message.isEmpty() ? QStringLiteral("html") : QStringLiteral("png");
        const Result r = RunProgram({message.isEmpty() ? QStringLiteral("rtf") : QStringLiteral("image"),
                                     file.fileName(), QStringLiteral("--to"), to, QStringLiteral("-o"),
                                     dir.filePath(QStringLiteral("out.") + to)},
                                    dir.path());
        for (const QString& line : r.err.split(u'\n', Qt::SkipEmptyParts))
            QVERIFY2(line.startsWith(QStringLiteral("datoria-cli: ")), qPrintable(line));
        if (!message.isEmpty())
            QCOMPARE(r.err, message);
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
