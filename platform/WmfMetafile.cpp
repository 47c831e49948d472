#include "platform/WmfMetafile.h"

#include "platform/ByteReader.h"
#include "platform/ImageLoader.h"
#include "platform/PictureLimits.h"
#include "platform/Screen.h"
#include "platform/Windows1252.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <variant>
#include <vector>

namespace platform {

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int kPlaceableSize = 22;
constexpr int kHeaderWords = 9;
// Objects a metafile may create at once; a header asking for more is refused.
constexpr int kMaxObjects = 65535;
// Nested save levels kept; deeper saves are ignored (a hostile file cannot grow the stack without end).
constexpr int kMaxSaveDepth = 256;

enum Function : std::uint16_t
{
    META_EOF = 0x0000,
    META_REALIZEPALETTE = 0x0035,
    META_SETPALENTRIES = 0x0037,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETRELABS = 0x0105,
    META_SETPOLYFILLMODE = 0x0106,
    META_SETSTRETCHBLTMODE = 0x0107,
    META_SETTEXTCHAREXTRA = 0x0108,
    META_RESTOREDC = 0x0127,
    META_INVERTREGION = 0x012A,
    META_PAINTREGION = 0x012B,
    META_SELECTCLIPREGION = 0x012C,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_RESIZEPALETTE = 0x0139,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_SETLAYOUT = 0x0149,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPATTERNBRUSH = 0x01F9,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETTEXTJUSTIFICATION = 0x020A,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SETVIEWPORTORG = 0x020D,
    META_SETVIEWPORTEXT = 0x020E,
    META_OFFSETWINDOWORG = 0x020F,
    META_OFFSETVIEWPORTORG = 0x0211,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_OFFSETCLIPRGN = 0x0220,
    META_FILLREGION = 0x0228,
    META_SETMAPPERFLAGS = 0x0231,
    META_SELECTPALETTE = 0x0234,
    META_CREATEPALETTE = 0x00F7,
    META_SAVEDC = 0x001E,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_SCALEWINDOWEXT = 0x0410,
    META_SCALEVIEWPORTEXT = 0x0412,
    META_EXCLUDECLIPRECT = 0x0415,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_FLOODFILL = 0x0419,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_FRAMEREGION = 0x0429,
    META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538,
    META_EXTFLOODFILL = 0x0548,
    META_ROUNDRECT = 0x061C,
    META_PATBLT = 0x061D,
    META_ESCAPE = 0x0626,
    META_CREATEREGION = 0x06FF,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_DIBBITBLT = 0x0940,
    META_EXTTEXTOUT = 0x0A32,
    META_DIBSTRETCHBLT = 0x0B41,
    META_STRETCHDIB = 0x0F43,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
};

// Raster operations of the bitmap records that are played.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCPAINT = 0x00EE0086;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t WHITENESS = 0x00FF0062;

QString Tr(const char* text)
{
    return QCoreApplication::translate("WmfMetafile", text);
}

QColor ColorRef(std::uint32_t v)
{
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

/** A device-independent bitmap (header, colours, bits) decoded through a bitmap file built around it. */
QImage DecodeDib(QByteArrayView dib)
{
    if (dib.size() < 12)
        return {};
    ByteReader in(dib);
    const std::uint32_t headerSize = in.U32();
    qint64 colours = 0;
    int entrySize = 4;
    qint64 masks = 0;
    qint64 width = 0, height = 0;
    if (headerSize == 12) {
        width = in.U16();
        height = in.U16();
        in.U16();
        const int bits = in.U16();
        entrySize = 3;
        colours = bits <= 8 ? (qint64(1) << bits) : 0;
    } else if (headerSize >= 40 && headerSize <= 124) {
        width = in.I32();
        height = in.I32();
        in.U16();
        const int bits = in.U16();
        const std::uint32_t compression = in.U32();
        in.Skip(12);
        const std::uint32_t used = in.U32();
        colours = used ? used : (bits <= 8 ? (qint64(1) << bits) : 0);
        if (headerSize == 40 && (compression == 3 || compression == 6))
            masks = compression == 3 ? 12 : 16;
    } else {
        return {};
    }
    if (in.Overrun() || colours > 256 || width <= 0 || width > kMaxPictureSide || height == 0 ||
        std::abs(height) > kMaxPictureSide || width * std::abs(height) > kMaxPicturePixels)
        return {};
    const qint64 offset = 14 + headerSize + masks + colours * entrySize;
    QByteArray file;
    file.reserve(dib.size() + 14);
    auto put32 = [&file](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file.append(char((v >> (8 * i)) & 0xFF));
    };
    file.append("BM", 2);
    put32(std::uint32_t(14 + dib.size()));
    put32(0);
    put32(std::uint32_t(offset));
    file.append(dib.data(), dib.size());
    QString reason;
    return DecodeImageData(file, "bmp", reason);
}

struct Pen
{
    QPen pen;
};
struct Brush
{
    QBrush brush;
};
struct Font
{
    QFont font;
    int height = 0;
    double escapement = 0; // degrees, counter-clockwise
    bool symbol = false;
};
struct Region
{
    QRegion region;
};
struct Placeholder // palettes and the objects that are not played still take a slot
{};
using GdiObject = std::variant<std::monostate, Pen, Brush, Font, Region, Placeholder>;

struct DcState
{
    QPen pen{Qt::black, 0};
    QBrush brush{Qt::white};
    Font font;
    QColor textColor{Qt::black};
    QColor bkColor{Qt::white};
    bool opaqueBk = true;
    int textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF windowOrg;
    QSizeF windowExt;
    QPointF viewportOrg;
    QSizeF viewportExt;
    QPointF position;
};

class Player
{
public:
    Player(QPainter& painter, const QRectF& target, const QRect& bounds, int objects)
        : m_painter(painter), m_target(target), m_bounds(bounds), m_objects(size_t(objects))
    {
        m_base = painter.worldTransform();
        m_state.windowOrg = bounds.topLeft();
        m_state.windowExt = bounds.size();
        m_state.viewportExt = bounds.size();
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(12);
        m_state.font.font = font;
        applyMapping();
    }

    void Record(std::uint16_t function, ByteReader& p, qint64 paramBytes);
    void Finish()
    {
        flushPendingBitmap();
        while (m_saved > 0) {
            m_painter.restore();
            --m_saved;
        }
    }

private:
    void applyMapping();
    void applyPen() { m_painter.setPen(m_state.pen); }
    void applyBrush() { m_painter.setBrush(m_state.brush); }
    void create(GdiObject object);
    void selectClipRegion(const Region* region);
    void select(int index);
    void drawText(double x, double y, const QByteArray& bytes, const QRectF* clip, bool opaque);
    void stretchDib(std::uint32_t rop, const QRectF& dest, const QRect& source, QByteArrayView dib);
    void drawBitmap(const QRectF& dest, const QImage& image, std::uint32_t rop);
    void flushPendingBitmap();
    QRectF rectFrom(ByteReader& p)
    {
        const double bottom = p.I16(), right = p.I16(), top = p.I16(), left = p.I16();
        return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    }
    QPolygonF points(ByteReader& p, int count)
    {
        QPolygonF poly;
        poly.reserve(count);
        for (int i = 0; i < count && !p.Overrun(); ++i) {
            const double x = p.I16();
            const double y = p.I16();
            poly.append(QPointF(x, y));
        }
        return poly;
    }
    void arcPoints(ByteReader& p, QRectF& box, double& start, double& span);

    QPainter& m_painter;
    QRectF m_target;
    QRect m_bounds;
    QTransform m_base;
    std::vector<GdiObject> m_objects;
    DcState m_state;
    std::vector<DcState> m_stack;
    int m_saved = 0;
    // A bitmap drawn with SRCPAINT, waiting for the SRCAND that usually follows it (a masked bitmap).
    bool m_pending = false;
    QRectF m_pendingRect;
    QImage m_pendingImage;
};

void Player::applyMapping()
{
    // Logical units go through the window and viewport into the picture's own units, which the target
    // rectangle holds.
    const DcState& s = m_state;
    auto ratio = [](double vp, double win) { return win == 0 ? 1.0 : vp / win; };
    const double rx = ratio(s.viewportExt.width(), s.windowExt.width());
    const double ry = ratio(s.viewportExt.height(), s.windowExt.height());
    const double bw = m_bounds.width() == 0 ? 1 : m_bounds.width();
    const double bh = m_bounds.height() == 0 ? 1 : m_bounds.height();
    QTransform t;
    t.translate(m_target.left(), m_target.top());
    t.scale(m_target.width() / bw, m_target.height() / bh);
    t.translate(s.viewportOrg.x() - m_bounds.left(), s.viewportOrg.y() - m_bounds.top());
    t.scale(rx, ry);
    t.translate(-s.windowOrg.x(), -s.windowOrg.y());
    m_painter.setWorldTransform(t * m_base);
}

void Player::create(GdiObject object)
{
    for (GdiObject& slot : m_objects) {
        if (std::holds_alternative<std::monostate>(slot)) {
            slot = std::move(object);
            return;
        }
    }
}

void Player::select(int index)
{
    if (index < 0 || size_t(index) >= m_objects.size())
        return;
    const GdiObject& object = m_objects[size_t(index)];
    if (const Pen* pen = std::get_if<Pen>(&object)) {
        m_state.pen = pen->pen;
        applyPen();
    } else if (const Brush* brush = std::get_if<Brush>(&object)) {
        m_state.brush = brush->brush;
        applyBrush();
    } else if (const Font* font = std::get_if<Font>(&object)) {
        m_state.font = *font;
    } else if (const Region* region = std::get_if<Region>(&object)) {
        selectClipRegion(region);
    }
}

void Player::selectClipRegion(const Region* region)
{
    if (!region) {
        m_painter.setClipping(false);
        return;
    }
    // Regions are kept in device pixels, as they were made.
    const QTransform t = m_painter.worldTransform();
    m_painter.setWorldTransform(QTransform());
    m_painter.setClipRegion(region->region);
    m_painter.setWorldTransform(t);
}

void Player::arcPoints(ByteReader& p, QRectF& box, double& start, double& span)
{
    const double yEnd = p.I16(), xEnd = p.I16(), yStart = p.I16(), xStart = p.I16();
    box = rectFrom(p);
    const QPointF c = box.center();
    // Angles of the radials through the two points, counter-clockwise as the y axis points down.
    auto angle = [&c](double x, double y) { return std::atan2(-(y - c.y()), x - c.x()) * 180.0 / M_PI; };
    start = angle(xStart, yStart);
    double end = angle(xEnd, yEnd);
    span = end - start;
    if (span <= 0)
        span += 360;
}

void Player::drawText(double x, double y, const QByteArray& bytes, const QRectF* clip, bool opaque)
{
    const Font& f = m_state.font;
    const QString text = f.symbol ? QString::fromLatin1(bytes) : DecodeWindows1252(bytes);
    QFont font = f.font;
    const QFontMetricsF metrics(font);
    if (m_state.textAlign & 1) { // TA_UPDATECP: draw at the current position
        x = m_state.position.x();
        y = m_state.position.y();
    }
    const double width = metrics.horizontalAdvance(text);
    double dx = 0;
    switch (m_state.textAlign & 6) {
    case 2: // TA_RIGHT
        dx = -width;
        break;
    case 6: // TA_CENTER
        dx = -width / 2;
        break;
    default:
        break;
    }
    double dy = 0;
    switch (m_state.textAlign & 24) {
    case 8: // TA_BOTTOM
        dy = -metrics.descent();
        break;
    case 24: // TA_BASELINE
        break;
    default: // TA_TOP
        dy = metrics.ascent();
        break;
    }
    m_painter.save();
    if (clip)
        m_painter.setClipRect(*clip, Qt::IntersectClip);
    if (opaque && clip)
        m_painter.fillRect(*clip, m_state.bkColor);
    m_painter.translate(x, y);
    if (f.escapement != 0)
        m_painter.rotate(-f.escapement);
    if (m_state.opaqueBk && !clip)
        m_painter.fillRect(QRectF(dx, dy - metrics.ascent(), width, metrics.height()), m_state.bkColor);
    m_painter.setFont(font);
    m_painter.setPen(m_state.textColor);
    m_painter.drawText(QPointF(dx, dy), text);
    m_painter.restore();
    if (m_state.textAlign & 1)
        m_state.position.rx() += width;
}

void Player::drawBitmap(const QRectF& dest, const QImage& image, std::uint32_t rop)
{
    const bool raster = m_painter.paintEngine() && m_painter.paintEngine()->type() == QPaintEngine::Raster;
    m_painter.save();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (raster && rop == SRCAND)
        m_painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    else if (raster && rop == SRCPAINT)
        m_painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    m_painter.drawImage(dest, image);
    m_painter.restore();
}

void Player::flushPendingBitmap()
{
    if (!m_pending)
        return;
    m_pending = false;
    drawBitmap(m_pendingRect, m_pendingImage, SRCPAINT);
    m_pendingImage = QImage();
}

void Player::stretchDib(std::uint32_t rop, const QRectF& dest, const QRect& source, QByteArrayView dib)
{
    QImage image = DecodeDib(dib);
    if (image.isNull())
        return;
    // Bitmaps are stored bottom row first; the source rectangle counts from the top as decoded.
    const QRect part = source.isValid() ? source.intersected(image.rect()) : image.rect();
    if (part.isEmpty())
        return;
    if (part != image.rect())
        image = image.copy(part);
    if (m_pending && rop == SRCAND && dest == m_pendingRect && image.size() == m_pendingImage.size()) {
        // A mask ORed in and the picture ANDed over it: one picture, opaque where the mask is white and
        // clear where it is black, so it draws the same on a printer or in a PDF.
        QImage combined = image.convertToFormat(QImage::Format_ARGB32);
        const QImage mask = m_pendingImage.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < combined.height(); ++y) {
            auto* out = reinterpret_cast<QRgb*>(combined.scanLine(y));
            const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            for (int x = 0; x < combined.width(); ++x)
                out[x] = qRgba(qRed(out[x]), qGreen(out[x]), qBlue(out[x]), qGray(m[x]));
        }
        m_pending = false;
        m_pendingImage = QImage();
        drawBitmap(dest, combined, SRCCOPY);
        return;
    }
    flushPendingBitmap();
    if (rop == SRCPAINT) {
        m_pending = true;
        m_pendingRect = dest;
        m_pendingImage = image;
        return;
    }
    drawBitmap(dest, image, rop);
}

void Player::Record(std::uint16_t function, ByteReader& p, qint64 paramBytes)
{
    if (function != META_STRETCHDIB && function != META_DIBSTRETCHBLT)
        flushPendingBitmap();
    DcState& s = m_state;
    switch (function) {
    case META_SETBKMODE:
        s.opaqueBk = p.U16() == 2;
        break;
    case META_SETBKCOLOR:
        s.bkColor = ColorRef(p.U32());
        break;
    case META_SETTEXTCOLOR:
        s.textColor = ColorRef(p.U32());
        break;
    case META_SETTEXTALIGN:
        s.textAlign = p.U16();
        break;
    case META_SETPOLYFILLMODE:
        s.fillRule = p.U16() == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case META_SETWINDOWORG: {
        const double y = p.I16();
        s.windowOrg = QPointF(p.I16(), y);
        applyMapping();
        break;
    }
    case META_SETWINDOWEXT: {
        const double y = p.I16();
        s.windowExt = QSizeF(p.I16(), y);
        applyMapping();
        break;
    }
    case META_SETVIEWPORTORG: {
        const double y = p.I16();
        s.viewportOrg = QPointF(p.I16(), y);
        applyMapping();
        break;
    }
    case META_SETVIEWPORTEXT: {
        const double y = p.I16();
        s.viewportExt = QSizeF(p.I16(), y);
        applyMapping();
        break;
    }
    case META_OFFSETWINDOWORG: {
        const double y = p.I16();
        s.windowOrg += QPointF(p.I16(), y);
        applyMapping();
        break;
    }
    case META_OFFSETVIEWPORTORG: {
        const double y = p.I16();
        s.viewportOrg += QPointF(p.I16(), y);
        applyMapping();
        break;
    }
    case META_SCALEWINDOWEXT:
    case META_SCALEVIEWPORTEXT: {
        const double yDenom = p.I16(), yNum = p.I16(), xDenom = p.I16(), xNum = p.I16();
        if (xDenom == 0 || yDenom == 0)
            break;
        QSizeF& ext = function == META_SCALEWINDOWEXT ? s.windowExt : s.viewportExt;
        ext = QSizeF(ext.width() * xNum / xDenom, ext.height() * yNum / yDenom);
        applyMapping();
        break;
    }
    case META_SAVEDC:
        if (m_stack.size() < size_t(kMaxSaveDepth)) {
            m_stack.push_back(s);
            m_painter.save();
            ++m_saved;
        }
        break;
    case META_RESTOREDC: {
        const int n = p.I16();
        // A negative count is relative to the newest level; a positive one names a level from the oldest.
        int target = n < 0 ? int(m_stack.size()) + n : n - 1;
        if (target < 0 || size_t(target) >= m_stack.size())
            break;
        while (m_stack.size() > size_t(target)) {
            s = m_stack.back();
            m_stack.pop_back();
            m_painter.restore();
            --m_saved;
        }
        applyMapping();
        applyPen();
        applyBrush();
        break;
    }
    case META_CREATEPENINDIRECT: {
        const int style = p.U16();
        const double width = p.I16();
        p.I16();
        const QColor color = ColorRef(p.U32());
        QPen pen(color);
        switch (style & 0xF) {
        case 1:
            pen.setStyle(Qt::DashLine);
            break;
        case 2:
            pen.setStyle(Qt::DotLine);
            break;
        case 3:
            pen.setStyle(Qt::DashDotLine);
            break;
        case 4:
            pen.setStyle(Qt::DashDotDotLine);
            break;
        case 5:
            pen.setStyle(Qt::NoPen);
            break;
        default:
            pen.setStyle(Qt::SolidLine);
            break;
        }
        const int cap = style & 0xF00;
        pen.setCapStyle(cap == 0x100 ? Qt::SquareCap : cap == 0x200 ? Qt::FlatCap : Qt::RoundCap);
        const int join = style & 0xF000;
        pen.setJoinStyle(join == 0x1000 ? Qt::BevelJoin : join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
        if (width <= 1 && (style & 0xF) != 6) {
            pen.setWidth(0);
            pen.setCosmetic(true);
        } else {
            pen.setWidthF(std::abs(width));
            pen.setCosmetic(false);
        }
        create(Pen{pen});
        break;
    }
    case META_CREATEBRUSHINDIRECT: {
        const int style = p.U16();
        const QColor color = ColorRef(p.U32());
        const int hatch = p.U16();
        QBrush brush;
        if (style == 0) {
            brush = QBrush(color);
        } else if (style == 2) {
            static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                     Qt::FDiagPattern, Qt::BDiagPattern,
                                                     Qt::CrossPattern, Qt::DiagCrossPattern};
            brush = QBrush(color, hatch >= 0 && hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
        } else {
            brush = QBrush(Qt::NoBrush);
        }
        create(Brush{brush});
        break;
    }
    case META_DIBCREATEPATTERNBRUSH: {
        p.U16();
        p.U16();
        const QImage pattern = DecodeDib(p.Bytes(std::max<qint64>(0, paramBytes - 4)));
        if (!pattern.isNull() && pattern.width() <= 256 && pattern.height() <= 256)
            create(Brush{QBrush(pattern)});
        else
            create(Brush{QBrush(Qt::gray)});
        break;
    }
    case META_CREATEFONTINDIRECT: {
        Font f;
        f.height = p.I16();
        p.I16();
        f.escapement = p.I16() / 10.0;
        p.I16();
        const int weight = p.I16();
        const bool italic = p.U8() != 0;
        const bool underline = p.U8() != 0;
        const bool strike = p.U8() != 0;
        const int charset = p.U8();
        p.Skip(4);
        QByteArray face = p.Bytes(std::clamp<qint64>(p.Remaining(), 0, 32)).toByteArray();
        face.truncate(face.indexOf('\0') < 0 ? face.size() : face.indexOf('\0'));
        f.symbol = charset == 2;
        QFont font(face.isEmpty() ? QStringLiteral("Arial") : DecodeWindows1252(face));
        // A negative height is the characters' height, a positive one the cell's (a little more).
        const int h = std::abs(f.height);
        font.setPixelSize(std::clamp(f.height < 0 ? h : int(std::lround(h * 0.85)), 1, 32767));
        font.setWeight(QFont::Weight(std::clamp(weight > 0 ? weight / 1 : 400, 1, 1000)));
        font.setItalic(italic);
        font.setUnderline(underline);
        font.setStrikeOut(strike);
        f.font = font;
        create(f);
        break;
    }
    case META_CREATEREGION: {
        p.Skip(10);
        const int scans = p.I16();
        p.Skip(10);
        QRegion region;
        for (int i = 0; i < scans && !p.Overrun() && i < 4096; ++i) {
            const int count = p.U16();
            const int top = p.I16();
            const int bottom = p.I16();
            for (int j = 0; j + 1 < count && !p.Overrun(); j += 2) {
                const int left = p.I16();
                const int right = p.I16();
                region += QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
            }
            p.U16();
        }
        create(Region{m_painter.worldTransform().map(region)});
        break;
    }
    case META_CREATEPALETTE:
    case META_CREATEPATTERNBRUSH:
        create(Placeholder{});
        break;
    case META_SELECTOBJECT:
        select(p.U16());
        break;
    case META_DELETEOBJECT: {
        const int index = p.U16();
        if (index >= 0 && size_t(index) < m_objects.size())
            m_objects[size_t(index)] = std::monostate{};
        break;
    }
    case META_SELECTCLIPREGION: {
        const size_t index = p.U16();
        selectClipRegion(index < m_objects.size() ? std::get_if<Region>(&m_objects[index]) : nullptr);
        break;
    }
    case META_INTERSECTCLIPRECT:
        m_painter.setClipRect(rectFrom(p), m_painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        break;
    case META_EXCLUDECLIPRECT: {
        const QRectF r = rectFrom(p);
        QPainterPath all;
        if (m_painter.hasClipping())
            all = m_painter.clipPath();
        else
            all.addRect(
                m_painter.worldTransform().inverted().mapRect(QRectF(m_target).adjusted(-1, -1, 1, 1)));
        QPainterPath cut;
        cut.addRect(r);
        m_painter.setClipPath(all.subtracted(cut));
        break;
    }
    case META_MOVETO: {
        const double y = p.I16();
        s.position = QPointF(p.I16(), y);
        break;
    }
    case META_LINETO: {
        const double y = p.I16();
        const QPointF to(p.I16(), y);
        m_painter.drawLine(s.position, to);
        s.position = to;
        break;
    }
    case META_POLYLINE: {
        const int count = p.U16();
        m_painter.drawPolyline(points(p, count));
        break;
    }
    case META_POLYGON: {
        const int count = p.U16();
        m_painter.drawPolygon(points(p, count), s.fillRule);
        break;
    }
    case META_POLYPOLYGON: {
        const int polygons = p.U16();
        std::vector<int> counts;
        for (int i = 0; i < polygons && !p.Overrun(); ++i)
            counts.push_back(p.U16());
        QPainterPath path;
        path.setFillRule(s.fillRule);
        for (int count : counts) {
            const QPolygonF poly = points(p, count);
            if (p.Overrun())
                break;
            path.addPolygon(poly);
            path.closeSubpath();
        }
        m_painter.drawPath(path);
        break;
    }
    case META_RECTANGLE:
        m_painter.drawRect(rectFrom(p));
        break;
    case META_ROUNDRECT: {
        const double h = p.I16(), w = p.I16();
        m_painter.drawRoundedRect(rectFrom(p), std::abs(w) / 2, std::abs(h) / 2);
        break;
    }
    case META_ELLIPSE:
        m_painter.drawEllipse(rectFrom(p));
        break;
    case META_ARC:
    case META_PIE:
    case META_CHORD: {
        QRectF box;
        double start = 0, span = 0;
        arcPoints(p, box, start, span);
        const int a = int(std::lround(start * 16)), l = int(std::lround(span * 16));
        if (function == META_ARC)
            m_painter.drawArc(box, a, l);
        else if (function == META_PIE)
            m_painter.drawPie(box, a, l);
        else
            m_painter.drawChord(box, a, l);
        break;
    }
    case META_SETPIXEL: {
        const QColor color = ColorRef(p.U32());
        const double y = p.I16();
        m_painter.fillRect(QRectF(p.I16(), y, 1, 1), color);
        break;
    }
    case META_TEXTOUT: {
        const int count = p.U16();
        const QByteArray bytes = p.Bytes(count).toByteArray();
        p.Skip(count & 1);
        const double y = p.I16();
        const double x = p.I16();
        if (!p.Overrun())
            drawText(x, y, bytes, nullptr, false);
        break;
    }
    case META_EXTTEXTOUT: {
        const double y = p.I16();
        const double x = p.I16();
        const int count = p.U16();
        const int options = p.U16();
        QRectF clip;
        const bool hasRect = (options & 0x6) != 0;
        if (hasRect) {
            const double left = p.I16(), top = p.I16(), right = p.I16(), bottom = p.I16();
            clip = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
        }
        const QByteArray bytes = p.Bytes(count).toByteArray();
        if (!p.Overrun())
            drawText(x, y, bytes, (options & 4) ? &clip : nullptr, (options & 2) != 0);
        break;
    }
    case META_PATBLT: {
        const std::uint32_t rop = p.U32();
        const double h = p.I16(), w = p.I16(), y = p.I16(), x = p.I16();
        const QRectF r(x, y, w, h);
        if (rop == BLACKNESS)
            m_painter.fillRect(r, Qt::black);
        else if (rop == WHITENESS)
            m_painter.fillRect(r, Qt::white);
        else if (rop == PATCOPY)
            m_painter.fillRect(r, s.brush);
        break;
    }
    case META_STRETCHDIB: {
        const std::uint32_t rop = p.U32();
        p.U16(); // colour usage
        const int srcH = p.I16(), srcW = p.I16(), srcY = p.I16(), srcX = p.I16();
        const double h = p.I16(), w = p.I16(), y = p.I16(), x = p.I16();
        const QByteArrayView dib = p.Bytes(std::max<qint64>(0, paramBytes - 22));
        if (!p.Overrun())
            stretchDib(rop, QRectF(x, y, w, h).normalized(), QRect(srcX, srcY, srcW, srcH), dib);
        break;
    }
    case META_DIBSTRETCHBLT:
    case META_DIBBITBLT: {
        const std::uint32_t rop = p.U32();
        const bool stretch = function == META_DIBSTRETCHBLT;
        int srcH = 0, srcW = 0;
        if (stretch) {
            srcH = p.I16();
            srcW = p.I16();
        }
        const int srcY = p.I16(), srcX = p.I16();
        const double h = p.I16(), w = p.I16(), y = p.I16(), x = p.I16();
        if (!stretch) {
            srcH = int(h);
            srcW = int(w);
        }
        const qint64 used = stretch ? 20 : 16;
        // Without a bitmap the record fills with the brush, as a pattern blit does.
        if (paramBytes <= used + 2) {
            if (rop == BLACKNESS || rop == WHITENESS || rop == PATCOPY)
                m_painter.fillRect(QRectF(x, y, w, h), rop == BLACKNESS   ? QBrush(Qt::black)
                                                       : rop == WHITENESS ? QBrush(Qt::white)
                                                                          : s.brush);
            break;
        }
        const QByteArrayView dib = p.Bytes(paramBytes - used);
        if (!p.Overrun())
            stretchDib(rop, QRectF(x, y, w, h).normalized(), QRect(srcX, srcY, srcW, srcH), dib);
        break;
    }
    default:
        // Escapes, palettes, mapping flags and the rarely used region paints are not drawn.
        break;
    }
}

} // namespace

bool WmfMetafile::LooksLikeWmf(QByteArrayView data)
{
    ByteReader in(data);
    if (in.U32() == kPlaceableKey)
        return true;
    in.Seek(0);
    const int type = in.U16();
    const int headerWords = in.U16();
    return !in.Overrun() && (type == 1 || type == 2) && headerWords == kHeaderWords;
}

bool WmfMetafile::Load(QByteArrayView data, QString& error)
{
    *this = WmfMetafile();
    ByteReader in(data);
    bool placeable = false;
    QRect bounds;
    int unitsPerInch = 0;
    if (in.U32() == kPlaceableKey) {
        placeable = true;
        in.U16();
        const int left = in.I16(), top = in.I16(), right = in.I16(), bottom = in.I16();
        unitsPerInch = in.U16();
        bounds = QRect(QPoint(left, top), QPoint(right, bottom)).normalized();
        bounds.setSize(QSize(std::abs(right - left), std::abs(bottom - top)));
        in.Seek(kPlaceableSize);
    } else {
        in.Seek(0);
    }
    const qsizetype headerAt = in.Pos();
    const int type = in.U16();
    const int headerWords = in.U16();
    in.U16();
    in.U32();
    const int objects = in.U16();
    in.U32();
    in.U16();
    if (in.Overrun() || (type != 1 && type != 2) || headerWords != kHeaderWords) {
        error = Tr("not a Windows metafile");
        return false;
    }
    if (objects > kMaxObjects) {
        error = Tr("the metafile is damaged");
        return false;
    }
    const qsizetype recordsStart = in.Pos();
    // Walk the records once: each must fit in the file, and the window gives the size of a metafile
    // without a placeable header.
    QPoint windowOrg;
    QSize windowExt;
    bool ended = false;
    while (in.Remaining() >= 6) {
        const qsizetype at = in.Pos();
        const std::uint32_t words = in.U32();
        const std::uint16_t function = in.U16();
        if (words < 3 || qint64(words) * 2 > qint64(data.size() - at)) {
            error = Tr("the metafile is damaged");
            return false;
        }
        if (function == META_EOF) {
            ended = true;
            break;
        }
        if (function == META_SETWINDOWORG && words >= 5) {
            const int y = in.I16();
            windowOrg = QPoint(in.I16(), y);
        } else if (function == META_SETWINDOWEXT && words >= 5) {
            const int y = in.I16();
            windowExt = QSize(in.I16(), y);
        }
        in.Seek(at + qint64(words) * 2);
    }
    if (!ended) {
        error = Tr("the file ends early");
        return false;
    }
    QSize size;
    if (placeable && unitsPerInch > 0 && !bounds.isEmpty()) {
        const int ppi = PixelsPerInch();
        size = QSize(int(std::lround(double(bounds.width()) * ppi / unitsPerInch)),
                     int(std::lround(double(bounds.height()) * ppi / unitsPerInch)));
    } else if (windowExt.width() != 0 && windowExt.height() != 0) {
        bounds = QRect(windowOrg, QSize(std::abs(windowExt.width()), std::abs(windowExt.height())));
        size = bounds.size();
    } else {
        error = Tr("the metafile gives no size");
        return false;
    }
    if (const QString problem = PictureSizeProblem(size); !problem.isEmpty() || size.isEmpty()) {
        error = problem.isEmpty() ? Tr("the metafile gives no size") : problem;
        return false;
    }
    m_data = data.toByteArray();
    m_recordsStart = recordsStart;
    m_objectCount = objects;
    m_bounds = bounds;
    m_size = size;
    m_placeable = placeable;
    Q_UNUSED(headerAt);
    return true;
}

QByteArray WmfMetafile::PlaceableData() const
{
    if (m_placeable || m_data.isEmpty())
        return m_data;
    QByteArray out;
    auto put16 = [&out](int v) {
        out.append(char(v & 0xFF));
        out.append(char((v >> 8) & 0xFF));
    };
    put16(int(kPlaceableKey & 0xFFFF));
    put16(int(kPlaceableKey >> 16));
    put16(0);
    put16(m_bounds.left());
    put16(m_bounds.top());
    put16(m_bounds.left() + m_bounds.width());
    put16(m_bounds.top() + m_bounds.height());
    // The window extent was taken as pixels: the units per inch are the screen's.
    put16(PixelsPerInch());
    put16(0);
    put16(0);
    int checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= std::uint8_t(out[i]) | (std::uint8_t(out[i + 1]) << 8);
    put16(checksum);
    return out + m_data;
}

void WmfMetafile::Play(QPainter& painter, const QRectF& target) const
{
    if (m_data.isEmpty() || target.isEmpty())
        return;
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipRect(target, Qt::IntersectClip);
    {
        Player player(painter, target, m_bounds, m_objectCount);
        ByteReader in(m_data);
        in.Seek(m_recordsStart);
        while (in.Remaining() >= 6) {
            const qsizetype at = in.Pos();
            const std::uint32_t words = in.U32();
            const std::uint16_t function = in.U16();
            if (function == META_EOF || words < 3)
                break;
            const qint64 paramBytes = qint64(words) * 2 - 6;
            ByteReader params(in.At(at + 6, paramBytes));
            player.Record(function, params, paramBytes);
            in.Seek(at + qint64(words) * 2);
        }
        player.Finish();
    }
    painter.restore();
}

QImage WmfMetafile::Render(QSize size) const
{
    if (size.isEmpty())
        size = m_size;
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    Play(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace platform
