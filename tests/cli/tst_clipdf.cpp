#include "cli/CliCommand.h"
#include "recurring/RecurringStore.h"
#include "tests/support/PdfTools.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using testsupport::PdfTools;

namespace {

struct Result
{
    int code = 0;
    QString err;
};

Result Run(const QStringList& arguments)
{
    Result r;
    QString out;
    QTextStream outStream(&out);
    QTextStream err(&r.err);
    r.code = cli::RunCommand(arguments, outStream, err);
    err.flush();
    return r;
}

/** Columns of dark pixels along a row. */
QList<int> DarkColumns(const QImage& image, int y)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 128 && (columns.isEmpty() || columns.last() != x - 1))
            columns.append(x);
    }
    return columns;
}

} // namespace

class TestCliPdf : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_store;

    QString path(const QString& name) const { return m_dir.path() + u'/' + name; }

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        QVERIFY(m_dir.isValid());
        m_store = path(u"KVRECUR.DAX"_s);
        QVERIFY(recurring::WriteStore(m_store, {recurring::MakeLine(u"Christmas Day"_s, u"@1225"_s),
                                                recurring::MakeLine(u"Thanksgiving"_s, u"$3 4 11"_s)}));
    }

    // pdf writes what render shows, at full size, with the dates of the store in both.
    void pdfMatchesRender()
    {
        if (!PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        const QStringList page = {u"--layout"_s, u"1"_s,      u"--month"_s, u"11"_s,          u"--year"_s,
                                  u"2026"_s,     u"--zoom"_s, u"0.6"_s,     u"--recurring"_s, m_store};
        const QString png = path(u"page.png"_s), pdf = path(u"page.pdf"_s);
        QCOMPARE(Run(QStringList{u"render"_s} + page + QStringList{u"--zoom"_s, u"1"_s, u"-o"_s, png}).code,
                 0);
        QCOMPARE(Run(QStringList{u"pdf"_s} + page + QStringList{u"-o"_s, pdf}).code, 0);
        const QImage screen(png);
        const QImage printed = PdfTools::Render(pdf);
        QCOMPARE(printed.size(), screen.size());
        QCOMPARE(DarkColumns(printed, 700).size(), DarkColumns(screen, 700).size());
        QVERIFY(PdfTools::Text(pdf).contains(u"Thanksgiving"_s));
        QCOMPARE(PdfTools::Info(pdf, u"Pages"_s), u"1"_s);
    }

    void oneMonth()
    {
        const QString pdf = path(u"one.pdf"_s);
        const Result r = Run({u"pdf"_s, u"--months"_s, u"1"_s, u"-o"_s, pdf});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        if (PdfTools::Available())
            QCOMPARE(PdfTools::Info(pdf, u"Pages"_s), u"1"_s);
    }

    void yearWithDates()
    {
        if (!PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        const QString pdf = path(u"year.pdf"_s);
        const Result r = Run({u"pdf"_s, u"--layout"_s, u"1"_s, u"--month"_s, u"1"_s, u"--year"_s, u"2027"_s,
                              u"--months"_s, u"12"_s, u"--recurring"_s, m_store, u"-o"_s, pdf});
        QCOMPARE(r.code, 0);
        QCOMPARE(PdfTools::Info(pdf, u"Pages"_s), u"12"_s);
        QVERIFY(PdfTools::Text(pdf, 11).contains(u"Thanksgiving"_s));
        QVERIFY(PdfTools::Text(pdf, 12).contains(u"Christmas Day"_s));
        QVERIFY(!PdfTools::Text(pdf, 10).contains(u"Thanksgiving"_s));
    }

    // The holidays of a region on the days, in the chosen language, also in the months of the next year.
    void yearEndWithHolidays()
    {
        if (!PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        const QString pdf = path(u"holidays.pdf"_s);
        const Result r =
            Run({u"pdf"_s, u"--layout"_s, u"1"_s, u"--month"_s, u"12"_s, u"--year"_s, u"2025"_s,
                 u"--months"_s, u"2"_s, u"--holidays"_s, u"DE-BY"_s, u"--lang"_s, u"de"_s, u"-o"_s, pdf});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(PdfTools::Text(pdf, 1).contains(u"1. Weihnachtstag"_s));
        QVERIFY(PdfTools::Text(pdf, 2).contains(u"Heilige Drei K"_s));
        QVERIFY(!PdfTools::Text(pdf, 1).contains(u"Neujahr"_s));
    }

    // Bad input: a message on standard error, exit code 1, and no file.
    void badInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no store") << QStringList{u"--recurring"_s, u"/nonexistent/KVRECUR.DAX"_s}
                                  << u"no recurring-dates store /nonexistent/KVRECUR.DAX"_s;
        QTest::newRow("zero months") << QStringList{u"--months"_s, u"0"_s}
                                     << u"--months must be a number from 1 to 24"_s;
        QTest::newRow("25 months") << QStringList{u"--months"_s, u"25"_s}
                                   << u"--months must be a number from 1 to 24"_s;
        QTest::newRow("not a number")
            << QStringList{u"--months"_s, u"twelve"_s} << u"--months must be a number from 1 to 24"_s;
        QTest::newRow("unwritable") << QStringList{u"--target-folder"_s} << u"Unable to save"_s;
        QTest::newRow("unknown holiday region")
            << QStringList{u"--holidays"_s, u"DE-XX"_s} << u"no holidays for \"DE-XX\""_s;
    }
    void badInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QString target = path(u"bad.pdf"_s);
        if (arguments == QStringList{u"--target-folder"_s}) {
            target = path(u"missing/bad.pdf"_s);
            arguments.clear();
        }
        const Result r = Run(QStringList{u"pdf"_s} + arguments + QStringList{u"-o"_s, target});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFile::exists(target));
    }

    void renderWithMissingStore()
    {
        const QString png = path(u"never.png"_s);
        const Result r = Run({u"render"_s, u"--recurring"_s, path(u"none.DAX"_s), u"-o"_s, png});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(u"no recurring-dates store"_s));
        QVERIFY(!QFile::exists(png));
    }
};

QTEST_MAIN(TestCliPdf)
#include "tst_clipdf.moc"
