// orvane-convert as a user runs it: exit status (0 all converted, 1 any input failed, 2 usage error), failures
// named with their input, where outputs go, --info, and every format read back by readers no one here wrote.

#include "convertrunner.h"
#include "patternwriter.h"
#include "wmf2svg.h"

#include "document/patternelements.h"
#include "shell/libmessage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

using Elements = std::vector<WmfElement>;

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

TEST(ConvertExit, ZeroOrOneByWhetherAnyInputFailedAndTwoForUsage)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a.pat"), b = letter(env, "b.pat"), x = env.file("x.wmf");
    ConvertResult r = env.run({"--", a, b});
    EXPECT_EQ(std::tuple(r.exitCode, r.err), std::tuple(0, ""));
    fs::remove(env.file("b.wmf"));
    r = env.run({env.file("missing.pat"), b}); // a failed input does not stop the others
    EXPECT_EQ(std::tuple(r.exitCode, r.out), std::tuple(1, b + " -> " + env.file("b.wmf") + " (816 x 1056 pixels)\n"));
    fs::remove(env.file("a.wmf"));
    const std::vector<std::vector<std::string>> usage = {
        {},          {"--bogus", a}, {"-o", x, a, b},     {"-o", x, "--out-dir", env.file("d"), a}, {"--info", a, b},
        {"--width"}, {a, "-o"},      {"--width", "0", a}, {"--width", "12px", a}, {"--width", "3000000000", a},
        {"-o", "-", a, b}, {"--format", "emf", a}, {"--thumbnail", "0", a, x}, {"--thumbnail", "128", a},
        {"-o", "-", "-o", x, a}, {"--out-dir", x, "--out-dir", env.file("d"), a}};
    for (const auto &args : usage) {
        r = env.run(args);
        EXPECT_EQ(r.exitCode, 2) << args.size();
        EXPECT_TRUE(r.err.starts_with("orvane-convert: ")) << r.err;
        EXPECT_TRUE(r.err.ends_with("\nTry 'orvane-convert --help'.\n")) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(fs::exists(env.file("a.wmf")) || fs::exists(x));
}

