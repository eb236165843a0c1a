#pragma once

#include <QPaintDevice>
#include <QRect>

#include <algorithm>
#include <cmath>

namespace orvane {

// Geometry is kept in twips; the screen has 1440 / logical DPI twips per
// pixel (15 at 96 dpi).
inline double screenTwipsPerPixelX(const QPaintDevice &device)
{
    return 1440.0 / device.logicalDpiX();
}

inline double screenTwipsPerPixelY(const QPaintDevice &device)
{
    return 1440.0 / device.logicalDpiY();
}

// Nearest pixel, halves to even like every other conversion of the program.
// Pattern files may hold any float, so the result is kept to what a widget
// coordinate can take.
inline int twipsToPixels(double twips, double twipsPerPixel)
{
    constexpr double Limit = 1 << 24;
    const double pixels = std::nearbyint(twips / twipsPerPixel);
    if (std::isnan(pixels))
        return 0;
    return static_cast<int>(std::clamp(pixels, -Limit, Limit));
}

// A widget's twips-per-pixel pair, fixed when it is built.
struct TwipsScale {
    double perPixelX = 15.0;
    double perPixelY = 15.0;

    int toPixelsX(double twips) const { return twipsToPixels(twips, perPixelX); }
    int toPixelsY(double twips) const { return twipsToPixels(twips, perPixelY); }
};

} // namespace orvane
