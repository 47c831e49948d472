#include "supertext/TQelSuperText.h"

#include "design/TQelBasePanel.h"
#include "platform/Prompts.h"
#include "platform/Screen.h"
#include "platform/SymbolFonts.h"
#include "supertext/TSuperTextProperties.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace supertext {

using platform::ToQColor;

namespace {

// A shadow deeper than any page is as good as this one; the bound keeps the arithmetic in range for any
// value a damaged file may hold.
constexpr int kMaxShadowDepth = 10000;
// Outline widths and font sizes are bounded likewise when drawn (the stored values stay as they are).
constexpr int kMaxOutlineWidth = 1000;
constexpr int kMaxPixelSize = 4000;
constexpr int kMaxGradientExtent = 1 << 16;
// Objects up to this many pixels keep their picture between paints.
constexpr qint64 kMaxCachedPixels = 4 * 1024 * 1024;

Qt::PenStyle QtPenStyle(TPenStyle style)
{
    switch (style) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    case psSolid:
    case psInsideFrame:
        break;
    }
    return Qt::SolidLine;
}

int TextHeight(const QFontMetrics& metrics)
{
    return metrics.ascent() + metrics.descent();
}

} // namespace

TQelSuperText::TQelSuperText(QWidget* parent) : design::TQelGraphicControl(parent)
{
    m_font = new platform::TFont(this);
    m_font->SetName(QStringLiteral("Times New Roman"));
    m_font->SetSize(48);
    m_font->SetColor(platform::clBlack);
    connect(m_font, &platform::TFont::changed, this, [this] {
        NotifyChange();
        markLayoutDirty();
    });
    m_shadowOffset = ShadowOffset(m_shadowOrientation, m_shadowDepth);
    resize(142, 33);
}

void TQelSuperText::invalidate()
{
    m_cacheValid = false;
    update();
}

void TQelSuperText::markLayoutDirty()
{
    m_layoutDirty = true;
    invalidate();
}

void TQelSuperText::gradientInputChanged()
{
    m_gradientDirty = true;
    invalidate();
}

void TQelSuperText::SetShadowDepth(int depth)
{
    if (depth == m_shadowDepth)
        return;
    m_shadowDepth = depth;
    m_shadowOffset = ShadowOffset(m_shadowOrientation, std::clamp(depth, -kMaxShadowDepth, kMaxShadowDepth));
    markLayoutDirty();
}

void TQelSuperText::SetShadowOrientation(TShadowOrientation orientation)
{
    if (orientation == m_shadowOrientation)
        return;
    m_shadowOrientation = orientation;
    m_shadowOffset = ShadowOffset(orientation, std::clamp(m_shadowDepth, -kMaxShadowDepth, kMaxShadowDepth));
    markLayoutDirty();
}

void TQelSuperText::SetShadowcolor(platform::TColor color)
{
    if (color == m_shadowColor)
        return;
    m_shadowColor = color;
    invalidate();
}

void TQelSuperText::SetBorderStyle(design::TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    invalidate();
    NotifyChange();
}

void TQelSuperText::SetControlTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    invalidate();
}

void TQelSuperText::SetBGColor(platform::TColor color)
{
    if (color == m_bgColor)
        return;
    m_bgColor = color;
    invalidate();
    NotifyChange();
}

void TQelSuperText::SetCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    invalidate();
    NotifyChange();
}

void TQelSuperText::SetFillDirection(TFillDirection direction)
{
    if (direction == m_fillDirection)
        return;
    m_fillDirection = direction;
    if (m_surfaceType == stGradientFill)
        gradientInputChanged();
    invalidate();
}

void TQelSuperText::SetGradientToColor(platform::TColor color)
{
    if (color == m_gradientTo)
        return;
    m_gradientTo = color;
    if (m_surfaceType == stGradientFill)
        gradientInputChanged();
    invalidate();
}

void TQelSuperText::SetGradientFromColor(platform::TColor color)
{
    if (color == m_gradientFrom)
        return;
    m_gradientFrom = color;
    NotifyChange();
    if (m_surfaceType == stGradientFill)
        gradientInputChanged();
    invalidate();
}

