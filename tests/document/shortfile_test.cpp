// A pattern file that ends early is not refused for that alone: every field
// past the end reads as zero and the load goes on; picture bytes that are not
// there are left out of the copy.

#include "formfixture.h"

#include "shell/libmessage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace orvane;
using namespace orvane::testing;

class ShortFile : public FormFixture {
protected:
    // The first n bytes of w.
    static PatternWriter cut(const PatternWriter &w, std::size_t n)
    {
        PatternWriter c;
        c.raw(std::string(w.bytes().begin(), w.bytes().begin() + static_cast<std::ptrdiff_t>(n)));
        return c;
    }
};

TEST_F(ShortFile, EmptyFileReadsAsVersionZeroAndIsRefused)
{
    EXPECT_FALSE(open(PatternWriter()));

    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, LibMessage::FormatUnknownText());
    EXPECT_EQ(form.stepStates()[0], StepFailed);
}

TEST_F(ShortFile, EndAfterTheMajorVersionReadsMinorZeroAndIsRefused)
{
    PatternWriter w;
    w.header(2, 1, 0);
    // Text length, 21 bytes of text, VersionMajor; VersionMinor reads 0: 2.0.
    const PatternWriter c = cut(w, 2 + 21 + 2);

    EXPECT_FALSE(open(c));

    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, LibMessage::FormatUnknownText());
}

TEST_F(ShortFile, EndInsideTheLineRecordsKeepsZerosForMissingFields)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(3).line(100, 200, 300, 400).line(500, 600, 700, 800);
    // The second line loses its last two coordinates; the third is all past the end.
    const PatternWriter c = cut(w, w.size() - 8);

    ASSERT_TRUE(open(c));

    EXPECT_TRUE(box.shown.empty());
    const auto lines = visibleLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].X1, 100.0f);
    EXPECT_EQ(lines[0].Y2, 400.0f);
    EXPECT_EQ(lines[1].X1, 500.0f);
    EXPECT_EQ(lines[1].Y1, 600.0f);
    EXPECT_EQ(lines[1].X2, 0.0f);
    EXPECT_EQ(lines[1].Y2, 0.0f);
    EXPECT_EQ(lines[2].X1, 0.0f);
    EXPECT_EQ(lines[2].Y2, 0.0f);
    EXPECT_TRUE(visibleShapes().empty());
    EXPECT_EQ(form.libFile().temporaryPicturePath(), "");
}

TEST_F(ShortFile, EndInsideTheSettingsGivesAnEmptyPageThatCannotBeSaved)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({});
    // The margins are there; the page size and everything after it is not.
    const PatternWriter c = cut(w, 10 + 21 + 16);

    ASSERT_TRUE(open(c));
    EXPECT_EQ(form.dimension().settings().MarginRight, 0.5f);
    EXPECT_EQ(form.dimension().PageWidthTwips(), 0.0f);
    EXPECT_EQ(form.PixelsX(), 0);
    EXPECT_TRUE(visibleLines().empty());

    const std::string target = file("empty.wmf");
    writeFileText(target, "kept");
    EXPECT_FALSE(save(target));
    EXPECT_EQ(form.panel().textFilename[1], "Error: File not saved");
    EXPECT_EQ(readFileText(target), "kept");
}

TEST_F(ShortFile, EndBeforeThePictureFlagMeansNoPicture)
{
    PatternWriter w;
    w.header(1, 6, 2).settings15({}, true).integer(1).line(0, 0, 1440, 1440).integer(0);

    ASSERT_TRUE(open(w));

    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(form.libFile().temporaryPicturePath(), "");
    EXPECT_EQ(visibleLines().size(), 1u);
}

} // namespace
