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

std::vector<RecordingProgressView::Call> bars(const RecordingProgressView &view)
{
    std::vector<RecordingProgressView::Call> out;
    for (const auto &c : view.calls)
        if (c.what == "bar")
            out.push_back(c);
    return out;
}

} // namespace

TEST(ClearDrawing, LeavesOnlyHiddenTemplatesAndKeepsThePage)
{
    DrawingHarness h;
    h.workForm.setPatternSize(12240, 15840);
    h.workForm.SetScroll(9585, 5850);
    fill(h, 3, 2);
    h.drawing().EditLine.Visible = true;
    h.drawing().EditShape.Visible = true;
    h.workForm.setVisible(true);
    h.workForm.ClearWorkForm(); // hides the window, then clears
    EXPECT_FALSE(h.workForm.Visible());
    const Drawing &d = h.drawing();
    EXPECT_EQ(d.OutLine.count() + d.OutShape.count() + d.ArcLine.count(), 3);
    EXPECT_FALSE(d.OutLine[0].Visible || d.OutShape[0].Visible || d.ArcLine[0].Visible);
    EXPECT_FALSE(d.EditLine.Visible || d.EditShape.Visible);
    EXPECT_EQ(d.OutLine[0].DrawMode, 13);
    EXPECT_EQ(d.OutShape[0].BorderWidth, 1);
    EXPECT_EQ(h.mirror.LineCount(), 1);
    EXPECT_EQ(h.mirror.ShapeCount(), 1);
    EXPECT_EQ(h.workForm.PatternWidth(), 12240.0f);
    EXPECT_EQ(h.workForm.layout().HScroll.Max, 2940);
    // The next element starts at member 0 again.
    EXPECT_EQ(h.line(1, 1, 1, 1), 0);
    EXPECT_EQ(h.shape(0, 1, 1, 1, 1), 0);
}

TEST(ClearDrawing, OnAWindowThatNeverHeldAPatternStillEmptiesTheMirror)
{
    DrawingHarness h;
    ASSERT_TRUE(h.mirror.nLine(1)); // out of step on purpose
    h.workForm.ClearDrawing();
    EXPECT_EQ(h.mirror.LineCount(), 1);
}

TEST(ClearDrawing, ProgressSwitchedOffShowsNothing)
{
    DrawingHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    fill(h, 3, 3);
    h.workForm.ClearDrawing();
    EXPECT_TRUE(view.calls.empty());
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
    EXPECT_EQ(view.calls.front().what, "show");
    EXPECT_EQ(view.calls.back().what, "close");
    EXPECT_EQ(view.count("header"), 1);
    EXPECT_EQ(view.header, "Erasing - Please wait...");
    EXPECT_FALSE(view.cancelVisible);
    // The range is 0 to 2S + 2L + A = 15; one step per removed member (3 work
    // lines, 2 work shapes, then the mirror's 3 and 2) stops 5 short of it.
    const auto b = bars(view);
    ASSERT_EQ(b.size(), 11u);
    EXPECT_EQ(std::make_pair(b[0].minimum, b[0].maximum), std::make_pair(0.0f, 15.0f));
    for (std::size_t i = 0; i < b.size(); ++i)
        EXPECT_EQ(b[i].value, float(i));
    EXPECT_FALSE(h.progress.loaded());
}

TEST(ClearDrawing, ProgressMaximumCountsMembers0AndSaturates)
{
    for (const int lines : {0, 20000}) { // 2 x 20000 + 2 + 1 is beyond 16 bits
        SCOPED_TRACE(lines);
        DrawingHarness h;
        RecordingProgressView view;
        h.progress.setView(&view);
        fill(h, lines, 0);
        h.progress.SetProgressEnabled(true);
        h.workForm.ClearDrawing();
        ASSERT_FALSE(bars(view).empty());
        EXPECT_EQ(bars(view)[0].maximum, lines ? 32767.0f : 5.0f); // 5: the templates alone
        if (lines) {
            EXPECT_EQ(h.progress.value(), 32767.0f); // clamped at the end of the range
        }
    }
}

TEST(ClearDrawing, CancelCannotStopIt)
{
    DrawingHarness h;
    fill(h, 5, 5);
    h.progress.SetProgressEnabled(true);
    h.progress.StartProgress(0, 10, "earlier", true);
    h.progress.CancelClicked();
    h.workForm.ClearDrawing();
    EXPECT_EQ(h.drawing().OutLine.count(), 1);
    EXPECT_EQ(h.mirror.ShapeCount(), 1);
}
