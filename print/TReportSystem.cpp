#include "print/TReportSystem.h"

#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QPrinter>
#include <QProgressDialog>

#include <cmath>

namespace print {

namespace {

/**
 * Whether a PDF file the printer wrote is whole: the printer does not report a write that failed (a full
 * disk), but a cut-short file lacks the end-of-file mark that closes every PDF.
 */
bool PdfFileComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    file.seek(file.size() - 16);
    return file.read(16).contains("%%EOF");
}

} // namespace

TReportSystem::TReportSystem(QWidget* parent)
    : m_parent(parent), m_ownPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_printer(m_ownPrinter.get())
{
    // Coordinates start at the paper's corner: the calendar places itself by its own margins.
    m_printer->setFullPage(true);
}

TReportSystem::~TReportSystem()
{
    if (m_painter.isActive())
        m_painter.end();
    delete m_status;
}

void TReportSystem::SetPrinter(std::unique_ptr<QPrinter> printer)
{
    m_ownPrinter = std::move(printer);
    m_printer = m_ownPrinter.get();
    m_printer->setFullPage(true);
}

void TReportSystem::UsePrinter(QPrinter& printer)
{
    m_printer = &printer;
    m_printer->setFullPage(true);
}

void TReportSystem::SetShowStatus(bool show, int delayMs)
{
    m_showStatus = show;
    m_statusDelay = delayMs;
}

TReportSystem::Result TReportSystem::Execute()
{
    m_error.clear();
    m_stopped = false;
    m_cancelled = false;
    m_pageNumber = 0;
    if (m_showSetup &&
        !platform::Prompts::Current().PrintSetup(m_parent, *m_printer, QStringLiteral("Report Setup")))
        return Result::Cancelled;
    m_printer->setFullPage(true);
    if (OnBeforePrint)
        OnBeforePrint(*this);
    if (!m_painter.begin(m_printer)) {
        m_error = QCoreApplication::translate("print", "The printer could not start the job.");
        return Result::Failed;
    }
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_pageNumber = 1;
    if (m_showStatus && m_parent) {
        m_status = new QProgressDialog(m_parent);
        m_status->setWindowTitle(QStringLiteral("Report Status"));
        m_status->setWindowModality(Qt::WindowModal);
        m_status->setAutoClose(false);
        m_status->setAutoReset(false);
        m_status->setMinimumDuration(m_statusDelay);
        m_status->setRange(0, std::max(m_pageCount, 1));
    }
    updateStatus();
    if (OnPrint)
        OnPrint(*this);
    if (!m_stopped && m_status && m_status->wasCanceled())
        m_cancelled = true;
    const bool ended = m_painter.end();
    delete m_status;
    if (m_cancelled)
        return Result::Cancelled;
    if (m_stopped || !ended || m_printer->printerState() == QPrinter::Error) {
        if (m_error.isEmpty())
            m_error = QCoreApplication::translate("print", "The printer stopped during the job.");
        return Result::Failed;
    }
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty() &&
        !PdfFileComplete(m_printer->outputFileName())) {
        m_error = QCoreApplication::translate("print", "The file %1 could not be written whole.")
                      .arg(m_printer->outputFileName());
        return Result::Failed;
    }
    return Result::Printed;
}

bool TReportSystem::NewPage()
{
    if (m_stopped)
        return false;
    if (m_status && m_status->wasCanceled()) {
        m_cancelled = true;
        m_stopped = true;
        m_printer->abort();
        return false;
    }
    if (!m_printer->newPage()) {
        m_stopped = true;
        m_error =
            QCoreApplication::translate("print", "The printer stopped at page %1.").arg(m_pageNumber + 1);
        return false;
    }
    ++m_pageNumber;
    updateStatus();
    return true;
}

void TReportSystem::updateStatus()
{
    if (!m_status)
        return;
    m_status->setLabelText(QString(m_statusText).replace(QLatin1String("%p"), QString::number(m_pageNumber)));
    // A modal progress dialog lets pending events through here, so the interface stays responsive.
    m_status->setValue(std::min(m_pageNumber - 1, m_status->maximum()));
}

bool TReportSystem::PrinterSetup()
{
    return platform::Prompts::Current().PrinterSetup(m_parent, *m_printer);
}

