// Version 1.5: the settings block of 84 + n bytes without the bitmap tail, and
// the bitmap height derived from the page.

#include "harness.h"

#include <gtest/gtest.h>

#include <limits>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter::Page penPage()
{
    PatternWriter::Page p;
    p.marginTop = 0.1f;
    p.marginBottom = 0.2f;
    p.marginLeft = 0.3f;
    p.marginRight = 0.4f;
    p.defWidth = 8.5f;
    p.defHeight = 11.0f;
    p.patternWidth = 12240.0f;
    p.patternHeight = 15840.0f;
    p.penSizeValue = 0.0625f;
    p.penColor = 0x00123456;
    p.bandW = false;
    p.penSizeText = "1/16\"";
    return p;
}

} // namespace

TEST(LayoutV15, ReadsTheBlockUpToPenSizeTextAndNoTail)
{
    LoaderHarness h;
    PatternWriter w;
    w.fillNotInterpreted(0xA5).header(1, 5, 0).settings15(penPage(), false);
    // Header 31 bytes, block 84 + 5.
    ASSERT_EQ(w.size(), 31u + 84u + 5u);
    w.integer(1).line(11, 12, 13, 14).integer(0).noPicture();

    ASSERT_TRUE(h.load(w));
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.MarginTop, 0.1f);
    EXPECT_EQ(s.MarginBottom, 0.2f);
    EXPECT_EQ(s.MarginLeft, 0.3f);
    EXPECT_EQ(s.MarginRight, 0.4f);
    EXPECT_EQ(s.DefWidth, 8.5f);
    EXPECT_EQ(s.DefHeight, 11.0f);
    EXPECT_EQ(s.PatternWidth, 12240.0f);
    EXPECT_EQ(s.PatternHeight, 15840.0f);
    EXPECT_EQ(s.PenSizeValue, 0.0625f);
    EXPECT_EQ(s.PenColor, 0x00123456);
    EXPECT_EQ(s.BandW, 0);
    EXPECT_EQ(s.PenSizeText, "1/16\"");
    // No tail: bitmap pen size and width keep their stored defaults.
    EXPECT_EQ(s.BitmapPenSize, 1.0f);
    EXPECT_EQ(s.BitmapSizeWidth, 300.0f);
    EXPECT_EQ(s.MetricPage, 0);
    EXPECT_EQ(s.MetricPen, 0);

    ASSERT_EQ(h.visibleLines().size(), 1u);
    EXPECT_EQ(h.visibleLines()[0].X1, 11.0f);
    EXPECT_EQ(h.visibleLines()[0].Y2, 14.0f);
}

TEST(LayoutV15, BitmapHeightFollowsThePageWithoutTheTail)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(1, 5, 0).settings15(penPage(), false).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    // 11 / 8.5 x 300, formed in double and stored as a Single.
    EXPECT_EQ(h.settings().BitmapSizeHeight, static_cast<float>(11.0 / 8.5 * 300.0));
    EXPECT_NEAR(h.settings().BitmapSizeHeight, 388.2353f, 0.0001f);
}

TEST(LayoutV15, BitmapHeightUsesTheStoredBitmapWidth)
{
    LoaderHarness h;
    h.store.values["BitmapSizeWidth"] = "600";
    PatternWriter w;
    w.header(1, 5, 0).settings15(penPage(), false).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.settings().BitmapSizeWidth, 600.0f);
    EXPECT_EQ(h.settings().BitmapSizeHeight, static_cast<float>(11.0 / 8.5 * 600.0));
}

TEST(LayoutV15, NoPositivePageWidthLeavesTheStoredBitmapHeight)
{
    for (const float width : {0.0f, -8.5f, std::numeric_limits<float>::quiet_NaN()}) {
        LoaderHarness h;
        h.store.values["BitmapSizeWidth"] = "250";
        PatternWriter::Page p = penPage();
        p.defWidth = width;
        PatternWriter w;
        w.header(1, 5, 0).settings15(p, false).integer(0).integer(0).noPicture();
        ASSERT_TRUE(h.load(w)) << width;
        EXPECT_EQ(h.settings().BitmapSizeHeight, 250.0f) << width;
    }
}

TEST(LayoutV15, BitmapHeightTooLargeForASingleFailsTheLoad)
{
    LoaderHarness h;
    PatternWriter::Page p = penPage();
    p.defWidth = 1e-30f;
    p.defHeight = 1e30f;
    PatternWriter w;
    w.header(1, 5, 0).settings15(p, false).integer(0).integer(0).noPicture();
    EXPECT_FALSE(h.load(w));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
}

TEST(LayoutV15, PenSizeTextOfLengthZeroTakesNoBytes)
{
    LoaderHarness h;
    PatternWriter::Page p = penPage();
    p.penSizeText = "";
    PatternWriter w;
    w.header(1, 5, 0).settings15(p, false);
    ASSERT_EQ(w.size(), 31u + 84u);
    w.integer(1).line(5, 6, 7, 8).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.settings().PenSizeText, "");
    ASSERT_EQ(h.visibleLines().size(), 1u);
    EXPECT_EQ(h.visibleLines()[0].X1, 5.0f);
}

TEST(LayoutV15, PenSizeTextKeepsItsSingleByteCharacters)
{
    LoaderHarness h;
    PatternWriter::Page p = penPage();
    p.penSizeText = "\xBD mm"; // "½ mm" in Windows-1252
    PatternWriter w;
    w.header(1, 5, 0).settings15(p, false).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.settings().PenSizeText, "\xBD mm");
}

TEST(LayoutV15, AnyNonZeroBandWCountsAsTrueAndIsKept)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(1, 5, 0);
    PatternWriter::Page p = penPage();
    // Written by hand to store the Boolean 5.
    w.zeros(6).single(p.marginTop).single(p.marginBottom).single(p.marginLeft).single(p.marginRight).zeros(16);
    w.single(p.defWidth).single(p.defHeight).zeros(16).single(p.patternWidth).single(p.patternHeight);
    w.single(p.penSizeValue).longValue(p.penColor).integer(5).integer(0).text("x");
    w.integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.settings().BandW, 5);
    EXPECT_EQ(h.settings().PenSizeText, "x");
}

TEST(LayoutV15, SubVersionThatMakesTheCode602ReadsTheTail)
{
    // The tail goes by the version code alone: 1.5 with sub-version 102 is 602.
    LoaderHarness h;
    PatternWriter::Page p = penPage();
    p.bitmapPenSize = 3.0f;
    p.bitmapSizeHeight = 123.0f;
    p.bitmapSizeWidth = 456.0f;
    PatternWriter w;
    w.header(1, 5, 102).settings15(p, true).integer(1).line(1, 2, 3, 4).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.settings().BitmapPenSize, 3.0f);
    EXPECT_EQ(h.settings().BitmapSizeHeight, 123.0f);
    EXPECT_EQ(h.settings().BitmapSizeWidth, 456.0f);
    ASSERT_EQ(h.visibleLines().size(), 1u);
    EXPECT_EQ(h.visibleLines()[0].Y2, 4.0f);
}
