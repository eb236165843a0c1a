// The metafile as our decoder and wmf2svg read it, the placeable frame, the size rule.

#include "harness.h"
#include "wmf2svg.h"

#include "export/exportformat.h"
#include "export/patternsize.h"
#include "export/scene.h"
#include "export/wmfencoder.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

using Elements = std::vector<WmfElement>;

// The drawing saved on the letter page at pixelsX x pixelsY, read back.
Elements saved(DrawingHarness &d, int pixelsX = 816, int pixelsY = 1056, const std::string &keep = {})
{
    TempDir dir;
    FakeMessageBox box;
    const std::string path = keep.empty() ? dir.file("out.wmf") : keep;
    EXPECT_TRUE(d.save(path, box, 12240, 15840, pixelsX, pixelsY));
    return readMetafile(path);
}

} // namespace

TEST(MetafileRecords, LetterPageExampleByteForByteAndByWmf2svg)
{
    // A line from (1 in, 1 in) to (2 in, 1 in) and a 1 x 0.5 in rectangle at (0.5 in, 0.5 in).
    DrawingHarness d;
    d.line(1440, 1440, 2880, 1440);
    d.shape(ShapeRectangle, 720, 720, 1440, 720);
    TempDir dir;
    EXPECT_EQ(saved(d, 816, 1056, dir.file("letter.wmf")), (Elements{{'L', 96, 96, 192, 96}, {'R', 48, 48, 144, 96}}));
    const std::vector<unsigned char> expected = {
        0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0x2C, 0x00, 0x00, 0x00, 0x01, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x07, 0x00, 0x00, 0x00, 0xFC, 0x02, 0x01, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x00, // hollow brush
        0x04, 0x00, 0x00, 0x00, 0x2D, 0x01, 0x00, 0x00,                                     // select it
        0x05, 0x00, 0x00, 0x00, 0x14, 0x02, 0x60, 0x00, 0x60, 0x00,                         // move to (96, 96)
        0x05, 0x00, 0x00, 0x00, 0x13, 0x02, 0x60, 0x00, 0xC0, 0x00,                         // line to (192, 96)
        0x07, 0x00, 0x00, 0x00, 0x1B, 0x04, 0x60, 0x00, 0x90, 0x00, 0x30, 0x00, 0x30, 0x00, // rectangle
        0x04, 0x00, 0x00, 0x00, 0xF0, 0x01, 0x00, 0x00,                                     // delete the brush
        0x03, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(readFileBytes(dir.file("letter.wmf")), expected);
    expectWmf2svgAgrees(dir.file("letter.wmf"), 816, 1056);

    DrawingHarness empty; // the fixed records alone, as the decoder's check requires
    EXPECT_TRUE(saved(empty).empty());
}

TEST(MetafileRecords, OneScaleAndHalvesToEven)
{
    DrawingHarness half; // at 1/2: x 2.5 -> 2, 3.5 -> 4; y 0.5 -> 0, 1.5 -> 2; negative halves too
    half.line(5, 1, 7, 3);
    half.line(-5, -3, -7, 13);
    EXPECT_EQ(saved(half, 6120, 7920), (Elements{{'L', 2, 0, 4, 2}, {'L', -2, -2, -4, 6}}));

    // 816 / 12240 as a Single is a little above 1/15: 7.5 twips round up, 37.5 to 3.
    DrawingHarness single;
    single.line(7.5f, 37.5f, 37.5f, 7.5f);
    EXPECT_EQ(saved(single), (Elements{{'L', 1, 3, 3, 1}}));

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
    TempDir dir;
    EXPECT_EQ(saved(d, 816, 1056, dir.file("kinds.wmf")), expected);
    expectWmf2svgAgrees(dir.file("kinds.wmf"), 816, 1056);
}

TEST(MetafileRecords, AFileOfMoreThan65535WordsCountsThemAll)
{
    Scene scene{816, 1056, 12240, 15840, {}};
    scene.elements.assign(7000, SceneElement{SceneElement::Line, 1, 2, 3, 4}); // 20 bytes each

    const DecodedMetafile m = decodeMetafile(EncodeWmf(scene));

    EXPECT_EQ(checkConverterMetafile(m), std::vector<std::string>{});
}

TEST(PlaceableMetafile, FramesThePageAtItsPrintedSize)
{
    const struct {
        float widthTwips, heightTwips;
        std::int32_t pixelsX, pixelsY;
        int inch;           // 0: refused
        int pen;            // the outlines' pen: one 96-dpi pixel in units, rounded; 0 is one device pixel
        const char *reason; // part of the refusal
    } cases[] = {{12240, 15840, 816, 1056, 96, 1, ""}, {12240, 15840, 2000, 2588, 235, 2, ""}, // 235.29
                 {11906, 16838, 794, 1123, 96, 1, ""},                                         // A4: 96.03
                 {8640, 5760, 2000, 1333, 333, 3, ""}, {12240, 15840, 408, 528, 48, 0, ""},     // 3.47, 0.5
                 {12240, 15840, 500, 647, 59, 1, ""},                                          // 58.82
                 {12240, 15840, 4, 5, 0, 0, "65535"}, {100, 100, 5000, 5000, 0, 0, "65535"},   // 0.47, 72000
                 {1440000, 1440000, 32768, 32768, 0, 0, "32767"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.pixelsX) + " px over " + std::to_string(c.widthTwips) + " twips");
        Scene scene{c.pixelsX, c.pixelsY, c.widthTwips, c.heightTwips, {}};
        scene.elements = {{SceneElement::Line, 1, 2, 3, 4}, {SceneElement::Ellipse, 4, 3, 2, 1}};
        const EncodeResult framed = FormatTable().find("placeable")->encode(scene);
        EXPECT_NE(framed.error.find(c.reason), std::string::npos) << framed.error;
        if (!c.inch) {
            EXPECT_TRUE(framed.bytes.empty());
            continue;
        }
        const DecodedMetafile m = decodeMetafile(framed.bytes), plain = decodeMetafile(EncodeWmf(scene));
        ASSERT_TRUE(m.placeable.has_value()) << framed.error;
        EXPECT_EQ(std::tuple(m.placeable->right, m.placeable->bottom, int(m.placeable->inch)),
                  std::tuple(c.pixelsX, c.pixelsY, c.inch));
        EXPECT_EQ(checkConverterMetafile(m), std::vector<std::string>{}); // checksum, frame, sizes
        EXPECT_EQ(m.records[11], (WmfRecord{8, Wmf::CreatePenIndirect, {0, std::int16_t(c.pen), 0, 0, 0}}));
        EXPECT_EQ(m.elements(), plain.elements());
    }
}

