// The mirror store: a copy of every element kept index for index with the
// work window, the page size, and ClearMirror.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(MirrorStore, FreshStoreHoldsOnlyHiddenMembers0)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    EXPECT_EQ(mirror.LineCount(), 1);
    EXPECT_EQ(mirror.ShapeCount(), 1);
    EXPECT_FALSE(mirror.MirrorLine()[0].Visible);
    EXPECT_FALSE(mirror.MirrorShape()[0].Visible);
    EXPECT_EQ(mirror.MirrorScale(), 1.0f);
}

TEST(MirrorStore, MShapeTakesTopBeforeLeftAndHeightBeforeWidth)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    mirror.mShape(0, ShapeOval, 100, 200, 300, 400, false);
    const PatternShape &s = mirror.MirrorShape()[0];
    EXPECT_EQ(s.Shape, ShapeOval);
    EXPECT_EQ(s.Top, 100.0f);
    EXPECT_EQ(s.Left, 200.0f);
    EXPECT_EQ(s.Height, 300.0f);
    EXPECT_EQ(s.Width, 400.0f);
    EXPECT_TRUE(s.Visible);
}

TEST(MirrorStore, MLineSetsAndShows)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    ASSERT_TRUE(mirror.nLine(1));
    mirror.mLine(1, 1.5f, 2.5f, 3.5f, 4.5f, false);
    const PatternLine &l = mirror.MirrorLine()[1];
    EXPECT_EQ(l.X1, 1.5f);
    EXPECT_EQ(l.Y1, 2.5f);
    EXPECT_EQ(l.X2, 3.5f);
    EXPECT_EQ(l.Y2, 4.5f);
    EXPECT_TRUE(l.Visible);
    EXPECT_FALSE(mirror.MirrorLine()[0].Visible);
}

TEST(MirrorStore, ScaleAppliesOnlyWhenAsked)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    // With the initial scale 1.0 a scaled call stores the values too.
    mirror.mLine(0, 10, 20, 30, 40, true);
    EXPECT_EQ(mirror.MirrorLine()[0].X2, 30.0f);

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

TEST(MirrorStore, PageSizeWritesAreIndependent)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    mirror.setPatternWidth(12240);
    EXPECT_EQ(mirror.PatternWidth(), 12240.0f);
    const float height = mirror.PatternHeight();
    mirror.setPatternHeight(15840);
    EXPECT_EQ(mirror.PatternWidth(), 12240.0f);
    EXPECT_NE(mirror.PatternHeight(), height);
    EXPECT_EQ(mirror.MirrorScale(), 1.0f);
}

TEST(MirrorStore, DLineAndDShapeOnlyHide)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    mirror.mLine(0, 1, 2, 3, 4, false);
    mirror.dLine(0);
    EXPECT_FALSE(mirror.MirrorLine()[0].Visible);
    EXPECT_EQ(mirror.MirrorLine()[0].X2, 3.0f);
    mirror.mShape(0, 2, 1, 2, 3, 4, false);
    mirror.dShape(0);
    EXPECT_FALSE(mirror.MirrorShape()[0].Visible);
    EXPECT_EQ(mirror.MirrorShape()[0].Width, 4.0f);
    EXPECT_EQ(mirror.LineCount(), 1);
}

TEST(MirrorStore, ClearMirrorKeepsMember0AsItIs)
{
    LibProgress progress;
    MirrorForm mirror{progress};
    mirror.mLine(0, 7, 8, 9, 10, false);
    for (int i = 1; i < 4; ++i)
        ASSERT_TRUE(mirror.nLine(i));
    ASSERT_TRUE(mirror.nShape(1));
    mirror.ClearMirror();
    EXPECT_EQ(mirror.LineCount(), 1);
    EXPECT_EQ(mirror.ShapeCount(), 1);
    EXPECT_TRUE(mirror.MirrorLine()[0].Visible);
    EXPECT_EQ(mirror.MirrorLine()[0].X1, 7.0f);
    EXPECT_EQ(mirror.MirrorLine()[0].Y2, 10.0f);
}

