// Where orvane-convert writes and what it prints per file, --width, several
// inputs, replacing an existing output, and the same bytes as the window.

#include "convertrunner.h"
#include "harness.h"
#include "patternwriter.h"
#include "wmf2svg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

using namespace orvane;
using namespace orvane::testing;

namespace {

// A letter page with one line and one shape.
std::string letter(const ConvertEnvironment &env, const std::string &name, std::int16_t kind = ShapeRectangle)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440);
    w.integer(1).shape(kind, 720, 720, 1440, 720).noPicture();
    const std::string path = env.file(name);
    w.save(path);
    return path;
}

std::string printed(const std::string &in, const std::string &out, const char *pixels = "816 x 1056")
{
    return in + " -> " + out + " (" + pixels + " pixels)\n";
}

} // namespace

TEST(ConvertOutputs, WhereTheMetafileGoes)
{
    ConvertEnvironment env;
    const std::string house = letter(env, "house.pat"), plain = letter(env, "plain");
    const std::string first = letter(env, "first.pat"), second = letter(env, "second.v2.pat");
    const std::string chosen = env.file("chosen name"), dir = env.file("out/deeper");
    struct Case {
        std::vector<std::string> args;
        std::string cwd, out;
        std::vector<std::string> written;
    };
    const Case cases[] = {
        {{house}, "", printed(house, env.file("house.wmf")), {env.file("house.wmf")}},
        {{plain}, "", printed(plain, env.file("plain.wmf")), {env.file("plain.wmf")}},
        {{"-o", chosen, house}, "", printed(house, chosen), {chosen}},
        {{"--out-dir", dir, first, second},
         "",
         printed(first, dir + "/first.wmf") + printed(second, dir + "/second.v2.wmf"),
         {dir + "/first.wmf", dir + "/second.v2.wmf"}},
        {{"house.pat"}, env.workFolder(), printed("house.pat", "house.wmf"), {env.file("house.wmf")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.front());
        std::filesystem::remove(env.file("house.wmf"));
        const ConvertResult r = env.run(c.args, c.cwd);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
        for (const std::string &path : c.written)
            expectMetafileReadable(path, 816, 1056);
        EXPECT_TRUE(c.args.front() != "-o" || !std::filesystem::exists(env.file("house.wmf")));
    }
    EXPECT_FALSE(std::filesystem::exists(env.file("first.wmf")));

    const ReadableMetafile m = expectMetafileReadable(env.file("house.wmf"), 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{96, 96, 192, 96}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{false, 48, 48, 144, 96}}));
    ASSERT_TRUE(m.svgChecked);
    ASSERT_EQ(m.svg.lines.size(), 1u);
    EXPECT_NEAR(m.svg.lines[0].x1, 48.5, 0.001);
    EXPECT_NEAR(m.svg.lines[0].x2, 144.5, 0.001);
    ASSERT_EQ(m.svg.rects.size(), 1u);
    EXPECT_NEAR(m.svg.rects[0].width, 96, 0.001);
    EXPECT_NEAR(m.svg.rects[0].height, 48, 0.001);
}

TEST(ConvertOutputs, SeveralInputsEachGetOnlyTheirOwnElements)
{
    ConvertEnvironment env;
    PatternWriter many;
    many.header(1, 1, 0).settings11({}).integer(3);
    many.line(0, 0, 1500, 0).line(0, 1500, 1500, 1500).line(0, 3000, 1500, 3000);
    many.integer(2).shape(ShapeOval, 3000, 3000, 1500, 1500).shape(ShapeSquare, 4500, 4500, 1500, 1500);
    many.noPicture().save(env.file("many.pat"));
    PatternWriter none;
    none.header(1, 4, 0).settings11({}).integer(0).integer(0).noPicture().save(env.file("none.pat"));
    const std::string a = env.file("many.pat");
    ASSERT_EQ(env.run({a, letter(env, "one.pat", ShapeCircle), env.file("none.pat"), a}).exitCode, 0);

    ReadableMetafile m = expectMetafileReadable(env.file("many.wmf"), 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{0, 0, 100, 0}, {0, 100, 100, 100}, {0, 200, 100, 200}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{true, 200, 200, 300, 300}, {false, 300, 300, 400, 400}}));
    m = expectMetafileReadable(env.file("one.wmf"), 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{96, 96, 192, 96}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{true, 48, 48, 144, 96}}));
    m = expectMetafileReadable(env.file("none.wmf"), 816, 1056);
    EXPECT_TRUE(m.decoded.lines().empty());
    EXPECT_TRUE(m.decoded.boxes().empty());
}

