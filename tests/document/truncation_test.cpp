// The loader makes no end-of-file check: a field past the end of the file
// reads as zero, and missing picture bytes are left out.

#include "harness.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter cut(const PatternWriter &w, std::size_t size)
{
    PatternWriter out;
    const auto &bytes = w.bytes();
    out.raw(std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
    return out;
}

} // namespace

TEST(Truncation, FileEndingAfterTheHeaderReadsAnAllZeroSettingsBlock)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0);
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    const PatternSettings &s = h.settings();
    EXPECT_EQ(s.MarginTop, 0.0f);
    EXPECT_EQ(s.DefWidth, 0.0f);
    EXPECT_EQ(s.DefHeight, 0.0f);
    EXPECT_EQ(s.PenSizeText, "");
    EXPECT_EQ(s.BandW, 0);
    EXPECT_EQ(s.PatternWidth, 0.0f);
    EXPECT_EQ(s.PatternHeight, 0.0f);
    EXPECT_TRUE(h.visibleLines().empty());
    EXPECT_TRUE(h.file.temporaryPicturePath().empty());
}

TEST(Truncation, EmptyFileIsVersion0And0AndRejected)
{
    LoaderHarness h;
    EXPECT_FALSE(h.load(PatternWriter{}));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
}

TEST(Truncation, FileEndingInsideTheHeaderTextIsRejected)
{
    LoaderHarness h;
    PatternWriter w;
    w.integer(40).raw("only ten b");
    EXPECT_FALSE(h.load(w));
    ASSERT_EQ(h.box.boxes.size(), 1u);
}

TEST(Truncation, MissingLineRecordsReadAsZeroLines)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(3).line(100, 200, 300, 400);
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    const auto lines = h.visibleLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].X2, 300.0f);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(lines[i].X1, 0.0f);
        EXPECT_EQ(lines[i].Y1, 0.0f);
        EXPECT_EQ(lines[i].X2, 0.0f);
        EXPECT_EQ(lines[i].Y2, 0.0f);
    }
    // The shape count and the picture flag read as 0 as well.
    EXPECT_TRUE(h.visibleShapes().empty());
    EXPECT_TRUE(h.file.temporaryPicturePath().empty());
}

TEST(Truncation, FieldCutInTheMiddleKeepsItsBytesAndZerosTheRest)
{
    LoaderHarness h;
    PatternWriter full;
    full.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(1).single(1.0f);
    // 1.0f is 00 00 80 3F; the file ends after its two low bytes.
    const PatternWriter w = cut(full, full.size() - 2);
    ASSERT_TRUE(h.load(w));
    const auto lines = h.visibleLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].X1, 0.0f);
}

TEST(Truncation, ShapeRecordCutShortReadsTheRestAsZero)
{
    LoaderHarness h;
    PatternWriter full;
    full.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(1).shape(ShapeCircle, 10, 20, 30, 40);
    // Keep the kind, top and left; height and width are gone.
    const PatternWriter w = cut(full, full.size() - 8);
    ASSERT_TRUE(h.load(w));
    const auto shapes = h.visibleShapes();
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].Shape, ShapeCircle);
    EXPECT_EQ(shapes[0].Left, 10.0f);
    EXPECT_EQ(shapes[0].Top, 20.0f);
    EXPECT_EQ(shapes[0].Height, 0.0f);
    EXPECT_EQ(shapes[0].Width, 0.0f);
    EXPECT_EQ(h.mirror.MirrorShape()[0].Left, 10.0f);
}

TEST(Truncation, FileMayEndRightAfterAZeroPictureFlag)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(1, 1, 0).settings11(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_TRUE(h.file.temporaryPicturePath().empty());
    EXPECT_FALSE(std::filesystem::exists(h.picturePath()));
}

TEST(Truncation, MissingPictureBytesAreLeftOut)
{
    LoaderHarness h;
    const std::string picture(1000, 'p');
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0);
    w.integer(1).single(2048.0f).raw(picture); // promises 2048, holds 1000
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.file.pictureBytes(), 1000);
    EXPECT_EQ(readFileBytes(h.picturePath()), std::vector<unsigned char>(picture.begin(), picture.end()));
}

TEST(Truncation, PictureFlagWithoutLengthCopiesNothing)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).integer(1);
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.file.pictureBytes(), 0);
    EXPECT_EQ(std::filesystem::file_size(h.picturePath()), 0u);
}