TEST(ConvertMessages, FailuresNameTheInputAndWriteNothing)
{
    ConvertEnvironment env;
    const std::string missing = env.file("nowhere.pat"), far = letter(env, "far.pat", 1, 1, 12240.0f * 50);
    PatternWriter().header(2, 2, 0).settings21({}).integer(0).integer(0).save(env.file("v22.pat"));
    const std::string v22 = env.file("v22.pat"), self = letter(env, "self.wmf"), before = readFileText(self);
    const struct {
        std::vector<std::string> args;
        std::string err; // the start of standard error
    } cases[] = {
        {{missing}, failureLine(missing, LoadMessages::FileNotFoundText(missing))},
        {{v22}, failureLine(v22, LoadMessages::FormatUnknownText())},
        {{"--info", v22}, failureLine(v22, LoadMessages::FormatUnknownText())},
        {{far}, failureLine(far, "Error creating metafile " + env.file("far.wmf") + ".\n\nA point of the pattern lies "
                            "outside the range a metafile can hold (-32768 to 32767). Choose a smaller pattern size.")},
        {{"--width", "2147483600", far},
         "orvane-convert: " + far + ": The width 2147483600 cannot be applied: its page is 816 x"},
        {{self}, "orvane-convert: " + self + ": Error creating metafile " + self + "."}, // not over its input
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

TEST(ConvertOutputs, WhereTheMetafileGoesAndWhatWidthDoes)
{
    ConvertEnvironment env;
    const std::string house = letter(env, "house.pat"), plain = letter(env, "plain");
    const std::string other = letter(env, "b.v2.pat", 0, 2), chosen = env.file("chosen name"), dir = env.file("out/d");
    writeFileBytes(env.file("plain.wmf"), std::string(10000, 'o')); // replaced, nothing left beside it
    const struct {
        std::vector<std::string> args;
        std::string cwd, out, written;
        Elements elements = {{'L', 96, 96, 192, 96}, {'R', 48, 48, 144, 96}};
    } cases[] = {
        {{plain}, "", printed(plain, env.file("plain.wmf")), env.file("plain.wmf")},
        {{"-o", chosen, house}, "", printed(house, chosen), chosen},
        {{"--out-dir", dir, house, other}, "", printed(house, dir + "/house.wmf") + printed(other, dir + "/b.v2.wmf"),
         dir + "/b.v2.wmf", {{'L', 96, 96, 192, 96}, {'L', 96, 97, 192, 97}, {'R', 48, 48, 144, 96}}},
        {{"house.pat"}, env.workFolder(), printed("house.pat", "house.wmf"), env.file("house.wmf")},
        {{"--width", "1000", house}, "", printed(house, env.file("house.wmf"), "1000 x 1294"), env.file("house.wmf"),
         {{'L', 118, 118, 235, 118}, {'R', 59, 59, 176, 118}}},
        {{"--width=12.5", house}, "", printed(house, env.file("house.wmf"), "12 x 16"), env.file("house.wmf"),
         {{'L', 1, 1, 3, 1}, {'R', 1, 1, 2, 1}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.front());
        const ConvertResult r = env.run(c.args, c.cwd.empty() ? "." : c.cwd);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out + r.err, c.out);
        EXPECT_EQ(decodeMetafileFile(c.written).elements(), c.elements);
    }
    // Nothing beside: b.v2.pat, chosen name, house.pat, house.wmf, out, plain, plain.wmf.
    EXPECT_EQ(std::distance(fs::directory_iterator(env.workFolder()), {}), 7);
}

TEST(ConvertOutputs, EveryExampleConvertsAndWmf2svgReadsIt)
{
    ConvertEnvironment env;
    std::vector<std::string> args = {"--out-dir", env.file("examples")};
    for (const auto &e : fs::directory_iterator(ORVANE_EXAMPLES))
        if (e.path().extension() == ".pat")
            args.push_back(e.path().string());
    ASSERT_GE(args.size(), 9u);
    const ConvertResult r = env.run(args);
    ASSERT_EQ(std::tuple(r.exitCode, r.err), std::tuple(0, ""));
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string out = env.file("examples/" + fs::path(args[i]).stem().string() + ".wmf");
        ASSERT_NE(r.out.find(args[i] + " -> " + out + " ("), std::string::npos) << r.out;
        for (const std::string &problem : checkConverterMetafile(decodeMetafileFile(out)))
            ADD_FAILURE() << out << ": " << problem;
        expectWmf2svgAgrees(out, 32767, 32767); // wmf2svg only scales down
    }
}

TEST(ConvertOutputs, LaterInputNeverOverwritesWhatThisRunWrote)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a/x.pat"), b = letter(env, "b/x.pat", ShapeOval), out = env.file("out");
    ASSERT_EQ(env.run({"-o", env.file("first.wmf"), a}).exitCode, 0);
    const ConvertResult r = env.run({"--out-dir", out, a, b, a}); // a twice is no clash
    EXPECT_EQ(std::tuple(r.exitCode, r.out), std::tuple(1, printed(a, out + "/x.wmf") + printed(a, out + "/x.wmf")));
    EXPECT_EQ(r.err, failureLine(b, "Error creating metafile " + out + "/x.wmf.\n\nThis run already wrote it from " + a
                                        + "; it is not replaced."));
    EXPECT_EQ(readFileBytes(out + "/x.wmf"), readFileBytes(env.file("first.wmf")));
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
TEST(ConvertInfo, EveryFieldExactly)
{
    ConvertEnvironment env;
    // Not a number, not exact in binary, decoded from Windows-1252 and escaped, beyond 2 x 10^38.
    const PatternWriter::Page p{std::numeric_limits<float>::quiet_NaN(), 0.2f, 0.3f, 0.7f, 21.0f, 29.7f, 0, 0,
                                1.0f / 3, 0x00FF8040, true, "\xBD mm \"q\"\\", 2.5f, 1e-7f, 3.4e38f, true, false};
    PatternWriter w;
    w.header(2, 1, 7).settings21(p).integer(3).line(1, 2, 3, 4).line(5, 6, 7, 8).line(9, 10, 11, 12);
    w.integer(2).shape(0, 1, 2, 3, 4).shape(3, 5, 6, 7, 8).integer(1).single(2500).raw(std::string(2500, 'z'));
    w.save(env.file("in.pat"));
    const ConvertResult r = env.run({"--info", env.file("in.pat")});
    EXPECT_EQ(std::tuple(r.exitCode, r.err), std::tuple(0, ""));
    EXPECT_EQ(r.out, R"({"version":[2,1,7],"settings":{"MarginTop":null,"MarginBottom":0.2,"MarginLeft":0.3,)"
                     R"("MarginRight":0.7,"DefWidth":21,"DefHeight":29.7,"PatternWidth":11905.512,)"
                     R"("PatternHeight":16837.795,"PenSizeValue":0.33333334,"PenSizeText":")"
                     "\xC2\xBD" R"( mm \"q\"\\","PenColor":16744512,"BandW":true,"BitmapPenSize":2.5,)"
                     R"("BitmapSizeWidth":3.4e+38,"BitmapSizeHeight":1e-07,"MetricPen":false,"MetricPage":true},)"
                     R"("lines":3,"shapes":2,"pixels":[794,1123],"picture":{"bytes":2500}})" "\n");
    EXPECT_FALSE(fs::exists(env.file("in.wmf")));
    EXPECT_FALSE(fs::exists(env.picturePath())); // --info writes nothing, not even the picture copy
    ASSERT_EQ(env.run({"--thumbnail", "64", env.file("in.pat"), env.file("in.png")}).exitCode, 0);
    EXPECT_FALSE(fs::exists(env.picturePath())); // nor does a preview
    ASSERT_EQ(env.run({"-o", env.file("in.wmf"), env.file("in.pat")}).exitCode, 0);
    EXPECT_EQ(readFileText(env.picturePath()), std::string(2500, 'z')); // a conversion does, as the window's open
}

