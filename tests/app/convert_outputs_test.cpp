// Where orvane-convert writes, what it prints per file, --width, several
// inputs, replacing an existing output, and the metafile byte for byte what
// the window's "Save As Metafile" writes.

#include "convertrunner.h"
#include "fakes.h"
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

// A letter page with one line at the given height and one rectangle.
PatternWriter letter(float lineY, std::int16_t kind = ShapeRectangle)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{});
    w.integer(1).line(1440, lineY, 2880, lineY);
    w.integer(1).shape(kind, 720, 720, 1440, 720);
    return w.noPicture();
}

std::string save(const ConvertEnvironment &env, const PatternWriter &w, const std::string &name)
{
    const std::string path = env.file(name);
    w.save(path);
    return path;
}

// What the window writes for the file: open, optionally set the size, save.
std::vector<unsigned char> windowBytes(const std::string &pattern, const std::string &width = {})
{
    MainFormHarness h;
    h.open(pattern);
    EXPECT_EQ(h.steps()[0], StepDone);
    if (!width.empty())
        h.setSize(width);
    const std::string out = h.dir.file("window.wmf");
    h.save(out);
    EXPECT_EQ(h.steps()[4], StepDone);
    return readFileBytes(out);
}

} // namespace

TEST(ConvertOutputs, BesideTheInputWithTheExtensionReplaced)
{
    ConvertEnvironment env;
    const std::string in = save(env, letter(1440), "house.pat");
    const ConvertResult r = env.run({in});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string out = env.file("house.wmf");
    EXPECT_EQ(r.out, in + " -> " + out + " (816 x 1056 pixels)\n");
    EXPECT_EQ(r.err, "");
    SCOPED_TRACE(out);
    const ReadableMetafile m = expectMetafileReadable(out, 816, 1056);
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

TEST(ConvertOutputs, InputWithoutExtensionGetsOne)
{
    ConvertEnvironment env;
    const std::string in = save(env, letter(1440), "plain");
    const ConvertResult r = env.run({in});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    SCOPED_TRACE("plain.wmf");
    expectMetafileReadable(env.file("plain.wmf"), 816, 1056);
}

TEST(ConvertOutputs, OutputOption)
{
    ConvertEnvironment env;
    const std::string in = save(env, letter(1440), "a.pat");
    const std::string out = env.file("chosen name");
    const ConvertResult r = env.run({"-o", out, in});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, in + " -> " + out + " (816 x 1056 pixels)\n");
    EXPECT_FALSE(std::filesystem::exists(env.file("a.wmf")));
    SCOPED_TRACE(out);
    expectMetafileReadable(out, 816, 1056);
}

TEST(ConvertOutputs, OutDirIsCreatedAndHoldsTheStemDotWmf)
{
    ConvertEnvironment env;
    const std::string a = save(env, letter(1440), "first.pat");
    const std::string b = save(env, letter(2880), "second.v2.pat");
    const std::string dir = env.file("out/deeper");
    const ConvertResult r = env.run({"--out-dir", dir, a, b});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, a + " -> " + dir + "/first.wmf (816 x 1056 pixels)\n" + b + " -> " + dir
                         + "/second.v2.wmf (816 x 1056 pixels)\n");
    EXPECT_FALSE(std::filesystem::exists(env.file("first.wmf")));
    for (const char *name : {"/first.wmf", "/second.v2.wmf"}) {
        SCOPED_TRACE(name);
        expectMetafileReadable(dir + name, 816, 1056);
    }
}

TEST(ConvertOutputs, SeveralInputsEachGetOnlyTheirOwnElements)
{
    ConvertEnvironment env;
    PatternWriter many;
    many.header(1, 1, 0).settings11(PatternWriter::Page{}).integer(3);
    many.line(0, 0, 1500, 0).line(0, 1500, 1500, 1500).line(0, 3000, 1500, 3000);
    many.integer(2).shape(ShapeOval, 3000, 3000, 1500, 1500).shape(ShapeSquare, 4500, 4500, 1500, 1500);
    many.noPicture();
    const std::string a = save(env, many, "many.pat");
    const std::string b = save(env, letter(1440, ShapeCircle), "one.pat");
    PatternWriter none;
    none.header(1, 4, 0).settings11(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    const std::string c = save(env, none, "none.pat");

    const ConvertResult r = env.run({a, b, c, a});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    {
        SCOPED_TRACE("many.wmf");
        const ReadableMetafile m = expectMetafileReadable(env.file("many.wmf"), 816, 1056);
        EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{0, 0, 100, 0}, {0, 100, 100, 100}, {0, 200, 100, 200}}));
        EXPECT_EQ(m.decoded.boxes(),
                  (std::vector<WmfBox>{{true, 200, 200, 300, 300}, {false, 300, 300, 400, 400}}));
    }
    {
        SCOPED_TRACE("one.wmf");
        const ReadableMetafile m = expectMetafileReadable(env.file("one.wmf"), 816, 1056);
        EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{96, 96, 192, 96}}));
        EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{true, 48, 48, 144, 96}}));
    }
    {
        SCOPED_TRACE("none.wmf");
        const ReadableMetafile m = expectMetafileReadable(env.file("none.wmf"), 816, 1056);
        EXPECT_TRUE(m.decoded.lines().empty());
        EXPECT_TRUE(m.decoded.boxes().empty());
    }
}

