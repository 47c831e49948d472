#pragma once

#include "platform/TRect.h"

#include <QList>
#include <QWidget>

#include <functional>

namespace design {

class TQelGraphicControl;

/**
 * The design surface that placed objects live on. It holds the zoom factor that scales the panel's pixel
 * geometry, the pointing flag of the tool state, and the flag that suspends painting while a document is read
 * or written.
 */
class TQelBasePanel : public QWidget
{
    Q_OBJECT

public:
    explicit TQelBasePanel(QWidget* parent = nullptr);

    float Zoom() const { return m_zoom; }
    /**
     * Scales the panel by x / Zoom: width and height are rounded to nearest, ties to even. A zoom whose
     * tenfold is 0 is taken as 1, so a panel never divides by zero.
     */
    void SetZoom(float x);
    bool Zooming() const { return m_zooming; }

    bool Pointing() const { return m_pointing; }

    bool SuspendPaint() const { return m_suspendPaint; }
    void SetSuspendPaint(bool suspend) { m_suspendPaint = suspend; }

    /** True while the page is printed: placed objects then report no changes. */
    bool Printing() const { return m_printing; }
    void SetPrinting(bool printing) { m_printing = printing; }

    using TNotifyEvent = std::function<void(QObject* sender)>;
    void SetLabelChangedEvent(TNotifyEvent handler) { m_labelChanged = std::move(handler); }
    /** Raises LabelChangedEvent unless a zoom change is in progress. */
    void NotifyLabelChanged();

    /** The placed objects on the panel, in child order (bottom of the stacking order first). */
    QList<TQelGraphicControl*> PlacedObjects() const;
    /**
     * Makes a new object a child of the panel at the rectangle, at least 10 wide and 15 high, named "Special"
     * with the lowest free number, at the panel's zoom; then reports the change.
     */
    void AddObject(TQelGraphicControl* object, const platform::TRect& rect);
    /** Gives every placed object the panel's zoom (after paste, clone or reading a file). */
    void HookObjectEvents();
    /** Destroys every placed object, the last child first. */
    void ClearObjects();
    /** True when some placed object's bounds contain the panel point. */
    bool AnyObjectAt(int x, int y) const;

    /** "Special" or "Component" followed by the lowest number in [first, 1000] no component of owner bears.
     */
    static QString FreeName(const QObject* owner, const QString& stem, int first);

protected:
    void SetPointing(bool pointing) { m_pointing = pointing; }
    /** Called after the zoom changed, before pending events are processed. */
    virtual void ZoomChanged() {}

private:
    float m_zoom = 1.0f;
    bool m_zooming = false;
    bool m_printing = false;
    TNotifyEvent m_labelChanged;
    bool m_pointing = true;
    bool m_suspendPaint = false;
};

} // namespace design