TEST(MirrorStore, ClearMirrorStepsOncePerRemovedMember)
{
    RecordingProgressView view;
    LibProgress progress{&view};
    progress.SetProgressEnabled(true);
    MirrorForm mirror{progress};
    for (int i = 1; i < 4; ++i)
        ASSERT_TRUE(mirror.nLine(i));
    for (int i = 1; i < 3; ++i)
        ASSERT_TRUE(mirror.nShape(i));
    progress.StartProgress(0, 100, "Erasing - Please wait...", false);
    mirror.ClearMirror();
    EXPECT_EQ(progress.value(), 5.0f); // 3 lines and 2 shapes removed
}

TEST(MirrorStore, ClearMirrorOfMembers0AloneDoesNotStep)
{
    RecordingProgressView view;
    LibProgress progress{&view};
    progress.SetProgressEnabled(true);
    MirrorForm mirror{progress};
    progress.StartProgress(0, 10, "Erasing - Please wait...", false);
    const auto bars = view.count("bar");
    mirror.ClearMirror();
    EXPECT_EQ(progress.value(), 0.0f);
    EXPECT_EQ(view.count("bar"), bars);
}

TEST(MirrorStore, LoadKeepsTheCountsEqualAndCopiesEveryElement)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{});
    w.integer(3).line(1, 2, 3, 4).line(5, 6, 7, 8).line(9, 10, 11, 12);
    w.integer(2).shape(ShapeSquare, 10, 20, 30, 40).shape(ShapeCircle, 50, 60, 70, 80).noPicture();
    ASSERT_TRUE(h.load(w));
    const Drawing &d = h.drawing();
    EXPECT_EQ(h.mirror.LineCount(), d.OutLine.count());
    EXPECT_EQ(h.mirror.ShapeCount(), d.OutShape.count());
    EXPECT_EQ(h.mirror.LineCount(), 3);
    EXPECT_EQ(h.mirror.ShapeCount(), 2);
    for (int i = 0; i < 3; ++i) {
        const PatternLine &m = h.mirror.MirrorLine()[i];
        EXPECT_TRUE(m.Visible);
        EXPECT_EQ(m.X1, d.OutLine[i].X1);
        EXPECT_EQ(m.Y1, d.OutLine[i].Y1);
        EXPECT_EQ(m.X2, d.OutLine[i].X2);
        EXPECT_EQ(m.Y2, d.OutLine[i].Y2);
    }
    for (int i = 0; i < 2; ++i) {
        const PatternShape &m = h.mirror.MirrorShape()[i];
        EXPECT_TRUE(m.Visible);
        EXPECT_EQ(m.Shape, d.OutShape[i].Shape);
        EXPECT_EQ(m.Left, d.OutShape[i].Left);
        EXPECT_EQ(m.Top, d.OutShape[i].Top);
        EXPECT_EQ(m.Width, d.OutShape[i].Width);
        EXPECT_EQ(m.Height, d.OutShape[i].Height);
    }
    EXPECT_EQ(h.mirror.MirrorShape()[1].Left, 50.0f);
    EXPECT_EQ(h.mirror.MirrorShape()[1].Top, 60.0f);
    EXPECT_EQ(h.mirror.PatternWidth(), 12240.0f);
    EXPECT_EQ(h.mirror.PatternHeight(), 15840.0f);
}

TEST(MirrorStore, PatternWithoutLinesLeavesMember0Hidden)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.mirror.LineCount(), 1);
    EXPECT_FALSE(h.mirror.MirrorLine()[0].Visible);
}

TEST(MirrorStore, ClearDrawingEmptiesTheMirrorToo)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(3).line(1, 2, 3, 4).line(1, 2, 3, 4).line(1, 2, 3, 4);
    w.integer(1).shape(0, 1, 1, 1, 1).noPicture();
    ASSERT_TRUE(h.load(w));
    h.workForm.ClearDrawing();
    EXPECT_EQ(h.mirror.LineCount(), 1);
    EXPECT_EQ(h.mirror.ShapeCount(), 1);
    EXPECT_EQ(h.mirror.LineCount(), h.drawing().OutLine.count());
    EXPECT_EQ(h.mirror.ShapeCount(), h.drawing().OutShape.count());
    // The page size stays.
    EXPECT_EQ(h.mirror.PatternWidth(), 12240.0f);
}
