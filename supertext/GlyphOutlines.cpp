#include "supertext/GlyphOutlines.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPathStroker>

namespace supertext {

void GlyphOutlines::Set(const QString& text, const QFont& font)
{
    if (m_built && text == m_text && font == m_font)
        return;
    m_text = text;
    m_font = font;
    m_path = QPainterPath();
    m_path.addText(QPointF(0, QFontMetrics(font).ascent()), font, text);
    m_fill = m_path.toFillPolygons();
    m_built = true;
    m_strokeBuilt = false;
}

void GlyphOutlines::Fill(QPainter& painter, QPointF offset, const QBrush& brush) const
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    for (const QPolygonF& polygon : m_fill)
        painter.drawPolygon(polygon.translated(offset), m_path.fillRule());
    painter.restore();
}

void GlyphOutlines::Stroke(QPainter& painter, QPointF offset, const QPen& pen)
{
    // Thin lines have a quick way of their own; wider ones are filled as the outline of the stroke.
    if (pen.widthF() <= 1) {
        painter.strokePath(m_path.translated(offset), pen);
        return;
    }
    if (!m_strokeBuilt || pen != m_strokePen) {
        QPainterPathStroker stroker(pen);
        m_stroke = stroker.createStroke(m_path).toFillPolygons();
        m_strokePen = pen;
        m_strokeBuilt = true;
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(pen.brush());
    for (const QPolygonF& polygon : m_stroke)
        painter.drawPolygon(polygon.translated(offset), Qt::WindingFill);
    painter.restore();
}

} // namespace supertext
