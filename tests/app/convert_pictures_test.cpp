// The picture formats as their readers draw them: the SVG as rsvg-convert and the PDF as poppler render them
// against our PNG, the printed weight of a stroke whatever --width, the placeable file in libwmf's readers.

#include "convertrunner.h"
#include "patternwriter.h"

#include "document/patternelements.h"

#include <gtest/gtest.h>

#include <array>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

// A letter page (816 x 1056 pixels) of every kind of outline: lines along both axes and across, boxes of each
// kind with odd and even sides, corners given in reverse, a box one pixel thin.
std::string everyOutline(const ConvertEnvironment &env)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(4);
    w.line(1440, 1440, 2880, 1440).line(1440, 1500, 1440, 3000).line(300, 4000, 6000, 9000).line(6000, 300, 300, 6000);
    w.integer(6);
    w.shape(ShapeRectangle, 720, 720, 1440, 720).shape(ShapeSquare, 4500, 900, 1005, 1005);
    w.shape(ShapeOval, 3000, 3000, 2000, 1215).shape(ShapeCircle, 7000, 7000, 1500, 1500);
    w.shape(ShapeRoundedRectangle, 9000, 2000, -1500, -900).shape(ShapeRectangle, 9000, 12000, 15, 1500);
    w.noPicture().save(env.file("every.pat"));
    return env.file("every.pat");
}

std::vector<std::string> everyOutlineAndTheExamples(const ConvertEnvironment &env)
{
    std::vector<std::string> patterns = {everyOutline(env)};
    for (const auto &entry : fs::directory_iterator(ORVANE_EXAMPLES))
        if (entry.path().extension() == ".pat")
            patterns.push_back(entry.path().string());
    return patterns;
}

// The box of a page's ink (gray below 128): left, top, right, bottom as fractions of the page's width and height.
std::array<double, 4> inkBox(const Gray &page)
{
    int left = page.width, top = page.height, right = -1, bottom = -1;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            if (page.value(x, y) < 128) {
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
        }
    }
    return {double(left) / page.width, double(top) / page.height, double(right) / page.width,
            double(bottom) / page.height};
}

// The darkness (255 - gray, summed) of column x from row y - 10 to y + 10.
int darknessAcross(const Gray &page, int x, int y)
{
    int sum = 0;
    for (int j = y - 10; j <= y + 10; ++j)
        sum += 255 - page.value(x, j);
    return sum;
}

} // namespace

// Where rsvg-convert paints a pixel fully black or fully white, the PNG has the same; only the grays of
// antialiased edges may differ.
TEST(ConvertPictures, SvgAsRsvgDrawsItIsThePngPixelForPixel)
{
    ConvertEnvironment env;
    for (const std::string &pattern : everyOutlineAndTheExamples(env)) {
        SCOPED_TRACE(pattern);
        const std::string svg = env.file("page.svg"), png = env.file("page.png");
        ASSERT_EQ(env.run({"-o", svg, pattern}).exitCode, 0);
        ASSERT_EQ(env.run({"-o", png, pattern}).exitCode, 0);

        const Gray ours(sh("pngtopnm " + quoted(png)));
        const Gray rsvg(sh("rsvg-convert -w " + std::to_string(ours.width) + " -h " + std::to_string(ours.height)
                           + " " + quoted(svg) + " | pngtopnm | ppmtopgm"));

        ASSERT_EQ(std::pair(rsvg.width, rsvg.height), std::pair(ours.width, ours.height));
        // Ink amid eight more ink pixels along an axis is no edge: rsvg paints it dark too, but for the steps of
        // shallow lines and of flat arcs.
        auto inRun = [&ours](int x, int y) {
            bool across = true, down = true;
            for (int d = -4; d <= 4; ++d) {
                across = across && ours.value(std::clamp(x + d, 0, ours.width - 1), y) == 0;
                down = down && ours.value(x, std::clamp(y + d, 0, ours.height - 1)) == 0;
            }
            return across || down;
        };
        int runs = 0, paleRuns = 0, mismatches = 0;
        for (int y = 0; y < ours.height; ++y) {
            for (int x = 0; x < ours.width; ++x) {
                const int a = ours.value(x, y), b = rsvg.value(x, y);
                if ((b == 0 || b == 255) && a != b && mismatches++ < 5)
                    ADD_FAILURE() << "at " << x << "," << y << " ours " << a << ", rsvg " << b;
                const bool run = a == 0 && inRun(x, y);
                runs += run;
                paleRuns += run && b >= 64;
            }
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_GT(runs, 300);
        EXPECT_LE(paleRuns * 10, runs) << paleRuns << " pale of " << runs; // shallow lines and flat arcs
    }
}

// One pixel at 96 dpi on paper: a line drawn at 816 and at 2000 pixels wide darkens the printed page alike. Poppler
// draws any thinner line one device pixel wide and puts a level line's edges on whole pixels, so the PDF is looked
// at in 1200 dpi, where the line is 12.5 rows (12 or 13).
TEST(ConvertPictures, StrokeKeepsItsPrintedWeightAtAnyWidth)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 5760, 1440).integer(0).noPicture();
    w.save(env.file("line.pat"));
    const struct {
        const char *format, *render; // render: a PGM on standard output, the line across its row y
        int width, height, y, darkness;
    } cases[] = {
        {"svg", "rsvg-convert -d 96 -p 96 FILE | pngtopnm | ppmtopgm", 816, 1056, 96, 255},
        {"pdf", "pdftoppm -r 1200 -x 2200 -y 1000 -W 400 -H 400 -gray FILE", 400, 400, 203, 3187},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.format);
        std::vector<int> darkness;
        for (const char *width : {"816", "2000"}) {
            const std::string out = env.file(std::string("line-") + width + "." + c.format);
            ASSERT_EQ(env.run({"--width", width, "-o", out, env.file("line.pat")}).exitCode, 0);
            std::string render = c.render;
            render.replace(render.find("FILE"), 4, quoted(out));

            const Gray page(sh(render));

            ASSERT_EQ(std::pair(page.width, page.height), std::pair(c.width, c.height));
            darkness.push_back(darknessAcross(page, 100, c.y));
        }
        EXPECT_NEAR(darkness[0], c.darkness, c.darkness / 10) << "816: " << darkness[0];
        EXPECT_NEAR(darkness[1], c.darkness, c.darkness / 10) << "2000: " << darkness[1];
    }
}

