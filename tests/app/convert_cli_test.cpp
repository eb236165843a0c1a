// orvane-convert's exit status (0 all converted, 1 any failed, 2 usage error),
// --help, and the window's messages in the same words on standard error.

#include "convertrunner.h"
#include "patternwriter.h"
#include "wmf2svg.h"

#include "platform/libmessage.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvane;
using namespace orvane::testing;

namespace {

std::string writeLetter(const ConvertEnvironment &env, const std::string &name, float x2 = 2880, float y = 1440)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(1440, y, x2, y).integer(0);
    const std::string path = env.file(name);
    w.noPicture().save(path);
    return path;
}

bool hasUsage(const std::string &text)
{
    return text.find("usage: orvane-convert [--width PIXELS] [-o OUTPUT.wmf | --out-dir DIR] INPUT.pat...")
               != std::string::npos
           && text.find("orvane-convert --info INPUT.pat") != std::string::npos;
}

bool exists(const std::string &path) { return std::filesystem::exists(path); }

} // namespace

TEST(ConvertExit, ZeroOrOneByWhetherAnyInputFailed)
{
    ConvertEnvironment env;
    const std::string a = writeLetter(env, "a.pat"), b = writeLetter(env, "b.pat");
    ConvertResult r = env.run({a, b});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    expectMetafileReadable(env.file("b.wmf"), 816, 1056);

    // A failed input does not stop the others.
    std::filesystem::remove(env.file("b.wmf"));
    r = env.run({env.file("missing.pat"), b});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, b + " -> " + env.file("b.wmf") + " (816 x 1056 pixels)\n");
    EXPECT_TRUE(exists(env.file("b.wmf")));
    EXPECT_FALSE(exists(env.file("missing.wmf")));
}

TEST(ConvertExit, HelpPrintsTheUsageAndExitsZero)
{
    ConvertEnvironment env;
    for (const char *flag : {"--help", "-h"}) {
        SCOPED_TRACE(flag);
        const ConvertResult r = env.run({flag});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(hasUsage(r.out)) << r.out;
        EXPECT_EQ(r.err, "");
    }
}

TEST(ConvertExit, UsageErrorsAreTwoAndWriteNothing)
{
    ConvertEnvironment env;
    const std::string a = writeLetter(env, "a.pat"), b = writeLetter(env, "b.pat"), x = env.file("x.wmf");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--bogus", a},
        {"-o", x, a, b},
        {"-o", x, "--out-dir", env.file("d"), a},
        {"--info", a, b},
        {"--info", "--width", "100", a},
        {"--width"},
        {a, "-o"},
        {"--out-dir"},
        // Rejected widths name the option.
        {"--width", "abc", a},
        {"--width", "0", a},
        {"--width", "-5", a},
        {"--width", "0.4", a},
        {"--width", "", a},
        {"--width", "12px", a},
        {"--width", "3000000000", a},
    };
    for (const auto &args : cases) {
        std::string joined;
        for (const auto &s : args)
            joined += "'" + s + "' ";
        SCOPED_TRACE(joined);
        const ConvertResult r = env.run(args);
        EXPECT_EQ(r.exitCode, 2);
        // One line of why, then where to look.
        EXPECT_TRUE(r.err.starts_with("orvane-convert: ") && r.err.ends_with("\nTry 'orvane-convert --help'.\n") &&
                    std::count(r.err.begin(), r.err.end(), '\n') == 2)
            << r.err;
        if (args.size() == 3 && args[0] == "--width") {
            EXPECT_NE(r.err.find("--width"), std::string::npos);
        }
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(exists(env.file("a.wmf")));
    EXPECT_FALSE(exists(x));
}

TEST(ConvertExit, DoubleDashEndsTheOptions)
{
    ConvertEnvironment env;
    writeLetter(env, "-dash.pat");
    const ConvertResult r = env.run({"--", "-dash.pat"}, env.workFolder());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    expectMetafileReadable(env.file("-dash.wmf"), 816, 1056);
}

