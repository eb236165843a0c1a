// The formats as the program writes them: the library's bytes, each opened by a reader no one here wrote, the
// thumbnail, and the picture module they need beside the program.

#include "convertrunner.h"
#include "patternwriter.h"
#include "samebytes.h"

#include "document/patternelements.h"
#include "orvane/orvane.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <sys/stat.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

// A letter page (816 x 1056 pixels): a line 96,96-192,96 and a box 48,48-144,96.
std::string letter(const ConvertEnvironment &env, const std::string &name)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440);
    w.integer(1).shape(ShapeRectangle, 720, 720, 1440, 720).noPicture().save(env.file(name));
    return env.file(name);
}

} // namespace

TEST(ConvertFormats, EachCoreFormatIsWhatTheLibraryWrites)
{
    ConvertEnvironment env;
    const std::string in = letter(env, "page.pat");
    for (const std::string &format : formatNames()) {
        SCOPED_TRACE(format);
        const ConvertOptions options{.format = format, .width = "1000"};

        const ConvertResult r = env.run({"--format", format, "--width", "1000", "-o", env.file("out"), in});

        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(sameBytes(readFileBytes(env.file("out")), convert(readFileBytes(in), options).bytes));
    }
}

// The output's name chooses the format unless --format does. Each reader draws the page at 96 dpi (the plain
// metafile: its drawn box only), with ink on the outlines and none beside them.
TEST(ConvertFormats, EachOpensInAReaderNoOneHereWrote)
{
    ConvertEnvironment env;
    const std::string in = letter(env, "page.pat");
    const struct {
        std::vector<std::string> format; // none: the name chooses
        const char *output;
        const char *render; // FILE as a PGM on standard output
        std::pair<int, int> size; // of the PGM
        std::pair<int, int> origin; // where in the PGM the page's 0,0 falls
    } cases[] = {
        {{}, "page.txt", "wmf2gd -t png -o /dev/stdout FILE | pngtopnm | ppmtopgm", {145, 49}, {-48, -48}},
        {{"--format", "placeable"}, "page.wmf",
         "wmf2gd --maxwidth=816 --maxheight=1056 --maxpect -t png -o /dev/stdout FILE | pngtopnm | ppmtopgm",
         {816, 1056}, {0, 0}},
        {{}, "page.svg", "rsvg-convert FILE | pngtopnm | ppmtopgm", {816, 1056}, {0, 0}},
        {{}, "page.PDF", "qpdf --check FILE >/dev/null && pdftoppm -r 96 -gray FILE", {816, 1056}, {0, 0}},
        {{"--format", "png"}, "page.png", "pngtopnm FILE", {816, 1056}, {0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.output);
        const std::string out = env.file(c.output);
        std::vector<std::string> args = c.format;
        args.insert(args.end(), {"-o", out, in});
        ASSERT_EQ(env.run(args).exitCode, 0);
        const std::string render = std::regex_replace(c.render, std::regex("FILE"), quoted(out));

        const Gray page(sh("{ " + render + "; } 2>/dev/null"));

        ASSERT_EQ(std::pair(page.width, page.height), c.size);
        for (const auto &[x, y] : {std::pair{96, 96}, {144, 96}, {191, 96}, {48, 72}, {143, 72}, {96, 48}, {96, 95}})
            EXPECT_TRUE(page.ink(x + c.origin.first, y + c.origin.second)) << "no ink at " << x << "," << y;
        for (const auto &[x, y] : {std::pair{96, 72}, {120, 60}, {170, 80}})
            EXPECT_FALSE(page.ink(x + c.origin.first, y + c.origin.second, 255)) << "ink at " << x << "," << y;
    }
}

// The page in a thin grey frame, to stand out on white, fitted into the size and never enlarged.
TEST(ConvertFormats, ThumbnailFitsTheSizeInAGreyFrame)
{
    ConvertEnvironment env;
    const std::string in = letter(env, "a page.pat");
    const std::string png = env.file("thumb.png");
    for (const auto &[size, width, height] : {std::tuple{128, 99, 128}, {2000, 816, 1056}}) {
        SCOPED_TRACE(size);
        ASSERT_EQ(env.run({"--thumbnail", std::to_string(size), in, png}).exitCode, 0);

        const Gray g(sh("pngtopnm " + quoted(png) + " | ppmtopgm"));

        ASSERT_EQ(std::pair(g.width, g.height), std::pair(width, height));
        EXPECT_TRUE(g.ink(width * 144 / 816, height * 96 / 1056, 200));
        EXPECT_EQ(g.value(0, 0), 160);
        EXPECT_EQ(g.value(width - 1, height - 1), 160);
        EXPECT_EQ(g.value(1, 1), 255);
    }
}

TEST(ConvertNames, AMissingOrBrokenPictureModuleIsAFailureThatSaysWhy)
{
    ConvertEnvironment env;
    const std::string in = letter(env, "p.pat");
    const std::string bin = env.file("bin");
    fs::create_directories(bin);
    env.program = bin + "/orvane-convert";
    fs::copy_file(ORVANE_CONVERT, env.program);
    const std::string module = bin + "/orvane-pictures.so";
    const struct {
        const char *what;
        std::function<void()> plant;
        std::string reason;
    } cases[] = {
        {"missing", [] {}, "orvane-pictures.so: No such file or directory"},
        {"not a library", [&] { writeFileBytes(module, "not a library"); }, module + ": " + module + ": "},
        {"a named pipe", [&] { ::mkfifo(module.c_str(), 0600); }, module + ": not a regular file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(module);
        c.plant();
        const ConvertResult png = env.run({"--format", "png", in});
        EXPECT_EQ(png.exitCode, 1);
        EXPECT_NE(png.err.find("picture module, which could not be loaded: "), std::string::npos) << png.err;
        EXPECT_NE(png.err.find(c.reason), std::string::npos) << png.err;
        const ConvertResult svg = env.run({"--format", "svg", in}); // the core's formats need no module
        EXPECT_EQ(svg.exitCode, 0) << svg.err;
    }
}
