// The stored defaults, read through a fake settings store: which keys, in
// which order, what they fill, and what a text that does not convert does.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter v11()
{
    PatternWriter w;
    w.header(1, 1, 0).settings11(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    return w;
}

PatternWriter v15()
{
    PatternWriter w;
    w.header(1, 5, 0).settings15(PatternWriter::Page{}, false).integer(0).integer(0).noPicture();
    return w;
}

} // namespace

TEST(StoredDefaults, FifteenKeysInOrderUnderVeltrumOrvanePattern)
{
    LoaderHarness h;
    ASSERT_TRUE(h.load(v11()));
    const std::vector<std::string> expected = {
        "PenSizeValue", "PenSizeText", "PenColor",   "BandW",       "BitmapPenSize",
        "BitmapSizeWidth", "BitmapSizeWidth", "MarginTop", "MarginRight", "MarginBottom",
        "MarginLeft",   "MetricPen",   "MetricPage", "DefWidth",    "DefHeight",
    };
    EXPECT_EQ(h.store.keysRead(), expected);
    for (const auto &read : h.store.reads) {
        EXPECT_EQ(read.application, "Veltrum Orvane");
        EXPECT_EQ(read.section, "Pattern");
    }
}

TEST(StoredDefaults, Version15ReadsTheSameKeys)
{
    LoaderHarness h;
    ASSERT_TRUE(h.load(v15()));
    EXPECT_EQ(h.store.reads.size(), 15u);
}

TEST(StoredDefaults, EmptyStoreGivesTheDefaults)
{
    LoaderHarness h;
    ASSERT_TRUE(h.load(v11()));
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.PenSizeValue, 0.015625f);
    EXPECT_EQ(s.PenSizeText, "1/64");
    EXPECT_EQ(s.PenColor, 0);
    EXPECT_EQ(s.BandW, -1);
    EXPECT_EQ(s.BitmapPenSize, 1.0f);
    EXPECT_EQ(s.BitmapSizeWidth, 300.0f);
    EXPECT_EQ(s.BitmapSizeHeight, 300.0f);
}

TEST(StoredDefaults, LoadSettingDefaultsFillsEveryField)
{
    LibDimension d;
    FakeSettingsStore store;
    ASSERT_TRUE(d.LoadSettingDefaults(store));
    const PatternSettings &s = d.settings();
    EXPECT_EQ(s.MarginTop, 0.5f);
    EXPECT_EQ(s.MarginBottom, 0.5f);
    EXPECT_EQ(s.MarginLeft, 0.5f);
    EXPECT_EQ(s.MarginRight, 0.5f);
    EXPECT_EQ(s.DefWidth, 8.5f);
    EXPECT_EQ(s.DefHeight, 11.0f);
    EXPECT_EQ(s.PatternWidth, 12240.0f);
    EXPECT_EQ(s.PatternHeight, 15840.0f);
    EXPECT_EQ(s.MetricPage, 0);
    EXPECT_EQ(s.MetricPen, 0);
}

TEST(StoredDefaults, BitmapSizeHeightReadsTheKeyBitmapSizeWidth)
{
    LoaderHarness h;
    h.store.values["BitmapSizeWidth"] = "640";
    h.store.values["BitmapSizeHeight"] = "999"; // no such key is read
    ASSERT_TRUE(h.load(v11()));
    EXPECT_EQ(h.settings().BitmapSizeWidth, 640.0f);
    EXPECT_EQ(h.settings().BitmapSizeHeight, 640.0f);
}

TEST(StoredDefaults, StoredValuesFillTheVersion1PenFields)
{
    LoaderHarness h;
    h.store.values["PenSizeValue"] = "0.25";
    h.store.values["PenSizeText"] = "1/4";
    h.store.values["PenColor"] = "255";
    h.store.values["BandW"] = "false";
    h.store.values["BitmapPenSize"] = "3";
    ASSERT_TRUE(h.load(v11()));
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.PenSizeValue, 0.25f);
    EXPECT_EQ(s.PenSizeText, "1/4");
    EXPECT_EQ(s.PenColor, 255);
    EXPECT_EQ(s.BandW, 0);
    EXPECT_EQ(s.BitmapPenSize, 3.0f);
}

