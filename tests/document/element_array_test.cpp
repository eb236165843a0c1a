// Element arrays: the hidden template member 0, new members as hidden copies
// of it, hidden members as free slots (lowest first), and clearing.

#include "harness.h"

#include "document/elementarray.h"
#include "view/libdraw.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(ElementArray, FreshArrayHasCountOneAndAHiddenMember0)
{
    ElementArray<PatternLine> lines;
    EXPECT_EQ(lines.count(), 1);
    EXPECT_FALSE(lines[0].Visible);
    ElementArray<PatternShape> shapes;
    EXPECT_EQ(shapes.count(), 1);
    EXPECT_FALSE(shapes[0].Visible);
}

TEST(ElementArray, NewMemberIsAHiddenCopyOfMember0)
{
    ElementArray<PatternLine> lines;
    PatternLine &t = lines.member(0);
    t.BorderColor = 0;
    t.BorderWidth = 1;
    t.DrawMode = 13;
    t.X1 = 1;
    t.Y1 = 2;
    t.X2 = 3;
    t.Y2 = 4;
    lines.setVisible(0, true);
    ASSERT_TRUE(lines.addMember(1));
    EXPECT_EQ(lines.count(), 2);
    const PatternLine &m = lines[1];
    EXPECT_FALSE(m.Visible);
    EXPECT_EQ(m.BorderColor, 0u);
    EXPECT_EQ(m.BorderWidth, 1);
    EXPECT_EQ(m.DrawMode, 13);
    EXPECT_EQ(m.X1, 1.0f);
    EXPECT_EQ(m.Y1, 2.0f);
    EXPECT_EQ(m.X2, 3.0f);
    EXPECT_EQ(m.Y2, 4.0f);
}

TEST(ElementArray, ShapeMemberCopiesKindAndStyle)
{
    ElementArray<PatternShape> shapes;
    shapes.member(0).Shape = ShapeCircle;
    shapes.member(0).BorderColor = 0x123456;
    shapes.member(0).BorderWidth = 3;
    shapes.member(0).DrawMode = 6;
    shapes.member(0).Width = 50;
    ASSERT_TRUE(shapes.addMember(1));
    EXPECT_EQ(shapes[1].Shape, ShapeCircle);
    EXPECT_EQ(shapes[1].BorderColor, 0x123456u);
    EXPECT_EQ(shapes[1].BorderWidth, 3);
    EXPECT_EQ(shapes[1].DrawMode, 6);
    EXPECT_EQ(shapes[1].Width, 50.0f);
    EXPECT_FALSE(shapes[1].Visible);
}

TEST(ElementArray, LowestHiddenMemberIsTheFreeSlot)
{
    ElementArray<PatternLine> lines;
    EXPECT_EQ(lines.firstHidden(), 0);
    for (int i = 1; i < 5; ++i)
        ASSERT_TRUE(lines.addMember(i));
    for (int i = 0; i < 5; ++i)
        lines.setVisible(i, true);
    EXPECT_EQ(lines.firstHidden(), 5); // none hidden: Count
    lines.setVisible(3, false);
    EXPECT_EQ(lines.firstHidden(), 3);
    lines.setVisible(1, false);
    EXPECT_EQ(lines.firstHidden(), 1);
    lines.setVisible(1, true);
    EXPECT_EQ(lines.firstHidden(), 3);
    lines.setVisible(3, true);
    EXPECT_EQ(lines.firstHidden(), 5);
    lines.setVisible(0, false);
    EXPECT_EQ(lines.firstHidden(), 0);
}

TEST(ElementArray, ClearingKeepsOnlyMember0WithItsFields)
{
    ElementArray<PatternLine> lines;
    lines.member(0).X1 = 42;
    lines.setVisible(0, true);
    for (int i = 1; i < 4; ++i)
        ASSERT_TRUE(lines.addMember(i));
    int steps = 0;
    lines.removeAllButTemplate([&steps] { ++steps; });
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(lines.count(), 1);
    EXPECT_EQ(lines[0].X1, 42.0f);
    EXPECT_TRUE(lines[0].Visible);
    EXPECT_EQ(lines.firstHidden(), 1);
}

TEST(ElementArray, ClearingOnlyMember0RemovesNothing)
{
    ElementArray<PatternShape> shapes;
    int steps = 0;
    shapes.removeAllButTemplate([&steps] { ++steps; });
    EXPECT_EQ(steps, 0);
    EXPECT_EQ(shapes.count(), 1);
}

TEST(ElementArray, HoldsAtMost32767Members)
{
    ElementArray<PatternLine> lines;
    for (int i = 1; i < 32767; ++i)
        ASSERT_TRUE(lines.addMember(i));
    EXPECT_EQ(lines.count(), 32767);
    EXPECT_FALSE(lines.addMember(32767));
    EXPECT_EQ(lines.count(), 32767);
}

TEST(ElementArray, FullArrayMakesAddLineReportNoFreeMember)
{
    LibProgress progress;
    LibSetup setup;
    MirrorForm mirror{progress};
    Drawing drawing;
    LibDraw::SetupDrawing(drawing, setup);
    for (int i = 0; i < 32767; ++i) {
        const auto index = LibDraw::AddLine(drawing, mirror);
        ASSERT_TRUE(index.has_value());
        ASSERT_EQ(*index, i);
        drawing.OutLine.setVisible(*index, true);
    }
    EXPECT_FALSE(LibDraw::AddLine(drawing, mirror).has_value());
    // A free slot in the middle is still handed out.
    drawing.OutLine.setVisible(100, false);
    EXPECT_EQ(LibDraw::AddLine(drawing, mirror), 100);
}

TEST(ElementArray, LoadAfterClearingStartsAgainAtMember0)
{
    LoaderHarness h;
    PatternWriter five;
    five.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(5);
    for (int i = 0; i < 5; ++i)
        five.line(float(i), 0, 0, 0);
    five.integer(0).noPicture();
    ASSERT_TRUE(h.load(five, "five.pat"));
    ASSERT_EQ(h.drawing().OutLine.count(), 5);

    h.workForm.ClearDrawing();
    EXPECT_EQ(h.drawing().OutLine.count(), 1);
    EXPECT_FALSE(h.drawing().OutLine[0].Visible);

    PatternWriter three;
    three.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(3);
    for (int i = 0; i < 3; ++i)
        three.line(float(10 + i), 0, 0, 0);
    three.integer(0).noPicture();
    ASSERT_TRUE(h.load(three, "three.pat"));
    EXPECT_EQ(h.drawing().OutLine.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(h.drawing().OutLine[i].Visible);
        EXPECT_EQ(h.drawing().OutLine[i].X1, float(10 + i));
    }
}

TEST(ElementArray, LoadWithoutClearingFillsAfterTheVisibleMembers)
{
    // The loader does not clear: a second load appends (the main window clears
    // before every open).
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(2).line(1, 0, 0, 0).line(2, 0, 0, 0);
    w.integer(0).noPicture();
    ASSERT_TRUE(h.load(w, "a.pat"));
    ASSERT_TRUE(h.load(w, "b.pat"));
    EXPECT_EQ(h.drawing().OutLine.count(), 4);
    EXPECT_EQ(h.mirror.LineCount(), 4);
    EXPECT_EQ(h.visibleLines().size(), 4u);
}
