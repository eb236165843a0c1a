// orvane-convert --info: one JSON line with the version, the settings by name,
// the element counts, the pixel size and the picture, writing no metafile; and
// the settings store that changes a version 1 file's defaults but not its metafile.

#include "convertrunner.h"
#include "patternwriter.h"

#include "platform/libmessage.h"

#include <gtest/gtest.h>

#include <limits>

using namespace orvane;
using namespace orvane::testing;

namespace {

std::string info(const ConvertEnvironment &env, const PatternWriter &w, const std::string &name = "in.pat")
{
    w.save(env.file(name));
    const ConvertResult r = env.run({"--info", env.file(name)});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

PatternWriter v11()
{
    return PatternWriter().header(1, 1, 0).settings11({}).integer(1).line(1, 2, 3, 4).integer(0).noPicture();
}

} // namespace

TEST(ConvertInfo, EveryFieldExactly)
{
    ConvertEnvironment env;
    // Not exact in binary, decoded from Windows-1252 and escaped, beyond 2 x 10^38, not a number.
    PatternWriter::Page p{0.1f, 0.2f, 0.3f, 0.7f, 21.0f, 29.7f, 0, 0, 1.0f / 3, 0x00FF8040, true, "\xBD mm \"q\"\\",
                          2.5f, 1e-7f, 3.4e38f, true, false};
    PatternWriter w;
    w.header(2, 1, 7).settings21(p).integer(3).line(1, 2, 3, 4).line(5, 6, 7, 8).line(9, 10, 11, 12);
    const std::string rest = R"("MarginBottom":0.2,"MarginLeft":0.3,"MarginRight":0.7,"DefWidth":21,"DefHeight":29.7,)"
                             R"("PatternWidth":11905.512,"PatternHeight":16837.795,"PenSizeValue":0.33333334,)"
                             "\"PenSizeText\":\"\xC2\xBD mm \\\"q\\\"\\\\\","
                             R"("PenColor":16744512,"BandW":true,"BitmapPenSize":2.5,"BitmapSizeWidth":3.4e+38,)"
                             R"("BitmapSizeHeight":1e-07,"MetricPen":false,"MetricPage":true},)";
    EXPECT_EQ(info(env, w.integer(2).shape(0, 1, 2, 3, 4).shape(3, 5, 6, 7, 8).noPicture()),
              R"({"version":[2,1,7],"settings":{"MarginTop":0.1,)" + rest
                  + R"("lines":3,"shapes":2,"pixels":[794,1123],"picture":null})" "\n");
    EXPECT_FALSE(std::filesystem::exists(env.file("in.wmf")));
    p.marginTop = std::numeric_limits<float>::quiet_NaN();
    PatternWriter odd;
    odd.header(2, 1, 0).settings21(p).integer(0).integer(0).integer(1).single(2500).raw(
        std::string(2500, 'z'));
    EXPECT_EQ(info(env, odd), R"({"version":[2,1,0],"settings":{"MarginTop":null,)" + rest
                                  + R"("lines":0,"shapes":0,"pixels":[794,1123],"picture":{"path":")" + env.picturePath()
                                  + R"(","bytes":2500}})" "\n");
    env.withCacheHome = false; // the copy goes under $HOME/.cache
    EXPECT_NE(info(env, odd).find("\"picture\":{\"path\":\"" + env.home() + "/.cache/Veltrum Orvane/vrtmimage.tmp\""),
              std::string::npos);
}

TEST(ConvertInfo, FailedLoadPrintsTheMessageAndNoJson)
{
    ConvertEnvironment env;
    PatternWriter().header(1, 7, 0).save(env.file("v17.pat"));
    const ConvertResult r = env.run({"--info", env.file("v17.pat")});
    EXPECT_EQ(std::tuple(r.exitCode, r.out, r.err), std::tuple(1, "", failureLine(env.file("v17.pat"), LibMessage::FormatUnknownText())));
}

TEST(ConvertSettings, PatternGroupChangesAVersion1FilesDefaultsButNotItsMetafile)
{
    ConvertEnvironment env;
    env.writeSettings("[General]\nPenColor=7\n[Pattern]\nPenSizeValue=0.125\nPenSizeText=1/8\nPenColor=255\n"
                      "BandW=false\nBitmapPenSize=4\nBitmapSizeWidth=600\nMetricPage=true\nMarginTop=2\n");
    EXPECT_EQ(info(env, v11()), R"({"version":[1,1,0],"settings":{"MarginTop":0.5,"MarginBottom":0.5,"MarginLeft":0.5,)"
                                R"("MarginRight":0.5,"DefWidth":8.5,"DefHeight":11,"PatternWidth":12240,"PatternHeight":15840,)"
                                R"("PenSizeValue":0.125,"PenSizeText":"1/8","PenColor":255,"BandW":false,"BitmapPenSize":4,)"
                                R"("BitmapSizeWidth":600,"BitmapSizeHeight":600,"MetricPen":false,"MetricPage":false},)"
                                R"("lines":1,"shapes":0,"pixels":[816,1056],"picture":null})" "\n");
    PatternWriter v161;
    v161.header(1, 6, 1).settings15({}, false).integer(0).integer(0).noPicture();
    EXPECT_NE(info(env, v161).find("\"BitmapSizeHeight\":776.4706"), std::string::npos);
    ConvertEnvironment plain;
    v11().save(plain.file("v11.pat"));
    v11().save(env.file("v11.pat"));
    ASSERT_EQ(plain.run({plain.file("v11.pat")}).exitCode, 0);
    ASSERT_EQ(env.run({env.file("v11.pat")}).exitCode, 0);
    EXPECT_EQ(readFileText(plain.file("v11.wmf")), readFileText(env.file("v11.wmf")));
    env.writeSettings("[Pattern]\nDefWidth=abc\n"); // stored text that does not convert fails a version 1 file
    EXPECT_EQ(env.run({env.file("v11.pat")}).exitCode, 1);
}
