#pragma once

#include <cstdint>
#include <vector>

namespace orvane {

struct Scene;

// A standard metafile without placement header: a hollow brush selected,
// each line as a move and a line, each box as a rectangle or an ellipse, the
// brush deleted again. With a frame, the window's origin and extent (the
// page in pixels) come first, so readers that honour them show the page,
// then the page's rectangle drawn with a null pen and a hollow brush between
// a save and a restore of the drawing state, so readers that place the
// drawn box show it too; then a solid black pen penWidth units wide (0: one
// device pixel) is selected for the outlines and deleted after them.
std::vector<unsigned char> EncodeWmf(const Scene &scene, bool frame = false, std::int16_t penWidth = 0);

} // namespace orvane