TEST(PatternSize, Replies)
{
    using R = PatternSizeResult;
    const struct {
        const char *reply;
        int x, y;
        R::Outcome outcome;
        int newX, newY;
    } cases[] = {
        {"1000", 816, 1056, R::Accepted, 1000, 1294}, {"400", 816, 1056, R::Accepted, 400, 518},
        {"816", 400, 518, R::Accepted, 816, 1057}, // from the rounded pair, not from the page
        {"1", 2, 5, R::Accepted, 1, 2},            // 2.5 to the even 2
        {"12.5", 816, 1056, R::Accepted, 12, 16}, {"13.5", 816, 1056, R::Accepted, 14, 18}, // the reply too
        {"0.6", 816, 1056, R::Accepted, 1, 1}, {" +5e2 ", 1000, 2000, R::Accepted, 500, 1000},
        {"", 816, 1056, R::Unchanged, 816, 1056},
        {"100", 0, 50, R::Rejected, 0, 50},      // a width of 0 cannot be scaled from
        {"2000000000", 1, 2, R::Rejected, 1, 2}, // height beyond 32 bits
    };
    for (const auto &c : cases) {
        const R r = ApplyPatternSize(c.reply, c.x, c.y);
        EXPECT_EQ(std::tuple(r.outcome, r.PixelsX, r.PixelsY), std::tuple(c.outcome, c.newX, c.newY)) << c.reply;
    }
    for (const char *reply : {"0.4", "0.5", "abc", "12abc", "0", "-5", "+", ".", "inf", "nan", "0x10", "3000000000"}) {
        const R r = ApplyPatternSize(reply, 816, 1056);
        EXPECT_EQ(std::tuple(r.outcome, r.PixelsX, r.PixelsY), std::tuple(R::Rejected, 816, 1056)) << reply;
    }
}
