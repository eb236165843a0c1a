// LibProgress behind its switch: nothing at all while it is off (as it always
// is in this program), and the window's range, value, cancel and height when
// it is on.

#include "fakes.h"

#include "shell/libprogress.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(ProgressSwitchedOff, StartsOff)
{
    LibProgress p;
    EXPECT_FALSE(p.ProgressEnabled());
}

TEST(ProgressSwitchedOff, NothingIsShownOrChanged)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.StartProgress(0, 10, "Loading Pattern - Header", false);
    EXPECT_FALSE(p.loaded());
    EXPECT_FALSE(p.StepProgress(1));
    EXPECT_EQ(p.value(), 0.0f);
    p.EndProgress();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(p.header(), "Label1");
}

TEST(ProgressSwitchedOff, SwitchingOffLeavesAnOpenWindowToEndProgress)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.StartProgress(0, 10, "x", false);
    p.SetProgressEnabled(false);
    EXPECT_FALSE(p.StepProgress(1));
    EXPECT_EQ(p.value(), 0.0f);
    p.EndProgress(); // closes whatever the switch says
    EXPECT_FALSE(p.loaded());
    EXPECT_EQ(view.closes, 1);
}

TEST(ProgressSwitchedOn, EmptyRangeBecomesZeroToOne)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.StartProgress(0, 0, "Loading Pattern - Lines", false);
    EXPECT_TRUE(p.loaded());
    EXPECT_EQ(p.minimum(), 0.0f);
    EXPECT_EQ(p.maximum(), 1.0f);
    EXPECT_EQ(p.value(), 0.0f);
    EXPECT_EQ(view.bar.maximum, 1.0f);
    p.StartProgress(5, -3, "h", false);
    EXPECT_EQ(p.minimum(), 5.0f);
    EXPECT_EQ(p.maximum(), 6.0f);
    EXPECT_EQ(p.value(), 5.0f);
}

TEST(ProgressSwitchedOn, StepsStayInsideTheRange)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.StartProgress(0, 3, "h", false);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(p.StepProgress(1));
    EXPECT_EQ(p.value(), 3.0f);
    p.StartProgress(0, 3, "h", false);
    p.StepProgress(2);
    EXPECT_EQ(p.value(), 2.0f);
    p.StepProgress(-5);
    EXPECT_EQ(p.value(), 0.0f);
    EXPECT_EQ(view.bar.value, 0.0f);
}

TEST(ProgressSwitchedOn, StartShowsHeaderRangeAndLetsEventsRun)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.StartProgress(0, 7, "Loading Pattern - Shapes", false);
    EXPECT_TRUE(view.shown);
    EXPECT_EQ(view.header, "Loading Pattern - Shapes");
    EXPECT_EQ(p.header(), "Loading Pattern - Shapes");
    EXPECT_EQ(view.bar.minimum, 0.0f);
    EXPECT_EQ(view.bar.maximum, 7.0f);
    EXPECT_EQ(view.bar.value, 0.0f);
    EXPECT_EQ(view.eventRuns, 1);
    p.StepProgress(1);
    EXPECT_EQ(view.bar.value, 1.0f);
    EXPECT_EQ(view.eventRuns, 2);
}

TEST(ProgressSwitchedOn, TwoStartsKeepOneWindowAndReplaceHeaderAndRange)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.StartProgress(0, 10, "first", false);
    p.StepProgress(4);
    p.StartProgress(0, 2, "second", false);
    EXPECT_EQ(p.header(), "second");
    EXPECT_EQ(p.maximum(), 2.0f);
    EXPECT_EQ(p.value(), 0.0f);
    EXPECT_EQ(view.closes, 0);
    EXPECT_TRUE(p.loaded());
}

TEST(ProgressSwitchedOn, HeightFollowsTheCancelButton)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.StartProgress(0, 1, "h", false);
    EXPECT_FALSE(p.cancelVisible());
    EXPECT_FALSE(view.cancelVisible);
    EXPECT_EQ(p.windowHeightTwips(), 1080);
    p.StartProgress(0, 1, "h", true);
    EXPECT_TRUE(p.cancelVisible());
    EXPECT_TRUE(view.cancelVisible);
    EXPECT_EQ(p.windowHeightTwips(), 1655);
}

TEST(ProgressSwitchedOn, CancelStopsEveryStepUntilTheNextStart)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.StartProgress(0, 10, "h", true);
    EXPECT_TRUE(p.StepProgress(1));
    p.CancelClicked();
    EXPECT_TRUE(p.Cancelled());
    EXPECT_FALSE(p.cancelEnabled());
    EXPECT_FALSE(p.StepProgress(1));
    EXPECT_FALSE(p.StepProgress(1));
    EXPECT_EQ(p.value(), 3.0f); // the steps still move the bar
    p.StartProgress(0, 10, "h", true);
    EXPECT_FALSE(p.Cancelled());
    EXPECT_TRUE(p.StepProgress(1));
    // The button stays disabled until the window is discarded.
    EXPECT_FALSE(p.cancelEnabled());
    p.CancelClicked();
    EXPECT_FALSE(p.Cancelled());
    p.EndProgress();
    p.StartProgress(0, 10, "h", true);
    EXPECT_TRUE(p.cancelEnabled());
    p.CancelClicked();
    EXPECT_TRUE(p.Cancelled());
}

TEST(ProgressSwitchedOn, HiddenCancelCannotBeClicked)
{
    LibProgress p;
    p.SetProgressEnabled(true);
    p.StartProgress(0, 10, "h", false);
    p.CancelClicked();
    EXPECT_FALSE(p.Cancelled());
    EXPECT_TRUE(p.StepProgress(1));
}

TEST(ProgressSwitchedOn, EndProgressClosesOnceAndOnlyALoadedWindow)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.EndProgress();
    EXPECT_EQ(view.closes, 0);
    p.StartProgress(0, 1, "h", false);
    p.EndProgress();
    p.EndProgress();
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(p.loaded());
}

TEST(ProgressSwitchedOn, WorksWithoutAView)
{
    LibProgress p;
    p.SetProgressEnabled(true);
    p.StartProgress(0, 2, "h", true);
    EXPECT_TRUE(p.StepProgress(1));
    EXPECT_EQ(p.value(), 1.0f);
    p.EndProgress();
    EXPECT_FALSE(p.loaded());
}
