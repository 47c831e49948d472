#include "app/WheelZoom.h"

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>

namespace app {

namespace {
constexpr int kNotch = 120; // a standard wheel notch, in eighths of a degree
}

WheelZoom::WheelZoom(QWidget* area, std::function<void(int)> zoom)
    : QObject(area), m_area(area), m_zoom(std::move(zoom))
{
    // Widgets in the area take wheel events themselves (a text box scrolls, or zooms its font with Ctrl), so
    // the events are looked at before any widget gets them.
    qApp->installEventFilter(this);
}

WheelZoom::~WheelZoom()
{
    qApp->removeEventFilter(this);
}

bool WheelZoom::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier) || (widget != m_area && !m_area->isAncestorOf(widget)))
        return false;
    const int angle = wheel->angleDelta().y();
    // A turn the other way starts afresh; a sideways push (no vertical angle) is no turn either way.
    if (angle != 0 && (angle > 0) != (m_pending > 0))
        m_pending = 0;
    m_pending += angle;
    while (m_pending >= kNotch || m_pending <= -kNotch) {
        const int step = m_pending > 0 ? 1 : -1;
        m_pending -= step * kNotch;
        m_zoom(step);
    }
    wheel->accept();
    return true;
}

} // namespace app
