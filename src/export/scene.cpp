#include "scene.h"

#include "document/numeric.h"
#include "document/pattern.h"

#include <cmath>

namespace orvane {

namespace {

// One element's corners in pixels into out; false when one of them does not
// fit a 16-bit field. Plain values in and out, so that the loops keep them
// in registers.
inline bool scaled(SceneElement::Kind kind, double x1, double y1, double x2, double y2, float scaleX, float scaleY,
                   SceneElement &out)
{
    std::int16_t a;
    std::int16_t b;
    std::int16_t c;
    std::int16_t d;
    // All four rounded, then one test: no branch per corner.
    const int fit = int(roundIntoInteger(x1 * scaleX, a)) & int(roundIntoInteger(y1 * scaleY, b))
        & int(roundIntoInteger(x2 * scaleX, c)) & int(roundIntoInteger(y2 * scaleY, d));
    out = SceneElement{kind, a, b, c, d};
    return fit != 0;
}

} // namespace

PageElements pageOf(const Pattern &pattern)
{
    return {pattern.lines, pattern.shapes, pattern.PageWidthTwips(), pattern.PageHeightTwips()};
}

SceneResult BuildScene(const PageElements &page, std::int32_t pixelsX, std::int32_t pixelsY, SceneElements &&storage)
{
    const float pageWidth = page.pageWidthTwips;
    const float pageHeight = page.pageHeightTwips;
    SceneResult result;
    Scene &scene = result.scene;
    scene.elements = std::move(storage);
    scene.elements.clear();
    // A page so small that it rounds to no pixels would put every point at 0,0.
    if (!(pageWidth != 0) || !(pageHeight != 0) || pixelsX <= 0 || pixelsY <= 0) {
        result.error = SceneError::EmptyPage;
        return result;
    }
    scene.pixelsX = pixelsX;
    scene.pixelsY = pixelsY;
    scene.pageWidthTwips = pageWidth;
    scene.pageHeightTwips = pageHeight;
    // The pixel counts take the float path the rest of the program uses.
    const float scaleX = static_cast<float>(static_cast<double>(static_cast<float>(pixelsX)) / pageWidth);
    const float scaleY = static_cast<float>(static_cast<double>(static_cast<float>(pixelsY)) / pageHeight);

    // Written in place, the elements sized for every one and cut to those
    // visible at the end.
    scene.elements.resize(page.lines.size() + page.shapes.size());
    SceneElement *const first = scene.elements.data();
    SceneElement *out = first;
    bool inRange = true;
    for (const PatternLine &line : page.lines) {
        if (line.Visible && !(inRange = scaled(SceneElement::Line, line.X1, line.Y1, line.X2, line.Y2, scaleX,
                                               scaleY, *out++)))
            break;
    }
    for (std::size_t i = 0; inRange && i < page.shapes.size(); ++i) {
        const PatternShape &shape = page.shapes[i];
        if (!shape.Visible)
            continue;
        const double left = shape.Left;
        const double top = shape.Top;
        inRange = scaled(isEllipseKind(shape.Shape) ? SceneElement::Ellipse : SceneElement::Rectangle, left, top,
                         left + shape.Width, top + shape.Height, scaleX, scaleY, *out++);
    }
    scene.elements.resize(static_cast<std::size_t>(out - first));
    if (!inRange) {
        result.error = SceneError::CoordinateRange;
        scene.elements.clear();
    }
    return result;
}

} // namespace orvane
