// The drawing's element arrays and paint order, the work window's scroll bars and scale.

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

TEST(ElementArray, NewMembersCopyMember0HiddenAndFreeSlotsGoLowestFirst)
{
    ElementArray<PatternShape> shapes;
    shapes.member(0).Shape = ShapeCircle;
    shapes.setVisible(0, true);
    ASSERT_TRUE(shapes.addMember(1));
    EXPECT_EQ((std::pair<bool, int>(shapes[1].Visible, shapes[1].Shape)), (std::pair<bool, int>(false, ShapeCircle)));
    DrawingHarness h;
    for (int i = 0; i < 32767; ++i)
        ASSERT_EQ(h.line(float(i), 0, 0, 0), i);
    EXPECT_FALSE(LibDraw::AddLine(h.drawing(), h.mirror).has_value());
    h.drawing().OutLine.setVisible(300, false);
    h.drawing().OutLine.setVisible(100, false);
    EXPECT_EQ(LibDraw::AddLine(h.drawing(), h.mirror), 100);
    EXPECT_EQ(h.mirror.LineCount(), 32767);
}

TEST(DrawingOrder, LinesAndShapesShareOneFrontToBackOrder)
{
    DrawingHarness h;
    h.line(0, 0, 1, 1);
    h.shape(0, 0, 0, 1, 1);
    h.line(0, 0, 1, 1);
    h.drawing().OutLine.setVisible(0, false);
    EXPECT_EQ(h.line(5, 5, 6, 6), 0); // a member handed out again comes to the front
    EXPECT_EQ(order(h.drawing()), "S0 L1 L0 ");
    LoaderHarness l; // a load puts its shapes in front of its lines
    ASSERT_TRUE(l.load(PatternWriter().header(2, 1, 0).settings21({}).integer(2).line(1, 1, 2, 2).line(3, 3, 4, 4)
                           .integer(1).shape(0, 1, 1, 1, 1).noPicture()));
    EXPECT_EQ(order(l.drawing()), "L0 L1 S0 ");
}

TEST(SetScroll, BarsByOverhang)
{
    const struct {
        float pageWidth;
        float innerWidth;
        float innerHeight;
        std::vector<int> horizontal;
        std::vector<int> vertical;
        std::vector<float> areas; // VScrollLeft, HScrollTop, PicScrollWidth, PicScrollHeight
    } cases[] = {
        // The letter page: 30.5 and 1028.5 go to the even 30 and 1028.
        {12240, 9585, 5850, {1, 2940, 295, 30}, {1, 10275, 1028, 104}, {9300, 5565, 9300, 5565}},
        {12240, 100, 200, {1, 12240, 1225, 124}, {1, 15840, 1585, 160}, {0, 0, 0, 0}},        // clamped at 0
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pageWidth);
        DrawingHarness h;
        h.workForm.setPatternSize(c.pageWidth, 15840);

        h.workForm.SetScroll(c.innerWidth, c.innerHeight);

        const ScrollLayout &l = h.workForm.layout();
        EXPECT_EQ(bar(l.HScroll), c.horizontal);
        EXPECT_EQ(bar(l.VScroll), c.vertical);
        EXPECT_EQ((std::vector<float>{l.VScrollLeft, l.HScrollTop, l.PicScrollWidth, l.PicScrollHeight}), c.areas);
    }
}

TEST(ViewScale, FitPageShowsTheWholePage)
{
    const std::tuple<float, float, double> cases[] = {
        {93000, 5565, 0.1},             // a long strip: its width decides
        {930, 556.5, 10.0},             // a small page grows to fill the view
        {0, 0, 1.0},                    // no page to scale
    };
    for (const auto &[width, height, zoom] : cases) {
        SCOPED_TRACE(width);
        DrawingHarness h;
        h.workForm.setPatternSize(width, height);

        h.workForm.setViewScale(WorkForm::ViewScale::FitPage);

        EXPECT_DOUBLE_EQ(h.workForm.Zoom(), zoom);
        EXPECT_FALSE(h.workForm.layout().HScroll.Enabled);
        EXPECT_FALSE(h.workForm.layout().VScroll.Enabled);
    }
}
