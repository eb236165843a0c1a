// Element arrays (template member 0, lowest hidden member free) and the mirror store beside them.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;
using Rows = std::vector<std::vector<float>>;

TEST(ElementArray, NewMembersCopyMember0HiddenAndFreeSlotsGoLowestFirst)
{
    ElementArray<PatternShape> shapes;
    shapes.member(0).Shape = ShapeCircle;
    shapes.setVisible(0, true);
    ASSERT_TRUE(shapes.addMember(1));
    EXPECT_EQ((std::pair<bool, int>(shapes[1].Visible, shapes[1].Shape)), (std::pair<bool, int>(false, ShapeCircle)));
    DrawingHarness h;
    for (int i = 0; i < 32767; ++i)
        ASSERT_EQ(h.line(float(i), 0, 0, 0), i);
    EXPECT_FALSE(LibDraw::AddLine(h.drawing(), h.mirror).has_value());
    h.drawing().OutLine.setVisible(300, false);
    h.drawing().OutLine.setVisible(100, false);
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 100);
    EXPECT_EQ(h.drawing().OutLine[100].X1, 100.0f); // kept until the loader sets new values
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
    EXPECT_EQ(h.drawing().OutLine.count() + h.mirror.LineCount(), 10);
    const PatternLine &l = h.mirror.MirrorLine()[4];
    const PatternShape &s = h.mirror.MirrorShape()[1];
    EXPECT_EQ((Rows{{l.X1, l.Y1, l.X2, l.Y2}, {float(s.Shape), s.Left, s.Top, s.Width, s.Height}}),
              (Rows{{3, 2, 3, 4}, {ShapeCircle, 5, 6, 7, 8}}));
    h.workForm.ClearDrawing();
    EXPECT_EQ(h.mirror.LineCount() + h.mirror.ShapeCount(), 2);
    ASSERT_TRUE(h.load(lines(3, 10), "c.pat"));
    EXPECT_EQ(h.visible(), (Rows{{10, 2, 3, 4}, {11, 2, 3, 4}, {12, 2, 3, 4}, {ShapeCircle, 5, 6, 7, 8}}));
}

TEST(MirrorStore, ScaleAppliesOnlyWhenAskedAndDeletingOnlyHides)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    mirror.setPatternHeight(3000);
    mirror.UpdateMirrorScale(1000);
    mirror.mLine(0, 10, 20, 30, 40, true);
    mirror.mShape(0, ShapeOval, 1, 2, 3, 4, false); // top, left, height, width
    const PatternLine &l = mirror.MirrorLine()[0];
    const PatternShape &s = mirror.MirrorShape()[0];
    EXPECT_EQ((Rows{{l.X1, l.Y1, l.X2, l.Y2}, {s.Top, s.Left, s.Height, s.Width}}), (Rows{{30, 60, 90, 120}, {1, 2, 3, 4}}));
    mirror.dShape(0);
    EXPECT_EQ(std::pair(s.Visible, s.Width), std::pair(false, 4.0f));
}
