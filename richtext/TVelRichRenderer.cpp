#include "richtext/TVelRichRenderer.h"

#include "richtext/TVelRtfStorage.h"

#include <QPainter>

namespace richtext {

TVelRichRenderer::TVelRichRenderer(QObject* parent) : QObject(parent) {}

void TVelRichRenderer::LoadFromStorage(const TVelRtfStorage& storage)
{
    m_rtf = storage.RtfText();
}

void TVelRichRenderer::Paint(QPainter& painter, const QRect& rect)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    if (m_rtf.isEmpty()) {
        // An empty document is its background alone.
        if (m_background.isValid())
            painter.fillRect(rect, m_background);
        return;
    }
    m_renderer.Render(painter, m_rtf, rect, m_zoomPercent, m_background);
}

} // namespace richtext
