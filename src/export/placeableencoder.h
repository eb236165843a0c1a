#pragma once

#include "exportformat.h"

namespace orvane {

// The plain metafile framed for readers that place what they import: a
// 22-byte placeable header (the page as a box of pixelsX x pixelsY and the
// units per inch that print it at the page's size), then the metafile with
// its window set to the page and its outlines drawn one 96-dpi pixel wide on
// paper. Refuses pages whose frame the header cannot hold.
EncodeResult EncodePlaceable(const Scene &scene);

} // namespace orvane
