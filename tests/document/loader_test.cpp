// The loader: each version's layout, stored defaults, refused and short files.

#include "harness.h"

#include <sys/stat.h>

using namespace orvane;
using namespace orvane::testing;
using Rows = std::vector<std::vector<float>>;

namespace {

PatternWriter withVersion(std::int16_t major, std::int16_t minor, std::int16_t sub, PatternWriter::Page p = {})
{
    PatternWriter w;
    w.header(major, minor, sub);
    if (major == 1 && minor >= 1 && minor <= 4)
        w.settings11(p);
    else if (major == 1 && (minor == 5 || minor == 6))
        w.settings15(p, minor * 100 + sub >= 602);
    else
        w.settings21(p);
    return w.integer(1).line(0, 0, 10, 10).integer(0).noPicture();
}

} // namespace

TEST(Layout, EachVersionReadsItsBlockAndSkipsTheReservedBytes)
{
    enum Block { V11, V15, V15Tail, V21 };
    const struct {
        std::int16_t major;
        std::int16_t minor;
        std::int16_t sub;
        Block block;
    } cases[] = {{1, 1, 7, V11},     {1, 4, 32767, V11}, {1, 5, 0, V15},        {1, 5, 102, V15Tail},
                 {1, 6, -32768, V15}, {1, 6, 2, V15Tail}, {1, 6, 32167, V15Tail}, {2, 1, 32667, V21}}; // largest codes
    PatternWriter::Page p{0.25f, 0.75f, 1.25f, 1.5f, 8.5f, 11.0f, 8640, 5760, 0.0625f, 0x123456, false, "\xBD/16\"",
                          2.5f, 640, 480, false, true};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor) + " sub " + std::to_string(c.sub));
        LoaderHarness h;
        PatternWriter w; // a long first text needs both bytes of its length
        w.fillUnused(0x5A).header(c.major, c.minor, c.sub, std::string(300, 'x'), "any \xBD");
        c.block == V11 ? w.settings11(p) : c.block == V21 ? w.settings21(p) : w.settings15(p, c.block == V15Tail);
        ASSERT_TRUE(h.load(w.integer(1).line(100, 200, 300, 400).integer(1).shape(ShapeOval, 10, 20, 30, 40)));
        EXPECT_TRUE(h.box.boxes.empty());
        const PatternSettings &s = h.settings();
        const bool v21 = c.block == V21;
        const bool pen = c.block != V11;
        const bool tail = c.block == V15Tail || v21;
        EXPECT_EQ((std::vector<float>{s.MarginTop, s.MarginBottom, s.MarginLeft, s.MarginRight, s.DefWidth,
                                      s.DefHeight, s.PenSizeValue, float(s.PenColor), float(s.BandW)}),
                  (std::vector<float>{0.25f, 0.75f, 1.25f, 1.5f, 8.5f, 11, pen ? 0.0625f : 0.015625f,
                                      pen ? float(0x123456) : 0, pen ? 0.0f : -1}));
        EXPECT_EQ(s.PenSizeText, pen ? "\xBD/16\"" : "1/64");
        // 1.x takes the page from the file, 2.1 computes it from 8.5 x 11 in; without the bitmap
        // tail, 1.5 makes the height follow the page (11 / 8.5 x 300).
        EXPECT_EQ((std::vector<float>{h.file.pattern().PageWidthTwips(), h.file.pattern().PageHeightTwips(),
                                      h.mirror.PatternHeight(), s.BitmapPenSize, s.BitmapSizeWidth,
                                      s.BitmapSizeHeight, float(s.MetricPen)}),
                  (std::vector<float>{v21 ? 12240.0f : 8640, v21 ? 15840.0f : 5760, v21 ? 15840.0f : 5760,
                                      tail ? 2.5f : 1, tail ? 480.0f : 300,
                                      tail ? 640.0f : c.block == V15 ? float(11.0 / 8.5 * 300.0) : 300,
                                      v21 ? -1.0f : 0}));
        EXPECT_EQ(h.visible(), (Rows{{100, 200, 300, 400}, {ShapeOval, 10, 20, 30, 40}}));
    }
}

TEST(StoredDefaults, StoredTextsFillThePenFieldsAndTheFileTheRest)
{
    LoaderHarness h;
    h.store.values = {{"PenSizeValue", "0.25"}, {"PenSizeText", "abc"}, {"PenColor", "255"}, {"BandW", "False"},
                      {"BitmapPenSize", "3"},   {"BitmapSizeWidth", "640"}, {"BitmapSizeHeight", "999"},
                      {"MarginTop", "2"},       {"DefWidth", "20"},         {"MetricPage", "true"}};
    ASSERT_TRUE(h.load(withVersion(1, 1, 0)));
    const PatternSettings &s = h.settings(); // the height has no key of its own: it reads the width's
    EXPECT_EQ((std::vector<float>{s.PenSizeValue, float(s.PenColor), float(s.BandW), s.BitmapPenSize,
                                  s.BitmapSizeWidth, s.BitmapSizeHeight, s.MarginTop, s.DefWidth, float(s.MetricPage)}),
              (std::vector<float>{0.25f, 255, 0, 3, 640, 640, 0.5f, 8.5f, 0}));
    EXPECT_EQ(s.PenSizeText, "abc");
    h.store.reads.clear(); // 2.1 keeps the settings it holds and reads no store
    ASSERT_TRUE(h.load(withVersion(2, 1, 0), "v21.pat"));
    EXPECT_EQ(h.store.reads.size(), 0u);
    EXPECT_EQ(h.settings().PenSizeText, "1/32");
}

