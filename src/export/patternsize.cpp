#include "patternsize.h"

#include "document/numeric.h"
#include "document/pattern.h"
#include "document/storedtext.h"

namespace orvane {

PatternSizeResult ApplyPatternSize(const std::string &reply, std::int32_t PixelsX, std::int32_t PixelsY)
{
    PatternSizeResult result{PatternSizeResult::Unchanged, PixelsX, PixelsY};
    if (reply.empty())
        return result;
    result.outcome = PatternSizeResult::Rejected;
    const auto value = parseLocaleNumber(reply);
    if (!value)
        return result;
    const auto n = roundToLong(*value);
    if (!n || *n <= 0 || PixelsX == 0)
        return result;
    const float ratio = static_cast<float>(static_cast<double>(static_cast<float>(*n)) / static_cast<float>(PixelsX));
    const auto height = roundToLong(static_cast<double>(ratio) * static_cast<float>(PixelsY));
    if (!height)
        return result;
    result.outcome = PatternSizeResult::Accepted;
    result.PixelsX = *n;
    result.PixelsY = *height;
    return result;
}

std::optional<PagePixels> pagePixels(const Pattern &pattern, double twipsPerPixelX, double twipsPerPixelY)
{
    const float width = pattern.PageWidthTwips();
    const float height = pattern.PageHeightTwips();
    if (!(width >= 0 && height >= 0))
        return std::nullopt;
    const auto x = roundToLong(static_cast<double>(width) / twipsPerPixelX);
    const auto y = roundToLong(static_cast<double>(height) / twipsPerPixelY);
    if (!x || !y)
        return std::nullopt;
    return PagePixels{*x, *y};
}

std::string PatternSizePrompt()
{
    return "Set the number of Horizontal (X-axis) pixels for the enhanced metafile pattern.\r\n\r\n"
           "Horizontal Pixels?";
}

} // namespace orvane
