// orvane-convert --info: one JSON object with the version, all 17 settings by
// their names, the visible element counts, the pixel size and the picture;
// floats that read back to the same 32-bit value; no metafile written.

#include "convertrunner.h"
#include "minijson.h"
#include "patternwriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <limits>

using namespace orvane::testing;

namespace {

const std::vector<std::string> SettingNames = {
    "MarginTop",     "MarginBottom",    "MarginLeft",       "MarginRight",     "DefWidth",     "DefHeight",
    "PatternWidth",  "PatternHeight",   "PenSizeValue",     "PenSizeText",     "PenColor",     "BandW",
    "BitmapPenSize", "BitmapSizeWidth", "BitmapSizeHeight", "MetricPen",       "MetricPage"};

Json info(const ConvertEnvironment &env, const std::string &path, ConvertResult *out = nullptr)
{
    const ConvertResult r = env.run({"--info", path});
    if (out)
        *out = r;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\n');
    try {
        return JsonReader::parse(r.out);
    } catch (const std::exception &e) {
        ADD_FAILURE() << "not JSON: " << e.what() << "\n" << r.out;
        return Json{};
    }
}

// The number as a 32-bit float, read the way a JSON reader would.
float single(const Json &v)
{
    EXPECT_EQ(v.kind, Json::Number) << v.text;
    return std::strtof(v.text.c_str(), nullptr);
}

} // namespace

TEST(ConvertInfo, Version21File)
{
    ConvertEnvironment env;
    PatternWriter::Page p;
    p.marginTop = 0.1f; // not exact in binary: must still read back exactly
    p.marginBottom = 0.2f;
    p.marginLeft = 0.3f;
    p.marginRight = 0.7f;
    p.defWidth = 21.0f;
    p.defHeight = 29.7f;
    p.metricPage = true;
    p.metricPen = false;
    p.penSizeValue = 1.0f / 3.0f;
    p.penColor = 0x00FF8040;
    p.bandW = true;
    p.penSizeText = "\xBD mm \"q\"\\";
    p.bitmapPenSize = 2.5f;
    p.bitmapSizeHeight = 1e-7f;
    p.bitmapSizeWidth = 3.4e38f;
    PatternWriter w;
    w.header(2, 1, 7).settings21(p).integer(3).line(1, 2, 3, 4).line(5, 6, 7, 8).line(9, 10, 11, 12);
    w.integer(2).shape(0, 1, 2, 3, 4).shape(3, 5, 6, 7, 8).noPicture();
    w.save(env.file("a4.pat"));

    const Json j = info(env, env.file("a4.pat"));
    ASSERT_EQ(j.kind, Json::Object);
    EXPECT_EQ(j.keys(), (std::vector<std::string>{"version", "settings", "lines", "shapes", "pixels", "picture"}));
    ASSERT_EQ(j["version"].items.size(), 3u);
    EXPECT_EQ(j["version"][0].integer(), 2);
    EXPECT_EQ(j["version"][1].integer(), 1);
    EXPECT_EQ(j["version"][2].integer(), 7);

    const Json &s = j["settings"];
    EXPECT_EQ(s.keys().size(), 17u);
    for (const std::string &name : SettingNames)
        EXPECT_TRUE(s.has(name)) << name;
    EXPECT_EQ(single(s["MarginTop"]), 0.1f);
    EXPECT_EQ(single(s["MarginBottom"]), 0.2f);
    EXPECT_EQ(single(s["MarginLeft"]), 0.3f);
    EXPECT_EQ(single(s["MarginRight"]), 0.7f);
    EXPECT_EQ(single(s["DefWidth"]), 21.0f);
    EXPECT_EQ(single(s["DefHeight"]), 29.7f);
    EXPECT_EQ(single(s["PatternWidth"]), static_cast<float>(21.0 / 2.54 * 1440.0));
    EXPECT_EQ(single(s["PatternHeight"]), static_cast<float>(double(29.7f) / 2.54 * 1440.0));
    EXPECT_EQ(single(s["PenSizeValue"]), 1.0f / 3.0f);
    EXPECT_EQ(s["PenSizeText"].kind, Json::String);
    EXPECT_EQ(s["PenSizeText"].text, "\xC2\xBD mm \"q\"\\"); // Windows-1252 decoded
    EXPECT_EQ(s["PenColor"].integer(), 0x00FF8040);
    EXPECT_EQ(s["BandW"].kind, Json::Bool);
    EXPECT_TRUE(s["BandW"].boolean);
    EXPECT_EQ(single(s["BitmapPenSize"]), 2.5f);
    EXPECT_EQ(single(s["BitmapSizeHeight"]), 1e-7f);
    EXPECT_EQ(single(s["BitmapSizeWidth"]), 3.4e38f);
    EXPECT_EQ(s["MetricPage"].kind, Json::Bool);
    EXPECT_TRUE(s["MetricPage"].boolean);
    EXPECT_FALSE(s["MetricPen"].boolean);

    EXPECT_EQ(j["lines"].integer(), 3);
    EXPECT_EQ(j["shapes"].integer(), 2);
    ASSERT_EQ(j["pixels"].items.size(), 2u);
    EXPECT_EQ(j["pixels"][0].integer(), 794);
    EXPECT_EQ(j["pixels"][1].integer(), 1123);
    EXPECT_EQ(j["picture"].kind, Json::Null);

    // No metafile is written.
    EXPECT_FALSE(std::filesystem::exists(env.file("a4.wmf")));
}

