// The file layouts by version: the 74-byte block of 1.1 to 1.4, the 84 + n
// block of 1.5 and 1.6 with the 14-byte bitmap tail from version code 602, and
// the 52 + n block of 2.1; then the line and shape records.

#include "harness.h"

#include <gtest/gtest.h>

#include <limits>

using namespace orvane;
using namespace orvane::testing;

namespace {

enum class Block { V11, V15, V15Tail, V21 };

// Every field differs from the stored defaults and from the other fields.
PatternWriter::Page distinctPage()
{
    PatternWriter::Page p;
    p.marginTop = 0.25f;
    p.marginBottom = 0.75f;
    p.marginLeft = 1.25f;
    p.marginRight = 1.5f;
    p.defWidth = 8.5f;
    p.defHeight = 11.0f;
    p.patternWidth = 8640.0f; // not 8.5 x 1440: 1.x takes it from the file
    p.patternHeight = 5760.0f;
    p.penSizeValue = 0.0625f;
    p.penColor = 0x00123456;
    p.penSizeText = "\xBD/16\""; // single-byte characters kept as they are
    p.bitmapPenSize = 2.5f;
    p.bitmapSizeHeight = 640.0f; // stored before the width
    p.bitmapSizeWidth = 480.0f;
    p.metricPen = true;
    return p;
}

} // namespace

TEST(Layout, EachVersionReadsItsBlockFieldByFieldAndSkipsTheRest)
{
    struct Case {
        std::int16_t major, minor, sub;
        Block block;
        std::size_t blockBytes;
    };
    const Case cases[] = {
        {1, 1, 7, Block::V11, 74},          {1, 2, 0, Block::V11, 74},          {1, 3, 0, Block::V11, 74},
        {1, 4, 0, Block::V11, 74},          {1, 5, 0, Block::V15, 84 + 5},      {1, 5, 102, Block::V15Tail, 98 + 5},
        {1, 6, 1, Block::V15, 84 + 5},      {1, 6, 0, Block::V15, 84 + 5},      {1, 6, -32768, Block::V15, 84 + 5},
        {1, 6, 2, Block::V15Tail, 98 + 5},  {1, 6, 32167, Block::V15Tail, 98 + 5},
        {2, 1, 0, Block::V21, 52 + 5},      {2, 1, -5, Block::V21, 52 + 5},
    };
    const PatternWriter::Page p = distinctPage();
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor) + " sub " + std::to_string(c.sub));
        LoaderHarness h;
        PatternWriter w;
        // Bytes that are not interpreted are filled so that a reader using them
        // would be caught; a long first text needs both bytes of its length.
        w.fillNotInterpreted(0x5A).header(c.major, c.minor, c.sub, std::string(300, 'x'), "any \xBD");
        const std::size_t headerBytes = w.size();
        ASSERT_EQ(headerBytes, 2u + 300 + 6 + 2 + 5);
        if (c.block == Block::V11)
            w.settings11(p);
        else if (c.block == Block::V21)
            w.settings21(p);
        else
            w.settings15(p, c.block == Block::V15Tail);
        ASSERT_EQ(w.size() - headerBytes, c.blockBytes);
        w.integer(1).line(100, 200, 300, 400).integer(1).shape(ShapeOval, 10, 20, 30, 40).noPicture();

        ASSERT_TRUE(h.load(w));
        EXPECT_TRUE(h.box.boxes.empty());
        const PatternSettings &s = h.settings();
        EXPECT_EQ(s.MarginTop, 0.25f);
        EXPECT_EQ(s.MarginBottom, 0.75f);
        EXPECT_EQ(s.MarginLeft, 1.25f);
        EXPECT_EQ(s.MarginRight, 1.5f);
        EXPECT_EQ(s.DefWidth, 8.5f);
        EXPECT_EQ(s.DefHeight, 11.0f);
        const bool v21 = c.block == Block::V21;
        EXPECT_EQ(h.dimension.PageWidthTwips(), v21 ? 12240.0f : 8640.0f);
        EXPECT_EQ(h.dimension.PageHeightTwips(), v21 ? 15840.0f : 5760.0f);
        EXPECT_EQ(h.mirror.PatternWidth(), h.dimension.PageWidthTwips());
        EXPECT_EQ(h.mirror.PatternHeight(), h.dimension.PageHeightTwips());
        // 1.1 to 1.4 hold no pen fields: the stored defaults stand.
        const bool pen = c.block != Block::V11;
        EXPECT_EQ(s.PenSizeValue, pen ? 0.0625f : 0.015625f);
        EXPECT_EQ(s.PenSizeText, pen ? "\xBD/16\"" : "1/64");
        EXPECT_EQ(s.PenColor, pen ? 0x00123456 : 0);
        EXPECT_EQ(s.BandW, pen ? 0 : -1);
        // Without the bitmap tail the height follows the page: 11 / 8.5 x 300.
        const bool tail = c.block == Block::V15Tail || v21;
        EXPECT_EQ(s.BitmapPenSize, tail ? 2.5f : 1.0f);
        EXPECT_EQ(s.BitmapSizeWidth, tail ? 480.0f : 300.0f);
        EXPECT_EQ(s.BitmapSizeHeight,
                  tail ? 640.0f : c.block == Block::V15 ? static_cast<float>(11.0 / 8.5 * 300.0) : 300.0f);
        EXPECT_EQ(s.MetricPage, 0);
        EXPECT_EQ(s.MetricPen, v21 ? -1 : 0);
        EXPECT_EQ(h.file.header().VersionSub, c.sub);

        const auto lines = h.visibleLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].X1, 100.0f);
        EXPECT_EQ(lines[0].Y1, 200.0f);
        EXPECT_EQ(lines[0].X2, 300.0f);
        EXPECT_EQ(lines[0].Y2, 400.0f);
        const auto shapes = h.visibleShapes();
        ASSERT_EQ(shapes.size(), 1u);
        EXPECT_EQ(shapes[0].Shape, ShapeOval);
        EXPECT_EQ(shapes[0].Left, 10.0f);
        EXPECT_EQ(shapes[0].Top, 20.0f);
        EXPECT_EQ(shapes[0].Width, 30.0f);
        EXPECT_EQ(shapes[0].Height, 40.0f);
    }
}

