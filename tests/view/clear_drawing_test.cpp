// ClearWorkForm and ClearDrawing: the element collections back to their
// hidden templates, the mirror emptied, and the progress calls they make.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

void fill(DrawingHarness &h, int lines, int shapes)
{
    for (int i = 0; i < lines; ++i)
        h.line(float(i), 0, 0, 0);
    for (int i = 0; i < shapes; ++i)
        h.shape(ShapeOval, float(i), 0, 1, 1);
}

} // namespace

TEST(ClearDrawing, LeavesOnlyHiddenTemplatesEverywhere)
{
    DrawingHarness h;
    fill(h, 3, 2);
    h.drawing().EditLine.Visible = true;
    h.drawing().EditShape.Visible = true;
    h.workForm.ClearDrawing();
    const Drawing &d = h.drawing();
    EXPECT_EQ(d.OutLine.count(), 1);
    EXPECT_EQ(d.OutShape.count(), 1);
    EXPECT_EQ(d.ArcLine.count(), 1);
    EXPECT_FALSE(d.OutLine[0].Visible);
    EXPECT_FALSE(d.OutShape[0].Visible);
    EXPECT_FALSE(d.ArcLine[0].Visible);
    EXPECT_FALSE(d.EditLine.Visible);
    EXPECT_FALSE(d.EditShape.Visible);
    EXPECT_EQ(h.mirror.LineCount(), 1);
    EXPECT_EQ(h.mirror.ShapeCount(), 1);
    // The next element starts at member 0 again.
    EXPECT_EQ(h.line(1, 1, 1, 1), 0);
    EXPECT_EQ(h.shape(0, 1, 1, 1, 1), 0);
}

TEST(ClearDrawing, TemplatesKeepTheirStyle)
{
    DrawingHarness h;
    fill(h, 2, 2);
    h.workForm.ClearDrawing();
    EXPECT_EQ(h.drawing().OutLine[0].DrawMode, 13);
    EXPECT_EQ(h.drawing().OutLine[0].BorderWidth, 1);
    EXPECT_EQ(h.drawing().OutShape[0].DrawMode, 13);
}

TEST(ClearDrawing, ProgressWithTheSwitchOn)
{
    DrawingHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    fill(h, 4, 3); // L = 4, S = 3, A = 1
    h.progress.SetProgressEnabled(true);
    h.workForm.ClearDrawing();

    ASSERT_FALSE(view.calls.empty());
    EXPECT_EQ(view.calls[0].what, "show");
    EXPECT_EQ(view.count("header"), 1);
    EXPECT_EQ(view.header, "Erasing - Please wait...");
    EXPECT_FALSE(view.cancelVisible);
    // The first bar is the range: 0 to 2S + 2L + A = 15.
    std::vector<RecordingProgressView::Call> bars;
    for (const auto &c : view.calls)
        if (c.what == "bar")
            bars.push_back(c);
    ASSERT_FALSE(bars.empty());
    EXPECT_EQ(bars[0].minimum, 0.0f);
    EXPECT_EQ(bars[0].maximum, 15.0f);
    EXPECT_EQ(bars[0].value, 0.0f);
    // One step per removed member: 3 work lines, 2 work shapes, then the
    // mirror's 3 and 2; the bar stops 5 short of its maximum.
    EXPECT_EQ(bars.size(), 1u + 10u);
    for (std::size_t i = 1; i < bars.size(); ++i)
        EXPECT_EQ(bars[i].value, float(i));
    EXPECT_EQ(bars.back().value, 10.0f);
    EXPECT_EQ(view.calls.back().what, "close");
    EXPECT_FALSE(h.progress.loaded());
}

TEST(ClearDrawing, ProgressSwitchedOffShowsNothing)
{
    DrawingHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    fill(h, 3, 3);
    h.workForm.ClearDrawing();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(h.drawing().OutLine.count(), 1);
}

TEST(ClearDrawing, CancelCannotStopIt)
{
    DrawingHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    fill(h, 5, 5);
    h.progress.SetProgressEnabled(true);
    h.progress.StartProgress(0, 10, "earlier", true);
    h.progress.CancelClicked();
    h.workForm.ClearDrawing();
    EXPECT_EQ(h.drawing().OutLine.count(), 1);
    EXPECT_EQ(h.mirror.ShapeCount(), 1);
}

TEST(ClearDrawing, OnAWindowThatNeverHeldAPatternStillEmptiesTheMirror)
{
    DrawingHarness h;
    ASSERT_TRUE(h.mirror.nLine(1)); // out of step on purpose
    h.workForm.ClearDrawing();
    EXPECT_EQ(h.drawing().OutLine.count(), 1);
    EXPECT_EQ(h.mirror.LineCount(), 1);
}

TEST(ClearDrawing, ProgressMaximumCountsMembers0AndSaturates)
{
    DrawingHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    h.progress.SetProgressEnabled(true);
    h.workForm.ClearDrawing();
    ASSERT_GE(view.calls.size(), 3u);
    float maximum = -1;
    for (const auto &c : view.calls)
        if (c.what == "bar") {
            maximum = c.maximum;
            break;
        }
    EXPECT_EQ(maximum, 5.0f); // 2 + 2 + 1: the templates alone

    DrawingHarness big;
    RecordingProgressView bigView;
    big.progress.setView(&bigView);
    fill(big, 20000, 0); // 2 x 20000 + 2 + 1 is beyond 16 bits
    big.progress.SetProgressEnabled(true);
    big.workForm.ClearDrawing();
    for (const auto &c : bigView.calls)
        if (c.what == "bar") {
            EXPECT_EQ(c.maximum, 32767.0f);
            break;
        }
    EXPECT_EQ(big.progress.value(), 32767.0f); // clamped at the end of the range
}

TEST(ClearWorkForm, HidesTheWindowThenClears)
{
    DrawingHarness h;
    fill(h, 2, 1);
    h.workForm.setVisible(true);
    h.workForm.ClearWorkForm();
    EXPECT_FALSE(h.workForm.Visible());
    EXPECT_EQ(h.drawing().OutLine.count(), 1);
    EXPECT_EQ(h.drawing().OutShape.count(), 1);
    EXPECT_EQ(h.mirror.LineCount(), 1);
}

TEST(ClearDrawing, KeepsThePatternSizeAndScrollBars)
{
    DrawingHarness h;
    h.workForm.setPatternSize(12240, 15840);
    h.workForm.SetScroll(9585, 5850);
    const ScrollLayout before = h.workForm.layout();
    fill(h, 2, 2);
    h.workForm.ClearDrawing();
    EXPECT_EQ(h.workForm.PatternWidth(), 12240.0f);
    EXPECT_EQ(h.workForm.PatternHeight(), 15840.0f);
    EXPECT_EQ(h.workForm.layout().HScroll.Max, before.HScroll.Max);
    EXPECT_EQ(h.workForm.layout().VScroll.LargeChange, before.VScroll.LargeChange);
}
