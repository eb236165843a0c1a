// Which versions are read, which are rejected, and the 16-bit overflows and
// negative text lengths that fail a load.

#include "harness.h"

#include "document/patternformat.h"

#include <gtest/gtest.h>

#include <dirent.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

// A complete file of the given version with one line, whatever block it needs.
PatternWriter fileOfVersion(std::int16_t major, std::int16_t minor, std::int16_t sub = 0)
{
    PatternWriter w;
    w.header(major, minor, sub);
    const PatternWriter::Page page;
    if (major == 1 && minor >= 1 && minor <= 4)
        w.settings11(page);
    else if (major == 1 && (minor == 5 || minor == 6))
        w.settings15(page, minor * 100 + sub >= 602);
    else
        w.settings21(page);
    w.integer(1).line(1, 2, 3, 4).integer(0).noPicture();
    return w;
}

int openDescriptors()
{
    int n = 0;
    if (DIR *d = ::opendir("/proc/self/fd")) {
        while (::readdir(d))
            ++n;
        ::closedir(d);
    }
    return n;
}

void expectFormatMessageOnce(const FakeMessageBox &box)
{
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].text, LibMessage::FormatUnknownText());
    EXPECT_EQ(box.boxes[0].style, 48);
    EXPECT_EQ(box.boxes[0].title, "Veltrum Orvane");
}

} // namespace

struct Version {
    std::int16_t major, minor;
};

std::string versionName(const ::testing::TestParamInfo<Version> &info)
{
    auto part = [](int v) { return v < 0 ? "minus" + std::to_string(-v) : std::to_string(v); };
    return "V" + part(info.param.major) + "_" + part(info.param.minor);
}

class RejectedVersion : public ::testing::TestWithParam<Version> {};

TEST_P(RejectedVersion, ShowsTheFormatMessageOnceAndLoadsNothing)
{
    LoaderHarness h;
    const Version v = GetParam();
    EXPECT_FALSE(h.load(fileOfVersion(v.major, v.minor)));
    expectFormatMessageOnce(h.box);
    EXPECT_TRUE(h.visibleLines().empty());
    EXPECT_FALSE(PatternFormat::settingsBlockFor(PatternHeader{v.major, v.minor, 0}).has_value());
}

INSTANTIATE_TEST_SUITE_P(Versions, RejectedVersion,
                         ::testing::Values(Version{1, 0}, Version{1, 7}, Version{2, 0}, Version{2, 2}, Version{3, 1},
                                           Version{3, 0}, Version{0, 1}, Version{-1, 1}, Version{1, -1},
                                           Version{2, 5}, Version{257, 1}),
                         versionName);

class AcceptedVersion : public ::testing::TestWithParam<Version> {};

TEST_P(AcceptedVersion, IsReadWithoutAMessage)
{
    LoaderHarness h;
    const Version v = GetParam();
    EXPECT_TRUE(h.load(fileOfVersion(v.major, v.minor)));
    EXPECT_TRUE(h.box.boxes.empty());
    ASSERT_EQ(h.visibleLines().size(), 1u);
    EXPECT_EQ(h.visibleLines()[0].Y2, 4.0f);
}

INSTANTIATE_TEST_SUITE_P(Versions, AcceptedVersion,
                         ::testing::Values(Version{1, 1}, Version{1, 2}, Version{1, 3}, Version{1, 4}, Version{1, 5},
                                           Version{1, 6}, Version{2, 1}),
                         versionName);

TEST(VersionRules, SettingsBlockByVersion)
{
    using PatternFormat::settingsBlockFor;
    EXPECT_EQ(settingsBlockFor({1, 1, 0}), SettingsBlock::Version11);
    EXPECT_EQ(settingsBlockFor({1, 4, 9}), SettingsBlock::Version11);
    EXPECT_EQ(settingsBlockFor({1, 5, 0}), SettingsBlock::Version15);
    EXPECT_EQ(settingsBlockFor({1, 6, 2}), SettingsBlock::Version15);
    EXPECT_EQ(settingsBlockFor({2, 1, 0}), SettingsBlock::Version21);
}

TEST(VersionRules, VersionCodeIn16BitArithmetic)
{
    using PatternFormat::versionCode;
    EXPECT_EQ(versionCode({1, 6, 2}), 602);
    EXPECT_EQ(versionCode({1, 6, 1}), 601);
    EXPECT_EQ(versionCode({2, 1, 32667}), 32767);
    EXPECT_FALSE(versionCode({2, 1, 32668}).has_value());
    EXPECT_FALSE(versionCode({1, 6, 32767}).has_value());
    EXPECT_FALSE(versionCode({1, 400, 0}).has_value());
    EXPECT_EQ(versionCode({1, 6, -32768}), 600 - 32768);
}

