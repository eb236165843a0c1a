// LibProgress behind its switch: nothing at all while it is off (as it always
// is in this program), and the window's range, value, cancel and height when
// it is on.

#include "fakes.h"

#include "platform/libprogress.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(ProgressSwitchedOff, NothingIsShownOrChanged)
{
    RecordingProgressView view;
    LibProgress p{&view};
    EXPECT_FALSE(p.ProgressEnabled());
    p.StartProgress(0, 10, "Loading Pattern - Header", false);
    EXPECT_FALSE(p.loaded());
    EXPECT_FALSE(p.StepProgress(1));
    EXPECT_EQ(p.value(), 0.0f);
    p.EndProgress();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(p.header(), "Label1");

    // Switched off while open: EndProgress still closes the window.
    p.SetProgressEnabled(true);
    p.StartProgress(0, 10, "x", false);
    p.SetProgressEnabled(false);
    EXPECT_FALSE(p.StepProgress(1));
    p.EndProgress();
    EXPECT_FALSE(p.loaded());
    EXPECT_EQ(view.closes, 1);
}

TEST(ProgressSwitchedOn, RangeValueAndHeader)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.StartProgress(0, 0, "Loading Pattern - Lines", false); // an empty range becomes 0..1
    EXPECT_TRUE(p.loaded() && view.shown);
    EXPECT_EQ(view.header, "Loading Pattern - Lines");
    EXPECT_EQ(std::make_pair(p.minimum(), p.maximum()), std::make_pair(0.0f, 1.0f));
    EXPECT_EQ(view.bar.maximum, 1.0f);
    EXPECT_EQ(view.eventRuns, 1);
    p.StartProgress(5, -3, "h", false);
    EXPECT_EQ(std::make_pair(p.minimum(), p.maximum()), std::make_pair(5.0f, 6.0f));
    EXPECT_EQ(p.value(), 5.0f);

    // Steps stay inside the range; a second start keeps the one window.
    p.StartProgress(0, 3, "second", false);
    EXPECT_EQ(p.header(), "second");
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(p.StepProgress(1));
    EXPECT_EQ(p.value(), 3.0f);
    EXPECT_EQ(view.eventRuns, 7);
    p.StepProgress(-5);
    EXPECT_EQ(view.bar.value, 0.0f);
    EXPECT_EQ(view.closes, 0);

    // EndProgress closes once, and only a loaded window.
    p.EndProgress();
    p.EndProgress();
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(p.loaded());
}

TEST(ProgressSwitchedOn, HeightFollowsTheCancelButton)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.StartProgress(0, 1, "h", false);
    EXPECT_FALSE(p.cancelVisible() || view.cancelVisible);
    EXPECT_EQ(p.windowHeightTwips(), 1080);
    p.StartProgress(0, 1, "h", true);
    EXPECT_TRUE(p.cancelVisible() && view.cancelVisible);
    EXPECT_EQ(p.windowHeightTwips(), 1655);
}

TEST(ProgressSwitchedOn, CancelStopsEveryStepUntilTheNextStart)
{
    LibProgress p; // works without a view too
    p.SetProgressEnabled(true);
    p.StartProgress(0, 10, "h", false);
    p.CancelClicked(); // a hidden button cannot be clicked
    EXPECT_FALSE(p.Cancelled());
    p.StartProgress(0, 10, "h", true);
    EXPECT_TRUE(p.StepProgress(1));
    p.CancelClicked();
    EXPECT_TRUE(p.Cancelled());
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
