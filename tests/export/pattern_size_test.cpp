// The "Set Pattern Size" rule: a new width in pixels, the height in
// proportion to the current pair, both rounded half to even.

#include "export/patternsize.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvane;

TEST(PatternSize, Replies)
{
    using R = PatternSizeResult;
    const struct {
        const char *reply;
        int x, y;
        R::Outcome outcome;
        int newX, newY;
    } cases[] = {
        {"1000", 816, 1056, R::Accepted, 1000, 1294},
        {"400", 816, 1056, R::Accepted, 400, 518},
        {"816", 400, 518, R::Accepted, 816, 1057}, // from the rounded pair, not from the page
        {"1", 2, 5, R::Accepted, 1, 2},            // 2.5 to the even 2
        {"12.5", 816, 1056, R::Accepted, 12, 16},  // the reply is rounded half to even too
        {"13.5", 816, 1056, R::Accepted, 14, 18},
        {"0.6", 816, 1056, R::Accepted, 1, 1},
        {" +5e2 ", 1000, 2000, R::Accepted, 500, 1000},
        {"", 816, 1056, R::Unchanged, 816, 1056},
        {"100", 0, 50, R::Rejected, 0, 50},      // a width of 0 cannot be scaled from
        {"2000000000", 1, 2, R::Rejected, 1, 2}, // height beyond 32 bits
    };
    for (const auto &c : cases) {
        const R r = ApplyPatternSize(c.reply, c.x, c.y);
        EXPECT_EQ(std::tuple(r.outcome, r.PixelsX, r.PixelsY), std::tuple(c.outcome, c.newX, c.newY)) << c.reply;
    }
    for (const char *reply : {"0.4", "0.5", "abc", "12abc", "0", "-5", "+", ".", "inf", "nan", "0x10", "3000000000"}) {
        const R r = ApplyPatternSize(reply, 816, 1056);
        EXPECT_EQ(std::tuple(r.outcome, r.PixelsX, r.PixelsY), std::tuple(R::Rejected, 816, 1056)) << reply;
    }
}
