// SetScroll: the viewport and the two scroll bars laid out for the window's
// inner size and the page, with the bar values rounded half to even.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

std::vector<int> bar(const ScrollBarState &b) { return {b.Enabled, b.Max, b.LargeChange, b.SmallChange}; }

} // namespace

TEST(SetScroll, BarsByOverhang)
{
    const struct {
        float pageW, pageH, innerW, innerH;
        std::vector<int> h, v;
        std::vector<float> areas; // VScrollLeft, HScrollTop, PicScrollWidth, PicScrollHeight
    } cases[] = {
        // The letter page: 30.5 and 1028.5 go to the even 30 and 1028.
        {12240, 15840, 9585, 5850, {1, 2940, 295, 30}, {1, 10275, 1028, 104}, {9300, 5565, 9300, 5565}},
        {9300.3f, 100, 9585, 5850, {1, 0, 1, 1}, {0, 0, 0, 0}, {9300, 5565, 9300, 5565}}, // 0.3 twips enable it
        {100000, 100, 9585, 5850, {1, 90700, 9071, 908}, {0, 0, 0, 0}, {9300, 5565, 9300, 5565}},
        {12240, 15840, 100, 200, {1, 12240, 1225, 124}, {1, 15840, 1585, 160}, {0, 0, 0, 0}}, // clamped at 0
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pageW);
        DrawingHarness h;
        h.workForm.setPatternSize(c.pageW, c.pageH);
        h.workForm.SetScroll(c.innerW, c.innerH);
        const ScrollLayout &l = h.workForm.layout();
        EXPECT_EQ(bar(l.HScroll), c.h);
        EXPECT_EQ(l.VScroll.Enabled ? bar(l.VScroll) : std::vector<int>(4, 0), c.v);
        EXPECT_EQ((std::vector<float>{l.VScrollLeft, l.HScrollTop, l.PicScrollWidth, l.PicScrollHeight}), c.areas);
        EXPECT_EQ(std::pair(l.VScrollHeight, l.HScrollWidth), std::pair(l.HScrollTop, l.VScrollLeft));
    }
}

TEST(SetScroll, ScrollingMovesThePageAndResizingReturnsItToTheCorner)
{
    DrawingHarness h;
    h.workForm.setPatternSize(12240, 15840);
    h.workForm.SetScroll(); // without a view: the designed inner size
    EXPECT_EQ(bar(h.workForm.layout().HScroll), (std::vector<int>{1, 2940, 295, 30}));
    h.workForm.HScrollChanged(500);
    h.workForm.VScrollChanged(700);
    EXPECT_EQ(std::pair(h.workForm.PatternLeft(), h.workForm.PatternTop()), std::pair(-500.0f, -700.0f));
    h.workForm.Resized(true); // the main window is minimized: nothing changes
    EXPECT_EQ(h.workForm.layout().HScroll.Value, 500);
    h.workForm.Resized(false);
    EXPECT_EQ(std::pair(h.workForm.PatternLeft(), h.workForm.PatternTop()), std::pair(0.0f, 0.0f));
    EXPECT_EQ(h.workForm.layout().VScroll.Value, 0);
    h.workForm.HScrollChanged(100);
    h.workForm.setPatternSize(9300, 5565); // exactly the viewport: both bars off, values kept
    h.workForm.SetScroll();
    EXPECT_FALSE(h.workForm.layout().HScroll.Enabled || h.workForm.layout().VScroll.Enabled);
    EXPECT_EQ(std::pair(h.workForm.layout().HScroll.Max, h.workForm.layout().HScroll.Value), std::pair(2940, 100));
}
