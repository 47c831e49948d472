#pragma once

#include "print/MonthFill.h"

#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace calendar {
class TCalendarPanel32;
}

namespace print {

class TReportSystem;

inline constexpr int kMaxExportMonths = 24;

/** The resolutions a PDF can be drawn at, and the one it is drawn at unless asked. */
constexpr int kMinPdfResolution = 72;
constexpr int kMaxPdfResolution = 2400;
constexpr int kDefaultPdfResolution = 1200;

struct PdfExportOptions
{
    /** Pages: the document's month and the months after it, 1..24. */
    int months = 1;
    /** Fill every page's day cells from the sources. */
    bool fill = false;
    MonthFillSources sources;
    /** Gathers what filling the pages could not do exactly (an event's unknown time zone), when set. */
    QStringList* warnings = nullptr;
    /** The window the status window belongs to; none shows no status window. */
    QWidget* statusParent = nullptr;
    /** How long the pages may take before the status window with its Cancel button appears. */
    int statusDelayMs = 500;
    /** Dots per inch the pages are drawn at; the page looks the same at any of them. */
    int resolution = kDefaultPdfResolution;
    /** Makes the printer the PDF is written through (tests give one that fails); a high-resolution one if
     * unset.
     */
    std::function<std::unique_ptr<QPrinter>()> makePrinter;
};

/**
 * The content of page k (0-based) of a run: page 0 is the document's own month with its cell texts, every
 * further page the month k months later with empty cells; each filled from the sources when asked.
 */
PageContent RunPageContent(const calendar::TCalendarPanel32& page, const PdfExportOptions& options, int k);

/** The pages of a run as the export writes them, on a job that has started: a new page before each but the
 * first.
 */
void PrintRun(TReportSystem& report, calendar::TCalendarPanel32& page, const PdfExportOptions& options);

enum class ExportResult
{
    Written,
    Cancelled,
    Failed,
};

/**
 * Writes the document's page and the months after it as one vector PDF at full size on the page's own paper
 * and orientation, with its placed objects on every page. The file appears whole or not at all: the pages go
 * to a temporary file that is then saved over the target; on failure or cancel the target is left as it was.
 * The page is printed at zoom 1 and given back its zoom afterwards. On failure error says why.
 */
ExportResult ExportPdf(calendar::TCalendarPanel32& page, const PdfExportOptions& options, const QString& path,
                       QString& error);

} // namespace print
