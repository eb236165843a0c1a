#include "libdraw.h"

#include "drawing.h"
#include "document/mirrorform.h"
#include "shell/libsetup.h"

namespace orvane::LibDraw {

void SetupDrawing(Drawing &drawing, const LibSetup &setup)
{
    auto &arc = drawing.ArcLine.member(0);
    arc.DrawMode = DrawModeCopyPen;
    arc.BorderColor = setup.DrawColor(0);
    arc.BorderWidth = setup.PenWidth();

    auto &line = drawing.OutLine.member(0);
    line.DrawMode = DrawModeCopyPen;
    line.BorderColor = setup.DrawColor(0);
    line.BorderWidth = setup.PenWidth();

    drawing.EditLine.DrawMode = DrawModeNot;
    drawing.EditLine.BorderWidth = setup.PenWidth();

    auto &shape = drawing.OutShape.member(0);
    shape.DrawMode = DrawModeCopyPen;
    shape.BorderColor = setup.DrawColor(0);
    shape.BorderWidth = setup.PenWidth();

    drawing.EditShape.DrawMode = DrawModeNot;

    drawing.HiddenPointWidth = 1.0f;
    drawing.HiddenPointHeight = 1.0f;
}

std::optional<std::int16_t> AddLine(Drawing &drawing, MirrorForm &mirror)
{
    const int n = drawing.OutLine.count();
    const int i = drawing.OutLine.firstHidden();
    if (i == n) {
        if (!drawing.OutLine.addMember(i) || !mirror.nLine(i))
            return std::nullopt;
    }
    drawing.bringLineToFront(i);
    return static_cast<std::int16_t>(i);
}

std::optional<std::int16_t> AddShape(Drawing &drawing, MirrorForm &mirror)
{
    const int n = drawing.OutShape.count();
    const int i = drawing.OutShape.firstHidden();
    if (i == n) {
        if (!drawing.OutShape.addMember(i) || !mirror.nShape(i))
            return std::nullopt;
    }
    drawing.bringShapeToFront(i);
    return static_cast<std::int16_t>(i);
}

} // namespace orvane::LibDraw
