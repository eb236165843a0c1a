#include "placeableencoder.h"

#include "scene.h"
#include "wmfencoder.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace orvane {

namespace {

constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr std::size_t PlaceableBytes = 22;

std::string describe(double value)
{
    if (!std::isfinite(value))
        return "no finite number";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
}

} // namespace

EncodeResult EncodePlaceable(const Scene &scene)
{
    EncodeResult result;
    // Units per inch that make pixelsX span the page's width when printed.
    const double inch = std::nearbyint(double(scene.pixelsX) * 1440.0 / double(scene.pageWidthTwips));
    if (!(inch >= 1 && inch <= 65535)) {
        result.error = "A placeable metafile holds 1 to 65535 units per inch; this page at " +
                       std::to_string(scene.pixelsX) + " pixels wide would need " + describe(inch) +
                       ". Choose another pattern size or the plain metafile.";
        return result;
    }
    if (scene.pixelsX < 1 || scene.pixelsX > 32767 || scene.pixelsY < 1 || scene.pixelsY > 32767) {
        result.error = "A placeable metafile frames at most 32767 x 32767 pixels; this page is " +
                       std::to_string(scene.pixelsX) + " x " + std::to_string(scene.pixelsY) +
                       ". Choose a smaller pattern size.";
        return result;
    }
    const std::uint16_t words[10] = {
        static_cast<std::uint16_t>(PlaceableKey & 0xFFFF),
        static_cast<std::uint16_t>(PlaceableKey >> 16),
        0, // HWmf
        0, // left
        0, // top
        static_cast<std::uint16_t>(scene.pixelsX),
        static_cast<std::uint16_t>(scene.pixelsY),
        static_cast<std::uint16_t>(inch),
        0, // reserved
        0,
    };
    std::uint16_t checksum = 0;
    for (const std::uint16_t word : words)
        checksum ^= word;

    // One 96-dpi pixel on paper is inch / 96 units; below half a unit the
    // thinnest pen there is, one device pixel, comes nearest.
    const auto penWidth = static_cast<std::int16_t>(std::nearbyint(inch / 96.0));
    const std::vector<unsigned char> metafile = EncodeWmf(scene, true, penWidth);
    result.bytes.reserve(PlaceableBytes + metafile.size());
    auto put16 = [&](std::uint16_t value) {
        result.bytes.push_back(static_cast<unsigned char>(value & 0xFF));
        result.bytes.push_back(static_cast<unsigned char>(value >> 8));
    };
    for (const std::uint16_t word : words)
        put16(word);
    put16(checksum);
    result.bytes.insert(result.bytes.end(), metafile.begin(), metafile.end());
    return result;
}

} // namespace orvane
