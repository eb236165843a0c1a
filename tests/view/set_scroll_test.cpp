// SetScroll: the viewport and the two scroll bars laid out for the window's
// inner size and the page, with the scroll values rounded half to even.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

struct SetScroll : ::testing::Test {
    DrawingHarness h;
    const ScrollLayout &layOut(float pageW, float pageH, float innerW = 9585, float innerH = 5850)
    {
        h.workForm.setPatternSize(pageW, pageH);
        h.workForm.SetScroll(innerW, innerH);
        return h.workForm.layout();
    }
    static std::vector<int> bar(const ScrollBarState &b) { return {b.Enabled, b.Max, b.LargeChange, b.SmallChange}; }
};

} // namespace

TEST_F(SetScroll, WorkedExampleLetterPage)
{
    const ScrollLayout &l = layOut(12240, 15840);
    EXPECT_EQ(l.PicScrollWidth, 9300.0f);
    EXPECT_EQ(l.PicScrollHeight, 5565.0f);
    EXPECT_EQ(l.VScrollLeft, 9300.0f);
    EXPECT_EQ(l.VScrollHeight, 5565.0f);
    EXPECT_EQ(l.HScrollTop, 5565.0f);
    EXPECT_EQ(l.HScrollWidth, 9300.0f);
    EXPECT_EQ(bar(l.HScroll), (std::vector<int>{1, 2940, 295, 30}));    // 30.5 to the even 30
    EXPECT_EQ(bar(l.VScroll), (std::vector<int>{1, 10275, 1028, 104})); // 1028.5 to the even 1028
    EXPECT_EQ(l.HScroll.Value + l.VScroll.Value, 0);

    // Without a view the designed inner size is used.
    h.workForm.SetScroll();
    EXPECT_EQ(bar(h.workForm.layout().HScroll), (std::vector<int>{1, 2940, 295, 30}));
}

TEST_F(SetScroll, BarsByOverhang)
{
    const struct {
        float pageW, pageH;
        std::vector<int> h;
        bool vEnabled;
    } cases[] = {
        {9300.3f, 100, {1, 0, 1, 1}, false}, // dx = 0.3 of a twip still enables the bar
        {19300, 1000, {1, 10000, 1001, 101}, false},
        {100000, 100, {1, 90700, 9071, 908}, false}, // beyond 16 bits
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pageW);
        const ScrollLayout &l = layOut(c.pageW, c.pageH);
        EXPECT_EQ(bar(l.HScroll), c.h);
        EXPECT_EQ(l.VScroll.Enabled, c.vEnabled);
    }
}

TEST_F(SetScroll, PageInsideTheViewportDisablesBothBarsAndKeepsTheirValues)
{
    layOut(12240, 15840);
    h.workForm.HScrollChanged(100);
    const ScrollLayout &l = layOut(9300, 5565); // exactly the viewport
    EXPECT_FALSE(l.HScroll.Enabled || l.VScroll.Enabled);
    EXPECT_EQ(l.HScroll.Max, 2940);
    EXPECT_EQ(l.HScroll.Value, 100);
    EXPECT_EQ(l.VScroll.Max, 10275);
    EXPECT_EQ(h.workForm.PatternLeft(), 0.0f);
}

TEST_F(SetScroll, TinyWindowClampsTheSizesAtZero)
{
    const ScrollLayout &l = layOut(12240, 15840, 100, 200);
    EXPECT_EQ((std::vector<float>{l.VScrollLeft, l.HScrollTop, l.VScrollHeight, l.HScrollWidth, l.PicScrollWidth,
                                  l.PicScrollHeight}),
              std::vector<float>(6, 0.0f));
    EXPECT_EQ(l.HScroll.Max, 12240);
    EXPECT_EQ(l.VScroll.Max, 15840);
}

TEST_F(SetScroll, ScrollingMovesThePageAndResizingReturnsItToTheCorner)
{
    layOut(12240, 15840);
    h.workForm.HScrollChanged(500);
    h.workForm.VScrollChanged(700);
    EXPECT_EQ(h.workForm.PatternLeft(), -500.0f);
    EXPECT_EQ(h.workForm.PatternTop(), -700.0f);
    h.workForm.Resized(true); // the main window is minimized: nothing changes
    EXPECT_EQ(h.workForm.PatternLeft(), -500.0f);
    EXPECT_EQ(h.workForm.layout().HScroll.Value, 500);
    h.workForm.Resized(false);
    EXPECT_EQ(h.workForm.PatternLeft(), 0.0f);
    EXPECT_EQ(h.workForm.PatternTop(), 0.0f);
    EXPECT_EQ(h.workForm.layout().HScroll.Value + h.workForm.layout().VScroll.Value, 0);
}
