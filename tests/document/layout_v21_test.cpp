// Version 2.1: the 52 + n byte block, every field from the file, the pattern
// size computed from the page.

#include "harness.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvane;
using namespace orvane::testing;

TEST(LayoutV21, SmallestFileIs68BytesAndLoadsEmpty)
{
    LoaderHarness h;
    PatternWriter::Page p;
    p.penSizeText = "";
    PatternWriter w;
    w.header(2, 1, 0, "", "").settings21(p).integer(0).integer(0).noPicture();
    ASSERT_EQ(w.size(), 68u);
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_TRUE(h.visibleLines().empty());
    EXPECT_TRUE(h.visibleShapes().empty());
    EXPECT_EQ(h.drawing().OutLine.count(), 1);
    EXPECT_EQ(h.drawing().OutShape.count(), 1);
    EXPECT_TRUE(h.file.temporaryPicturePath().empty());
}

TEST(LayoutV21, EveryFieldComesFromTheFileInItsOrder)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0);
    w.single(0.125f).single(0.25f).single(0.375f).single(0.5f); // margins top, bottom, left, right
    w.single(11.0f).single(8.5f);                               // DefWidth, DefHeight (landscape)
    w.single(0.5f).longValue(0x0000FF00).integer(-1);           // PenSizeValue, PenColor, BandW
    w.text("1/2");
    w.single(4.0f).single(200.0f).single(100.0f); // BitmapPenSize, BitmapSizeHeight, BitmapSizeWidth
    w.integer(0).integer(-1);                     // MetricPage false, MetricPen true
    ASSERT_EQ(w.size(), 31u + 52u + 3u);
    w.integer(1).line(10, 20, 30, 40).integer(0).noPicture();

    ASSERT_TRUE(h.load(w));
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.MarginTop, 0.125f);
    EXPECT_EQ(s.MarginBottom, 0.25f);
    EXPECT_EQ(s.MarginLeft, 0.375f);
    EXPECT_EQ(s.MarginRight, 0.5f);
    EXPECT_EQ(s.DefWidth, 11.0f);
    EXPECT_EQ(s.DefHeight, 8.5f);
    EXPECT_EQ(s.PenSizeValue, 0.5f);
    EXPECT_EQ(s.PenColor, 0x0000FF00);
    EXPECT_EQ(s.BandW, -1);
    EXPECT_EQ(s.PenSizeText, "1/2");
    EXPECT_EQ(s.BitmapPenSize, 4.0f);
    EXPECT_EQ(s.BitmapSizeHeight, 200.0f);
    EXPECT_EQ(s.BitmapSizeWidth, 100.0f);
    EXPECT_EQ(s.MetricPage, 0);
    EXPECT_EQ(s.MetricPen, -1);
    // Computed in inches: 11 x 1440 by 8.5 x 1440.
    EXPECT_EQ(s.PatternWidth, 15840.0f);
    EXPECT_EQ(s.PatternHeight, 12240.0f);
    EXPECT_EQ(h.mirror.PatternWidth(), 15840.0f);
    EXPECT_EQ(h.mirror.PatternHeight(), 12240.0f);
    ASSERT_EQ(h.visibleLines().size(), 1u);
    EXPECT_EQ(h.visibleLines()[0].Y1, 20.0f);
}

TEST(LayoutV21, MetricA4PageGivesTheNearestSingles)
{
    LoaderHarness h;
    PatternWriter::Page p;
    p.defWidth = 21.0f;
    p.defHeight = 29.7f;
    p.metricPage = true;
    PatternWriter w;
    w.header(2, 1, 0).settings21(p).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.dimension.PageWidthTwips(), static_cast<float>(21.0 / 2.54 * 1440.0));
    EXPECT_EQ(h.dimension.PageHeightTwips(), static_cast<float>(double(29.7f) / 2.54 * 1440.0));
    EXPECT_NEAR(h.dimension.PageWidthTwips(), 11905.512, 0.001);
    EXPECT_NEAR(h.dimension.PageHeightTwips(), 16837.795, 0.001);
    EXPECT_NE(h.settings().MetricPage, 0);
}