TEST(ConvertFormats, ReadersFindTheOutlinesAtTheScenesPoints)
{
    ConvertEnvironment env;
    const std::string pattern = letter(env, "page.pat"), svg = quoted(env.file("page.svg"));
    const std::string pdf = quoted(env.file("page.pdf")), wmf = env.file("page.wmf");
    const struct {
        const char *format;
        std::string check, expect, render; // a reader's output must hold expect; render gives a PGM
    } cases[] = {
        {"svg", "xmllint --xpath 'concat(/*/@width,\" \",/*/@height,\" \",/*/@viewBox)' " + svg,
         "215.9mm 279.4mm 0 0 816 1056", "rsvg-convert -w 816 -h 1056 " + svg + " | pngtopnm | ppmtopgm"},
        {"pdf", "pdfinfo " + pdf, "612 x 792 pts", "pdftoppm -r 96 -gray " + pdf},
        {"png", "true", "", "pngtopnm " + quoted(env.file("page.png"))},
    };
    char today[16];
    const std::time_t now = std::time(nullptr);
    std::strftime(today, sizeof today, "%Y%m%d", std::gmtime(&now));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.format);
        const ConvertResult r = env.run({"--format", c.format, pattern});
        const std::string written = env.file(std::string("page.") + c.format);
        EXPECT_EQ(std::tuple(r.exitCode, r.out), std::tuple(0, printed(pattern, written))) << r.err;
        EXPECT_NE(sh(c.check + " 2>&1").find(c.expect), std::string::npos);
        const Gray page(sh(c.render));
        ASSERT_EQ(std::pair(page.width, page.height), std::pair(816, 1056));
        for (const auto &[x, y] : {std::pair{96, 96}, {144, 96}, {191, 96}, {48, 72}, {143, 72}, {96, 48}, {96, 95}})
            EXPECT_TRUE(page.ink(x, y)) << "no ink at " << x << "," << y;
        for (const auto &[x, y] : {std::pair{96, 72}, {300, 300}, {200, 96}, {96, 100}, {815, 1055}})
            EXPECT_FALSE(page.ink(x, y, 255)) << "ink at " << x << "," << y;
        // The same input gives the same bytes, with no date of writing in them.
        ASSERT_EQ(env.run({"--format", c.format, "-o", env.file("again"), pattern}).exitCode, 0);
        const std::string bytes = readFileText(written);
        EXPECT_EQ(readFileText(env.file("again")), bytes);
        EXPECT_EQ(bytes.find(today), std::string::npos);
    }
    ASSERT_EQ(env.run({"--format", "placeable", pattern}).exitCode, 0);
    const DecodedMetafile m = decodeMetafileFile(wmf);
    ASSERT_TRUE(m.placeable.has_value());
    EXPECT_EQ(std::tuple(m.placeable->right, m.placeable->bottom, int(m.placeable->inch)), std::tuple(816, 1056, 96));
    EXPECT_EQ(checkConverterMetafile(m), std::vector<std::string>());
    const std::string placed = wmf2svgText(wmf, 816, 1056); // the frame makes the page the drawn box
    EXPECT_NE(placed.find("<svg width=\"816\" height=\"1056\""), std::string::npos) << placed;
    EXPECT_LT(placed.find("<line"), placed.find("<rect")) << placed;
}

