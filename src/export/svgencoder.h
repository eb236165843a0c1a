#pragma once

#include "exportformat.h"

namespace orvane {

// The page as an SVG drawing, written by hand so that it is the same bytes
// wherever the core runs (the window, orvane-convert, the browser page).
//
// Scene coordinate n names the pixel column (or row) from n to n + 1, as in
// the PNG. The drawing sits in a group moved by half a pixel so that a
// stroke along n covers that pixel; every scene coordinate is then written
// as the integer it is. A line from (x1, y1) to (x2, y2) covers both end
// pixels (square caps). A box from (x1, y1) to (x2, y2), corners in any
// order, covers its left and top edge and stops a pixel short of its right
// and bottom edge, as the window's paintBox draws it: a rect of
// |x2 - x1| - 1 by |y2 - y1| - 1 from the smaller corner, an ellipse in that
// rect (centre and radii then in halves).
//
// Width and height are the page's size in millimetres; the view box is the
// page in pixels. The stroke is one pixel at 96 dpi on the printed page at
// any pixel width: its width in view-box units is pixelsX over the page's
// width in 96-dpi pixels, which every reader honours (unlike
// vector-effect="non-scaling-stroke", which is kept on screen only).
EncodeResult EncodeSvg(const Scene &scene);

} // namespace orvane
