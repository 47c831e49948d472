#include "design/TQelBaseLabel.h"

#include "design/PlacedObjectClasses.h"
#include "design/TGetLabelText.h"
#include "design/TQelBasePanel.h"
#include "persist/stream/StandardClasses.h"
#include "platform/Prompts.h"
#include "platform/Screen.h"

#include <QFontMetrics>
#include <QMenu>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace design {

TQelBaseLabel::TQelBaseLabel(QWidget* parent) : TQelGraphicControl(parent)
{
    m_font = new platform::TFont(this);
    m_font->SetName(QStringLiteral("Arial"));
    m_font->SetSize(10);
    m_font->SetColor(platform::clBlack);
    connect(m_font, &platform::TFont::changed, this, [this] {
        NotifyChange();
        MarkLayoutDirty();
    });
    resize(142, 33);
}

void TQelBaseLabel::MarkLayoutDirty()
{
    m_layoutDirty = true;
    update();
}

void TQelBaseLabel::SetAlignment(TAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    MarkLayoutDirty();
    NotifyChange();
}

void TQelBaseLabel::SetDepthHighlight(int depth)
{
    if (depth == m_depthHighlight)
        return;
    m_depthHighlight = depth;
    MarkLayoutDirty();
}

void TQelBaseLabel::SetDepthShadow(int depth)
{
    if (depth == m_depthShadow)
        return;
    m_depthShadow = depth;
    MarkLayoutDirty();
}

void TQelBaseLabel::SetDirectionHighlight(THighlightDirection direction)
{
    if (direction == m_directionHighlight)
        return;
    m_directionHighlight = direction;
    MarkLayoutDirty();
}

void TQelBaseLabel::SetDirectionShadow(TShadowDirection direction)
{
    if (direction == m_directionShadow)
        return;
    m_directionShadow = direction;
    MarkLayoutDirty();
}

void TQelBaseLabel::SetColorHighlight(platform::TColor color)
{
    if (color == m_colorHighlight)
        return;
    m_colorHighlight = color;
    update();
}

void TQelBaseLabel::SetColorShadow(platform::TColor color)
{
    if (color == m_colorShadow)
        return;
    m_colorShadow = color;
    update();
}

void TQelBaseLabel::SetAngle(int angle)
{
    if ((angle != 0 && angle != 90 && angle != 180 && angle != 270) || angle == m_angle)
        return;
    m_angle = angle;
    m_layoutDirty = true;
    if (angle != 0)
        m_alignment = taLeftJustify;
    const bool across = angle == 90 || angle == 270;
    if ((!across && width() < height()) || (across && height() < width()))
        resize(height(), width());
    update();
}

void TQelBaseLabel::SetCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    MarkLayoutDirty();
    NotifyChange();
}

void TQelBaseLabel::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    NotifyChange();
    repaint();
}

void TQelBaseLabel::SetBackColor(platform::TColor color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    NotifyChange();
    update();
}

void TQelBaseLabel::SetBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    update();
    NotifyChange();
}

void TQelBaseLabel::SetObjectFont(const platform::TFont& font)
{
    m_font->Assign(font);
    MarkLayoutDirty();
}

void TQelBaseLabel::BoundsChanged()
{
    TQelGraphicControl::BoundsChanged();
    if (m_inLayout)
        return;
    m_layoutDirty = true;
    if (width() <= 0 || height() <= 0)
        resize(std::max(1, width()), std::max(1, height()));
}

QFont TQelBaseLabel::DrawingFont() const
{
    return platform::MakeQFont(m_font->Name(), platform::FontPixels(m_font->Size(), ZoomFactor()),
                               m_font->Style());
}

const LabelLayout& TQelBaseLabel::Layout()
{
    if (!m_layoutDirty || m_inLayout)
        return m_layout;
    m_inLayout = true;
    const QFont font = DrawingFont();
    const QFontMetrics metrics(font);
    const int textHeight = metrics.ascent() + metrics.descent();
    const int internalLeading = std::max(0, textHeight - font.pixelSize());
    LabelLayoutInput in;
    in.angle = m_angle;
    in.alignment = m_alignment;
    in.width = width();
    in.height = height();
    in.shadow = ShadowOffset(m_directionShadow, m_depthShadow);
    in.highlight = HighlightOffset(m_directionHighlight, m_depthHighlight);
    in.lineHeight = textHeight + internalLeading + std::max(0, metrics.leading());
    in.textWidth = metrics.horizontalAdvance(m_caption + u' ');
    m_layout = ComputeLabelLayout(in);
    if (m_layout.width != width() || m_layout.height != height())
        resize(m_layout.width, m_layout.height);
    m_layoutDirty = false;
    m_inLayout = false;
    return m_layout;
}

