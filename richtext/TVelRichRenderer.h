#pragma once

#include "richtext/RichTextRenderer.h"

#include <QByteArray>
#include <QColor>
#include <QObject>

class QPainter;

namespace richtext {

class TVelRtfStorage;

/**
 * A hidden rich-text component used only to paint: the window's shared renderer that rich-text labels find
 * by name. It holds one document, a background colour and a zoom in percent, and paints the document
 * word-wrapped into a rectangle of any painter (screen, off-screen image, printer or PDF). The documents it
 * read are kept, so a page that paints the same labels again does not read them again.
 */
class TVelRichRenderer : public QObject
{
    Q_OBJECT

public:
    explicit TVelRichRenderer(QObject* parent = nullptr);

    /** Copies the storage's document into the renderer. */
    void LoadFromStorage(const TVelRtfStorage& storage);
    void LoadRtf(const QByteArray& rtf) { m_rtf = rtf; }
    const QByteArray& Rtf() const { return m_rtf; }

    /** The colour painted under the text; an invalid colour paints none (a transparent background). */
    QColor BackgroundColor() const { return m_background; }
    void SetBackgroundColor(const QColor& color) { m_background = color; }
    int ZoomPercent() const { return m_zoomPercent; }
    /** Whole percent; a zoom of 0 or less paints nothing. */
    void SetZoomPercent(int percent) { m_zoomPercent = percent; }

    /** Paints the document's first page into the rectangle, laid out at its width divided by the zoom. */
    void Paint(QPainter& painter, const QRect& rect);

private:
    RichTextRenderer m_renderer;
    QByteArray m_rtf;
    QColor m_background;
    int m_zoomPercent = 100;
};

} // namespace richtext