void TQelSuperText::SetImage(const QImage& image)
{
    if (image.isNull() || image.width() < 1 || image.height() < 1) {
        m_image = QImage();
    } else if (image.hasAlphaChannel()) {
        // A texture is an opaque bitmap: see-through parts of a picture show white, as on a new bitmap.
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
        painter.end();
        m_image = opaque;
    } else {
        m_image = image.convertToFormat(QImage::Format_RGB32);
    }
    invalidate();
}

void TQelSuperText::SetOutlineColor(platform::TColor color)
{
    if (color == m_outlineColor)
        return;
    m_outlineColor = color;
    invalidate();
}

void TQelSuperText::SetOutlineStyle(TPenStyle style)
{
    if (style == m_outlineStyle)
        return;
    m_outlineStyle = style;
    invalidate();
}

void TQelSuperText::SetOutlineWidth(int width)
{
    if (width == m_outlineWidth)
        return;
    m_outlineWidth = width;
    invalidate();
}

void TQelSuperText::SetSurfaceType(TSurfaceType type)
{
    if (type == m_surfaceType)
        return;
    m_surfaceType = type;
    invalidate();
    if (type != stBrushImage)
        m_image = QImage();
    if (type == stGradientFill)
        gradientInputChanged();
    // Hollow text must show something: its outline.
    if (type == stBrushTransparent && m_outlineStyle == psClear)
        SetOutlineStyle(psSolid);
}

void TQelSuperText::SetObjectFont(const platform::TFont& font)
{
    m_font->Assign(font);
    markLayoutDirty();
}

void TQelSuperText::BoundsChanged()
{
    design::TQelGraphicControl::BoundsChanged();
    m_layoutDirty = true;
    if (width() <= 0 || height() <= 0)
        resize(std::max(1, width()), std::max(1, height()));
    if (m_surfaceType == stGradientFill)
        gradientInputChanged();
}

QFont TQelSuperText::DrawingFont() const
{
    return fontAt(ZoomFactor());
}

