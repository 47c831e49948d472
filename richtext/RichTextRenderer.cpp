#include "richtext/RichTextRenderer.h"

#include "richtext/RtfReader.h"

#include "platform/Screen.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

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

void RenderDocument(QPainter& painter, QTextDocument& document, const QRect& rect, int zoomPercent,
                    const QColor& background)
{
    if (rect.width() <= 0 || rect.height() <= 0 || zoomPercent <= 0)
        return;
    painter.save();
    if (background.isValid())
        painter.fillRect(rect, background);
    // Each change lays the whole document out again, so only a real change is made.
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    if (QPaintDevice* device = LayoutDevice(zoomPercent); layout->paintDevice() != device) {
        layout->setPaintDevice(device);
        document.markContentsDirty(0, document.characterCount());
    }
    if (document.documentMargin() != 0)
        document.setDocumentMargin(0);
    if (document.textWidth() != rect.width())
        document.setTextWidth(rect.width());
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.translate(rect.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, 0, rect.width(), rect.height());
    context.palette.setColor(QPalette::Text, Qt::black);
    layout->draw(&painter, context);
    painter.restore();
}

RichTextRenderer::RichTextRenderer() = default;
RichTextRenderer::~RichTextRenderer() = default;

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
