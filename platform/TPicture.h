#pragma once

#include "platform/WmfMetafile.h"

#include <QByteArray>
#include <QImage>

#include <memory>

class QPainter;

namespace platform {

/**
 * A picture holder: empty, a bitmap or a metafile. Its stream form is the short-string class name of the
 * graphic ("TBitmap" or "TMetafile") followed by the graphic's data: for a bitmap a 4-byte length and a
 * bitmap file, for a metafile a 4-byte length that counts itself and the placeable metafile.
 */
class TPicture
{
public:
    enum Kind
    {
        pkNone,
        pkBitmap,
        pkMetafile,
    };

    TPicture() = default;
    explicit TPicture(const QImage& bitmap);
    explicit TPicture(const WmfMetafile& metafile);

    Kind GraphicKind() const { return m_kind; }
    bool IsEmpty() const { return m_kind == pkNone; }
    int Width() const;
    int Height() const;
    QSize Size() const { return QSize(Width(), Height()); }
    const QImage& Bitmap() const { return m_bitmap; }
    const WmfMetafile* MetafileData() const { return m_metafile.get(); }

    /** Draws the picture stretched into the rectangle: a bitmap as pixels, a metafile as vectors. */
    void Draw(QPainter& painter, const QRectF& target) const;
    /** The picture as pixels at its own size. */
    QImage ToImage() const;

    QByteArray StreamData() const;
    /** Reads the stream form; data that cannot be decoded gives an empty picture and the reason. */
    static TPicture FromStreamData(const QByteArray& data, QString* error = nullptr);

    bool operator==(const TPicture& other) const;

private:
    Kind m_kind = pkNone;
    QImage m_bitmap;
    std::shared_ptr<const WmfMetafile> m_metafile;
};

} // namespace platform
