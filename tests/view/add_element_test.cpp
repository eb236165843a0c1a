// AddLine and AddShape: the free member they hand out, its style, its mirror,
// and the one front-to-back order of lines and shapes.

#include "harness.h"

#include "view/libdraw.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

using Order = std::vector<std::pair<char, int>>;

Order order(const Drawing &d)
{
    Order out;
    for (const DrawingItem &item : d.paintOrder())
        out.emplace_back(item.kind == DrawingItem::Line ? 'L' : 'S', item.index);
    return out;
}

template <typename Element>
void expectTemplateStyle(const Element &e, int drawMode = 13)
{
    EXPECT_EQ(e.DrawMode, drawMode);
    EXPECT_EQ(e.BorderColor, 0u);
    EXPECT_EQ(e.BorderWidth, 1);
    EXPECT_FALSE(e.Visible);
}

} // namespace

TEST(SetupDrawing, TemplatesCarryTheStyleAndStayHidden)
{
    DrawingHarness h;
    const Drawing &d = h.drawing();
    expectTemplateStyle(d.OutLine[0]);
    expectTemplateStyle(d.ArcLine[0]);
    expectTemplateStyle(d.OutShape[0]);
    EXPECT_EQ(d.EditLine.DrawMode, 6);
    EXPECT_EQ(d.EditShape.DrawMode, 6);
    EXPECT_FALSE(d.EditLine.Visible || d.EditShape.Visible);
    EXPECT_EQ(d.HiddenPointWidth, 1.0f);
    EXPECT_EQ(d.HiddenPointHeight, 1.0f);
}

TEST(AddElement, Member0IsReusedThenEachAddsAMemberAndItsMirror)
{
    DrawingHarness h;
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 0);
    EXPECT_EQ(LibDraw::AddShape(h.drawing(), h.mirror), 0);
    EXPECT_EQ(h.mirror.LineCount(), 1);
    EXPECT_EQ(h.mirror.ShapeCount(), 1);
    h.drawing().OutLine.setVisible(0, true);
    h.drawing().OutShape.setVisible(0, true);
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 1);
    EXPECT_EQ(LibDraw::AddShape(h.drawing(), h.mirror), 1);
    EXPECT_EQ(h.drawing().OutLine.count(), 2);
    EXPECT_EQ(h.drawing().OutShape.count(), 2);
    EXPECT_EQ(h.mirror.LineCount(), 2);
    EXPECT_EQ(h.mirror.ShapeCount(), 2);
    expectTemplateStyle(h.drawing().OutLine[1]);
    expectTemplateStyle(h.drawing().OutShape[1]);
    EXPECT_FALSE(h.mirror.MirrorLine()[1].Visible);
    // A member not shown is handed out again.
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 1);
    EXPECT_EQ(h.drawing().OutLine.count(), 2);
}

TEST(AddElement, LowestHiddenMemberFirstKeepingItsOldSettings)
{
    DrawingHarness h;
    for (int i = 0; i < 6; ++i)
        h.line(float(i), 0, float(i), 10);
    h.drawing().OutLine.setVisible(4, false);
    h.drawing().OutLine.setVisible(1, false);
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 1);
    // A reused member keeps its old end points until the loader sets new ones.
    EXPECT_EQ(h.drawing().OutLine[1].X1, 1.0f);
    EXPECT_EQ(h.drawing().OutLine[1].Y2, 10.0f);
    h.drawing().OutLine.setVisible(1, true);
    EXPECT_EQ(h.line(1, 1, 1, 1), 4);
    EXPECT_EQ(h.line(1, 1, 1, 1), 6);
    EXPECT_EQ(h.mirror.LineCount(), 7);
}

TEST(DrawingOrder, LinesAndShapesShareOneFrontToBackOrder)
{
    DrawingHarness h;
    h.line(0, 0, 1, 1);
    h.shape(0, 0, 0, 1, 1);
    h.line(0, 0, 1, 1);
    h.shape(0, 0, 0, 1, 1);
    EXPECT_EQ(order(h.drawing()), (Order{{'L', 0}, {'S', 0}, {'L', 1}, {'S', 1}}));
    // A member handed out again comes to the front.
    h.drawing().OutLine.setVisible(0, false);
    EXPECT_EQ(h.line(5, 5, 6, 6), 0);
    EXPECT_EQ(order(h.drawing()), (Order{{'S', 0}, {'L', 1}, {'S', 1}, {'L', 0}}));
    // Clearing forgets the order of the removed members.
    h.workForm.ClearDrawing();
    h.shape(0, 0, 0, 1, 1);
    h.line(0, 0, 1, 1);
    EXPECT_EQ(order(h.drawing()), (Order{{'S', 0}, {'L', 0}}));
}

TEST(DrawingOrder, LoadedShapesLieInFrontOfLoadedLines)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(2).line(1, 1, 2, 2).line(3, 3, 4, 4);
    ASSERT_TRUE(h.load(w.integer(2).shape(0, 1, 1, 1, 1).shape(2, 2, 2, 2, 2).noPicture()));
    EXPECT_EQ(order(h.drawing()), (Order{{'L', 0}, {'L', 1}, {'S', 0}, {'S', 1}}));
}
