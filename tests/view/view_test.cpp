// The work window: paint order, clearing, SetScroll's bars.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

std::string order(const Drawing &d)
{
    std::string out;
    for (const DrawingItem &item : d.paintOrder())
        out += (item.kind == DrawingItem::Line ? "L" : "S") + std::to_string(item.index) + " ";
    return out;
}

std::vector<int> bar(const ScrollBarState &b) { return {b.Enabled, b.Max, b.LargeChange, b.SmallChange}; }

} // namespace

TEST(DrawingOrder, LinesAndShapesShareOneFrontToBackOrder)
{
    DrawingHarness h;
    h.line(0, 0, 1, 1);
    h.shape(0, 0, 0, 1, 1);
    h.line(0, 0, 1, 1);
    h.drawing().OutLine.setVisible(0, false);
    EXPECT_EQ(h.line(5, 5, 6, 6), 0); // a member handed out again comes to the front
    EXPECT_EQ(order(h.drawing()), "S0 L1 L0 ");
    h.workForm.ClearDrawing(); // clearing forgets the order
    h.shape(0, 0, 0, 1, 1);
    h.line(0, 0, 1, 1);
    EXPECT_EQ(order(h.drawing()), "S0 L0 ");
    LoaderHarness l; // a load puts its shapes in front of its lines
    ASSERT_TRUE(l.load(PatternWriter().header(2, 1, 0).settings21({}).integer(2).line(1, 1, 2, 2).line(3, 3, 4, 4)
                           .integer(1).shape(0, 1, 1, 1, 1).noPicture()));
    EXPECT_EQ(order(l.drawing()), "L0 L1 S0 ");
}

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
    const Drawing &d = h.drawing();
    EXPECT_FALSE(h.workForm.Visible() || d.OutLine[0].Visible || d.OutShape[0].Visible || d.EditLine.Visible
                 || d.EditShape.Visible);
    EXPECT_EQ(d.OutLine.count() + d.OutShape.count() + d.ArcLine.count(), 3);
    EXPECT_EQ(h.mirror.LineCount() + h.mirror.ShapeCount(), 2);
    EXPECT_EQ(std::pair(h.workForm.PatternWidth(), h.workForm.layout().HScroll.Max), std::pair(12240.0f, 2940));
    EXPECT_EQ(h.line(1, 1, 1, 1), 0);
}

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
    WorkForm &w = h.workForm;
    w.setPatternSize(12240, 15840);
    w.SetScroll(); // without a view: the designed inner size
    EXPECT_EQ(bar(w.layout().HScroll), (std::vector<int>{1, 2940, 295, 30}));
    w.HScrollChanged(500);
    w.VScrollChanged(700);
    EXPECT_EQ(std::pair(w.PatternLeft(), w.PatternTop()), std::pair(-500.0f, -700.0f));
    w.Resized(true); // the main window is minimized: nothing changes
    EXPECT_EQ(w.layout().HScroll.Value, 500);
    w.Resized(false);
    EXPECT_EQ(std::tuple(w.PatternLeft(), w.PatternTop(), w.layout().VScroll.Value), std::tuple(0.0f, 0.0f, 0));
    w.HScrollChanged(100);
    w.setPatternSize(9300, 5565); // exactly the viewport: both bars off, values kept
    w.SetScroll();
    EXPECT_FALSE(w.layout().HScroll.Enabled || w.layout().VScroll.Enabled);
    EXPECT_EQ(std::pair(w.layout().HScroll.Max, w.layout().HScroll.Value), std::pair(2940, 100));
}

TEST(ViewScale, FitPageShowsTheWholePageAndActualSizeReturnsToTheBars)
{
    const struct {
        float pageW, pageH;
        double zoom;
    } cases[] = {
        {12240, 15840, 5565.0 / 15840}, // a letter page: its height decides
        {93000, 5565, 0.1},             // a long strip: its width decides
        {930, 556.5, 10.0},             // a small page grows to fill the view
        {0, 0, 1.0},                    // no page to scale
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pageW);
        DrawingHarness h;
        WorkForm &w = h.workForm;
        w.setPatternSize(c.pageW, c.pageH);

        w.setViewScale(WorkForm::ViewScale::FitPage);

        EXPECT_DOUBLE_EQ(w.Zoom(), c.zoom);
        EXPECT_FALSE(w.layout().HScroll.Enabled);
        EXPECT_FALSE(w.layout().VScroll.Enabled);
        EXPECT_EQ(w.PatternWidth(), c.pageW);
    }
    DrawingHarness h;
    h.workForm.setPatternSize(12240, 15840);
    h.workForm.setViewScale(WorkForm::ViewScale::FitPage);
    h.workForm.setViewScale(WorkForm::ViewScale::ActualSize);
    EXPECT_EQ(h.workForm.Zoom(), 1.0);
    EXPECT_EQ(bar(h.workForm.layout().HScroll), (std::vector<int>{1, 2940, 295, 30}));
}