TEST(ConvertInfo, Version1FileWithDefaultsAndDerivedBitmapHeight)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(1, 5, 0).settings15(PatternWriter::Page{}, false).integer(0).integer(0).noPicture();
    w.save(env.file("v15.pat"));
    const Json j = info(env, env.file("v15.pat"));
    const Json &s = j["settings"];
    EXPECT_EQ(single(s["BitmapSizeWidth"]), 300.0f);
    EXPECT_EQ(single(s["BitmapSizeHeight"]), static_cast<float>(11.0 / 8.5 * 300.0));
    EXPECT_EQ(single(s["BitmapPenSize"]), 1.0f);
    EXPECT_FALSE(s["MetricPage"].boolean);
    EXPECT_FALSE(s["MetricPen"].boolean);
    EXPECT_FALSE(s["BandW"].boolean);
    EXPECT_EQ(s["PenSizeText"].text, "1/32");
    EXPECT_EQ(j["version"][0].integer(), 1);
    EXPECT_EQ(j["version"][1].integer(), 5);
    EXPECT_EQ(j["lines"].integer(), 0);
    EXPECT_EQ(j["shapes"].integer(), 0);
    EXPECT_EQ(j["pixels"][0].integer(), 816);
    EXPECT_EQ(j["pixels"][1].integer(), 1056);
}

TEST(ConvertInfo, Version11DefaultsFromAnEmptyStore)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(1, 1, 0).settings11(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    w.save(env.file("v11.pat"));
    const Json s = info(env, env.file("v11.pat"))["settings"];
    EXPECT_EQ(single(s["PenSizeValue"]), 0.015625f);
    EXPECT_EQ(s["PenSizeText"].text, "1/64");
    EXPECT_EQ(s["PenColor"].integer(), 0);
    EXPECT_TRUE(s["BandW"].boolean);
    EXPECT_EQ(single(s["BitmapSizeWidth"]), 300.0f);
    EXPECT_EQ(single(s["BitmapSizeHeight"]), 300.0f);
}

TEST(ConvertInfo, PicturePathAndBytes)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(1, 6, 2).settings15(PatternWriter::Page{}, true).integer(1).line(1, 2, 3, 4).integer(0);
    w.picture(std::string(2500, 'z'));
    w.save(env.file("pic.pat"));
    const Json j = info(env, env.file("pic.pat"));
    ASSERT_EQ(j["picture"].kind, Json::Object);
    EXPECT_EQ(j["picture"]["path"].text, env.picturePath());
    EXPECT_EQ(j["picture"]["bytes"].integer(), 2500);
    EXPECT_EQ(std::filesystem::file_size(env.picturePath()), 2500u);
    EXPECT_EQ(j["lines"].integer(), 1);
}

TEST(ConvertInfo, PictureFolderFallsBackToHomeCache)
{
    ConvertEnvironment env;
    env.unsetEnv.push_back("XDG_CACHE_HOME");
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).picture("abc");
    w.save(env.file("pic.pat"));
    const Json j = info(env, env.file("pic.pat"));
    const std::string expected = env.home() + "/.cache/Veltrum Orvane/vrtmimage.tmp";
    EXPECT_EQ(j["picture"]["path"].text, expected);
    EXPECT_EQ(std::filesystem::file_size(expected), 3u);
}

TEST(ConvertInfo, OddValuesFromTheFile)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0);
    // A page that is not a number in the file prints as null.
    w.single(std::numeric_limits<float>::quiet_NaN()).single(0).single(0).single(0);
    w.single(8.5f).single(11).single(0).longValue(-1).integer(5).text("");
    w.single(0).single(0).single(0).integer(0).integer(0);
    w.integer(0).integer(0).noPicture();
    w.save(env.file("odd.pat"));
    const Json j = info(env, env.file("odd.pat"));
    const Json &s = j["settings"];
    EXPECT_EQ(s["MarginTop"].kind, Json::Null);
    EXPECT_EQ(s["PenColor"].integer(), -1);
    EXPECT_TRUE(s["BandW"].boolean); // 5 counts as true
    EXPECT_EQ(single(s["MarginBottom"]), 0.0f);
    EXPECT_EQ(j["lines"].integer(), 0);
}

TEST(ConvertInfo, FailedLoadPrintsTheMessageAndNoJson)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(1, 7, 0);
    w.save(env.file("v17.pat"));
    const ConvertResult r = env.run({"--info", env.file("v17.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("The selected file could not be loaded."), std::string::npos);
}

TEST(ConvertInfo, PictureThatWasNotCopiedIsNull)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0);
    w.integer(1).single(1e9f);
    w.save(env.file("big.pat"));
    const ConvertResult r = env.run({"--info", env.file("big.pat")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("The background picture was not loaded."), std::string::npos) << r.err;
    const Json j = JsonReader::parse(r.out);
    EXPECT_EQ(j["picture"].kind, Json::Null);
}
