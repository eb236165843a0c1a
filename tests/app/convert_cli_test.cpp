// orvane-convert's exit status (0 all converted, 1 any input failed, 2 usage
// error), --help, and the window's messages in the same words on standard error.

#include "convertrunner.h"
#include "patternwriter.h"
#include "wmfdecoder.h"

#include "platform/libmessage.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

std::string letter(const ConvertEnvironment &env, const std::string &name, float x2 = 2880, float y = 1440)
{
    PatternWriter()
        .header(2, 1, 0)
        .settings21({})
        .integer(1)
        .line(1440, y, x2, y)
        .integer(0)
        .noPicture()
        .save(env.file(name));
    return env.file(name);
}

const std::string Usage = "usage: orvane-convert [--width PIXELS] [-o OUTPUT.wmf | --out-dir DIR] INPUT.pat...";

} // namespace

TEST(ConvertExit, ZeroOrOneByWhetherAnyInputFailedAndTwoForUsage)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a.pat"), b = letter(env, "b.pat"), x = env.file("x.wmf");
    ConvertResult r = env.run({"--", a, b});
    EXPECT_EQ(std::tuple(r.exitCode, r.err), std::tuple(0, ""));
    fs::remove(env.file("b.wmf"));
    r = env.run({env.file("missing.pat"), b}); // a failed input does not stop the others
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, b + " -> " + env.file("b.wmf") + " (816 x 1056 pixels)\n");
    EXPECT_TRUE(fs::exists(env.file("b.wmf")));
    for (const char *flag : {"--help", "-h"}) {
        r = env.run({flag});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_NE(r.out.find(Usage), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("orvane-convert --info INPUT.pat"), std::string::npos) << r.out;
    }
    fs::remove(env.file("a.wmf"));
    const std::vector<std::vector<std::string>> usage = {
        {},          {"--bogus", a}, {"-o", x, a, b},     {"-o", x, "--out-dir", env.file("d"), a}, {"--info", a, b},
        {"--width"}, {a, "-o"},      {"--width", "0", a}, {"--width", "12px", a}, {"--width", "3000000000", a}};
    for (const auto &args : usage) {
        r = env.run(args);
        EXPECT_EQ(r.exitCode, 2) << args.size();
        // One line of why, then where to look.
        EXPECT_TRUE(r.err.starts_with("orvane-convert: ") && r.err.ends_with("\nTry 'orvane-convert --help'.\n")
                    && std::count(r.err.begin(), r.err.end(), '\n') == 2)
            << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(fs::exists(env.file("a.wmf")) || fs::exists(x));
}

TEST(ConvertMessages, FailuresPrintTheWindowsMessageAndWriteNothing)
{
    ConvertEnvironment env;
    const std::string missing = env.file("nowhere.pat"), far = letter(env, "far.pat", 12240.0f * 50);
    PatternWriter().header(2, 2, 0).settings21({}).integer(0).integer(0).save(env.file("v22.pat"));
    const std::string self = letter(env, "self.wmf"), before = readFileText(self); // never written over its input
    const struct {
        std::vector<std::string> args;
        std::string err; // the start of standard error
    } cases[] = {
        {{missing}, failureLine(missing, LibMessage::FileNotFoundText(missing))},
        {{env.file("v22.pat")}, "orvane-convert: " + env.file("v22.pat") + ": The selected file could not be loaded. "
                                "The file format is unknown or was made with later version of the Veltrum Pattern Maker.\n"},
        {{far}, "orvane-convert: " + far + ": Error creating metafile " + env.file("far.wmf") + ". A point of the "
                "pattern lies outside the range a metafile can hold (-32768 to 32767). Choose a smaller pattern size.\n"},
        {{"--width", "2147483600", far}, "orvane-convert: " + far + ": The width 2147483600 cannot be applied: its page is 816 x"},
        {{self}, "orvane-convert: " + self + ": Error creating metafile " + self + "."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.back());
        const ConvertResult r = env.run(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        EXPECT_TRUE(c.err.back() != '\n' || r.err == c.err) << r.err;
    }
    EXPECT_EQ(readFileText(self), before);
    for (const char *name : {"nowhere.wmf", "v22.wmf", "far.wmf"})
        EXPECT_FALSE(fs::exists(env.file(name))) << name;
}

TEST(ConvertMessages, PictureThatCannotBeCopiedStillConverts)
{
    ConvertEnvironment env;
    fs::create_directories(fs::path(env.picturePath()).parent_path());
    writeFileBytes(env.file("target.txt"), "keep");
    fs::create_symlink(env.file("target.txt"), env.picturePath());
    PatternWriter w;
    w.header(1, 6, 2).settings15({}, true).integer(1).line(1440, 1440, 2880, 1440).integer(0);
    w.picture(std::string(1500, 'p')).save(env.file("pic.pat"));
    const ConvertResult r = env.run({env.file("pic.pat")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, failureLine(env.file("pic.pat"), LibMessage::TempFileNotOpenedText(env.picturePath()))
                         + failureLine(env.file("pic.pat"), LibMessage::PictureNotLoadedText()));
    EXPECT_EQ(readFileText(env.file("target.txt")), "keep");
    EXPECT_EQ(decodeMetafileFile(env.file("pic.wmf")).elements(), (std::vector<WmfElement>{{'L', 96, 96, 192, 96}}));
}
