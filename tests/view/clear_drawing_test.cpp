// ClearWorkForm and ClearDrawing: the collections back to their hidden
// templates, the mirror emptied, the page kept, and the progress they show.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;

TEST(ClearDrawing, LeavesOnlyHiddenTemplatesAndKeepsThePage)
{
    DrawingHarness h;
    h.workForm.setPatternSize(12240, 15840);
    h.workForm.SetScroll(9585, 5850);
    for (int i = 0; i < 3; ++i)
        h.line(float(i), 0, 0, 0), h.shape(ShapeOval, float(i), 0, 1, 1);
    h.drawing().EditLine.Visible = h.drawing().EditShape.Visible = true;
    h.workForm.setVisible(true);
    h.workForm.ClearWorkForm();
    EXPECT_FALSE(h.workForm.Visible());
    const Drawing &d = h.drawing();
    EXPECT_EQ(d.OutLine.count() + d.OutShape.count() + d.ArcLine.count(), 3);
    EXPECT_FALSE(d.OutLine[0].Visible || d.OutShape[0].Visible || d.EditLine.Visible || d.EditShape.Visible);
    EXPECT_EQ(h.mirror.LineCount() + h.mirror.ShapeCount(), 2);
    EXPECT_EQ(h.workForm.PatternWidth(), 12240.0f);
    EXPECT_EQ(h.workForm.layout().HScroll.Max, 2940);
    EXPECT_EQ(h.line(1, 1, 1, 1), 0);
}

TEST(ClearDrawing, ProgressSwitchedOnCountsEveryMemberTwiceAndSaturates)
{
    for (const auto &[lines, steps, maximum] : {std::tuple{4, 10, 15}, {0, 0, 5}, {20000, 40002, 32767}}) {
        SCOPED_TRACE(lines);
        DrawingHarness h;
        RecordingProgressView view;
        h.progress.setView(&view);
        for (int i = 0; i < lines; ++i)
            h.line(float(i), 0, 0, 0);
        for (int i = 0; i < (lines ? 3 : 0); ++i)
            h.shape(ShapeOval, float(i), 0, 1, 1);
        h.workForm.ClearDrawing(); // switched off: nothing shown
        EXPECT_TRUE(view.calls.empty());
        for (int i = 0; i < lines; ++i)
            h.line(float(i), 0, 0, 0);
        for (int i = 0; i < (lines ? 3 : 0); ++i)
            h.shape(ShapeOval, float(i), 0, 1, 1);
        h.progress.SetProgressEnabled(true);
        h.workForm.ClearDrawing();
        // The range is 2 x (lines + shapes) + arcs, members 0 included; one step per
        // removed member, in the window and in the mirror.
        const auto bars = view.only("bar ");
        ASSERT_EQ(bars.size(), std::size_t(steps + 1));
        EXPECT_EQ(bars.front(), "bar 0 " + std::to_string(maximum) + " 0");
        EXPECT_EQ(bars.back(), "bar 0 " + std::to_string(maximum) + " " + std::to_string(std::min(steps, maximum)));
        EXPECT_EQ(view.calls.front(), "show");
        EXPECT_EQ(view.calls.back(), "close");
        EXPECT_EQ(view.only("header"), std::vector<std::string>{"header Erasing - Please wait..."});
    }
}
