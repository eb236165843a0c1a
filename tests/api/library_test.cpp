// The public interface: a pattern's bytes in, the window's messages out when it does not convert; the stored
// defaults and the picture copy are the caller's. (The bytes: LibraryThreads, and tests/install against
// orvane-convert.)

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

PatternWriter v11WithPicture()
{
    PatternWriter w;
    w.header(1, 1, 0).settings11({}).integer(0).integer(0).picture("picture bytes");
    return w;
}

} // namespace

TEST(Library, FailuresCarryTheWindowsMessages)
{
    const PatternWriter letter = letterWith(2880);
    const PatternWriter far = letterWith(12240.0f * 50);
    const std::string notPattern = "not a pattern";
    const struct {
        std::vector<unsigned char> bytes;
        ConvertOptions options;
        ConversionResult::Status status;
        std::string message;
    } cases[] = {
        {{notPattern.begin(), notPattern.end()}, {}, ConversionResult::NotLoaded, LoadMessages::FormatUnknownText()},
        {letter.bytes(), {.width = "0"}, ConversionResult::WidthRefused,
         "The width 0 cannot be applied: its page is 816 x 1056 pixels."},
        {letter.bytes(), {.format = "emf"}, ConversionResult::UnknownFormat,
         "The emf format is not available in this build."},
        {far.bytes(), {.outputName = "far.wmf"}, ConversionResult::NotEncoded,
         "Error creating metafile far.wmf.\r\n\r\nA point of the pattern lies outside the range a metafile can hold "
         "(-32768 to 32767). Choose a smaller pattern size."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);

        const ConversionResult r = convert(c.bytes, c.options);

        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.messages, std::vector<std::string>{c.message});
        EXPECT_TRUE(r.bytes.empty());
    }
}

TEST(Library, StoredDefaultsComeFromTheCallerAndNoFolderMeansNoPictureCopy)
{
    ConvertOptions options;
    options.storedDefaults = [](const std::string &key) {
        return key == "PenSizeText" ? std::optional<std::string>("1/8") : std::nullopt;
    };

    const InfoResult quiet = info(v11WithPicture().bytes(), options);

    EXPECT_NE(quiet.json.find(R"("PenSizeText":"1/8")"), std::string::npos) << quiet.json;
    EXPECT_NE(quiet.json.find(R"("picture":{"bytes":13})"), std::string::npos) << quiet.json;
    EXPECT_EQ(quiet.messages, std::vector<std::string>());
}

TEST(Library, ABadStoredValueNamesTheCallersLocation)
{
    ConvertOptions options;
    options.storedDefaults = [](const std::string &key) {
        return key == "MarginTop" ? std::optional<std::string>("abc") : std::nullopt;
    };
    options.storedDefaultsLocation = "/home/u/defaults.conf";

    const InfoResult bad = info(v11WithPicture().bytes(), options);

    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.messages, std::vector<std::string>{LoadMessages::FormatUnknownText() + "\r\n\r\n"
                                                     + LoadMessages::SettingAtFaultText("MarginTop", "/home/u/defaults.conf")});
}
