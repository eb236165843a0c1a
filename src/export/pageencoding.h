#pragma once

#include "scene.h"

#include <string>
#include <vector>

namespace orvane {

struct ExportFormat;

// What a save writes: the page scaled to pixelsX x pixelsY, in format (the
// plain metafile when null), to path.
struct ExportOptions {
    std::string path;
    std::int32_t pixelsX = 0;
    std::int32_t pixelsY = 0;
    const ExportFormat *format = nullptr;
};

struct EncodedPage {
    std::vector<unsigned char> bytes;
    SceneError error = SceneError::None;
    // Set when the format refuses the scene.
    std::string reason;
};

// The scene of the page's visible elements encoded in options.format. With
// spare, the scene is built in its memory and hands it back after: a batch
// then maps its pages once, not per file.
EncodedPage encodePage(const PageElements &page, const ExportOptions &options, SceneElements *spare = nullptr);

// The message of a failed save, naming what kind of file it is ("metafile"
// when format is null).
std::string saveErrorText(const ExportFormat *format, const std::string &path, SceneError error,
                          const std::string &reason);

} // namespace orvane
