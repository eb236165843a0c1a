#include "text/floattext.h"

#include <gtest/gtest.h>

namespace orvane {

// The snprintf fallback (used where the library lacks floating-point
// to_chars) must write what to_chars writes on this build.
TEST(FloatText, FallbackWritesWhatToCharsWrites)
{
    for (const double value : {0.0, -2.5, 296.9999, 0.0005, 1e7, 123456.789, 0.9999999, 1.0000001, 2.835, 1e-5}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(snprintfText::fixed(value, 0), fixedText(value, 0));
        EXPECT_EQ(snprintfText::fixed(value, 3), fixedText(value, 3));
        EXPECT_EQ(snprintfText::general(value, 6), generalText(value, 6));
    }
    for (const float value : {0.0f, -1.0f, 0.1f, 2.5f, 1e10f, 1.5e-7f, 1234.5678f, 96.0f, 10000.0f, 3.4028235e38f,
                              1e-45f, 12345678.0f, -0.3f}) {
        EXPECT_EQ(snprintfText::shortest(value), shortestText(value)) << value;
    }
}

} // namespace orvane
