#pragma once

#include <vector>

namespace orvane {

struct Scene;

// A standard metafile without placement header: a hollow brush selected,
// each line as a move and a line, each box as a rectangle or an ellipse, the
// brush deleted again. With a frame, the window's origin and extent (the
// page in pixels) come first, so readers that honour them show the page,
// then the page's rectangle drawn with a null pen and a hollow brush between
// a save and a restore of the drawing state, so readers that place the
// drawn box show it too.
std::vector<unsigned char> EncodeWmf(const Scene &scene, bool frame = false);

} // namespace orvane
