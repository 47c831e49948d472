#include "design/TQelHandle.h"

#include "design/TQelBasePanel.h"
#include "design/TQelGraphicControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <cstdlib>

namespace design {

namespace {

// A press followed by a release sooner than this moves nothing; a button held longer than the other
// starts a move.
constexpr qint64 kQuickClickMs = 150;
constexpr qint64 kPressThenMoveMs = 10;

} // namespace

QList<QRect> SelectionSquares(const QRect& b, bool single)
{
    const int left = b.x() - 2, top = b.y() - 2, right = b.x() + b.width() + 2,
              bottom = b.y() + b.height() + 2;
    QList<QRect> squares = {QRect(left, top, 5, 5), QRect(right - 5, top, 5, 5),
                            QRect(right - 5, bottom - 5, 5, 5), QRect(left, bottom - 5, 5, 5)};
    if (single) {
        const int hx = static_cast<int>(std::trunc((right - left) * 0.5));
        const int hy = static_cast<int>(std::trunc((bottom - top) * 0.5));
        squares.append(QRect(left + hx - 2, top, 5, 5));
        squares.append(QRect(left + hx - 2, bottom - 5, 5, 5));
        squares.append(QRect(left, top + hy - 2, 5, 5));
        squares.append(QRect(right - 5, top + hy - 2, 5, 5));
    }
    return squares;
}

TQelHandle::TQelHandle(TQelBasePanel* panel) : QWidget(panel), m_panel(panel)
{
    setObjectName(QStringLiteral("Handle"));
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    resize(24, 24);
    setEnabled(false);
    hide();
}

void TQelHandle::SetColor(platform::TColor color)
{
    m_color = color;
    update();
}

void TQelHandle::SetSecondaryColor(platform::TColor color)
{
    m_secondaryColor = color;
    update();
}

void TQelHandle::SetGridX(int step)
{
    m_gridX = m_snapX = std::clamp(step, 1, 32);
    update();
}

void TQelHandle::SetGridY(int step)
{
    m_gridY = m_snapY = std::clamp(step, 1, 32);
    update();
}

void TQelHandle::SetSnapToGrid(bool snap)
{
    m_snapX = snap ? m_gridX : 1;
    m_snapY = snap ? m_gridY : 1;
}

TQelGraphicControl* TQelHandle::Selected(int index) const
{
    return index >= 0 && index < m_selection.size() ? m_selection[index].data() : nullptr;
}

int TQelHandle::IndexOfSelected(const TQelGraphicControl* object) const
{
    for (qsizetype i = 0; i < m_selection.size(); ++i) {
        if (m_selection[i] == object)
            return int(i);
    }
    return -1;
}

QList<TQelGraphicControl*> TQelHandle::Selection() const
{
    QList<TQelGraphicControl*> list;
    for (const auto& object : m_selection) {
        if (object)
            list.append(object);
    }
    return list;
}

void TQelHandle::Select(TQelGraphicControl* object)
{
    if (object && object->Unselectable())
        return;
    stampPress();
    if (!object || IndexOfSelected(object) >= 0)
        return;
    setCursor(Qt::OpenHandCursor);
    const QRect o = object->geometry();
    if (!m_selection.isEmpty()) {
        const int left = std::min(x(), o.x() - 2);
        const int top = std::min(y(), o.y() - 2);
        const int right = std::max(x() + width() - 3, o.x() + o.width());
        const int bottom = std::max(y() + height() - 3, o.y() + o.height());
        setGeometry(left, top, right - left + 3, bottom - top + 3);
    } else {
        hideOutline();
        setEnabled(true);
        show();
        setGeometry(o.x() - 2, o.y() - 2, o.width() + 5, o.height() + 5);
    }
    m_selection.append(object);
    m_zone = Move;
    raise();
    if (isVisible())
        grabMouse();
    setFocus();
    update();
    object->update();
}

void TQelHandle::Unselect(TQelGraphicControl* object)
{
    const int index = IndexOfSelected(object);
    if (index < 0)
        return;
    m_selection.removeAt(index);
    const QList<TQelGraphicControl*> rest = Selection();
    if (!rest.isEmpty()) {
        QRect box = rest.first()->geometry();
        for (const TQelGraphicControl* o : rest)
            box = box.united(o->geometry());
        setGeometry(box.x() - 2, box.y() - 2, box.width() + 5, box.height() + 5);
    } else {
        m_locked = false;
        setEnabled(false);
        hide();
        hideOutline();
        releaseMouse();
    }
    update();
}

void TQelHandle::UnselectAll()
{
    m_selection.clear();
    m_locked = false;
    hide();
    resize(24, 24);
    setEnabled(false);
    hideOutline();
    releaseMouse();
}

void TQelHandle::FitToSelection()
{
    const QList<TQelGraphicControl*> list = Selection();
    if (list.isEmpty())
        return;
    raise();
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const TQelGraphicControl* o : list) {
        left = std::min(left, o->x());
        top = std::min(top, o->y());
        right = std::max(right, o->x() + o->width());
        bottom = std::max(bottom, o->y() + o->height());
    }
    setGeometry(left - 2, top - 2, right - left + 6, bottom - top + 6);
    update();
}

