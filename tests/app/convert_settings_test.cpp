// The per-user settings store as orvane-convert reads it through QSettings:
// $XDG_CONFIG_HOME/Veltrum Orvane/Veltrum Orvane.conf, group [Pattern], read
// only while a version 1 file loads.

#include "convertrunner.h"
#include "minijson.h"
#include "patternwriter.h"
#include "wmf2svg.h"

#include "shell/libmessage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace orvane;
using namespace orvane::testing;

namespace {

std::string writeV11(const ConvertEnvironment &env)
{
    PatternWriter w;
    w.header(1, 1, 0).settings11(PatternWriter::Page{}).integer(1).line(1440, 1440, 2880, 1440).integer(0);
    w.noPicture();
    const std::string path = env.file("v11.pat");
    w.save(path);
    return path;
}

Json settingsOf(const ConvertEnvironment &env, const std::string &path)
{
    const ConvertResult r = env.run({"--info", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    try {
        return JsonReader::parse(r.out)["settings"];
    } catch (const std::exception &e) {
        ADD_FAILURE() << e.what() << "\n" << r.out;
        return Json{};
    }
}

float single(const Json &v)
{
    return std::strtof(v.text.c_str(), nullptr);
}

} // namespace

TEST(ConvertSettings, PatternGroupChangesAVersion1FilesDefaults)
{
    ConvertEnvironment env;
    env.writeSettings("[Pattern]\n"
                      "PenSizeValue=0.125\n"
                      "PenSizeText=1/8\n"
                      "PenColor=255\n"
                      "BandW=false\n"
                      "BitmapPenSize=4\n"
                      "BitmapSizeWidth=600\n"
                      "MetricPage=true\n"
                      "MarginTop=2\n");
    const Json s = settingsOf(env, writeV11(env));
    EXPECT_EQ(single(s["PenSizeValue"]), 0.125f);
    EXPECT_EQ(s["PenSizeText"].text, "1/8");
    EXPECT_EQ(s["PenColor"].integer(), 255);
    EXPECT_FALSE(s["BandW"].boolean);
    EXPECT_EQ(single(s["BitmapPenSize"]), 4.0f);
    // The bitmap height reads the width's key.
    EXPECT_EQ(single(s["BitmapSizeWidth"]), 600.0f);
    EXPECT_EQ(single(s["BitmapSizeHeight"]), 600.0f);
    // Fields the file holds, and the metric flags of a version 1 file, are not
    // taken from the store.
    EXPECT_EQ(single(s["MarginTop"]), 0.5f);
    EXPECT_FALSE(s["MetricPage"].boolean);
    EXPECT_EQ(single(s["PatternWidth"]), 12240.0f);
}

TEST(ConvertSettings, Version15DerivesTheBitmapHeightFromTheStoredWidth)
{
    ConvertEnvironment env;
    env.writeSettings("[Pattern]\nBitmapSizeWidth=600\n");
    PatternWriter w;
    w.header(1, 6, 1).settings15(PatternWriter::Page{}, false).integer(0).integer(0).noPicture();
    w.save(env.file("v161.pat"));
    const Json s = settingsOf(env, env.file("v161.pat"));
    EXPECT_EQ(single(s["BitmapSizeWidth"]), 600.0f);
    EXPECT_EQ(single(s["BitmapSizeHeight"]), static_cast<float>(11.0 / 8.5 * 600.0));
}

TEST(ConvertSettings, Version21IgnoresTheStore)
{
    ConvertEnvironment env;
    env.writeSettings("[Pattern]\nPenSizeText=1/8\nDefWidth=abc\n");
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    w.save(env.file("v21.pat"));
    const Json s = settingsOf(env, env.file("v21.pat"));
    EXPECT_EQ(s["PenSizeText"].text, "1/32");
}

TEST(ConvertSettings, StoredTextThatDoesNotConvertFailsAVersion1File)
{
    ConvertEnvironment env;
    env.writeSettings("[Pattern]\nDefWidth=abc\n");
    const std::string in = writeV11(env);
    const ConvertResult r = env.run({in});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, plainMessage(LibMessage::FormatUnknownText()) + "\n");
    EXPECT_FALSE(std::filesystem::exists(env.file("v11.wmf")));
}

TEST(ConvertSettings, OtherGroupsAndApplicationsAreNotRead)
{
    ConvertEnvironment env;
    env.writeSettings("[General]\nPenSizeText=general\n[Other]\nPenSizeText=other\n");
    std::filesystem::create_directories(env.configHome() + "/Other");
    writeFileBytes(env.configHome() + "/Other/Other.conf", "[Pattern]\nPenSizeText=wrong app\n");
    const Json s = settingsOf(env, writeV11(env));
    EXPECT_EQ(s["PenSizeText"].text, "1/64");
}

TEST(ConvertSettings, MetafileIsTheSameWhateverTheStoreHolds)
{
    // The stored defaults reach PatternSettings only; the drawing and the page
    // of a version 1 file come from the file.
    ConvertEnvironment plain;
    const std::string a = writeV11(plain);
    ASSERT_EQ(plain.run({a}).exitCode, 0);
    ConvertEnvironment stored;
    stored.writeSettings("[Pattern]\nDefWidth=20\nDefHeight=30\nMetricPage=true\nPenColor=255\n");
    const std::string b = writeV11(stored);
    ASSERT_EQ(stored.run({b}).exitCode, 0);
    EXPECT_EQ(readFileBytes(plain.file("v11.wmf")), readFileBytes(stored.file("v11.wmf")));
    SCOPED_TRACE("v11.wmf");
    expectMetafileReadable(plain.file("v11.wmf"), 816, 1056);
    expectMetafileReadable(stored.file("v11.wmf"), 816, 1056);
}
