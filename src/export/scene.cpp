#include "scene.h"

#include "document/numeric.h"
#include "document/pattern.h"

#include <cmath>

namespace orvane {

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

    bool inRange = true;
    // Written in place, the elements sized for every one and cut to those
    // visible at the end.
    scene.elements.resize(page.lines.size() + page.shapes.size());
    SceneElement *out = scene.elements.data();
    auto add = [&](SceneElement::Kind kind, double x1, double y1, double x2, double y2) {
        const auto a = roundToInteger(x1 * scaleX);
        const auto b = roundToInteger(y1 * scaleY);
        const auto c = roundToInteger(x2 * scaleX);
        const auto d = roundToInteger(y2 * scaleY);
        if (!a || !b || !c || !d) {
            inRange = false;
            return;
        }
        *out++ = SceneElement{kind, *a, *b, *c, *d};
    };

    for (const PatternLine &line : page.lines) {
        if (line.Visible)
            add(SceneElement::Line, line.X1, line.Y1, line.X2, line.Y2);
        if (!inRange)
            break;
    }
    for (const PatternShape &shape : page.shapes) {
        if (!inRange)
            break;
        if (!shape.Visible)
            continue;
        const double left = shape.Left;
        const double top = shape.Top;
        add(isEllipseKind(shape.Shape) ? SceneElement::Ellipse : SceneElement::Rectangle, left, top,
            left + shape.Width, top + shape.Height);
    }
    scene.elements.resize(static_cast<std::size_t>(out - scene.elements.data()));
    if (!inRange) {
        result.error = SceneError::CoordinateRange;
        scene.elements.clear();
    }
    return result;
}

} // namespace orvane
