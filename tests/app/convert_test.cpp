// orvane-convert as a user runs it: exit status (0 all converted, 1 any input failed, 2 usage error), failures
// named with their input, where outputs go (names are bytes, not text), --info and what it prints; and the
// window's own command line, answered before it needs a display.

#include "convertrunner.h"
#include "patternwriter.h"
#include "samebytes.h"
#include "wmfdecoder.h"

#include "api/loadmessages.h"
#include "document/patternelements.h"
#include "orvane/orvane.h"

#include <gtest/gtest.h>

#include <csignal>
#include <limits>
#include <sys/resource.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

// A letter page (816 x 1056 pixels): a line 96,96-192,96, each further line
// 10 twips lower, and a shape 48,48-144,96.
std::string letter(const ConvertEnvironment &env, const std::string &name, std::int16_t kind = ShapeRectangle,
                   int lines = 1, float x2 = 2880)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(std::int16_t(lines));
    for (int i = 0; i < lines; ++i)
        w.line(1440, 1440 + i * 10.0f, x2, 1440 + i * 10.0f);
    fs::create_directories(fs::path(env.file(name)).parent_path());
    w.integer(1).shape(kind, 720, 720, 1440, 720).noPicture().save(env.file(name));
    return env.file(name);
}

std::string printed(const std::string &in, const std::string &out, const char *pixels = "816 x 1056")
{
    return in + " -> " + out + " (" + pixels + " pixels)\n";
}

} // namespace

TEST(ConvertExit, UsageErrorsAreTwoLinesExitTwoAndWriteNothing)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a.pat");
    const std::string b = letter(env, "b.pat");
    const std::string x = env.file("x.wmf");
    const std::string png = env.file("x.png");
    const std::vector<std::vector<std::string>> usage = {
        {},          {"--bogus", a}, {"-o", x, a, b},     {"-o", x, "--out-dir", env.file("d"), a}, {"--info", a, b},
        {"--width"}, {a, "-o"},      {"--width", "0", a}, {"--width", "12px", a}, {"--width", "3000000000", a},
        {"-o", "-", a, b}, {"--format", "emf", a}, {"--thumbnail", "0", a, x}, {"--thumbnail", "128", a},
        {"-o", "-", "-o", x, a}, {"--out-dir", x, "--out-dir", env.file("d"), a}, {"--format", "svg", "-o", png, a},
        {"-"}, {"--out-dir", env.file("d"), "-"}, {"-", a}, {a, "-"}, {"-o", "-", "-", "-"}}; // stdin: alone, named
    for (const auto &args : usage) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ConvertResult r = env.run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.starts_with("orvane-convert: ")) << r.err;
        EXPECT_TRUE(r.err.ends_with("\nTry 'orvane-convert --help'.\n")) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(fs::exists(env.file("a.wmf")));
    EXPECT_FALSE(fs::exists(x));
    EXPECT_FALSE(fs::exists(png));
}

