#include "design/TZubRichBaseLabel.h"

#include "design/PlacedObjectClasses.h"
#include "design/TQelBasePanel.h"
#include "design/TRichTextLabelEditor.h"
#include "persist/stream/StandardClasses.h"
#include "persist/stream/StreamError.h"
#include "platform/Prompts.h"
#include "platform/Screen.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichRenderer.h"
#include "richtext/TVelRichToolBar.h"

#include <QApplication>
#include <QMenu>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace design {

TZubRichBaseLabel::TZubRichBaseLabel(QWidget* parent) : TQelGraphicControl(parent)
{
    resize(190, 33);
}

void TZubRichBaseLabel::SetRTFText(const richtext::TVelRtfStorage& text)
{
    m_storage.Assign(text);
    update();
    NotifyChange();
}

void TZubRichBaseLabel::SetBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    update();
    NotifyChange();
}

void TZubRichBaseLabel::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    update();
}

void TZubRichBaseLabel::SetBGColor(platform::TColor color)
{
    if (color == m_bgColor)
        return;
    m_bgColor = color;
    update();
    NotifyChange();
}

richtext::TVelRichRenderer* TZubRichBaseLabel::FindRenderer(QObject* start)
{
    QObject* form = start;
    while (form && !(form->isWidgetType() && static_cast<QWidget*>(form)->isWindow()) && form->parent())
        form = form->parent();
    if (!form)
        return nullptr;
    const auto isMaster = [](const QObject* o) {
        return o->objectName().toUpper() == QLatin1String("MASTERVELRICHTEXT");
    };
    if (auto* self = qobject_cast<richtext::TVelRichRenderer*>(form); self && isMaster(self))
        return self;
    const QList<richtext::TVelRichRenderer*> renderers = form->findChildren<richtext::TVelRichRenderer*>();
    for (richtext::TVelRichRenderer* renderer : renderers) {
        if (isMaster(renderer))
            return renderer;
    }
    return nullptr;
}

void TZubRichBaseLabel::AfterLoad()
{
    const bool built = Menu() != nullptr;
    TQelGraphicControl::AfterLoad();
    if (!built) {
        Menu()->addSeparator();
        m_transparentItem = AddMenuItem(tr("Transparent"), "mnuTransparent", [this] {
            SetTransparent(!m_transparent);
            // The setter alone reports nothing (a file sets it too); a user's toggle is a change to save.
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
            SetTransparent(false);
            update();
        });
        m_borderItem = AddMenuItem(tr("Border"), "mnuBorder",
                                   [this] { SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle); });
        m_borderItem->setCheckable(true);
        AddMenuItem(tr("Edit"), "mnuEdit", [this] { EditRichText(); });
        SetDoubleClickRequest([this](QObject*) { EditRichText(); });
        UpdateMenuChecks();
    }
    m_renderer = FindRenderer(parent());
    if (!m_renderer)
        throw persist::StreamError(kNoMasterRichText);
    update();
}

void TZubRichBaseLabel::UpdateMenuChecks()
{
    TQelGraphicControl::UpdateMenuChecks();
    if (m_transparentItem)
        m_transparentItem->setChecked(m_transparent);
    if (m_borderItem)
        m_borderItem->setChecked(m_borderStyle == bsSingle);
}

void TZubRichBaseLabel::DrawOn(QPainter& painter)
{
    if (!m_renderer)
        return;
    painter.save();
    // The renderer fills under the text in the label's colour, and nothing for a transparent label.
    m_renderer->SetBackgroundColor(m_transparent ? QColor() : platform::ToQColor(m_bgColor));
    m_renderer->LoadFromStorage(m_storage);
    m_renderer->SetZoomPercent(static_cast<int>(std::trunc(double(ZoomFactor()) * 100)));
    m_renderer->Paint(painter, QRect(0, 0, width(), height()));
    if (m_borderStyle == bsSingle) {
        // A one-pixel frame on the outermost pixels, as four strips: exact on screen and on paper alike.
        const int w = width(), h = height();
        for (const QRect& side :
             {QRect(0, 0, w, 1), QRect(0, h - 1, w, 1), QRect(0, 0, 1, h), QRect(w - 1, 0, 1, h)})
            painter.fillRect(side, Qt::black);
    }
    painter.restore();
}

