#include "design/TQelGraphicControl.h"

#include "design/PlacedObjectClasses.h"
#include "design/TQelBasePanel.h"
#include "persist/stream/ClassRegistry.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"

#include <QBuffer>
#include <QCoreApplication>

#include <cmath>

namespace design {

TQelGraphicControl::TQelGraphicControl(QWidget* parent) : QWidget(parent) {}

TQelBasePanel* TQelGraphicControl::Panel() const
{
    return qobject_cast<TQelBasePanel*>(parentWidget());
}

void TQelGraphicControl::SetLocked(bool locked)
{
    if (locked == m_locked)
        return;
    m_locked = locked;
    if (!m_loading)
        NotifyChange();
}

void TQelGraphicControl::SetUnselectable(bool unselectable)
{
    if (unselectable == m_unselectable)
        return;
    m_unselectable = unselectable;
    if (!m_loading)
        NotifyChange();
}

void TQelGraphicControl::SetZoom(float x)
{
    if (x == m_zoom)
        return;
    const float f = x / m_zoom;
    auto scaled = [f](int v) { return static_cast<int>(std::nearbyint(double(v) * double(f))); };
    setGeometry(scaled(this->x()), scaled(y()), scaled(width()), scaled(height()));
    m_zoom = x;
    BoundsChanged();
}

void TQelGraphicControl::NotifyChange()
{
    if (TQelBasePanel* panel = Panel(); panel && !panel->Printing())
        panel->NotifyLabelChanged();
}

void TQelGraphicControl::CenterVertically()
{
    if (TQelBasePanel* panel = Panel()) {
        move(x(), panel->height() / 2 - height() / 2);
        NotifyChange();
        QCoreApplication::processEvents();
        panel->update();
    }
}

void TQelGraphicControl::CenterHorizontally()
{
    if (TQelBasePanel* panel = Panel()) {
        move(panel->width() / 2 - width() / 2, y());
        NotifyChange();
        QCoreApplication::processEvents();
        panel->update();
    }
}

TQelGraphicControl* TQelGraphicControl::SameClassLast() const
{
    if (!parentWidget())
        return nullptr;
    const QObjectList& siblings = parentWidget()->children();
    for (auto it = siblings.crbegin(); it != siblings.crend(); ++it) {
        if ((*it)->metaObject() == metaObject())
            return static_cast<TQelGraphicControl*>(*it);
    }
    return nullptr;
}

TQelGraphicControl* TQelGraphicControl::Clone()
{
    const persist::ObjRef self = persist::ClassRegistry::Instance().RefOf(this);
    if (!self || !parentWidget())
        return nullptr;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    {
        persist::TWriter writer(&buffer);
        writer.BeginList();
        writer.PutRootRecord(self);
        writer.EndList();
        writer.Flush();
    }
    buffer.seek(0);
    QObject* owner = parentWidget()->parent() ? parentWidget()->parent() : parentWidget();
    persist::TReader reader(&buffer);
    reader.SetNameHook([owner](const persist::ObjRef&, QString& name) {
        name = TQelBasePanel::FreeName(owner, QStringLiteral("Component"), 0);
    });
    reader.SetMethodHook([](const QString&, bool& error) { error = false; });
    reader.ExpectBeginList();
    reader.TakeRecordList(owner, persist::ObjRef{static_cast<QObject*>(parentWidget()), &PanelClass()},
                          nullptr);
    reader.ExpectEndList();
    QCoreApplication::processEvents();
    TQelGraphicControl* copy = SameClassLast();
    if (!copy || copy == this)
        return nullptr;
    copy->move(copy->x(), y() + 25);
    copy->raise();
    if (TQelBasePanel* panel = Panel())
        panel->HookObjectEvents();
    NotifyChange();
    return copy;
}

void TQelGraphicControl::PrintTo(QPainter&, double, double) {}

void TQelGraphicControl::BoundsChanged()
{
    if (m_inBoundsChange)
        return;
    m_inBoundsChange = true;
    const platform::TRect current{x(), y(), x() + width(), y() + height()};
    if (m_lastBounds.isZero())
        m_lastBounds = current;
    if (!(current == m_lastBounds)) {
        NotifyChange();
        m_lastBounds = current;
    }
    m_inBoundsChange = false;
}

void TQelGraphicControl::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (!m_loading)
        BoundsChanged();
}

void TQelGraphicControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_loading)
        BoundsChanged();
}

} // namespace design
