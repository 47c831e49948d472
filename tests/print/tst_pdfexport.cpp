#include "calendar/TCalendarPanel32.h"
#include "print/PdfExport.h"
#include "recurring/RecurringStore.h"
#include "richtext/RtfPlainText.h"
#include "tests/support/FailingPrinter.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/PdfTools.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

#include <memory>

using calendar::TCalendarPanel32;
using print::ExportResult;
using testsupport::PdfTools;

namespace {

QStringList Store()
{
    return {recurring::MakeLine(QStringLiteral("Christmas Day"), QStringLiteral("@1225")),
            recurring::MakeLine(QStringLiteral("New Year's Day"), QStringLiteral("@0101")),
            recurring::MakeLine(QStringLiteral("Book club"), QStringLiteral("$3 4 0")),
            recurring::MakeLine(QStringLiteral("Easter"), QStringLiteral("#EASTER"))};
}

} // namespace

class TestPdfExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.path() + u'/' + name; }

    static std::unique_ptr<TCalendarPanel32> newPage(int layout = calendar::LOFullCalendarLS)
    {
        auto page = std::make_unique<TCalendarPanel32>();
        page->ResetToNew();
        page->SetCalendarLayout(calendar::TCalendarLayout(layout));
        page->Relayout(true);
        return page;
    }

