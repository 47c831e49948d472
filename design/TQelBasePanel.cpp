#include "design/TQelBasePanel.h"

#include "design/TQelGraphicControl.h"

#include <QCoreApplication>

#include <cmath>

namespace design {

TQelBasePanel::TQelBasePanel(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

void TQelBasePanel::SetZoom(float x)
{
    if (x == m_zoom)
        return;
    m_zooming = true;
    if (m_zoom * 10 == 0)
        m_zoom = 1.0f;
    const float f = x / m_zoom;
    const int w = static_cast<int>(std::nearbyint(double(width()) * double(f)));
    const int h = static_cast<int>(std::nearbyint(double(height()) * double(f)));
    resize(w, h);
    m_zoom = x;
    for (TQelGraphicControl* object : PlacedObjects())
        object->SetZoom(x);
    ZoomChanged();
    update();
    QCoreApplication::processEvents();
    m_zooming = false;
}

void TQelBasePanel::NotifyLabelChanged()
{
    if (!m_zooming && m_labelChanged)
        m_labelChanged(this);
}

QList<TQelGraphicControl*> TQelBasePanel::PlacedObjects() const
{
    QList<TQelGraphicControl*> objects;
    for (QObject* child : children()) {
        if (auto* object = qobject_cast<TQelGraphicControl*>(child))
            objects.append(object);
    }
    return objects;
}

QString TQelBasePanel::FreeName(const QObject* owner, const QString& stem, int first)
{
    for (int n = first; n <= 1000; ++n) {
        const QString name = stem + QString::number(n);
        if (!owner || !owner->findChild<QObject*>(name, Qt::FindChildrenRecursively))
            return name;
    }
    return QString();
}

void TQelBasePanel::AddObject(TQelGraphicControl* object, const platform::TRect& rect)
{
    object->hide();
    object->setParent(this);
    const QObject* owner = parent() ? parent() : this;
    object->setObjectName(FreeName(owner, QStringLiteral("Special"), 1));
    object->setGeometry(rect.left, rect.top, std::max(10, rect.width()), std::max(15, rect.height()));
    object->SetZoomFactor(m_zoom);
    object->show();
    NotifyLabelChanged();
    QCoreApplication::processEvents();
}

void TQelBasePanel::HookObjectEvents()
{
    const QList<TQelGraphicControl*> objects = PlacedObjects();
    for (auto it = objects.crbegin(); it != objects.crend(); ++it)
        (*it)->SetZoomFactor(m_zoom);
}

void TQelBasePanel::ClearObjects()
{
    const QList<TQelGraphicControl*> objects = PlacedObjects();
    for (auto it = objects.crbegin(); it != objects.crend(); ++it)
        delete *it;
}

bool TQelBasePanel::AnyObjectAt(int x, int y) const
{
    for (const TQelGraphicControl* object : PlacedObjects()) {
        if (object->geometry().contains(x, y))
            return true;
    }
    return false;
}

} // namespace design
