#include "libdraw.h"

#include "drawing.h"
#include "view/mirrorform.h"
#include "document/pattern.h"
#include "view/libsetup.h"

namespace orvane::LibDraw {

namespace {

// Lines and shapes are handed out the same way; only their mirror and their
// place in the front-to-back order differ.
template <typename Member, typename AddMirror, typename BringToFront>
std::optional<std::int16_t> addMember(ElementArray<Member> &members, AddMirror addMirror, BringToFront bringToFront)
{
    const int n = members.count();
    const int i = members.firstHidden();
    if (i == n) {
        if (!members.addMember(i) || !addMirror(i))
            return std::nullopt;
    }
    bringToFront(i);
    return static_cast<std::int16_t>(i);
}

} // namespace

void SetupDrawing(Drawing &drawing, const LibSetup &setup)
{
    const auto drawnStyle = [&setup](auto &member) {
        member.DrawMode = DrawModeCopyPen;
        member.BorderColor = setup.DrawColor(0);
        member.BorderWidth = setup.PenWidth();
    };
    drawnStyle(drawing.ArcLine.member(0));
    drawnStyle(drawing.OutLine.member(0));
    drawnStyle(drawing.OutShape.member(0));

    drawing.EditLine.DrawMode = DrawModeNot;
    drawing.EditLine.BorderWidth = setup.PenWidth();
    drawing.EditShape.DrawMode = DrawModeNot;

    drawing.HiddenPointWidth = 1.0f;
    drawing.HiddenPointHeight = 1.0f;
}

std::optional<std::int16_t> AddLine(Drawing &drawing, MirrorForm &mirror)
{
    return addMember(
        drawing.OutLine, [&](int i) { return mirror.nLine(i); }, [&](int i) { drawing.bringLineToFront(i); });
}

std::optional<std::int16_t> AddShape(Drawing &drawing, MirrorForm &mirror)
{
    return addMember(
        drawing.OutShape, [&](int i) { return mirror.nShape(i); }, [&](int i) { drawing.bringShapeToFront(i); });
}

bool DrawPattern(Drawing &drawing, MirrorForm &mirror, const Pattern &pattern)
{
    mirror.setPatternWidth(pattern.PageWidthTwips());
    mirror.setPatternHeight(pattern.PageHeightTwips());
    const int lines = static_cast<int>(pattern.lines.size());
    const int shapes = static_cast<int>(pattern.shapes.size());
    drawing.reserveLines(lines);
    mirror.reserveLines(lines);
    for (const PatternLine &from : pattern.lines) {
        const auto index = AddLine(drawing, mirror);
        if (!index)
            return false;
        PatternLine &line = drawing.OutLine.member(*index);
        line.X1 = from.X1;
        line.Y1 = from.Y1;
        line.X2 = from.X2;
        line.Y2 = from.Y2;
        drawing.OutLine.setVisible(*index, true);
        mirror.mLine(*index, line.X1, line.Y1, line.X2, line.Y2, false);
    }
    drawing.reserveShapes(shapes);
    mirror.reserveShapes(shapes);
    for (const PatternShape &from : pattern.shapes) {
        const auto index = AddShape(drawing, mirror);
        if (!index)
            return false;
        PatternShape &shape = drawing.OutShape.member(*index);
        shape.Shape = from.Shape;
        shape.Top = from.Top;
        shape.Left = from.Left;
        shape.Height = from.Height;
        shape.Width = from.Width;
        drawing.OutShape.setVisible(*index, true);
        mirror.mShape(*index, shape.Shape, shape.Top, shape.Left, shape.Height, shape.Width, false);
    }
    return true;
}

} // namespace orvane::LibDraw