TEST(LayoutV21, AnyNonZeroMetricPageMeansCentimetres)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0);
    w.single(0).single(0).single(0).single(0).single(2.54f).single(5.08f);
    w.single(0).longValue(0).integer(0).text("");
    w.single(0).single(0).single(0).integer(1).integer(0);
    w.integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.settings().MetricPage, 1);
    EXPECT_NEAR(h.dimension.PageWidthTwips(), 1440.0f, 0.001f);
    EXPECT_NEAR(h.dimension.PageHeightTwips(), 2880.0f, 0.001f);
}

TEST(LayoutV21, DoesNotReadTheSettingsStore)
{
    LoaderHarness h;
    h.store.values["PenSizeText"] = "from the store";
    h.store.values["DefWidth"] = "abc"; // would fail a version 1 file
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.store.reads.empty());
    EXPECT_EQ(h.settings().PenSizeText, "1/32");
}

TEST(LayoutV21, ReplacesEveryFieldOfAnEarlierVersion1Load)
{
    LoaderHarness h;
    h.store.values["PenSizeText"] = "stored";
    h.store.values["BitmapPenSize"] = "7";
    PatternWriter v1;
    v1.header(1, 1, 0).settings11(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(v1, "one.pat"));
    ASSERT_EQ(h.settings().PenSizeText, "stored");

    PatternWriter::Page p;
    p.marginTop = 1;
    p.marginBottom = 2;
    p.marginLeft = 3;
    p.marginRight = 4;
    p.defWidth = 5;
    p.defHeight = 6;
    p.penSizeValue = 7;
    p.penColor = 8;
    p.bandW = false;
    p.penSizeText = "9";
    p.bitmapPenSize = 10;
    p.bitmapSizeHeight = 11;
    p.bitmapSizeWidth = 12;
    p.metricPage = false;
    p.metricPen = true;
    PatternWriter v2;
    v2.header(2, 1, 0).settings21(p).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(v2, "two.pat"));
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.MarginTop, 1.0f);
    EXPECT_EQ(s.MarginBottom, 2.0f);
    EXPECT_EQ(s.MarginLeft, 3.0f);
    EXPECT_EQ(s.MarginRight, 4.0f);
    EXPECT_EQ(s.DefWidth, 5.0f);
    EXPECT_EQ(s.DefHeight, 6.0f);
    EXPECT_EQ(s.PatternWidth, 7200.0f);
    EXPECT_EQ(s.PatternHeight, 8640.0f);
    EXPECT_EQ(s.PenSizeValue, 7.0f);
    EXPECT_EQ(s.PenColor, 8);
    EXPECT_EQ(s.BandW, 0);
    EXPECT_EQ(s.PenSizeText, "9");
    EXPECT_EQ(s.BitmapPenSize, 10.0f);
    EXPECT_EQ(s.BitmapSizeHeight, 11.0f);
    EXPECT_EQ(s.BitmapSizeWidth, 12.0f);
    EXPECT_EQ(s.MetricPage, 0);
    EXPECT_EQ(s.MetricPen, -1);
}

TEST(LayoutV21, PageSizeTooLargeForASingleFailsTheLoad)
{
    LoaderHarness h;
    PatternWriter::Page p;
    p.defWidth = 3e38f; // x 1440 is beyond a Single
    PatternWriter w;
    w.header(2, 1, 0).settings21(p).integer(0).integer(0).noPicture();
    EXPECT_FALSE(h.load(w));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
}

TEST(LayoutV21, SubVersionDoesNotChangeTheLayout)
{
    for (const std::int16_t sub : {0, 1, 2, 99, -5}) {
        LoaderHarness h;
        PatternWriter w;
        w.header(2, 1, sub).settings21(PatternWriter::Page{}).integer(1).line(1, 2, 3, 4).integer(0).noPicture();
        ASSERT_TRUE(h.load(w)) << sub;
        ASSERT_EQ(h.visibleLines().size(), 1u) << sub;
        EXPECT_EQ(h.visibleLines()[0].X1, 1.0f) << sub;
        EXPECT_EQ(h.settings().BitmapSizeWidth, 500.0f) << sub;
    }
}