void TZubRichBaseLabel::paintEvent(QPaintEvent*)
{
    if (const TQelBasePanel* panel = Panel(); panel && panel->SuspendPaint())
        return;
    QPainter painter(this);
    const int zoomPercent = static_cast<int>(std::trunc(double(ZoomFactor()) * 100));
    m_screen.Paint(painter, size(),
                   ScreenKey(m_storage.RtfText(), m_transparent, m_bgColor, zoomPercent, m_borderStyle,
                             !m_renderer.isNull()),
                   [this](QPainter& p) { DrawOn(p); });
}

void TZubRichBaseLabel::PrintTo(QPainter& painter, double originX, double originY)
{
    // The label's drawing in screen pixels, placed and scaled onto the page: vectors and text stay vectors.
    const double ppi = platform::PixelsPerInch();
    const double dpiX = painter.device()->logicalDpiX();
    const double dpiY = painter.device()->logicalDpiY();
    painter.save();
    painter.translate((originX + x() / ppi) * dpiX, (originY + y() / ppi) * dpiY);
    painter.scale(dpiX / ppi, dpiY / ppi);
    painter.setClipRect(rect(), Qt::IntersectClip);
    DrawOn(painter);
    painter.restore();
}

bool TZubRichBaseLabel::EditRichText()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TRichTextLabelEditor form(window() != this ? window() : nullptr);
    form.Editor()->LoadFromStorage(m_storage);
    // The label's size at zoom 1, so the text wraps in the editor exactly as it does on the page.
    const float zoom = ZoomFactor() > 0 ? ZoomFactor() : 1.0f;
    const int w = static_cast<int>(std::nearbyint(width() / double(zoom)));
    const int h = static_cast<int>(std::nearbyint(height() / double(zoom)));
    if (!m_transparent)
        form.SetPanelColor(platform::ToQColor(m_bgColor));
    form.SetTextArea(w, h);
    QApplication::restoreOverrideCursor();
    if (form.exec() != QDialog::Accepted)
        return false;
    form.Editor()->SaveToStorage(m_storage);
    update();
    NotifyChange();
    return true;
}

namespace {

using R = TZubRichBaseLabel;

const persist::EnumNames& BorderStyleNames()
{
    static const persist::EnumNames names{{QStringLiteral("bsNone"), QStringLiteral("bsSingle")}};
    return names;
}

persist::ClassInfo MakeRichLabelClass()
{
    persist::ClassInfo c;
    c.name = QStringLiteral("TZubRichBaseLabel");
    c.base = &GraphicControlClass();
    persist::PropertyInfo text;
    text.name = QStringLiteral("RTFText");
    text.kind = persist::PropKind::Object;
    text.getObject = [](void* o) { return persist::RtfTextRef(&ObjectOf<R>(o)->RTFText()); };
    c.properties.append(text);
    c.properties.append(EnumProperty(
        QStringLiteral("BorderStyle"), BorderStyleNames(), std::nullopt,
        [](const void* o) { return qint64(ObjectOf<R>(o)->BorderStyle()); },
        [](void* o, qint64 v) { ObjectOf<R>(o)->SetBorderStyle(TBorderStyle(v)); }));
    c.properties.append(BooleanProperty(
        QStringLiteral("Transparent"), std::nullopt,
        [](const void* o) { return ObjectOf<R>(o)->Transparent(); },
        [](void* o, bool v) { ObjectOf<R>(o)->SetTransparent(v); }));
    c.properties.append(IntegerProperty(
        QStringLiteral("BGColor"), std::nullopt, &persist::ColorNames(),
        [](const void* o) { return ObjectOf<R>(o)->BGColor(); },
        [](void* o, qint64 v) { ObjectOf<R>(o)->SetBGColor(platform::TColor(v)); }));
    return c;
}

} // namespace

void RegisterRichLabelClass()
{
    static persist::ClassInfo cls = MakeRichLabelClass();
    static const bool registered = [] {
        RegisterPlacedObjectClass(cls, &TZubRichBaseLabel::staticMetaObject,
                                  [] { return new TZubRichBaseLabel; });
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace design
