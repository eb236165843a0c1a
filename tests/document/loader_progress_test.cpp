// The loader's progress phases: made at fixed points, shown only when the
// display switch is on, and closed on a failed load too.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(LoaderProgress, PhasesInOrderWithTheirRanges)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(2).line(1, 2, 3, 4).line(5, 6, 7, 8).integer(1).shape(0, 1, 2, 3, 4);
    w.noPicture();
    {
        LoaderHarness h; // switched off: nothing shown
        RecordingProgressView view;
        h.progress.setView(&view);
        ASSERT_TRUE(h.load(w));
        EXPECT_TRUE(view.calls.empty());
    }
    LoaderHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    h.progress.SetProgressEnabled(true);
    ASSERT_TRUE(h.load(w));
    std::vector<std::string> headers;
    std::vector<std::pair<float, float>> bars;
    for (const auto &c : view.calls) {
        if (c.what == "header")
            headers.push_back(c.text);
        if (c.what == "bar")
            bars.emplace_back(c.maximum, c.value);
        if (c.what == "cancel") {
            EXPECT_FALSE(c.flag);
        }
    }
    EXPECT_EQ(headers, (std::vector<std::string>{"Loading Pattern - Header", "Loading Pattern - Lines",
                                                 "Loading Pattern - Shapes", "Loading Pattern - Image"}));
    // Each phase's bar starts at 0 and steps once per item.
    EXPECT_EQ(bars, (std::vector<std::pair<float, float>>{{1, 0}, {1, 1}, {2, 0}, {2, 1}, {2, 2}, {1, 0}, {1, 1},
                                                          {1, 0}, {1, 1}}));
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(h.progress.loaded());
}

TEST(LoaderProgress, FailedLoadClosesTheProgressWindow)
{
    LoaderHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    h.progress.SetProgressEnabled(true);
    EXPECT_FALSE(h.load(PatternWriter().header(3, 1, 0)));
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(h.progress.loaded());
}
