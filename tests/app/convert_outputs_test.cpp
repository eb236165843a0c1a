// Where orvane-convert writes and what it prints per file, --width, several
// inputs each with only their own elements, replacing an existing output, and
// every example, checked by wmf2svg too.

#include "convertrunner.h"
#include "patternwriter.h"
#include "wmf2svg.h"

#include "document/patternelements.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

using Elements = std::vector<WmfElement>;

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
        Elements elements = {};
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
        const ConvertResult r = env.run(c.args, c.cwd);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
        const Elements letterPage = {{'L', 96, 96, 192, 96}, {'R', 48, 48, 144, 96}};
        EXPECT_EQ(decodeMetafileFile(c.written).elements(), c.elements.empty() ? letterPage : c.elements);
    }
    EXPECT_FALSE(fs::exists(env.file("b.v2.wmf")));
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
