#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QRect>

#include <list>
#include <memory>

class QPaintDevice;
class QPainter;
class QTextDocument;

namespace richtext {

/**
 * The device documents are laid out for at a zoom in percent: the screen's pixels per inch times the zoom.
 * The editor and the renderer lay out on the same device, so a text wraps alike while it is edited and when
 * it is painted. The device lives as long as the program.
 */
QPaintDevice* LayoutDevice(int zoomPercent);

/**
 * Paints the first page of a document word-wrapped into a rectangle of any painter at a zoom in percent: the
 * document is laid out on the zoom's layout device at the rectangle's width and cut at the rectangle's
 * bottom. A valid background colour fills the rectangle first.
 */
void RenderDocument(QPainter& painter, QTextDocument& document, const QRect& rect, int zoomPercent,
                    const QColor& background = QColor());

/**
 * How many lines of a laid-out document fit a height whole: the height they take and the count of the lines
 * below them. Only lines from the top count, so a line that does not fit hides every line after it.
 */
struct LineFit
{
    int shownHeight = 0;
    int shownLines = 0;
    int hiddenLines = 0;
};
LineFit FitWholeLines(QTextDocument& document, int height);

/**
 * Paints a document like RenderDocument, but only the lines that fit the rectangle whole: no line is cut at
 * the bottom. Gives back what was shown and what was left out.
 */
LineFit RenderWholeLines(QPainter& painter, QTextDocument& document, const QRect& rect, int zoomPercent);

/**
 * Renders RTF documents, keeping the documents it read recently: a page paints the same cell texts again and
 * again, and reading them once is enough.
 */
class RichTextRenderer
{
public:
    RichTextRenderer();
    ~RichTextRenderer();

    void Render(QPainter& painter, const QByteArray& rtf, const QRect& rect, int zoomPercent,
                const QColor& background = QColor());
    /** Renders only the lines that fit whole (see RenderWholeLines). */
    LineFit RenderWholeLines(QPainter& painter, const QByteArray& rtf, const QRect& rect, int zoomPercent);
    /** The document read from rtf (cached). */
    QTextDocument& Document(const QByteArray& rtf);

private:
    struct Entry;
    std::list<std::shared_ptr<Entry>> m_recent;
    QHash<QByteArray, std::shared_ptr<Entry>> m_byRtf;
};

} // namespace richtext