void TQelHandle::BringSelectionToFront()
{
    if (m_selection.isEmpty() || m_locked)
        return;
    for (TQelGraphicControl* o : Selection())
        o->raise();
    raise();
    update();
}

void TQelHandle::SendSelectionToBack()
{
    if (m_selection.isEmpty() || m_locked)
        return;
    for (TQelGraphicControl* o : Selection())
        o->lower();
    raise();
    update();
}

bool TQelHandle::PointInSelection(QPoint p) const
{
    return ObjectAtPoint(p) != nullptr;
}

TQelGraphicControl* TQelHandle::ObjectAtPoint(QPoint p) const
{
    for (TQelGraphicControl* o : Selection()) {
        if (o->geometry().adjusted(-2, -2, 2, 2).contains(p))
            return o;
    }
    return nullptr;
}

void TQelHandle::SetHandleBounds(const QRect& bounds)
{
    m_inSetBounds = true;
    const QRect old = geometry();
    for (TQelGraphicControl* o : Selection()) {
        if (o->Locked())
            continue;
        const QRect g = o->geometry();
        o->setGeometry(bounds.x() + g.x() - old.x(), bounds.y() + g.y() - old.y(),
                       bounds.width() + g.width() - old.width(), bounds.height() + g.height() - old.height());
    }
    setGeometry(bounds);
    m_inSetBounds = false;
}

QRect TQelHandle::DragRectangle(QPoint p, bool keepRatio) const
{
    const int L = x(), T = y(), W = width(), H = height();
    const int sx = m_start.x(), sy = m_start.y();
    const int mx = SnapX(p.x() + L - sx), my = SnapY(p.y() + T - sy);
    int left = L, top = T, w = W, h = H;
    switch (m_zone) {
    case Move:
        left = mx;
        top = my;
        break;
    case TopLeft:
        left = mx;
        top = my;
        w = W + L - left;
        h = H + T - top;
        break;
    case TopRight:
        top = my;
        w = SnapX(p.x() + W - sx) - 1;
        h = H + T - top;
        break;
    case BottomLeft:
        left = mx;
        w = W + L - left;
        h = SnapY(p.y() + H - sy) - 1;
        break;
    case BottomRight:
        w = SnapX(p.x() + W - sx) - 1;
        h = SnapY(p.y() + H - sy) - 1;
        break;
    case Top:
        top = my;
        h = H + T - top;
        break;
    case Left:
        left = mx;
        w = W + L - left;
        break;
    case Bottom:
        h = SnapY(p.y() + H - sy) - 1;
        break;
    case Right:
        w = SnapX(p.x() + W - sx) - 1;
        break;
    }
    if (w <= 4)
        w = 5;
    if (h <= 4)
        h = 5;
    if (keepRatio && m_zone != Move)
        keepProportions(left, top, w, h);
    return QRect(left, top, w, h);
}