void TQelBaseLabel::drawCopy(QPainter& painter, const platform::TRect& clip, QPoint origin,
                             const QColor& color, const QFont& font) const
{
    painter.save();
    painter.setClipRect(clip.toQRect(), Qt::IntersectClip);
    painter.translate(origin);
    painter.rotate(-m_angle);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QPoint(0, QFontMetrics(font, platform::ScreenMetricsDevice()).ascent()), m_caption);
    painter.restore();
}

void TQelBaseLabel::paintEvent(QPaintEvent*)
{
    if (const TQelBasePanel* panel = Panel(); panel && panel->SuspendPaint())
        return;
    if (width() < 5 || height() < 5)
        m_layoutDirty = true;
    QPainter painter(this);
    drawLabel(painter);
}

void TQelBaseLabel::drawLabel(QPainter& painter)
{
    const LabelLayout& layout = Layout();
    if (!m_transparent)
        painter.fillRect(rect(), platform::ToQColor(m_backColor));
    const QFont font = DrawingFont();
    drawCopy(painter, layout.shadow, layout.shadowOrigin, platform::ToQColor(m_colorShadow), font);
    drawCopy(painter, layout.highlight, layout.highlightOrigin, platform::ToQColor(m_colorHighlight), font);
    drawCopy(painter, layout.text, layout.textOrigin, platform::ToQColor(m_font->Color()), font);
    if (m_borderStyle == bsSingle) {
        // A one-pixel frame on the outermost pixels, as four strips: exact on screen and on paper alike.
        const int w = width(), h = height();
        for (const QRect& side :
             {QRect(0, 0, w, 1), QRect(0, h - 1, w, 1), QRect(0, 0, 1, h), QRect(w - 1, 0, 1, h)})
            painter.fillRect(side, Qt::black);
    }
}

void TQelBaseLabel::PrintTo(QPainter& painter, double originX, double originY)
{
    // The label as the window draws it, in screen pixels placed and scaled onto the page: the same copies,
    // cut at the same edges, and its text stays text.
    m_layoutDirty = true;
    const double ppi = platform::PixelsPerInch();
    const double dpiX = painter.device()->logicalDpiX();
    const double dpiY = painter.device()->logicalDpiY();
    painter.save();
    painter.translate((originX + x() / ppi) * dpiX, (originY + y() / ppi) * dpiY);
    painter.scale(dpiX / ppi, dpiY / ppi);
    painter.setClipRect(rect(), Qt::IntersectClip);
    drawLabel(painter);
    painter.restore();
}

namespace {
std::function<bool(TQelBaseLabel*)> g_effectsDialog;
} // namespace

void TQelBaseLabel::SetEffectsDialog(std::function<bool(TQelBaseLabel*)> dialog)
{
    g_effectsDialog = std::move(dialog);
}

void TQelBaseLabel::AfterLoad()
{
    const bool built = Menu() != nullptr;
    TQelGraphicControl::AfterLoad();
    if (built)
        return;
    Menu()->addSeparator();
    AddMenuItem(tr("Font"), "mnuFont", [this] { FontCommand(); });
    AddMenuItem(tr("3D Effects"), "mnu3DEffects", [this] {
        if (g_effectsDialog && g_effectsDialog(this))
            NotifyChange();
    });
    QMenu* alignment = Menu()->addMenu(tr("Alignment"));
    const std::pair<const char*, TAlignment> choices[] = {
        {"Left", taLeftJustify}, {"Center", taCenter}, {"Right", taRightJustify}};
    int i = 0;
    for (const auto& [caption, value] : choices) {
        QAction* item = alignment->addAction(tr(caption), this, [this, value = value] {
            SetAlignment(value);
            NotifyChange();
        });
        item->setObjectName(QStringLiteral("mnuAlign") + QLatin1String(caption));
        item->setCheckable(true);
        m_alignItems[i++] = item;
    }
    m_transparentItem = AddMenuItem(tr("Transparent"), "mnuTransparent", [this] {
        SetTransparent(!Transparent());
        m_transparentItem->setChecked(Transparent());
    });
    m_transparentItem->setCheckable(true);
    AddMenuItem(tr("Background Color"), "mnuBackgroundColor", [this] {
        const auto chosen = platform::Prompts::Current().ChooseColor(this, m_backColor);
        if (!chosen)
            return;
        SetBackColor(*chosen);
        SetTransparent(false);
        m_transparentItem->setChecked(false);
        update();
    });
    m_borderItem = AddMenuItem(tr("Border"), "mnuBorder",
                               [this] { SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle); });
    m_borderItem->setCheckable(true);
}

