#pragma once

#include "platform/TColor.h"
#include "platform/TRect.h"
#include "platform/TextCache.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <optional>

namespace platform {

/**
 * Drawing with the edge rules of the page geometry over any QPainter: rectangles exclude their right and
 * bottom edges, a line excludes its end point, a closed outline covers all four sides, and single-line text
 * is placed by the font's ascent plus descent and clipped to its rectangle. Text is drawn with a transparent
 * background.
 */
class TCanvas
{
public:
    enum class HAlign
    {
        Left,
        Center,
        Right,
    };
    enum class VAlign
    {
        Top,
        Center,
        Bottom,
    };

    /** A cache, when given, keeps laid-out texts for later canvases. */
    explicit TCanvas(QPainter& painter, TextCache* cache = nullptr);

    QPainter& Painter() { return m_painter; }

    void SetFont(const QFont& font, TColor color);
    const QFont& Font() const { return m_font; }
    /** Height of a line of text in the current font: ascent plus descent. */
    int TextHeight() const;
    int TextWidth(const QString& text) const;

    void SetPenColor(TColor color) { m_pen = ToQColor(color); }
    void FillRect(const TRect& rect, TColor color);
    void MoveTo(int x, int y);
    /** Draws from the current position to (x, y), leaving out the end point (axis-parallel lines only). */
    void LineTo(int x, int y);
    /** Outline a,b to c,b to c,d to a,d to a,b: every pixel of the four sides, corners included. */
    void Outline(const TRect& rect);
    /** A frame on the edges of the rectangle (right and bottom edges one pixel inside), filled with fill. */
    void Rectangle(const TRect& rect, TColor fill);

    /** Draws one line of text aligned in the rectangle, clipped to it. */
    void DrawTextLine(const TRect& rect, const QString& text, HAlign h, VAlign v);

private:
    void fillPixels(int left, int top, int width, int height);
    const TextCache::Entry* cached(const QString& text) const;

    QPainter& m_painter;
    QFont m_font;
    std::optional<QFontMetrics> m_metrics;
    int m_ascent = 0;
    int m_height = 0;
    TextCache* m_cache = nullptr;
    TextCache::FontTexts* m_fontTexts = nullptr;
    QColor m_textColor = Qt::black;
    QColor m_pen = Qt::black;
    int m_x = 0;
    int m_y = 0;
};

} // namespace platform
