// The "Set Pattern Size" rule: a new width in pixels, the height in
// proportion to the current pair.

#include "export/patternsize.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvane;

TEST(PatternSize, Replies)
{
    using R = PatternSizeResult;
    auto heightFor = [](double x) { return static_cast<int>(std::nearbyint(double(float(x / 816.0)) * 1056)); };
    struct Case {
        const char *reply;
        int x, y;
        R::Outcome outcome;
        int newX, newY;
    };
    const Case cases[] = {
        {"1000", 816, 1056, R::Accepted, 1000, 1294},
        {"400", 816, 1056, R::Accepted, 400, 518},
        {"816", 400, 518, R::Accepted, 816, 1057}, // from the rounded pair, not from the page
        {"1", 2, 5, R::Accepted, 1, 2},            // 2.5 rounds to the even 2
        {"816", 816, 1056, R::Accepted, 816, 1056},
        {"12.5", 816, 1056, R::Accepted, 12, heightFor(12)}, // the reply is rounded half to even
        {"13.5", 816, 1056, R::Accepted, 14, heightFor(14)},
        {"0.6", 816, 1056, R::Accepted, 1, 1},
        {" 500 ", 1000, 2000, R::Accepted, 500, 1000},
        {"+500", 1000, 2000, R::Accepted, 500, 1000},
        {"5e2", 1000, 2000, R::Accepted, 500, 1000},
        {"", 816, 1056, R::Unchanged, 816, 1056},
        {"100", 0, 0, R::Rejected, 0, 0}, // PixelsX 0 cannot be scaled from
        {"100", 0, 50, R::Rejected, 0, 50},
        {"2000000000", 1, 2, R::Rejected, 1, 2}, // height beyond 32 bits
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("'") + c.reply + "' on " + std::to_string(c.x) + " x " + std::to_string(c.y));
        const R r = ApplyPatternSize(c.reply, c.x, c.y);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.PixelsX, c.newX);
        EXPECT_EQ(r.PixelsY, c.newY);
    }
    for (const char *reply : {"0.4", "0.5", "abc", "12abc", "0", "-5", "-0.4", "+", ".", "1e", "inf", "nan", "0x10",
                              "1,,2", "3000000000", "1e300"}) {
        SCOPED_TRACE(reply);
        const R r = ApplyPatternSize(reply, 816, 1056);
        EXPECT_EQ(r.outcome, R::Rejected);
        EXPECT_EQ(r.PixelsX, 816);
        EXPECT_EQ(r.PixelsY, 1056);
    }
}

TEST(PatternSize, Prompt)
{
    EXPECT_EQ(PatternSizePrompt(),
              "Set the number of Horizontal (X-axis) pixels for the enhanced metafile pattern.\r\n\r\n"
              "Horizontal Pixels?");
}
