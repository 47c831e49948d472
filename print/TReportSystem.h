#pragma once

#include "platform/TColor.h"
#include "platform/TRect.h"

#include <QFont>
#include <QPainter>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QProgressDialog;
class QWidget;

namespace print {

/**
 * The print engine: a job on a QPrinter with its set-up window ("Report Setup") and its status window
 * ("Report Status"), and a page canvas measured in inches over a QPainter on the printer. Coordinates on the
 * canvas are device pixels from the paper's top-left corner; inches become device pixels through the
 * printer's resolution. Text is drawn as text, so a PDF keeps it selectable.
 */
class TReportSystem
{
public:
    enum class Result
    {
        Printed,
        Cancelled,
        Failed,
    };

    /** parent: the window the set-up and status windows belong to (none for a job without windows). */
    explicit TReportSystem(QWidget* parent = nullptr);
    ~TReportSystem();
    TReportSystem(const TReportSystem&) = delete;
    TReportSystem& operator=(const TReportSystem&) = delete;

    QPrinter& Printer() { return *m_printer; }
    /** Replaces the printer (a test's printer, or a PDF writer's). */
    void SetPrinter(std::unique_ptr<QPrinter> printer);
    /** Runs on a printer owned elsewhere (a print preview's), which must outlive the jobs run on it. */
    void UsePrinter(QPrinter& printer);

    /** The set-up window before the job: shown for paper, left out for an export. */
    void SetShowSetup(bool show) { m_showSetup = show; }
    /** The status window: shown after delayMs when the job takes that long; never without a parent. */
    void SetShowStatus(bool show, int delayMs = 0);
    /** The status text, "%p" standing for the page number: "Printing page %p" or "Generating page %p". */
    void SetStatusText(const QString& text) { m_statusText = text; }
    /** Pages the status window counts to (0 when unknown). */
    void SetPageCount(int pages) { m_pageCount = pages; }

    /** Raised after the set-up window, before the printer starts: the job's orientation is set here. */
    std::function<void(TReportSystem&)> OnBeforePrint;
    /** Raised once with the first page started; a job of several pages calls NewPage() between them. */
    std::function<void(TReportSystem&)> OnPrint;

    /**
     * Runs the job: the set-up window (when shown), the before-print event, the printer, the print event with
     * the status window. Cancelled when the user declines the set-up or cancels in the status window; Failed
     * (with ErrorString) when the printer cannot start or gives up during the job.
     */
    Result Execute();
    QString ErrorString() const { return m_error; }

    /** Starts the next page; false when the user cancelled or the printer failed (the job then stops). */
    bool NewPage();
    int PageNumber() const { return m_pageNumber; }
    bool Stopped() const { return m_stopped; }

    /** The printer set-up dialog of the current printer; true on OK. */
    bool PrinterSetup();
    void SetOrientation(bool landscape);

    // The page canvas.
    QPainter& Painter() { return m_painter; }
    double XDPI() const;
    double YDPI() const;
    /** Inches to device pixels, truncated, and back. */
    int XI2D(double inches) const;
    int YI2D(double inches) const;
    double XD2I(double device) const;
    double YD2I(double device) const;

    void SetBrush(platform::TColor color, Qt::BrushStyle style = Qt::SolidPattern);
    /** width in device pixels; lines cover width pixels right of and below their coordinates. */
    void SetPen(platform::TColor color, Qt::PenStyle style, double width,
                QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver);
    /** Fills the rectangle (right and bottom excluded) with the brush, without an outline. */
    void FillRect(const platform::TRect& rect);
    /** A line from point to point with the pen, the end point left out (a square pen at every other point).
     */
    void Line(int x1, int y1, int x2, int y2);
    /** Fills the rectangle with the brush unless it is clear, then outlines its last pixels with the pen. */
    void Rectangle(const platform::TRect& rect);

    void SetFont(const QString& name, double points, bool bold, bool italic, bool underline);
    void SetFontColor(platform::TColor color);
    /** Height of a line of the current font in inches: its size in points over 72. */
    double LineHeight() const;
    /** Width of a text in the current font, in inches. */
    double TextWidth(const QString& text) const;
    /** Text goes over what lies below (transparent) or on a box of the brush colour. */
    void SetTransparentText(bool transparent) { m_transparentText = transparent; }
    /** One line of text whose top is at y and whose centre is at x, in inches. */
    void PrintCenter(const QString& text, double x, double y);
    /** One line of text whose top is at y and whose right end is at x, in inches. */
    void PrintRight(const QString& text, double x, double y);
    /** Cuts characters off the end until the text is no wider than width inches. */
    QString FitText(const QString& text, double width) const;

    /**
     * Stretches a picture of the given frame size onto a device rectangle: paint draws it in frame units and
     * is played under a scale transform, so its text stays text.
     */
    void StretchPicture(const platform::TRect& rect, const QSizeF& frame,
                        const std::function<void(QPainter&)>& paint);

private:
    void printAt(const QString& text, double xDevice, double yInches);
    void updateStatus();

    QWidget* m_parent = nullptr;
    std::unique_ptr<QPrinter> m_ownPrinter;
    QPrinter* m_printer = nullptr;
    QPainter m_painter;
    bool m_showSetup = true;
    bool m_showStatus = false;
    int m_statusDelay = 0;
    QString m_statusText = QStringLiteral("Printing page %p");
    int m_pageCount = 0;
    QPointer<QProgressDialog> m_status;
    int m_pageNumber = 0;
    bool m_stopped = false;
    bool m_cancelled = false;
    QString m_error;

    QColor m_brush = Qt::white;
    Qt::BrushStyle m_brushStyle = Qt::SolidPattern;
    QColor m_pen = Qt::black;
    Qt::PenStyle m_penStyle = Qt::SolidLine;
    double m_penWidth = 1;
    QPainter::CompositionMode m_penMode = QPainter::CompositionMode_SourceOver;
    QFont m_font;
    QColor m_fontColor = Qt::black;
    bool m_transparentText = true;
};

} // namespace print
