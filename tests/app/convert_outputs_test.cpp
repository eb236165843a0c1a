// Where orvane-convert writes and what it prints, --width, several inputs,
// every example, and each format read back by readers no one here wrote
// (wmf2svg, xmllint, rsvg-convert, pdfinfo, pdftoppm, pngtopnm); standard
// output, --quiet, --version, progress and thumbnails.

#include "convertrunner.h"
#include "patternwriter.h"
#include "wmf2svg.h"

#include "document/patternelements.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <sstream>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

using Elements = std::vector<WmfElement>;

// A letter page (816 x 1056 pixels): a line 96,96-192,96 and a shape 48,48-144,96.
std::string letter(const ConvertEnvironment &env, const std::string &name, std::int16_t kind = ShapeRectangle)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440);
    w.integer(1).shape(kind, 720, 720, 1440, 720).noPicture().save(env.file(name));
    return env.file(name);
}

std::string printed(const std::string &in, const std::string &out, const char *pixels = "816 x 1056")
{
    return in + " -> " + out + " (" + pixels + " pixels)\n";
}

std::string sh(const std::string &command) // standard output
{
    std::string out;
    FILE *pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    return pipe && ::pclose(pipe) == 0 ? out : "failed: " + out;
}

std::string quoted(const std::string &path) { return "'" + path + "'"; }

struct Gray { // a binary PGM
    int width = 0, height = 0;
    std::string pixels;
    explicit Gray(const std::string &pgm)
    {
        std::istringstream in(pgm);
        std::string magic;
        int maxval = 0;
        if (in >> magic >> width >> height >> maxval && magic == "P5" && maxval == 255 && in.get() != EOF)
            pixels = pgm.substr(std::size_t(in.tellg()));
        if (pixels.size() != std::size_t(width) * std::size_t(height))
            width = height = 0;
    }
    bool ink(int x, int y, int below = 160) const // within one pixel of x, y
    {
        for (int j = std::max(0, y - 1); j <= std::min(height - 1, y + 1); ++j)
            for (int i = std::max(0, x - 1); i <= std::min(width - 1, x + 1); ++i)
                if (static_cast<unsigned char>(pixels[std::size_t(j) * width + i]) < below)
                    return true;
        return false;
    }
};

} // namespace

TEST(ConvertOutputs, WhereTheMetafileGoesAndWhatWidthDoes)
{
    ConvertEnvironment env;
    const std::string house = letter(env, "house.pat"), plain = letter(env, "plain"), other = letter(env, "b.v2.pat");
    const std::string chosen = env.file("chosen name"), dir = env.file("out/deeper");
    writeFileBytes(env.file("plain.wmf"), std::string(10000, 'o')); // replaced, nothing left beside it
    const struct {
        std::vector<std::string> args;
        std::string cwd, out, written;
        Elements elements = {{'L', 96, 96, 192, 96}, {'R', 48, 48, 144, 96}};
    } cases[] = {
        {{plain}, "", printed(plain, env.file("plain.wmf")), env.file("plain.wmf")},
        {{"-o", chosen, house}, "", printed(house, chosen), chosen},
        {{"--out-dir", dir, house, other}, "", printed(house, dir + "/house.wmf") + printed(other, dir + "/b.v2.wmf"),
         dir + "/b.v2.wmf"},
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
    std::vector<std::string> names;
    for (const auto &e : fs::directory_iterator(env.workFolder()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"b.v2.pat", "chosen name", "house.pat", "house.wmf", "out", "plain",
                                               "plain.wmf"}));
}

TEST(ConvertOutputs, SeveralInputsEachGetOnlyTheirOwnElements)
{
    ConvertEnvironment env;
    PatternWriter many;
    many.header(1, 1, 0).settings11({}).integer(2).line(0, 0, 1500, 0).line(0, 1500, 1500, 1500);
    many.integer(2).shape(ShapeOval, 3000, 3000, 1500, 1500).shape(ShapeSquare, 4500, 4500, 1500, 1500);
    many.noPicture().save(env.file("many.pat"));
    PatternWriter().header(1, 4, 0).settings11({}).integer(0).integer(0).noPicture().save(env.file("none.pat"));
    const std::string a = env.file("many.pat");
    ASSERT_EQ(env.run({a, letter(env, "one.pat", ShapeCircle), env.file("none.pat"), a}).exitCode, 0);
    EXPECT_EQ(
        decodeMetafileFile(env.file("many.wmf")).elements(),
        (Elements{{'L', 0, 0, 100, 0}, {'L', 0, 100, 100, 100}, {'E', 200, 200, 300, 300}, {'R', 300, 300, 400, 400}}));
    EXPECT_EQ(decodeMetafileFile(env.file("one.wmf")).elements(),
              (Elements{{'L', 96, 96, 192, 96}, {'E', 48, 48, 144, 96}}));
    EXPECT_TRUE(decodeMetafileFile(env.file("none.wmf")).elements().empty());
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
        const auto at = r.out.find(args[i] + " -> " + out + " (");
        ASSERT_NE(at, std::string::npos) << r.out;
        int w = 0, h = 0;
        ASSERT_EQ(std::sscanf(r.out.c_str() + at + args[i].size() + out.size() + 6, "%d x %d", &w, &h), 2);
        for (const std::string &problem : checkConverterMetafile(decodeMetafileFile(out)))
            ADD_FAILURE() << out << ": " << problem;
        expectWmf2svgAgrees(out, w, h);
    }
}

