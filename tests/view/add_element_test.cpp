// AddLine and AddShape: the free member they hand out, its style, its mirror,
// and the one front-to-back order of lines and shapes.

#include "harness.h"

#include "view/libdraw.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

std::vector<std::pair<char, int>> order(const Drawing &d)
{
    std::vector<std::pair<char, int>> out;
    for (const DrawingItem &item : d.paintOrder())
        out.emplace_back(item.kind == DrawingItem::Line ? 'L' : 'S', item.index);
    return out;
}

} // namespace

TEST(SetupDrawing, TemplatesCarryTheStyleAndStayHidden)
{
    DrawingHarness h;
    const Drawing &d = h.drawing();
    for (const PatternLine *l : {&d.OutLine[0], &d.ArcLine[0]}) {
        EXPECT_EQ(l->DrawMode, 13);
        EXPECT_EQ(l->BorderColor, 0u);
        EXPECT_EQ(l->BorderWidth, 1);
        EXPECT_FALSE(l->Visible);
    }
    EXPECT_EQ(d.OutShape[0].DrawMode, 13);
    EXPECT_EQ(d.OutShape[0].BorderColor, 0u);
    EXPECT_EQ(d.OutShape[0].BorderWidth, 1);
    EXPECT_FALSE(d.OutShape[0].Visible);
    EXPECT_EQ(d.EditLine.DrawMode, 6);
    EXPECT_EQ(d.EditLine.BorderWidth, 1);
    EXPECT_FALSE(d.EditLine.Visible);
    EXPECT_EQ(d.EditShape.DrawMode, 6);
    EXPECT_FALSE(d.EditShape.Visible);
    EXPECT_EQ(d.HiddenPointWidth, 1.0f);
    EXPECT_EQ(d.HiddenPointHeight, 1.0f);
    EXPECT_EQ(d.ArcLine.count(), 1);
}

TEST(AddLine, FirstLineReusesMember0WithoutAMirrorCall)
{
    DrawingHarness h;
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 0);
    EXPECT_EQ(h.drawing().OutLine.count(), 1);
    EXPECT_EQ(h.mirror.LineCount(), 1);
}

TEST(AddLine, SecondLineAddsMember1AndItsMirror)
{
    DrawingHarness h;
    ASSERT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 0);
    h.drawing().OutLine.setVisible(0, true);
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 1);
    EXPECT_EQ(h.drawing().OutLine.count(), 2);
    EXPECT_EQ(h.mirror.LineCount(), 2);
    const PatternLine &l = h.drawing().OutLine[1];
    EXPECT_FALSE(l.Visible);
    EXPECT_EQ(l.BorderColor, 0u);
    EXPECT_EQ(l.BorderWidth, 1);
    EXPECT_EQ(l.DrawMode, 13);
    EXPECT_FALSE(h.mirror.MirrorLine()[1].Visible);
}

TEST(AddShape, FirstReusesMember0SecondAddsMember1AndItsMirror)
{
    DrawingHarness h;
    EXPECT_EQ(LibDraw::AddShape(h.drawing(), h.mirror), 0);
    EXPECT_EQ(h.mirror.ShapeCount(), 1);
    h.drawing().OutShape.setVisible(0, true);
    EXPECT_EQ(LibDraw::AddShape(h.drawing(), h.mirror), 1);
    EXPECT_EQ(h.drawing().OutShape.count(), 2);
    EXPECT_EQ(h.mirror.ShapeCount(), 2);
    const PatternShape &s = h.drawing().OutShape[1];
    EXPECT_FALSE(s.Visible);
    EXPECT_EQ(s.BorderColor, 0u);
    EXPECT_EQ(s.BorderWidth, 1);
    EXPECT_EQ(s.DrawMode, 13);
}

TEST(AddLine, MemberNotShownIsHandedOutAgain)
{
    DrawingHarness h;
    EXPECT_EQ(h.line(1, 1, 1, 1), 0);
    ASSERT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 1); // the loader gives up on it
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 1);
    EXPECT_EQ(h.drawing().OutLine.count(), 2);
    EXPECT_EQ(h.mirror.LineCount(), 2);
}

TEST(AddLine, HiddenMemberInTheMiddleIsHandedOutAndKeepsItsSettings)
{
    DrawingHarness h;
    for (int i = 0; i < 4; ++i)
        h.line(float(i), 0, float(i), 10);
    h.drawing().OutLine.setVisible(2, false);
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 2);
    EXPECT_EQ(h.drawing().OutLine.count(), 4);
    EXPECT_EQ(h.mirror.LineCount(), 4);
    // A reused member keeps its old end points until the loader sets new ones.
    EXPECT_EQ(h.drawing().OutLine[2].X1, 2.0f);
    EXPECT_EQ(h.drawing().OutLine[2].Y2, 10.0f);
}

TEST(AddLine, LowestHiddenMemberFirst)
{
    DrawingHarness h;
    for (int i = 0; i < 6; ++i)
        h.line(0, 0, 0, 0);
    h.drawing().OutLine.setVisible(4, false);
    h.drawing().OutLine.setVisible(1, false);
    EXPECT_EQ(h.line(1, 1, 1, 1), 1);
    EXPECT_EQ(h.line(1, 1, 1, 1), 4);
    EXPECT_EQ(h.line(1, 1, 1, 1), 6);
}

TEST(DrawingOrder, LinesAndShapesShareOneFrontToBackOrder)
{
    DrawingHarness h;
    h.line(0, 0, 1, 1);
    h.shape(0, 0, 0, 1, 1);
    h.line(0, 0, 1, 1);
    h.shape(0, 0, 0, 1, 1);
    EXPECT_EQ(order(h.drawing()),
              (std::vector<std::pair<char, int>>{{'L', 0}, {'S', 0}, {'L', 1}, {'S', 1}}));
    // A member handed out again comes to the front.
    h.drawing().OutLine.setVisible(0, false);
    EXPECT_EQ(h.line(5, 5, 6, 6), 0);
    EXPECT_EQ(order(h.drawing()),
              (std::vector<std::pair<char, int>>{{'S', 0}, {'L', 1}, {'S', 1}, {'L', 0}}));
}

TEST(DrawingOrder, LoadedShapesLieInFrontOfLoadedLines)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{});
    w.integer(2).line(1, 1, 2, 2).line(3, 3, 4, 4).integer(2).shape(0, 1, 1, 1, 1).shape(2, 2, 2, 2, 2).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(order(h.drawing()),
              (std::vector<std::pair<char, int>>{{'L', 0}, {'L', 1}, {'S', 0}, {'S', 1}}));
}

TEST(DrawingOrder, ClearingForgetsTheOrderOfRemovedMembers)
{
    DrawingHarness h;
    h.line(0, 0, 1, 1);
    h.line(0, 0, 1, 1);
    h.shape(0, 0, 0, 1, 1);
    h.workForm.ClearDrawing();
    EXPECT_EQ(order(h.drawing()).size(), 2u); // the two templates
    h.shape(0, 0, 0, 1, 1);
    h.line(0, 0, 1, 1);
    EXPECT_EQ(order(h.drawing()), (std::vector<std::pair<char, int>>{{'S', 0}, {'L', 0}}));
}