TEST(ConvertExit, WidthNearThe32BitLimitDependsOnThePage)
{
    // 2147483600 wide: a landscape page's height still fits in 32 bits, a
    // portrait page's does not, and only that input fails.
    ConvertEnvironment env;
    PatternWriter::Page landscape;
    landscape.defWidth = 11.0f;
    landscape.defHeight = 8.5f;
    PatternWriter w;
    w.header(2, 1, 0).settings21(landscape).integer(0).integer(0).noPicture().save(env.file("wide.pat"));
    ConvertResult r = env.run({"--width", "2147483600", env.file("wide.pat")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("(2147483600 x "), std::string::npos) << r.out;

    PatternWriter tall;
    tall.header(2, 1, 0).settings21({}).integer(0).integer(0).noPicture().save(env.file("tall.pat"));
    r = env.run({"--width", "2147483600", env.file("tall.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("2147483600"), std::string::npos) << r.err;
    EXPECT_FALSE(exists(env.file("tall.wmf")));
}

TEST(ConvertMessages, FailuresPrintTheWindowsMessageAndWriteNothing)
{
    ConvertEnvironment env;
    const std::string missing = env.file("nowhere.pat"), folder = env.file("folder.pat");
    std::filesystem::create_directories(folder);
    PatternWriter v22;
    v22.header(2, 2, 0).settings21({}).integer(0).integer(0).noPicture().save(env.file("v22.pat"));
    const std::string far = writeLetter(env, "far.pat", 12240.0f * 50);
    const std::string edge = writeLetter(env, "edge.pat", 12240, 15840);
    const std::string self = writeLetter(env, "self.wmf");
    const auto selfBefore = readFileBytes(self);
    const std::string farWmf = env.file("far.wmf"), lost = env.file("no such folder/a.wmf");

    struct Case {
        std::vector<std::string> args;
        std::string err;  // the whole of standard error, or its first line
        std::string none; // the output that must not exist
    };
    const Case cases[] = {
        {{missing}, failureLine(missing, LibMessage::FileNotFoundText(missing)), env.file("nowhere.wmf")},
        {{env.file("v22.pat")},
         "orvane-convert: " + env.file("v22.pat") + ": The selected file could not be loaded. The file format is "
                                                    "unknown or was made with later version of the Veltrum Pattern Maker.\n",
         env.file("v22.wmf")},
        {{folder}, failureLine(folder, LibMessage::FormatUnknownText()), env.file("folder.wmf")},
        {{far},
         "orvane-convert: " + far + ": Error creating metafile " + farWmf + ". A point of the pattern lies outside "
                                                   "the range a metafile can hold (-32768 to 32767). Choose a smaller pattern size.\n",
         farWmf},
        // 40000 x 51765 pixels: the line at the foot of the page is beyond 16 bits.
        {{"--width", "40000", edge},
         "orvane-convert: " + edge + ": Error creating metafile " + env.file("edge.wmf") + ".",
         env.file("edge.wmf")},
        {{"-o", lost, edge}, "orvane-convert: " + edge + ": Error creating metafile " + lost + ".", lost},
        {{self}, "orvane-convert: " + self + ": Error creating metafile " + self + ".", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.back());
        const ConvertResult r = env.run(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        if (c.err.back() == '\n') {
            EXPECT_EQ(r.err, c.err);
        } else {
            EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        }
        EXPECT_TRUE(c.none.empty() || !exists(c.none));
    }
    EXPECT_EQ(readFileBytes(self), selfBefore);
}

TEST(ConvertMessages, PictureThatCannotBeCopiedStillConverts)
{
    ConvertEnvironment env;
    // A symbolic link where the picture copy would go.
    std::filesystem::create_directories(env.pictureFolder());
    const std::string target = env.file("target.txt");
    writeFileBytes(target, "keep");
    std::filesystem::create_symlink(target, env.picturePath());
    PatternWriter w;
    w.header(1, 6, 2).settings15({}, true).integer(1).line(1440, 1440, 2880, 1440).integer(0);
    w.picture(std::string(1500, 'p')).save(env.file("pic.pat"));
    ConvertResult r = env.run({env.file("pic.pat")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, failureLine(env.file("pic.pat"), LibMessage::TempFileNotOpenedText(env.picturePath()))
                         + failureLine(env.file("pic.pat"), LibMessage::PictureNotLoadedText()));
    EXPECT_EQ(readFileBytes(target), std::vector<unsigned char>({'k', 'e', 'e', 'p'}));
    expectMetafileReadable(env.file("pic.wmf"), 816, 1056);

    std::filesystem::remove(env.picturePath());
    PatternWriter big; // a picture too large to copy
    big.header(2, 1, 0).settings21({}).integer(1).line(0, 0, 1440, 1440).integer(0).integer(1).single(33554432.0f);
    big.save(env.file("big.pat"));
    r = env.run({env.file("big.pat")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, failureLine(env.file("big.pat"), LibMessage::PictureNotLoadedText()));
    expectMetafileReadable(env.file("big.wmf"), 816, 1056);
}