void TQelHandle::keepProportions(int& left, int& top, int& w, int& h) const
{
    const TQelGraphicControl* object = Selected(0);
    if (SelectedCount() != 1 || !object || object->width() <= 0 || object->height() <= 0)
        return;
    // The object changes size by as much as the handle does.
    const qint64 ow = object->width(), oh = object->height();
    const qint64 nw = std::max<qint64>(1, ow + w - width());
    const qint64 nh = std::max<qint64>(1, oh + h - height());
    bool widthLeads = m_zone == Left || m_zone == Right;
    if (m_zone == TopLeft || m_zone == TopRight || m_zone == BottomLeft || m_zone == BottomRight)
        widthLeads = nw * oh >= nh * ow;
    // Rounded to the nearest pixel, halves up.
    const qint64 keptW = widthLeads ? nw : std::max<qint64>(1, (2 * nh * ow + oh) / (2 * oh));
    const qint64 keptH = widthLeads ? std::max<qint64>(1, (2 * nw * oh + ow) / (2 * ow)) : nh;
    w = int(width() - ow + keptW);
    h = int(height() - oh + keptH);
    // The corner or edge opposite the one dragged stays where it is.
    if (m_zone == TopLeft || m_zone == BottomLeft || m_zone == Left)
        left = x() + width() - w;
    if (m_zone == TopLeft || m_zone == TopRight || m_zone == Top)
        top = y() + height() - h;
}

QPoint TQelHandle::clamped(QPoint p) const
{
    const int px = std::clamp(p.x(), -x(), m_panel->width() - x());
    const int py = std::clamp(p.y(), -y(), m_panel->height() - y());
    return {px, py};
}

void TQelHandle::showOutline(const QRect& r)
{
    m_panel->ShowBand(
        QRect(QPoint(r.x() + 2, r.y() + 2), QPoint(r.x() + r.width() - 3, r.y() + r.height() - 3)));
}

void TQelHandle::hideOutline()
{
    if (m_panel)
        m_panel->HideBand();
}

void TQelHandle::updateZone(QPoint p)
{
    Zone zone = Move;
    Qt::CursorShape shape = Qt::OpenHandCursor;
    if (SelectedCount() == 1) {
        const int W = width(), H = height(), px = p.x(), py = p.y();
        if (std::abs(px) < 8 && std::abs(py) < 8)
            zone = TopLeft, shape = Qt::SizeFDiagCursor;
        if (std::abs(px - W) < 8 && std::abs(py - H) < 8)
            zone = BottomRight, shape = Qt::SizeFDiagCursor;
        if (std::abs(px - W) < 8 && std::abs(py) < 8)
            zone = TopRight, shape = Qt::SizeBDiagCursor;
        if (std::abs(px) < 8 && std::abs(py - H) < 8)
            zone = BottomLeft, shape = Qt::SizeBDiagCursor;
        if (std::abs(px - W * 0.5) < 6 && std::abs(py) < 8)
            zone = Top, shape = Qt::SizeVerCursor;
        if (std::abs(px - W * 0.5) < 6 && std::abs(py - H) < 8)
            zone = Bottom, shape = Qt::SizeVerCursor;
        if (std::abs(py - H * 0.5) < 6 && std::abs(px) < 8)
            zone = Left, shape = Qt::SizeHorCursor;
        if (std::abs(py - H * 0.5) < 6 && std::abs(px - W) < 8)
            zone = Right, shape = Qt::SizeHorCursor;
    }
    setCursor(m_locked ? Qt::ForbiddenCursor : shape);
    m_zone = zone;
}

void TQelHandle::forward(QMouseEvent* event, bool press)
{
    const QPoint panelPoint = event->position().toPoint() + pos();
    if (press)
        m_panel->PanelPress(panelPoint, event->button(), event->modifiers());
    else
        m_panel->PanelRelease(panelPoint, event->button(), event->modifiers());
}

void TQelHandle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool single = SelectedCount() == 1;
    const QColor color = platform::ToQColor(single ? m_color : m_secondaryColor);
    for (const TQelGraphicControl* o : Selection()) {
        for (const QRect& square : SelectionSquares(o->geometry(), single))
            painter.fillRect(square.translated(-pos()), color);
    }
}

