#pragma once

#include "document/patternelements.h"
#include "os/populatedallocator.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace orvane {

struct Pattern;

// One outline in metafile pixels. Lines run from (x1, y1) to (x2, y2); boxes
// hold left, top, right and bottom, each corner scaled on its own.
struct SceneElement {
    enum Kind : std::uint8_t { Line, Rectangle, Ellipse };
    Kind kind;
    std::int16_t x1;
    std::int16_t y1;
    std::int16_t x2;
    std::int16_t y2;
};

// A rectangle's or ellipse's box as the window's painter draws it: from the
// smaller corner, one pixel short of the larger one, never negative.
struct OutlineBox {
    int left;
    int top;
    int width;
    int height;
};

inline OutlineBox outlineBox(const SceneElement &e)
{
    const int left = std::min(e.x1, e.x2);
    const int top = std::min(e.y1, e.y2);
    return {left, top, std::max(0, std::max(e.x1, e.x2) - left - 1), std::max(0, std::max(e.y1, e.y2) - top - 1)};
}

// The page as every output format draws it: the visible lines, then the
// visible shapes, in pixels of a pixelsX x pixelsY page.
struct Scene {
    std::int32_t pixelsX = 0;
    std::int32_t pixelsY = 0;
    float pageWidthTwips = 0;
    float pageHeightTwips = 0;
    std::vector<SceneElement, PopulatedAllocator<SceneElement>> elements;
};

// The drawing as the window paints it, element by element: a line, and a box
// without width or height (which the window paints as a line), go to
// segment(x1, y1, x2, y2); every other box to box(kind, its outline box).
template <typename Segment, typename Box>
void forEachOutline(const Scene &scene, Segment &&segment, Box &&box)
{
    for (const SceneElement &e : scene.elements) {
        if (e.kind == SceneElement::Line) {
            segment(e.x1, e.y1, e.x2, e.y2);
            continue;
        }
        const OutlineBox outline = outlineBox(e);
        if (outline.width == 0 || outline.height == 0)
            segment(outline.left, outline.top, outline.left + outline.width, outline.top + outline.height);
        else
            box(e.kind, outline);
    }
}

enum class SceneError {
    None,
    EmptyPage,       // the page has no width or height to scale from, in twips or in pixels
    CoordinateRange, // a coordinate a 16-bit field cannot hold, or not a number
};

struct SceneResult {
    Scene scene;
    SceneError error = SceneError::None;
};

// What a scene is drawn from: lines and shapes (hidden ones are left out) on a
// page of pageWidthTwips x pageHeightTwips.
struct PageElements {
    std::span<const PatternLine> lines;
    std::span<const PatternShape> shapes;
    float pageWidthTwips = 0;
    float pageHeightTwips = 0;
};
PageElements pageOf(const Pattern &pattern);

// Scales the page (pageWidth x pageHeight twips) to pixelsX x pixelsY with one
// scale per axis, formed in float from a double quotient; every coordinate
// is the nearest integer, halves to even, and one that a 16-bit field cannot
// hold refuses the whole scene rather than wrapping. storage lends its
// memory: a caller that builds many scenes maps its pages once.
using SceneElements = decltype(Scene::elements);
SceneResult BuildScene(const PageElements &page, std::int32_t pixelsX, std::int32_t pixelsY,
                       SceneElements &&storage = SceneElements());

} // namespace orvane