QFont TQelSuperText::fontAt(float zoom) const
{
    const int pixels = std::min(platform::FontPixels(m_font->Size(), zoom), kMaxPixelSize);
    QFont font = platform::MakeQFont(platform::DrawingFamily(m_font->Name()), pixels, m_font->Style());
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

const SuperTextLayout& TQelSuperText::Layout()
{
    // The panel may give the object a zoom factor without moving it; the layout follows the factor.
    if (ZoomFactor() != m_layoutZoom)
        m_layoutDirty = true;
    if (!m_layoutDirty || m_inLayout)
        return m_layout;
    m_layoutZoom = ZoomFactor();
    m_inLayout = true;
    const QFont font = DrawingFont();
    const QFontMetrics metrics(font);
    SuperTextLayoutInput in;
    in.zoom = ZoomFactor();
    in.shadow = m_shadowOffset;
    in.textHeight = TextHeight(metrics);
    in.textWidth = metrics.horizontalAdvance(platform::SymbolText(m_font->Name(), m_caption) + u' ');
    in.width = width();
    in.height = height();
    in.transparent = m_transparent;
    in.border = m_borderStyle == design::bsSingle;
    m_layout = ComputeSuperTextLayout(in);
    if (m_layout.width != width() || m_layout.height != height())
        resize(m_layout.width, m_layout.height);
    m_layoutDirty = false;
    m_inLayout = false;
    return m_layout;
}

const QImage& TQelSuperText::GradientBitmap()
{
    // Beyond any real page the bands are made at a bounded size and stretched, so a size read from a damaged
    // file cannot make the program allocate what the file does not hold.
    const bool across = m_fillDirection == gdLeft || m_fillDirection == gdRight;
    const QSize bounded(std::min(width(), kMaxGradientExtent), std::min(height(), kMaxGradientExtent));
    const QSize expected = across ? QSize(bounded.width(), 1) : QSize(1, bounded.height());
    if (m_gradientDirty || m_gradient.size() != expected) {
        m_gradient = MakeGradientStrip(bounded, m_fillDirection, m_gradientFrom, m_gradientTo);
        m_gradientDirty = false;
    }
    return m_gradient;
}

QString TQelSuperText::fittingCaption(const QFont& font, int available)
{
    const QString face = m_font->Name();
    if (m_fitAvailable == available && m_fitCaption == m_caption && m_fitFont == font && m_fitFace == face)
        return m_fitResult;
    const QFontMetrics metrics(font);
    auto fits = [&](qsizetype n) {
        return metrics.horizontalAdvance(platform::SymbolText(face, m_caption.left(n))) <= available;
    };
    // Characters drop from the end until the rest fits; widths grow with the length, so the longest prefix
    // that fits is found by halving rather than one character at a time (a long caption stays quick).
    qsizetype n = m_caption.size();
    if (!fits(n)) {
        qsizetype low = 0, high = n; // fits(low) holds (the empty text), fits(high) does not
        while (high - low > 1) {
            const qsizetype middle = low + (high - low) / 2;
            (fits(middle) ? low : high) = middle;
        }
        n = low;
    }
    // Never keep half of a character written as a surrogate pair.
    if (n > 0 && n < m_caption.size() && m_caption.at(n - 1).isHighSurrogate())
        --n;
    m_fitCaption = m_caption;
    m_fitFont = font;
    m_fitFace = face;
    m_fitAvailable = available;
    m_fitResult = m_caption.left(n);
    return m_fitResult;
}

QString TQelSuperText::ShownCaption()
{
    // Fitted once, at full size, to the object's width on the page: the same characters show at every zoom
    // and on paper (fitted at each zoom, rounded font sizes would drop a letter at one zoom and not another).
    const double zoom = ZoomFactor() > 0 ? double(ZoomFactor()) : 1.0;
    SuperTextLayoutInput fullSize;
    fullSize.shadow = m_shadowOffset;
    fullSize.width = int(std::nearbyint(width() / zoom));
    return fittingCaption(fontAt(1.0f), fullSize.width - ComputeSuperTextLayout(fullSize).X0());
}

void TQelSuperText::paintEvent(QPaintEvent*)
{
    if (m_inPaint)
        return;
    if (const design::TQelBasePanel* panel = Panel(); panel && panel->SuspendPaint())
        return;
    m_inPaint = true;
    QPainter painter(this);
    Paint(painter);
    m_inPaint = false;
}

void TQelSuperText::Paint(QPainter& painter)
{
    if (width() < 5 || height() < 5)
        m_layoutDirty = true;
    Layout();
    // The picture is kept between paints (moving, scrolling and selecting repaint often, the text changes
    // seldom); a very large object is drawn afresh each time instead of holding a picture of its size.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (qint64(width()) * height() * ratio * ratio > kMaxCachedPixels) {
        render(painter);
        return;
    }
    if (!m_cacheValid || m_cacheZoom != ZoomFactor() || m_cache.devicePixelRatio() != ratio ||
        m_cache.deviceIndependentSize() != QSizeF(size())) {
        m_cache = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        m_cache.setDevicePixelRatio(ratio);
        m_cache.fill(Qt::transparent);
        QPainter layer(&m_cache);
        render(layer);
        m_cacheValid = true;
        m_cacheZoom = ZoomFactor();
    }
    painter.drawImage(QPointF(0, 0), m_cache);
}

