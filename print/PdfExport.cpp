#include "print/PdfExport.h"

#include "calendar/DateRules.h"
#include "calendar/TCalendarPanel32.h"
#include "platform/SaveFile.h"
#include "print/CalendarPaper.h"
#include "print/TReportSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

#include <algorithm>

namespace print {

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("print", text);
}

/** Puts the page at zoom 1 and marks it printing for the guard's life. */
class FullSizeGuard
{
public:
    explicit FullSizeGuard(calendar::TCalendarPanel32& page) : m_page(page), m_zoom(page.Zoom())
    {
        m_page.SetPrinting(true);
        if (m_zoom != 1.0f)
            m_page.SetZoom(1.0f);
    }
    ~FullSizeGuard()
    {
        if (m_zoom != 1.0f)
            m_page.SetZoom(m_zoom);
        m_page.SetPrinting(false);
    }
    FullSizeGuard(const FullSizeGuard&) = delete;
    FullSizeGuard& operator=(const FullSizeGuard&) = delete;

private:
    calendar::TCalendarPanel32& m_page;
    float m_zoom;
};

bool CopyInto(const QString& from, const QString& path, QString& error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        error =
            Tr("Unable to save %1: the pages could not be read back (%2).").arg(path, source.errorString());
        return false;
    }
    const QByteArray bytes = source.readAll();
    platform::SaveFile target(path);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.commit()) {
        error = Tr("Unable to save %1: %2").arg(path, target.errorString());
        return false;
    }
    return true;
}

} // namespace

PageContent RunPageContent(const calendar::TCalendarPanel32& page, const PdfExportOptions& options, int k)
{
    PageContent content = ContentOf(page);
    if (k > 0) {
        const calendar::MonthYear my = calendar::StepMonth(content.month, content.year, k);
        content.month = my.month;
        content.year = my.year;
        content.cells = {};
    }
    if (options.fill) {
        const QStringList warnings = FillMonth(page, content, options.sources);
        if (options.warnings)
            options.warnings->append(warnings);
    }
    return content;
}

void PrintRun(TReportSystem& report, calendar::TCalendarPanel32& page, const PdfExportOptions& options)
{
    PagePrinter printerRoutine;
    for (int k = 0; k < options.months; ++k) {
        if (k > 0 && !report.NewPage())
            return;
        printerRoutine.Print(report, page, RunPageContent(page, options, k), 0, 0);
    }
}

ExportResult ExportPdf(calendar::TCalendarPanel32& page, const PdfExportOptions& options, const QString& path,
                       QString& error)
{
    if (options.months < 1 || options.months > kMaxExportMonths) {
        error = Tr("The number of months must be from 1 to %1.").arg(kMaxExportMonths);
        return ExportResult::Failed;
    }
    // The printer writes into a temporary file; only a finished file is saved over the target.
    QTemporaryFile pages(QDir::tempPath() + QStringLiteral("/datoria-XXXXXX.pdf"));
    if (!pages.open()) {
        error = Tr("Unable to save %1: no temporary file (%2).").arg(path, pages.errorString());
        return ExportResult::Failed;
    }
    pages.close();

    FullSizeGuard fullSize(page);
    TReportSystem report(options.statusParent);
    if (options.makePrinter) {
        report.SetPrinter(options.makePrinter());
    } else {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setResolution(std::clamp(options.resolution, kMinPdfResolution, kMaxPdfResolution));
        report.SetPrinter(std::move(printer));
    }
    QPrinter& printer = report.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pages.fileName());
    printer.setCreator(QStringLiteral("Datoria"));
    printer.setDocName(QFileInfo(path).completeBaseName());
    UseCalendarPaper(printer, page);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    report.SetShowSetup(false);
    report.SetShowStatus(options.statusParent != nullptr, options.statusDelayMs);
    report.SetStatusText(Tr("Generating page %p"));
    report.SetPageCount(options.months);
    report.OnBeforePrint = [&page](TReportSystem& r) {
        r.SetOrientation(page.CalendarOrientation() != calendar::coPortrait);
    };
    report.OnPrint = [&](TReportSystem& r) { PrintRun(r, page, options); };
    switch (report.Execute()) {
    case TReportSystem::Result::Cancelled:
        return ExportResult::Cancelled;
    case TReportSystem::Result::Failed:
        error = Tr("Unable to save %1: %2").arg(path, report.ErrorString());
        return ExportResult::Failed;
    case TReportSystem::Result::Printed:
        break;
    }
    return CopyInto(pages.fileName(), path, error) ? ExportResult::Written : ExportResult::Failed;
}

} // namespace print
