// The drawing's templates, AddLine and AddShape with their mirrors, and the
// one front-to-back order of lines and shapes.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

std::string order(const Drawing &d)
{
    std::string out;
    for (const DrawingItem &item : d.paintOrder())
        out += (item.kind == DrawingItem::Line ? "L" : "S") + std::to_string(item.index) + " ";
    return out;
}

} // namespace

TEST(AddElement, TemplatesCarryTheStyleAndEachAddGrowsTheMirrorToo)
{
    DrawingHarness h;
    const Drawing &d = h.drawing();
    auto style = [](const auto &e) {
        return std::tuple(int(e.DrawMode), e.BorderColor, int(e.BorderWidth), e.Visible);
    };
    EXPECT_EQ(style(d.OutLine[0]), std::tuple(13, 0u, 1, false));
    EXPECT_EQ(style(d.ArcLine[0]), std::tuple(13, 0u, 1, false));
    EXPECT_EQ(style(d.OutShape[0]), std::tuple(13, 0u, 1, false));
    EXPECT_EQ(std::tuple(d.EditLine.DrawMode, d.EditShape.DrawMode, d.EditLine.Visible), std::tuple(6, 6, false));
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 0); // member 0 first
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 0); // still hidden: handed out again
    h.drawing().OutLine.setVisible(0, true);
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 1);
    EXPECT_EQ(LibDraw::AddShape(h.drawing(), h.mirror), 0);
    EXPECT_EQ(std::tuple(d.OutLine.count(), h.mirror.LineCount(), d.OutLine[1].DrawMode), std::tuple(2, 2, 13));
}

TEST(DrawingOrder, LinesAndShapesShareOneFrontToBackOrder)
{
    DrawingHarness h;
    h.line(0, 0, 1, 1);
    h.shape(0, 0, 0, 1, 1);
    h.line(0, 0, 1, 1);
    h.drawing().OutLine.setVisible(0, false);
    EXPECT_EQ(h.line(5, 5, 6, 6), 0); // a member handed out again comes to the front
    EXPECT_EQ(order(h.drawing()), "S0 L1 L0 ");
    h.workForm.ClearDrawing(); // clearing forgets the order
    h.shape(0, 0, 0, 1, 1);
    h.line(0, 0, 1, 1);
    EXPECT_EQ(order(h.drawing()), "S0 L0 ");

    LoaderHarness l; // a load puts its shapes in front of its lines
    ASSERT_TRUE(l.load(PatternWriter().header(2, 1, 0).settings21({}).integer(2).line(1, 1, 2, 2).line(3, 3, 4, 4)
                           .integer(1).shape(0, 1, 1, 1, 1).noPicture()));
    EXPECT_EQ(order(l.drawing()), "L0 L1 S0 ");
}
