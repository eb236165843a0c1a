// Version 1.6: sub-version 1 (code 601) ends the block after PenSizeText;
// sub-version 2 (code 602) adds the 14-byte bitmap tail.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter::Page tailPage()
{
    PatternWriter::Page p;
    p.defWidth = 8.5f;
    p.defHeight = 11.0f;
    p.penSizeText = "1/32";
    p.bitmapPenSize = 2.5f;
    p.bitmapSizeHeight = 640.0f; // stored before the width
    p.bitmapSizeWidth = 480.0f;
    return p;
}

} // namespace

TEST(LayoutV16, SubVersion1HasNoBitmapTail)
{
    LoaderHarness h;
    PatternWriter w;
    w.fillNotInterpreted(0x77).header(1, 6, 1).settings15(tailPage(), false);
    ASSERT_EQ(w.size(), 31u + 84u + 4u);
    w.integer(2).line(1, 2, 3, 4).line(5, 6, 7, 8).integer(0).noPicture();

    ASSERT_TRUE(h.load(w));
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.PenSizeText, "1/32");
    EXPECT_EQ(s.BitmapPenSize, 1.0f);
    EXPECT_EQ(s.BitmapSizeWidth, 300.0f);
    EXPECT_EQ(s.BitmapSizeHeight, static_cast<float>(11.0 / 8.5 * 300.0));
    const auto lines = h.visibleLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].X1, 1.0f);
    EXPECT_EQ(lines[1].Y2, 8.0f);
}

TEST(LayoutV16, SubVersion2ReadsTheBitmapTail)
{
    LoaderHarness h;
    PatternWriter w;
    w.fillNotInterpreted(0x77).header(1, 6, 2).settings15(tailPage(), true);
    ASSERT_EQ(w.size(), 31u + 98u + 4u);
    w.integer(2).line(1, 2, 3, 4).line(5, 6, 7, 8).integer(1).shape(ShapeCircle, 9, 10, 11, 12).noPicture();

    ASSERT_TRUE(h.load(w));
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.PenSizeText, "1/32");
    EXPECT_EQ(s.BitmapPenSize, 2.5f);
    EXPECT_EQ(s.BitmapSizeHeight, 640.0f);
    EXPECT_EQ(s.BitmapSizeWidth, 480.0f);
    EXPECT_EQ(s.MetricPage, 0);
    EXPECT_EQ(s.MetricPen, 0);
    ASSERT_EQ(h.visibleLines().size(), 2u);
    EXPECT_EQ(h.visibleLines()[1].X1, 5.0f);
    ASSERT_EQ(h.visibleShapes().size(), 1u);
    EXPECT_EQ(h.visibleShapes()[0].Shape, ShapeCircle);
    EXPECT_EQ(h.visibleShapes()[0].Height, 12.0f);
}

TEST(LayoutV16, TailIsNotDerivedEvenWhenItDisagreesWithThePage)
{
    LoaderHarness h;
    PatternWriter::Page p = tailPage();
    p.bitmapSizeHeight = 1.0f;
    p.bitmapSizeWidth = 1000.0f;
    PatternWriter w;
    w.header(1, 6, 2).settings15(p, true).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.settings().BitmapSizeHeight, 1.0f);
    EXPECT_EQ(h.settings().BitmapSizeWidth, 1000.0f);
}

TEST(LayoutV16, HigherSubVersionsAlsoHaveTheTail)
{
    for (const std::int16_t sub : {3, 10, 99, 32167}) {
        LoaderHarness h;
        PatternWriter w;
        w.header(1, 6, sub).settings15(tailPage(), true).integer(1).line(1, 2, 3, 4).integer(0).noPicture();
        ASSERT_TRUE(h.load(w)) << sub;
        EXPECT_EQ(h.settings().BitmapSizeWidth, 480.0f) << sub;
        ASSERT_EQ(h.visibleLines().size(), 1u) << sub;
        EXPECT_EQ(h.visibleLines()[0].X2, 3.0f) << sub;
    }
}

TEST(LayoutV16, SubVersionZeroAndNegativeHaveNoTail)
{
    for (const std::int16_t sub : {0, -1, -32768}) {
        LoaderHarness h;
        PatternWriter w;
        w.header(1, 6, sub).settings15(tailPage(), false).integer(1).line(1, 2, 3, 4).integer(0).noPicture();
        ASSERT_TRUE(h.load(w)) << sub;
        EXPECT_EQ(h.settings().BitmapSizeWidth, 300.0f) << sub;
        ASSERT_EQ(h.visibleLines().size(), 1u) << sub;
        EXPECT_EQ(h.visibleLines()[0].X1, 1.0f) << sub;
    }
}
