// orvane-convert's exit status (0 all converted, 1 any input failed, 2 usage
// error), failures named with their input in the window's words, a run never
// overwriting its own output, a file size limit, and --info.

#include "convertrunner.h"
#include "patternwriter.h"

#include "platform/libmessage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <sys/resource.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

std::string pattern(const ConvertEnvironment &env, const std::string &name, int lines = 1, float x2 = 2880)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(std::int16_t(lines));
    for (int i = 0; i < lines; ++i)
        w.line(1440, 1440 + i * 10.0f, x2, 1440 + i * 10.0f);
    fs::create_directories(fs::path(env.file(name)).parent_path());
    w.integer(0).noPicture().save(env.file(name));
    return env.file(name);
}

} // namespace

TEST(ConvertExit, ZeroOrOneByWhetherAnyInputFailedAndTwoForUsage)
{
    ConvertEnvironment env;
    const std::string a = pattern(env, "a.pat"), b = pattern(env, "b.pat"), x = env.file("x.wmf");
    ConvertResult r = env.run({"--", a, b});
    EXPECT_EQ(std::tuple(r.exitCode, r.err), std::tuple(0, ""));
    fs::remove(env.file("b.wmf"));
    r = env.run({env.file("missing.pat"), b}); // a failed input does not stop the others
    EXPECT_EQ(std::tuple(r.exitCode, r.out), std::tuple(1, b + " -> " + env.file("b.wmf") + " (816 x 1056 pixels)\n"));
    r = env.run({"-h"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("usage: orvane-convert [--width PIXELS] [-o OUTPUT.wmf | --out-dir DIR] INPUT.pat..."),
              std::string::npos) << r.out;
    fs::remove(env.file("a.wmf"));
    const std::vector<std::vector<std::string>> usage = {
        {},          {"--bogus", a}, {"-o", x, a, b},     {"-o", x, "--out-dir", env.file("d"), a}, {"--info", a, b},
        {"--width"}, {a, "-o"},      {"--width", "0", a}, {"--width", "12px", a}, {"--width", "3000000000", a},
        {"-o", "-", a, b}, {"--format", "emf", a}, {"--thumbnail", "0", a, x}, {"--thumbnail", "128", a}};
    for (const auto &args : usage) {
        r = env.run(args);
        EXPECT_EQ(r.exitCode, 2) << args.size();
        EXPECT_TRUE(r.err.starts_with("orvane-convert: ") && r.err.ends_with("\nTry 'orvane-convert --help'.\n")
                    && std::count(r.err.begin(), r.err.end(), '\n') == 2)
            << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(fs::exists(env.file("a.wmf")) || fs::exists(x));
}

TEST(ConvertMessages, FailuresNameTheInputAndWriteNothing)
{
    ConvertEnvironment env;
    const std::string missing = env.file("nowhere.pat"), far = pattern(env, "far.pat", 1, 12240.0f * 50);
    PatternWriter().header(2, 2, 0).settings21({}).integer(0).integer(0).save(env.file("v22.pat"));
    const std::string self = pattern(env, "self.wmf"), before = readFileText(self); // never written over its input
    const std::string v22 = env.file("v22.pat");
    const struct {
        std::vector<std::string> args;
        std::string err; // the start of standard error
    } cases[] = {
        {{missing}, failureLine(missing, LibMessage::FileNotFoundText(missing))},
        {{v22}, failureLine(v22, LibMessage::FormatUnknownText())},
        {{"--info", v22}, failureLine(v22, LibMessage::FormatUnknownText())},
        {{far}, "orvane-convert: " + far + ": Error creating metafile " + env.file("far.wmf") + ". A point of the "
                "pattern lies outside the range a metafile can hold (-32768 to 32767). Choose a smaller pattern size.\n"},
        {{"--width", "2147483600", far}, "orvane-convert: " + far + ": The width 2147483600 cannot be applied: its page is 816 x"},
        {{self}, "orvane-convert: " + self + ": Error creating metafile " + self + "."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.back());
        const ConvertResult r = env.run(c.args);
        EXPECT_EQ(std::tuple(r.exitCode, r.out), std::tuple(1, ""));
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        EXPECT_TRUE(c.err.back() != '\n' || r.err == c.err) << r.err;
    }
    EXPECT_EQ(readFileText(self), before);
    for (const char *name : {"nowhere.wmf", "v22.wmf", "far.wmf"})
        EXPECT_FALSE(fs::exists(env.file(name))) << name;
}

TEST(ConvertOutputs, LaterInputNeverOverwritesWhatThisRunWrote)
{
    ConvertEnvironment env;
    const std::string a = pattern(env, "a/x.pat", 1), b = pattern(env, "b/x.pat", 2), out = env.file("out");
    ASSERT_EQ(env.run({"-o", env.file("first.wmf"), a}).exitCode, 0);
    const ConvertResult r = env.run({"--out-dir", out, a, b, a}); // a twice is no clash
    EXPECT_EQ(r.exitCode, 1);
    const std::string written = a + " -> " + out + "/x.wmf (816 x 1056 pixels)\n";
    EXPECT_EQ(r.out, written + written);
    EXPECT_EQ(r.err, failureLine(b, "Error creating metafile " + out + "/x.wmf.\n\nThis run already wrote it from " + a
                                        + "; it is not replaced."));
    EXPECT_EQ(readFileBytes(out + "/x.wmf"), readFileBytes(env.file("first.wmf")));
}

TEST(ConvertOutputs, FileSizeLimitIsAFailedSaveWithNothingLeft)
{
    ConvertEnvironment env;
    const std::string input = pattern(env, "big.pat", 300);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit limited{2048, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limited);
    const ConvertResult r = env.run({"-o", env.file("big.wmf"), input});
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, failureLine(input, "Error creating metafile " + env.file("big.wmf") + ".\n\nFile too large"));
    EXPECT_EQ(std::distance(fs::directory_iterator(env.workFolder()), {}), 1); // only big.pat
}

// One JSON line: version, settings by name, counts, pixels and picture; no metafile.
TEST(ConvertInfo, EveryFieldExactly)
{
    ConvertEnvironment env;
    // Not exact in binary, decoded from Windows-1252 and escaped, beyond 2 x 10^38, not a number.
    PatternWriter::Page p{0.1f, 0.2f, 0.3f, 0.7f, 21.0f, 29.7f, 0, 0, 1.0f / 3, 0x00FF8040, true, "\xBD mm \"q\"\\",
                          2.5f, 1e-7f, 3.4e38f, true, false};
    const auto info = [&env](const PatternWriter &w) {
        w.save(env.file("in.pat"));
        const ConvertResult r = env.run({"--info", env.file("in.pat")});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.out;
    };
    PatternWriter w;
    w.header(2, 1, 7).settings21(p).integer(3).line(1, 2, 3, 4).line(5, 6, 7, 8).line(9, 10, 11, 12);
    const std::string rest = R"("MarginBottom":0.2,"MarginLeft":0.3,"MarginRight":0.7,"DefWidth":21,"DefHeight":29.7,)"
                             R"("PatternWidth":11905.512,"PatternHeight":16837.795,"PenSizeValue":0.33333334,)"
                             "\"PenSizeText\":\"\xC2\xBD mm \\\"q\\\"\\\\\","
                             R"("PenColor":16744512,"BandW":true,"BitmapPenSize":2.5,"BitmapSizeWidth":3.4e+38,)"
                             R"("BitmapSizeHeight":1e-07,"MetricPen":false,"MetricPage":true},)";
    EXPECT_EQ(info(w.integer(2).shape(0, 1, 2, 3, 4).shape(3, 5, 6, 7, 8).noPicture()),
              R"({"version":[2,1,7],"settings":{"MarginTop":0.1,)" + rest
                  + R"("lines":3,"shapes":2,"pixels":[794,1123],"picture":null})" "\n");
    EXPECT_FALSE(fs::exists(env.file("in.wmf")));
    p.marginTop = std::numeric_limits<float>::quiet_NaN();
    PatternWriter odd;
    odd.header(2, 1, 0).settings21(p).integer(0).integer(0).integer(1).single(2500).raw(std::string(2500, 'z'));
    EXPECT_EQ(info(odd), R"({"version":[2,1,0],"settings":{"MarginTop":null,)" + rest
                             + R"("lines":0,"shapes":0,"pixels":[794,1123],"picture":{"path":")" + env.picturePath()
                             + R"(","bytes":2500}})" "\n");
}
