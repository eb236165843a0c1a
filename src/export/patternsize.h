#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

struct Pattern;

// The reply to "Set Pattern Size" applied to the current pixel size.
struct PatternSizeResult {
    enum Outcome {
        Unchanged, // empty reply: nothing changes, not even a step state
        Accepted,
        Rejected, // not a number, not above 0, or no size to scale from
    };
    Outcome outcome = Unchanged;
    std::int32_t PixelsX = 0;
    std::int32_t PixelsY = 0;
};

// The new width is the reply rounded half to even; the height follows the
// current pair's proportion. A current width of 0 cannot be scaled from, and
// a height that does not fit 32 bits is refused: both reject the reply.
PatternSizeResult ApplyPatternSize(const std::string &reply, std::int32_t PixelsX, std::int32_t PixelsY);

// A pattern's page in screen pixels (15 twips each at 96 dpi); nullopt for a
// page the surface cannot take: negative, not a number, or too large for a
// pixel count.
struct PagePixels {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
std::optional<PagePixels> pagePixels(const Pattern &pattern, double twipsPerPixelX = 15.0,
                                     double twipsPerPixelY = 15.0);

// The input box's prompt, with its two line breaks.
std::string PatternSizePrompt();

} // namespace orvane
