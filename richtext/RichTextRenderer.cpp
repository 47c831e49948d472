#include "richtext/RichTextRenderer.h"

#include "richtext/RtfReader.h"

#include "platform/Screen.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>
#include <map>
#include <memory>

namespace richtext {

namespace {
// Enough for every cell of a page and the labels on it.
constexpr size_t kCacheSize = 128;
} // namespace

QPaintDevice* LayoutDevice(int zoomPercent)
{
    // Fonts take their pixel sizes from the device's resolution, so one device per resolution is enough.
    static std::map<int, std::unique_ptr<QImage>> devices;
    const int dpi = std::max(1, int(std::lround(platform::PixelsPerInch() * zoomPercent / 100.0)));
    std::unique_ptr<QImage>& device = devices[dpi];
    if (!device) {
        device = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(dpi / 0.0254));
        device->setDotsPerMeterX(dotsPerMeter);
        device->setDotsPerMeterY(dotsPerMeter);
    }
    return device.get();
}

struct RichTextRenderer::Entry
{
    QByteArray rtf;
    QTextDocument document;
};

namespace {

/** Lays the document out on the zoom's device at the width; only a real change lays it out again. */
void LayOut(QTextDocument& document, int width, int zoomPercent)
{
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    if (QPaintDevice* device = LayoutDevice(zoomPercent); layout->paintDevice() != device) {
        layout->setPaintDevice(device);
        document.markContentsDirty(0, document.characterCount());
    }
    if (document.documentMargin() != 0)
        document.setDocumentMargin(0);
    if (document.textWidth() != width)
        document.setTextWidth(width);
}

void Draw(QPainter& painter, QTextDocument& document, const QRect& rect, int height)
{
    painter.setClipRect(QRect(rect.topLeft(), QSize(rect.width(), height)), Qt::IntersectClip);
    painter.translate(rect.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, 0, rect.width(), height);
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);
}

} // namespace

void RenderDocument(QPainter& painter, QTextDocument& document, const QRect& rect, int zoomPercent,
                    const QColor& background)
{
    if (rect.width() <= 0 || rect.height() <= 0 || zoomPercent <= 0)
        return;
    painter.save();
    if (background.isValid())
        painter.fillRect(rect, background);
    LayOut(document, rect.width(), zoomPercent);
    Draw(painter, document, rect, rect.height());
    painter.restore();
}

LineFit FitWholeLines(QTextDocument& document, int height)
{
    LineFit fit;
    qreal shownBottom = 0;
    bool cut = false;
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* lines = block.layout();
        if (!lines || lines->lineCount() == 0)
            continue;
        // Line positions count from the block's first line; the block's place comes from the document.
        const qreal top = layout->blockBoundingRect(block).top() - lines->lineAt(0).y();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            const qreal bottom = top + line.y() + line.height();
            if (!cut && bottom <= height + 0.001) {
                ++fit.shownLines;
                shownBottom = bottom;
            } else {
                cut = true;
                ++fit.hiddenLines;
            }
        }
    }
    fit.shownHeight = fit.hiddenLines == 0 ? height : int(std::ceil(shownBottom - 0.001));
    return fit;
}

LineFit RenderWholeLines(QPainter& painter, QTextDocument& document, const QRect& rect, int zoomPercent)
{
    if (rect.width() <= 0 || rect.height() <= 0 || zoomPercent <= 0)
        return {};
    painter.save();
    LayOut(document, rect.width(), zoomPercent);
    const LineFit fit = FitWholeLines(document, rect.height());
    if (fit.shownHeight > 0)
        Draw(painter, document, rect, fit.shownHeight);
    painter.restore();
    return fit;
}

RichTextRenderer::RichTextRenderer() = default;
RichTextRenderer::~RichTextRenderer() = default;

LineFit RichTextRenderer::RenderWholeLines(QPainter& painter, const QByteArray& rtf, const QRect& rect,
                                           int zoomPercent)
{
    return richtext::RenderWholeLines(painter, Document(rtf), rect, zoomPercent);
}

QTextDocument& RichTextRenderer::Document(const QByteArray& rtf)
{
    if (auto it = m_byRtf.find(rtf); it != m_byRtf.end()) {
        const std::shared_ptr<Entry> entry = it.value();
        m_recent.remove(entry);
        m_recent.push_front(entry);
        return entry->document;
    }
    auto entry = std::make_shared<Entry>();
    entry->rtf = rtf;
    ReadRtf(rtf, entry->document);
    m_recent.push_front(entry);
    m_byRtf.insert(rtf, entry);
    if (m_recent.size() > kCacheSize) {
        m_byRtf.remove(m_recent.back()->rtf);
        m_recent.pop_back();
    }
    return entry->document;
}

void RichTextRenderer::Render(QPainter& painter, const QByteArray& rtf, const QRect& rect, int zoomPercent,
                              const QColor& background)
{
    RenderDocument(painter, Document(rtf), rect, zoomPercent, background);
}

} // namespace richtext
