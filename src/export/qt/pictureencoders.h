#pragma once

#include "picturemodule.h"

#include <vector>

namespace orvane {

// The page as a picture, drawn with Qt's painter by the routine the window
// paints with: pixelsX x pixelsY pixels. The same scene always gives the
// same bytes.
EncodeResult EncodePng(const Scene &scene);
// The PNG drawn bandRows rows at a time; EncodePng chooses the rows that keep
// the band at 64 MiB.
EncodeResult EncodePngInBands(const Scene &scene, int bandRows);

// The page scaled so that its longer side is at most size pixels, for file
// managers' previews: a PNG file's bytes, empty when the page has no size.
std::vector<unsigned char> EncodeThumbnail(const Scene &scene, int size);

// The encoders above as format rows, as the window links them and the module
// hands them out.
const PictureModule &pictureModule();

} // namespace orvane