TEST(StoredDefaults, AStoredTextThatDoesNotConvertFailsTheLoadNamingItsKey)
{
    for (const char *key : {"DefWidth", "DefHeight", "PenSizeValue", "PenColor", "BandW", "BitmapPenSize",
                            "BitmapSizeWidth", "MarginTop", "MarginRight", "MarginBottom", "MarginLeft", "MetricPen",
                            "MetricPage"}) {
        for (const std::int16_t minor : {1, 5}) {
            SCOPED_TRACE(std::string(key) + " in 1." + std::to_string(minor));
            LoaderHarness h;
            h.store.values[key] = key == std::string("DefWidth") ? "1e38" : "abc"; // 1e38 in: too large in twips

            EXPECT_FALSE(h.load(withVersion(1, minor, 0)));

            ASSERT_EQ(h.box.boxes.size(), 1u);
            EXPECT_EQ(h.box.boxes[0].text,
                      LoadMessages::FormatUnknownText() + "\r\n\r\n" + LoadMessages::SettingAtFaultText(key, ""));
        }
    }
}

TEST(MalformedFile, RefusedFilesShowOneMessageAndLeaveNoFileOpen)
{
    const PatternWriter v21 = PatternWriter().header(2, 1, 0).settings21({});
    std::vector<std::pair<std::string, PatternWriter>> cases;
    for (const auto &v : {std::pair<int, int>{1, 0}, {1, 7}, {2, 0}, {2, 2}, {0, 0}, {-1, 1}, {1, -32768}})
        cases.emplace_back("version", withVersion(std::int16_t(v.first), std::int16_t(v.second), 0));
    // The version code (minor * 100 + sub for 1.x) must fit 16 bits.
    cases.emplace_back("code of 2.1 sub 32668", withVersion(2, 1, 32668));
    cases.emplace_back("code of 1.5 sub 32268", withVersion(1, 5, 32268));
    cases.emplace_back("line count -32768", PatternWriter(v21).integer(-32768).integer(0).noPicture());
    cases.emplace_back("shape count -32768", PatternWriter(v21).integer(1).line(0, 0, 9, 9).integer(-32768));
    cases.emplace_back("header text -1", PatternWriter().integer(-1).raw("x").integer(2).integer(1).integer(0));
    cases.emplace_back("pen text -4 in 2.1", PatternWriter().header(2, 1, 0).zeros(34).integer(-4).raw("1/32"));
    cases.emplace_back("pen text -2 in 1.5", PatternWriter().header(1, 5, 0).zeros(82).integer(-2));
    // More twips than a Single holds; a 1.5 bitmap height beyond a Single.
    cases.emplace_back("page in 2.1", withVersion(2, 1, 0, {.defWidth = 1e38f}));
    cases.emplace_back("page in 1.5", withVersion(1, 5, 0, {.defWidth = 1e-30f, .defHeight = 1e30f}));
    cases.emplace_back("empty file", PatternWriter());
    cases.emplace_back("end inside the header text", PatternWriter().integer(40).raw("only ten b"));
    LoaderHarness h;
    std::vector<std::pair<std::string, std::string>> paths; // and the message
    for (const auto &[name, w] : cases)
        paths.emplace_back(h.write(w, std::to_string(paths.size()) + " " + name + ".pat"), LoadMessages::FormatUnknownText());
    const std::string folder = h.dir.file("folder.pat");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const std::string pipe = h.dir.file("pipe.pat");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0); // a plain open would wait for a writer for ever
    const std::string gone = h.dir.file("gone.pat");
    const std::string tooLong = h.dir.file(std::string(300, 'n') + ".pat");
    paths.emplace_back(folder, LoadMessages::FormatUnknownText());
    paths.emplace_back(pipe, LoadMessages::FormatUnknownText());
    paths.emplace_back(gone, LoadMessages::FileNotFoundText(gone));
    paths.emplace_back(tooLong, LoadMessages::FileNameTooLongText(tooLong));
    const auto before = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    for (const auto &[path, message] : paths) {
        SCOPED_TRACE(path);
        h.box.boxes.clear();

        EXPECT_FALSE(h.loadPath(path));

        ASSERT_EQ(h.box.boxes.size(), 1u);
        EXPECT_EQ(h.box.boxes[0].text, message);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}), before); // all closed
}

TEST(ShortFile, MissingFieldsReadZerosAndNegativeCountsNothing)
{
    LoaderHarness h;
    PatternWriter w = PatternWriter().header(2, 1, 0).settings21({});
    const PatternWriter v21 = w;
    w.integer(3).line(100, 200, 300, 400).line(500, 600, 700, 800);
    auto cut = [](const PatternWriter &w, std::size_t n) {
        return PatternWriter().raw(std::string(w.bytes().begin(), w.bytes().begin() + std::ptrdiff_t(n)));
    };
    // The second line keeps X2's two low bytes (zeros); the rest is past the end.
    ASSERT_TRUE(h.load(cut(w, w.size() - 6)));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.visible(), (Rows{{100, 200, 300, 400}, {500, 600, 0, 0}, {0, 0, 0, 0}})); // and no shapes
    ASSERT_TRUE(h.load(cut(v21, 10 + 21 + 16))); // margins there, the page missing: an empty page
    EXPECT_EQ(h.settings().MarginRight, 0.5f);
    EXPECT_EQ(h.file.pattern().PageWidthTwips(), 0.0f);
    h.workForm.ClearDrawing(); // kinds stay as read
    ASSERT_TRUE(h.load(PatternWriter(v21).integer(-1).integer(2).shape(-1, 0, 0, 1, 1).shape(99, 5, 6, 7, 8)));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.visible(), (Rows{{-1, 0, 0, 1, 1}, {99, 5, 6, 7, 8}})); // and no lines
}
