// orvane-convert --info: one JSON line with the version, the 17 settings by
// name, the element counts, the pixel size and the picture, writing no
// metafile; and the settings store that changes a version 1 file's defaults.

#include "convertrunner.h"
#include "patternwriter.h"

#include "platform/libmessage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <limits>

using namespace orvane;
using namespace orvane::testing;

namespace {

const char *const SettingNames[] = {
    "MarginTop",    "MarginBottom", "MarginLeft",    "MarginRight",     "DefWidth",         "DefHeight",
    "PatternWidth", "PatternHeight", "PenSizeValue", "PenSizeText",     "PenColor",         "BandW",
    "BitmapPenSize", "BitmapSizeWidth", "BitmapSizeHeight", "MetricPen", "MetricPage"};

// Runs --info and checks the line is exactly the expected members, in order,
// with nothing else around them.
InfoMembers info(const ConvertEnvironment &env, const std::string &path)
{
    const ConvertResult r = env.run({"--info", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const InfoMembers m = infoMembers(r.out);
    std::string rebuilt = "{\"version\":" + m["version"] + ",\"settings\":{";
    for (const char *name : SettingNames)
        rebuilt += std::string(name == SettingNames[0] ? "" : ",") + "\"" + name + "\":" + m[name];
    rebuilt += "},\"lines\":" + m["lines"] + ",\"shapes\":" + m["shapes"] + ",\"pixels\":" + m["pixels"]
               + ",\"picture\":"
               + (m["picture"] == "{" ? "{\"path\":" + m["path"] + ",\"bytes\":" + m["bytes"] + "}" : m["picture"])
               + "}\n";
    EXPECT_EQ(r.out, rebuilt);
    return m;
}

// A JSON number read back as a 32-bit float.
float single(const std::string &text)
{
    static const std::regex number(R"(-?(0|[1-9]\d*)(\.\d+)?([eE][+-]?\d+)?)");
    EXPECT_TRUE(std::regex_match(text, number)) << text;
    return std::strtof(text.c_str(), nullptr);
}

std::string writeV11(const ConvertEnvironment &env)
{
    PatternWriter w;
    w.header(1, 1, 0).settings11(PatternWriter::Page{}).integer(1).line(1440, 1440, 2880, 1440).integer(0);
    const std::string path = env.file("v11.pat");
    w.noPicture().save(path);
    return path;
}

} // namespace

TEST(ConvertInfo, EveryFieldOfAVersion21File)
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

    const InfoMembers m = info(env, env.file("a4.pat"));
    EXPECT_EQ(m["version"], "[2,1,7]");
    const std::pair<const char *, float> floats[] = {
        {"MarginTop", 0.1f},      {"MarginBottom", 0.2f}, {"MarginLeft", 0.3f},       {"MarginRight", 0.7f},
        {"DefWidth", 21.0f},      {"DefHeight", 29.7f},   {"PenSizeValue", 1.0f / 3}, {"BitmapPenSize", 2.5f},
        {"BitmapSizeHeight", 1e-7f}, {"BitmapSizeWidth", 3.4e38f},
        {"PatternWidth", static_cast<float>(21.0 / 2.54 * 1440.0)},
        {"PatternHeight", static_cast<float>(double(29.7f) / 2.54 * 1440.0)}};
    for (const auto &[name, value] : floats)
        EXPECT_EQ(single(m[name]), value) << name;
    EXPECT_EQ(m["PenSizeText"], "\"\xC2\xBD mm \\\"q\\\"\\\\\""); // Windows-1252 decoded, escaped
    EXPECT_EQ(m["PenColor"], std::to_string(0x00FF8040));
    EXPECT_EQ(m["BandW"], "true");
    EXPECT_EQ(m["MetricPage"], "true");
    EXPECT_EQ(m["MetricPen"], "false");
    EXPECT_EQ(m["lines"], "3");
    EXPECT_EQ(m["shapes"], "2");
    EXPECT_EQ(m["pixels"], "[794,1123]");
    EXPECT_EQ(m["picture"], "null");
    EXPECT_FALSE(std::filesystem::exists(env.file("a4.wmf")));
}

TEST(ConvertInfo, PicturePathAndBytes)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(1, 6, 2).settings15(PatternWriter::Page{}, true).integer(1).line(1, 2, 3, 4).integer(0);
    w.picture(std::string(2500, 'z')).save(env.file("pic.pat"));
    const InfoMembers m = info(env, env.file("pic.pat"));
    EXPECT_EQ(m["path"], "\"" + env.picturePath() + "\"");
    EXPECT_EQ(m["bytes"], "2500");
    EXPECT_EQ(std::filesystem::file_size(env.picturePath()), 2500u);

