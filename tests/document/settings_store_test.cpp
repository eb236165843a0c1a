// The stored defaults, read through a fake settings store: which keys, in
// which order, what they fill, and what a text that does not convert does.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter v11() { return PatternWriter().header(1, 1, 0).settings11({}).integer(0).integer(0).noPicture(); }
PatternWriter v15() { return PatternWriter().header(1, 5, 0).settings15({}, false).integer(0).integer(0).noPicture(); }

} // namespace

TEST(StoredDefaults, FifteenKeysInOrderAndTheirDefaults)
{
    const std::vector<std::string> keys = {
        "PenSizeValue", "PenSizeText", "PenColor",    "BandW",        "BitmapPenSize",
        "BitmapSizeWidth", "BitmapSizeWidth", "MarginTop", "MarginRight", "MarginBottom",
        "MarginLeft",   "MetricPen",   "MetricPage",  "DefWidth",     "DefHeight",
    };
    for (const bool version15 : {false, true}) {
        SCOPED_TRACE(version15 ? "1.5" : "1.1");
        LoaderHarness h;
        ASSERT_TRUE(h.load(version15 ? v15() : v11()));
        EXPECT_EQ(h.store.keysRead(), keys);
        for (const auto &read : h.store.reads) {
            EXPECT_EQ(read.application, "Veltrum Orvane");
            EXPECT_EQ(read.section, "Pattern");
        }
    }
    LibDimension d;
    FakeSettingsStore store;
    ASSERT_TRUE(d.LoadSettingDefaults(store));
    const PatternSettings &s = d.settings();
    EXPECT_EQ(s.PenSizeValue, 0.015625f);
    EXPECT_EQ(s.PenSizeText, "1/64");
    EXPECT_EQ(s.PenColor, 0);
    EXPECT_EQ(s.BandW, -1);
    EXPECT_EQ(s.BitmapPenSize, 1.0f);
    EXPECT_EQ(s.BitmapSizeWidth, 300.0f);
    EXPECT_EQ(s.BitmapSizeHeight, 300.0f);
    EXPECT_EQ(s.MarginTop, 0.5f);
    EXPECT_EQ(s.MarginLeft, 0.5f);
    EXPECT_EQ(s.PatternWidth, 12240.0f);
    EXPECT_EQ(s.PatternHeight, 15840.0f);
    EXPECT_EQ(s.MetricPage, 0);
    EXPECT_EQ(s.MetricPen, 0);
}

TEST(StoredDefaults, StoredTextsFillTheVersion1PenFields)
{
    LoaderHarness h;
    h.store.values["PenSizeValue"] = "0.25";
    h.store.values["PenSizeText"] = "abc"; // never converted
    h.store.values["PenColor"] = "255";
    h.store.values["BitmapPenSize"] = "3";
    h.store.values["BitmapSizeWidth"] = "640";
    h.store.values["BitmapSizeHeight"] = "999"; // no such key is read: the height comes from "BitmapSizeWidth"
    ASSERT_TRUE(h.load(v11()));
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.PenSizeValue, 0.25f);
    EXPECT_EQ(s.PenSizeText, "abc");
    EXPECT_EQ(s.PenColor, 255);
    EXPECT_EQ(s.BitmapPenSize, 3.0f);
    EXPECT_EQ(s.BitmapSizeWidth, 640.0f);
    EXPECT_EQ(s.BitmapSizeHeight, 640.0f);
}

TEST(StoredDefaults, TruthValuesConvertAsWordsOrNumbers)
{
    const std::pair<const char *, std::int16_t> cases[] = {
        {"true", -1}, {"True", -1}, {"-1", -1}, {"1", -1}, {"false", 0}, {"False", 0}, {"0", 0},
    };
    for (const auto &[text, value] : cases) {
        SCOPED_TRACE(text);
        LoaderHarness h;
        h.store.values["BandW"] = text;
        ASSERT_TRUE(h.load(v11()));
        EXPECT_EQ(h.settings().BandW, value);
    }
}

TEST(StoredDefaults, StoredMarginsAndPageAreOverwrittenByAVersion1File)
{
    LoaderHarness h;
    h.store.values["MarginTop"] = "2";
    h.store.values["DefWidth"] = "20";
    h.store.values["MetricPage"] = "true";
    h.store.values["MetricPen"] = "-1";
    ASSERT_TRUE(h.load(v11()));
    EXPECT_EQ(h.settings().MarginTop, 0.5f);
    EXPECT_EQ(h.settings().DefWidth, 8.5f);
    EXPECT_EQ(h.settings().MetricPage, 0);
    EXPECT_EQ(h.settings().MetricPen, 0);
    EXPECT_EQ(h.dimension.PageWidthTwips(), 12240.0f);
}

TEST(StoredDefaults, TextThatDoesNotConvertFailsAVersion1Load)
{
    const std::pair<const char *, const char *> cases[] = {
        {"DefWidth", "abc"},     {"DefHeight", "abc"},  {"PenSizeValue", "abc"},    {"PenColor", "abc"},
        {"BandW", "abc"},        {"BitmapPenSize", "abc"}, {"BitmapSizeWidth", "abc"}, {"MarginTop", "abc"},
        {"MarginRight", "abc"},  {"MarginBottom", "abc"}, {"MarginLeft", "abc"},    {"MetricPen", "abc"},
        {"MetricPage", "abc"},   {"DefWidth", "1e38"}, // a page too large for a Single
    };
    for (const auto &[key, text] : cases)
        for (const bool version15 : {false, true}) {
            SCOPED_TRACE(std::string(key) + " = " + text + (version15 ? " in 1.5" : " in 1.1"));
            LoaderHarness h;
            h.store.values[key] = text;
            EXPECT_FALSE(h.load(version15 ? v15() : v11()));
            ASSERT_EQ(h.box.boxes.size(), 1u);
            EXPECT_EQ(h.box.boxes[0].text,
                      LibMessage::FormatUnknownText() + "\r\n\r\n" + LibMessage::SettingAtFaultText(key, ""));
            EXPECT_EQ(h.box.boxes[0].style, 48);
        }
}

TEST(StoredDefaults, Version21DoesNotReadTheStore)
{
    LoaderHarness h;
    h.store.values["DefWidth"] = "abc";
    h.store.values["PenSizeText"] = "from the store";
    ASSERT_TRUE(h.load(PatternWriter().header(2, 1, 0).settings21({}).integer(0).integer(0).noPicture()));
    EXPECT_TRUE(h.store.reads.empty());
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.settings().PenSizeText, "1/32");
}

TEST(StoredDefaults, StoredMetricA4Page)
{
    LibDimension d;
    FakeSettingsStore store;
    store.values["DefWidth"] = "21";
    store.values["DefHeight"] = "29.7";
    store.values["MetricPage"] = "true";
    ASSERT_TRUE(d.LoadSettingDefaults(store));
    EXPECT_NEAR(d.PageWidthTwips(), 11905.512, 0.0005);
    EXPECT_NEAR(d.PageHeightTwips(), 16837.795, 0.0005);
    EXPECT_EQ(d.PageWidthTwips(), static_cast<float>(21.0 / 2.54 * 1440.0));
}
