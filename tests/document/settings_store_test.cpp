// The stored defaults of a version 1 file, read through the settings store:
// which keys in which order, their defaults, and text that does not convert.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter v1(bool v15)
{
    PatternWriter w;
    v15 ? w.header(1, 5, 0).settings15({}, false) : w.header(1, 1, 0).settings11({});
    return w.integer(0).integer(0).noPicture();
}

} // namespace

TEST(StoredDefaults, FifteenKeysInOrderAndTheirDefaults)
{
    std::vector<std::string> keys;
    for (const char *k : {"PenSizeValue", "PenSizeText", "PenColor", "BandW", "BitmapPenSize", "BitmapSizeWidth",
                          "BitmapSizeWidth", "MarginTop", "MarginRight", "MarginBottom", "MarginLeft", "MetricPen",
                          "MetricPage", "DefWidth", "DefHeight"})
        keys.push_back(std::string("Veltrum Orvane/Pattern/") + k);
    for (const bool v15 : {false, true}) {
        LoaderHarness h;
        ASSERT_TRUE(h.load(v1(v15)));
        EXPECT_EQ(h.store.reads, keys);
    }
    LibDimension d;
    FakeSettingsStore store;
    ASSERT_TRUE(d.LoadSettingDefaults(store));
    const PatternSettings &s = d.settings();
    EXPECT_EQ(
        (std::vector<float>{s.MarginTop, s.MarginBottom, s.MarginLeft, s.MarginRight, s.DefWidth, s.DefHeight,
                            s.PatternWidth, s.PatternHeight, s.PenSizeValue, float(s.PenColor), float(s.BandW),
                            s.BitmapPenSize, s.BitmapSizeWidth, s.BitmapSizeHeight, float(s.MetricPen),
                            float(s.MetricPage)}),
        (std::vector<float>{0.5f, 0.5f, 0.5f, 0.5f, 8.5f, 11, 12240, 15840, 0.015625f, 0, -1, 1, 300, 300, 0, 0}));
    EXPECT_EQ(s.PenSizeText, "1/64");
}

TEST(StoredDefaults, StoredTextsFillThePenFieldsAndTheFileTheRest)
{
    LoaderHarness h;
    h.store.values = {{"PenSizeValue", "0.25"}, {"PenSizeText", "abc"}, {"PenColor", "255"}, {"BandW", "False"},
                      {"BitmapPenSize", "3"},   {"BitmapSizeWidth", "640"}, {"BitmapSizeHeight", "999"},
                      {"MarginTop", "2"},       {"DefWidth", "20"},         {"MetricPage", "true"}};
    ASSERT_TRUE(h.load(v1(false)));
    const PatternSettings &s = h.settings();
    // The height has no key of its own: it reads the width's.
    EXPECT_EQ((std::vector<float>{s.PenSizeValue, float(s.PenColor), float(s.BandW), s.BitmapPenSize,
                                  s.BitmapSizeWidth, s.BitmapSizeHeight, s.MarginTop, s.DefWidth, float(s.MetricPage)}),
              (std::vector<float>{0.25f, 255, 0, 3, 640, 640, 0.5f, 8.5f, 0}));
    EXPECT_EQ(s.PenSizeText, "abc");
}

TEST(StoredDefaults, TextThatDoesNotConvertFailsAVersion1Load)
{
    for (const char *key : {"DefWidth", "DefHeight", "PenSizeValue", "PenColor", "BandW", "BitmapPenSize",
                            "BitmapSizeWidth", "MarginTop", "MarginRight", "MarginBottom", "MarginLeft", "MetricPen",
                            "MetricPage"})
        for (const bool v15 : {false, true}) {
            SCOPED_TRACE(std::string(key) + (v15 ? " in 1.5" : " in 1.1"));
            LoaderHarness h;
            h.store.values[key] = key == std::string("DefWidth") ? "1e38" : "abc"; // 1e38 in: too large in twips
            EXPECT_FALSE(h.load(v1(v15)));
            ASSERT_EQ(h.box.boxes.size(), 1u);
            EXPECT_EQ(h.box.boxes[0].text,
                      LibMessage::FormatUnknownText() + "\r\n\r\n" + LibMessage::SettingAtFaultText(key, ""));
        }
}

TEST(StoredDefaults, Version21DoesNotReadTheStore)
{
    LoaderHarness h;
    h.store.values["DefWidth"] = "abc";
    ASSERT_TRUE(h.load(PatternWriter().header(2, 1, 0).settings21({}).integer(0).integer(0).noPicture()));
    EXPECT_TRUE(h.store.reads.empty());
}
