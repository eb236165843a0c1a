// LibProgress: silent while switched off (as this program keeps it), its window and cancel when on.

#include "fakes.h"

#include "view/libprogress.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(Progress, SilentWhileSwitchedOff)
{
    RecordingProgressView view;
    LibProgress p{&view};

    p.StartProgress(0, 10, "off", false);
    const bool goOn = p.StepProgress(1);
    p.EndProgress();

    EXPECT_FALSE(goOn);
    EXPECT_EQ(p.value(), 0);
    EXPECT_EQ(view.calls, std::vector<std::string>{});
}

TEST(Progress, AnEmptyRangeTakesOneStepAndTheBarStaysInsideUnderANewHeader)
{
    RecordingProgressView view;
    LibProgress p{&view};
    p.SetProgressEnabled(true);

    p.StartProgress(0, 0, "Loading Pattern - Lines", false);
    p.StepProgress(4);
    p.StepProgress(-5);
    p.SetProgressHeader("2 of 7: b.pat");
    p.SetProgressEnabled(false); // switched off while open: EndProgress still closes, once
    p.EndProgress();
    p.EndProgress();

    EXPECT_EQ(view.calls, (std::vector<std::string>{"show", "cancel 0", "header Loading Pattern - Lines", "bar 0 1 0",
                                                    "events", "bar 0 1 1", "events", "bar 0 1 0", "events",
                                                    "header 2 of 7: b.pat", "events", "close"}));
}
