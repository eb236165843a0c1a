// orvane-convert's exit status: 0 when every input converted, 1 when any
// failed, 2 for a usage error; --help prints the usage and exits 0.

#include "convertrunner.h"
#include "patternwriter.h"
#include "wmf2svg.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvane::testing;

namespace {

std::string writeLetter(const ConvertEnvironment &env, const std::string &name)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(1).line(1440, 1440, 2880, 1440).integer(0);
    w.noPicture();
    const std::string path = env.file(name);
    w.save(path);
    return path;
}

bool hasUsage(const std::string &text)
{
    return text.find("usage: orvane-convert [--width PIXELS] [-o OUTPUT.wmf | --out-dir DIR] INPUT.pat...")
           != std::string::npos
        && text.find("orvane-convert --info INPUT.pat") != std::string::npos;
}

} // namespace

TEST(ConvertExit, ZeroWhenEveryInputConverted)
{
    ConvertEnvironment env;
    const std::string a = writeLetter(env, "a.pat");
    const std::string b = writeLetter(env, "b.pat");
    const ConvertResult r = env.run({a, b});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (const char *name : {"a.wmf", "b.wmf"}) {
        SCOPED_TRACE(name);
        expectMetafileReadable(env.file(name), 816, 1056);
    }
}

TEST(ConvertExit, OneWhenAnyInputFailedAndTheOthersStillConvert)
{
    ConvertEnvironment env;
    const std::string missing = env.file("missing.pat");
    const std::string good = writeLetter(env, "good.pat");
    const ConvertResult r = env.run({missing, good});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(std::filesystem::exists(env.file("good.wmf")));
    EXPECT_FALSE(std::filesystem::exists(env.file("missing.wmf")));
    EXPECT_NE(r.out.find(good + " -> " + env.file("good.wmf")), std::string::npos) << r.out;
    SCOPED_TRACE("good.wmf");
    expectMetafileReadable(env.file("good.wmf"), 816, 1056);
}

TEST(ConvertExit, OneWhenTheOnlyInputFails)
{
    ConvertEnvironment env;
    PatternWriter bad;
    bad.header(3, 1, 0);
    bad.save(env.file("bad.pat"));
    const ConvertResult r = env.run({env.file("bad.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(std::filesystem::exists(env.file("bad.wmf")));
}

TEST(ConvertExit, HelpPrintsTheUsageAndExitsZero)
{
    ConvertEnvironment env;
    for (const char *flag : {"--help", "-h"}) {
        const ConvertResult r = env.run({flag});
        EXPECT_EQ(r.exitCode, 0) << flag;
        EXPECT_TRUE(hasUsage(r.out)) << r.out;
        EXPECT_EQ(r.err, "") << flag;
    }
}

TEST(ConvertExit, UsageErrorsAreTwo)
{
    ConvertEnvironment env;
    const std::string a = writeLetter(env, "a.pat");
    const std::string b = writeLetter(env, "b.pat");
    const std::vector<std::vector<std::string>> cases = {
        {},                                            // no input
        {"--bogus", a},                                // unknown option
        {"-o", env.file("x.wmf"), a, b},               // -o with two inputs
        {"-o", env.file("x.wmf"), "--out-dir", env.file("d"), a},
        {"--info", a, b},                              // --info takes one input
        {"--info", "--width", "100", a},
        {"--width"},                                   // value missing
        {a, "-o"},
        {"--out-dir"},
    };
    for (const auto &args : cases) {
        const ConvertResult r = env.run(args);
        std::string joined;
        for (const auto &s : args)
            joined += s + " ";
        EXPECT_EQ(r.exitCode, 2) << joined;
        EXPECT_TRUE(hasUsage(r.err)) << joined << "\n" << r.err;
        EXPECT_EQ(r.out, "") << joined;
    }
    EXPECT_FALSE(std::filesystem::exists(env.file("a.wmf")));
    EXPECT_FALSE(std::filesystem::exists(env.file("x.wmf")));
}

TEST(ConvertExit, RejectedWidthIsAUsageErrorAndWritesNothing)
{
    ConvertEnvironment env;
    const std::string a = writeLetter(env, "a.pat");
    for (const char *width : {"abc", "0", "-5", "0.4", "", "12px", "3000000000"}) {
        const ConvertResult r = env.run({"--width", width, a});
        EXPECT_EQ(r.exitCode, 2) << "'" << width << "'";
        EXPECT_NE(r.err.find("--width"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(env.file("a.wmf"))) << width;
    }
}

TEST(ConvertExit, DoubleDashEndsTheOptions)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    w.save(env.file("-dash.pat"));
    const ConvertResult r = env.run({"--", "-dash.pat"}, env.workFolder());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(env.file("-dash.wmf")));
    expectMetafileReadable(env.file("-dash.wmf"), 816, 1056);
}

TEST(ConvertExit, WidthTheRuleAcceptsForThePageIsNoUsageError)
{
    // On a landscape page (1056 x 816 pixels) the rule takes a width near the
    // top of the 32-bit range: the height, 816/1056 of it, still fits. A page
    // without elements then saves at that size.
    ConvertEnvironment env;
    PatternWriter::Page landscape;
    landscape.defWidth = 11.0f;
    landscape.defHeight = 8.5f;
    PatternWriter w;
    w.header(2, 1, 0).settings21(landscape).integer(0).integer(0).noPicture();
    w.save(env.file("wide.pat"));
    const ConvertResult r = env.run({"--width", "2147483600", env.file("wide.pat")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("(2147483600 x "), std::string::npos) << r.out;
    expectMetafileReadable(env.file("wide.wmf"), 1056, 816);
}

TEST(ConvertExit, WidthTheRuleRejectsForThisPageFailsThatInputOnly)
{
    // On a portrait page the same width makes a height beyond 32 bits.
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    w.save(env.file("tall.pat"));
    const ConvertResult r = env.run({"--width", "2147483600", env.file("tall.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("2147483600"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(env.file("tall.wmf")));
}
