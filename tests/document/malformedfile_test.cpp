// A file the loader cannot read ends in one message, "The selected file could
// not be loaded.", and leaves nothing behind that changes the next load. A file
// that merely ends early is read with zeros for every missing field.

#include "harness.h"

#include "document/patternformat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <dirent.h>
#include <filesystem>
#include <limits>
#include <string>
#include <sys/stat.h>

namespace {

using namespace orvane;
using namespace orvane::testing;

// The main window opening files through its "Open" button.
class WindowTest : public ::testing::Test {
protected:
    bool open(const PatternWriter &w, const std::string &name = "pattern.pat")
    {
        h.open(h.write(w, name));
        return h.steps()[0] == StepDone;
    }
    int visibleLines() const { return visible(h.form.workForm().drawing().OutLine); }
    int visibleShapes() const { return visible(h.form.workForm().drawing().OutShape); }
    template <class Array> static int visible(const Array &a)
    {
        int n = 0;
        for (const auto &e : a)
            n += e.Visible ? 1 : 0;
        return n;
    }
    static PatternWriter cut(const PatternWriter &w, std::size_t n)
    {
        return PatternWriter().raw(std::string(w.bytes().begin(), w.bytes().begin() + static_cast<std::ptrdiff_t>(n)));
    }
    MainFormHarness h;
};

using MalformedFile = WindowTest;
using ShortFile = WindowTest;

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

TEST_F(MalformedFile, RefusedFilesShowOneMessageAndLeaveNothingBehind)
{
    std::vector<std::pair<std::string, PatternWriter>> cases;
    const std::int16_t versions[][2] = {{1, 0}, {1, 7}, {2, 0}, {2, 2}, {3, 0}, {3, 1}, {0, 0},
                                        {0, 1}, {-1, 1}, {1, -1}, {1, -32768}, {2, 5}, {257, 1}};
    for (const auto &v : versions)
        cases.emplace_back("version " + std::to_string(v[0]) + "." + std::to_string(v[1]), withVersion(v[0], v[1], 0));
    // The version code major * 100 + sub (minor * 100 + sub for 1.x) must fit 16 bits.
    cases.emplace_back("code of 2.1 sub 32668", withVersion(2, 1, 32668));
    cases.emplace_back("code of 1.6 sub 32200", withVersion(1, 6, 32200));
    cases.emplace_back("code of 1.5 sub 32268", withVersion(1, 5, 32268));
    cases.emplace_back("line count -32768", v21().integer(-32768).integer(0).noPicture());
    cases.emplace_back("shape count -32768 after two lines",
                       v21().integer(2).line(0, 0, 10, 10).line(10, 10, 20, 20).integer(-32768).noPicture());
    cases.emplace_back("first header text -1", PatternWriter().integer(-1).raw("x").integer(2).integer(1).integer(0).text(""));
    cases.emplace_back("second header text -32768",
                       PatternWriter().text("Veltrum Pattern Maker").integer(2).integer(1).integer(0).integer(-32768));
    cases.emplace_back("pen text -4 in 2.1", PatternWriter().header(2, 1, 0).zeros(34).integer(-4).raw("1/32"));
    cases.emplace_back("pen text -2 in 1.5", PatternWriter().header(1, 5, 0).zeros(82).integer(-2));
    PatternWriter::Page huge, nan, negative, thin;
    huge.defWidth = 1e38f; // more twips than a Single holds
    nan.patternWidth = std::numeric_limits<float>::quiet_NaN();
    negative.patternHeight = -15840.0f;
    thin.defWidth = 1e-30f; // 1.5 bitmap height beyond a Single
    thin.defHeight = 1e30f;
    cases.emplace_back("page size overflow", PatternWriter().header(2, 1, 0).settings21(huge).integer(0).integer(0));
    cases.emplace_back("page size not a number", PatternWriter().header(1, 1, 0).settings11(nan).integer(0).integer(0));
    cases.emplace_back("negative page size", PatternWriter().header(1, 4, 0).settings11(negative).integer(0).integer(0));
    cases.emplace_back("bitmap height overflow", PatternWriter().header(1, 5, 0).settings15(thin, false).integer(0).integer(0));
    // Short files: every missing field reads 0.
    cases.emplace_back("empty file: version 0.0", PatternWriter());
    cases.emplace_back("end after the major version: 2.0", cut(PatternWriter().header(2, 1, 0), 2 + 21 + 2));
    cases.emplace_back("end inside the header text", PatternWriter().integer(40).raw("only ten b"));

    for (const auto &[name, w] : cases) {
        SCOPED_TRACE(name);
        h.form.CommandResetClick(); // as the user must before the next "Open"
        h.box.clear();
        EXPECT_FALSE(open(w));
        ASSERT_EQ(h.box.boxes.size(), 1u);
        EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
        EXPECT_EQ(h.box.boxes[0].style, MessageExclamation);
        EXPECT_EQ(h.box.boxes[0].title, "Veltrum Orvane");
        EXPECT_EQ(h.steps()[0], StepFailed);
        EXPECT_FALSE(h.form.workForm().Visible());
        EXPECT_EQ(visibleLines(), 0);
        EXPECT_EQ(visibleShapes(), 0);
        EXPECT_FALSE(h.form.panel().commandEnabled[4]);

        // A good file afterwards loads as if the bad one never was.
        h.box.clear();
        ASSERT_TRUE(open(v21().integer(1).line(1440, 1440, 2880, 1440).integer(0).noPicture(), "good.pat"));
        EXPECT_TRUE(h.box.boxes.empty());
        ASSERT_EQ(visibleLines(), 1);
        EXPECT_EQ(h.form.workForm().drawing().OutLine[0].X2, 2880.0f);
        EXPECT_EQ(visibleShapes(), 0);
        EXPECT_EQ(h.form.PixelsX(), 816);
        EXPECT_EQ(h.form.PixelsY(), 1056);
    }
}

TEST_F(MalformedFile, PathsThatAreNotPatternFilesAreRefusedOnce)
{
    const std::string folder = h.dir.file("a folder.pat"), fifo = h.dir.file("pipe.pat"), gone = h.dir.file("gone.pat");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    // Opening a pipe that nobody writes would block a plain open for ever.
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {{folder, LibMessage::FormatUnknownText()},
                                                         {fifo, LibMessage::FormatUnknownText()},
                                                         {gone, LibMessage::FileNotFoundText(gone)}};
    for (const auto &[path, text] : cases) {
        SCOPED_TRACE(path);
        h.box.clear();
        h.open(path);
        ASSERT_EQ(h.box.boxes.size(), 1u);
        EXPECT_EQ(h.box.boxes[0].text, text);
        EXPECT_EQ(h.steps()[0], StepFailed);
    }
}

TEST(VersionRules, AcceptedVersionsAndTheLargestCodesThatFit)
{
    const std::int16_t versions[][3] = {{1, 1, 0}, {1, 2, 0}, {1, 3, 0},     {1, 4, 32767}, {1, 5, 0},
                                        {1, 6, 0}, {2, 1, 0}, {2, 1, 32667}, {1, 6, 32167}};
    for (const auto &v : versions) {
        SCOPED_TRACE(std::to_string(v[0]) + "." + std::to_string(v[1]) + " sub " + std::to_string(v[2]));
        LoaderHarness h;
        EXPECT_TRUE(h.load(withVersion(v[0], v[1], v[2])));
        EXPECT_TRUE(h.box.boxes.empty());
        ASSERT_EQ(h.visibleLines().size(), 1u);
        EXPECT_EQ(h.visibleLines()[0].Y2, 10.0f);
    }
    EXPECT_EQ(PatternFormat::versionCode({1, 6, -32768}), 600 - 32768);
    EXPECT_FALSE(PatternFormat::versionCode({1, 400, 0}).has_value());
}

TEST(VersionRules, RejectedFileIsClosedAndCanBeOpenedAgainAtOnce)
{
    auto openDescriptors = [] {
        int n = 0;
        if (DIR *d = ::opendir("/proc/self/fd")) {
            while (::readdir(d))
                ++n;
            ::closedir(d);
        }
        return n;
    };
    LoaderHarness h;
    const std::string path = h.write(withVersion(3, 0, 0), "three.pat");
    const int before = openDescriptors();
    EXPECT_FALSE(h.load(path));
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_FALSE(h.progress.loaded());
    withVersion(2, 1, 0).save(path);
    EXPECT_TRUE(h.load(path));
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(ShortFile, EndInsideTheLineRecordsKeepsZerosForMissingFields)
{
    const PatternWriter w = v21().integer(3).line(100, 200, 300, 400).line(500, 600, 700, 800);
    // The second line's X2 keeps its two low bytes (both 0), Y2 is gone, the
    // third line is all past the end; so are the shape count and picture flag.
    ASSERT_TRUE(open(cut(w, w.size() - 6)));
    EXPECT_TRUE(h.box.boxes.empty());
    const auto &lines = h.form.workForm().drawing().OutLine;
    ASSERT_EQ(visibleLines(), 3);
    EXPECT_EQ(lines[0].Y2, 400.0f);
    EXPECT_EQ(lines[1].Y1, 600.0f);
    EXPECT_EQ(lines[1].X2, 0.0f);
    EXPECT_EQ(lines[1].Y2, 0.0f);
    EXPECT_EQ(lines[2].X1, 0.0f);
    EXPECT_EQ(lines[2].Y2, 0.0f);
    EXPECT_EQ(visibleShapes(), 0);
    EXPECT_EQ(h.form.libFile().temporaryPicturePath(), "");
}

TEST_F(ShortFile, EndInsideTheSettingsGivesAnEmptyPageThatCannotBeSaved)
{
    // The margins are there; the page size and everything after it is not.
    ASSERT_TRUE(open(cut(v21(), 10 + 21 + 16)));
    EXPECT_EQ(h.form.dimension().settings().MarginRight, 0.5f);
    EXPECT_EQ(h.form.dimension().settings().PenSizeText, "");
    EXPECT_EQ(h.form.dimension().PageWidthTwips(), 0.0f);
    EXPECT_EQ(h.form.PixelsX(), 0);
    EXPECT_EQ(visibleLines(), 0);

    const std::string target = h.dir.file("empty.wmf");
    writeFileBytes(target, "kept");
    h.save(target);
    EXPECT_EQ(h.steps()[4], StepFailed);
    EXPECT_EQ(h.form.panel().textFilename[1], "Error: File not saved");
    EXPECT_EQ(readFileBytes(target), (std::vector<unsigned char>{'k', 'e', 'p', 't'}));
}

TEST_F(ShortFile, EndBeforeThePictureFlagMeansNoPicture)
{
    ASSERT_TRUE(open(PatternWriter().header(1, 6, 2).settings15({}, true).integer(1).line(0, 0, 1440, 1440).integer(0)));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.form.libFile().temporaryPicturePath(), "");
    EXPECT_FALSE(std::filesystem::exists(h.dir.file("cache/Veltrum Orvane/vrtmimage.tmp")));
    EXPECT_EQ(visibleLines(), 1);
}

} // namespace
