#pragma once

#include "exportformat.h"

namespace orvane {

// The page as a one-page PDF, written by hand so that it is the same bytes
// wherever the core runs (Linux, Windows, the browser) and in every time
// zone: no date, a fixed producer, numbers in the C locale, no compression.
//
// The page is the pattern page's size in points, to the hundredth, painted
// white. The drawing is the SVG's: the content stream maps the page's
// pixelsX x pixelsY pixels onto it (y downwards) and moves by half a pixel,
// so that scene coordinate n names the pixel from n to n + 1; lines have
// square caps and boxes stop a pixel short of their right and bottom edge
// (see svgencoder.h). Ellipses are four Bezier curves. A line without
// length, which a stroke with square caps does not paint, is a filled
// square of the stroke's width. The stroke is 0.75 pt, one 96-dpi pixel on
// paper, at any pixel width.
EncodeResult EncodePdf(const Scene &scene);

} // namespace orvane
