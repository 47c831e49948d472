#pragma once

#include "platform/Clock.h"
#include "platform/TColor.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace design {

class TQelBasePanel;
class TQelGraphicControl;

/**
 * The selection handle of a design panel: the ordered list of selected objects, a transparent window over
 * their bounding box that takes the mouse, and moving (any number of objects) and resizing (exactly one) by
 * mouse and arrow keys, with optional snapping. Objects move only when the button or key is released.
 */
class TQelHandle : public QWidget
{
    Q_OBJECT

public:
    /** Zones of a single selection: where a drag grabs it. */
    enum Zone
    {
        Move,
        TopLeft,
        TopRight,
        BottomLeft,
        BottomRight,
        Top,
        Left,
        Bottom,
        Right,
    };

    explicit TQelHandle(TQelBasePanel* panel);

    platform::TColor Color() const { return m_color; }
    void SetColor(platform::TColor color);
    platform::TColor SecondaryColor() const { return m_secondaryColor; }
    void SetSecondaryColor(platform::TColor color);
    bool Locked() const { return m_locked; }
    void SetLocked(bool locked) { m_locked = locked; }
    int GridX() const { return m_gridX; }
    int GridY() const { return m_gridY; }
    void SetGridX(int step);
    void SetGridY(int step);
    bool SnapToGrid() const { return m_snapX > 1 || m_snapY > 1; }
    void SetSnapToGrid(bool snap);

    int SelectedCount() const { return int(m_selection.size()); }
    TQelGraphicControl* Selected(int index) const;
    int IndexOfSelected(const TQelGraphicControl* object) const;
    QList<TQelGraphicControl*> Selection() const;
    void Select(TQelGraphicControl* object);
    void Unselect(TQelGraphicControl* object);
    void UnselectAll();
    void FitToSelection();
    void BringSelectionToFront();
    void SendSelectionToBack();
    bool PointInSelection(QPoint panelPoint) const;
    TQelGraphicControl* ObjectAtPoint(QPoint panelPoint) const;

    /** Moves every unlocked selected object by the change of the handle's bounds, then takes them. */
    void SetHandleBounds(const QRect& bounds);
    Zone CurrentZone() const { return m_zone; }
    /**
     * The rectangle a drag to the point (handle coordinates) would give the handle. Keeping proportions
     * (Shift held), a resize keeps the object's width to height: by a corner the side moved further leads, by
     * an edge that edge's side does.
     */
    QRect DragRectangle(QPoint point, bool keepProportions = false) const;
    int SnapX(int v) const { return m_snapX * (v / m_snapX); }
    int SnapY(int v) const { return m_snapY * (v / m_snapY); }
    /** The rectangle a keyboard nudge has reached (left, top, right, bottom counted inclusive), or null. */
    QRect NudgeRectangle() const { return m_nudging ? m_nudge : QRect(); }

Q_SIGNALS:
    void pressed(QMouseEvent* event);
    void doubleClicked(QMouseEvent* event);
    void keyPressed(QKeyEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    qint64 sincePress() const { return m_pressTime > 0 ? platform::TickCount() - m_pressTime : -1; }
    void stampPress() { m_pressTime = std::max<qint64>(1, platform::TickCount()); }
    QPoint clamped(QPoint point) const;
    void showOutline(const QRect& outline);
    void hideOutline();
    void updateZone(QPoint point);
    void forward(QMouseEvent* event, bool press);
    /** Changes the resized handle rectangle so that the one selected object keeps its proportions. */
    void keepProportions(int& left, int& top, int& w, int& h) const;

    TQelBasePanel* m_panel;
    QList<QPointer<TQelGraphicControl>> m_selection;
    platform::TColor m_color = platform::clBlack;
    platform::TColor m_secondaryColor = 0x808080;
    bool m_locked = false;
    int m_gridX = 8, m_gridY = 8;
    int m_snapX = 1, m_snapY = 1;
    qint64 m_pressTime = 0;
    QPoint m_start;
    bool m_moving = false;
    bool m_doubleClicked = false;
    bool m_inSetBounds = false;
    Zone m_zone = Move;
    bool m_nudging = false;
    QRect m_nudge;
};

/** The 5 x 5 selection squares of an object: four corners, and the edge middles for a single selection. */
QList<QRect> SelectionSquares(const QRect& bounds, bool single);

} // namespace design