    // Without XDG_CACHE_HOME the copy goes under $HOME/.cache.
    env.withCacheHome = false;
    EXPECT_EQ(info(env, env.file("pic.pat"))["path"], "\"" + env.home() + "/.cache/Veltrum Orvane/vrtmimage.tmp\"");
}

TEST(ConvertInfo, OddValuesFromTheFile)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0);
    w.single(std::numeric_limits<float>::quiet_NaN()).single(0).single(0).single(0);
    w.single(8.5f).single(11).single(0).longValue(-1).integer(5).text("");
    w.single(0).single(0).single(0).integer(0).integer(0);
    w.integer(0).integer(0).noPicture().save(env.file("odd.pat"));
    const InfoMembers m = info(env, env.file("odd.pat"));
    EXPECT_EQ(m["MarginTop"], "null"); // JSON has no NaN
    EXPECT_EQ(m["PenColor"], "-1");
    EXPECT_EQ(m["BandW"], "true"); // 5 counts as true
    EXPECT_EQ(m["MarginBottom"], "0");
}

TEST(ConvertInfo, FailedLoadPrintsTheMessageAndNoJson)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(1, 7, 0).save(env.file("v17.pat"));
    const ConvertResult r = env.run({"--info", env.file("v17.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, failureLine(env.file("v17.pat"), LibMessage::FormatUnknownText()));

    PatternWriter big; // a picture too large to copy: the file loads without it
    big.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).integer(1).single(1e9f);
    big.save(env.file("big.pat"));
    const ConvertResult b = env.run({"--info", env.file("big.pat")});
    EXPECT_EQ(b.exitCode, 0);
    EXPECT_EQ(b.err, failureLine(env.file("big.pat"), LibMessage::PictureNotLoadedText()));
    EXPECT_EQ(infoMembers(b.out)["picture"], "null");
}

TEST(ConvertSettings, PatternGroupChangesAVersion1FilesDefaults)
{
    ConvertEnvironment env;
    env.writeSettings("[General]\nPenColor=7\n[Pattern]\nPenSizeValue=0.125\nPenSizeText=1/8\nPenColor=255\n"
                      "BandW=false\nBitmapPenSize=4\nBitmapSizeWidth=600\nMetricPage=true\nMarginTop=2\n");
    InfoMembers m = info(env, writeV11(env));
    EXPECT_EQ(single(m["PenSizeValue"]), 0.125f);
    EXPECT_EQ(m["PenSizeText"], "\"1/8\"");
    EXPECT_EQ(m["PenColor"], "255");
    EXPECT_EQ(m["BandW"], "false");
    EXPECT_EQ(single(m["BitmapPenSize"]), 4.0f);
    EXPECT_EQ(single(m["BitmapSizeHeight"]), 600.0f); // read from the width's key
    // What the file holds, and a version 1 file's metric flags, stay.
    EXPECT_EQ(single(m["MarginTop"]), 0.5f);
    EXPECT_EQ(m["MetricPage"], "false");

    PatternWriter v161;
    v161.header(1, 6, 1).settings15(PatternWriter::Page{}, false).integer(0).integer(0).noPicture();
    v161.save(env.file("v161.pat"));
    EXPECT_EQ(single(info(env, env.file("v161.pat"))["BitmapSizeHeight"]), static_cast<float>(11.0 / 8.5 * 600.0));

    PatternWriter v21;
    v21.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    v21.save(env.file("v21.pat"));
    EXPECT_EQ(info(env, env.file("v21.pat"))["PenSizeText"], "\"1/32\"");
}

TEST(ConvertSettings, TheMetafileDoesNotDependOnTheStore)
{
    ConvertEnvironment plain, stored;
    stored.writeSettings("[Pattern]\nDefWidth=20\nDefHeight=30\nMetricPage=true\nPenColor=255\n");
    ASSERT_EQ(plain.run({writeV11(plain)}).exitCode, 0);
    ASSERT_EQ(stored.run({writeV11(stored)}).exitCode, 0);
    EXPECT_EQ(readFileBytes(plain.file("v11.wmf")), readFileBytes(stored.file("v11.wmf")));

    // Stored text that does not convert fails a version 1 file.
    stored.writeSettings("[Pattern]\nDefWidth=abc\n");
    const ConvertResult r = stored.run({"-o", stored.file("bad.wmf"), stored.file("v11.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, failureLine(stored.file("v11.pat"),
                                 LibMessage::FormatUnknownText() + "\r\n\r\n"
                                     + LibMessage::SettingAtFaultText(
                                         "DefWidth", stored.configHome() + "/Veltrum Orvane/Veltrum Orvane.conf")));
    EXPECT_FALSE(std::filesystem::exists(stored.file("bad.wmf")));
}
