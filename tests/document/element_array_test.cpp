// Element arrays: the hidden template member 0, new members as hidden copies
// of it, hidden members as free slots (lowest first), and clearing.

#include "harness.h"

#include "document/elementarray.h"
#include "view/libdraw.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(ElementArray, NewMemberIsAHiddenCopyOfMember0)
{
    ElementArray<PatternShape> shapes;
    EXPECT_EQ(shapes.count(), 1);
    EXPECT_FALSE(shapes[0].Visible);
    PatternShape &t = shapes.member(0);
    t.Shape = ShapeCircle;
    t.BorderColor = 0x123456;
    t.BorderWidth = 3;
    t.DrawMode = 6;
    t.Width = 50;
    shapes.setVisible(0, true);
    ASSERT_TRUE(shapes.addMember(1));
    EXPECT_EQ(shapes.count(), 2);
    EXPECT_FALSE(shapes[1].Visible);
    EXPECT_EQ(shapes[1].Shape, ShapeCircle);
    EXPECT_EQ(shapes[1].BorderColor, 0x123456u);
    EXPECT_EQ(shapes[1].BorderWidth, 3);
    EXPECT_EQ(shapes[1].DrawMode, 6);
    EXPECT_EQ(shapes[1].Width, 50.0f);
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
    lines.setVisible(1, false);
    EXPECT_EQ(lines.firstHidden(), 1);
    lines.setVisible(1, true);
    EXPECT_EQ(lines.firstHidden(), 3);
}

TEST(ElementArray, ClearingKeepsOnlyMember0WithItsFields)
{
    ElementArray<PatternLine> lines;
    int steps = 0;
    lines.removeAllButTemplate([&steps] { ++steps; });
    EXPECT_EQ(steps, 0);
    lines.member(0).X1 = 42;
    lines.setVisible(0, true);
    for (int i = 1; i < 4; ++i)
        ASSERT_TRUE(lines.addMember(i));
    lines.removeAllButTemplate([&steps] { ++steps; });
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(lines.count(), 1);
    EXPECT_EQ(lines[0].X1, 42.0f);
    EXPECT_TRUE(lines[0].Visible);
}

TEST(ElementArray, HoldsAtMost32767MembersAndHandsOutAFreedOne)
{
    LibProgress progress;
    LibSetup setup;
    MirrorForm mirror{progress};
    Drawing drawing;
    LibDraw::SetupDrawing(drawing, setup);
    for (int i = 0; i < 32767; ++i) {
        const auto index = LibDraw::AddLine(drawing, mirror);
        ASSERT_EQ(index, i);
        drawing.OutLine.setVisible(*index, true);
    }
    EXPECT_FALSE(LibDraw::AddLine(drawing, mirror).has_value());
    EXPECT_FALSE(drawing.OutLine.addMember(32767));
    drawing.OutLine.setVisible(100, false);
    EXPECT_EQ(LibDraw::AddLine(drawing, mirror), 100);
}

TEST(ElementArray, LoadFillsAfterTheVisibleMembersAndStartsAgainAfterClearing)
{
    auto lines = [](int n, float first) {
        PatternWriter w;
        w.header(2, 1, 0).settings21({}).integer(static_cast<std::int16_t>(n));
        for (int i = 0; i < n; ++i)
            w.line(first + float(i), 0, 0, 0);
        return w.integer(1).shape(0, 1, 1, 1, 1).noPicture();
    };
    LoaderHarness h;
    // The loader does not clear: a second load appends.
    ASSERT_TRUE(h.load(lines(2, 1), "a.pat"));
    ASSERT_TRUE(h.load(lines(3, 1), "b.pat"));
    EXPECT_EQ(h.drawing().OutLine.count(), 5);
    EXPECT_EQ(h.mirror.LineCount(), 5);

    h.workForm.ClearDrawing();
    EXPECT_EQ(h.drawing().OutLine.count(), 1);
    EXPECT_FALSE(h.drawing().OutLine[0].Visible);
    EXPECT_EQ(h.mirror.LineCount(), 1);
    EXPECT_EQ(h.mirror.ShapeCount(), 1);
    EXPECT_EQ(h.mirror.PatternWidth(), 12240.0f); // the page size stays

    ASSERT_TRUE(h.load(lines(3, 10), "c.pat"));
    EXPECT_EQ(h.drawing().OutLine.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(h.drawing().OutLine[i].Visible);
        EXPECT_EQ(h.drawing().OutLine[i].X1, float(10 + i));
    }
}

TEST(ElementArray, LoadReadsCount32767)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(32767);
    for (int i = 0; i < 32767; ++i)
        w.line(float(i), 0, float(i), 10);
    ASSERT_TRUE(h.load(w.integer(0).noPicture()));
    EXPECT_EQ(h.drawing().OutLine.count(), 32767);
    EXPECT_EQ(h.mirror.LineCount(), 32767);
    EXPECT_EQ(h.drawing().OutLine[32766].X1, 32766.0f);
    EXPECT_TRUE(h.drawing().OutLine[32766].Visible);
}
