// The loader's progress phases: made at fixed points whatever the display
// switch says, shown only when it is on.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter twoLinesOneShape()
{
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{});
    w.integer(2).line(1, 2, 3, 4).line(5, 6, 7, 8).integer(1).shape(0, 1, 2, 3, 4).noPicture();
    return w;
}

std::vector<std::string> headers(const RecordingProgressView &view)
{
    std::vector<std::string> out;
    for (const auto &c : view.calls)
        if (c.what == "header")
            out.push_back(c.text);
    return out;
}

} // namespace

TEST(LoaderProgress, PhasesInOrderWithTheirRanges)
{
    LoaderHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    h.progress.SetProgressEnabled(true);
    ASSERT_TRUE(h.load(twoLinesOneShape()));
    EXPECT_EQ(headers(view), (std::vector<std::string>{"Loading Pattern - Header", "Loading Pattern - Lines",
                                                       "Loading Pattern - Shapes", "Loading Pattern - Image"}));
    // The bar of each phase: start at 0, then one step per item.
    std::vector<std::pair<float, float>> bars;
    for (const auto &c : view.calls)
        if (c.what == "bar")
            bars.emplace_back(c.maximum, c.value);
    const std::vector<std::pair<float, float>> expected = {
        {1, 0}, {1, 1},         // header
        {2, 0}, {2, 1}, {2, 2}, // lines
        {1, 0}, {1, 1},         // shapes
        {1, 0}, {1, 1},         // image
    };
    EXPECT_EQ(bars, expected);
    for (const auto &c : view.calls) {
        if (c.what == "cancel") {
            EXPECT_FALSE(c.flag);
        }
    }
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(h.progress.loaded());
}

TEST(LoaderProgress, FailedLoadClosesTheProgressWindow)
{
    LoaderHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    h.progress.SetProgressEnabled(true);
    PatternWriter w;
    w.header(3, 1, 0);
    EXPECT_FALSE(h.load(w));
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(h.progress.loaded());
}

TEST(LoaderProgress, SwitchedOffShowsNothing)
{
    LoaderHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    ASSERT_FALSE(h.progress.ProgressEnabled());
    ASSERT_TRUE(h.load(twoLinesOneShape()));
    EXPECT_TRUE(view.calls.empty());
}
