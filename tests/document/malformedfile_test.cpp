// A file the loader cannot read ends in one message and leaves nothing behind
// that changes the next load; a file that merely ends early reads zeros.

#include "harness.h"

#include "document/patternformat.h"

#include <dirent.h>
#include <limits>
#include <sys/stat.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter v21() { return PatternWriter().header(2, 1, 0).settings21({}); }

PatternWriter withVersion(std::int16_t major, std::int16_t minor, std::int16_t sub)
{
    PatternWriter w;
    w.header(major, minor, sub);
    if (major == 1 && minor >= 1 && minor <= 4)
        w.settings11({});
    else if (major == 1 && (minor == 5 || minor == 6))
        w.settings15({}, minor * 100 + sub >= 602);
    else
        w.settings21({});
    return w.integer(1).line(0, 0, 10, 10).integer(0).noPicture();
}

PatternWriter cut(const PatternWriter &w, std::size_t n)
{
    return PatternWriter().raw(std::string(w.bytes().begin(), w.bytes().begin() + std::ptrdiff_t(n)));
}

PatternWriter withPage(std::int16_t minor, PatternWriter::Page p)
{
    PatternWriter w;
    w.header(minor == 1 ? 2 : 1, minor, 0);
    minor == 5 ? w.settings15(p, false) : minor == 1 ? w.settings21(p) : w.settings11(p);
    return w.integer(1).line(0, 0, 1, 1).integer(0);
}

} // namespace

TEST(MalformedFile, RefusedFilesShowOneMessageAndLeaveNothingBehind)
{
    std::vector<std::pair<std::string, PatternWriter>> cases;
    for (const auto &v : {std::pair<int, int>{1, 0}, {1, 7}, {2, 0}, {2, 2}, {3, 1}, {0, 0}, {-1, 1}, {1, -32768}})
        cases.emplace_back("version", withVersion(std::int16_t(v.first), std::int16_t(v.second), 0));
    // The version code (minor * 100 + sub for 1.x) must fit 16 bits.
    cases.emplace_back("code of 2.1 sub 32668", withVersion(2, 1, 32668));
    cases.emplace_back("code of 1.5 sub 32268", withVersion(1, 5, 32268));
    cases.emplace_back("line count -32768", v21().integer(-32768).integer(0).noPicture());
    cases.emplace_back("shape count -32768", v21().integer(2).line(0, 0, 9, 9).line(1, 1, 9, 9).integer(-32768));
    cases.emplace_back("header text -1", PatternWriter().integer(-1).raw("x").integer(2).integer(1).integer(0));
    cases.emplace_back("pen text -4 in 2.1", PatternWriter().header(2, 1, 0).zeros(34).integer(-4).raw("1/32"));
    cases.emplace_back("pen text -2 in 1.5", PatternWriter().header(1, 5, 0).zeros(82).integer(-2));
    PatternWriter::Page huge, nan, negative, thin, wide;
    huge.defWidth = 1e38f; // more twips than a Single holds
    nan.patternWidth = std::numeric_limits<float>::quiet_NaN();
    negative.patternHeight = -15840.0f;
    thin.defWidth = 1e-30f, thin.defHeight = 1e30f; // 1.5 bitmap height beyond a Single
    wide.patternWidth = 1e30f; // no 32-bit pixel count
    cases.emplace_back("page overflow", withPage(1, huge));
    cases.emplace_back("page not a number", withPage(4, nan));
    cases.emplace_back("negative page", withPage(4, negative));
    cases.emplace_back("bitmap height overflow", withPage(5, thin));
    cases.emplace_back("page too wide for pixels", withPage(4, wide));
    cases.emplace_back("empty file: version 0.0", PatternWriter());
    cases.emplace_back("end inside the header text", PatternWriter().integer(40).raw("only ten b"));

    MainFormHarness h;
    for (const auto &[name, w] : cases) {
        SCOPED_TRACE(name);
        h.box.clear();
        h.run("reset open:" + h.write(w, "bad.pat"));
        ASSERT_EQ(h.box.boxes.size(), 1u);
        EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
        EXPECT_EQ(h.steps()[0], StepFailed);
        EXPECT_FALSE(h.form.workForm().Visible());
        EXPECT_EQ(h.form.workForm().drawing().OutLine.count(), 1);
        EXPECT_EQ(h.form.mirrorForm().LineCount(), 1);
        EXPECT_FALSE(h.form.workForm().drawing().OutLine[0].Visible);
    }
    // A good file afterwards loads as if the bad ones never were.
    h.box.clear();
    h.run("reset open save");
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(readMetafile(h.dir.file("out.wmf")),
              (std::vector<WmfElement>{{'L', 96, 96, 192, 96}, {'R', 48, 48, 144, 96}}));
}

TEST(MalformedFile, PathsThatAreNotPatternFilesAndTheFileIsClosed)
{
    MainFormHarness h;
    const std::string folder = h.dir.file("folder.pat"), fifo = h.dir.file("pipe.pat"), gone = h.dir.file("gone.pat");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0); // a plain open would wait for a writer for ever
    auto descriptors = [] {
        int n = 0;
        DIR *d = ::opendir("/proc/self/fd");
        while (::readdir(d))
            ++n;
        return ::closedir(d), n;
    };
    const int before = descriptors();
    for (const auto &[path, text] : {std::pair{folder, LibMessage::FormatUnknownText()},
                                     {fifo, LibMessage::FormatUnknownText()},
                                     {gone, LibMessage::FileNotFoundText(gone)},
                                     {h.write(withVersion(3, 0, 0)), LibMessage::FormatUnknownText()}}) {
        h.box.clear();
        h.run("reset open:" + path);
        ASSERT_EQ(h.box.boxes.size(), 1u) << path;
        EXPECT_EQ(h.box.boxes[0].text, text);
    }
    EXPECT_EQ(descriptors(), before);
}

TEST(VersionRules, AcceptedVersionsAndTheLargestCodesThatFit)
{
    for (const auto &v : {std::array<std::int16_t, 3>{1, 1, 0}, {1, 2, 0}, {1, 3, 0}, {1, 4, 32767}, {1, 5, 0},
                          {1, 6, 32167}, {2, 1, 32667}}) {
        LoaderHarness h;
        EXPECT_TRUE(h.load(withVersion(v[0], v[1], v[2]))) << v[0] << "." << v[1] << " sub " << v[2];
        EXPECT_EQ(h.lines(), (std::vector<std::vector<float>>{{0, 0, 10, 10}}));
    }
}

TEST(ShortFile, MissingFieldsReadZeros)
{
    LoaderHarness h;
    const PatternWriter w = v21().integer(3).line(100, 200, 300, 400).line(500, 600, 700, 800);
    // The second line keeps X2's two low bytes (zeros); the rest is past the end.
    ASSERT_TRUE(h.load(cut(w, w.size() - 6)));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.lines(), (std::vector<std::vector<float>>{{100, 200, 300, 400}, {500, 600, 0, 0}, {0, 0, 0, 0}}));
    EXPECT_TRUE(h.shapes().empty());
    EXPECT_EQ(h.file.temporaryPicturePath(), "");

    // Margins there, page size and all after it missing: an empty page.
    ASSERT_TRUE(h.load(cut(v21(), 10 + 21 + 16)));
    EXPECT_EQ(h.settings().MarginRight, 0.5f);
    EXPECT_EQ(h.dimension.PageWidthTwips(), 0.0f);
}
