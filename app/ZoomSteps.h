#pragma once

namespace app {

/** The page zoom one Zoom In step reaches: +0.1 while the factor is at most 0.95, else unchanged. */
float ZoomInStep(float factor);
/** The page zoom one Zoom Out step reaches: -0.1 while the factor is above 0.6, else unchanged. */
float ZoomOutStep(float factor);
/** Zoom factor of a stored percentage: 20, 30, .. 100 per tens, clamped. */
float PercentToZoom(int percent);
/** Stored percentage of a zoom factor. */
int ZoomToPercent(float factor);

} // namespace app
