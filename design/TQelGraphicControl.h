#pragma once

#include "platform/TRect.h"

#include <QMenu>
#include <QPointer>

#include <QWidget>
#include <functional>

class QPainter;

namespace platform {
class TFont;
}

namespace design {

class TQelBasePanel;

/**
 * The base of every object placed on the design panel: position and size in panel pixels at its zoom factor,
 * the design flags Locked and Unselectable, change reports to the panel, cloning and centring, and the
 * operations each kind of object fills in (painting, fonts, printing).
 */
class TQelGraphicControl : public QWidget
{
    Q_OBJECT

public:
    explicit TQelGraphicControl(QWidget* parent = nullptr);
    /** The menu goes once the event that is being handled has finished: a menu command may delete its object.
     */
    ~TQelGraphicControl() override;

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    int CursorNumber() const { return m_cursor; }
    void SetCursorNumber(int cursor) { m_cursor = cursor; }
    QString Hint() const { return m_hint; }
    void SetHint(const QString& hint) { m_hint = hint; }
    bool Locked() const { return m_locked; }
    void SetLocked(bool locked);
    bool Unselectable() const { return m_unselectable; }
    void SetUnselectable(bool unselectable);

    float ZoomFactor() const { return m_zoom; }
    /** The factor only, as the panel gives it to an object it adds or hooks. */
    void SetZoomFactor(float zoom) { m_zoom = zoom; }
    /** Scales position and size by x / zoom factor, rounded to nearest with ties to even. */
    void SetZoom(float x);

    /** Reports a user-visible change to the panel, unless it is printing. */
    void NotifyChange();
    void CenterVertically();
    void CenterHorizontally();
    /**
     * A copy through the object stream, named "Component" with the lowest free number, 25 pixels lower. A
     * stream failure is reported in an information box and leaves the page as it was (nullptr).
     */
    TQelGraphicControl* Clone();
    /** The last child of the parent of exactly this object's class. */
    TQelGraphicControl* SameClassLast() const;

    /** Set while the object is read from a stream: no change reports, no bound reactions. */
    void SetLoading(bool loading) { m_loading = loading; }
    bool Loading() const { return m_loading; }
    /** Called once the object was read or created: builds its menu. Subclasses append their items. */
    virtual void AfterLoad();
    /**
     * The object's own menu (z-order, clipboard, clone, lock, selectability, centring). It belongs to the
     * panel's owner, so that Cut or Delete chosen from it can destroy the object while the menu still runs.
     */
    QMenu* Menu() const { return m_menu; }
    /** Sets the check states of the menu's items, before it opens. */
    virtual void UpdateMenuChecks();
    virtual void SetObjectFont(const platform::TFont&) {}
    /** The font the object draws its text in; nullptr for objects without text. */
    virtual const platform::TFont* ObjectFont() const { return nullptr; }
    /**
     * Draws the object on a printer-like painter at its physical size: a panel pixel v prints at origin + v /
     * PixelsPerInch inches, placed through the device's resolution.
     */
    virtual void PrintTo(QPainter& painter, double originX, double originY);

    TQelBasePanel* Panel() const;

    /** When set, a double click on the singly selected object calls it instead of opening the menu. */
    void SetDoubleClickRequest(std::function<void(QObject* sender)> handler)
    {
        m_doubleClickRequest = std::move(handler);
    }
    const std::function<void(QObject*)>& DoubleClickRequest() const { return m_doubleClickRequest; }

protected:
    virtual void BoundsChanged();
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    QAction* AddMenuItem(const QString& caption, const char* name, std::function<void()> action);

private:
    void adoptMenu();

    int m_tag = 0;
    int m_cursor = 0;
    QString m_hint;
    bool m_locked = false;
    bool m_unselectable = false;
    float m_zoom = 1.0f;
    bool m_loading = false;
    bool m_inBoundsChange = false;
    platform::TRect m_lastBounds;
    QPointer<QMenu> m_menu;
    QAction* m_lockedItem = nullptr;
    std::function<void(QObject*)> m_doubleClickRequest;
};

} // namespace design