TEST(ConvertFormats, ReadersFindTheOutlinesAtTheScenesPoints)
{
    ConvertEnvironment env;
    const std::string pattern = letter(env, "page.pat"), svg = env.file("page.svg"), pdf = env.file("page.pdf");
    const struct {
        const char *format;
        std::string check, expect, render; // a reader's output must contain expect; render gives a PGM
    } cases[] = {
        {"svg", "xmllint --xpath 'concat(/*/@width,\" \",/*/@height,\" \",/*/@viewBox)' " + quoted(svg),
         "215.9mm 279.4mm 0 0 816 1056", "rsvg-convert -w 816 -h 1056 " + quoted(svg) + " | pngtopnm | ppmtopgm"},
        {"pdf", "pdfinfo " + quoted(pdf), "612 x 792 pts", "pdftoppm -r 96 -gray " + quoted(pdf)},
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
}

TEST(ConvertFormats, PlaceableMetafileIsFramedForItsReaders)
{
    ConvertEnvironment env;
    const std::string pattern = letter(env, "page.pat"), wmf = env.file("page.wmf");
    ASSERT_EQ(env.run({"--format", "placeable", pattern}).exitCode, 0);
    const DecodedMetafile m = decodeMetafileFile(wmf);
    ASSERT_TRUE(m.placeable.has_value());
    EXPECT_EQ(std::tuple(m.placeable->right, m.placeable->bottom, int(m.placeable->inch)), std::tuple(816, 1056, 96));
    EXPECT_EQ(checkConverterMetafile(m), std::vector<std::string>());
    const std::string svg = wmf2svgText(wmf, 816, 1056); // stretched over the header's box
    EXPECT_NE(svg.find("<svg width=\"816\" height=\"1056\""), std::string::npos) << svg;
    EXPECT_LT(svg.find("<line"), svg.find("<rect")) << svg;
}

TEST(ConvertFormats, CommandLineAroundTheFormats)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a.pat"), b = letter(env, "b.pat");
    ConvertResult r = env.run({"--version"});
    EXPECT_TRUE(r.exitCode == 0 && r.out.starts_with("orvane-convert ") && r.out.ends_with("\n")) << r.out;
    for (const char *format : {"wmf", "svg"}) { // standard output holds the file and nothing else
        ASSERT_EQ(env.run({"--format", format, "-o", env.file("file"), a}).exitCode, 0);
        r = env.run({"--format", format, "-o", "-", a});
        EXPECT_EQ(std::tuple(r.exitCode, r.out), std::tuple(0, readFileText(env.file("file")))) << r.err;
        EXPECT_FALSE(fs::exists(env.file("-")));
    }
    r = env.run({"-q", "--format", "pdf", "--out-dir", env.file("out"), a, b});
    EXPECT_EQ(std::tuple(r.exitCode, r.out + r.err), std::tuple(0, ""));
    EXPECT_TRUE(fs::exists(env.file("out/a.pdf")) && fs::exists(env.file("out/b.pdf")));
    // Progress only when standard error is a terminal.
    const std::string tty = sh("script -qec " + quoted(std::string(ORVANE_CONVERT) + " " + a + " " + b) + " /dev/null");
    EXPECT_NE(tty.find("[1/2] " + a), std::string::npos) << tty;
    EXPECT_NE(tty.find("[2/2] " + b), std::string::npos) << tty;
}

TEST(ConvertFormats, ThumbnailFitsTheSize)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a page.pat"), png = env.file("thumb.png");
    for (const auto &[size, width, height] : {std::tuple{128, 99, 128}, {2000, 816, 1056}}) {
        ASSERT_EQ(env.run({"--thumbnail", std::to_string(size), a, png}).exitCode, 0);
        const Gray g(sh("pngtopnm " + quoted(png)));
        EXPECT_EQ(std::pair(g.width, g.height), std::pair(width, height));
        EXPECT_TRUE(g.ink(width * 144 / 816, height * 96 / 1056, 200));
    }
}
