#pragma once

#include <QWidget>

namespace design {

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

protected:
    void SetPointing(bool pointing) { m_pointing = pointing; }
    /** Called after the zoom changed, before pending events are processed. */
    virtual void ZoomChanged() {}

private:
    float m_zoom = 1.0f;
    bool m_zooming = false;
    bool m_pointing = true;
    bool m_suspendPaint = false;
};

} // namespace design
