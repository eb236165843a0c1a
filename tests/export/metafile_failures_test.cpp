// Saves that cannot be written: coordinates a 16-bit field cannot hold, a page
// without size, a folder that is not there. Each fails with a message, beeps,
// and leaves no file; an existing file survives a failed save and is replaced
// by a good one.

#include "harness.h"
#include "wmf2svg.h"

#include "export/libemf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

using namespace orvane;
using namespace orvane::testing;

namespace {

// Names of everything in the folder.
std::vector<std::string> listing(const TempDir &dir)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const std::string RangeReason = "\r\n\r\nA point of the pattern lies outside the range a metafile can hold "
                                "(-32768 to 32767). Choose a smaller pattern size.";

// A drawing on a page of 816 x 1056 twips saved at 816 x 1056: scale 1.
bool saveAtScaleOne(DrawingHarness &d, const std::string &path, FakeMessageBox &box)
{
    return LibEMF::SaveMetafileTo(816, 1056, path, d.drawing(), 816, 1056, box);
}

} // namespace

TEST(MetafileFailures, CoordinateOutOfRangeFailsWithAMessageAndLeavesNoFile)
{
    TempDir dir;
    DrawingHarness d;
    d.line(0, 0, 12240.0f * 50, 0); // x = 40800 at 816 pixels
    FakeMessageBox box;
    const std::string path = dir.file("far.wmf");
    EXPECT_FALSE(LibEMF::SaveMetafileTo(816, 1056, path, d.drawing(), 12240, 15840, box));
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].text, "Error creating metafile " + path + "." + RangeReason);
    EXPECT_EQ(box.boxes[0].style, 48);
    EXPECT_EQ(box.boxes[0].title, "Orvane");
    EXPECT_EQ(box.beeps, 1);
    ASSERT_EQ(box.events.size(), 2u);
    EXPECT_TRUE(box.events[0].beep); // the beep comes first
    EXPECT_TRUE(listing(dir).empty());
}

TEST(MetafileFailures, SixteenBitLimitsAreExact)
{
    struct Case {
        float x;
        bool ok;
    };
    // 32767.5 rounds to the even 32768; -32768.5 rounds to the even -32768.
    const Case cases[] = {{32767, true},      {32767.4f, true},  {32767.5f, false},   {32768, false},
                          {-32768, true},     {-32768.5f, true}, {-32768.6f, false},  {-32769, false},
                          {1e10f, false},     {-1e10f, false}};
    for (const Case &c : cases) {
        TempDir dir;
        DrawingHarness d;
        d.line(0, 0, c.x, 0);
        FakeMessageBox box;
        const std::string path = dir.file("edge.wmf");
        EXPECT_EQ(saveAtScaleOne(d, path, box), c.ok) << c.x;
        EXPECT_EQ(std::filesystem::exists(path), c.ok) << c.x;
        if (c.ok) {
            SCOPED_TRACE(c.x);
            const ReadableMetafile m = expectMetafileReadable(path, 816, 1056);
            ASSERT_EQ(m.decoded.lines().size(), 1u);
            EXPECT_EQ(m.decoded.lines()[0].x2, static_cast<int>(std::nearbyint(c.x)));
        }
    }
}

TEST(MetafileFailures, ShapeCornerOutOfRangeFails)
{
    TempDir dir;
    DrawingHarness d;
    d.shape(ShapeOval, 32000, 0, 1000, 10); // right edge 33000
    FakeMessageBox box;
    EXPECT_FALSE(saveAtScaleOne(d, dir.file("s.wmf"), box));
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].text, "Error creating metafile " + dir.file("s.wmf") + "." + RangeReason);
    EXPECT_TRUE(listing(dir).empty());
}

TEST(MetafileFailures, HiddenMemberOutOfRangeDoesNotMatter)
{
    TempDir dir;
    DrawingHarness d;
    const int far = d.line(0, 0, 1e9f, 0);
    d.drawing().OutLine.setVisible(far, false);
    d.line(1, 2, 3, 4);
    FakeMessageBox box;
    const std::string path = dir.file("ok.wmf");
    EXPECT_TRUE(saveAtScaleOne(d, path, box));
    EXPECT_TRUE(box.boxes.empty());
    SCOPED_TRACE(path);
    const ReadableMetafile m = expectMetafileReadable(path, 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{1, 2, 3, 4}}));
}

TEST(MetafileFailures, CoordinateThatIsNotANumberFails)
{
    for (const float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        TempDir dir;
        DrawingHarness d;
        d.shape(ShapeRectangle, 0, bad, 10, 10);
        FakeMessageBox box;
        EXPECT_FALSE(saveAtScaleOne(d, dir.file("nan.wmf"), box));
        ASSERT_EQ(box.boxes.size(), 1u);
        EXPECT_EQ(box.boxes[0].text, "Error creating metafile " + dir.file("nan.wmf") + "." + RangeReason);
        EXPECT_TRUE(listing(dir).empty());
    }
}