TEST(Layout, SmallestVersion21FileIs68BytesAndLoadsEmpty)
{
    LoaderHarness h;
    PatternWriter::Page p;
    p.penSizeText = "";
    PatternWriter w;
    w.header(2, 1, 0, "", "").settings21(p).integer(0).integer(0).noPicture();
    ASSERT_EQ(w.size(), 68u);
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.drawing().OutLine.count(), 1);
    EXPECT_EQ(h.drawing().OutShape.count(), 1);
    EXPECT_FALSE(h.drawing().OutLine[0].Visible);
    EXPECT_EQ(h.mirror.LineCount(), 1);
    EXPECT_FALSE(h.mirror.MirrorLine()[0].Visible);
    EXPECT_TRUE(h.file.temporaryPicturePath().empty());
}

TEST(Layout, MetricA4PageOfVersion21GivesTheNearestSingles)
{
    LoaderHarness h;
    PatternWriter::Page p;
    p.defWidth = 21.0f;
    p.defHeight = 29.7f;
    p.metricPage = true;
    ASSERT_TRUE(h.load(PatternWriter().header(2, 1, 0).settings21(p).integer(0).integer(0).noPicture()));
    EXPECT_EQ(h.dimension.PageWidthTwips(), static_cast<float>(21.0 / 2.54 * 1440.0));
    EXPECT_EQ(h.dimension.PageHeightTwips(), static_cast<float>(double(29.7f) / 2.54 * 1440.0));
    EXPECT_NEAR(h.dimension.PageWidthTwips(), 11905.512, 0.001);
    EXPECT_NEAR(h.dimension.PageHeightTwips(), 16837.795, 0.001);
}

TEST(Layout, Version21ReplacesTheStoredFieldsOfAnEarlierVersion1Load)
{
    LoaderHarness h;
    h.store.values["PenSizeText"] = "stored";
    h.store.values["BitmapPenSize"] = "7";
    ASSERT_TRUE(h.load(PatternWriter().header(1, 1, 0).settings11({}).integer(0).integer(0).noPicture(), "one.pat"));
    ASSERT_EQ(h.settings().PenSizeText, "stored");
    ASSERT_TRUE(h.load(PatternWriter().header(2, 1, 0).settings21(distinctPage()).integer(0).integer(0), "two.pat"));
    EXPECT_EQ(h.settings().PenSizeText, "\xBD/16\"");
    EXPECT_EQ(h.settings().BitmapPenSize, 2.5f);
    EXPECT_EQ(h.settings().MetricPen, -1);
}

TEST(Layout, Version15BitmapHeightFollowsTheStoredWidthAndAPositivePageWidth)
{
    const std::pair<float, float> cases[] = {{8.5f, static_cast<float>(11.0 / 8.5 * 600.0)},
                                             {0.0f, 600.0f},
                                             {-8.5f, 600.0f},
                                             {std::numeric_limits<float>::quiet_NaN(), 600.0f}};
    for (const auto &[width, height] : cases) {
        SCOPED_TRACE(width);
        LoaderHarness h;
        h.store.values["BitmapSizeWidth"] = "600";
        PatternWriter::Page p;
        p.defWidth = width;
        ASSERT_TRUE(h.load(PatternWriter().header(1, 5, 0).settings15(p, false).integer(0).integer(0)));
        EXPECT_EQ(h.settings().BitmapSizeWidth, 600.0f);
        EXPECT_EQ(h.settings().BitmapSizeHeight, height);
    }
}

TEST(Layout, RecordCountsKindsAndTrailingBytes)
{
    LoaderHarness h;
    PatternWriter w;
    // A negative count reads no records; shape kinds are kept as read; bytes
    // after the picture block change nothing.
    w.header(2, 1, 0).settings21({}).integer(-1);
    w.integer(3).shape(-1, 0, 0, 1, 1).shape(99, 5, 6, 7, 8).shape(-32768, 0, 0, 1, 1).noPicture();
    w.integer(5).line(9, 9, 9, 9).raw("trailing bytes");
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_TRUE(h.visibleLines().empty());
    const auto shapes = h.visibleShapes();
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0].Shape, -1);
    EXPECT_EQ(shapes[1].Shape, 99);
    EXPECT_EQ(shapes[1].Left, 5.0f);
    EXPECT_EQ(shapes[1].Height, 8.0f);
    EXPECT_EQ(shapes[2].Shape, -32768);
    EXPECT_TRUE(h.file.temporaryPicturePath().empty());
}
