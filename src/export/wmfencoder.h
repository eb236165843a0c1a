#pragma once

#include <vector>

namespace orvane {

struct Scene;

// A standard metafile without placement header: a hollow brush selected,
// each line as a move and a line, each box as a rectangle or an ellipse, the
// brush deleted again.
std::vector<unsigned char> EncodeWmf(const Scene &scene);

} // namespace orvane
