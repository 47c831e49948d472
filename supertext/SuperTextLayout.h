#pragma once

#include "platform/TColor.h"
#include "platform/TRect.h"

#include <QImage>
#include <QPoint>
#include <QSize>

namespace supertext {

/** How the glyphs are filled. */
enum TSurfaceType
{
    stNormal,           // solid, in the font colour
    stBrushTransparent, // hollow: the outline only
    stBrushImage,       // the texture, tiled
    stGradientFill,     // the two-colour gradient
};

/** The direction the gradient runs in, from its start colour to its end colour. */
enum TFillDirection
{
    gdUp,
    gdDown,
    gdLeft,
    gdRight,
};

enum TShadowOrientation
{
    sdNone,
    sdRight,
    sdLeft,
    sdDownRight,
    sdDownLeft,
    sdDown,
};

/** The outline pen's style; psClear draws no outline. */
enum TPenStyle
{
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
};

/** The shadow's offset from the text in pixels at zoom 1: depth d in the orientation's direction. */
QPoint ShadowOffset(TShadowOrientation orientation, int depth);

struct SuperTextLayoutInput
{
    float zoom = 1.0f;
    QPoint shadow;      // the unscaled shadow offset
    int textHeight = 0; // of the caption in the drawing font
    int textWidth = 0;  // of the caption followed by one blank
    int width = 0;      // the object's size
    int height = 0;
    bool transparent = true;
    bool border = false;
};

/** Where the text and its shadow go in the object, and the object's size after the layout. */
struct SuperTextLayout
{
    int width = 0;
    int height = 0;
    QPoint shadow; // the shadow offset at the zoom
    QPoint shift;  // keeps a shadow thrown left or up inside the object
    platform::TRect text;
    platform::TRect shadowRect;
    QPoint TextOrigin() const { return {text.left, text.top}; }
    QPoint ShadowOrigin() const { return {shadowRect.left, shadowRect.top}; }
    /** The left edge that both the text and its shadow start right of. */
    int X0() const { return std::max(text.left, shadowRect.left); }
};

/**
 * The layout: a width of 5 or less becomes the text's width; a transparent borderless object shrinks to 1.2
 * times the height its text and shadow need, and no object stays lower than that need; the text starts 5
 * pixels in (not scaled by the zoom), right of and below any shadow thrown left or up.
 */
SuperTextLayout ComputeSuperTextLayout(const SuperTextLayoutInput& in);

/**
 * The size that fits a caption of extent (cx, cy) whose layout puts the text and shadow at (left, top):
 * 1.2 times what they need, and half as much again when that still falls short.
 */
QSize FitSize(int left, int top, int cx, int cy);

/** The colours the gradient runs between, from its top or left edge: (start, end). */
std::pair<platform::TColor, platform::TColor> GradientEnds(TFillDirection direction, platform::TColor from,
                                                           platform::TColor to);
/** Band i (0..255) of the gradient from s to e; band 0 is s and band 255 is e exactly. */
QRgb GradientBandColor(QRgb s, QRgb e, int i);

/**
 * The gradient of an object of the size as 256 bands: across the width for gdLeft and gdRight (an image one
 * pixel high), down the height for gdUp and gdDown (one pixel wide); band i spans MulDiv(i, extent, 256) to
 * MulDiv(i + 1, extent, 256). Tiled over the object it gives the whole gradient.
 */
QImage MakeGradientStrip(QSize size, TFillDirection direction, platform::TColor from, platform::TColor to);

} // namespace supertext
