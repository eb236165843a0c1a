#pragma once

#include "export/exportformat.h"

#include <span>
#include <string_view>
#include <vector>

namespace orvane {

// What the picture module (orvane-pictures.so) hands to orvane-convert, which
// loads it only for png and thumbnails: the metafile, SVG and PDF paths
// then start without Qt's painting libraries.
struct PictureModule {
    // Rows for the format table, after the core's.
    std::span<const ExportFormat> formats;
    // A file manager's preview: a PNG whose longer side is at most size
    // pixels; empty when the page has no size.
    std::vector<unsigned char> (*thumbnail)(const Scene &scene, int size) = nullptr;
};

// The formats the module adds, by name: a program that does not find the
// module can tell them from names it does not know at all.
constexpr std::string_view PictureFormatNames[] = {"png"};

// The module's one exported function, looked up by this name.
constexpr const char *PictureModuleEntry = "orvanePictureModule";
using PictureModuleFunction = const PictureModule *();

} // namespace orvane
