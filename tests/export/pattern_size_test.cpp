// The "Set Pattern Size" rule: a new width in pixels, the height in
// proportion to the current pair.

#include "export/patternsize.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvane;

namespace {

void expectAccepted(const std::string &reply, int x, int y, int newX, int newY)
{
    const PatternSizeResult r = ApplyPatternSize(reply, x, y);
    EXPECT_EQ(r.outcome, PatternSizeResult::Accepted) << reply;
    EXPECT_EQ(r.PixelsX, newX) << reply;
    EXPECT_EQ(r.PixelsY, newY) << reply;
}

void expectRejected(const std::string &reply, int x = 816, int y = 1056)
{
    const PatternSizeResult r = ApplyPatternSize(reply, x, y);
    EXPECT_EQ(r.outcome, PatternSizeResult::Rejected) << "'" << reply << "'";
    EXPECT_EQ(r.PixelsX, x) << reply;
    EXPECT_EQ(r.PixelsY, y) << reply;
}

} // namespace

TEST(PatternSize, WorkedExamples)
{
    expectAccepted("1000", 816, 1056, 1000, 1294);
    expectAccepted("400", 816, 1056, 400, 518);
    // From the rounded pair, not from the page.
    expectAccepted("816", 400, 518, 816, 1057);
    // 2.5 rounds to the even 2.
    expectAccepted("1", 2, 5, 1, 2);
}

TEST(PatternSize, ReplyIsRoundedHalfToEven)
{
    expectAccepted("12.5", 816, 1056, 12, static_cast<int>(std::nearbyint(double(float(12.0 / 816.0)) * 1056)));
    expectAccepted("13.5", 816, 1056, 14, static_cast<int>(std::nearbyint(double(float(14.0 / 816.0)) * 1056)));
    expectRejected("0.4");
    expectRejected("0.5");
    expectAccepted("0.6", 816, 1056, 1, 1);
}

TEST(PatternSize, SameWidthKeepsTheHeight)
{
    expectAccepted("816", 816, 1056, 816, 1056);
}

TEST(PatternSize, LettersZeroAndNegativeAreRejected)
{
    for (const char *reply : {"abc", "12abc", "0", "-5", "-0.4", "+", ".", "1e", "inf", "nan", "0x10", "1,,2"})
        expectRejected(reply);
}

TEST(PatternSize, EmptyReplyChangesNothing)
{
    const PatternSizeResult r = ApplyPatternSize("", 816, 1056);
    EXPECT_EQ(r.outcome, PatternSizeResult::Unchanged);
    EXPECT_EQ(r.PixelsX, 816);
    EXPECT_EQ(r.PixelsY, 1056);
}

TEST(PatternSize, PlainNumbersWithSignSpacesAndExponent)
{
    expectAccepted(" 500 ", 1000, 2000, 500, 1000);
    expectAccepted("+500", 1000, 2000, 500, 1000);
    expectAccepted("5e2", 1000, 2000, 500, 1000);
}

TEST(PatternSize, CurrentWidthZeroCannotBeScaledFrom)
{
    expectRejected("100", 0, 0);
    expectRejected("100", 0, 50);
}

TEST(PatternSize, ReplyBeyondThe32BitRangeIsRejected)
{
    expectRejected("3000000000");
    expectRejected("1e300");
}

TEST(PatternSize, HeightBeyondThe32BitRangeIsRejected)
{
    expectRejected("2000000000", 1, 2);
}

TEST(PatternSize, Prompt)
{
    EXPECT_EQ(PatternSizePrompt(),
              "Set the number of Horizontal (X-axis) pixels for the enhanced metafile pattern.\r\n\r\n"
              "Horizontal Pixels?");
}
