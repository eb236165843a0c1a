// Element arrays (the hidden template member 0, new members as hidden copies
// of it, the lowest hidden member as the free slot, at most 32767) and the
// mirror store kept index for index with them.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;

TEST(ElementArray, NewMembersCopyMember0HiddenAndFreeSlotsGoLowestFirst)
{
    ElementArray<PatternShape> shapes;
    shapes.member(0).Shape = ShapeCircle;
    shapes.member(0).BorderColor = 0x123456;
    shapes.setVisible(0, true);
    ASSERT_TRUE(shapes.addMember(1));
    EXPECT_FALSE(shapes[1].Visible);
    EXPECT_EQ(shapes[1].Shape, ShapeCircle);
    EXPECT_EQ(shapes[1].BorderColor, 0x123456u);

    DrawingHarness h;
    for (int i = 0; i < 32767; ++i)
        ASSERT_EQ(h.line(float(i), 0, 0, 0), i);
    EXPECT_FALSE(LibDraw::AddLine(h.drawing(), h.mirror).has_value());
    h.drawing().OutLine.setVisible(300, false);
    h.drawing().OutLine.setVisible(100, false);
    // A reused member keeps its old values until the loader sets new ones.
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 100);
    EXPECT_EQ(h.drawing().OutLine[100].X1, 100.0f);
    h.drawing().OutLine.setVisible(100, true);
    EXPECT_EQ(h.line(1, 1, 1, 1), 300);
    EXPECT_EQ(h.mirror.LineCount(), 32767);
}

TEST(ElementArray, LoadAppendsUntilClearedAndTheMirrorFollows)
{
    auto lines = [](int n, float first) {
        PatternWriter w;
        w.header(2, 1, 0).settings21({}).integer(static_cast<std::int16_t>(n));
        for (int i = 0; i < n; ++i)
            w.line(first + float(i), 2, 3, 4);
        return w.integer(1).shape(ShapeCircle, 5, 6, 7, 8).noPicture();
    };
    LoaderHarness h;
    ASSERT_TRUE(h.load(lines(2, 1), "a.pat"));
    ASSERT_TRUE(h.load(lines(3, 1), "b.pat"));
    EXPECT_EQ(h.drawing().OutLine.count(), 5);
    EXPECT_EQ(h.mirror.LineCount(), 5);
    const PatternLine &l = h.mirror.MirrorLine()[4];
    EXPECT_EQ((std::vector<float>{l.X1, l.Y1, l.X2, l.Y2}), (std::vector<float>{3, 2, 3, 4}));
    const PatternShape &s = h.mirror.MirrorShape()[1];
    EXPECT_EQ((std::vector<float>{float(s.Shape), s.Left, s.Top, s.Width, s.Height}),
              (std::vector<float>{ShapeCircle, 5, 6, 7, 8}));

    h.workForm.ClearDrawing();
    EXPECT_EQ(h.drawing().OutLine.count() + h.drawing().OutShape.count(), 2);
    EXPECT_EQ(h.mirror.LineCount() + h.mirror.ShapeCount(), 2);
    EXPECT_FALSE(h.drawing().OutLine[0].Visible);
    ASSERT_TRUE(h.load(lines(3, 10), "c.pat"));
    EXPECT_EQ(h.lines().size(), 3u);
    EXPECT_EQ(h.drawing().OutLine[0].X1, 10.0f);
}

TEST(MirrorStore, ScaleAppliesOnlyWhenAskedAndDeletingOnlyHides)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    mirror.setPatternHeight(3000);
    mirror.UpdateMirrorScale(1000);
    mirror.mLine(0, 10, 20, 30, 40, true);
    const PatternLine &l = mirror.MirrorLine()[0];
    EXPECT_EQ((std::vector<float>{l.X1, l.Y1, l.X2, l.Y2}), (std::vector<float>{30, 60, 90, 120}));
    mirror.mShape(0, ShapeOval, 1, 2, 3, 4, false); // top, left, height, width
    const PatternShape &s = mirror.MirrorShape()[0];
    EXPECT_EQ((std::vector<float>{s.Top, s.Left, s.Height, s.Width}), (std::vector<float>{1, 2, 3, 4}));
    mirror.dShape(0);
    EXPECT_FALSE(s.Visible);
    EXPECT_EQ(s.Width, 4.0f);
}
