// LibProgress: silent while switched off (as this program keeps it), its window and cancel when on.

#include "fakes.h"

#include "view/libprogress.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(Progress, RangeValueHeaderHeightAndCancel)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.StartProgress(0, 10, "off", false);
    EXPECT_FALSE(p.loaded());
    EXPECT_FALSE(p.StepProgress(1));
    EXPECT_EQ(p.value(), 0);
    p.EndProgress();
    EXPECT_TRUE(view.calls.empty());
    p.SetProgressEnabled(true);
    p.StartProgress(0, 0, "Loading Pattern - Lines", false); // an empty range becomes 0..1
    EXPECT_EQ(view.calls, (std::vector<std::string>{"show", "cancel 0", "header Loading Pattern - Lines", "bar 0 1 0",
                                                    "events"}));
    EXPECT_EQ(p.windowHeightTwips(), 1080);
    p.StartProgress(5, -3, "h", true);
    EXPECT_EQ(std::tuple(p.minimum(), p.maximum(), p.value(), p.windowHeightTwips()), std::tuple(5.0f, 6.0f, 5.0f, 1655));
    p.StartProgress(0, 3, "second", false); // steps stay inside the range
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(p.StepProgress(1));
    EXPECT_EQ(view.only("bar").back() + view.calls.back(), "bar 0 3 3events");
    p.StepProgress(-5);
    EXPECT_EQ(view.only("bar").back(), "bar 0 3 0");
    p.SetProgressEnabled(false); // switched off while open: EndProgress still closes, once
    p.EndProgress();
    p.EndProgress();
    EXPECT_EQ(view.only("close").size(), 1u);
    p.setView(nullptr); // works without a view too
    p.SetProgressEnabled(true);
    p.StartProgress(0, 10, "h", false);
    p.CancelClicked(); // a hidden button cannot be clicked
    EXPECT_FALSE(p.Cancelled());
    p.StartProgress(0, 10, "h", true);
    p.CancelClicked();
    EXPECT_FALSE(p.StepProgress(1));
    EXPECT_EQ(p.value(), 1.0f); // the step still moves the bar
    p.StartProgress(0, 10, "h", true);
    EXPECT_TRUE(p.StepProgress(1));
    p.CancelClicked(); // the button stays disabled until the window is discarded
    EXPECT_FALSE(p.Cancelled());
    p.EndProgress();
    p.StartProgress(0, 10, "h", true);
    p.CancelClicked();
    EXPECT_TRUE(p.Cancelled());
}

TEST(Progress, NewHeaderKeepsTheBar)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);
    p.StartProgress(0, 7, "1 of 7: a.pat", true);
    p.StepProgress(1);
    view.calls.clear();

    p.SetProgressHeader("2 of 7: b.pat");

    EXPECT_EQ(view.calls, (std::vector<std::string>{"header 2 of 7: b.pat", "events"}));
    EXPECT_EQ(p.header(), "2 of 7: b.pat");
    EXPECT_EQ(p.value(), 1.0f);
}

TEST(Progress, NewHeaderNeedsARunningProgress)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);

    p.SetProgressHeader("nothing runs");

    EXPECT_EQ(view.calls, std::vector<std::string>{});
}
