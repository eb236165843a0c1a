#pragma once

#include "patternelements.h"
#include "patternformat.h"
#include "patternsettings.h"
#include "os/populatedallocator.h"

#include <cstdint>
#include <vector>

namespace orvane {

// What a pattern file holds, as one value: the reader fills it, and the work
// window, the mirror store, the scene and the file summary read it.
struct Pattern {
    PatternHeader header;
    PatternSettings settings;
    // Every record in file order, each visible.
    std::vector<PatternLine, PopulatedAllocator<PatternLine>> lines;
    std::vector<PatternShape, PopulatedAllocator<PatternShape>> shapes;

    // The picture as stored: its flag, its length field and the bytes that
    // follow it in the file (fewer than the length says when the file ends
    // early).
    bool hasPicture = false;
    float pictureLength = 0;
    std::vector<unsigned char> picture;

    float PageWidthTwips() const { return settings.PatternWidth; }
    float PageHeightTwips() const { return settings.PatternHeight; }
};

} // namespace orvane
