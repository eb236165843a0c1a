// The public interface: a pattern's bytes in, the bytes the window would save out, or the window's messages.

#include "harness.h"
#include "patternwriter.h"

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

TEST(Library, ConvertWritesWhatTheWindowSaves)
{
    const struct {
        const char *format, *width;
        int filter; // the save dialog's
    } cases[] = {{"wmf", "", 1}, {"placeable", "", 2}, {"wmf", "500", 1}, {"placeable", "10", 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.width);
        MainFormHarness h;
        h.dialogs.saveFilter = c.filter;
        const std::string in = h.write(letterWith(2880), "p.pat");
        h.run("open:" + in + (*c.width ? std::string(" size:") + c.width : "") + " save:" + h.dir.file("p.wmf"));
        const ConversionResult r = convert(readFileBytes(in), {.format = c.format, .width = c.width});
        EXPECT_EQ(r.status, ConversionResult::Converted);
        EXPECT_EQ(r.bytes, readFileBytes(h.dir.file("p.wmf")));
    }
}

TEST(Library, FailuresCarryTheWindowsMessages)
{
    const PatternWriter letter = letterWith(2880), far = letterWith(12240.0f * 50);
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

TEST(Library, StoredDefaultsAndThePictureCopyAreTheCallers)
{
    TempDir dir;
    PatternWriter v11;
    v11.header(1, 1, 0).settings11({}).integer(0).integer(0).picture("picture bytes");
    ConvertOptions options;
    options.storedDefaults = [](const std::string &key) {
        return key == "PenSizeText" ? std::optional<std::string>("1/8") : std::nullopt;
    };
    const InfoResult quiet = info(v11.bytes(), options); // no folder: nothing copied, nothing said
    EXPECT_NE(quiet.json.find(R"("PenSizeText":"1/8")"), std::string::npos) << quiet.json;
    EXPECT_NE(quiet.json.find(R"("picture":{"bytes":13})"), std::string::npos) << quiet.json;
    EXPECT_EQ(quiet.messages, std::vector<std::string>());

    options.pictureFolder = dir.file("pictures");
    const InfoResult copied = info(v11.bytes(), options);
    EXPECT_NE(copied.json.find(R"("bytes":13)"), std::string::npos) << copied.json;
    EXPECT_EQ(readFileText(dir.file("pictures/vrtmimage.tmp")), "picture bytes");

    options.storedDefaults = [](const std::string &key) {
        return key == "MarginTop" ? std::optional<std::string>("abc") : std::nullopt;
    };
    options.storedDefaultsLocation = "/home/u/defaults.conf";
    const InfoResult bad = info(v11.bytes(), options);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.messages, std::vector<std::string>{LoadMessages::FormatUnknownText() + "\r\n\r\n"
                                                     + LoadMessages::SettingAtFaultText("MarginTop", "/home/u/defaults.conf")});
}