void TQelHandle::mousePressEvent(QMouseEvent* event)
{
    stampPress();
    const QPoint local = event->position().toPoint();
    const QPoint panelPoint = local + pos();
    if (!m_panel->Pointing() || event->button() == Qt::MiddleButton) {
        unsetCursor();
        forward(event, true);
        return;
    }
    if (event->button() == Qt::RightButton) {
        TQelGraphicControl* object = ObjectAtPoint(panelPoint);
        m_panel->PopupMenuFor(SelectedCount() == 1 ? object : nullptr, event->globalPosition().toPoint());
        return;
    }
    if ((PointInSelection(panelPoint) || !m_selection.isEmpty()) && !m_locked) {
        m_start = local;
        m_moving = true;
    }
    Q_EMIT pressed(event);
}

void TQelHandle::mouseMoveEvent(QMouseEvent* event)
{
    if (m_doubleClicked)
        m_moving = false;
    m_doubleClicked = false;
    const QPoint p = event->position().toPoint();
    if (!m_panel->Pointing()) {
        // A drawing gesture may start on the selection: the panel's band follows the pointer here too.
        setCursor(Qt::DragMoveCursor);
        m_panel->PanelMove(p + pos());
        return;
    }
    const bool left = event->buttons() & Qt::LeftButton;
    if (left && !m_moving && !m_locked) {
        if (m_pressTime > 0 && sincePress() > kPressThenMoveMs) {
            m_start = p;
            m_moving = true;
        }
        return;
    }
    if (!left && !m_moving)
        releaseMouse();
    if (m_moving) {
        showOutline(DragRectangle(clamped(p), event->modifiers() & Qt::ShiftModifier));
        return;
    }
    updateZone(p);
}

void TQelHandle::mouseReleaseEvent(QMouseEvent* event)
{
    QPoint p = event->position().toPoint();
    if (m_moving && sincePress() >= 0 && sincePress() < kQuickClickMs)
        m_start = p;
    m_pressTime = 0;
    if (!m_moving || event->button() != Qt::LeftButton) {
        forward(event, false);
    } else {
        p = clamped(p);
        if (p != m_start)
            SetHandleBounds(DragRectangle(p, event->modifiers() & Qt::ShiftModifier));
        hideOutline();
        m_moving = false;
        unsetCursor();
        releaseMouse();
        m_panel->update();
    }
    update();
}

void TQelHandle::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_doubleClicked = true;
    Q_EMIT doubleClicked(event);
}

void TQelHandle::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (arrow && !m_nudging) {
        m_nudging = true;
        m_nudge = QRect(QPoint(x() + 2, y() + 2), QPoint(x() + width() - 3, y() + height() - 3));
    }
    if (arrow) {
        const bool resize = (event->modifiers() & Qt::ShiftModifier) && SelectedCount() == 1;
        QRect& n = m_nudge;
        const int w = n.width(), h = n.height(); // both edges counted
        switch (key) {
        case Qt::Key_Left:
            if (resize) {
                if (w > 10)
                    n.setRight(n.right() - 1);
            } else if (n.left() > 0) {
                n.translate(-1, 0);
            }
            break;
        case Qt::Key_Up:
            if (resize) {
                if (h > 10)
                    n.setBottom(n.bottom() - 1);
            } else if (n.top() > 0) {
                n.translate(0, -1);
            }
            break;
        case Qt::Key_Right:
            if (m_panel->width() >= w + n.left()) {
                if (resize)
                    n.setRight(n.right() + 1);
                else
                    n.translate(1, 0);
            }
            break;
        case Qt::Key_Down:
            if (m_panel->height() >= h + n.top()) {
                if (resize)
                    n.setBottom(n.bottom() + 1);
                else
                    n.translate(0, 1);
            }
            break;
        default:
            break;
        }
        m_panel->ShowBand(m_nudge);
        return;
    }
    Q_EMIT keyPressed(event);
}

void TQelHandle::keyReleaseEvent(QKeyEvent* event)
{
    QWidget::keyReleaseEvent(event);
    if (!m_nudging || event->isAutoRepeat())
        return;
    m_nudging = false;
    hideOutline();
    SetHandleBounds(QRect(m_nudge.left() - 2, m_nudge.top() - 2, m_nudge.right() - m_nudge.left() + 5,
                          m_nudge.bottom() - m_nudge.top() + 5));
    update();
    m_panel->update();
}

void TQelHandle::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (!m_moving) {
        if (m_panel->Pointing())
            unsetCursor();
        else
            setCursor(Qt::DragMoveCursor);
    }
}

} // namespace design