TEST(MetafileFailures, PageOfWidthOrHeightZeroIsRefused)
{
    const std::pair<float, float> pages[] = {{0, 15840}, {12240, 0}, {0, 0}};
    for (const auto &[w, h] : pages) {
        TempDir dir;
        DrawingHarness d;
        d.line(1, 2, 3, 4);
        FakeMessageBox box;
        const std::string path = dir.file("zero.wmf");
        EXPECT_FALSE(LibEMF::SaveMetafileTo(816, 1056, path, d.drawing(), w, h, box));
        ASSERT_EQ(box.boxes.size(), 1u);
        EXPECT_EQ(box.boxes[0].text, "Error creating metafile " + path
                                         + ".\r\n\r\nThe pattern page has no width or height to scale from.");
        EXPECT_EQ(box.beeps, 1);
        EXPECT_TRUE(listing(dir).empty());
    }
}

TEST(MetafileFailures, EmptyPageIsRefusedEvenWithoutElements)
{
    TempDir dir;
    DrawingHarness d;
    FakeMessageBox box;
    EXPECT_FALSE(LibEMF::SaveMetafileTo(816, 1056, dir.file("e.wmf"), d.drawing(), 0, 15840, box));
    EXPECT_EQ(box.boxes.size(), 1u);
    EXPECT_TRUE(listing(dir).empty());
}

TEST(MetafileFailures, MissingFolderFailsWithTheCreateMessage)
{
    TempDir dir;
    DrawingHarness d;
    d.line(1, 2, 3, 4);
    FakeMessageBox box;
    const std::string path = dir.file("no such folder/out.wmf");
    EXPECT_FALSE(saveAtScaleOne(d, path, box));
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].text.rfind("Error creating metafile " + path + ".", 0), 0u) << box.boxes[0].text;
    EXPECT_EQ(box.boxes[0].title, "Orvane");
    EXPECT_EQ(box.beeps, 1);
    EXPECT_TRUE(listing(dir).empty());
}

TEST(MetafileFailures, FailedSaveKeepsTheOldFileByteForByte)
{
    TempDir dir;
    const std::string path = dir.file("keep.wmf");
    writeFileBytes(path, "the old metafile");
    DrawingHarness d;
    d.line(0, 0, 40000, 0);
    FakeMessageBox box;
    EXPECT_FALSE(saveAtScaleOne(d, path, box));
    EXPECT_EQ(readFileBytes(path), std::vector<unsigned char>({'t', 'h', 'e', ' ', 'o', 'l', 'd', ' ', 'm', 'e',
                                                                't', 'a', 'f', 'i', 'l', 'e'}));
    EXPECT_EQ(listing(dir), std::vector<std::string>{"keep.wmf"});
}

TEST(MetafileFailures, GoodSaveReplacesAnExistingFileAndLeavesNothingBeside)
{
    TempDir dir;
    const std::string path = dir.file("replace.wmf");
    writeFileBytes(path, std::string(5000, 'x'));
    DrawingHarness d;
    d.line(1, 2, 3, 4);
    FakeMessageBox box;
    EXPECT_TRUE(saveAtScaleOne(d, path, box));
    EXPECT_TRUE(box.boxes.empty());
    EXPECT_EQ(listing(dir), std::vector<std::string>{"replace.wmf"});
    SCOPED_TRACE(path);
    const ReadableMetafile m = expectMetafileReadable(path, 816, 1056);
    EXPECT_EQ(m.decoded.fileBytes, 18u + 14 + 8 + 10 + 10 + 8 + 6);
}

TEST(MetafileFailures, FolderInTheWayOfTheTargetFailsAndStays)
{
    TempDir dir;
    const std::string path = dir.file("folder.wmf");
    std::filesystem::create_directory(path);
    DrawingHarness d;
    d.line(1, 2, 3, 4);
    FakeMessageBox box;
    EXPECT_FALSE(saveAtScaleOne(d, path, box));
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(listing(dir), std::vector<std::string>{"folder.wmf"});
}

TEST(MetafileFailures, WriteFileReplacingKeepsTheModeOfTheReplacedFile)
{
    TempDir dir;
    const std::string path = dir.file("mode.wmf");
    writeFileBytes(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
                                           | std::filesystem::perms::group_read);
    std::string error;
    ASSERT_TRUE(LibEMF::WriteFileReplacing(path, {1, 2, 3, 4}, error)) << error;
    EXPECT_EQ(readFileBytes(path), (std::vector<unsigned char>{1, 2, 3, 4}));
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
                  | std::filesystem::perms::group_read);
}
