#pragma once

#include "export/exportformat.h"

#include <QPen>

#include <cstdint>

class QPainter;

namespace orvane {

struct Scene;

// Whether the scene has a page a picture can show: pixels and a physical
// size, both above zero and finite.
bool hasPage(const Scene &scene);
// The refusal of a page without one, naming the format ("PNG image").
EncodeResult noPage(const Scene &scene, const char *format);

// White page, then the outlines in drawing order: lines batched as the window
// batches them, boxes by the window's own routine. Only outlines that can
// touch page rows top to bottom - 1 are drawn: a band of a tall page.
void paintScene(QPainter &painter, const Scene &scene, const QPen &pen, int top = 0, int bottom = INT32_MAX);

// One pixel of the page, for the raster formats.
QPen outlinePen();

} // namespace orvane