TEST(StoredDefaults, TruthValuesConvertAsWordsOrNumbers)
{
    const std::pair<const char *, std::int16_t> cases[] = {
        {"true", -1}, {"True", -1}, {"-1", -1}, {"1", -1}, {"false", 0}, {"False", 0}, {"0", 0},
    };
    for (const auto &[text, value] : cases) {
        LoaderHarness h;
        h.store.values["BandW"] = text;
        ASSERT_TRUE(h.load(v11())) << text;
        EXPECT_EQ(h.settings().BandW, value) << text;
    }
}

TEST(StoredDefaults, StoredMarginsAndPageAreOverwrittenByAVersion1File)
{
    LoaderHarness h;
    h.store.values["MarginTop"] = "2";
    h.store.values["DefWidth"] = "20";
    h.store.values["MetricPage"] = "true";
    ASSERT_TRUE(h.load(v11()));
    EXPECT_EQ(h.settings().MarginTop, 0.5f);
    EXPECT_EQ(h.settings().DefWidth, 8.5f);
    EXPECT_EQ(h.settings().MetricPage, 0);
    EXPECT_EQ(h.dimension.PageWidthTwips(), 12240.0f);
}

class UnconvertibleStoredText : public ::testing::TestWithParam<const char *> {};

TEST_P(UnconvertibleStoredText, FailsAVersion1LoadWithTheFormatMessage)
{
    for (const bool version15 : {false, true}) {
        LoaderHarness h;
        h.store.values[GetParam()] = "abc";
        EXPECT_FALSE(h.load(version15 ? v15() : v11())) << GetParam();
        ASSERT_EQ(h.box.boxes.size(), 1u);
        EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
        EXPECT_EQ(h.box.boxes[0].style, 48);
        EXPECT_EQ(h.box.boxes[0].title, "Veltrum Orvane");
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, UnconvertibleStoredText,
                         ::testing::Values("DefWidth", "DefHeight", "PenSizeValue", "PenColor", "BandW",
                                           "BitmapPenSize", "BitmapSizeWidth", "MarginTop", "MarginRight",
                                           "MarginBottom", "MarginLeft", "MetricPen", "MetricPage"));

TEST(StoredDefaults, PenSizeTextIsNeverConverted)
{
    LoaderHarness h;
    h.store.values["PenSizeText"] = "abc";
    ASSERT_TRUE(h.load(v11()));
    EXPECT_EQ(h.settings().PenSizeText, "abc");
}

TEST(StoredDefaults, StoredPageTooLargeForASingleFailsAVersion1Load)
{
    LoaderHarness h;
    h.store.values["DefWidth"] = "1e38";
    EXPECT_FALSE(h.load(v11()));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
}

TEST(StoredDefaults, Version21DoesNotReadTheStore)
{
    LoaderHarness h;
    h.store.values["DefWidth"] = "abc";
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.store.reads.empty());
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST(ComputePatternSize, InchesAndCentimetres)
{
    LibDimension d;
    d.settings().DefWidth = 8.5f;
    d.settings().DefHeight = 11.0f;
    d.settings().MetricPage = 0;
    ASSERT_TRUE(d.ComputePatternSize());
    EXPECT_EQ(d.PageWidthTwips(), 12240.0f);
    EXPECT_EQ(d.PageHeightTwips(), 15840.0f);

    d.settings().DefWidth = 21.0f;
    d.settings().DefHeight = 29.7f;
    d.settings().MetricPage = -1;
    ASSERT_TRUE(d.ComputePatternSize());
    EXPECT_NEAR(d.PageWidthTwips(), 11905.512, 0.0005);
    EXPECT_NEAR(d.PageHeightTwips(), 16837.795, 0.0005);
    EXPECT_EQ(d.PageWidthTwips(), static_cast<float>(21.0 / 2.54 * 1440.0));
}

TEST(ComputePatternSize, StoredMetricA4Page)
{
    LibDimension d;
    FakeSettingsStore store;
    store.values["DefWidth"] = "21";
    store.values["DefHeight"] = "29.7";
    store.values["MetricPage"] = "true";
    ASSERT_TRUE(d.LoadSettingDefaults(store));
    EXPECT_NEAR(d.PageWidthTwips(), 11905.512, 0.0005);
    EXPECT_NEAR(d.PageHeightTwips(), 16837.795, 0.0005);
}