TEST(ConvertMessages, FailuresNameTheInputSayWhyAndWriteNothing)
{
    ConvertEnvironment env;
    const std::string missing = env.file("nowhere.pat");
    const std::string far = letter(env, "far.pat", 1, 1, 12240.0f * 50);
    const std::string v22 = env.file("v22.pat");
    PatternWriter().header(2, 2, 0).settings21({}).integer(0).integer(0).save(v22);
    const std::string in = letter(env, "in.pat");
    const std::string self = letter(env, "self.wmf");
    const std::string before = readFileText(self);
    const std::string file = letter(env, "file");
    const std::string nowhere = env.file("no/such/folder/x.svg");
    const std::string wide = env.file("wide.wmf");
    const struct {
        std::vector<std::string> args;
        std::string stdoutTo;
        std::string err;
    } cases[] = {
        {{missing}, "", failureLine(missing, LoadMessages::FileNotFoundText(missing))},
        {{v22}, "", failureLine(v22, LoadMessages::FormatUnknownText())},
        {{far}, "", failureLine(far, "Error creating metafile " + env.file("far.wmf") + ".\n\nA point of the "
                                "pattern lies outside the range a metafile can hold (-32768 to 32767). Choose a "
                                "smaller pattern size.")},
        {{"--width", "2147483600", far}, "",
         failureLine(far, "The width 2147483600 cannot be applied: its page is 816 x 1056 pixels.")},
        {{"--width", "1e9", "-o", wide, in}, "",
         failureLine(in, "Error creating metafile " + wide + ".\n\nThe width 1e9 is too large: a point of the pattern "
                         "would lie outside the range a metafile can hold (-32768 to 32767). Choose a smaller width.")},
        {{self}, "", failureLine(self, "Error creating metafile " + self + ".\n\nIt is the input file itself.")},
        {{"-o", nowhere, in}, "",
         failureLine(in, "Error creating SVG file " + nowhere + ".\n\nNo such file or directory")},
        {{"--out-dir", file + "/sub", in}, "",
         "orvane-convert: " + file + "/sub: the folder cannot be made: Not a directory\n"},
        {{"-o", "-", in}, ">/dev/full", failureLine(in, "Error writing to standard output: No space left on device")},
        {{"-o", env.file("x.wmf"), "-"}, "", failureLine("standard input", LoadMessages::FormatUnknownText())},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const ConvertResult r = env.run(c.args, ".", c.stdoutTo);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(readFileText(self), before);
    for (const char *name : {"nowhere.wmf", "v22.wmf", "far.wmf", "wide.wmf", "in.wmf", "x.wmf"})
        EXPECT_FALSE(fs::exists(env.file(name))) << name;
}

TEST(ConvertOutputs, WhereTheMetafileGoesAndWhatWidthDoes)
{
    ConvertEnvironment env;
    const std::string house = letter(env, "house.pat");
    const std::string plain = letter(env, "pl\xE4in"); // Latin-1
    const std::string other = letter(env, "b.v2.pat", 0, 2);
    const std::string chosen = env.file("chos\xE9n name");
    const std::string dir = env.file("out/d\xE9");
    writeFileBytes(plain + ".wmf", std::string(10000, 'o')); // replaced, nothing left beside it
    const struct {
        std::vector<std::string> args;
        std::string cwd;
        std::string out;
        std::string written;
        std::vector<WmfElement> elements = {{'L', 96, 96, 192, 96}, {'R', 48, 48, 144, 96}};
    } cases[] = {
        {{"--", plain}, ".", printed(plain, plain + ".wmf"), plain + ".wmf"},
        {{"-o", chosen, house}, ".", printed(house, chosen), chosen},
        {{"--out-dir", dir, house, other}, ".", printed(house, dir + "/house.wmf") + printed(other, dir + "/b.v2.wmf"),
         dir + "/b.v2.wmf", {{'L', 96, 96, 192, 96}, {'L', 96, 97, 192, 97}, {'R', 48, 48, 144, 96}}},
        {{"house.pat"}, env.workFolder(), printed("house.pat", "house.wmf"), env.file("house.wmf")},
        {{"--width", "1000", house}, ".", printed(house, env.file("house.wmf"), "1000 x 1294"), env.file("house.wmf"),
         {{'L', 118, 118, 235, 118}, {'R', 59, 59, 176, 118}}},
        {{"--width=12.5", house}, ".", printed(house, env.file("house.wmf"), "12 x 16"), env.file("house.wmf"),
         {{'L', 1, 1, 3, 1}, {'R', 1, 1, 2, 1}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const ConvertResult r = env.run(c.args, c.cwd);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out + r.err, c.out);
        EXPECT_EQ(decodeMetafileFile(c.written).elements(), c.elements);
    }
    // Nothing beside: b.v2.pat, the chosen name, house.pat, house.wmf, out, the plain name and its .wmf.
    EXPECT_EQ(std::distance(fs::directory_iterator(env.workFolder()), {}), 7);
}

TEST(ConvertOutputs, LaterInputNeverOverwritesWhatThisRunWrote)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a/x.pat");
    const std::string b = letter(env, "b/x.pat", ShapeOval);
    const std::string out = env.file("out");
    ASSERT_EQ(env.run({"-o", env.file("first.wmf"), a}).exitCode, 0);

    const ConvertResult r = env.run({"--out-dir", out, a, b, a}); // a twice is no clash

    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, printed(a, out + "/x.wmf") + printed(a, out + "/x.wmf"));
    EXPECT_EQ(r.err, failureLine(b, "Error creating metafile " + out + "/x.wmf.\n\nThis run already wrote it from " + a
                                        + "; it is not replaced."));
    EXPECT_TRUE(sameBytes(readFileBytes(out + "/x.wmf"), readFileBytes(env.file("first.wmf"))));
}

