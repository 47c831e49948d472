#pragma once

#include <QFont>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QString>

class QPainter;

namespace supertext {

/**
 * The outlines of one line of text, built once for a text and a font and then filled and stroked as often as
 * needed. The curves are flattened into polygons once: Qt draws polygons with smooth edges many times faster
 * than curved paths, which keeps a large SuperText quick to draw.
 */
class GlyphOutlines
{
public:
    /** The text in the font with the top-left of its line at (0, 0); nothing is rebuilt when neither changed.
     */
    void Set(const QString& text, const QFont& font);
    const QPainterPath& Path() const { return m_path; }

    /** Fills the glyphs moved by the offset; the brush stays anchored to the painter's origin. */
    void Fill(QPainter& painter, QPointF offset, const QBrush& brush) const;
    /** Strokes the outlines of the glyphs moved by the offset. */
    void Stroke(QPainter& painter, QPointF offset, const QPen& pen);

private:
    QString m_text;
    QFont m_font;
    bool m_built = false;
    QPainterPath m_path;
    QList<QPolygonF> m_fill;
    QPen m_strokePen;
    QList<QPolygonF> m_stroke;
    bool m_strokeBuilt = false;
};

} // namespace supertext
