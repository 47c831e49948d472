#include "design/LabelLayout.h"

#include <algorithm>
#include <cmath>

namespace design {

namespace {

platform::TRect Moved(const platform::TRect& r, int dx, int dy)
{
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

/** An offset given in the text's own frame, turned with the text. */
QPoint Turned(QPoint offset, int angle)
{
    switch (angle) {
    case 90:
        return {offset.y(), -offset.x()};
    case 180:
        return {-offset.x(), -offset.y()};
    case 270:
        return {-offset.y(), offset.x()};
    default:
        return offset;
    }
}

QPoint Origin(const platform::TRect& r, int angle)
{
    switch (angle) {
    case 90:
        return {r.left, r.bottom};
    case 180:
        return {r.right, r.bottom};
    case 270:
        return {r.right, r.top};
    default:
        return {r.left, r.top};
    }
}

} // namespace

QPoint ShadowOffset(int direction, int d)
{
    static const QPoint kUnit[] = {{0, 0}, {1, 0}, {-1, 0}, {1, 1}, {-1, 1}, {0, 1}};
    return direction >= 0 && direction < 6 ? kUnit[direction] * d : QPoint();
}

QPoint HighlightOffset(int direction, int d)
{
    static const QPoint kUnit[] = {{0, 0}, {1, 0}, {-1, 0}, {1, -1}, {-1, -1}, {0, -1}};
    return direction >= 0 && direction < 6 ? kUnit[direction] * d : QPoint();
}

LabelLayout ComputeLabelLayout(const LabelLayoutInput& in)
{
    LabelLayout out;
    const int sx = in.shadow.x(), sy = in.shadow.y(), hx = in.highlight.x(), hy = in.highlight.y();
    const int L = in.lineHeight, W = in.textWidth;
    int mx = sx < 0 ? -sx : 0;
    if (hx < 0)
        mx = std::max(-hx, mx);
    int my = sy < 0 ? -sy : 0;
    if (hy < 0)
        my = std::max(-hy, my);
    out.margin = {mx, my};

    const int l = L + sy - hy;
    const double m = l * 1.2;
    int width = in.width, height = in.height;
    const bool across = in.angle == 90 || in.angle == 270;
    if (across) {
        if (W * 1.2 < height)
            height = static_cast<int>(std::trunc(W * 1.2));
        if (height < 5)
            height = W;
        if (m < width)
            width = static_cast<int>(std::trunc(m));
        if (width < l)
            width = l;
    } else {
        if (in.angle == 180 && 2 * W < width)
            width = 2 * W;
        if (width <= 5)
            width = W;
        if (m < height)
            height = static_cast<int>(std::trunc(m));
        if (height < l)
            height = l;
    }
    out.width = width;
    out.height = height;

    platform::TRect r =
        across ? platform::TRect{my, mx, L + my, height - my} : platform::TRect{mx, my, width, L + my};
    if (in.angle == 90)
        r = Moved(r, 0, height + r.top + hx - r.bottom - 1);
    else if (in.angle == 180)
        r = Moved(r, width + r.left - r.right - sy - 1, 0);
    out.text = r;
    const QPoint s = Turned(in.shadow, in.angle);
    const QPoint h = Turned(in.highlight, in.angle);
    out.shadow = Moved(r, s.x(), s.y());
    out.highlight = Moved(r, h.x(), h.y());
    out.textOrigin = Origin(out.text, in.angle);
    out.shadowOrigin = Origin(out.shadow, in.angle);
    out.highlightOrigin = Origin(out.highlight, in.angle);

    if (in.angle == 0) {
        int x = r.left;
        if (in.alignment == taRightJustify)
            x = r.right - W;
        else if (in.alignment == taCenter)
            x = (r.right - r.left) / 2 - W / 2;
        out.textOrigin.setX(x);
        out.highlightOrigin.setX(x + hx);
        out.shadowOrigin.setX(x + sx);
    }
    return out;
}

} // namespace design
