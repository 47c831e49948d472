#include "platform/TPicture.h"

#include "platform/BitmapFile.h"
#include "platform/ByteReader.h"
#include "platform/ImageLoader.h"

#include <QCoreApplication>
#include <QPainter>

namespace platform {

namespace {

void Put32(QByteArray& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

QString Tr(const char* text)
{
    return QCoreApplication::translate("TPicture", text);
}

} // namespace

TPicture::TPicture(const QImage& bitmap) : m_kind(bitmap.isNull() ? pkNone : pkBitmap), m_bitmap(bitmap) {}

TPicture::TPicture(const WmfMetafile& metafile)
    : m_kind(metafile.IsNull() ? pkNone : pkMetafile),
      m_metafile(metafile.IsNull() ? nullptr : std::make_shared<const WmfMetafile>(metafile))
{}

int TPicture::Width() const
{
    switch (m_kind) {
    case pkBitmap:
        return m_bitmap.width();
    case pkMetafile:
        return m_metafile->Size().width();
    default:
        return 0;
    }
}

int TPicture::Height() const
{
    switch (m_kind) {
    case pkBitmap:
        return m_bitmap.height();
    case pkMetafile:
        return m_metafile->Size().height();
    default:
        return 0;
    }
}

void TPicture::Draw(QPainter& painter, const QRectF& target) const
{
    if (m_kind == pkBitmap) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(target, m_bitmap);
        painter.restore();
    } else if (m_kind == pkMetafile) {
        m_metafile->Play(painter, target);
    }
}

QImage TPicture::ToImage() const
{
    if (m_kind == pkMetafile)
        return m_metafile->Render();
    return m_bitmap;
}

QByteArray TPicture::StreamData() const
{
    QByteArray out;
    if (m_kind == pkBitmap) {
        const QByteArray file = BitmapFileData(m_bitmap);
        out.append(char(7));
        out.append("TBitmap", 7);
        Put32(out, std::uint32_t(file.size()));
        out.append(file);
    } else if (m_kind == pkMetafile) {
        const QByteArray wmf = m_metafile->PlaceableData();
        out.append(char(9));
        out.append("TMetafile", 9);
        // The metafile's length counts the four bytes of the length itself.
        Put32(out, std::uint32_t(wmf.size() + 4));
        out.append(wmf);
    }
    return out;
}

TPicture TPicture::FromStreamData(const QByteArray& data, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return TPicture();
    };
    if (data.isEmpty())
        return {};
    ByteReader in(data);
    const int nameLength = in.U8();
    const QByteArray name = in.Bytes(nameLength).toByteArray();
    const std::uint32_t length = in.U32();
    if (in.Overrun())
        return fail(Tr("the stored picture is damaged"));
    if (name == "TBitmap") {
        const QByteArrayView bytes = in.Bytes(length);
        if (in.Overrun() || length == 0)
            return fail(Tr("the stored picture is damaged"));
        // A bitmap with an alpha mask comes back with its transparency.
        QString reason;
        const QImage image = DecodeImageData(bytes, "bmp", reason);
        if (image.isNull())
            return fail(Tr("the stored bitmap cannot be read: %1").arg(reason));
        return TPicture(image);
    }
    if (name == "TMetafile") {
        if (length < 4)
            return {};
        const QByteArrayView bytes = in.Bytes(qint64(length) - 4);
        if (in.Overrun())
            return fail(Tr("the stored picture is damaged"));
        WmfMetafile metafile;
        QString reason;
        if (!metafile.Load(bytes, reason))
            return fail(reason);
        return TPicture(metafile);
    }
    return fail(Tr("the stored picture is of an unknown kind"));
}

bool TPicture::operator==(const TPicture& other) const
{
    if (m_kind != other.m_kind)
        return false;
    if (m_kind == pkBitmap)
        return m_bitmap == other.m_bitmap;
    if (m_kind == pkMetafile)
        return m_metafile->Data() == other.m_metafile->Data();
    return true;
}

} // namespace platform
