#pragma once

#include <QRect>

namespace platform {

/**
 * A rectangle with the edge semantics of the page geometry: left and top inside, right and bottom one past
 * the last pixel, so the width is right - left. Kept apart from QRect, whose right() is the last pixel.
 */
struct TRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    /** True when (x, y) lies inside: left <= x < right and top <= y < bottom. */
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }

    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

} // namespace platform
