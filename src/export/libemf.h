#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane {

class Drawing;
class MessageBox;
struct CommonDialog;

namespace LibEMF {

// Why a metafile could not be built.
enum class BuildError {
    None,
    EmptyPage,       // the page has no width or height to scale from
    CoordinateRange, // a coordinate a 16-bit field cannot hold, or not a number
};

struct BuildResult {
    std::vector<unsigned char> bytes;
    BuildError error = BuildError::None;
};

// The metafile of the drawing's visible lines, then visible shapes, with the
// page (patternWidth x patternHeight twips) scaled to pixelsX x pixelsY.
BuildResult BuildMetafile(const Drawing &drawing, float patternWidth, float patternHeight, float pixelsX,
                          float pixelsY);

// Writes bytes to path without ever leaving a partial file: a temporary file
// beside the target is written, flushed and renamed over it. On failure the
// target is untouched and the temporary file removed; error tells why.
bool WriteFileReplacing(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error);

// Asks for a file name on the shared dialog and saves the metafile there.
// Filename is the chosen path, or empty when the dialog was cancelled.
bool SaveMetafile(float PixelsX, float PixelsY, std::string &Filename, const Drawing &drawing, float patternWidth,
                  float patternHeight, CommonDialog &dialog, MessageBox &box);

// Saves to a known path with the same checks and messages, for callers that
// already hold the name.
bool SaveMetafileTo(float PixelsX, float PixelsY, const std::string &Filename, const Drawing &drawing,
                    float patternWidth, float patternHeight, MessageBox &box);

std::string CreateErrorText(const std::string &path, BuildError error, const std::string &reason);

} // namespace LibEMF

} // namespace orvane
