#include "print/TReportSystem.h"
#include "tests/support/FailingPrinter.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/PdfTools.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using print::TReportSystem;

class TestReportSystem : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    /** A job of pages into a PDF file of the test folder, its status window shown at once. */
    void toPdfWithStatus(TReportSystem& report, int pages, const QString& name) const
    {
        report.SetShowSetup(false);
        report.SetShowStatus(true, 0);
        report.SetPageCount(pages);
        report.Printer().setOutputFormat(QPrinter::PdfFormat);
        report.Printer().setOutputFileName(m_dir.path() + u'/' + name + QStringLiteral(".pdf"));
    }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    // Inches to device pixels truncate; a text too wide loses characters from its end.
    void unitsAndFitting()
    {
        TReportSystem report;
        report.Printer().setResolution(600);
        QCOMPARE(report.XDPI(), 600.0);
        QCOMPARE(report.XI2D(1.2349), 740);
        QCOMPARE(report.YI2D(0.0016), 0);
        QCOMPARE(report.XD2I(300), 0.5);
        report.SetFont(QStringLiteral("Times New Roman"), 18, true, false, false);
        QCOMPARE(report.LineHeight(), 0.25);
        const QString text = QStringLiteral("Wednesday");
        const double width = report.TextWidth(text);
        QVERIFY(width > 0.5 && width < 2.0);
        QCOMPARE(report.FitText(text, width), text);
        const QString cut = report.FitText(text, width - 0.01);
        QCOMPARE(cut, QStringLiteral("Wednesda"));
        QCOMPARE(report.FitText(text, 0), QString());
    }

    // Declining the set-up window prints nothing and raises no event.
    void declinedSetup()
    {
        testsupport::ScriptedPrompts prompts;
        TReportSystem report;
        int events = 0;
        report.OnBeforePrint = [&](TReportSystem&) { ++events; };
        report.OnPrint = [&](TReportSystem&) { ++events; };
        QCOMPARE(report.Execute(), TReportSystem::Result::Cancelled);
        QCOMPARE(events, 0);
        QCOMPARE(prompts.printSetupTitles, QStringList{u"Report Setup"_s});
    }

    // The set-up window's printer is the one the job prints on; the orientation set before printing holds.
    void jobRunsEventsInOrder()
    {
        if (!testsupport::PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        testsupport::ScriptedPrompts prompts;
        prompts.printTarget = m_dir.path() + QStringLiteral("/job.pdf");
        TReportSystem report;
        QStringList order;
        report.OnBeforePrint = [&](TReportSystem& r) {
            order << QStringLiteral("before");
            r.SetOrientation(false);
        };
        report.OnPrint = [&](TReportSystem& r) {
            order << QStringLiteral("print");
            r.SetFont(QStringLiteral("Arial"), 12, false, false, false);
            r.PrintCenter(QStringLiteral("centred"), 4.25, 1);
            r.PrintRight(QStringLiteral("right"), 8, 2);
            QVERIFY(r.NewPage());
            r.PrintCenter(QStringLiteral("second"), 4.25, 1);
        };
        QCOMPARE(report.Execute(), TReportSystem::Result::Printed);
        QCOMPARE(order, (QStringList{u"before"_s, u"print"_s}));
        QCOMPARE(testsupport::PdfTools::Info(prompts.printTarget, QStringLiteral("Pages")),
                 QStringLiteral("2"));
        QCOMPARE(testsupport::PdfTools::Info(prompts.printTarget, QStringLiteral("Page size")),
                 QStringLiteral("612 x 792 pts (letter)"));
        // Placed by inches from the paper's corner: centred at 4.25 inches, right-aligned to 8.
        const QImage page = testsupport::PdfTools::Render(prompts.printTarget, 1, 96);
        int left = page.width(), right = 0, rightEnd = 0;
        for (int y = 96; y < 115; ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        for (int y = 192; y < 211; ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 128)
                    rightEnd = std::max(rightEnd, x);
            }
        }
        QVERIFY2(std::abs((left + right) / 2.0 - 408) <= 2,
                 qPrintable(QString::number((left + right) / 2.0)));
        QVERIFY2(rightEnd <= 768 && rightEnd >= 764, qPrintable(QString::number(rightEnd)));
    }

    // Lines are as wide as a screen pixel; a rectangle's outline lies inside it.
    void linesAndRectangles()
    {
        if (!testsupport::PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        const QString path = m_dir.path() + QStringLiteral("/lines.pdf");
        TReportSystem report;
        report.SetShowSetup(false);
        report.Printer().setOutputFormat(QPrinter::PdfFormat);
        report.Printer().setOutputFileName(path);
        report.Printer().setPageSize(QPageSize(QPageSize::Letter));
        report.OnPrint = [](TReportSystem& r) {
            r.SetPen(platform::clBlack, Qt::SolidLine, r.YDPI() / 96);
            r.Line(r.XI2D(1), r.YI2D(1), r.XI2D(2), r.YI2D(1));
            r.SetBrush(platform::clBlue);
            r.Rectangle({r.XI2D(3), r.YI2D(3), r.XI2D(4), r.YI2D(4)});
        };
        QCOMPARE(report.Execute(), TReportSystem::Result::Printed);
        const QImage page = testsupport::PdfTools::Render(path, 1, 96);
        QCOMPARE(qGray(page.pixel(150, 96)), 0);
        QVERIFY(qGray(page.pixel(150, 95)) > 200);
        QVERIFY(qGray(page.pixel(150, 97)) > 200);
        QVERIFY(qGray(page.pixel(192, 96)) < 64); // the pen reaches the end
        QVERIFY(qGray(page.pixel(193, 96)) > 200);
        QCOMPARE(qGray(page.pixel(288, 330)), 0);
        QVERIFY(qGray(page.pixel(383, 330)) < 64);
        QVERIFY(qGray(page.pixel(385, 330)) > 200);
        QCOMPARE(QColor(page.pixel(330, 330)), QColor(Qt::blue));
    }

    // A printer that fails during the job ends it as a failure with a message.
    void printerFailsMidJob()
    {
        const QString path = m_dir.path() + QStringLiteral("/failing.pdf");
        TReportSystem report;
        report.SetShowSetup(false);
        report.SetPrinter(std::make_unique<testsupport::FailingPrinter>(3));
        report.Printer().setOutputFormat(QPrinter::PdfFormat);
        report.Printer().setOutputFileName(path);
        int pages = 1;
        report.OnPrint = [&](TReportSystem& r) {
            while (pages < 5 && r.NewPage())
                ++pages;
        };
        QCOMPARE(report.Execute(), TReportSystem::Result::Failed);
        QCOMPARE(pages, 2);
        QCOMPARE(report.ErrorString(), QStringLiteral("The printer stopped at page 3."));
    }

    // A job whose output cannot be written whole is a failure, not a printed job.
    void unwritableOutputFails()
    {
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        TReportSystem report;
        report.SetShowSetup(false);
        report.Printer().setOutputFormat(QPrinter::PdfFormat);
        report.Printer().setOutputFileName(QStringLiteral("/dev/full"));
        report.OnPrint = [](TReportSystem& r) {
            r.SetFont(QStringLiteral("Arial"), 12, false, false, false);
            r.PrintCenter(QStringLiteral("lost"), 4.25, 1);
        };
        QCOMPARE(report.Execute(), TReportSystem::Result::Failed);
        QCOMPARE(report.ErrorString(), QStringLiteral("The file /dev/full could not be written whole."));
    }

    // Text goes over what lies below unless asked to stand on the brush's colour.
    void transparentText()
    {
        if (!testsupport::PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        for (bool transparent : {true, false}) {
            const QString path = m_dir.path() + QStringLiteral("/text%1.pdf").arg(transparent);
            TReportSystem report;
            report.SetShowSetup(false);
            report.Printer().setOutputFormat(QPrinter::PdfFormat);
            report.Printer().setOutputFileName(path);
            report.OnPrint = [transparent](TReportSystem& r) {
                r.SetBrush(platform::clBlue);
                r.FillRect({0, 0, r.XI2D(3), r.YI2D(2)});
                r.SetBrush(platform::clWhite);
                r.SetTransparentText(transparent);
                r.SetFont(QStringLiteral("Arial"), 36, false, false, false);
                r.PrintCenter(QStringLiteral("- -"), 1.5, 0.5);
            };
            QCOMPARE(report.Execute(), TReportSystem::Result::Printed);
            // Between the two dashes, in the middle of the line.
            const QImage page = testsupport::PdfTools::Render(path, 1, 96);
            QCOMPARE(QColor(page.pixel(144, 48 + 20)), transparent ? QColor(Qt::blue) : QColor(Qt::white));
        }
    }

    // A job cancelled in the status window stops there; the same engine prints the next job in full.
    void cancelThenPrintAgain()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TReportSystem report(&window);
        toPdfWithStatus(report, 50, QStringLiteral("again"));
        int pages = 0;
        report.OnPrint = [&pages](TReportSystem& r) {
            pages = 1;
            while (pages < 50 && r.NewPage())
                ++pages;
        };
        testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
        QCOMPARE(report.Execute(), TReportSystem::Result::Cancelled);
        QVERIFY(pages < 50);
        report.SetShowStatus(false);
        QCOMPARE(report.Execute(), TReportSystem::Result::Printed);
        QCOMPARE(pages, 50);
        QCOMPARE(report.PageNumber(), 50);
    }

    // The status window follows the pages: "Printing page 3" with two of the pages done. It exists only when
    // asked for and when there is a window to show it over.
    void statusFollowsThePages()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TReportSystem report(&window);
        toPdfWithStatus(report, 5, QStringLiteral("status"));
        int value = -1;
        QString label;
        report.OnPrint = [&](TReportSystem& r) {
            r.NewPage();
            r.NewPage();
            if (auto* status = window.findChild<QProgressDialog*>()) {
                value = status->value();
                label = status->labelText();
            }
        };
        QCOMPARE(report.Execute(), TReportSystem::Result::Printed);
        QCOMPARE(value, 2);
        QCOMPARE(label, QStringLiteral("Printing page 3"));

        const auto statusWindows = [] {
            int n = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                n += qobject_cast<QProgressDialog*>(w) != nullptr;
            return n;
        };
        int shown = -1;
        report.OnPrint = [&](TReportSystem&) { shown = statusWindows(); };
        report.SetShowStatus(false);
        QCOMPARE(report.Execute(), TReportSystem::Result::Printed);
        QCOMPARE(shown, 0);
        TReportSystem alone;
        alone.SetShowSetup(false);
        alone.SetShowStatus(true, 0);
        alone.Printer().setOutputFormat(QPrinter::PdfFormat);
        alone.Printer().setOutputFileName(m_dir.path() + QStringLiteral("/alone.pdf"));
        alone.OnPrint = [&](TReportSystem&) { shown = statusWindows(); };
        QCOMPARE(alone.Execute(), TReportSystem::Result::Printed);
        QCOMPARE(shown, 0);
    }

    // Cancelled in the status window during the last page, the job is cancelled, not printed.
    void cancelOnTheLastPage()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TReportSystem report(&window);
        toPdfWithStatus(report, 1, QStringLiteral("last"));
        report.OnPrint = [&window](TReportSystem&) {
            if (auto* status = window.findChild<QProgressDialog*>())
                QTest::mouseClick(status->findChild<QPushButton*>(), Qt::LeftButton);
        };
        QCOMPARE(report.Execute(), TReportSystem::Result::Cancelled);
    }

    // Rectangles without width or height, or turned inside out, leave the paper blank: no fill, no outline.
    void emptyRectanglesDrawNothing()
    {
        if (!testsupport::PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        const QString path = m_dir.path() + QStringLiteral("/empty.pdf");
        TReportSystem report;
        report.SetShowSetup(false);
        report.SetPrinter(std::make_unique<QPrinter>(QPrinter::ScreenResolution));
        report.Printer().setOutputFormat(QPrinter::PdfFormat);
        report.Printer().setOutputFileName(path);
        report.Printer().setPageSize(QPageSize(QPageSize::Letter));
        report.OnPrint = [](TReportSystem& r) {
            r.SetPen(platform::clBlack, Qt::SolidLine, 1);
            r.SetBrush(platform::clBlack);
            r.Rectangle({100, 100, 100, 200}); // no width
            r.Rectangle({200, 100, 300, 100}); // no height
            r.FillRect({400, 100, 300, 200});  // right of its left edge
            r.FillRect({100, 400, 200, 300});  // above its top
            r.Rectangle({100, 500, 150, 550}); // one that shows, to be sure the page printed
        };
        QCOMPARE(report.Execute(), TReportSystem::Result::Printed);
        const QImage page = testsupport::PdfTools::Render(path, 1, int(report.XDPI()));
        int dark = 0;
        for (int y = 0; y < 450; ++y)
            for (int x = 0; x < 450; ++x)
                dark += qGray(page.pixel(x, y)) < 128;
        QCOMPARE(dark, 0);
        QVERIFY(qGray(page.pixel(125, 525)) < 128);
    }

    // A line drawn backwards covers the points a forward one would, less its start and with its end, as on
    // screen: from 100 to 200 covers 100..199, from 200 to 100 covers 101..200.
    void lineDrawnBackwards()
    {
        if (!testsupport::PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        const QString path = m_dir.path() + QStringLiteral("/backwards.pdf");
        TReportSystem report;
        report.SetShowSetup(false);
        report.SetPrinter(std::make_unique<QPrinter>(QPrinter::ScreenResolution));
        report.Printer().setOutputFormat(QPrinter::PdfFormat);
        report.Printer().setOutputFileName(path);
        report.Printer().setPageSize(QPageSize(QPageSize::Letter));
        report.OnPrint = [](TReportSystem& r) {
            r.SetPen(platform::clBlack, Qt::SolidLine, 1);
            r.Line(100, 50, 200, 50);
            r.Line(200, 60, 100, 60);
            r.Line(300, 200, 300, 100);
            r.SetPen(platform::clBlack, Qt::DashLine, 1);
            r.Line(100, 300, 400, 300);
        };
        QCOMPARE(report.Execute(), TReportSystem::Result::Printed);
        const QImage page = testsupport::PdfTools::Render(path, 1, int(report.XDPI()));
        const auto dark = [&page](int x, int y) { return qGray(page.pixel(x, y)) < 128; };
        QVERIFY(dark(100, 50) && dark(199, 50) && !dark(200, 50) && !dark(99, 50));
        QVERIFY(!dark(100, 60) && dark(101, 60) && dark(200, 60) && !dark(201, 60));
        QVERIFY(!dark(300, 100) && dark(300, 101) && dark(300, 200) && !dark(300, 201));
        // A dashed pen leaves gaps.
        int dots = 0;
        for (int x = 100; x < 400; ++x)
            dots += dark(x, 300);
        QVERIFY2(dots > 60 && dots < 260, qPrintable(QString::number(dots)));
    }

    void printerCannotStart()
    {
        TReportSystem report;
        report.SetShowSetup(false);
        report.Printer().setOutputFormat(QPrinter::PdfFormat);
        report.Printer().setOutputFileName(m_dir.path() + QStringLiteral("/missing/folder/out.pdf"));
        bool printed = false;
        report.OnPrint = [&](TReportSystem&) { printed = true; };
        QCOMPARE(report.Execute(), TReportSystem::Result::Failed);
        QVERIFY(!printed);
        QVERIFY(!report.ErrorString().isEmpty());
    }
};

QTEST_MAIN(TestReportSystem)
#include "tst_reportsystem.moc"
