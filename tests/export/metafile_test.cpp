// The metafile's bytes and records, failed saves, the placeable frame, the size rule.

#include "harness.h"
#include "samebytes.h"

#include "export/exportformat.h"
#include "export/patternsize.h"
#include "export/scene.h"
#include "export/wmfencoder.h"

#include <limits>

using namespace orvane;
using namespace orvane::testing;

namespace {

using Elements = std::vector<WmfElement>;

// The drawing on the letter page at 816 x 1056 pixels, decoded.
Elements drawn(DrawingHarness &d)
{
    return decodeMetafile(d.build(12240, 15840, 816, 1056)).elements();
}

} // namespace

TEST(MetafileRecords, LetterPageExampleByteForByte)
{
    // A line from (1 in, 1 in) to (2 in, 1 in) and a 1 x 0.5 in rectangle at (0.5 in, 0.5 in).
    DrawingHarness d;
    d.line(1440, 1440, 2880, 1440);
    d.shape(ShapeRectangle, 720, 720, 1440, 720);

    const std::vector<unsigned char> bytes = d.build(12240, 15840, 816, 1056);

    const std::vector<unsigned char> expected = {
        0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0x2C, 0x00, 0x00, 0x00, 0x01, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x07, 0x00, 0x00, 0x00, 0xFC, 0x02, 0x01, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x00, // hollow brush
        0x04, 0x00, 0x00, 0x00, 0x2D, 0x01, 0x00, 0x00,                                     // select it
        0x05, 0x00, 0x00, 0x00, 0x14, 0x02, 0x60, 0x00, 0x60, 0x00,                         // move to (96, 96)
        0x05, 0x00, 0x00, 0x00, 0x13, 0x02, 0x60, 0x00, 0xC0, 0x00,                         // line to (192, 96)
        0x07, 0x00, 0x00, 0x00, 0x1B, 0x04, 0x60, 0x00, 0x90, 0x00, 0x30, 0x00, 0x30, 0x00, // rectangle
        0x04, 0x00, 0x00, 0x00, 0xF0, 0x01, 0x00, 0x00,                                     // delete the brush
        0x03, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_TRUE(sameBytes(bytes, expected));
}

TEST(MetafileRecords, OneSingleScaleAndBoxesSummedInDouble)
{
    // 816 / 12240 as a Single is a little above 1/15: 7.5 twips round up, 37.5 to 3.
    DrawingHarness single;
    single.line(7.5f, 37.5f, 37.5f, 7.5f);
    EXPECT_EQ(drawn(single), (Elements{{'L', 1, 3, 3, 1}}));

    // Left + Width in double: 16777729 (16384.5009 -> 16385), not the Single's 16777728.
    DrawingHarness sum;
    sum.shape(ShapeRectangle, 16777728.0f, 0, 1, 1024);
    EXPECT_EQ(decodeMetafile(sum.build(16384, 16384, 16, 16)).elements(), (Elements{{'R', 16384, 0, 16385, 1}}));
}

TEST(MetafileRecords, KindsTwoAndThreeAreEllipsesAndLinesComeFirstInIndexOrder)
{
    DrawingHarness d;
    const std::int16_t kinds[] = {0, 1, 2, 3, 4, 5, -1, 32767};
    Elements expected;
    for (int i = 0; i < 8; ++i) {
        d.shape(kinds[i], 150 + 300.0f * i, 150, 150, 300);
        expected.push_back({kinds[i] == 2 || kinds[i] == 3 ? 'E' : 'R', 10 + 20 * i, 10, 20 + 20 * i, 30});
    }
    d.line(150, 150, 300, 150);
    d.line(450, 450, 600, 450);
    d.line(750, 750, 900, 750);
    d.drawing().OutShape.setVisible(1, false);
    d.drawing().OutLine.setVisible(1, false); // freed, then handed out again last: it stays second
    ASSERT_EQ(d.line(1500, 1500, 1650, 1500), 1);
    expected.erase(expected.begin() + 1);
    expected.insert(expected.begin(), {{'L', 10, 10, 20, 10}, {'L', 100, 100, 110, 100}, {'L', 50, 50, 60, 50}});

    const Elements elements = drawn(d);

    EXPECT_EQ(elements, expected);
}

TEST(MetafileRecords, AFileOfMoreThan65535WordsCountsThemAll)
{
    Scene scene{816, 1056, 12240, 15840, {}};
    scene.elements.assign(7000, SceneElement{SceneElement::Line, 1, 2, 3, 4}); // 20 bytes each

    const DecodedMetafile m = decodeMetafile(EncodeWmf(scene));

    EXPECT_EQ(checkConverterMetafile(m), std::vector<std::string>{});
}

TEST(SaveMetafile, FailedSavesKeepTheExistingFileAndSayWhy)
{
    const std::string range = "\r\n\r\nA point of the pattern lies outside the range a metafile can hold "
                              "(-32768 to 32767). Choose a smaller pattern size.";
    const std::tuple<float, const char *, std::string> cases[] = {
        {1e6f, "pattern.wmf", range}, // 66667 pixels on the letter page: beyond a 16-bit field
        {std::numeric_limits<float>::quiet_NaN(), "pattern.wmf", range},
        {10, "no folder/pattern.wmf", "\r\n\r\nNo such file or directory"}};
    for (const auto &[x2, name, reason] : cases) {
        SCOPED_TRACE(reason);
        TempDir dir;
        const std::string target = dir.file(name);
        writeFileBytes(dir.file("pattern.wmf"), "an earlier metafile");
        DrawingHarness d;
        d.line(1440, 1440, 2880, 1440);
        d.line(0, 0, x2, 0);
        FakeMessageBox box;

        EXPECT_FALSE(d.save(target, box));

        EXPECT_EQ(readFileText(dir.file("pattern.wmf")), "an earlier metafile");
        EXPECT_EQ(dir.names().size(), 1u);
        ASSERT_EQ(box.boxes.size(), 1u);
        EXPECT_EQ(box.boxes[0].text, "Error creating metafile " + target + "." + reason);
        EXPECT_EQ(std::tuple(box.boxes[0].style, box.boxes[0].title, box.order), std::tuple(48, "Orvane", "bm"));
    }
}

TEST(SaveMetafile, HiddenMembersDoNotCount)
{
    DrawingHarness d;
    d.drawing().OutLine.setVisible(d.line(0, 0, 1e9f, 0), false);
    d.drawing().OutShape.setVisible(d.shape(ShapeOval, 0, 0, 1e9f, 1), false);
    d.line(0, 0, 32767.4f, 0); // at scale 1, the largest that fits

    const std::vector<unsigned char> bytes = d.build(816, 1056, 816, 1056);

    EXPECT_EQ(decodeMetafile(bytes).elements(), (Elements{{'L', 0, 0, 32767, 0}}));
}

TEST(PlaceableMetafile, FramesThePageAtItsPrintedSize)
{
    // Pixels across and down, the page's width in twips (its height at the letter page's shape), the inch (0:
    // refused), the outlines' pen (one 96-dpi pixel in units, rounded; 0 is one device pixel), part of the refusal.
    const std::tuple<std::int32_t, std::int32_t, float, int, int, const char *> cases[] = {
        {816, 1056, 12240, 96, 1, ""}, {2000, 2588, 12240, 235, 2, ""}, // 235.29
        {408, 528, 12240, 48, 0, ""},  {500, 647, 12240, 59, 1, ""},    // 0.5, 58.82
        {4, 5, 12240, 0, 0, "65535"},  {32768, 42406, 1440000, 0, 0, "32767"}};
    for (const auto &[pixelsX, pixelsY, twips, inch, pen, reason] : cases) {
        SCOPED_TRACE(std::to_string(pixelsX) + " px over " + std::to_string(twips) + " twips");
        Scene scene{pixelsX, pixelsY, twips, twips * 15840 / 12240, {}};
        scene.elements = {{SceneElement::Line, 1, 2, 3, 4}, {SceneElement::Ellipse, 4, 3, 2, 1}};

        const EncodeResult framed = FormatTable().find("placeable")->encode(scene);

        EXPECT_NE(framed.error.find(reason), std::string::npos) << framed.error;
        if (!inch) {
            EXPECT_TRUE(framed.bytes.empty());
            continue;
        }
        const DecodedMetafile m = decodeMetafile(framed.bytes);
        ASSERT_TRUE(m.placeable.has_value()) << framed.error;
        EXPECT_EQ(std::tuple(m.placeable->right, m.placeable->bottom, int(m.placeable->inch)),
                  std::tuple(pixelsX, pixelsY, inch));
        EXPECT_EQ(checkConverterMetafile(m), std::vector<std::string>{}); // checksum, frame, sizes
        EXPECT_EQ(m.records[11], (WmfRecord{8, Wmf::CreatePenIndirect, {0, std::int16_t(pen), 0, 0, 0}}));
        EXPECT_EQ(m.elements(), decodeMetafile(EncodeWmf(scene)).elements());
    }
}

TEST(PatternSize, Replies)
{
    using R = PatternSizeResult;
    const std::tuple<const char *, int, int, R::Outcome, int, int> cases[] = {
        {"816", 400, 518, R::Accepted, 816, 1057}, // from the rounded pair, not from the page
        {"1", 2, 5, R::Accepted, 1, 2},            // 2.5 to the even 2
        {"12.5", 816, 1056, R::Accepted, 12, 16},  {"13.5", 816, 1056, R::Accepted, 14, 18}, // the reply too
        {"", 816, 1056, R::Unchanged, 816, 1056},
        {"100", 0, 50, R::Rejected, 0, 50},      // a width of 0 cannot be scaled from
    };
    for (const auto &[reply, x, y, outcome, newX, newY] : cases) {
        const R r = ApplyPatternSize(reply, x, y);
        EXPECT_EQ(std::tuple(r.outcome, r.PixelsX, r.PixelsY), std::tuple(outcome, newX, newY)) << reply;
    }
    for (const char *reply : {"0.5", "12abc", "-5", "inf", "3000000000"}) {
        const R r = ApplyPatternSize(reply, 816, 1056);
        EXPECT_EQ(std::tuple(r.outcome, r.PixelsX, r.PixelsY), std::tuple(R::Rejected, 816, 1056)) << reply;
    }
}

TEST(PatternSize, PagePixelsOnlyForAPageThatHasThem)
{
    const std::tuple<float, float, int, int> cases[] = { // -1: refused
        {12240, 15840, 816, 1056},
        {std::numeric_limits<float>::quiet_NaN(), 15840, -1, -1},
        {1e30f, 15840, -1, -1}}; // no 32-bit pixel count
    for (const auto &[width, height, x, y] : cases) {
        Pattern pattern;
        pattern.settings.PatternWidth = width;
        pattern.settings.PatternHeight = height;

        const std::optional<PagePixels> pixels = pagePixels(pattern);

        EXPECT_EQ(std::pair(pixels ? pixels->x : -1, pixels ? pixels->y : -1), std::pair(x, y)) << width;
    }
}
