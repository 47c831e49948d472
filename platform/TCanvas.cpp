#include "platform/TCanvas.h"

#include "platform/Screen.h"

#include <algorithm>

namespace platform {

TCanvas::TCanvas(QPainter& painter, TextCache* cache) : m_painter(painter), m_cache(cache)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    SetFont(QFont(), clBlack);
}

void TCanvas::SetFont(const QFont& font, TColor color)
{
    m_textColor = ToQColor(color);
    if (m_metrics && font == m_font)
        return;
    m_font = font;
    // Measured as the screen measures, on any device: a page printed at any resolution centres and cuts its
    // texts exactly as the window does.
    m_metrics.emplace(m_font, ScreenMetricsDevice());
    m_ascent = m_metrics->ascent();
    m_height = m_metrics->ascent() + m_metrics->descent();
    m_fontTexts = m_cache ? &m_cache->ForFont(m_font) : nullptr;
}

const TextCache::Entry* TCanvas::cached(const QString& text) const
{
    if (!m_fontTexts)
        return nullptr;
    auto it = m_fontTexts->find(text);
    if (it == m_fontTexts->end()) {
        TextCache::Entry entry;
        entry.text.setText(text);
        entry.text.setTextFormat(Qt::PlainText);
        entry.text.setPerformanceHint(QStaticText::AggressiveCaching);
        entry.text.prepare(QTransform(), m_font);
        entry.width = m_metrics->horizontalAdvance(text);
        it = m_fontTexts->insert(text, entry);
    }
    return &it.value();
}

int TCanvas::TextHeight() const
{
    return m_height;
}

int TCanvas::TextWidth(const QString& text) const
{
    if (const TextCache::Entry* entry = cached(text))
        return entry->width;
    return m_metrics->horizontalAdvance(text);
}

void TCanvas::FillRect(const TRect& rect, TColor color)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    m_painter.fillRect(rect.toQRect(), ToQColor(color));
}

void TCanvas::fillPixels(int left, int top, int width, int height)
{
    if (width > 0 && height > 0)
        m_painter.fillRect(QRect(left, top, width, height), m_pen);
}

void TCanvas::MoveTo(int x, int y)
{
    m_x = x;
    m_y = y;
}

void TCanvas::LineTo(int x, int y)
{
    if (y == m_y && x != m_x) {
        if (x > m_x)
            fillPixels(m_x, y, x - m_x, 1);
        else
            fillPixels(x + 1, y, m_x - x, 1);
    } else if (x == m_x && y != m_y) {
        if (y > m_y)
            fillPixels(x, m_y, 1, y - m_y);
        else
            fillPixels(x, y + 1, 1, m_y - y);
    } else if (x != m_x || y != m_y) {
        m_painter.setPen(QPen(m_pen, 0));
        m_painter.drawLine(m_x, m_y, x, y);
    }
    m_x = x;
    m_y = y;
}

void TCanvas::Outline(const TRect& r)
{
    MoveTo(r.left, r.top);
    LineTo(r.right, r.top);
    LineTo(r.right, r.bottom);
    LineTo(r.left, r.bottom);
    LineTo(r.left, r.top);
}

void TCanvas::Rectangle(const TRect& r, TColor fill)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    FillRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, fill);
    Outline({r.left, r.top, r.right - 1, r.bottom - 1});
}

void TCanvas::DrawTextLine(const TRect& rect, const QString& text, HAlign h, VAlign v)
{
    if (text.isEmpty())
        return;
    const TextCache::Entry* entry = cached(text);
    const int width = entry ? entry->width : m_metrics->horizontalAdvance(text);
    const int height = TextHeight();
    int x = rect.left;
    if (h == HAlign::Center)
        x = rect.left + (rect.width() - width) / 2;
    else if (h == HAlign::Right)
        x = rect.right - width;
    int y = rect.top;
    if (v == VAlign::Center)
        y = rect.top + (rect.height() - height) / 2;
    else if (v == VAlign::Bottom)
        y = rect.bottom - height;

    const bool clip = x < rect.left || x + width > rect.right || y < rect.top || y + height > rect.bottom;
    if (clip) {
        if (rect.width() <= 0 || rect.height() <= 0)
            return;
        m_painter.save();
        m_painter.setClipRect(rect.toQRect(), Qt::IntersectClip);
    }
    m_painter.setFont(m_font);
    m_painter.setPen(m_textColor);
    if (entry)
        m_painter.drawStaticText(QPoint(x, y), entry->text);
    else
        m_painter.drawText(QPoint(x, y + m_ascent), text);
    if (clip)
        m_painter.restore();
}

} // namespace platform