// Readers built on libwmf place the box of what is drawn: the invisible page frame keeps the margins, and a circle
// of one inch at one inch from the corner stays where it is and round, at any width.
TEST(ConvertPictures, PlaceableKeepsItsPageInLibwmfReaders)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(0).integer(1).shape(ShapeCircle, 1440, 1440, 1440, 1440).noPicture();
    w.save(env.file("circle.pat"));
    const struct {
        const char *reader, *render; // render: the placeable file as a PGM on standard output
    } readers[] = {
        {"wmf2gd", "wmf2gd -t png -o /dev/stdout FILE 2>/dev/null | pngtopnm -mix -background white | ppmtopgm"},
        {"ImageMagick", "/usr/bin/convert FILE -background white -flatten -depth 8 pgm:- 2>/dev/null"},
    };
    for (const auto &r : readers) {
        for (const char *width : {"816", "2000"}) {
            SCOPED_TRACE(std::string(r.reader) + " at " + width);
            const std::string wmf = env.file(std::string("circle-") + width + ".wmf");
            ASSERT_EQ(env.run({"--format", "placeable", "--width", width, "-o", wmf, env.file("circle.pat")}).exitCode, 0);
            std::string render = r.render;
            render.replace(render.find("FILE"), 4, quoted(wmf));

            const Gray page(sh(render));

            ASSERT_GT(page.width, 0);
            EXPECT_NEAR(double(page.height) / page.width, 11 / 8.5, 0.01);
            const std::array<double, 4> box = inkBox(page);
            EXPECT_NEAR(box[0], 1 / 8.5, 0.01);
            EXPECT_NEAR(box[1], 1 / 11.0, 0.01);
            EXPECT_NEAR(box[2], 2 / 8.5, 0.01);
            EXPECT_NEAR(box[3], 2 / 11.0, 0.01);
            // As wide as high on the page: the circle is round.
            EXPECT_NEAR((box[2] - box[0]) * page.width, (box[3] - box[1]) * page.height, 2.0);
        }
    }
}