void TQelSuperText::render(QPainter& painter)
{
    const SuperTextLayout layout = Layout();
    const int w = width(), h = height();
    const QFont font = DrawingFont();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (!m_transparent)
        painter.fillRect(QRect(0, 0, w, h), ToQColor(m_bgColor));
    if (m_borderStyle == design::bsSingle) {
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, w - 1, h - 1);
    }
    const QString text = ShownCaption();
    if (text.isEmpty()) {
        // Nothing to show: a crossed box says so.
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, w - 1, h - 1);
        painter.drawLine(0, 0, w - 1, h - 1);
        painter.drawLine(w - 1, 0, 0, h - 1);
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    m_glyphs.Set(platform::SymbolText(m_font->Name(), text), font);
    if (m_shadowDepth >= 1 && m_shadowOrientation != sdNone)
        m_glyphs.Fill(painter, layout.ShadowOrigin(), ToQColor(m_shadowColor));
    const QPoint origin = layout.TextOrigin();
    switch (m_surfaceType) {
    case stNormal:
        m_glyphs.Fill(painter, origin, ToQColor(m_font->Color()));
        break;
    case stBrushImage:
        if (!m_image.isNull()) {
            // Tiles from the object's top-left corner, scaled with the zoom.
            QBrush tiles(m_image);
            const float zoom = ZoomFactor();
            int tileWidth = m_image.width(), tileHeight = m_image.height();
            if (zoom != 1.0f) {
                tileWidth = static_cast<int>(std::trunc(tileWidth * double(zoom)));
                tileHeight = static_cast<int>(std::trunc(tileHeight * double(zoom)));
                tiles.setTransform(QTransform::fromScale(double(tileWidth) / m_image.width(),
                                                         double(tileHeight) / m_image.height()));
            }
            if (tileWidth >= 1 && tileHeight >= 1)
                m_glyphs.Fill(painter, origin, tiles);
        }
        break;
    case stGradientFill:
        if (const QImage& gradient = GradientBitmap(); !gradient.isNull()) {
            QBrush bands(gradient);
            if (gradient.width() < width() && gradient.height() == 1)
                bands.setTransform(QTransform::fromScale(double(width()) / gradient.width(), 1));
            else if (gradient.height() < height() && gradient.width() == 1)
                bands.setTransform(QTransform::fromScale(1, double(height()) / gradient.height()));
            m_glyphs.Fill(painter, origin, bands);
        }
        break;
    case stBrushTransparent:
        break;
    }
    if (m_outlineStyle != psClear && m_outlineWidth >= 1) {
        const QPen pen(ToQColor(m_outlineColor), std::min(m_outlineWidth, kMaxOutlineWidth),
                       QtPenStyle(m_outlineStyle), Qt::FlatCap, Qt::RoundJoin);
        m_glyphs.Stroke(painter, origin, pen);
    }
    painter.restore();
}

void TQelSuperText::PrintTo(QPainter& painter, double originX, double originY)
{
    // The object as the window draws it, in screen pixels placed and scaled onto the page: outline widths,
    // shadow depths and the gradient's bands scale with the page, and the glyphs stay outlines.
    m_layoutDirty = true;
    const double ppi = platform::PixelsPerInch();
    const double dpiX = painter.device()->logicalDpiX();
    const double dpiY = painter.device()->logicalDpiY();
    painter.save();
    painter.translate((originX + x() / ppi) * dpiX, (originY + y() / ppi) * dpiY);
    painter.scale(dpiX / ppi, dpiY / ppi);
    painter.setClipRect(rect(), Qt::IntersectClip);
    render(painter);
    painter.restore();
}

bool TQelSuperText::FitToText()
{
    QCoreApplication::processEvents();
    const int pixels = std::min(platform::FontPixels(m_font->Size()), kMaxPixelSize);
    QFont unzoomed = platform::MakeQFont(platform::DrawingFamily(m_font->Name()), pixels, m_font->Style());
    const QFontMetrics metrics(unzoomed);
    const int cx = metrics.horizontalAdvance(platform::SymbolText(m_font->Name(), m_caption));
    const int cy = TextHeight(metrics);
    m_layoutDirty = true;
    const SuperTextLayout& layout = Layout();
    const int left = std::max(layout.text.left, layout.shadowRect.left);
    const int top = std::max(layout.text.top, layout.shadowRect.top);
    const QSize fitted = FitSize(left, top, cx, cy);
    setGeometry(x(), y(), fitted.width(), fitted.height());
    return height() >= cy && width() >= cx;
}

