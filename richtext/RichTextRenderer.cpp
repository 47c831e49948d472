#include "richtext/RichTextRenderer.h"

#include "richtext/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

namespace richtext {

namespace {
// Enough for every cell of a page and the labels on it.
constexpr size_t kCacheSize = 128;
} // namespace

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
    const double scale = zoomPercent / 100.0;
    // Either change lays the whole document out again, so only a real change is made.
    if (document.documentMargin() != 0)
        document.setDocumentMargin(0);
    if (document.textWidth() != rect.width() / scale)
        document.setTextWidth(rect.width() / scale);
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.translate(rect.topLeft());
    painter.scale(scale, scale);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, 0, rect.width() / scale, rect.height() / scale);
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);
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
