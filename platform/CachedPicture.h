#pragma once

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QSize>

#include <optional>
#include <utility>

namespace platform {

/**
 * An object's drawing kept as a picture in device pixels, so that a repaint (scrolling, moving, selecting) is
 * a single copy. The picture is drawn again only when the key it was drawn from changes: the key holds
 * everything the drawing depends on, so a stale picture cannot show. The size and the device's pixel ratio
 * are checked too. A very large object, or a painter that scales, is drawn directly each time.
 */
template <typename Key> class CachedPicture
{
public:
    /** Paints at the painter's origin; draw(QPainter&) draws the object in its own coordinates. */
    template <typename Draw> void Paint(QPainter& painter, const QSize& size, const Key& key, Draw&& draw)
    {
        const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        const bool cacheable = !size.isEmpty() &&
                               double(size.width()) * size.height() * ratio * ratio <= kMaxPixels &&
                               painter.deviceTransform().type() <= QTransform::TxTranslate;
        if (!cacheable) {
            Clear();
            std::forward<Draw>(draw)(painter);
            return;
        }
        if (!m_key || !(*m_key == key) || m_image.devicePixelRatio() != ratio ||
            m_image.deviceIndependentSize() != QSizeF(size)) {
            m_image = QImage(size * ratio, QImage::Format_ARGB32_Premultiplied);
            m_image.setDevicePixelRatio(ratio);
            m_image.fill(Qt::transparent);
            QPainter layer(&m_image);
            std::forward<Draw>(draw)(layer);
            m_key = key;
        }
        painter.drawImage(QPointF(0, 0), m_image);
    }

    void Clear()
    {
        m_key.reset();
        m_image = QImage();
    }

    bool IsEmpty() const { return !m_key; }

private:
    static constexpr double kMaxPixels = 4.0 * 1024 * 1024;
    std::optional<Key> m_key;
    QImage m_image;
};

} // namespace platform