void TQelSuperText::CopyFrom(const TQelSuperText& other)
{
    SetCaption(other.Caption());
    m_font->Assign(*other.Font());
    SetControlTransparent(other.ControlTransparent());
    SetBGColor(other.BGColor());
    SetBorderStyle(other.BorderStyle());
    SetCaption(other.Caption());
    SetGradientFromColor(other.GradientFromColor());
    SetFillDirection(other.FillDirection());
    SetGradientToColor(other.GradientToColor());
    SetImage(other.Image());
    SetOutlineColor(other.OutlineColor());
    SetOutlineStyle(other.OutlineStyle());
    SetOutlineWidth(other.OutlineWidth());
    SetShadowcolor(other.Shadowcolor());
    SetShadowDepth(other.ShadowDepth());
    SetShadowOrientation(other.ShadowOrientation());
    SetSurfaceType(other.SurfaceType());
    resize(other.width(), other.height());
}

bool TQelSuperText::EditProperties()
{
    TSuperTextProperties dialog(window() != this ? window() : nullptr);
    dialog.Example()->CopyFrom(*this);
    dialog.SetLastTexturePath(m_lastBitmapPath);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const TQelSuperText* example = dialog.Example();
    SetGradientFromColor(example->GradientFromColor());
    SetFillDirection(example->FillDirection());
    SetGradientToColor(example->GradientToColor());
    SetImage(example->Image());
    SetOutlineColor(example->OutlineColor());
    SetOutlineStyle(example->OutlineStyle());
    SetOutlineWidth(example->OutlineWidth());
    SetShadowcolor(example->Shadowcolor());
    SetShadowDepth(example->ShadowDepth());
    SetShadowOrientation(example->ShadowOrientation());
    SetSurfaceType(example->SurfaceType());
    m_lastBitmapPath = dialog.LastTexturePath();
    m_font->SetColor(example->Font()->Color());
    m_font->Assign(*example->Font());
    SetCaption(example->Caption());
    // The object only shrinks here: it keeps a size the user gave it unless the example needs less.
    if (example->width() < width())
        resize(example->width(), height());
    if (example->height() < height())
        resize(width(), example->height());
    if (m_surfaceType == stGradientFill)
        gradientInputChanged();
    m_layoutDirty = true;
    Layout();
    update();
    NotifyChange();
    return true;
}

void TQelSuperText::FontCommand()
{
    const std::optional<platform::FontChoice> chosen = platform::Prompts::Current().ChooseFont(
        this, platform::FontForDialog(*m_font), platform::FontDialogOption::ScalableOnly);
    if (!chosen)
        return;
    platform::TakeDialogFont(*m_font, *chosen);
    markLayoutDirty();
}

void TQelSuperText::AfterLoad()
{
    const bool built = Menu() != nullptr;
    design::TQelGraphicControl::AfterLoad();
    if (built)
        return;
    Menu()->addSeparator();
    AddMenuItem(tr("Font"), "mnuFont", [this] { FontCommand(); });
    m_transparentItem = AddMenuItem(tr("Transparent"), "mnuTransparent", [this] {
        SetControlTransparent(!m_transparent);
        // The look of the page changed, so the document has changes to save.
        NotifyChange();
    });
    m_transparentItem->setCheckable(true);
    AddMenuItem(tr("Background Color"), "mnuBackgroundColor", [this] {
        const std::optional<platform::TColor> chosen =
            platform::Prompts::Current().ChooseColor(this, m_bgColor);
        if (!chosen)
            return;
        SetBGColor(*chosen);
        NotifyChange();
        SetControlTransparent(false);
        update();
    });
    m_borderItem = AddMenuItem(tr("Border"), "mnuBorder", [this] {
        SetBorderStyle(m_borderStyle == design::bsSingle ? design::bsNone : design::bsSingle);
    });
    m_borderItem->setCheckable(true);
    AddMenuItem(tr("Properties"), "mnuProperties", [this] { EditProperties(); });
}

void TQelSuperText::UpdateMenuChecks()
{
    design::TQelGraphicControl::UpdateMenuChecks();
    if (m_borderItem)
        m_borderItem->setChecked(m_borderStyle == design::bsSingle);
    if (m_transparentItem)
        m_transparentItem->setChecked(m_transparent);
}

} // namespace supertext
