// PDF export: one month page printed to PDF (recurring dates filled into its cells), and a year of months as
// one file, inside the process. Build with -DDATORIA_BUILD_BENCH=ON; run: QT_QPA_PLATFORM=offscreen
// build-bench/bin/bench_pdf
#include "calendar/TCalendarPanel32.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "print/PdfExport.h"
#include "recurring/RecurringStore.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

class BenchPdf : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static print::PdfExportOptions options(int months)
    {
        print::PdfExportOptions o;
        o.months = months;
        o.fill = true;
        // The built-in holidays and a weekly date, so every month has texts in its cells.
        o.sources.recurringLines = recurring::HolidayLines();
        o.sources.recurringLines.append(
            recurring::MakeLine(QStringLiteral("Choir practice"), QStringLiteral("%4")));
        return o;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        platform::SetPixelsPerInchOverride(96);
        platform::SetTodayOverride(QDate(2027, 1, 1));
        QVERIFY(m_dir.isValid());
    }

    void exportMonths_data()
    {
        QTest::addColumn<int>("months");
        QTest::newRow("one page") << 1;
        QTest::newRow("twelve pages") << 12;
    }
    void exportMonths()
    {
        QFETCH(int, months);
        calendar::TCalendarPanel32 page;
        page.ResetToNew();
        page.SetCalendarLayout(calendar::LOFullCalendarLS);
        page.Relayout(true);
        const print::PdfExportOptions o = options(months);
        const QString path = m_dir.path() + QStringLiteral("/bench.pdf");
        QString error;
        // Warm the font and glyph caches as a running program has them.
        QCOMPARE(print::ExportPdf(page, o, path, error), print::ExportResult::Written);
        QBENCHMARK
        {
            print::ExportPdf(page, o, path, error);
        }
    }
};

QTEST_MAIN(BenchPdf)
#include "bench_pdf.moc"