TEST(ConvertOutputs, WidthAppliesTheSizeRule)
{
    ConvertEnvironment env;
    const std::string in = letter(env, "a.pat");
    const struct {
        std::vector<std::string> args;
        const char *pixels;
        int w, h;
    } cases[] = {{{"--width", "1000"}, "1000 x 1294", 1000, 1294},
                 {{"--width=400"}, "400 x 518", 400, 518},
                 {{"--width=12.5"}, "12 x 16", 12, 16},
                 {{"--width=13.5"}, "14 x 18", 14, 18}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pixels);
        std::vector<std::string> args = c.args;
        args.push_back(in);
        const ConvertResult r = env.run(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, printed(in, env.file("a.wmf"), c.pixels));
        const ReadableMetafile m = expectMetafileReadable(env.file("a.wmf"), c.w, c.h);
        if (c.w == 1000) { // 1440 x 1000 / 12240 = 117.6 -> 118; 1440 x 1294 / 15840 = 117.6 -> 118
            EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{118, 118, 235, 118}}));
        }
    }
}

TEST(ConvertOutputs, ExistingOutputIsReplacedWithNothingLeftBeside)
{
    ConvertEnvironment env;
    const std::string in = letter(env, "a.pat");
    writeFileBytes(env.file("a.wmf"), std::string(10000, 'o'));
    ASSERT_EQ(env.run({in}).exitCode, 0);
    EXPECT_EQ(expectMetafileReadable(env.file("a.wmf"), 816, 1056).decoded.lines().size(), 1u);
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(env.workFolder()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.pat", "a.wmf"}));
}

TEST(ConvertOutputs, ByteForByteWhatTheWindowWrites)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(1, 5, 0).settings15({}, false).integer(4);
    w.line(7.5f, 37.5f, 12240, 15840).line(100, 200, 300, 400).line(-50, 0, 0, 0).line(1, 2, 3, 4);
    w.integer(3).shape(2, 1, 2, 3, 4).shape(4, 500, 600, 700, 800).shape(-1, 10, 10, 10, 10).noPicture();
    const std::string in = env.file("mixed.pat");
    w.save(in);
    for (const std::string width : {"", "1234"}) {
        SCOPED_TRACE(width);
        const ConvertResult r = env.run(width.empty() ? std::vector<std::string>{in}
                                                      : std::vector<std::string>{"--width", width, in});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        MainFormHarness h;
        h.open(in);
        if (!width.empty())
            h.setSize(width);
        h.save(h.dir.file("window.wmf"));
        ASSERT_EQ(h.steps()[4], StepDone);
        EXPECT_EQ(readFileBytes(env.file("mixed.wmf")), readFileBytes(h.dir.file("window.wmf")));
    }
}

TEST(ConvertOutputs, EveryExampleConverts)
{
    ConvertEnvironment env;
    std::vector<std::string> args = {"--out-dir", env.file("examples")};
    for (const auto &e : std::filesystem::directory_iterator(ORVANE_EXAMPLES))
        if (e.path().extension() == ".pat")
            args.push_back(e.path().string());
    ASSERT_GE(args.size(), 7u);
    const ConvertResult r = env.run(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string out = env.file("examples/" + std::filesystem::path(args[i]).stem().string() + ".wmf");
        SCOPED_TRACE(out);
        const auto at = r.out.find(args[i] + " -> " + out + " (");
        ASSERT_NE(at, std::string::npos) << r.out;
        int w = 0, h = 0;
        ASSERT_EQ(std::sscanf(r.out.c_str() + at + args[i].size() + out.size() + 6, "%d x %d", &w, &h), 2);
        EXPECT_TRUE(expectMetafileReadable(out, w, h).svgChecked) << "every example draws something";
    }
}
