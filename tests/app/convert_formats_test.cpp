// Every output format read back by readers no one here wrote (wmf2svg,
// xmllint, rsvg-convert, pdfinfo, pdftoppm, pngtopnm), and the command line
// around the formats: derived names, standard output, --quiet, --version,
// progress and thumbnails.

#include "convertrunner.h"
#include "patternwriter.h"

#include "document/patternelements.h"
#include "wmf2svg.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sstream>

using namespace orvane;
using namespace orvane::testing;

namespace {

// A letter page (816 x 1056 pixels) with a line from 96,96 to 192,96 and a
// rectangle from 48,48 to 144,96.
std::string letter(const ConvertEnvironment &env, const std::string &name)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440);
    w.integer(1).shape(ShapeRectangle, 720, 720, 1440, 720).noPicture();
    const std::string path = env.file(name);
    w.save(path);
    return path;
}

// A shell command's exit status and standard output.
std::pair<int, std::string> sh(const std::string &command)
{
    std::string out;
    FILE *pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = pipe ? ::pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::string quoted(const std::string &path) { return "'" + path + "'"; }

// The page as gray levels, from a binary PGM.
struct Gray {
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
    // The darkest level within one pixel of x, y.
    int darkest(int x, int y) const
    {
        int level = 255;
        for (int j = std::max(0, y - 1); j <= std::min(height - 1, y + 1); ++j)
            for (int i = std::max(0, x - 1); i <= std::min(width - 1, x + 1); ++i)
                level = std::min<int>(level, static_cast<unsigned char>(pixels[std::size_t(j) * width + i]));
        return level;
    }
};

} // namespace

TEST(ConvertFormats, ReadersFindTheOutlinesAtTheScenesPoints)
{
    ConvertEnvironment env;
    const std::string pattern = letter(env, "page.pat");
    struct Case {
        const char *format;
        std::string check;  // a reader that must accept the file; its output must contain expect
        const char *expect;
        std::string render; // the page as a PGM on standard output
    };
    const std::string svg = env.file("page.svg"), pdf = env.file("page.pdf"), png = env.file("page.png");
    const Case cases[] = {
        {"svg", "xmllint --xpath 'concat(/*/@width,\" \",/*/@height,\" \",/*/@viewBox)' " + quoted(svg),
         "215.9mm 279.4mm 0 0 816 1056", "rsvg-convert -w 816 -h 1056 " + quoted(svg) + " | pngtopnm | ppmtopgm"},
        {"pdf", "pdfinfo " + quoted(pdf), "612 x 792 pts", "pdftoppm -r 96 -gray " + quoted(pdf)},
        {"png", "true", "", "pngtopnm " + quoted(png)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        const ConvertResult r = env.run({"--format", c.format, pattern});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::string written = env.file(std::string("page.") + c.format);
        EXPECT_EQ(r.out, pattern + " -> " + written + " (816 x 1056 pixels)\n");
        const auto [status, said] = sh(c.check + " 2>&1");
        EXPECT_EQ(status, 0) << said;
        EXPECT_NE(said.find(c.expect), std::string::npos) << said;
        const Gray page(sh(c.render).second);
        ASSERT_EQ(page.width, 816);
        ASSERT_EQ(page.height, 1056);
        for (const auto &[x, y] : {std::pair{96, 96}, {144, 96}, {191, 96}, {48, 72}, {143, 72}, {96, 48}, {96, 95}})
            EXPECT_LT(page.darkest(x, y), 160) << "no ink at " << x << "," << y;
        for (const auto &[x, y] : {std::pair{96, 72}, {300, 300}, {200, 96}, {96, 100}, {815, 1055}})
            EXPECT_EQ(page.darkest(x, y), 255) << "ink at " << x << "," << y;
        // The same input gives the same bytes, with no date of writing in them.
        ASSERT_EQ(env.run({"--format", c.format, "-o", env.file("again"), pattern}).exitCode, 0);
        const auto bytes = readFileBytes(written);
        EXPECT_EQ(readFileBytes(env.file("again")), bytes);
        char today[16];
        const std::time_t now = std::time(nullptr);
        std::strftime(today, sizeof today, "%Y%m%d", std::gmtime(&now));
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find(today), std::string::npos);
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
    // libwmf stretches the drawing over the header's box.
    const std::string svg = wmf2svgText(wmf, 816, 1056);
    EXPECT_NE(svg.find("<svg width=\"816\" height=\"1056\""), std::string::npos) << svg;
    EXPECT_LT(svg.find("<line"), svg.find("<rect")) << svg;
}

TEST(ConvertFormats, CommandLineAroundTheFormats)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a.pat"), b = letter(env, "b.pat");
    ConvertResult r = env.run({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.starts_with("orvane-convert ") && r.out.ends_with("\n")) << r.out;

    // Standard output holds the file and nothing else.
    for (const char *format : {"wmf", "svg"}) {
        ASSERT_EQ(env.run({"--format", format, "-o", env.file("file"), a}).exitCode, 0);
        r = env.run({"--format", format, "-o", "-", a});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        const auto file = readFileBytes(env.file("file"));
        EXPECT_EQ(r.out, std::string(file.begin(), file.end()));
        EXPECT_FALSE(std::filesystem::exists(env.file("-")));
    }
    EXPECT_EQ(env.run({"-o", "-", a, b}).exitCode, 2);
    EXPECT_EQ(env.run({"--format", "emf", a}).exitCode, 2);

    r = env.run({"-q", "--format", "pdf", "--out-dir", env.file("out"), a, b});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_TRUE(std::filesystem::exists(env.file("out/a.pdf")) && std::filesystem::exists(env.file("out/b.pdf")));

    // Progress only when standard error is a terminal.
    const std::string tty = sh("script -qec " + quoted(std::string(ORVANE_CONVERT) + " " + a + " " + b) + " /dev/null").second;
    EXPECT_NE(tty.find("[1/2] " + a), std::string::npos) << tty;
    EXPECT_NE(tty.find("[2/2] " + b), std::string::npos) << tty;
}

TEST(ConvertFormats, ThumbnailFitsTheSize)
{
    ConvertEnvironment env;
    const std::string a = letter(env, "a page.pat"), png = env.file("thumb.png");
    for (const auto &[size, width, height] : {std::tuple{128, 99, 128}, {2000, 816, 1056}}) {
        ASSERT_EQ(env.run({"--thumbnail", std::to_string(size), a, png}).exitCode, 0);
        const Gray g(sh("pngtopnm " + quoted(png)).second);
        EXPECT_EQ(g.width, width);
        EXPECT_EQ(g.height, height);
        EXPECT_LT(g.darkest(width * 144 / 816, height * 96 / 1056), 200);
    }
    EXPECT_EQ(env.run({"--thumbnail", "0", a, png}).exitCode, 2);
    EXPECT_EQ(env.run({"--thumbnail", "128", a}).exitCode, 2);
}