void TQelBaseLabel::UpdateMenuChecks()
{
    TQelGraphicControl::UpdateMenuChecks();
    if (m_borderItem)
        m_borderItem->setChecked(m_borderStyle == bsSingle);
    if (m_transparentItem)
        m_transparentItem->setChecked(m_transparent);
    const TAlignment values[3] = {taLeftJustify, taCenter, taRightJustify};
    for (int i = 0; i < 3; ++i) {
        if (m_alignItems[i])
            m_alignItems[i]->setChecked(m_alignment == values[i]);
    }
}

void TQelBaseLabel::FontCommand()
{
    const std::optional<platform::FontChoice> chosen =
        platform::Prompts::Current().ChooseFont(this, platform::FontForDialog(*m_font), {});
    if (!chosen)
        return;
    platform::TakeDialogFont(*m_font, *chosen);
    MarkLayoutDirty();
}

TZubLabel::TZubLabel(QWidget* parent) : TQelBaseLabel(parent) {}

void TZubLabel::FontCommand()
{
    TQelBaseLabel::FontCommand();
    FitToText();
}

void TZubLabel::AfterLoad()
{
    const bool built = Menu() != nullptr;
    TQelBaseLabel::AfterLoad();
    if (built)
        return;
    Menu()->addSeparator();
    QAction* text = AddMenuItem(tr("Text"), "mnuText", [this] { EditText(); });
    text->setData(1000);
    Menu()->addSeparator();
    QMenu* rotation = Menu()->addMenu(tr("Rotation"));
    const std::pair<const char*, int> angles[] = {
        {"No Rotation", 0}, {"90 Degrees", 90}, {"180 Degrees", 180}, {"270 Degrees", 270}};
    for (const auto& [caption, angle] : angles) {
        QAction* item = rotation->addAction(tr(caption), this, [this, angle = angle] { SetAngle(angle); });
        item->setObjectName(QStringLiteral("mnuRotate%1").arg(angle));
    }
}

bool TZubLabel::EditText()
{
    TGetLabelText dialog(window() != this ? window() : nullptr);
    dialog.SetText(Caption());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    SetCaption(dialog.Text());
    FitToText();
    update();
    return true;
}

void TZubLabel::FitToText()
{
    if (Angle() != 0)
        return;
    const LabelLayout& layout = Layout();
    const QFontMetrics metrics(DrawingFont());
    const int w = std::max({layout.text.left, layout.shadow.left, layout.highlight.left}) +
                  metrics.horizontalAdvance(Caption() + QStringLiteral("     "));
    const int h = std::max({layout.text.top, layout.shadow.top, layout.highlight.top}) + metrics.ascent() +
                  metrics.descent();
    if (width() < w || height() < h)
        resize(std::max(width(), w), std::max(height(), h));
    MarkLayoutDirty();
}