TEST(ConvertFormats, StandardOutputQuietVersionProgressAndThumbnails)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a.pat"), b = letter(env, "b.pat");
    ConvertResult r = env.run({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.starts_with("orvane-convert ")) << r.out;
    EXPECT_TRUE(r.out.ends_with("\n")) << r.out;
    for (const char *format : {"wmf", "svg"}) { // standard output holds the file and nothing else
        ASSERT_EQ(env.run({"--format", format, "-o", env.file("file"), a}).exitCode, 0);
        r = env.run({"--format", format, "-o", "-", a});
        EXPECT_EQ(std::tuple(r.exitCode, r.out), std::tuple(0, readFileText(env.file("file")))) << r.err;
        EXPECT_FALSE(fs::exists(env.file("-")));
    }
    r = env.run({"-q", "--format", "pdf", "--out-dir", env.file("out"), a, b});
    EXPECT_EQ(std::tuple(r.exitCode, r.out + r.err), std::tuple(0, ""));
    EXPECT_TRUE(fs::exists(env.file("out/a.pdf")));
    EXPECT_TRUE(fs::exists(env.file("out/b.pdf")));
    // Progress only when standard error is a terminal.
    const std::string tty = sh("script -qec " + quoted(std::string(ORVANE_CONVERT) + " " + a + " " + b) + " /dev/null");
    EXPECT_NE(tty.find("[1/2] " + a), std::string::npos) << tty;
    EXPECT_NE(tty.find("[2/2] " + b), std::string::npos) << tty;
    const std::string spaced = letter(env, "a page.pat"), png = env.file("thumb.png"); // fits the size
    for (const auto &[size, width, height] : {std::tuple{128, 99, 128}, {2000, 816, 1056}}) {
        ASSERT_EQ(env.run({"--thumbnail", std::to_string(size), spaced, png}).exitCode, 0);
        const Gray g(sh("pngtopnm " + quoted(png)));
        EXPECT_EQ(std::pair(g.width, g.height), std::pair(width, height));
        EXPECT_TRUE(g.ink(width * 144 / 816, height * 96 / 1056, 200));
    }
}

// The settings store is QSettings' own file: a version 1 file takes its stored pen, a value that does not
// convert is named with its key and file, and a store that is not a regular file counts as absent.
TEST(ConvertSettings, StoredValuesBadValuesAndAStoreThatIsAPipe)
{
    ConvertEnvironment env;
    const std::string v11 = env.file("v11.pat"), conf = env.configHome() + "/Veltrum Orvane/Veltrum Orvane.conf";
    PatternWriter().header(1, 1, 0).settings11({}).integer(0).integer(0).noPicture().save(v11);
    env.writeSettings("[Pattern]\nPenColor=255\nPenSizeText=1/8\n");
    ConvertResult r = env.run({"--info", v11});
    EXPECT_NE(r.out.find("\"PenSizeText\":\"1/8\",\"PenColor\":255"), std::string::npos) << r.out;

    env.writeSettings("[Pattern]\nMarginTop=abc\n");
    r = env.run({"-o", env.file("bad.wmf"), v11});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, failureLine(v11, LoadMessages::FormatUnknownText() + "\r\n\r\n"
                                          + LoadMessages::SettingAtFaultText("MarginTop", conf)));

    fs::remove(conf);
    ASSERT_EQ(::mkfifo(conf.c_str(), 0600), 0); // a read would wait for a writer for ever
    r = env.run({"--info", v11});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"PenSizeText\":\"1/64\",\"PenColor\":0"), std::string::npos) << r.out;
}

// The page of a thumbnail has a thin grey frame, to stand out on white; inside it the page stays white.
TEST(ConvertFormats, ThumbnailFramedInGrey)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a.pat"), png = env.file("thumb.png");
    ASSERT_EQ(env.run({"--thumbnail", "128", a, png}).exitCode, 0);

    const Gray g(sh("pngtopnm " + quoted(png)));

    const int w = g.width - 1, h = g.height - 1;
    EXPECT_EQ((std::vector<int>{g.value(0, 0), g.value(w, 0), g.value(0, h), g.value(w, h), g.value(w / 2, h)}),
              (std::vector<int>{160, 160, 160, 160, 160}));
    EXPECT_EQ(g.value(1, 1), 255);
}
