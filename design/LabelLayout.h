#pragma once

#include "platform/TRect.h"

#include <QPoint>

namespace design {

enum TAlignment
{
    taLeftJustify,
    taRightJustify,
    taCenter,
};

/** What a text label's layout is computed from: angle, alignment, size, the copies' offsets, the text
 * metrics. */
struct LabelLayoutInput
{
    int angle = 0;
    TAlignment alignment = taLeftJustify;
    int width = 0;
    int height = 0;
    QPoint shadow;      // S
    QPoint highlight;   // H
    int lineHeight = 0; // L: text height plus internal and external leading
    int textWidth = 0;  // W: width of the caption followed by one space
};

/** The label's size after layout, the rectangles each copy is clipped to, and where each copy is drawn from.
 */
struct LabelLayout
{
    int width = 0;
    int height = 0;
    QPoint margin;
    platform::TRect text;      // R
    platform::TRect shadow;    // RS
    platform::TRect highlight; // RH
    QPoint textOrigin;
    QPoint shadowOrigin;
    QPoint highlightOrigin;
};

/**
 * Lays a label out: never taller than 1.2 lines nor lower than one (across for quarter turns), the text
 * rectangle inside the margin that keeps copies going left or up inside the object, the copies' rectangles
 * offset in the rotated frame, and the origins at the corner the rotated text starts from.
 */
LabelLayout ComputeLabelLayout(const LabelLayoutInput& in);

/** The shadow offset of a direction (sdNone .. sdDown) and depth, and the highlight offset (hdNone .. hdUp).
 */
QPoint ShadowOffset(int direction, int depth);
QPoint HighlightOffset(int direction, int depth);

} // namespace design
