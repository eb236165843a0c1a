#pragma once

#include <string>
#include <string_view>
#include <vector>
#include <deque>

namespace orvane {

struct Scene;

// What an encoder made of a scene: the file's bytes, or why the scene cannot
// be written in this format.
struct EncodeResult {
    std::vector<unsigned char> bytes;
    std::string error;
};

// One output format: a name for the command line, the save dialog's filter
// entry ("Description (*.ext)|*.ext") and the extension a derived name gets.
struct ExportFormat {
    std::string name;
    std::string filter;
    std::string extension;
    EncodeResult (*encode)(const Scene &scene) = nullptr;
};

// The formats in the order the save dialog lists them; the plain metafile is
// always first and the default.
const std::deque<ExportFormat> &exportFormats();
const ExportFormat &defaultExportFormat();
const ExportFormat *findExportFormat(std::string_view name);

// For formats whose encoder lives in a library the core does not link: a
// program that links it adds the format at start. Entries never move, so
// pointers from findExportFormat stay valid.
void registerExportFormat(ExportFormat format);

} // namespace orvane
