#include "design/TQelGraphicControl.h"

#include "design/PlacedObjectClasses.h"
#include "design/TQelBasePanel.h"
#include "design/TQelHandle.h"
#include "persist/stream/ClassRegistry.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"
#include "platform/Prompts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>

#include <cmath>

namespace design {

TQelGraphicControl::TQelGraphicControl(QWidget* parent) : QWidget(parent) {}

TQelGraphicControl::~TQelGraphicControl()
{
    if (m_menu)
        m_menu->deleteLater();
}

void TQelGraphicControl::adoptMenu()
{
    if (!m_menu)
        return;
    const TQelBasePanel* panel = Panel();
    QWidget* owner = panel ? qobject_cast<QWidget*>(panel->Owner()) : nullptr;
    if (m_menu->parentWidget() != owner)
        m_menu->setParent(owner, m_menu->windowFlags());
}

bool TQelGraphicControl::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange)
        adoptMenu();
    return QWidget::event(event);
}

TQelBasePanel* TQelGraphicControl::Panel() const
{
    return qobject_cast<TQelBasePanel*>(parentWidget());
}

void TQelGraphicControl::SetLocked(bool locked)
{
    if (locked == m_locked)
        return;
    m_locked = locked;
    if (m_loading)
        return;
    if (m_lockedItem)
        m_lockedItem->setChecked(locked);
    NotifyChange();
}

void TQelGraphicControl::SetUnselectable(bool unselectable)
{
    if (unselectable == m_unselectable)
        return;
    m_unselectable = unselectable;
    if (m_loading)
        return;
    NotifyChange();
    if (unselectable) {
        if (TQelBasePanel* panel = Panel())
            panel->Handle()->Unselect(this);
    }
}

QAction* TQelGraphicControl::AddMenuItem(const QString& caption, const char* name,
                                         std::function<void()> action)
{
    QAction* item = m_menu->addAction(caption, this, std::move(action));
    item->setObjectName(QLatin1String(name));
    return item;
}

void TQelGraphicControl::AfterLoad()
{
    m_loading = false;
    if (m_menu)
        return;
    m_menu = new QMenu;
    adoptMenu();
    AddMenuItem(tr("Bring To Front"), "mnuBringToFront", [this] {
        NotifyChange();
        raise();
        if (TQelBasePanel* panel = Panel())
            panel->Handle()->raise();
    });
    AddMenuItem(tr("Send To Back"), "mnuSendToBack", [this] {
        NotifyChange();
        lower();
        if (TQelBasePanel* panel = Panel())
            panel->Handle()->UnselectAll();
    });
    AddMenuItem(tr("Cut"), "mnuCut", [this] {
        NotifyChange();
        if (TQelBasePanel* panel = Panel())
            panel->ObjectClipboardAction(this, TQelBasePanel::Cut);
    });
    AddMenuItem(tr("Copy"), "mnuCopy", [this] {
        if (TQelBasePanel* panel = Panel())
            panel->ObjectClipboardAction(this, TQelBasePanel::Copy);
    });
    AddMenuItem(tr("Delete"), "mnuDelete", [this] {
        NotifyChange();
        if (TQelBasePanel* panel = Panel())
            panel->ObjectClipboardAction(this, TQelBasePanel::Delete);
    });
    AddMenuItem(tr("Clone"), "mnuClone", [this] { Clone(); });
    m_menu->addSeparator();
    m_lockedItem = AddMenuItem(tr("Locked"), "mnuLocked", [this] { SetLocked(!m_locked); });
    m_lockedItem->setCheckable(true);
    m_lockedItem->setChecked(m_locked);
    AddMenuItem(tr("Unselectable"), "mnuUnselectable", [this] { SetUnselectable(true); });
    m_menu->addSeparator();
    AddMenuItem(tr("Center Vertically"), "mnuCenterVertically", [this] { CenterVertically(); });
    AddMenuItem(tr("Center Horizontally"), "mnuCenterHorizontally", [this] { CenterHorizontally(); });
    connect(m_menu, &QMenu::aboutToShow, this, [this] { UpdateMenuChecks(); });
}

void TQelGraphicControl::UpdateMenuChecks()
{
    if (m_lockedItem)
        m_lockedItem->setChecked(m_locked);
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
    QWidget* parent = parentWidget();
    QObject* owner = parent->parent() ? parent->parent() : parent;
    const QObjectList before = parent->children();
    try {
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
        persist::TReader reader(&buffer);
        reader.SetNameHook([owner](const persist::ObjRef&, QString& name) {
            name = TQelBasePanel::FreeName(owner, QStringLiteral("Component"), 0);
        });
        reader.SetMethodHook([](const QString&, bool& error) { error = false; });
        reader.ExpectBeginList();
        reader.TakeRecordList(owner, persist::ObjRef{static_cast<QObject*>(parent), &PanelClass()}, nullptr);
        reader.ExpectEndList();
    } catch (const persist::StreamError& e) {
        // The page stays as it was: a copy read before the fault goes again.
        const QObjectList after = parent->children();
        for (QObject* child : after) {
            if (!before.contains(child) && qobject_cast<TQelGraphicControl*>(child))
                delete child;
        }
        platform::Prompts::Current().Information(this,
                                                 tr("Unable to clone %1\n%2").arg(objectName(), e.message()));
        return nullptr;
    }
    QCoreApplication::processEvents();
    TQelGraphicControl* copy = SameClassLast();
    if (!copy || copy == this)
        return nullptr;
    copy->move(copy->x(), y() + 25);
    copy->raise();
    if (TQelBasePanel* panel = Panel()) {
        panel->ObjectCloned();
        if (panel->Handle()->IndexOfSelected(this) >= 0) {
            panel->Handle()->Unselect(this);
            panel->Handle()->Select(copy);
        }
        panel->HookObjectEvents();
    }
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
        // The handle follows objects that moved or resized themselves, once the change is complete.
        if (TQelBasePanel* panel = Panel()) {
            QPointer<TQelBasePanel> guard(panel);
            QMetaObject::invokeMethod(
                panel,
                [guard] {
                    if (guard)
                        guard->Handle()->FitToSelection();
                },
                Qt::QueuedConnection);
        }
    }
    m_inBoundsChange = false;
}

void TQelGraphicControl::mousePressEvent(QMouseEvent* event)
{
    if (TQelBasePanel* panel = Panel())
        panel->ObjectMouseDown(this, event->button(), event->modifiers(), event->position().toPoint() + pos(),
                               event->globalPosition().toPoint());
}

void TQelGraphicControl::mouseMoveEvent(QMouseEvent* event)
{
    if (TQelBasePanel* panel = Panel()) {
        if (panel->Pointing())
            setCursor(Qt::PointingHandCursor);
        panel->PanelMove(event->position().toPoint() + pos());
    }
}

void TQelGraphicControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (TQelBasePanel* panel = Panel())
        panel->PanelRelease(event->position().toPoint() + pos(), event->button(), event->modifiers());
}

void TQelGraphicControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (TQelBasePanel* panel = Panel())
        panel->ObjectDoubleClick(this, event->globalPosition().toPoint());
}

void TQelGraphicControl::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (TQelBasePanel* panel = Panel()) {
        if (panel->Pointing())
            unsetCursor();
        else
            setCursor(Qt::DragMoveCursor);
    }
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
