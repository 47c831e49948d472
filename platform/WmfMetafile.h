#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

namespace platform {

/**
 * A Windows metafile (.WMF), kept as the bytes it came from and played onto any QPainter, so it stays vector
 * on a printer or in a PDF. Plays pens, brushes (solid, hatched, pattern), fonts, lines, polylines, polygons,
 * rectangles, rounded rectangles, ellipses, arcs, pies, chords, text, device-independent bitmaps stretched
 * into rectangles, clipping and the window and viewport mapping.
 */
class WmfMetafile
{
public:
    /** Checks the header and the record chain; false with the reason when the bytes are no metafile. */
    bool Load(QByteArrayView data, QString& error);
    bool IsNull() const { return m_data.isEmpty(); }
    /** The metafile as it was loaded. */
    const QByteArray& Data() const { return m_data; }
    /** The metafile with a placeable header, as older programs store it (built from the bounds if needed). */
    QByteArray PlaceableData() const;
    /** The picture's extent in its own logical units. */
    QRect Bounds() const { return m_bounds; }
    /** Its size on the screen in pixels, from the placeable header's units per inch or the window extent. */
    QSize Size() const { return m_size; }

    /** Draws the metafile stretched into the rectangle. */
    void Play(QPainter& painter, const QRectF& target) const;
    /** The metafile drawn at its own size (or the given one) on white. */
    QImage Render(QSize size = QSize()) const;

    static bool LooksLikeWmf(QByteArrayView data);

private:
    QByteArray m_data;
    qsizetype m_recordsStart = 0;
    int m_objectCount = 0;
    QRect m_bounds;
    QSize m_size;
    bool m_placeable = false;
};

} // namespace platform
