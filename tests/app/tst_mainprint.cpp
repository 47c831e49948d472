#include "app/TCalendarMain.h"
#include "app/TCalendarProperties.h"
#include "app/TExportPdfDialog.h"
#include "calendar/TCalendarPanel32.h"
#include "platform/ProgramFolder.h"
#include "print/MonthFill.h"
#include "print/TReportSystem.h"
#include "recurring/RecurringStore.h"
#include "supertext/TQelSuperText.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/PdfTools.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <memory>

using namespace Qt::StringLiterals;
using app::TCalendarMain;
using testsupport::PdfTools;

class TestMainPrint : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

    QString folder() const { return m_folder->path() + u'/'; }

    static void start(TCalendarMain& window)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(!window.StartingUp());
    }

    static void newDocument(TCalendarMain& window)
    {
        testsupport::WhenDialogOpens(&window, [](QWidget* dialog) {
            QVERIFY(qobject_cast<app::TCalendarProperties*>(dialog));
            qobject_cast<QDialog*>(dialog)->accept();
        });
        window.New();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    /** Opens the File menu with the mouse and clicks the item, as a user does. */
    static void clickFileItem(TCalendarMain& window, const char* name)
    {
        QAction* item = window.Action(name);
        QVERIFY(item && item->isEnabled());
        QMenuBar* bar = window.menuBar();
        QAction* file = bar->actions().first();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
        QTRY_VERIFY(file->menu()->isVisible());
        QTest::mouseClick(file->menu(), Qt::LeftButton, {}, file->menu()->actionGeometry(item).center());
    }

    static QWidget* toolButton(TCalendarMain& window, const char* name)
    {
        return window.findChild<QToolBar*>(u"DesignToolBar"_s)->widgetForAction(window.Action(name));
    }

private Q_SLOTS:
    void initTestCase() { testsupport::PinEnvironment(); }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        platform::SetProgramFolderOverride(m_folder->path());
    }

    void cleanup()
    {
        platform::SetProgramFolderOverride(QString());
        testsupport::PinEnvironment();
    }

    // Printing needs no installed printer (a PDF file is always offered), so the start says nothing and the
    // print commands come with the calendar. The print and page set-up windows open on the calendar's paper
    // and orientation; what the user picks there stands until the calendar's paper or orientation changes.
    void printingStartsFromTheCalendarsPaper()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        QVERIFY(prompts.messages.isEmpty());
        for (const char* name : {"mnuPrintCalendar", "Printbutton", "mnuPrintPreview", "mnuPrintSetup"})
            QVERIFY2(!window.Action(name)->isEnabled(), name); // nothing to print before there is a calendar
        newDocument(window);
        for (const char* name : {"mnuPrintCalendar", "Printbutton", "mnuPrintPreview", "mnuPrintSetup"})
            QVERIFY2(window.Action(name)->isEnabled(), name);
        window.Page()->SetPaperSize(1);
        QCOMPARE(window.Page()->CalendarOrientation(), calendar::coLandscape); // the new calendar's layout
        const QPageLayout a4Landscape(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF());
        const QPageLayout letterPortrait(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
        prompts.printerSetupChoice = letterPortrait;
        clickFileItem(window, "mnuPrintSetup");
        clickFileItem(window, "mnuPrintCalendar");                  // declined: printTarget is empty
        window.Page()->SetCalendarLayout(calendar::loFullCalendar); // a layout standing upright
        QCOMPARE(window.Page()->CalendarOrientation(), calendar::coPortrait);
        clickFileItem(window, "mnuPrintCalendar");
        auto paper = [](const QPageLayout& layout) {
            return std::pair{layout.pageSize().id(), layout.orientation()};
        };
        QCOMPARE(prompts.printerLayoutsAsked.size(), 3);
        QCOMPARE(paper(prompts.printerLayoutsAsked[0]), paper(a4Landscape));
        QCOMPARE(paper(prompts.printerLayoutsAsked[1]), paper(letterPortrait));
        QCOMPARE(paper(prompts.printerLayoutsAsked[2]), std::pair(QPageSize::A4, QPageLayout::Portrait));
        // Where the machine has no printer, a PDF file named after the month is proposed.
        if (!prompts.printFilesProposed[1].isEmpty())
            QCOMPARE(prompts.printFilesProposed[1], platform::ProgramFolder() + u"Dec2026.PDF"_s);
    }

    // File > Print Preview (Ctrl+Shift+P) shows the page as the print routine draws it, on the calendar's
    // paper; the page keeps its zoom and nothing is changed.
    void printPreviewShowsThePrintedPage()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        window.SetModified(false);
        int pages = 0;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        QImage shown;
        testsupport::WhenDialogOpens(&window, [&](QWidget* dialog) {
            auto* preview = dialog->findChild<QPrintPreviewWidget*>();
            QVERIFY(preview);
            pages = preview->pageCount();
            orientation = preview->orientation();
            shown = preview->grab().toImage();
            static_cast<QDialog*>(dialog)->reject();
        });
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pages, 1);
        QCOMPARE(orientation, QPageLayout::Landscape);
        // The grid's lines and the texts in black on the white sheet (the sheet's shadow has white on one
        // side only), not a blank sheet.
        int strokes = 0;
        auto white = [&shown](int x, int y) { return qGray(shown.pixel(x, y)) >= 250; };
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 3; x + 3 < shown.width(); ++x)
                strokes += qGray(shown.pixel(x, y)) < 80 && white(x - 3, y) && white(x + 3, y) ? 1 : 0;
        QVERIFY2(strokes > 500, qPrintable(QString::number(strokes)));
        QCOMPARE(window.Page()->Zoom(), 0.6f);
        QVERIFY(!window.Page()->Printing());
        QVERIFY(!window.Modified());
        QVERIFY(prompts.messages.isEmpty());
    }

    // A portrait calendar at 60% prints at full size on portrait paper, and shows at 60% afterwards.
    void printFromTheMenu()
    {
        if (!PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        calendar::TCalendarPanel32* page = window.Page();
        page->SetCalendarLayout(calendar::loFullCalendar);
        QCOMPARE(page->Zoom(), 0.6f);
        const QSize shown = page->size();
        prompts.printTarget = folder() + u"printed.pdf"_s;
        prompts.printerOrientation = QPageLayout::Landscape;
        prompts.messages.clear();
        clickFileItem(window, "mnuPrintCalendar");
        QCOMPARE(prompts.printSetupTitles, QStringList{u"Report Setup"_s});
        QCOMPARE(prompts.messages, QStringList{u"Print job completed and sent to printer!"_s});
        QCOMPARE(page->Zoom(), 0.6f);
        QCOMPARE(page->size(), shown);
        QVERIFY(!page->Printing());
        QCOMPARE(PdfTools::Info(prompts.printTarget, u"Page size"_s), u"612 x 792 pts (letter)"_s);
        QCOMPARE(PdfTools::Render(prompts.printTarget).size(), QSize(816, 1056));
        QVERIFY(PdfTools::Text(prompts.printTarget).contains(u"December 2026"_s));
    }

    // The tool bar's button and Ctrl+P print too; declining the set-up window prints nothing and says
    // nothing. The pointer is the normal one afterwards.
    void printButtonAndShortcut()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        prompts.messages.clear();
        QTest::mouseClick(toolButton(window, "Printbutton"), Qt::LeftButton);
        QCOMPARE(prompts.printSetupTitles.size(), 1);
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(window.Page()->Zoom(), 0.6f);
        prompts.printTarget = folder() + u"shortcut.pdf"_s;
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(prompts.printSetupTitles.size(), 2);
        QCOMPARE(prompts.messages, QStringList{u"Print job completed and sent to printer!"_s});
        QVERIFY(QFile::exists(prompts.printTarget));
        QVERIFY(!QApplication::overrideCursor()); // the busy pointer of the job is gone
    }

    // A page with SuperText asks for patience; a printer that gives up is reported, never as sent.
    void completionMessages()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        auto* special = new supertext::TQelSuperText(window.Page());
        special->setGeometry(100, 100, 50, 20);
        QVERIFY(window.Page()->HasSuperText());
        prompts.printTarget = folder() + u"special.pdf"_s;
        prompts.messages.clear();
        window.PrintCalendar();
        QCOMPARE(
            prompts.messages,
            QStringList{u"Print job completed and sent to printer!\r\rNote: this design contains complex "
                        "shapes or text.\rPlease be patient while the printer produces its\routput..."_s});
        delete special;
        prompts.printTarget = folder() + u"missing/folder/out.pdf"_s;
        prompts.messages.clear();
        window.PrintCalendar();
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY2(prompts.messages[0].startsWith(u"Unable to print the calendar."_s),
                 qPrintable(prompts.messages[0]));
        QCOMPARE(window.Page()->Zoom(), 0.6f);
    }

    void printSetupOpensThePrintersDialog()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        clickFileItem(window, "mnuPrintSetup");
        QCOMPARE(prompts.printerSetups, 1);
        QVERIFY(prompts.printSetupTitles.isEmpty());
    }

    // File > Export as PDF: three months from December with the stored dates filled in.
    void exportRunOfMonths()
    {
        if (!PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        QVERIFY(recurring::WriteStore(recurring::StorePath(),
                                      {recurring::MakeLine(u"Christmas Day"_s, u"@1225"_s),
                                       recurring::MakeLine(u"Twelfth Night"_s, u"@0105"_s)}));
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        const QString target = folder() + u"Year.pdf"_s;
        prompts.saveFiles = {target};
        testsupport::WhenDialogOpens(&window, [](QWidget* widget) {
            auto* dialog = qobject_cast<app::TExportPdfDialog*>(widget);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), u"Export as PDF"_s);
            QVERIFY(!dialog->MonthCount()->isEnabled());
            QTest::mouseClick(dialog->RunOfMonths(), Qt::LeftButton);
            QVERIFY(dialog->MonthCount()->isEnabled());
            dialog->MonthCount()->setValue(3);
            QTest::mouseClick(dialog->FillRecurringBox(), Qt::LeftButton);
            // The preview shows the run as it will be written, and the dialog stays for the choice.
            int previewed = 0;
            testsupport::WhenDialogOfTypeOpens<QPrintPreviewDialog>(dialog, [&](QPrintPreviewDialog* preview) {
                previewed = preview->findChild<QPrintPreviewWidget*>()->pageCount();
                preview->reject();
            });
            QTest::mouseClick(dialog->findChild<QPushButton*>(u"PreviewButton"_s), Qt::LeftButton);
            QCOMPARE(previewed, 3);
            QVERIFY(dialog->isVisible());
            QTest::mouseClick(dialog->findChild<QPushButton*>(u"OkButton"_s), Qt::LeftButton);
        });
        clickFileItem(window, "mnuExportPdf");
        QCOMPARE(prompts.proposedNames, QStringList{platform::ProgramFolder() + u"Dec2026.PDF"_s});
        QCOMPARE(PdfTools::Info(target, u"Pages"_s), u"3"_s);
        QVERIFY(PdfTools::Text(target, 1).contains(u"Christmas Day"_s));
        QVERIFY(PdfTools::Text(target, 2).contains(u"Twelfth Night"_s));
        QVERIFY(PdfTools::Text(target, 3).contains(u"February 2027"_s));
        QCOMPARE(window.Page()->Zoom(), 0.6f);
        // The document's own cells took nothing from the export.
        QVERIFY(!window.Page()->HasCellContent());
    }

    // Filling without a store, or writing where no file can go, is said and writes nothing.
    void exportProblems()
    {
        testsupport::ScriptedPrompts prompts;
        TCalendarMain window;
        start(window);
        newDocument(window);
        prompts.messages.clear();
        testsupport::WhenDialogOpens(&window, [](QWidget* widget) {
            auto* dialog = qobject_cast<app::TExportPdfDialog*>(widget);
            QVERIFY(dialog);
            dialog->FillRecurringBox()->setChecked(true);
            dialog->accept();
        });
        prompts.saveFiles = {folder() + u"never.pdf"_s};
        QVERIFY(!window.ExportAsPdf());
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages[0].startsWith(u"No recurring dates are stored"_s));
        QVERIFY(prompts.proposedNames.isEmpty());

        prompts.messages.clear();
        testsupport::WhenDialogOpens(&window,
                                     [](QWidget* widget) { qobject_cast<QDialog*>(widget)->accept(); });
        const QString target = folder() + u"missing/out.pdf"_s;
        prompts.saveFiles = {target};
        QVERIFY(!window.ExportAsPdf());
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY2(prompts.messages[0].startsWith(u"Unable to save "_s + target),
                 qPrintable(prompts.messages[0]));
        QVERIFY(!QFile::exists(target));
    }
};

QTEST_MAIN(TestMainPrint)
#include "tst_mainprint.moc"
