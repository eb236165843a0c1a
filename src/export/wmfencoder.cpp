#include "wmfencoder.h"

#include "metafilerecorder.h"
#include "scene.h"

#include <optional>

namespace orvane {

namespace {

constexpr std::uint32_t BrushColor = 0x000000FF;
constexpr std::uint16_t BrushHatch = 1;
constexpr std::uint32_t PenColor = 0x00000000;

} // namespace

std::vector<unsigned char> EncodeWmf(const Scene &scene, bool frame, std::int16_t penWidth)
{
    MetafileRecorder recorder;
    recorder.reserve(scene.elements.size() * 2 + 13);
    std::optional<std::uint16_t> pen;
    if (frame) {
        const auto right = static_cast<std::int16_t>(scene.pixelsX);
        const auto bottom = static_cast<std::int16_t>(scene.pixelsY);
        recorder.setWindowOrg(0, 0);
        recorder.setWindowExt(right, bottom);
        // Readers built on libwmf place the box of what is drawn, not the
        // window: an invisible rectangle over the page keeps its margins.
        recorder.saveDc();
        const std::uint16_t nullPen = recorder.createPenIndirect(MetafileRecorder::PenStyleNull, 0, 0);
        recorder.selectObject(nullPen);
        const std::uint16_t hollow =
            recorder.createBrushIndirect(MetafileRecorder::BrushStyleNull, BrushColor, BrushHatch);
        recorder.selectObject(hollow);
        recorder.rectangle(0, 0, right, bottom);
        recorder.restoreDc(); // the default pen and brush again
        recorder.deleteObject(hollow);
        recorder.deleteObject(nullPen);
        // The default pen is one device pixel, which some readers draw one
        // unit wide: too thin on paper at large widths.
        pen = recorder.createPenIndirect(MetafileRecorder::PenStyleSolid, penWidth, PenColor);
        recorder.selectObject(*pen);
    }
    const std::uint16_t brush = recorder.createBrushIndirect(MetafileRecorder::BrushStyleNull, BrushColor, BrushHatch);
    recorder.selectObject(brush);
    for (const SceneElement &e : scene.elements) {
        switch (e.kind) {
        case SceneElement::Line:
            recorder.moveTo(e.x1, e.y1);
            recorder.lineTo(e.x2, e.y2);
            break;
        case SceneElement::Rectangle:
            recorder.rectangle(e.x1, e.y1, e.x2, e.y2);
            break;
        case SceneElement::Ellipse:
            recorder.ellipse(e.x1, e.y1, e.x2, e.y2);
            break;
        }
    }
    // Selecting the previous brush back draws nothing and leaves no record.
    recorder.deleteObject(brush);
    if (pen)
        recorder.deleteObject(*pen);
    return recorder.finish();
}

} // namespace orvane
