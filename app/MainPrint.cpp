// The main window's printing commands: printing the page through the print engine, its preview, the printer's
// set-up, and the export of a run of months as one PDF file.

#include "app/TCalendarMain.h"
#include "app/TExportPdfDialog.h"
#include "app/TFloatingPalette.h"

#include "calendar/TCalendarPanel32.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "print/CalendarPaper.h"
#include "print/PagePrinter.h"
#include "print/PdfExport.h"
#include "print/TReportSystem.h"
#include "recurring/RecurringStore.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace app {

void TCalendarMain::matchPrinterToCalendar()
{
    // The printer starts on the calendar's paper; what the user picks in a dialog stands until the calendar's
    // paper or orientation changes.
    const std::pair<int, int> paper{m_page->PaperSize(), int(m_page->CalendarOrientation())};
    if (paper == m_printerPaperOf)
        return;
    m_printerPaperOf = paper;
    print::UseCalendarPaper(m_report->Printer(), *m_page);
}

void TCalendarMain::PrintCalendar()
{
    if (m_page->isHidden())
        return;
    matchPrinterToCalendar();
    // Without an installed printer the print window offers a PDF file: it proposes one named after the
    // calendar's month in the program's folder, not a bare folder.
    QPrinter& printer = m_report->Printer();
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        printer.setOutputFileName(platform::ProgramFolder() + ProposedFileName(QStringLiteral(".PDF")));
    const float zoom = m_page->Zoom();
    m_page->SetPrinting(true);
    DoSaveRichtext();
    setZoom(1.0f);
    m_printRan = false;
    bool busy = false;
    m_report->SetShowSetup(true);
    m_report->SetShowStatus(true);
    m_report->SetStatusText(tr("Printing page %p"));
    m_report->SetPageCount(1);
    m_report->OnBeforePrint = [this, &busy](print::TReportSystem& report) {
        // The busy pointer comes once the set-up window is answered, so that window keeps the normal one.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busy = true;
        report.SetOrientation(m_page->CalendarOrientation() != calendar::coPortrait);
    };
    m_report->OnPrint = [this](print::TReportSystem& report) {
        m_printRan = true;
        m_pagePrinter->Print(report, *m_page, print::ContentOf(*m_page), 0, 0);
    };
    const print::TReportSystem::Result result = m_report->Execute();
    if (zoom != 1.0f)
        setZoom(zoom);
    if (busy)
        QApplication::restoreOverrideCursor();
    if (result == print::TReportSystem::Result::Failed) {
        // A job the printer gave up on is reported as such, never as sent.
        platform::Prompts::Current().Information(this, tr("Unable to print the calendar.") + u'\r' +
                                                           m_report->ErrorString());
    } else if (m_printRan && result == print::TReportSystem::Result::Printed) {
        QString message = tr("Print job completed and sent to printer!");
        if (m_page->HasSuperText())
            message +=
                tr("\r\rNote: this design contains complex shapes or text.\rPlease be patient while the "
                   "printer produces its\routput...");
        platform::Prompts::Current().Information(this, message);
    }
    if (zoom != 1.0f)
        m_page->update();
    m_page->SetPrinting(false);
}

void TCalendarMain::PrintSetup()
{
    matchPrinterToCalendar();
    m_report->PrinterSetup();
}

void TCalendarMain::PrintPreview()
{
    if (m_page->isHidden())
        return;
    DoSaveRichtext();
    showPreview(this, [this](print::TReportSystem& report) {
        m_pagePrinter->Print(report, *m_page, print::ContentOf(*m_page), 0, 0);
    });
}

void TCalendarMain::showPreview(QWidget* parent, const std::function<void(print::TReportSystem&)>& pages)
{
    matchPrinterToCalendar();
    QPrintPreviewDialog preview(&m_report->Printer(), parent);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(tr("Print Preview"));
    // Drawn as the print command draws it: at full size, through the same print routine; the preview's own
    // Print button prints through the same routine on the printer chosen there.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, &pages](QPrinter* printer) {
        const float zoom = m_page->Zoom();
        m_page->SetPrinting(true);
        setZoom(1.0f);
        print::TReportSystem job(this);
        job.UsePrinter(*printer);
        job.SetShowSetup(false);
        job.OnPrint = pages;
        if (job.Execute() == print::TReportSystem::Result::Failed)
            platform::Prompts::Current().Information(this, tr("Unable to print the calendar.") + u'\r' +
                                                               job.ErrorString());
        if (zoom != 1.0f)
            setZoom(zoom);
        m_page->SetPrinting(false);
        m_page->update();
    });
    const bool palette = hidePaletteFor();
    preview.resize(std::max(preview.sizeHint().width(), width() * 3 / 4),
                   std::max(preview.sizeHint().height(), height() * 9 / 10));
    preview.exec();
    if (palette)
        m_palette->show();
}

bool TCalendarMain::exportOptions(const TExportPdfDialog& dialog, print::PdfExportOptions& options)
{
    options.months = dialog.Months();
    options.fill = dialog.FillRecurring();
    if (options.fill) {
        const QString store = recurring::StorePath();
        if (!QFileInfo(store).isFile()) {
            platform::Prompts::Current().Information(
                this, tr("No recurring dates are stored: %1 does not exist.").arg(store) + u'\r' +
                          tr("Edit the recurring dates first, or export without them."));
            return false;
        }
        options.sources.recurringLines = recurring::ReadStore(store);
        options.sources.attributes = DefaultEditorAttributes();
    }
    return true;
}

bool TCalendarMain::ExportAsPdf()
{
    if (m_page->isHidden())
        return false;
    DoSaveRichtext();
    TExportPdfDialog dialog(this);
    // The run as it will be written, shown from the dialog, which stays open for a change of mind.
    connect(&dialog, &TExportPdfDialog::PreviewRequested, &dialog, [this, &dialog] {
        print::PdfExportOptions options;
        if (exportOptions(dialog, options))
            showPreview(&dialog, [this, &options](print::TReportSystem& report) {
                print::PrintRun(report, *m_page, options);
            });
    });
    if (dialog.exec() != QDialog::Accepted)
        return false;
    print::PdfExportOptions options;
    if (!exportOptions(dialog, options))
        return false;
    const std::optional<QString> chosen = platform::Prompts::Current().SaveFileName(
        this, tr("Export Calendar as PDF"),
        platform::ProgramFolder() + ProposedFileName(QStringLiteral(".PDF")),
        QStringLiteral("PDF File (*.PDF)"));
    if (!chosen)
        return false;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".PDF");
    options.statusParent = this;
    QString error;
    const float zoom = m_page->Zoom();
    const print::ExportResult result = print::ExportPdf(*m_page, options, path, error);
    // The export printed at zoom 1; the window's frame follows the page's size again.
    setZoom(zoom);
    if (result == print::ExportResult::Failed)
        platform::Prompts::Current().Information(this, error);
    return result == print::ExportResult::Written;
}

} // namespace app