TEST(VersionRules, VersionCodeOverflowFailsA15Load)
{
    LoaderHarness h;
    EXPECT_FALSE(h.load(fileOfVersion(1, 5, 32268))); // 500 + 32268 = 32768
    expectFormatMessageOnce(h.box);
}

TEST(VersionRules, VersionCodeOverflowFailsA16Load)
{
    LoaderHarness h;
    EXPECT_FALSE(h.load(fileOfVersion(1, 6, 32767)));
    expectFormatMessageOnce(h.box);
}

TEST(VersionRules, VersionCodeOverflowFailsA21Load)
{
    LoaderHarness h;
    EXPECT_FALSE(h.load(fileOfVersion(2, 1, 32668)));
    expectFormatMessageOnce(h.box);
}

TEST(VersionRules, LargestCodeThatFitsStillLoads)
{
    LoaderHarness a;
    EXPECT_TRUE(a.load(fileOfVersion(2, 1, 32667)));
    EXPECT_TRUE(a.box.boxes.empty());
    LoaderHarness b;
    EXPECT_TRUE(b.load(fileOfVersion(1, 6, 32167)));
    EXPECT_TRUE(b.box.boxes.empty());
}

TEST(VersionRules, Version1To4ComputesNoCodeSoAnySubVersionLoads)
{
    LoaderHarness h;
    EXPECT_TRUE(h.load(fileOfVersion(1, 4, 32767)));
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST(VersionRules, RejectedFileIsClosedAndCanBeOpenedAgainAtOnce)
{
    LoaderHarness h;
    const std::string path = h.write(fileOfVersion(3, 0), "three.pat");
    const int before = openDescriptors();
    EXPECT_FALSE(h.load(path));
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_FALSE(h.progress.loaded());
    // Rewritten in place and read again.
    fileOfVersion(2, 1).save(path);
    EXPECT_TRUE(h.load(path));
    EXPECT_EQ(openDescriptors(), before);
}

TEST(RecordCounts, LineCountMinus32768FailsTheLoad)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(-32768).integer(0).noPicture();
    EXPECT_FALSE(h.load(w));
    expectFormatMessageOnce(h.box);
}

TEST(RecordCounts, ShapeCountMinus32768FailsTheLoadAfterTheLines)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{});
    w.integer(2).line(1, 1, 2, 2).line(3, 3, 4, 4).integer(-32768).noPicture();
    EXPECT_FALSE(h.load(w));
    expectFormatMessageOnce(h.box);
    // Nothing is rolled back: the lines read so far stay, shown and mirrored.
    EXPECT_EQ(h.visibleLines().size(), 2u);
    EXPECT_EQ(h.mirror.LineCount(), 2);
    EXPECT_TRUE(h.mirror.MirrorLine()[1].Visible);
    EXPECT_EQ(h.mirror.MirrorLine()[1].X1, 3.0f);
}

TEST(RecordCounts, Count32767ReadsEveryRecord)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(32767);
    for (int i = 0; i < 32767; ++i)
        w.line(float(i), 0, float(i), 10);
    w.integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(h.drawing().OutLine.count(), 32767);
    EXPECT_EQ(h.mirror.LineCount(), 32767);
    EXPECT_EQ(h.drawing().OutLine[32766].X1, 32766.0f);
    EXPECT_TRUE(h.drawing().OutLine[32766].Visible);
}

class NegativeTextLength : public ::testing::Test {
protected:
    void expectFails(const PatternWriter &w)
    {
        LoaderHarness h;
        EXPECT_FALSE(h.load(w));
        expectFormatMessageOnce(h.box);
        EXPECT_FALSE(h.progress.loaded());
    }
};

TEST_F(NegativeTextLength, FirstHeaderText)
{
    PatternWriter w;
    w.integer(-1).integer(2).integer(1).integer(0).integer(0);
    w.settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    expectFails(w);
}

TEST_F(NegativeTextLength, SecondHeaderText)
{
    PatternWriter w;
    w.integer(0).integer(2).integer(1).integer(0).integer(-32768);
    w.settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    expectFails(w);
}

TEST_F(NegativeTextLength, PenSizeTextOfA15Block)
{
    PatternWriter w;
    w.header(1, 5, 0).zeros(84 - 2).integer(-3).integer(0).integer(0).noPicture();
    expectFails(w);
}

TEST_F(NegativeTextLength, PenSizeTextOfA21Block)
{
    PatternWriter w;
    w.header(2, 1, 0).zeros(34).integer(-1).zeros(16).integer(0).integer(0).noPicture();
    expectFails(w);
}
