// The file layouts by version: the 74-byte block of 1.1 to 1.4, the 84 + n
// block of 1.5 and 1.6 with the 14-byte bitmap tail from version code 602, the
// 52 + n block of 2.1, then the line and shape records.

#include "harness.h"

#include <limits>

using namespace orvane;
using namespace orvane::testing;

TEST(Layout, EachVersionReadsItsBlockAndSkipsTheReservedBytes)
{
    enum Block { V11, V15, V15Tail, V21 };
    const struct {
        std::int16_t major, minor, sub;
        Block block;
        std::size_t bytes;
    } cases[] = {{1, 1, 7, V11, 74},       {1, 4, 0, V11, 74},         {1, 5, 0, V15, 89},
                 {1, 5, 102, V15Tail, 103}, {1, 6, 1, V15, 89},        {1, 6, -32768, V15, 89},
                 {1, 6, 2, V15Tail, 103},   {1, 6, 32167, V15Tail, 103}, {2, 1, -5, V21, 57}};
    PatternWriter::Page p{0.25f, 0.75f, 1.25f, 1.5f, 8.5f, 11.0f, 8640, 5760, 0.0625f, 0x123456, false, "\xBD/16\"",
                          2.5f, 640, 480, false, true};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor) + " sub " + std::to_string(c.sub));
        LoaderHarness h;
        PatternWriter w; // a long first text needs both bytes of its length
        w.fillUnused(0x5A).header(c.major, c.minor, c.sub, std::string(300, 'x'), "any \xBD");
        const std::size_t start = w.size();
        c.block == V11 ? w.settings11(p) : c.block == V21 ? w.settings21(p) : w.settings15(p, c.block == V15Tail);
        ASSERT_EQ(w.size() - start, c.bytes);
        ASSERT_TRUE(h.load(w.integer(1).line(100, 200, 300, 400).integer(1).shape(ShapeOval, 10, 20, 30, 40)));
        EXPECT_TRUE(h.box.boxes.empty());
        const PatternSettings &s = h.settings();
        const bool v21 = c.block == V21, pen = c.block != V11, tail = c.block == V15Tail || v21;
        EXPECT_EQ((std::vector<float>{s.MarginTop, s.MarginBottom, s.MarginLeft, s.MarginRight, s.DefWidth,
                                      s.DefHeight, s.PenSizeValue, float(s.PenColor), float(s.BandW)}),
                  (std::vector<float>{0.25f, 0.75f, 1.25f, 1.5f, 8.5f, 11, pen ? 0.0625f : 0.015625f,
                                      pen ? float(0x123456) : 0, pen ? 0.0f : -1}));
        EXPECT_EQ(s.PenSizeText, pen ? "\xBD/16\"" : "1/64");
        // 1.x takes the page from the file; 2.1 computes it from 8.5 x 11 in.
        EXPECT_EQ(h.dimension.PageWidthTwips(), v21 ? 12240.0f : 8640.0f);
        EXPECT_EQ(h.dimension.PageHeightTwips(), v21 ? 15840.0f : 5760.0f);
        EXPECT_EQ(h.mirror.PatternHeight(), h.dimension.PageHeightTwips());
        // Without the bitmap tail, 1.5 makes the height follow the page: 11 / 8.5 x 300.
        EXPECT_EQ((std::vector<float>{s.BitmapPenSize, s.BitmapSizeWidth, s.BitmapSizeHeight, float(s.MetricPen)}),
                  (std::vector<float>{tail ? 2.5f : 1, tail ? 480.0f : 300,
                                      tail ? 640.0f : c.block == V15 ? float(11.0 / 8.5 * 300.0) : 300,
                                      v21 ? -1.0f : 0}));
        EXPECT_EQ(h.lines(), (std::vector<std::vector<float>>{{100, 200, 300, 400}}));
        EXPECT_EQ(h.shapes(), (std::vector<std::vector<float>>{{ShapeOval, 10, 20, 30, 40}}));
    }
}

TEST(Layout, MetricA4PageOfVersion21GivesTheNearestSingles)
{
    LoaderHarness h;
    PatternWriter::Page p;
    p.defWidth = 21.0f, p.defHeight = 29.7f, p.metricPage = true;
    ASSERT_TRUE(h.load(PatternWriter().header(2, 1, 0).settings21(p).integer(0).integer(0).noPicture()));
    EXPECT_EQ(h.dimension.PageWidthTwips(), static_cast<float>(21.0 / 2.54 * 1440.0));
    EXPECT_EQ(h.dimension.PageHeightTwips(), static_cast<float>(double(29.7f) / 2.54 * 1440.0));
}

TEST(Layout, Version15BitmapHeightFollowsAPositivePageWidthOnly)
{
    for (const float width : {8.5f, 0.0f, -8.5f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(width);
        LoaderHarness h;
        h.store.values["BitmapSizeWidth"] = "600";
        PatternWriter::Page p;
        p.defWidth = width;
        ASSERT_TRUE(h.load(PatternWriter().header(1, 5, 0).settings15(p, false).integer(0).integer(0)));
        EXPECT_EQ(h.settings().BitmapSizeHeight, width > 0 ? float(11.0 / 8.5 * 600.0) : 600.0f);
    }
}

TEST(Layout, CountsKindsAndTrailingBytes)
{
    LoaderHarness h;
    PatternWriter w; // a negative count reads nothing; kinds stay as read; bytes after the picture flag are ignored
    w.header(2, 1, 0, "", "").settings21({}).integer(-1);
    w.integer(2).shape(-1, 0, 0, 1, 1).shape(99, 5, 6, 7, 8).noPicture().integer(5).line(9, 9, 9, 9).raw("trailing");
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_TRUE(h.lines().empty());
    EXPECT_EQ(h.shapes(), (std::vector<std::vector<float>>{{-1, 0, 0, 1, 1}, {99, 5, 6, 7, 8}}));
    EXPECT_TRUE(h.file.temporaryPicturePath().empty());
}
