#pragma once

#include <cstdint>
#include <optional>

namespace orvane {

class Drawing;
class LibSetup;
class MirrorForm;
struct Pattern;

namespace LibDraw {

// Gives the templates (member 0) their style; later members copy it.
void SetupDrawing(Drawing &drawing, const LibSetup &setup);

// Index of a free, hidden member, brought to the front: the lowest hidden
// member, or a new one (mirrored at the same index). nullopt when the
// collection already holds the most members a 16-bit index can address.
std::optional<std::int16_t> AddLine(Drawing &drawing, MirrorForm &mirror);
std::optional<std::int16_t> AddShape(Drawing &drawing, MirrorForm &mirror);

// One element per line and shape of the pattern, set, shown and mirrored, as
// a load adds them; false when the drawing cannot take them all.
bool DrawPattern(Drawing &drawing, MirrorForm &mirror, const Pattern &pattern);

} // namespace LibDraw

} // namespace orvane
