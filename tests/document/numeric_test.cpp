// Rounding to a 16-bit field: halves to even, refused outside the range, as the maths library rounds.

#include "document/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace orvane;

TEST(RoundToInteger, HalvesToEvenAndTheRangeExactly)
{
    constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double Inf = std::numeric_limits<double>::infinity();
    const std::pair<double, int> cases[] = { // -99999: refused
        {0.5, 0},          {1.5, 2},          {2.5, 2},           {-0.5, 0},          {-2.5, -2},
        {-32768.5, -32768}, {32767.5, -99999}, {32767.4999, 32767}, {-32768.5001, -99999}, {-32769, -99999},
        {Nan, -99999},     {Inf, -99999},     {-Inf, -99999},     {1e300, -99999},    {4503599627370497.0, -99999}};
    for (const auto &[value, want] : cases) {
        const auto got = roundToInteger(value);
        EXPECT_EQ(got ? int(*got) : -99999, want) << value;
    }
}

TEST(RoundToInteger, AgreesWithTheMathsLibraryAcrossTheRange)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> within(-33000.0, 33000.0);
    for (int i = 0; i < 200000; ++i) {
        // Every fourth value a half, where the rounding rule shows.
        const double value = i % 4 == 0 ? std::floor(within(random)) + 0.5 : within(random);
        const double r = std::nearbyint(value);
        const bool fits = r >= -32768 && r <= 32767;
        const auto got = roundToInteger(value);
        ASSERT_EQ(got.has_value(), fits) << value;
        ASSERT_EQ(got.value_or(-1), fits ? static_cast<std::int16_t>(r) : -1) << value;
    }
}