private Q_SLOTS:
    void initTestCase()
    {
        testsupport::PinEnvironment();
        QVERIFY(m_dir.isValid());
    }

    // Twelve pages, December to November; each its own month; the typed text only on the document's month.
    void yearOfMonths()
    {
        if (!PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        auto page = newPage();
        page->RenderToBitmap();
        page->CellStorage(page->CellOfDay(3))
            .SetRtfText(print::AppendParagraph({}, QStringLiteral("Typed"), {}));
        print::PdfExportOptions options;
        options.months = 12;
        options.fill = true;
        options.sources.recurringLines = Store();
        QString error;
        const QString pdf = path(QStringLiteral("year.pdf"));
        QCOMPARE(print::ExportPdf(*page, options, pdf, error), ExportResult::Written);
        QCOMPARE(PdfTools::Info(pdf, QStringLiteral("Pages")), QStringLiteral("12"));
        const QStringList titles = {u"December 2026"_s,  u"January 2027"_s, u"February 2027"_s,
                                    u"March 2027"_s,     u"April 2027"_s,   u"May 2027"_s,
                                    u"June 2027"_s,      u"July 2027"_s,    u"August 2027"_s,
                                    u"September 2027"_s, u"October 2027"_s, u"November 2027"_s};
        for (int k = 0; k < 12; ++k) {
            const QString text = PdfTools::Text(pdf, k + 1);
            QVERIFY2(text.startsWith(titles[k]), qPrintable(text.left(40)));
            QCOMPARE(text.contains(QStringLiteral("Typed")), k == 0);
            QCOMPARE(text.contains(QStringLiteral("Christmas Day")), k == 0);
            QCOMPARE(text.contains(QStringLiteral("New Year's Day")), k == 1);
            QCOMPARE(text.contains(QStringLiteral("Easter")), k == 3); // 28 March 2027
            QCOMPARE(text.count(QStringLiteral("Book club")), 1);
        }
        // Fonts travel in the file, so the text shows and can be selected anywhere.
        const QStringList fonts = PdfTools::Fonts(pdf).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString& font : fonts) {
            const QStringList columns = font.split(u' ', Qt::SkipEmptyParts);
            QCOMPARE(columns.value(columns.size() - 5), QStringLiteral("yes")); // embedded
        }
        QCOMPARE(page->CellStorage(page->CellOfDay(25)).RtfText(), QByteArray()); // the document is unchanged
    }

    // The month's texts land on their days, after what the cell held; what it held already is not doubled.
    void fillPutsTextsOnTheirDays()
    {
        auto page = newPage();
        print::PageContent content = print::ContentOf(*page);
        content.month = 11;
        content.year = 2026;
        const int thursday = print::CellOfDay(*page, content, 26);
        QCOMPARE(thursday, 1 + 0 + 25); // November 2026 begins on a Sunday
        content.cells[size_t(thursday - 1)] = print::AppendParagraph({}, QStringLiteral("Turkey"), {});
        print::MonthFillSources sources;
        sources.recurringLines = {
            recurring::MakeLine(QStringLiteral("Thanksgiving"), QStringLiteral("$3 4 11")),
            recurring::MakeLine(QStringLiteral("Turkey"), QStringLiteral("@1126"))};
        print::FillMonth(*page, content, sources);
        QCOMPARE(richtext::RtfPlainText(content.cells[size_t(thursday - 1)]),
                 QStringLiteral("Turkey\n\nThanksgiving"));
        for (int i = 0; i < calendar::kCellCount; ++i) {
            if (i != thursday - 1)
                QVERIFY(content.cells[size_t(i)].isEmpty());
        }
    }

    void cellOfDay_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("cell");
        QTest::newRow("grid first") << int(calendar::loFullCalendar) << 1 << 3; // December 2026: a Tuesday
        QTest::newRow("grid last") << int(calendar::loFullCalendar) << 31 << 33;
        QTest::newRow("grid none") << int(calendar::loFullCalendar) << 32 << 0;
        QTest::newRow("week row") << int(calendar::loWeek) << 9 << 3;
        QTest::newRow("week outside") << int(calendar::loWeek) << 14 << 0;
        QTest::newRow("day planner") << int(calendar::loDay10) << 7 << 0;
        QTest::newRow("minis") << int(calendar::loMC12Month) << 7 << 0;
        QTest::newRow("grid with twelve after") << int(calendar::loFC12AfterLS) << 31 << 33;
    }
    void cellOfDay()
    {
        QFETCH(int, layout);
        QFETCH(int, day);
        QFETCH(int, cell);
        auto page = newPage(layout);
        QCOMPARE(print::CellOfDay(*page, print::ContentOf(*page), day), cell);
    }

    // The page is printed at full size and gets its zoom back.
    void zoomIsGivenBack()
    {
        auto page = newPage();
        page->SetZoom(0.6f);
        QString error;
        QCOMPARE(print::ExportPdf(*page, {}, path(QStringLiteral("zoom.pdf")), error), ExportResult::Written);
        QCOMPARE(page->Zoom(), 0.6f);
        QVERIFY(!page->Printing());
    }

    // Bad input: the target keeps what it held, or stays absent, and the message says why.
    void failuresLeaveNoFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("months");
        QTest::addColumn<int>("failAt");
        QTest::addColumn<QString>("message");
        QTest::newRow("no folder") << u"missing/out.pdf"_s << 2 << 0 << u"Unable to save"_s;
        QTest::newRow("no months") << u"zero.pdf"_s << 0 << 0
                                   << u"The number of months must be from 1 to 24."_s;
        QTest::newRow("too many") << u"many.pdf"_s << 25 << 0
                                  << u"The number of months must be from 1 to 24."_s;
        QTest::newRow("printer fails") << u"failing.pdf"_s << 6 << 4 << u"The printer stopped at page 4."_s;
    }
    void failuresLeaveNoFile()
    {
        QFETCH(QString, target);
        QFETCH(int, months);
        QFETCH(int, failAt);
        QFETCH(QString, message);
        auto page = newPage();
        print::PdfExportOptions options;
        options.months = months;
        if (failAt > 0)
            options.makePrinter = [failAt] { return std::make_unique<testsupport::FailingPrinter>(failAt); };
        QString error;
        QCOMPARE(print::ExportPdf(*page, options, path(target), error), ExportResult::Failed);
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(!QFile::exists(path(target)));
    }

    // A file that was there keeps its bytes when the new one cannot be made.
    void failureKeepsTheOldFile()
    {
        const QString target = path(QStringLiteral("kept.pdf"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old bytes");
        old.close();
        auto page = newPage();
        print::PdfExportOptions options;
        options.months = 3;
        options.makePrinter = [] { return std::make_unique<testsupport::FailingPrinter>(2); };
        QString error;
        QCOMPARE(print::ExportPdf(*page, options, target, error), ExportResult::Failed);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old bytes"));
    }

    // Cancel in the status window stops the export and writes nothing.
    void cancelInStatusWindow()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto page = newPage();
        print::PdfExportOptions options;
        options.months = 24;
        options.statusParent = &window;
        options.statusDelayMs = 0;
        bool sawStatus = false;
        testsupport::WhenDialogOpens(&window, [&sawStatus](QWidget* dialog) {
            auto* status = qobject_cast<QProgressDialog*>(dialog);
            QVERIFY(status);
            sawStatus = status->windowTitle() == QStringLiteral("Report Status") &&
                        status->labelText().startsWith(QStringLiteral("Generating page "));
            QTest::mouseClick(status->findChild<QPushButton*>(), Qt::LeftButton);
        });
        QString error;
        const QString target = path(QStringLiteral("cancelled.pdf"));
        QCOMPARE(print::ExportPdf(*page, options, target, error), ExportResult::Cancelled);
        QVERIFY(sawStatus);
        QVERIFY(!QFile::exists(target));
    }
};

QTEST_MAIN(TestPdfExport)
#include "tst_pdfexport.moc"
