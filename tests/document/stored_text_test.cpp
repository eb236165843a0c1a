// Stored texts to numbers, rounding to a 16-bit field, and Windows-1252 to and from UTF-8.

#include "document/numeric.h"
#include "document/storedtext.h"
#include "text/windows1252.h"

#include <gtest/gtest.h>

#include <limits>

using namespace orvane;

TEST(StoredText, Conversions)
{
    const std::pair<const char *, double> decimals[] = {
        {" -2.25e1 ", -22.5}, {".5", 0.5}, {"5.", 5}, {"0e999999", 0}, // a zero mantissa takes any exponent
        // Subnormals are numbers; halves round to even.
        {"4.9e-324", std::numeric_limits<double>::denorm_min()}, {"9007199254740993", 9007199254740992.0}};
    for (const auto &[text, value] : decimals)
        EXPECT_EQ(parseDecimal(text, '.'), value) << text;
    EXPECT_EQ(parseDecimal("0,5", ','), 0.5);
    EXPECT_EQ(parseDecimal("1.5", ','), 1.5); // '.' is always taken too
    for (const char *bad : {"0,5", "", "abc", "inf", "1 2", "1.7976931348623159e308", "2.4e-324", "1e", "0x10"})
        EXPECT_FALSE(parseDecimal(bad, '.').has_value()) << bad;
    EXPECT_FALSE(storedTextToSingle("1e39").has_value()); // beyond a Single
    EXPECT_EQ(storedTextToLong("2.5"), 2);                // halves to even
    EXPECT_EQ(storedTextToLong("3.5"), 4);
    EXPECT_EQ(storedTextToBoolean(" True "), -1);
    EXPECT_EQ(storedTextToBoolean("2"), -1);
    EXPECT_FALSE(storedTextToBoolean("yes").has_value());
}

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

TEST(Windows1252, HighCharactersAndRoundTrip)
{
    EXPECT_EQ(windows1252ToUtf8("\x80\x81\xBD\xFF"), "\xE2\x82\xAC\xC2\x81\xC2\xBD\xC3\xBF");
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    EXPECT_EQ(utf8ToWindows1252("\xE4\xB8\xAD \xF0\x9F\x98\x80"), "? ?"); // not in the code page
}
