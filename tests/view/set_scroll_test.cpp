// SetScroll: the viewport and the two scroll bars laid out for the window's
// inner size and the page, with the scroll values rounded half to even.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

struct ScrollHarness : DrawingHarness {
    void layOut(float pageW, float pageH, float innerW = 9585, float innerH = 5850)
    {
        workForm.setPatternSize(pageW, pageH);
        workForm.SetScroll(innerW, innerH);
    }
    const ScrollLayout &layout() const { return workForm.layout(); }
};

} // namespace

TEST(SetScroll, WorkedExampleLetterPage)
{
    ScrollHarness h;
    h.layOut(12240, 15840);
    const ScrollLayout &l = h.layout();
    EXPECT_EQ(l.PicScrollWidth, 9300.0f);
    EXPECT_EQ(l.PicScrollHeight, 5565.0f);
    EXPECT_EQ(l.VScrollLeft, 9300.0f);
    EXPECT_EQ(l.VScrollHeight, 5565.0f);
    EXPECT_EQ(l.HScrollTop, 5565.0f);
    EXPECT_EQ(l.HScrollWidth, 9300.0f);
    EXPECT_TRUE(l.HScroll.Enabled);
    EXPECT_EQ(l.HScroll.Max, 2940);
    EXPECT_EQ(l.HScroll.LargeChange, 295);
    EXPECT_EQ(l.HScroll.SmallChange, 30); // 30.5 to the even 30
    EXPECT_EQ(l.HScroll.Value, 0);
    EXPECT_TRUE(l.VScroll.Enabled);
    EXPECT_EQ(l.VScroll.Max, 10275);
    EXPECT_EQ(l.VScroll.LargeChange, 1028); // 1028.5 to the even 1028
    EXPECT_EQ(l.VScroll.SmallChange, 104);
    EXPECT_EQ(l.VScroll.Value, 0);
    EXPECT_EQ(h.workForm.PatternLeft(), 0.0f);
    EXPECT_EQ(h.workForm.PatternTop(), 0.0f);
}

TEST(SetScroll, DesignedInnerSizeWithoutAView)
{
    ScrollHarness h;
    h.workForm.setPatternSize(12240, 15840);
    h.workForm.SetScroll();
    EXPECT_EQ(h.layout().HScroll.Max, 2940);
    EXPECT_EQ(h.layout().VScroll.Max, 10275);
}

TEST(SetScroll, OverhangOfAFractionOfATwip)
{
    ScrollHarness h;
    h.layOut(9300.3f, 100);
    const ScrollBarState &bar = h.layout().HScroll;
    EXPECT_TRUE(bar.Enabled);
    EXPECT_EQ(bar.Max, 0);
    EXPECT_EQ(bar.LargeChange, 1);
    EXPECT_EQ(bar.SmallChange, 1);
    EXPECT_FALSE(h.layout().VScroll.Enabled);
}

TEST(SetScroll, PageInsideTheViewportDisablesBothBarsAndKeepsTheirValues)
{
    ScrollHarness h;
    h.layOut(12240, 15840);
    h.workForm.HScrollChanged(100);
    h.layOut(9300, 5565); // exactly the viewport
    EXPECT_FALSE(h.layout().HScroll.Enabled);
    EXPECT_FALSE(h.layout().VScroll.Enabled);
    // A disabled bar keeps its Max and Value.
    EXPECT_EQ(h.layout().HScroll.Max, 2940);
    EXPECT_EQ(h.layout().HScroll.Value, 100);
    EXPECT_EQ(h.layout().VScroll.Max, 10275);
    EXPECT_EQ(h.workForm.PatternLeft(), 0.0f);
    EXPECT_EQ(h.workForm.PatternTop(), 0.0f);
}

TEST(SetScroll, WiderButNotTallerEnablesOnlyTheHorizontalBar)
{
    ScrollHarness h;
    h.layOut(19300, 1000);
    EXPECT_TRUE(h.layout().HScroll.Enabled);
    EXPECT_EQ(h.layout().HScroll.Max, 10000);
    EXPECT_EQ(h.layout().HScroll.LargeChange, 1001);
    EXPECT_EQ(h.layout().HScroll.SmallChange, 101); // 101.1
    EXPECT_FALSE(h.layout().VScroll.Enabled);
}

TEST(SetScroll, TinyWindowClampsTheSizesAtZero)
{
    ScrollHarness h;
    h.layOut(12240, 15840, 100, 200);
    const ScrollLayout &l = h.layout();
    EXPECT_EQ(l.VScrollLeft, 0.0f);
    EXPECT_EQ(l.HScrollTop, 0.0f);
    EXPECT_EQ(l.VScrollHeight, 0.0f);
    EXPECT_EQ(l.HScrollWidth, 0.0f);
    EXPECT_EQ(l.PicScrollWidth, 0.0f);
    EXPECT_EQ(l.PicScrollHeight, 0.0f);
    EXPECT_EQ(l.HScroll.Max, 12240);
    EXPECT_EQ(l.VScroll.Max, 15840);
}

TEST(SetScroll, ScrollingMovesThePageAndResizingReturnsItToTheCorner)
{
    ScrollHarness h;
    h.layOut(12240, 15840);
    h.workForm.HScrollChanged(500);
    h.workForm.VScrollChanged(700);
    EXPECT_EQ(h.workForm.PatternLeft(), -500.0f);
    EXPECT_EQ(h.workForm.PatternTop(), -700.0f);
    EXPECT_EQ(h.layout().HScroll.Value, 500);
    h.workForm.Resized(false);
    EXPECT_EQ(h.workForm.PatternLeft(), 0.0f);
    EXPECT_EQ(h.workForm.PatternTop(), 0.0f);
    EXPECT_EQ(h.layout().HScroll.Value, 0);
    EXPECT_EQ(h.layout().VScroll.Value, 0);
}

TEST(SetScroll, ResizeWhileTheMainWindowIsMinimizedChangesNothing)
{
    ScrollHarness h;
    h.layOut(12240, 15840);
    h.workForm.HScrollChanged(500);
    h.workForm.Resized(true);
    EXPECT_EQ(h.workForm.PatternLeft(), -500.0f);
    EXPECT_EQ(h.layout().HScroll.Value, 500);
}

TEST(SetScroll, OverhangBeyond16BitsStillScrollsAllTheWay)
{
    ScrollHarness h;
    h.layOut(100000, 100);
    EXPECT_TRUE(h.layout().HScroll.Enabled);
    EXPECT_EQ(h.layout().HScroll.Max, 90700);
}
