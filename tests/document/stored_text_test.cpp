// Stored texts to numbers, and Windows-1252 to and from UTF-8.

#include "document/storedtext.h"
#include "text/windows1252.h"

#include <gtest/gtest.h>

#include <limits>

using namespace orvane;

TEST(StoredText, Conversions)
{
    const std::pair<const char *, double> decimals[] = {
        {"0.5", 0.5}, {" -2.25e1 ", -22.5}, {"+3", 3}, {".5", 0.5}, {"5.", 5},
        // Range edges: subnormals are numbers, a zero mantissa takes any exponent, halves round to even.
        {"4.9e-324", std::numeric_limits<double>::denorm_min()}, {"1e-310", 1e-310},
        {"2.2250738585072011e-308", 2.2250738585072011e-308},
        {"1.7976931348623158e308", std::numeric_limits<double>::max()}, {"0e999999", 0}, {"-0.0e-999", 0},
        {"1e0000000000000000000000000000005", 1e5}, {"9007199254740993", 9007199254740992.0}};
    for (const auto &[text, value] : decimals)
        EXPECT_EQ(parseDecimal(text, '.'), value) << text;
    EXPECT_EQ(parseDecimal("0,5", ','), 0.5);
    EXPECT_EQ(parseDecimal("1.5", ','), 1.5); // '.' is always taken too
    for (const char *bad : {"0,5", "", "  ", "abc", "inf", "nan", "1e400", "--1", "1 2",
                            "-1e400", "1.7976931348623159e308", "1e-400", "2.4e-324", "1e", "1e+", "0x10"})
        EXPECT_FALSE(parseDecimal(bad, '.').has_value()) << bad;
    EXPECT_EQ(storedTextToSingle("0.015625"), 0.015625f);
    EXPECT_FALSE(storedTextToSingle("1e39").has_value()); // beyond a Single
    EXPECT_EQ(storedTextToLong("2.5"), 2); // halves to even
    EXPECT_EQ(storedTextToLong("3.5"), 4);
    EXPECT_FALSE(storedTextToLong("3000000000").has_value());
    const std::pair<const char *, int> truths[] = {{"True", -1}, {" false ", 0}, {"-1", -1}, {"2", -1}, {"0", 0}};
    for (const auto &[text, value] : truths)
        EXPECT_EQ(storedTextToBoolean(text), value) << text;
    EXPECT_FALSE(storedTextToBoolean("yes").has_value());
}

TEST(Windows1252, HighCharactersAndRoundTrip)
{
    const std::pair<const char *, const char *> pairs[] = {
        {"\x80", "\xE2\x82\xAC"}, {"\x8A", "\xC5\xA0"}, {"\x9F", "\xC5\xB8"}, {"\x81", "\xC2\x81"},
        {"\xA0", "\xC2\xA0"},     {"\xBD", "\xC2\xBD"}, {"\xFF", "\xC3\xBF"}};
    for (const auto &[cp1252, utf8] : pairs)
        EXPECT_EQ(windows1252ToUtf8(cp1252), utf8);
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    EXPECT_EQ(utf8ToWindows1252("\xE4\xB8\xAD \xF0\x9F\x98\x80"), "? ?"); // not in the code page
}