void TReportSystem::SetOrientation(bool landscape)
{
    m_printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

double TReportSystem::XDPI() const
{
    return m_printer->logicalDpiX();
}

double TReportSystem::YDPI() const
{
    return m_printer->logicalDpiY();
}

int TReportSystem::XI2D(double inches) const
{
    return int(std::trunc(inches * XDPI()));
}

int TReportSystem::YI2D(double inches) const
{
    return int(std::trunc(inches * YDPI()));
}

double TReportSystem::XD2I(double device) const
{
    return device / XDPI();
}

double TReportSystem::YD2I(double device) const
{
    return device / YDPI();
}

void TReportSystem::SetBrush(platform::TColor color, Qt::BrushStyle style)
{
    m_brush = platform::ToQColor(color);
    m_brushStyle = style;
}

void TReportSystem::SetPen(platform::TColor color, Qt::PenStyle style, double width,
                           QPainter::CompositionMode mode)
{
    m_pen = platform::ToQColor(color);
    m_penStyle = style;
    m_penWidth = std::max(width, 1.0);
    m_penMode = mode;
}

void TReportSystem::FillRect(const platform::TRect& r)
{
    if (r.width() <= 0 || r.height() <= 0 || m_brushStyle == Qt::NoBrush)
        return;
    m_painter.fillRect(r.toQRect(), QBrush(m_brush, m_brushStyle));
}

void TReportSystem::Line(int x1, int y1, int x2, int y2)
{
    m_painter.save();
    m_painter.setCompositionMode(m_penMode);
    const double w = m_penWidth;
    if (m_penStyle == Qt::SolidLine && (x1 == x2 || y1 == y2)) {
        // A square pen at every point from the start up to the end point, which is left out as on screen:
        // each covers width pixels right of and below its point, so a closed outline closes its corners.
        double from = 0, to = 0;
        const int a = x1 == x2 ? y1 : x1, b = x1 == x2 ? y2 : x2;
        if (a == b)
            return m_painter.restore();
        if (b > a) {
            from = a;
            to = b - 1 + w;
        } else {
            from = b + 1;
            to = a + w;
        }
        m_painter.fillRect(x1 == x2 ? QRectF(x1, from, w, to - from) : QRectF(from, y1, to - from, w), m_pen);
    } else {
        QPen pen(m_pen, w, m_penStyle, Qt::SquareCap);
        m_painter.setPen(pen);
        m_painter.drawLine(QPointF(x1 + w / 2, y1 + w / 2), QPointF(x2 + w / 2, y2 + w / 2));
    }
    m_painter.restore();
}

void TReportSystem::Rectangle(const platform::TRect& r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    FillRect(r);
    // The outline runs on the last pixels of the rectangle, whose right and bottom edges are excluded.
    const int right = r.right - 1, bottom = r.bottom - 1;
    Line(r.left, r.top, right, r.top);
    Line(right, r.top, right, bottom);
    Line(right, bottom, r.left, bottom);
    Line(r.left, bottom, r.left, r.top);
}

void TReportSystem::SetFont(const QString& name, double points, bool bold, bool italic, bool underline)
{
    QFont font(name);
    font.setPointSizeF(std::max(points, 1.0));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    // Outlines on paper need no hinting for a pixel grid, and unhinted glyphs are much quicker to embed.
    font.setHintingPreference(QFont::PreferNoHinting);
    m_font = font;
}

void TReportSystem::SetFontColor(platform::TColor color)
{
    m_fontColor = platform::ToQColor(color);
}

double TReportSystem::LineHeight() const
{
    return m_font.pointSizeF() / 72.0;
}

double TReportSystem::TextWidth(const QString& text) const
{
    return QFontMetricsF(m_font, m_printer).horizontalAdvance(text) / XDPI();
}

QString TReportSystem::FitText(const QString& text, double width) const
{
    QString fitted = text;
    while (!fitted.isEmpty() && TextWidth(fitted) > width)
        fitted.chop(1);
    return fitted;
}

void TReportSystem::printAt(const QString& text, double xDevice, double yInches)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF metrics(m_font, m_printer);
    const double y = yInches * YDPI();
    if (!m_transparentText)
        m_painter.fillRect(QRectF(xDevice, y, metrics.horizontalAdvance(text), metrics.height()), m_brush);
    m_painter.setFont(m_font);
    m_painter.setPen(m_fontColor);
    m_painter.drawText(QPointF(xDevice, y + metrics.ascent()), text);
}

void TReportSystem::PrintCenter(const QString& text, double x, double y)
{
    printAt(text, x * XDPI() - QFontMetricsF(m_font, m_printer).horizontalAdvance(text) / 2, y);
}

void TReportSystem::PrintRight(const QString& text, double x, double y)
{
    printAt(text, x * XDPI() - QFontMetricsF(m_font, m_printer).horizontalAdvance(text), y);
}

void TReportSystem::StretchPicture(const platform::TRect& rect, const QSizeF& frame,
                                   const std::function<void(QPainter&)>& paint)
{
    if (rect.width() <= 0 || rect.height() <= 0 || frame.width() <= 0 || frame.height() <= 0)
        return;
    m_painter.save();
    m_painter.setClipRect(rect.toQRect(), Qt::IntersectClip);
    m_painter.translate(rect.left, rect.top);
    m_painter.scale(rect.width() / frame.width(), rect.height() / frame.height());
    paint(m_painter);
    m_painter.restore();
}

} // namespace print
