// The public interface: the window's messages when a pattern does not convert. (The bytes: LibraryThreads, and
// tests/install against orvane-convert; stored defaults and the picture folder: tests/python.)

#include "fakes.h"
#include "patternwriter.h"

#include "api/loadmessages.h"
#include "document/patternelements.h"
#include "orvane/orvane.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter letterWith(float x2)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, x2, 1440).integer(1);
    w.shape(ShapeOval, 720, 720, 1440, 720).noPicture();
    return w;
}

} // namespace

TEST(Library, FailuresCarryTheWindowsMessages)
{
    const PatternWriter letter = letterWith(2880);
    const PatternWriter far = letterWith(12240.0f * 50);
    const std::string notPattern = "not a pattern";
    // The pattern, the options, and what comes out.
    const std::tuple<std::vector<unsigned char>, ConvertOptions, ConversionResult::Status, std::string> cases[] = {
        {{notPattern.begin(), notPattern.end()}, {}, ConversionResult::NotLoaded, LoadMessages::FormatUnknownText()},
        {letter.bytes(), {.width = "0"}, ConversionResult::WidthRefused,
         "The width 0 cannot be applied: its page is 816 x 1056 pixels."},
        {letter.bytes(), {.format = "emf"}, ConversionResult::UnknownFormat,
         "The emf format is not available in this build."},
        {far.bytes(), {.outputName = "far.wmf"}, ConversionResult::NotEncoded,
         "Error creating metafile far.wmf.\r\n\r\nA point of the pattern lies outside the range a metafile can hold "
         "(-32768 to 32767). Choose a smaller pattern size."},
    };
    for (const auto &[bytes, options, status, message] : cases) {
        SCOPED_TRACE(message);

        const ConversionResult r = convert(bytes, options);

        EXPECT_EQ(r.status, status);
        EXPECT_EQ(r.messages, std::vector<std::string>{message});
        EXPECT_TRUE(r.bytes.empty());
    }
}
