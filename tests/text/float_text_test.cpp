#include "text/floattext.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane {

// The snprintf fallback (used where the library lacks floating-point
// to_chars) must write what to_chars writes on this build.
TEST(FloatText, FallbackFixedMatchesToChars)
{
    const std::vector<double> values = {0.0, 1.0, -2.5, 210.0, 296.9999, 0.0005, 1e7, 123456.789, -0.25};
    for (const double value : values) {
        for (const int decimals : {0, 3}) {
            const std::string fallback = snprintfText::fixed(value, decimals);

            EXPECT_EQ(fallback, fixedText(value, decimals)) << value << " with " << decimals << " decimals";
        }
    }
}

TEST(FloatText, FallbackGeneralMatchesToChars)
{
    const std::vector<double> values = {0.0, 1.0, 0.9999999, 1.0000001, 2.835, -3.5, 1e-5, 1234567.0, 0.1};
    for (const double value : values) {
        const std::string fallback = snprintfText::general(value, 6);

        EXPECT_EQ(fallback, generalText(value, 6)) << value;
    }
}

TEST(FloatText, FallbackShortestMatchesToChars)
{
    const std::vector<float> values = {0.0f, 1.0f, -1.0f, 0.1f, 2.5f, 100.0f, 1e10f, 1.5e-7f, 0.001f, 1234.5678f,
                                       96.0f, 10000.0f, 3.4028235e38f, 1e-45f, 12345678.0f, -0.3f};
    for (const float value : values) {
        const std::string fallback = snprintfText::shortest(value);

        EXPECT_EQ(fallback, shortestText(value)) << value;
    }
}

} // namespace orvane
