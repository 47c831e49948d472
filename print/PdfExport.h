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

inline constexpr int kMaxExportMonths = 24;

struct PdfExportOptions
{
    /** Pages: the document's month and the months after it, 1..24. */
    int months = 1;
    /** Fill every page's day cells from the sources. */
    bool fill = false;
    MonthFillSources sources;
    /** The window the status window belongs to; none shows no status window. */
    QWidget* statusParent = nullptr;
    /** How long the pages may take before the status window with its Cancel button appears. */
    int statusDelayMs = 500;
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