namespace {

using L = TQelBaseLabel;

const persist::EnumNames& AlignmentNames()
{
    static const persist::EnumNames names{
        {QStringLiteral("taLeftJustify"), QStringLiteral("taRightJustify"), QStringLiteral("taCenter")}};
    return names;
}

const persist::EnumNames& HighlightNames()
{
    static const persist::EnumNames names{{QStringLiteral("hdNone"), QStringLiteral("hdright"),
                                           QStringLiteral("hdLeft"), QStringLiteral("hdUpRight"),
                                           QStringLiteral("hdUpLeft"), QStringLiteral("hdUp")}};
    return names;
}

const persist::EnumNames& ShadowNames()
{
    static const persist::EnumNames names{{QStringLiteral("sdNone"), QStringLiteral("sdRight"),
                                           QStringLiteral("sdLeft"), QStringLiteral("sdDownRight"),
                                           QStringLiteral("sdDownLeft"), QStringLiteral("sdDown")}};
    return names;
}

const persist::EnumNames& BorderNames()
{
    static const persist::EnumNames names{{QStringLiteral("bsNone"), QStringLiteral("bsSingle")}};
    return names;
}

persist::ClassInfo MakeLabelClass()
{
    persist::ClassInfo c;
    c.name = QStringLiteral("TQelBaseLabel");
    c.base = &GraphicControlClass();
    c.properties.append(EnumProperty(
        QStringLiteral("Alignment"), AlignmentNames(), taLeftJustify,
        [](const void* o) { return qint64(ObjectOf<L>(o)->Alignment()); },
        [](void* o, qint64 v) { ObjectOf<L>(o)->SetAlignment(TAlignment(v)); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("DepthHighlight"), 0, nullptr,
        [](const void* o) { return ObjectOf<L>(o)->DepthHighlight(); },
        [](void* o, qint64 v) { ObjectOf<L>(o)->SetDepthHighlight(int(v)); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("DepthShadow"), 0, nullptr,
        [](const void* o) { return ObjectOf<L>(o)->DepthShadow(); },
        [](void* o, qint64 v) { ObjectOf<L>(o)->SetDepthShadow(int(v)); }));
    c.properties.append(EnumProperty(
        QStringLiteral("DirectionHighlight"), HighlightNames(), hdUpLeft,
        [](const void* o) { return qint64(ObjectOf<L>(o)->DirectionHighlight()); },
        [](void* o, qint64 v) { ObjectOf<L>(o)->SetDirectionHighlight(THighlightDirection(v)); }));
    c.properties.append(EnumProperty(
        QStringLiteral("DirectionShadow"), ShadowNames(), sdDownRight,
        [](const void* o) { return qint64(ObjectOf<L>(o)->DirectionShadow()); },
        [](void* o, qint64 v) { ObjectOf<L>(o)->SetDirectionShadow(TShadowDirection(v)); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("colorHighlight"), 0xFFFF00, &persist::ColorNames(),
        [](const void* o) { return ObjectOf<L>(o)->ColorHighlight(); },
        [](void* o, qint64 v) { ObjectOf<L>(o)->SetColorHighlight(platform::TColor(v)); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("colorShadow"), 0x808080, &persist::ColorNames(),
        [](const void* o) { return ObjectOf<L>(o)->ColorShadow(); },
        [](void* o, qint64 v) { ObjectOf<L>(o)->SetColorShadow(platform::TColor(v)); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("Angle"), 0, nullptr, [](const void* o) { return ObjectOf<L>(o)->Angle(); },
        [](void* o, qint64 v) { ObjectOf<L>(o)->SetAngle(int(v)); }));
    persist::PropertyInfo caption;
    caption.name = QStringLiteral("Caption");
    caption.kind = persist::PropKind::String;
    caption.getString = [](const void* o) { return ObjectOf<L>(o)->Caption(); };
    caption.setString = [](void* o, const QString& v) { ObjectOf<L>(o)->SetCaption(v); };
    caption.writeEmpty = true; // a cleared caption must not read back as "Text"
    c.properties.append(caption);
    persist::PropertyInfo font;
    font.name = QStringLiteral("Font");
    font.kind = persist::PropKind::Object;
    font.getObject = [](void* o) { return persist::FontRef(ObjectOf<L>(o)->Font()); };
    c.properties.append(font);
    c.properties.append(BooleanProperty(
        QStringLiteral("Transparent"), std::nullopt,
        [](const void* o) { return ObjectOf<L>(o)->Transparent(); },
        [](void* o, bool v) { ObjectOf<L>(o)->SetTransparent(v); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("BackColor"), std::nullopt, &persist::ColorNames(),
        [](const void* o) { return ObjectOf<L>(o)->BackColor(); },
        [](void* o, qint64 v) { ObjectOf<L>(o)->SetBackColor(platform::TColor(v)); }));
    c.properties.append(EnumProperty(
        QStringLiteral("BorderStyle"), BorderNames(), std::nullopt,
        [](const void* o) { return qint64(ObjectOf<L>(o)->BorderStyle()); },
        [](void* o, qint64 v) { ObjectOf<L>(o)->SetBorderStyle(TBorderStyle(v)); }));
    return c;
}

const persist::ClassInfo& LabelClass()
{
    static const persist::ClassInfo c = MakeLabelClass();
    return c;
}

} // namespace

void RegisterLabelClasses()
{
    static persist::ClassInfo zub = [] {
        persist::ClassInfo c;
        c.name = QStringLiteral("TZubLabel");
        c.base = &LabelClass();
        return c;
    }();
    static const bool registered = [] {
        RegisterPlacedObjectClass(zub, &TZubLabel::staticMetaObject, [] { return new TZubLabel; });
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace design