TEST(ConvertOutputs, WidthAppliesTheSizeRule)
{
    ConvertEnvironment env;
    const std::string in = save(env, letter(1440), "a.pat");
    const ConvertResult r = env.run({"--width", "1000", in});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, in + " -> " + env.file("a.wmf") + " (1000 x 1294 pixels)\n");
    SCOPED_TRACE("a.wmf");
    const ReadableMetafile m = expectMetafileReadable(env.file("a.wmf"), 1000, 1294);
    // 1440 x 1000 / 12240 = 117.6 -> 118; 1440 x 1294 / 15840 = 117.6 -> 118.
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{118, 118, 235, 118}}));
}

TEST(ConvertOutputs, WidthFormsAndRounding)
{
    ConvertEnvironment env;
    const std::string in = save(env, letter(1440), "a.pat");
    const std::pair<const char *, const char *> cases[] = {
        {"400", "(400 x 518 pixels)"}, {"12.5", "(12 x 16 pixels)"}, {"13.5", "(14 x 18 pixels)"}};
    for (const auto &[width, pixels] : cases) {
        const ConvertResult r = env.run({"--width=" + std::string(width), in});
        ASSERT_EQ(r.exitCode, 0) << width << r.err;
        EXPECT_NE(r.out.find(pixels), std::string::npos) << r.out;
        int w = 0, h = 0;
        ASSERT_EQ(std::sscanf(pixels, "(%d x %d", &w, &h), 2);
        SCOPED_TRACE(width);
        expectMetafileReadable(env.file("a.wmf"), w, h);
    }
}

TEST(ConvertOutputs, ExistingOutputIsReplaced)
{
    ConvertEnvironment env;
    const std::string in = save(env, letter(1440), "a.pat");
    writeFileBytes(env.file("a.wmf"), std::string(10000, 'o'));
    const ConvertResult r = env.run({in});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    SCOPED_TRACE("a.wmf");
    const ReadableMetafile m = expectMetafileReadable(env.file("a.wmf"), 816, 1056);
    EXPECT_EQ(m.decoded.lines().size(), 1u);
    // Nothing is left beside it.
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(env.workFolder()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.pat", "a.wmf"}));
}

TEST(ConvertOutputs, OutputThatIsTheInputIsRefused)
{
    ConvertEnvironment env;
    const std::string in = save(env, letter(1440), "self.wmf");
    const auto before = readFileBytes(in);
    const ConvertResult r = env.run({in});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(readFileBytes(in), before);
    EXPECT_EQ(r.err.rfind("Error creating metafile " + in + ".", 0), 0u) << r.err;
}

TEST(ConvertOutputs, ByteForByteWhatTheWindowWrites)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(1, 5, 0).settings15(PatternWriter::Page{}, false).integer(4);
    w.line(7.5f, 37.5f, 12240, 15840).line(100, 200, 300, 400).line(-50, 0, 0, 0).line(1, 2, 3, 4);
    w.integer(3).shape(2, 1, 2, 3, 4).shape(4, 500, 600, 700, 800).shape(-1, 10, 10, 10, 10).noPicture();
    const std::string in = save(env, w, "mixed.pat");
    for (const std::string width : {"", "1234"}) {
        std::vector<std::string> args = {in};
        if (!width.empty())
            args = {"--width", width, in};
        const ConvertResult r = env.run(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(readFileBytes(env.file("mixed.wmf")), windowBytes(in, width)) << width;
        SCOPED_TRACE(width);
        expectMetafileReadable(env.file("mixed.wmf"), width.empty() ? 816 : 1234, width.empty() ? 1056 : 1597);
    }
}

TEST(ConvertOutputs, EveryExampleConverts)
{
    ConvertEnvironment env;
    std::vector<std::string> inputs;
    for (const auto &e : std::filesystem::directory_iterator(ORVANE_EXAMPLES))
        if (e.path().extension() == ".pat")
            inputs.push_back(e.path().string());
    std::sort(inputs.begin(), inputs.end());
    ASSERT_GE(inputs.size(), 5u);
    std::vector<std::string> args = {"--out-dir", env.file("examples")};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const ConvertResult r = env.run(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::size_t lines = 0;
    for (const std::string &input : inputs) {
        const std::string stem = std::filesystem::path(input).stem().string();
        const std::string out = env.file("examples/" + stem + ".wmf");
        // "(W x H pixels)" from the printed line.
        const auto at = r.out.find(input + " -> " + out + " (");
        ASSERT_NE(at, std::string::npos) << r.out;
        int w = 0, h = 0;
        ASSERT_EQ(std::sscanf(r.out.c_str() + at + input.size() + out.size() + 6, "%d x %d", &w, &h), 2);
        SCOPED_TRACE(out);
        const ReadableMetafile m = expectMetafileReadable(out, w, h);
        EXPECT_TRUE(m.svgChecked) << "every example draws something";
        ++lines;
    }
    EXPECT_EQ(lines, inputs.size());
}

TEST(ConvertOutputs, RelativePathsWorkFromTheCurrentFolder)
{
    ConvertEnvironment env;
    save(env, letter(1440), "rel.pat");
    const ConvertResult r = env.run({"rel.pat"}, env.workFolder());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "rel.pat -> rel.wmf (816 x 1056 pixels)\n");
    SCOPED_TRACE("rel.wmf");
    expectMetafileReadable(env.file("rel.wmf"), 816, 1056);
}