TEST(ConvertOutputs, FileSizeLimitIsAFailedSaveWithNothingLeft)
{
    ConvertEnvironment env;
    const std::string input = letter(env, "big.pat", 1, 300);
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

// One JSON line: version, settings by name, counts, pixels and picture; no metafile, no picture copy.
TEST(ConvertInfo, EveryFieldExactlyAndNoPictureCopy)
{
    ConvertEnvironment env;
    // Not a number, not exact in binary, decoded from Windows-1252 and escaped, beyond 2 x 10^38.
    const PatternWriter::Page p{std::numeric_limits<float>::quiet_NaN(), 0.2f, 0.3f, 0.7f, 21.0f, 29.7f, 0, 0,
                                1.0f / 3, 0x00FF8040, true, "\xBD mm \"q\"\\\x01\x1F\t", 2.5f, 1e-7f, 3.4e38f,
                                true, false};
    PatternWriter w;
    w.header(2, 1, 7).settings21(p).integer(3).line(1, 2, 3, 4).line(5, 6, 7, 8).line(9, 10, 11, 12);
    w.integer(2).shape(0, 1, 2, 3, 4).shape(3, 5, 6, 7, 8).integer(1).single(2500).raw(std::string(2500, 'z'));
    w.save(env.file("in.pat"));
    const ConvertResult r = env.run({"--info", env.file("in.pat")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, R"({"version":[2,1,7],"settings":{"MarginTop":null,"MarginBottom":0.2,"MarginLeft":0.3,)"
                     R"("MarginRight":0.7,"DefWidth":21,"DefHeight":29.7,"PatternWidth":11905.512,)"
                     R"("PatternHeight":16837.795,"PenSizeValue":0.33333334,"PenSizeText":")"
                     "\xC2\xBD" R"( mm \"q\"\\\u0001\u001f\u0009","PenColor":16744512,"BandW":true,)"
                     R"("BitmapPenSize":2.5,"BitmapSizeWidth":3.4e+38,"BitmapSizeHeight":1e-07,"MetricPen":false,)"
                     R"("MetricPage":true},"lines":3,"shapes":2,"pixels":[794,1123],"picture":{"bytes":2500}})" "\n");
    EXPECT_FALSE(fs::exists(env.file("in.wmf")));
    EXPECT_FALSE(fs::exists(env.picturePath())); // --info writes nothing, not even the picture copy
    ASSERT_EQ(env.run({"--thumbnail", "64", env.file("in.pat"), env.file("in.png")}).exitCode, 0);
    EXPECT_FALSE(fs::exists(env.picturePath())); // nor does a preview
    ASSERT_EQ(env.run({"-o", env.file("in.wmf"), env.file("in.pat")}).exitCode, 0);
    EXPECT_EQ(readFileText(env.picturePath()), std::string(2500, 'z')); // a conversion does, as the window's open
}

TEST(ConvertStreams, VersionQuietAndProgressOnlyOnATerminal)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a.pat");
    const std::string b = letter(env, "b.pat");

    const ConvertResult version = env.run({"--version"});
    const ConvertResult quiet = env.run({"-q", "--out-dir", env.file("out"), a, b});
    const std::string tty = sh("script -qec " + quoted(std::string(ORVANE_CONVERT) + " " + a + " " + b) + " /dev/null");

    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.starts_with("orvane-convert ")) << version.out;
    EXPECT_TRUE(version.out.ends_with("\n")) << version.out;
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.out + quiet.err, "");
    EXPECT_TRUE(fs::exists(env.file("out/b.wmf")));
    EXPECT_NE(tty.find("[1/2] " + a), std::string::npos) << tty;
    EXPECT_NE(tty.find("[2/2] " + b), std::string::npos) << tty;
}

// --info copies no picture, so only the library's info names a copy: in a folder its caller chose.
TEST(ConvertUsage, InfoIsValidJsonWhateverBytesThePictureCopysPathHolds)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(0).integer(0).picture("bytes");
    const ConvertOptions options{.pictureFolder = env.file("cache \xFF\xC3")};

    const std::string json = orvane::info(w.bytes(), options).json;

    EXPECT_NE(json.find("cache \\ufffd\\ufffd/vrtmimage.tmp"), std::string::npos) << json;
}

#ifdef ORVANE_WINDOW
// The window answers its command line without a display, under its own name whatever path started it; of several
// files it says which one it opens before it needs a display, then fails without one.
TEST(WindowCommandLine, AnsweredWithoutADisplay)
{
    ConvertEnvironment env;
    const struct {
        std::string args;
        std::string out; // the first line of standard output and error together
        int status;
    } cases[] = {
        {"--help", "Usage: orvane [options] [FILE.pat]\n", 0},
        {"--bogus a.pat", "orvane: --bogus is not an option; orvane --help lists them\n", 2},
        {"-platform xcb -x", "orvane: -x is not an option; orvane --help lists them\n", 2},
        {"a.pat b.pat c.pat", "orvane: opening a.pat only, as the window holds one pattern; not opened: b.pat c.pat\n",
         128 + SIGABRT},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args);
        const std::string line = "cd / && ulimit -c 0 && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
            + quoted(ORVANE_WINDOW) + " " + c.args + " >" + quoted(env.file("out")) + " 2>&1";
        const int status = std::system(line.c_str());
        const std::string out = readFileText(env.file("out"));
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.status);
        EXPECT_EQ(out.substr(0, out.find('\n') + 1), c.out) << out;
    }
}
#endif