// The readers open every page without a word: qpdf finds the file sound, pdfinfo gives the page's size, and at
// 96 dpi poppler paints the PNG's pixels. Where poppler paints a pixel fully black or white, the PNG has that value
// within a pixel (a diagonal's steps may fall a row apart); where the PNG's pixel and its neighbours are all one
// value, poppler is within 32 of it; ink amid eight more along an axis is black, but for the steps of shallow
// lines and flat arcs.
TEST(ConvertPictures, PdfAsPopplerDrawsItIsThePngWithinAPixel)
{
    ConvertEnvironment env;
    for (const std::string &pattern : everyOutlineAndTheExamples(env)) {
        SCOPED_TRACE(pattern);
        const std::string pdf = env.file("page.pdf"), png = env.file("page.png");
        ASSERT_EQ(env.run({"-o", pdf, pattern}).exitCode, 0);
        ASSERT_EQ(env.run({"-o", png, pattern}).exitCode, 0);

        const std::string qpdf = sh("qpdf --check " + quoted(pdf) + " 2>&1");
        const std::string info = sh("pdfinfo " + quoted(pdf) + " 2>&1");
        const Gray ours(sh("pngtopnm " + quoted(png)));
        const Gray poppler(sh("pdftoppm -r 96 -gray " + quoted(pdf) + " 2>" + quoted(env.file("poppler.err"))));

        EXPECT_NE(qpdf.find("No syntax or stream encoding errors found"), std::string::npos) << qpdf;
        EXPECT_EQ(qpdf.find("WARNING"), std::string::npos) << qpdf;
        EXPECT_NE(info.find("Page size:"), std::string::npos) << info;
        EXPECT_EQ(info.find("rror"), std::string::npos) << info;
        EXPECT_EQ(info.find("arning"), std::string::npos) << info;
        EXPECT_EQ(readFileText(env.file("poppler.err")), "");
        ASSERT_EQ(std::pair(poppler.width, poppler.height), std::pair(ours.width, ours.height));
        auto at = [&ours](int x, int y) {
            return ours.value(std::clamp(x, 0, ours.width - 1), std::clamp(y, 0, ours.height - 1));
        };
        int runs = 0, paleRuns = 0, mismatches = 0;
        for (int y = 0; y < ours.height; ++y) {
            for (int x = 0; x < ours.width; ++x) {
                const int a = ours.value(x, y), b = poppler.value(x, y);
                bool near = false, uniform = true, across = true, down = true;
                for (int d = -1; d <= 1; ++d) {
                    for (int e = -1; e <= 1; ++e) {
                        near = near || at(x + d, y + e) == b;
                        uniform = uniform && at(x + d, y + e) == a;
                    }
                }
                for (int d = -4; d <= 4; ++d) {
                    across = across && at(x + d, y) == 0;
                    down = down && at(x, y + d) == 0;
                }
                const bool wrong = ((b == 0 || b == 255) && !near) || (uniform && std::abs(a - b) > 32);
                if (wrong && mismatches++ < 5)
                    ADD_FAILURE() << "at " << x << "," << y << " ours " << a << ", poppler " << b;
                const bool run = a == 0 && (across || down);
                runs += run;
                paleRuns += run && b >= 64;
            }
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_LE(paleRuns * 10, runs) << paleRuns << " pale of " << runs;
    }
}

// The placeable file's pen is one 96-dpi pixel on paper: wmf2gd inks as much of the page at 816 pixels wide as
// at 2000.
TEST(ConvertPictures, PlaceableLinesKeepTheirWeightInWmf2gd)
{
    ConvertEnvironment env;
    for (const char *example : {"grid-v1.4.pat", "shapes-v1.5.pat", "star-a4-v2.1.pat"}) {
        SCOPED_TRACE(example);
        std::vector<double> inkPerArea;
        for (const char *width : {"816", "2000"}) {
            const std::string wmf = env.file(std::string("page-") + width + ".wmf");
            ASSERT_EQ(env.run({"--format", "placeable", "--width", width, "-o", wmf,
                               std::string(ORVANE_EXAMPLES) + "/" + example}).exitCode, 0);

            const Gray page(sh("wmf2gd -t png -o /dev/stdout " + quoted(wmf)
                               + " 2>/dev/null | pngtopnm -mix -background white | ppmtopgm"));

            ASSERT_GT(page.width, 0);
            double ink = 0;
            for (int y = 0; y < page.height; ++y)
                for (int x = 0; x < page.width; ++x)
                    ink += (255 - page.value(x, y)) / 255.0;
            inkPerArea.push_back(ink / page.width / page.height);
        }
        const double ratio = inkPerArea[1] / inkPerArea[0];
        EXPECT_GE(ratio, 0.8) << inkPerArea[0] << " at 816, " << inkPerArea[1] << " at 2000";
        EXPECT_LE(ratio, 1.25) << inkPerArea[0] << " at 816, " << inkPerArea[1] << " at 2000";
    }
}
