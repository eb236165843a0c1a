// Versions 1.1 to 1.4: the 74-byte settings block, stored defaults for the
// pen and bitmap fields, the pattern size from the file.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter::Page distinctPage()
{
    PatternWriter::Page p;
    p.marginTop = 0.25f;
    p.marginBottom = 0.75f;
    p.marginLeft = 1.25f;
    p.marginRight = 1.5f;
    p.defWidth = 8.5f;
    p.defHeight = 11.0f;
    p.patternWidth = 8640.0f;
    p.patternHeight = 5760.0f;
    return p;
}

} // namespace

class LayoutV11 : public ::testing::TestWithParam<int> {};

TEST_P(LayoutV11, ReadsTheBlockFieldByFieldAndSkipsTheRest)
{
    LoaderHarness h;
    PatternWriter w;
    // Bytes that are not interpreted are filled so that a reader that used
    // them would be caught.
    w.fillNotInterpreted(0x5A).header(1, static_cast<std::int16_t>(GetParam()), 7).settings11(distinctPage());
    const std::size_t afterSettings = w.size();
    w.integer(1).line(100, 200, 300, 400);
    w.integer(1).shape(ShapeOval, 10, 20, 30, 40);
    w.noPicture();
    // Header: 2 + 21 (first text) + 6 + 2 (empty second text); block 74.
    ASSERT_EQ(afterSettings, 31u + 74u);

    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.MarginTop, 0.25f);
    EXPECT_EQ(s.MarginBottom, 0.75f);
    EXPECT_EQ(s.MarginLeft, 1.25f);
    EXPECT_EQ(s.MarginRight, 1.5f);
    EXPECT_EQ(s.DefWidth, 8.5f);
    EXPECT_EQ(s.DefHeight, 11.0f);
    EXPECT_EQ(s.PatternWidth, 8640.0f);
    EXPECT_EQ(s.PatternHeight, 5760.0f);
    EXPECT_EQ(h.dimension.PageWidthTwips(), 8640.0f);
    EXPECT_EQ(h.dimension.PageHeightTwips(), 5760.0f);
    EXPECT_EQ(h.file.header().VersionMajor, 1);
    EXPECT_EQ(h.file.header().VersionMinor, GetParam());
    EXPECT_EQ(h.file.header().VersionSub, 7);

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

TEST_P(LayoutV11, PenAndBitmapFieldsAreTheStoredDefaults)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(1, static_cast<std::int16_t>(GetParam()), 0).settings11(distinctPage()).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.PenSizeValue, 0.015625f);
    EXPECT_EQ(s.PenSizeText, "1/64");
    EXPECT_EQ(s.PenColor, 0);
    EXPECT_NE(s.BandW, 0);
    EXPECT_EQ(s.BitmapPenSize, 1.0f);
    EXPECT_EQ(s.BitmapSizeWidth, 300.0f);
    EXPECT_EQ(s.BitmapSizeHeight, 300.0f);
    EXPECT_EQ(s.MetricPage, 0);
    EXPECT_EQ(s.MetricPen, 0);
}

INSTANTIATE_TEST_SUITE_P(Minor1To4, LayoutV11, ::testing::Values(1, 2, 3, 4));

TEST(LayoutV14, PatternSizeComesFromTheFileEvenWhenThePageSizeDisagrees)
{
    LoaderHarness h;
    PatternWriter::Page p;
    p.defWidth = 8.5f;
    p.defHeight = 11.0f;
    p.patternWidth = 1000.0f; // not 8.5 x 1440
    p.patternHeight = 2000.5f;
    PatternWriter w;
    w.header(1, 4, 0).settings11(p).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.dimension.PageWidthTwips(), 1000.0f);
    EXPECT_EQ(h.dimension.PageHeightTwips(), 2000.5f);
    EXPECT_EQ(h.mirror.PatternWidth(), 1000.0f);
    EXPECT_EQ(h.mirror.PatternHeight(), 2000.5f);
}

TEST(LayoutV14, MetricFlagsAreFalseWhateverTheStoreHolds)
{
    LoaderHarness h;
    h.store.values["MetricPage"] = "true";
    h.store.values["MetricPen"] = "-1";
    PatternWriter w;
    w.header(1, 4, 0).settings11(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.settings().MetricPage, 0);
    EXPECT_EQ(h.settings().MetricPen, 0);
    // The file's pattern size stands, not one computed from the metric page.
    EXPECT_EQ(h.dimension.PageWidthTwips(), 12240.0f);
}

TEST(LayoutHeader, TextsOfLengthZeroTakeNoBytes)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(1, 1, 0, "", "").settings11(PatternWriter::Page{});
    ASSERT_EQ(w.size(), 10u + 74u);
    w.integer(1).line(1, 2, 3, 4).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    ASSERT_EQ(h.visibleLines().size(), 1u);
    EXPECT_EQ(h.visibleLines()[0].Y2, 4.0f);
}

TEST(LayoutHeader, HeaderTextsAreReadAndIgnored)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(1, 1, 0, std::string(300, 'x'), "anything at all \xBD").settings11(PatternWriter::Page{});
    w.integer(1).line(1, 2, 3, 4).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    ASSERT_EQ(h.visibleLines().size(), 1u);
    EXPECT_EQ(h.visibleLines()[0].X1, 1.0f);
}

TEST(LayoutRecords, LineCountZeroIsFollowedDirectlyByTheShapeCount)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(1, 1, 0).settings11(PatternWriter::Page{}).integer(0);
    w.integer(2).shape(0, 1, 2, 3, 4).shape(5, 5, 6, 7, 8).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.visibleLines().empty());
    const auto shapes = h.visibleShapes();
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[1].Shape, 5);
    EXPECT_EQ(shapes[1].Left, 5.0f);
    EXPECT_EQ(shapes[1].Top, 6.0f);
    EXPECT_EQ(shapes[1].Width, 7.0f);
    EXPECT_EQ(shapes[1].Height, 8.0f);
}

TEST(LayoutRecords, ShapeKindsOutsideZeroToFiveAreKeptAsRead)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0);
    w.integer(3).shape(-1, 0, 0, 1, 1).shape(99, 0, 0, 1, 1).shape(-32768, 0, 0, 1, 1).noPicture();
    ASSERT_TRUE(h.load(w));
    const auto shapes = h.visibleShapes();
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0].Shape, -1);
    EXPECT_EQ(shapes[1].Shape, 99);
    EXPECT_EQ(shapes[2].Shape, -32768);
}

TEST(LayoutRecords, NegativeCountsReadNoRecords)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{});
    w.integer(-1).integer(-32767).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.visibleLines().empty());
    EXPECT_TRUE(h.visibleShapes().empty());
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST(LayoutRecords, BytesAfterThePictureBlockChangeNothing)
{
    LoaderHarness a;
    LoaderHarness b;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(1).line(1, 2, 3, 4).integer(0).noPicture();
    PatternWriter longer = w;
    longer.integer(5).line(9, 9, 9, 9).raw("trailing bytes");
    ASSERT_TRUE(a.load(w));
    ASSERT_TRUE(b.load(longer));
    EXPECT_EQ(a.visibleLines().size(), b.visibleLines().size());
    EXPECT_EQ(b.visibleLines().size(), 1u);
    EXPECT_TRUE(b.visibleShapes().empty());
    EXPECT_TRUE(b.file.temporaryPicturePath().empty());
}
