// The mirror store: a copy of every element kept index for index with the
// work window, scaled only when asked, and ClearMirror.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(MirrorStore, ShapesTakeTopBeforeLeftAndHeightBeforeWidth)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    EXPECT_FALSE(mirror.MirrorShape()[0].Visible);
    mirror.mShape(0, ShapeOval, 100, 200, 300, 400, false);
    const PatternShape &s = mirror.MirrorShape()[0];
    EXPECT_EQ(s.Shape, ShapeOval);
    EXPECT_EQ(s.Top, 100.0f);
    EXPECT_EQ(s.Left, 200.0f);
    EXPECT_EQ(s.Height, 300.0f);
    EXPECT_EQ(s.Width, 400.0f);
    EXPECT_TRUE(s.Visible);
    // Deleting only hides.
    mirror.dShape(0);
    EXPECT_FALSE(mirror.MirrorShape()[0].Visible);
    EXPECT_EQ(mirror.MirrorShape()[0].Width, 400.0f);
}

TEST(MirrorStore, ScaleAppliesOnlyWhenAsked)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    mirror.setPatternHeight(3000);
    mirror.UpdateMirrorScale(1000);
    EXPECT_EQ(mirror.MirrorScale(), 3.0f);
    mirror.mLine(0, 10, 20, 30, 40, false);
    EXPECT_EQ(mirror.MirrorLine()[0].X1, 10.0f);
    EXPECT_EQ(mirror.MirrorLine()[0].Y2, 40.0f);
    mirror.mLine(0, 10, 20, 30, 40, true);
    EXPECT_EQ(mirror.MirrorLine()[0].X1, 30.0f);
    EXPECT_EQ(mirror.MirrorLine()[0].Y1, 60.0f);
    EXPECT_EQ(mirror.MirrorLine()[0].X2, 90.0f);
    EXPECT_EQ(mirror.MirrorLine()[0].Y2, 120.0f);
    mirror.mShape(0, 1, 1, 2, 3, 4, true);
    EXPECT_EQ(mirror.MirrorShape()[0].Top, 3.0f);
    EXPECT_EQ(mirror.MirrorShape()[0].Left, 6.0f);
    EXPECT_EQ(mirror.MirrorShape()[0].Height, 9.0f);
    EXPECT_EQ(mirror.MirrorShape()[0].Width, 12.0f);
}

TEST(MirrorStore, ClearMirrorKeepsMember0AndStepsOncePerRemovedMember)
{
    RecordingProgressView view;
    LibProgress progress{&view};
    progress.SetProgressEnabled(true);
    MirrorForm mirror{progress};
    progress.StartProgress(0, 100, "Erasing - Please wait...", false);
    const auto bars = view.count("bar");
    mirror.ClearMirror(); // members 0 alone: no step
    EXPECT_EQ(view.count("bar"), bars);

    mirror.mLine(0, 7, 8, 9, 10, false);
    for (int i = 1; i < 4; ++i)
        ASSERT_TRUE(mirror.nLine(i));
    for (int i = 1; i < 3; ++i)
        ASSERT_TRUE(mirror.nShape(i));
    mirror.ClearMirror();
    EXPECT_EQ(progress.value(), 5.0f); // 3 lines and 2 shapes removed
    EXPECT_EQ(mirror.LineCount(), 1);
    EXPECT_EQ(mirror.ShapeCount(), 1);
    EXPECT_TRUE(mirror.MirrorLine()[0].Visible);
    EXPECT_EQ(mirror.MirrorLine()[0].X1, 7.0f);
}

TEST(MirrorStore, LoadKeepsTheCountsEqualAndCopiesEveryElement)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(3).line(1, 2, 3, 4).line(5, 6, 7, 8).line(9, 10, 11, 12);
    w.integer(2).shape(ShapeSquare, 10, 20, 30, 40).shape(ShapeCircle, 50, 60, 70, 80).noPicture();
    ASSERT_TRUE(h.load(w));
    const Drawing &d = h.drawing();
    ASSERT_EQ(h.mirror.LineCount(), 3);
    ASSERT_EQ(h.mirror.ShapeCount(), 2);
    EXPECT_EQ(d.OutLine.count(), 3);
    EXPECT_EQ(d.OutShape.count(), 2);
    for (int i = 0; i < 3; ++i) {
        const PatternLine &m = h.mirror.MirrorLine()[i];
        EXPECT_TRUE(m.Visible);
        EXPECT_EQ(std::vector<float>({m.X1, m.Y1, m.X2, m.Y2}),
                  std::vector<float>({d.OutLine[i].X1, d.OutLine[i].Y1, d.OutLine[i].X2, d.OutLine[i].Y2}));
    }
    const PatternShape &m = h.mirror.MirrorShape()[1];
    EXPECT_TRUE(m.Visible);
    EXPECT_EQ(m.Shape, ShapeCircle);
    EXPECT_EQ(std::vector<float>({m.Left, m.Top, m.Width, m.Height}), std::vector<float>({50, 60, 70, 80}));
    EXPECT_EQ(h.mirror.PatternWidth(), 12240.0f);
    EXPECT_EQ(h.mirror.PatternHeight(), 15840.0f);
}
