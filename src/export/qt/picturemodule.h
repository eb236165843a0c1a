#pragma once

#include "export/exportformat.h"

#include <vector>

namespace orvane {

// What the picture module (orvane-pictures.so) hands to orvane-convert, which
// loads it only for svg, pdf, png and thumbnails: the plain metafile path
// then starts without Qt's painting libraries.
struct PictureEncoders {
    EncodeResult (*svg)(const Scene &scene);
    EncodeResult (*pdf)(const Scene &scene);
    EncodeResult (*png)(const Scene &scene);
    std::vector<unsigned char> (*thumbnail)(const Scene &scene, int size);
};

// The module's one exported function, looked up by this name.
constexpr const char *PictureModuleEntry = "orvanePictureEncoders";
using PictureModuleFunction = const PictureEncoders *();

// Adds svg, pdf and png to the format table, after the metafiles.
inline void registerPictureFormats(const PictureEncoders &encoders)
{
    registerExportFormat({"svg", "SVG Drawing (*.svg)|*.svg", "svg", encoders.svg});
    registerExportFormat({"pdf", "PDF Document (*.pdf)|*.pdf", "pdf", encoders.pdf});
    registerExportFormat({"png", "PNG Image (*.png)|*.png", "png", encoders.png});
}

} // namespace orvane
