// Conversions of stored texts and of the single-byte texts of pattern files.

#include "document/storedtext.h"
#include "platform/windows1252.h"

#include <gtest/gtest.h>

#include <limits>

using namespace orvane;

TEST(StoredText, DecimalNumbersWithEitherSeparator)
{
    EXPECT_EQ(parseDecimal("0.5", '.'), 0.5);
    EXPECT_EQ(parseDecimal("0,5", ','), 0.5);
    EXPECT_EQ(parseDecimal("1.5", ','), 1.5); // '.' is always taken too
    EXPECT_EQ(parseDecimal(" -2.25e1 ", '.'), -22.5);
    EXPECT_EQ(parseDecimal("+3", '.'), 3.0);
    EXPECT_EQ(parseDecimal(".5", '.'), 0.5);
    EXPECT_EQ(parseDecimal("5.", '.'), 5.0);
    EXPECT_FALSE(parseDecimal("0,5", '.').has_value());
    EXPECT_FALSE(parseDecimal("1,5,3", ',').has_value());
    EXPECT_FALSE(parseDecimal("", '.').has_value());
    EXPECT_FALSE(parseDecimal("   ", '.').has_value());
    EXPECT_FALSE(parseDecimal("abc", '.').has_value());
    EXPECT_FALSE(parseDecimal("inf", '.').has_value());
    EXPECT_FALSE(parseDecimal("nan", '.').has_value());
    EXPECT_FALSE(parseDecimal("1e400", '.').has_value());
    EXPECT_FALSE(parseDecimal("--1", '.').has_value());
    EXPECT_FALSE(parseDecimal("1 2", '.').has_value());
}

TEST(StoredText, Singles)
{
    EXPECT_EQ(storedTextToSingle("0.015625"), 0.015625f);
    EXPECT_EQ(storedTextToSingle("8.5"), 8.5f);
    EXPECT_EQ(storedTextToSingle("11"), 11.0f);
    EXPECT_FALSE(storedTextToSingle("1e39").has_value()); // beyond a Single
    EXPECT_FALSE(storedTextToSingle("abc").has_value());
}

TEST(StoredText, Longs)
{
    EXPECT_EQ(storedTextToLong("255"), 255);
    EXPECT_EQ(storedTextToLong("-1"), -1);
    EXPECT_EQ(storedTextToLong("2.5"), 2); // halves to even
    EXPECT_EQ(storedTextToLong("3.5"), 4);
    EXPECT_FALSE(storedTextToLong("3000000000").has_value());
    EXPECT_FALSE(storedTextToLong("x").has_value());
}

TEST(StoredText, Booleans)
{
    EXPECT_EQ(storedTextToBoolean("True"), -1);
    EXPECT_EQ(storedTextToBoolean(" false "), 0);
    EXPECT_EQ(storedTextToBoolean("-1"), -1);
    EXPECT_EQ(storedTextToBoolean("2"), -1);
    EXPECT_EQ(storedTextToBoolean("0"), 0);
    EXPECT_FALSE(storedTextToBoolean("yes please").has_value());
}

TEST(Windows1252, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
}

TEST(Windows1252, HighCharacters)
{
    EXPECT_EQ(windows1252ToUtf8("\x80"), "\xE2\x82\xAC");   // euro sign
    EXPECT_EQ(windows1252ToUtf8("\x8A"), "\xC5\xA0");       // S with caron
    EXPECT_EQ(windows1252ToUtf8("\x9F"), "\xC5\xB8");       // Y with diaeresis
    EXPECT_EQ(windows1252ToUtf8("\x81"), "\xC2\x81");       // undefined: C1 control
    EXPECT_EQ(windows1252ToUtf8("\xBD"), "\xC2\xBD");       // one half
    EXPECT_EQ(windows1252ToUtf8("\xFF"), "\xC3\xBF");
    EXPECT_EQ(utf8ToWindows1252("\xE2\x82\xAC 1/2"), "\x80 1/2");
    EXPECT_EQ(utf8ToWindows1252("\xE4\xB8\xAD"), "?"); // not in the code page
    EXPECT_EQ(utf8ToWindows1252("\xF0\x9F\x98\x80"), "?");
}
